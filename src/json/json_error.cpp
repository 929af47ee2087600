#include "json/json_error.h"

#include <cstring>

namespace {

constexpr std::size_t excerpt_chars = 36;
constexpr const char* ellipsis = "…";

bool is_continuation(unsigned char c) { return (c & 0xC0) == 0x80; }

// Byte length of the character starting at `at`: the lead byte and the
// continuation bytes after it (at most three). Texts from the page are valid
// UTF-8; for anything else this still advances and stays inside the text.
std::size_t char_length(std::string_view text, std::size_t at) {
    std::size_t n = 1;
    while (n < 4 && at + n < text.size() && is_continuation(static_cast<unsigned char>(text[at + n]))) ++n;
    return n;
}

// Appends bytes as UTF-8, replacing whatever is not well-formed with U+FFFD,
// so that the excerpt of an arbitrary byte string is still valid text.
void append_sanitized(std::string& out, std::string_view bytes) {
    std::size_t i = 0;
    while (i < bytes.size()) {
        auto c = static_cast<unsigned char>(bytes[i]);
        std::size_t need = 0;
        std::uint32_t cp = 0;
        if (c < 0x80) { out.push_back(static_cast<char>(c)); ++i; continue; }
        if (c >= 0xC2 && c <= 0xDF) { need = 1; cp = c & 0x1Fu; }
        else if (c >= 0xE0 && c <= 0xEF) { need = 2; cp = c & 0x0Fu; }
        else if (c >= 0xF0 && c <= 0xF4) { need = 3; cp = c & 0x07u; }
        bool ok = need > 0 && i + need < bytes.size();
        if (ok) {
            for (std::size_t k = 1; k <= need; ++k) {
                auto d = static_cast<unsigned char>(bytes[i + k]);
                if (!is_continuation(d)) { ok = false; break; }
                cp = (cp << 6) | (d & 0x3Fu);
            }
        }
        if (ok) {
            bool overlong = (need == 2 && cp < 0x800) || (need == 3 && cp < 0x10000);
            if (overlong || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) ok = false;
        }
        if (ok) {
            out.append(bytes.substr(i, need + 1));
            i += need + 1;
        } else {
            out.append("\xEF\xBF\xBD");
            ++i;
        }
    }
}

}  // namespace

JsonError plain_json_error(std::string_view message) {
    JsonError e;
    e.message.assign(message);
    return e;
}

JsonError make_json_error(std::string_view text, std::size_t offset, std::string_view message) {
    if (offset > text.size()) offset = text.size();
    while (offset > 0 && offset < text.size() && is_continuation(static_cast<unsigned char>(text[offset]))) --offset;

    std::uint64_t line = 1;
    std::size_t line_start = 0;
    for (std::size_t i = 0; i < offset; ++i) {
        char c = text[i];
        if (c == '\r') {
            ++line;
            line_start = i + 1;
        } else if (c == '\n') {
            if (i == 0 || text[i - 1] != '\r') ++line;
            line_start = i + 1;
        }
    }

    std::uint64_t column_chars = 0, column_utf16 = 0;
    for (std::size_t i = line_start; i < offset; ++i) {
        auto c = static_cast<unsigned char>(text[i]);
        if (is_continuation(c)) continue;
        ++column_chars;
        column_utf16 += c >= 0xF0 ? 2 : 1;
    }

    JsonError e;
    e.positioned = true;
    e.line = line;
    e.column_utf16 = column_utf16;
    if (offset < text.size()) e.length_utf16 = static_cast<unsigned char>(text[offset]) >= 0xF0 ? 2 : 1;

    e.message.reserve(message.size() + 48);
    e.message.append(message);
    e.message.append("（第 ").append(std::to_string(line)).append(" 行，第 ");
    e.message.append(std::to_string(column_chars + 1)).append(" 列）");

    // Before the marker: at most the last 36 characters of the line.
    std::size_t from = offset;
    std::size_t taken = 0;
    while (from > line_start && taken < excerpt_chars) {
        --from;
        if (!is_continuation(static_cast<unsigned char>(text[from]))) ++taken;
    }
    std::string& ctx = e.context;
    if (column_chars > excerpt_chars) ctx.append(ellipsis);
    append_sanitized(ctx, text.substr(from, offset - from));

    ctx.append("⟦");
    bool line_break = false;
    std::size_t after = offset;
    if (offset == text.size()) {
        ctx.append("文本末尾");
    } else if (text[offset] == '\t') {
        ctx.append("制表符");
        after = offset + 1;
    } else if (text[offset] == '\r' || text[offset] == '\n') {
        ctx.append("换行");
        line_break = true;
    } else {
        after = offset + char_length(text, offset);
        append_sanitized(ctx, text.substr(offset, after - offset));
    }
    ctx.append("⟧");

    if (!line_break && after < text.size()) {
        std::size_t end = after;
        std::size_t count = 0;
        while (end < text.size() && count < excerpt_chars && text[end] != '\r' && text[end] != '\n') {
            end += char_length(text, end);
            ++count;
        }
        append_sanitized(ctx, text.substr(after, end - after));
        if (count == excerpt_chars && end < text.size() && text[end] != '\r' && text[end] != '\n')
            ctx.append(ellipsis);
    }
    return e;
}
