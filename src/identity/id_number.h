#pragma once

// "生成" on the ID-number page: the boxes and list positions as the page reads
// them in, the numbers or the first failing step's message out.

#include <string_view>
#include <variant>

#include "identity/id_number_rules.h"
#include "identity/random_generator.h"
#include "timestamp/calendar.h"
#include "uuid/batch.h"

struct IdNumberRequest {
    std::string_view count_text;
    std::string_view min_age_text;
    std::string_view max_age_text;
    int sex_position = 0;       // list positions; negative for no selection
    int province_position = 0;
    int county_position = 0;
    CivilDate today;            // the local date at the press of the button
};

// The checks in their order: the count, the two ages, the areas, the age
// range, the birth-date range. The first that fails gives its message.
struct IdNumberConditions {
    std::uint32_t count = 0;
    IdNumberSpace space{};
};
std::variant<IdNumberConditions, std::string> read_conditions(const IdNumberRequest& request);

// count distinct numbers drawn uniformly from space, joined by LF in drawing
// order; or max_count_message(total) when space holds fewer than count.
BatchOutcome draw_id_numbers(const IdNumberSpace& space, std::uint32_t count, RandomGenerator& rng);

// read_conditions, then draw_id_numbers.
BatchOutcome generate_id_numbers(const IdNumberRequest& request, RandomGenerator& rng = thread_rng());
