#include "uuid/uuid.h"

#include <span>

UuidSeparator separator_from_selection(int position) {
    switch (position) {
        case 1: return UuidSeparator::Underscore;
        case 2: return UuidSeparator::None;
        default: return UuidSeparator::Hyphen;
    }
}

LetterCase letter_case_from_selection(int position) {
    return position == 1 ? LetterCase::Upper : LetterCase::Lower;
}

UuidBytes uuid_from_random(const UuidBytes& random) {
    UuidBytes uuid;
    for (std::size_t k = 0; k < 16; ++k) uuid[k] = random[15 - k];
    uuid[6] = static_cast<std::uint8_t>((uuid[6] & 0x0F) | 0x40);
    uuid[8] = static_cast<std::uint8_t>((uuid[8] & 0x3F) | 0x80);
    return uuid;
}

void append_uuid(std::string& out, const UuidBytes& uuid, UuidSeparator separator, LetterCase letter_case) {
    const char* digits = letter_case == LetterCase::Upper ? "0123456789ABCDEF" : "0123456789abcdef";
    char sign = separator == UuidSeparator::Underscore ? '_' : '-';
    char text[36];
    std::size_t n = 0;
    for (std::size_t k = 0; k < 16; ++k) {
        if (separator != UuidSeparator::None && (k == 4 || k == 6 || k == 8 || k == 10)) text[n++] = sign;
        text[n++] = digits[uuid[k] >> 4];
        text[n++] = digits[uuid[k] & 0x0F];
    }
    out.append(text, n);
}

std::string generate_uuids(std::uint32_t count, UuidSeparator separator, LetterCase letter_case,
                           RandomSource& source) {
    std::string text;
    text.reserve(uuid_line_bytes * count);
    UuidBytes random;
    for (std::uint32_t i = 0; i < count; ++i) {
        source.fill(std::span<std::uint8_t>(random));
        if (i != 0) text.push_back('\n');
        append_uuid(text, uuid_from_random(random), separator, letter_case);
    }
    return text;
}

BatchOutcome generate_uuid_batch(std::string_view count_text, int separator_position, int case_position,
                                 RandomSource& source) {
    auto count = validate_count(count_text);
    if (auto* message = std::get_if<std::string>(&count)) return std::move(*message);
    std::uint32_t n = std::get<std::uint32_t>(count);
    return Batch{generate_uuids(n, separator_from_selection(separator_position),
                                letter_case_from_selection(case_position), source),
                 n};
}
