#include "identity/id_number.h"

#include "identity/distinct_draw.h"

std::variant<IdNumberConditions, std::string> read_conditions(const IdNumberRequest& request) {
    IdNumberConditions conditions;
    auto count = validate_count(request.count_text);
    if (auto* message = std::get_if<std::string>(&count)) return std::move(*message);
    conditions.count = std::get<std::uint32_t>(count);

    std::optional<std::uint32_t> min_age = parse_age(request.min_age_text);
    std::optional<std::uint32_t> max_age_years = parse_age(request.max_age_text);
    if (!min_age || !max_age_years) return std::string(age_message);

    IdNumberSpace& space = conditions.space;
    space.sequence = sequence_range(request.sex_position);
    auto areas = candidate_areas(request.province_position, request.county_position);
    if (auto* message = std::get_if<std::string>(&areas)) return std::move(*message);
    space.areas = std::get<std::span<const AreaEntry>>(areas);

    auto birth = birth_date_range(request.today, *min_age, *max_age_years);
    if (auto* message = std::get_if<std::string>(&birth)) return std::move(*message);
    space.birth = std::get<BirthRange>(birth);
    return conditions;
}

BatchOutcome draw_id_numbers(const IdNumberSpace& space, std::uint32_t count, RandomGenerator& rng) {
    std::uint64_t total = space.total();
    if (total < count) return max_count_message(total);
    std::string text;
    text.reserve(id_number_line_bytes * count);
    for (std::uint64_t index : draw_distinct(total, count, rng)) {
        if (!text.empty()) text.push_back('\n');
        append_id_number(text, decode_index(space, index));
    }
    return Batch{std::move(text), count};
}

BatchOutcome generate_id_numbers(const IdNumberRequest& request, RandomGenerator& rng) {
    auto conditions = read_conditions(request);
    if (auto* message = std::get_if<std::string>(&conditions)) return std::move(*message);
    const auto& ok = std::get<IdNumberConditions>(conditions);
    return draw_id_numbers(ok.space, ok.count, rng);
}
