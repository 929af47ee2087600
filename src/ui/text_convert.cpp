#include "ui/text_convert.h"

#include <cstdint>

namespace {

constexpr char16_t replacement = 0xFFFD;

void append_code_point(std::u16string& out, char32_t c) {
    if (c < 0x10000) {
        out.push_back(static_cast<char16_t>(c));
        return;
    }
    c -= 0x10000;
    out.push_back(static_cast<char16_t>(0xD800 + (c >> 10)));
    out.push_back(static_cast<char16_t>(0xDC00 + (c & 0x3FF)));
}

bool is_continuation(unsigned char b) { return (b & 0xC0) == 0x80; }

// Decodes one code point at in[i]; advances i past it, or past the maximal
// ill-formed prefix (at least one byte) and returns U+FFFD.
char32_t decode_one(std::string_view in, std::size_t& i) {
    const auto lead = static_cast<unsigned char>(in[i]);
    ++i;
    if (lead < 0x80) return lead;
    int trailing;
    char32_t c;
    // Second-byte bounds exclude overlong forms, surrogates and values above
    // U+10FFFF, as the Unicode standard's table of well-formed sequences.
    unsigned char low = 0x80, high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        trailing = 1;
        c = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        trailing = 2;
        c = lead & 0x0F;
        if (lead == 0xE0) low = 0xA0;
        if (lead == 0xED) high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        trailing = 3;
        c = lead & 0x07;
        if (lead == 0xF0) low = 0x90;
        if (lead == 0xF4) high = 0x8F;
    } else {
        return replacement;
    }
    for (int k = 0; k < trailing; ++k) {
        if (i >= in.size()) return replacement;
        const auto b = static_cast<unsigned char>(in[i]);
        if (k == 0 ? (b < low || b > high) : !is_continuation(b)) return replacement;
        c = (c << 6) | (b & 0x3F);
        ++i;
    }
    return c;
}

std::u16string convert(std::string_view utf8, bool crlf) {
    std::u16string out;
    out.reserve(utf8.size());
    std::size_t i = 0;
    while (i < utf8.size()) {
        char32_t c = decode_one(utf8, i);
        if (crlf && c == U'\n' && (out.empty() || out.back() != u'\r')) out.push_back(u'\r');
        append_code_point(out, c);
    }
    return out;
}

void append_utf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (c >> 6)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (c >> 12)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (c >> 18)));
        out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
}

bool is_high_surrogate(char16_t u) { return u >= 0xD800 && u <= 0xDBFF; }
bool is_low_surrogate(char16_t u) { return u >= 0xDC00 && u <= 0xDFFF; }

}  // namespace

std::u16string utf8_to_utf16(std::string_view utf8) { return convert(utf8, false); }

std::u16string utf8_to_utf16_crlf(std::string_view utf8) { return convert(utf8, true); }

std::string utf16_to_utf8(std::u16string_view utf16) {
    std::string out;
    out.reserve(utf16.size() * 3);
    for (std::size_t i = 0; i < utf16.size(); ++i) {
        char16_t u = utf16[i];
        if (is_high_surrogate(u) && i + 1 < utf16.size() && is_low_surrogate(utf16[i + 1])) {
            char32_t c = 0x10000 + ((static_cast<char32_t>(u) - 0xD800) << 10) + (utf16[i + 1] - 0xDC00);
            append_utf8(out, c);
            ++i;
        } else if (is_high_surrogate(u) || is_low_surrogate(u)) {
            append_utf8(out, replacement);
        } else {
            append_utf8(out, u);
        }
    }
    return out;
}
