#include "json_history/siphash.h"

#include <cstring>

namespace {

inline std::uint64_t rotl(std::uint64_t x, int b) { return (x << b) | (x >> (64 - b)); }

struct SipState {
    std::uint64_t v0, v1, v2, v3;

    void round() {
        v0 += v1; v1 = rotl(v1, 13); v1 ^= v0; v0 = rotl(v0, 32);
        v2 += v3; v3 = rotl(v3, 16); v3 ^= v2;
        v0 += v3; v3 = rotl(v3, 21); v3 ^= v0;
        v2 += v1; v1 = rotl(v1, 17); v1 ^= v2; v2 = rotl(v2, 32);
    }
    template <int C>
    void absorb(std::uint64_t m) {
        v3 ^= m;
        for (int i = 0; i < C; ++i) round();
        v0 ^= m;
    }
};

std::uint64_t load_le(const unsigned char* p, std::size_t n) {
    std::uint64_t v = 0;
    for (std::size_t i = 0; i < n; ++i) v |= std::uint64_t{p[i]} << (8 * i);
    return v;
}

}  // namespace

template <int C, int D>
std::uint64_t siphash(std::uint64_t k0, std::uint64_t k1, std::string_view bytes) {
    SipState s{k0 ^ 0x736f6d6570736575ull, k1 ^ 0x646f72616e646f6dull, k0 ^ 0x6c7967656e657261ull,
               k1 ^ 0x7465646279746573ull};
    auto p = reinterpret_cast<const unsigned char*>(bytes.data());
    std::size_t n = bytes.size();
    std::size_t whole = n & ~std::size_t{7};
    for (std::size_t i = 0; i < whole; i += 8) s.absorb<C>(load_le(p + i, 8));
    s.absorb<C>(load_le(p + whole, n - whole) | (std::uint64_t{n & 0xFF} << 56));
    s.v2 ^= 0xFF;
    for (int i = 0; i < D; ++i) s.round();
    return s.v0 ^ s.v1 ^ s.v2 ^ s.v3;
}

template std::uint64_t siphash<1, 3>(std::uint64_t, std::uint64_t, std::string_view);
template std::uint64_t siphash<2, 4>(std::uint64_t, std::uint64_t, std::string_view);

std::uint64_t content_hash(std::string_view text) {
    // The terminator is part of the message; hashing a copy would double the
    // memory for a large text, so the last block is assembled here instead.
    SipState s{0x736f6d6570736575ull, 0x646f72616e646f6dull, 0x6c7967656e657261ull, 0x7465646279746573ull};
    auto p = reinterpret_cast<const unsigned char*>(text.data());
    std::size_t n = text.size() + 1;  // with the 0xFF byte
    std::size_t whole = text.size() & ~std::size_t{7};
    for (std::size_t i = 0; i < whole; i += 8) s.absorb<1>(load_le(p + i, 8));
    std::size_t rest = text.size() - whole;  // 0..7 bytes, then 0xFF
    std::uint64_t last = load_le(p + whole, rest) | (std::uint64_t{0xFF} << (8 * rest));
    if (rest == 7) {
        s.absorb<1>(last);
        last = 0;
    }
    s.absorb<1>(last | (std::uint64_t{n & 0xFF} << 56));
    s.v2 ^= 0xFF;
    for (int i = 0; i < 3; ++i) s.round();
    return s.v0 ^ s.v1 ^ s.v2 ^ s.v3;
}
