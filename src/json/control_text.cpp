#include "json/control_text.h"

#include <algorithm>

#include "ui/text_convert.h"

namespace {

bool is_high(char16_t u) { return u >= 0xD800 && u <= 0xDBFF; }
bool is_low(char16_t u) { return u >= 0xDC00 && u <= 0xDFFF; }

char* put_utf8(char* out, char32_t c) {
    if (c < 0x80) {
        *out++ = static_cast<char>(c);
    } else if (c < 0x800) {
        *out++ = static_cast<char>(0xC0 | (c >> 6));
        *out++ = static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        *out++ = static_cast<char>(0xE0 | (c >> 12));
        *out++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        *out++ = static_cast<char>(0x80 | (c & 0x3F));
    } else {
        *out++ = static_cast<char>(0xF0 | (c >> 18));
        *out++ = static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        *out++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        *out++ = static_cast<char>(0x80 | (c & 0x3F));
    }
    return out;
}

// A CR without an LF after it, or an LF without a CR before it. A NUL ends
// clipboard text, so a CR before one is lone too.
template <class Char>
bool is_lone_break(std::basic_string_view<Char> text, std::size_t i) {
    if (text[i] == Char('\r')) return i + 1 == text.size() || text[i + 1] != Char('\n');
    return text[i] == Char('\n') && (i == 0 || text[i - 1] != Char('\r'));
}

}  // namespace

std::u16string to_control_text(std::string_view utf8, bool show_nul) {
    // UTF-16 never needs more units than UTF-8 has bytes; each lone CR or LF
    // gains one.
    std::size_t added = 0;
    for (std::size_t k = 0; k < utf8.size(); ++k) added += is_lone_break(utf8, k);
    std::u16string out(utf8.size() + added, u'\0');
    char16_t* w = out.data();
    std::size_t i = 0;
    while (i < utf8.size()) {
        const auto c = static_cast<unsigned char>(utf8[i]);
        if (c < 0x80) {
            const bool lone = is_lone_break(utf8, i);
            if (lone && c == '\n') *w++ = u'\r';
            *w++ = c == 0 && show_nul ? u'\u2400' : static_cast<char16_t>(c);
            if (lone && c == '\r') *w++ = u'\n';
            ++i;
            continue;
        }
        // A run of non-ASCII bytes decodes on its own: no sequence ever takes
        // an ASCII byte as one of its trailing bytes.
        std::size_t end = i;
        while (end < utf8.size() && static_cast<unsigned char>(utf8[end]) >= 0x80) ++end;
        const std::u16string run = utf8_to_utf16(utf8.substr(i, end - i));
        w = std::copy(run.begin(), run.end(), w);
        i = end;
    }
    out.resize(static_cast<std::size_t>(w - out.data()));
    return out;
}

std::optional<std::u16string> clipboard_to_control_text(std::u16string_view units) {
    std::size_t length = 0;
    std::size_t added = 0;
    for (; length < units.size() && units[length] != 0; ++length) {
        const char16_t u = units[length];
        added += is_lone_break(units, length);
        if (is_high(u)) {
            if (length + 1 >= units.size() || !is_low(units[length + 1])) return std::nullopt;
            ++length;
        } else if (is_low(u)) {
            return std::nullopt;
        }
    }
    const std::u16string_view text = units.substr(0, length);
    std::u16string out(length + added, u'\0');
    char16_t* w = out.data();
    for (std::size_t i = 0; i < length; ++i) {
        const bool lone = is_lone_break(text, i);
        if (lone && text[i] == u'\n') *w++ = u'\r';
        *w++ = text[i];
        if (lone && text[i] == u'\r') *w++ = u'\n';
    }
    return out;
}

std::string control_text_to_utf8(std::u16string_view units) {
    // Sized exactly first: three bytes a unit would zero-fill 48 MiB for a full box.
    std::size_t bytes = 0;
    for (std::size_t i = 0; i < units.size(); ++i) {
        const char16_t u = units[i];
        if (u < 0x80) {
            bytes += 1;
        } else if (u < 0x800) {
            bytes += 2;
        } else if (is_high(u) && i + 1 < units.size() && is_low(units[i + 1])) {
            bytes += 4;
            ++i;
        } else {
            bytes += 3;  // also U+FFFD for an unpaired surrogate
        }
    }
    std::string out(bytes, '\0');
    char* w = out.data();
    for (std::size_t i = 0; i < units.size(); ++i) {
        const char16_t u = units[i];
        if (u < 0x80) {
            *w++ = static_cast<char>(u);
        } else if (is_high(u) && i + 1 < units.size() && is_low(units[i + 1])) {
            w = put_utf8(w, 0x10000 + ((static_cast<char32_t>(u) - 0xD800) << 10) + (units[i + 1] - 0xDC00));
            ++i;
        } else if (is_high(u) || is_low(u)) {
            w = put_utf8(w, 0xFFFD);
        } else {
            w = put_utf8(w, u);
        }
    }
    out.resize(static_cast<std::size_t>(w - out.data()));
    return out;
}

std::uint64_t control_length(std::u16string_view crlf_text, bool rich_edit) {
    if (!rich_edit) return crlf_text.size();
    std::uint64_t pairs = 0;
    for (std::size_t i = 1; i < crlf_text.size(); ++i)
        if (crlf_text[i] == u'\n' && crlf_text[i - 1] == u'\r') ++pairs;
    return crlf_text.size() - pairs;
}
