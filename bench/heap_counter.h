// Heap accounting: every operator new/delete of the process goes through here
// (heap_counter.cpp replaces them); while `tracking` is on, the bytes live
// since it was turned on (as malloc_usable_size counts them) and their peak
// are kept. Off during the timed runs apart from one predictable branch per
// allocation.
#pragma once

#include <cstdint>

namespace heap {

extern bool tracking;
extern std::int64_t live;
extern std::int64_t peak;
extern std::int64_t allocations;

struct Peak {
    std::int64_t bytes = 0;
    std::int64_t allocations = 0;
};

// Peak heap bytes allocated (and not yet freed) while f runs.
template <class F>
Peak measure(F&& f) {
    live = peak = allocations = 0;
    tracking = true;
    f();
    tracking = false;
    return {peak, allocations};
}

}  // namespace heap
