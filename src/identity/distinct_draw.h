#pragma once

#include <cstdint>
#include <vector>

#include "identity/random_generator.h"

// count different values drawn uniformly from 0..total-1 (count <= total), in
// drawing order, by a partial Fisher-Yates shuffle of the virtual array
// 0..total-1: only the positions that have been swapped are stored (a hash
// map from position to value), so time and memory grow with count and never
// with total.
std::vector<std::uint64_t> draw_distinct(std::uint64_t total, std::uint32_t count, RandomGenerator& rng);
