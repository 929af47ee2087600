#include "identity/distinct_draw.h"

#include <bit>

namespace {

// The virtual array's moved positions: open addressing with linear probing in
// one allocation of at least twice count slots. A position leaves the array
// when it is the last one; its entry is then never looked up again (later
// draws only reach lower positions), so entries are never removed: each draw
// adds at most one, and the table stays at most half full.
class MovedPositions {
public:
    explicit MovedPositions(std::uint32_t count)
        : shift_(64 - static_cast<int>(std::bit_width(std::uint64_t{count} * 2 | 15))),
          slots_(std::size_t{1} << (64 - shift_), Slot{empty, 0}) {}

    // The value at position, or position itself if it has not moved.
    std::uint64_t value_at(std::uint64_t position) const {
        const Slot& slot = slots_[find(position)];
        return slot.position == position ? slot.value : position;
    }
    void set(std::uint64_t position, std::uint64_t value) { slots_[find(position)] = {position, value}; }

private:
    // No position equals it: positions are below the total, at most 2^64 - 1.
    static constexpr std::uint64_t empty = ~std::uint64_t{0};
    struct Slot {
        std::uint64_t position;
        std::uint64_t value;
    };

    std::size_t find(std::uint64_t position) const {
        std::size_t mask = slots_.size() - 1;
        auto i = static_cast<std::size_t>((position * 0x9E3779B97F4A7C15ull) >> shift_);  // Fibonacci hashing
        while (slots_[i].position != empty && slots_[i].position != position) i = (i + 1) & mask;
        return i;
    }

    int shift_;
    std::vector<Slot> slots_;
};

}  // namespace

std::vector<std::uint64_t> draw_distinct(std::uint64_t total, std::uint32_t count, RandomGenerator& rng) {
    std::vector<std::uint64_t> drawn;
    if (count > total) return drawn;
    drawn.reserve(count);
    MovedPositions moved(count);
    std::uint64_t i = total;
    for (std::uint32_t n = 0; n < count; ++n) {
        std::uint64_t j = rng.below(i);
        --i;
        std::uint64_t z = moved.value_at(i);  // the last position's value leaves the array
        if (j == i) {
            drawn.push_back(z);
        } else {
            drawn.push_back(moved.value_at(j));
            moved.set(j, z);
        }
    }
    return drawn;
}
