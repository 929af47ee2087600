#include "json/json_page_text.h"

#include "ui/white_space.h"

std::string displayable_result(std::string_view text) {
    std::string shown;
    shown.reserve(text.size());
    std::size_t from = 0;
    for (std::size_t at = text.find('\0'); at != std::string_view::npos; at = text.find('\0', from)) {
        shown.append(text.substr(from, at - from));
        shown.append("␀");
        from = at + 1;
    }
    shown.append(text.substr(from));
    return shown;
}

bool is_blank_input(std::string_view text) { return trim_unicode_white_space(text).empty(); }

std::string history_header(std::size_t entries) { return "最近记录 · " + std::to_string(entries); }

std::string tree_status(std::size_t nodes) { return "树视图 · " + std::to_string(nodes) + " 个节点"; }

std::optional<std::string> clipboard_text_to_utf8(std::u16string_view units) {
    std::string out;
    out.reserve(units.size());
    for (std::size_t i = 0; i < units.size(); ++i) {
        char32_t c = units[i];
        if (c == 0) break;
        if (c >= 0xD800 && c <= 0xDBFF) {
            if (i + 1 >= units.size() || units[i + 1] < 0xDC00 || units[i + 1] > 0xDFFF) return std::nullopt;
            c = 0x10000 + ((c - 0xD800) << 10) + (units[i + 1] - 0xDC00);
            ++i;
        } else if (c >= 0xDC00 && c <= 0xDFFF) {
            return std::nullopt;
        }
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
    return out;
}

std::uint64_t input_box_length(std::string_view utf8, bool rich_edit) {
    const std::uint64_t line_break = rich_edit ? 1 : 2;
    std::uint64_t length = 0;
    bool after_cr = false;
    for (char ch : utf8) {
        const auto c = static_cast<unsigned char>(ch);
        if (c == '\r') {
            length += line_break;
        } else if (c == '\n') {
            if (!after_cr) length += line_break;
        } else if ((c & 0xC0) != 0x80) {
            length += c >= 0xF0 ? 2 : 1;
        }
        after_cr = c == '\r';
    }
    return length;
}
