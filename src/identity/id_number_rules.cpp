#include "identity/id_number_rules.h"

#include <limits>

#include "ui/white_space.h"
#include "uuid/batch.h"

std::string max_count_message(std::uint64_t total) {
    return "当前条件下最多可生成 " + std::to_string(total) + " 条不重复的号码。";
}

std::optional<std::uint32_t> parse_age(std::string_view text) {
    auto parsed = parse_unsigned(trim_unicode_white_space(text));
    if (!parsed || *parsed > std::numeric_limits<std::uint32_t>::max()) return std::nullopt;
    return static_cast<std::uint32_t>(*parsed);
}

SequenceRange sequence_range(int sex_position) {
    switch (sex_position) {
        case 1: return {1, 2, 500};  // 男: odd, 001..999
        case 2: return {2, 2, 499};  // 女: even, 002..998
        default: return {1, 1, 999};  // 随机: 001..999
    }
}

std::variant<std::span<const AreaEntry>, std::string> candidate_areas(int province_position,
                                                                      int county_position) {
    const RegionTable& table = region_table();
    int province = province_position < 0 ? 0 : province_position;
    int county = county_position < 0 ? 0 : county_position;
    if (province == 0 && county == 0) return table.national;
    if (province < 1 || static_cast<std::size_t>(province) > table.provinces.size()) {
        return std::string(province_message);
    }
    std::span<const AreaEntry> areas = table.provinces[static_cast<std::size_t>(province) - 1].areas;
    if (county == 0) return areas;
    if (static_cast<std::size_t>(county) > areas.size()) return std::string(county_message);
    return areas.subspan(static_cast<std::size_t>(county) - 1, 1);
}

std::variant<BirthRange, std::string> birth_date_range(CivilDate today, std::uint32_t min_age,
                                                       std::uint32_t max_age_years) {
    if (max_age_years > max_age || max_age_years < min_age) return std::string(age_range_message);
    // A year back is twelve months back, the day clamped to the month's end.
    CivilDate before_oldest = add_months(today, -12 * (static_cast<std::int64_t>(max_age_years) + 1));
    std::int64_t earliest = days_from_civil(before_oldest) + 1;
    if (civil_from_days(earliest).year < 1) return std::string(date_too_early_message);
    CivilDate youngest = add_months(today, -12 * static_cast<std::int64_t>(min_age));
    if (youngest.year >= 10000) return std::string(date_too_late_message);
    return BirthRange{earliest, days_from_civil(youngest)};
}

IdNumberParts decode_index(const IdNumberSpace& space, std::uint64_t index) {
    std::uint64_t per_area = space.birth.days() * space.sequence.count;
    std::uint64_t area = index / per_area;
    std::uint64_t rest = index % per_area;
    std::uint64_t day = rest / space.sequence.count;
    std::uint64_t sequence = space.sequence.first + (rest % space.sequence.count) * space.sequence.step;
    return {space.areas[area].code, civil_from_days(space.birth.earliest + static_cast<std::int64_t>(day)),
            static_cast<std::uint32_t>(sequence)};
}

char check_character(std::string_view digits17) {
    static constexpr int weights[17] = {7, 9, 10, 5, 8, 4, 2, 1, 6, 3, 7, 9, 10, 5, 8, 4, 2};
    int sum = 0;
    for (std::size_t k = 0; k < 17 && k < digits17.size(); ++k) sum += (digits17[k] - '0') * weights[k];
    return "10X98765432"[sum % 11];
}

namespace {

void put_digits(char* out, std::uint64_t value, int width) {
    for (int k = width - 1; k >= 0; --k) {
        out[k] = static_cast<char>('0' + value % 10);
        value /= 10;
    }
}

}  // namespace

void append_id_number(std::string& out, const IdNumberParts& parts) {
    char text[18];
    put_digits(text, parts.area_code, 6);
    put_digits(text + 6, static_cast<std::uint64_t>(parts.birth_date.year), 4);
    put_digits(text + 10, parts.birth_date.month, 2);
    put_digits(text + 12, parts.birth_date.day, 2);
    put_digits(text + 14, parts.sequence, 3);
    text[17] = check_character(std::string_view(text, 17));
    out.append(text, 18);
}
