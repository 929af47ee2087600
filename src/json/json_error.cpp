#include "json/json_error.h"

#include "json/utf8.h"

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
    append_utf8_lossy(ctx, text.substr(from, offset - from));

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
        append_utf8_lossy(ctx, text.substr(offset, after - offset));
    }
    ctx.append("⟧");

    if (!line_break && after < text.size()) {
        std::size_t end = after;
        std::size_t count = 0;
        while (end < text.size() && count < excerpt_chars && text[end] != '\r' && text[end] != '\n') {
            end += char_length(text, end);
            ++count;
        }
        append_utf8_lossy(ctx, text.substr(after, end - after));
        if (count == excerpt_chars && end < text.size() && text[end] != '\r' && text[end] != '\n')
            ctx.append(ellipsis);
    }
    return e;
}
