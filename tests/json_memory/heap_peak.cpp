// Counting replacements of operator new/delete for this test program: each
// block carries its size in a header, so the bytes live at once and their
// peak are known on every platform.
#include "heap_peak.h"

#include <algorithm>
#include <cstdlib>
#include <new>

namespace {

constexpr std::size_t header = 16;  // keeps the usual 16-byte alignment
bool tracking = false;
std::size_t live = 0;
std::size_t peak = 0;

void* allocate(std::size_t n) noexcept {
    auto* p = static_cast<unsigned char*>(std::malloc(n + header));
    if (p == nullptr) return nullptr;
    *reinterpret_cast<std::size_t*>(p) = n;
    if (tracking) {
        live += n;
        peak = std::max(peak, live);
    }
    return p + header;
}

void release(void* q) noexcept {
    if (q == nullptr) return;
    auto* p = static_cast<unsigned char*>(q) - header;
    std::size_t n = *reinterpret_cast<std::size_t*>(p);
    if (tracking) live -= std::min(live, n);
    std::free(p);
}

void* allocate_or_throw(std::size_t n) {
    void* p = allocate(n);
    if (p == nullptr) throw std::bad_alloc();
    return p;
}

}  // namespace

std::size_t heap_peak_of(const std::function<void()>& f) {
    live = peak = 0;
    tracking = true;
    f();
    tracking = false;
    return peak;
}

void* operator new(std::size_t n) { return allocate_or_throw(n); }
void* operator new[](std::size_t n) { return allocate_or_throw(n); }
void* operator new(std::size_t n, const std::nothrow_t&) noexcept { return allocate(n); }
void* operator new[](std::size_t n, const std::nothrow_t&) noexcept { return allocate(n); }
void operator delete(void* p) noexcept { release(p); }
void operator delete[](void* p) noexcept { release(p); }
void operator delete(void* p, std::size_t) noexcept { release(p); }
void operator delete[](void* p, std::size_t) noexcept { release(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { release(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { release(p); }
