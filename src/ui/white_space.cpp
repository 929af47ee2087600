#include "ui/white_space.h"

bool is_unicode_white_space(char32_t c) {
    return (c >= 0x09 && c <= 0x0D) || c == 0x20 || c == 0x85 || c == 0xA0 || c == 0x1680 ||
           (c >= 0x2000 && c <= 0x200A) || c == 0x2028 || c == 0x2029 || c == 0x202F || c == 0x205F ||
           c == 0x3000;
}

std::size_t white_space_length(std::string_view t) {
    if (t.empty()) return 0;
    auto b = [&](std::size_t i) { return static_cast<char32_t>(static_cast<unsigned char>(t[i])); };
    char32_t c = b(0);
    if (c < 0x80) return is_unicode_white_space(c) ? 1 : 0;
    // Every non-ASCII white-space character is a two- or three-byte sequence.
    if ((c & 0xE0) == 0xC0 && t.size() >= 2)
        return is_unicode_white_space(((c & 0x1F) << 6) | (b(1) & 0x3F)) && (b(1) & 0xC0) == 0x80 ? 2 : 0;
    if ((c & 0xF0) == 0xE0 && t.size() >= 3 && (b(1) & 0xC0) == 0x80 && (b(2) & 0xC0) == 0x80)
        return is_unicode_white_space(((c & 0x0F) << 12) | ((b(1) & 0x3F) << 6) | (b(2) & 0x3F)) ? 3 : 0;
    return 0;
}

std::string_view trim_unicode_white_space(std::string_view text) {
    while (std::size_t n = white_space_length(text)) text.remove_prefix(n);
    for (;;) {
        std::size_t n = 0;
        for (std::size_t k = 1; k <= 3 && k <= text.size(); ++k) {
            if (white_space_length(text.substr(text.size() - k)) == k) {
                n = k;
                break;
            }
        }
        if (n == 0) return text;
        text.remove_suffix(n);
    }
}
