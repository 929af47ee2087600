#include "json/json_literal.h"

#include <nlohmann/json.hpp>

#include "json/json_messages.h"

namespace {

// What each byte becomes inside the literal: 0 keeps it, otherwise the
// character after the backslash ('u' for the \u00XX form).
constexpr char escape_letter(unsigned char c) {
    switch (c) {
    case '"': return '"';
    case '\\': return '\\';
    case 0x08: return 'b';
    case 0x09: return 't';
    case 0x0A: return 'n';
    case 0x0C: return 'f';
    case 0x0D: return 'r';
    default: return c < 0x20 ? 'u' : 0;
    }
}

struct EscapeTable {
    char letter[256];
    constexpr EscapeTable() : letter() {
        for (int c = 0; c < 256; ++c) letter[c] = escape_letter(static_cast<unsigned char>(c));
    }
};
constexpr EscapeTable escape_table;

bool is_json_space(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

// Receives the one string the library decodes and the position of its first
// complaint; any other kind of value cannot occur because only the literal's
// own bytes are handed over.
struct LiteralReader : nlohmann::json_sax<nlohmann::json> {
    std::string value;
    bool failed = false;
    std::size_t failed_at = 0;  // byte offset within the literal

    bool string(string_t& s) override {
        value = std::move(s);
        return true;
    }
    bool parse_error(std::size_t position, const std::string&, const nlohmann::detail::exception&) override {
        failed = true;
        // The library counts the byte it stopped at from 1.
        failed_at = position > 0 ? position - 1 : 0;
        return false;
    }
    bool null() override { return unexpected(); }
    bool boolean(bool) override { return unexpected(); }
    bool number_integer(number_integer_t) override { return unexpected(); }
    bool number_unsigned(number_unsigned_t) override { return unexpected(); }
    bool number_float(number_float_t, const string_t&) override { return unexpected(); }
    bool binary(binary_t&) override { return unexpected(); }
    bool start_object(std::size_t) override { return unexpected(); }
    bool key(string_t&) override { return unexpected(); }
    bool end_object() override { return unexpected(); }
    bool start_array(std::size_t) override { return unexpected(); }
    bool end_array() override { return unexpected(); }

    bool unexpected() {
        failed = true;
        return false;
    }
};

}  // namespace

std::string escape_json_text(std::string_view text) {
    static constexpr char hex[] = "0123456789abcdef";
    std::string out;
    out.reserve(128);
    out.push_back('"');
    std::size_t run = 0;  // start of the bytes not yet written that need no escape
    for (std::size_t i = 0; i < text.size(); ++i) {
        auto c = static_cast<unsigned char>(text[i]);
        char letter = escape_table.letter[c];
        if (letter == 0) continue;
        out.append(text.data() + run, i - run);
        run = i + 1;
        char buf[6] = {'\\', letter, '0', '0', hex[c >> 4], hex[c & 15]};
        out.append(buf, letter == 'u' ? 6 : 2);
    }
    out.append(text.data() + run, text.size() - run);
    out.push_back('"');
    return out;
}

std::variant<std::string, JsonError> unescape_json_literal(std::string_view text) {
    auto fail = [&](std::size_t offset) { return make_json_error(text, offset, json_messages::unescape_failed); };

    std::size_t i = 0;
    while (text.size() - i >= 3 && text.compare(i, 3, "\xEF\xBB\xBF") == 0) i += 3;
    while (i < text.size() && is_json_space(text[i])) ++i;
    if (i == text.size()) return fail(i);
    if (text[i] != '"') return fail(i);

    // Our own walk finds where the literal ends, so that what follows it is
    // judged at its first byte; the library decodes the literal itself and
    // places any fault inside it.
    std::size_t begin = i++;
    while (i < text.size() && text[i] != '"') i += text[i] == '\\' ? 2 : 1;
    std::size_t end = i < text.size() ? i + 1 : text.size();

    LiteralReader reader;
    std::string_view literal = text.substr(begin, end - begin);
    nlohmann::json::sax_parse(literal.begin(), literal.end(), &reader);
    if (reader.failed) return fail(begin + std::min(reader.failed_at, literal.size()));

    for (i = end; i < text.size(); ++i) {
        if (!is_json_space(text[i])) return fail(i);
    }
    return std::move(reader.value);
}
