#pragma once

#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "json/json_error.h"
#include "json/utf8.h"

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
