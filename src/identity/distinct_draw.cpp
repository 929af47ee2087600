#include "identity/distinct_draw.h"

#include <unordered_map>

std::vector<std::uint64_t> draw_distinct(std::uint64_t total, std::uint32_t count, RandomGenerator& rng) {
    std::vector<std::uint64_t> drawn;
    if (count > total) return drawn;
    drawn.reserve(count);
    // A position missing from the map holds its own index.
    std::unordered_map<std::uint64_t, std::uint64_t> moved;
    moved.reserve(count);
    std::uint64_t i = total;
    for (std::uint32_t n = 0; n < count; ++n) {
        std::uint64_t j = rng.below(i);
        --i;
        std::uint64_t z = i;  // the value at the last position, which leaves the array
        if (auto it = moved.find(i); it != moved.end()) {
            z = it->second;
            moved.erase(it);
        }
        if (j == i) {
            drawn.push_back(z);
            continue;
        }
        auto [it, inserted] = moved.try_emplace(j, z);
        if (inserted) {
            drawn.push_back(j);
        } else {
            drawn.push_back(it->second);
            it->second = z;
        }
    }
    return drawn;
}
