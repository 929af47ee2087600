#pragma once

// The per-thread random generator of the ID-number page: ChaCha with 12
// rounds, seeded from the system generator and reseeded from it after every
// 64 KiB of output.

#include <cstdint>
#include <span>

#include "identity/chacha.h"
#include "uuid/system_random.h"

// An unbiased integer in 0..bound-1 (bound >= 1) from a stream of uniform
// 64-bit values, by rejection: the lowest 2^64 mod bound values are drawn
// again, so that the accepted ones are a whole number of copies of
// 0..bound-1 and the remainder is uniform.
template <class Next>
std::uint64_t uniform_below(Next&& next_u64, std::uint64_t bound) {
    const std::uint64_t rejected = (0 - bound) % bound;  // 2^64 mod bound
    for (;;) {
        std::uint64_t x = next_u64();
        if (x >= rejected) return x % bound;
    }
}

class RandomGenerator {
public:
    virtual std::uint64_t next_u64() = 0;
    std::uint64_t below(std::uint64_t bound) {
        return uniform_below([this] { return next_u64(); }, bound);
    }

protected:
    ~RandomGenerator() = default;
};

inline constexpr int chacha_rng_rounds = 12;

// ChaCha12 keyed by a 32-byte seed, with a 64-bit block counter in words 12
// and 13 and a zero stream number in words 14 and 15. Each block yields 16
// words in order; a 64-bit value is two consecutive words, low word first.
class ChaChaRng final : public RandomGenerator {
public:
    explicit ChaChaRng(std::span<const std::uint8_t, 32> seed);

    std::uint32_t next_u32();
    std::uint64_t next_u64() override;
    std::uint64_t blocks_generated() const { return counter_; }

private:
    ChaChaState input_{};
    ChaChaState block_{};
    std::uint64_t counter_ = 0;
    std::size_t index_ = 16;  // next word of block_; 16 = used up
};

// ChaCha12 that draws a fresh 32-byte seed from source when created and again
// once reseed_bytes of output have been produced since the last seeding.
// 64 KiB by default: whoever learnt the generator's state could predict only
// the output of the current key, at most 64 KiB (the rest of its batch), and
// a reseed (32 system bytes, at most about a microsecond, a new key) is paid
// once per 1024 blocks. A batch of 10,000 ID numbers takes about 80 KB, so
// it spans one or two keys.
class ReseedingRng final : public RandomGenerator {
public:
    static constexpr std::uint64_t default_reseed_bytes = 64 * 1024;

    explicit ReseedingRng(RandomSource& source, std::uint64_t reseed_bytes = default_reseed_bytes);

    std::uint64_t next_u64() override;

private:
    RandomSource& source_;
    std::uint64_t reseed_values_;    // 64-bit values per seed
    std::uint64_t values_left_ = 0;  // before the next reseed
    ChaChaRng rng_;
};

// This thread's generator over system_random(), created on first use.
RandomGenerator& thread_rng();
