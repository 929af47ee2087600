// The counting replacements of operator new/delete (see heap_counter.h).
#include "heap_counter.h"

#include <malloc.h>

#include <algorithm>
#include <cstdlib>
#include <new>

namespace heap {

bool tracking = false;
std::int64_t live = 0;
std::int64_t peak = 0;
std::int64_t allocations = 0;

namespace {

inline void on_alloc(void* p) {
    if (!tracking || p == nullptr) return;
    live += static_cast<std::int64_t>(malloc_usable_size(p));
    peak = std::max(peak, live);
    ++allocations;
}
inline void on_free(void* p) {
    if (!tracking || p == nullptr) return;
    live -= static_cast<std::int64_t>(malloc_usable_size(p));
}

void* allocate(std::size_t n) {
    void* p = std::malloc(n == 0 ? 1 : n);
    if (p == nullptr) throw std::bad_alloc();
    on_alloc(p);
    return p;
}
void* allocate_aligned(std::size_t n, std::align_val_t al) {
    auto a = static_cast<std::size_t>(al);
    std::size_t rounded = (std::max<std::size_t>(n, 1) + a - 1) / a * a;
    void* p = std::aligned_alloc(a, rounded);
    if (p == nullptr) throw std::bad_alloc();
    on_alloc(p);
    return p;
}
void release(void* p) noexcept {
    on_free(p);
    std::free(p);
}

}  // namespace

}  // namespace heap

void* operator new(std::size_t n) { return heap::allocate(n); }
void* operator new[](std::size_t n) { return heap::allocate(n); }
void* operator new(std::size_t n, const std::nothrow_t&) noexcept {
    try { return heap::allocate(n); } catch (...) { return nullptr; }
}
void* operator new[](std::size_t n, const std::nothrow_t&) noexcept {
    try { return heap::allocate(n); } catch (...) { return nullptr; }
}
void* operator new(std::size_t n, std::align_val_t al) { return heap::allocate_aligned(n, al); }
void* operator new[](std::size_t n, std::align_val_t al) { return heap::allocate_aligned(n, al); }
void operator delete(void* p) noexcept { heap::release(p); }
void operator delete[](void* p) noexcept { heap::release(p); }
void operator delete(void* p, std::size_t) noexcept { heap::release(p); }
void operator delete[](void* p, std::size_t) noexcept { heap::release(p); }
void operator delete(void* p, std::align_val_t) noexcept { heap::release(p); }
void operator delete[](void* p, std::align_val_t) noexcept { heap::release(p); }
void operator delete(void* p, std::size_t, std::align_val_t) noexcept { heap::release(p); }
void operator delete[](void* p, std::size_t, std::align_val_t) noexcept { heap::release(p); }
