#include "json_history/history_names.h"

#include "json/utf8.h"
#include "ui/white_space.h"

namespace {

constexpr std::size_t preview_chars = 32;

int digit_value(char c, bool hex) {
    if (c >= '0' && c <= '9') return c - '0';
    if (hex && c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (hex && c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

template <class T>
std::optional<T> parse_unsigned(std::string_view s, bool hex) {
    if (!s.empty() && s.front() == '+') s.remove_prefix(1);
    if (s.empty()) return std::nullopt;
    const T base = hex ? 16 : 10;
    const T max = ~T{0};
    T v = 0;
    for (char c : s) {
        int d = digit_value(c, hex);
        if (d < 0) return std::nullopt;
        if (v > (max - static_cast<T>(d)) / base) return std::nullopt;
        v = v * base + static_cast<T>(d);
    }
    return v;
}

}  // namespace

std::optional<RecordName> parse_record_name(std::string_view name) {
    constexpr std::string_view suffix = ".json";
    if (name.size() < suffix.size() || name.substr(name.size() - suffix.size()) != suffix) return std::nullopt;
    name.remove_suffix(suffix.size());
    std::size_t hyphen = name.find('-');
    if (hyphen == std::string_view::npos) return std::nullopt;
    auto created = parse_unsigned<Uint128>(name.substr(0, hyphen), false);
    auto hash = parse_unsigned<std::uint64_t>(name.substr(hyphen + 1), true);
    if (!created || !hash) return std::nullopt;
    return RecordName{*created, *hash};
}

std::string to_decimal(Uint128 v) {
    char buf[40];
    char* p = buf + sizeof buf;
    do {
        *--p = static_cast<char>('0' + static_cast<int>(v % 10));
        v /= 10;
    } while (v != 0);
    return std::string(p, buf + sizeof buf);
}

std::string record_file_name(Uint128 created, std::uint64_t content_hash) {
    static constexpr char hex[] = "0123456789abcdef";
    std::string name = to_decimal(created);
    name += '-';
    for (int shift = 60; shift >= 0; shift -= 4) name += hex[(content_hash >> shift) & 0xF];
    name += ".json";
    return name;
}

std::string make_preview(std::string_view first_bytes) {
    std::string text;
    append_utf8_lossy(text, first_bytes.substr(0, preview_read_bytes));
    std::string preview;
    std::size_t chars = 0;
    bool pending_space = false;
    for (std::size_t i = 0; i < text.size() && chars < preview_chars;) {
        const std::string_view rest = std::string_view(text).substr(i);
        const std::size_t n = utf8_char_length(rest);
        const std::string_view ch = rest.substr(0, n);
        i += n;
        if (white_space_length(ch) != 0) {
            pending_space = !preview.empty();
            continue;
        }
        if (pending_space) {
            preview += ' ';
            pending_space = false;
            if (++chars == preview_chars) break;
        }
        preview.append(ch);
        ++chars;
    }
    return preview.empty() ? "JSON 文本" : preview;
}
