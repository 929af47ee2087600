#pragma once

#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "json/json_error.h"

#define FUZZ_CHECK(cond)                                                        \
    do {                                                                        \
        if (!(cond)) {                                                          \
            std::fprintf(stderr, "check failed: %s (%s:%d)\n", #cond, __FILE__, __LINE__); \
            std::abort();                                                       \
        }                                                                       \
    } while (0)

// A positioned error must name a place inside the text and be exactly what
// make_json_error gives for that place: walk to its line and UTF-16 column,
// then rebuild it from one of the allowed messages.
inline bool error_is_one_of(std::string_view text, const JsonError& e, const char* const* messages, std::size_t count) {
    if (!e.positioned) return false;
    std::size_t offset = 0;
    for (std::uint64_t line = 1; line < e.line; ++line) {
        while (offset < text.size() && text[offset] != '\r' && text[offset] != '\n') ++offset;
        if (offset == text.size()) return false;
        if (text[offset] == '\r' && offset + 1 < text.size() && text[offset + 1] == '\n') ++offset;
        ++offset;
    }
    for (std::uint64_t units = 0; units < e.column_utf16;) {
        if (offset >= text.size()) return false;
        auto c = static_cast<unsigned char>(text[offset]);
        if ((c & 0xC0) != 0x80) units += c >= 0xF0 ? 2 : 1;
        ++offset;
    }
    // The walk may stop on the continuation bytes of the last character it
    // counted, or on stray ones that make_json_error would move back over:
    // one of the two places reproduces the error.
    std::size_t skipped = offset;
    while (skipped < text.size() && (static_cast<unsigned char>(text[skipped]) & 0xC0) == 0x80) ++skipped;
    for (std::size_t at : {offset, skipped}) {
        for (std::size_t i = 0; i < count; ++i) {
            JsonError again = make_json_error(text, at, messages[i]);
            if (again.message == e.message && again.context == e.context && again.line == e.line &&
                again.column_utf16 == e.column_utf16 && again.length_utf16 == e.length_utf16)
                return true;
        }
    }
    return false;
}

inline bool valid_utf8(std::string_view s) {
    std::size_t i = 0;
    while (i < s.size()) {
        auto c = static_cast<unsigned char>(s[i]);
        std::size_t n = c < 0x80 ? 0 : c >= 0xC2 && c <= 0xDF ? 1 : c >= 0xE0 && c <= 0xEF ? 2 : c >= 0xF0 && c <= 0xF4 ? 3 : 9;
        if (n == 9 || (n > 0 && i + n >= s.size())) return false;
        std::uint32_t cp = n == 0 ? c : c & (0x3Fu >> n);
        for (std::size_t k = 1; k <= n; ++k) {
            auto d = static_cast<unsigned char>(s[i + k]);
            if ((d & 0xC0) != 0x80) return false;
            cp = (cp << 6) | (d & 0x3Fu);
        }
        if ((n == 2 && cp < 0x800) || (n == 3 && cp < 0x10000) || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
            return false;
        i += n + 1;
    }
    return true;
}
