#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "identity/chacha.h"
#include "identity/random_generator.h"
#include "test_support.h"

namespace {

// The generator's words are ChaCha12 blocks with the 64-bit counter in words
// 12-13, in order, two words to a 64-bit value, low word first.
TEST(ChaChaRng, OutputIsTheChaCha12Keystream) {
    auto seed = fixed_seed(7);
    ChaChaRng rng(seed);
    std::array<std::uint8_t, 12> zero_nonce{};
    for (std::uint32_t block = 0; block < 3; ++block) {
        ChaChaState input = chacha_rfc_state(seed, block, zero_nonce);
        input[13] = 0;  // the high half of the block counter, not a nonce word
        ChaChaState words = chacha_block(input, 12);
        for (std::size_t i = 0; i < 16; i += 2) {
            ASSERT_EQ(rng.next_u64(), words[i] | std::uint64_t{words[i + 1]} << 32) << block << ' ' << i;
        }
    }
    EXPECT_EQ(rng.blocks_generated(), 3u);
}

TEST(ChaChaRng, SameSeedSameStreamOtherSeedOtherStream) {
    ChaChaRng a(fixed_seed(1)), b(fixed_seed(1)), c(fixed_seed(2));
    for (int i = 0; i < 100; ++i) {
        std::uint64_t x = a.next_u64();
        EXPECT_EQ(x, b.next_u64());
        EXPECT_NE(x, c.next_u64());
    }
}

// Rejection at work: 2^64 mod 3 = 1, so a raw 0 is drawn again; 2^64 mod
// 2^63+1 = 2^63 - 1, so everything below that is drawn again.
TEST(UniformBelow, RejectsTheRemainderZone) {
    struct Case {
        std::vector<std::uint64_t> raw;
        std::uint64_t bound, value;
        std::size_t used;
    };
    const std::uint64_t half = 1ull << 63;
    const Case cases[] = {
        {{0, 5}, 3, 2, 2},
        {{0, 0, 1}, 3, 1, 3},
        {{1}, 3, 1, 1},
        {{~0ull}, 3, 0, 1},                 // 2^64 - 1 = 3 * 6148914691236517205
        {{12345}, 1, 0, 1},
        {{~0ull}, 1ull << 40, (1ull << 40) - 1, 1},  // a power of two rejects nothing
        {{0}, 1ull << 40, 0, 1},
        {{half - 2, half - 1}, half + 1, half - 1, 2},
        {{~0ull}, half + 1, half - 2, 1},
        {{0, 10}, ~0ull, 10, 2},            // 2^64 mod (2^64 - 1) = 1
        {{0, ~0ull}, ~0ull, 0, 2},
        {{~0ull - 1}, ~0ull, ~0ull - 1, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bound);
        ScriptedGenerator g(c.raw);
        EXPECT_EQ(g.below(c.bound), c.value);
        EXPECT_EQ(g.used, c.used);
    }
}

// Small bounds over a fixed seed: every value equally often, none outside.
TEST(UniformBelow, ChiSquareSmallBounds) {
    ChaChaRng rng(fixed_seed(42));
    for (std::uint64_t bound : {2u, 3u, 7u, 10u, 37u}) {
        SCOPED_TRACE(bound);
        std::vector<std::uint64_t> counts(bound);
        for (std::uint64_t i = 0; i < 20000 * bound; ++i) {
            std::uint64_t x = rng.below(bound);
            ASSERT_LT(x, bound);
            ++counts[x];
        }
        EXPECT_LT(chi_square(counts), chi_square_limit(bound - 1));
    }
}

// A bound of 3 * 2^62: plain "x % bound" would hit the lowest quarter of the
// range twice as often as the others. Rejection keeps the three quarters even.
TEST(UniformBelow, NoModuloBiasOnLargeBounds) {
    ChaChaRng rng(fixed_seed(9));
    const std::uint64_t bound = 3ull << 62;
    std::vector<std::uint64_t> quarters(3);
    for (int i = 0; i < 30000; ++i) ++quarters[rng.below(bound) >> 62];
    EXPECT_LT(chi_square(quarters), chi_square_limit(2));
}

// A source that counts its seeds and gives each one different bytes.
class CountingSource final : public RandomSource {
public:
    void fill(std::span<std::uint8_t> out) override {
        auto seed = fixed_seed(static_cast<std::uint8_t>(16 * ++fills));
        for (std::size_t i = 0; i < out.size(); ++i) out[i] = seed[i % 32];
    }
    int fills = 0;
};

// Seeded once at creation; after reseed_bytes of output the next value comes
// from a fresh ChaCha12 keyed with a new seed.
TEST(ReseedingRng, ReseedsAfterTheThreshold) {
    CountingSource source;
    ReseedingRng rng(source, 128);  // two blocks, 16 values
    EXPECT_EQ(source.fills, 1);
    ChaChaRng first(fixed_seed(16)), second(fixed_seed(32)), third(fixed_seed(48));
    for (int i = 0; i < 16; ++i) ASSERT_EQ(rng.next_u64(), first.next_u64());
    EXPECT_EQ(source.fills, 1);
    for (int i = 0; i < 16; ++i) ASSERT_EQ(rng.next_u64(), second.next_u64());
    EXPECT_EQ(source.fills, 2);
    EXPECT_EQ(rng.next_u64(), third.next_u64());
    EXPECT_EQ(source.fills, 3);
}

TEST(ReseedingRng, DefaultThresholdIs64KiB) {
    CountingSource source;
    ReseedingRng rng(source);
    for (int i = 0; i < 8192; ++i) rng.next_u64();  // exactly 64 KiB
    EXPECT_EQ(source.fills, 1);
    rng.next_u64();
    EXPECT_EQ(source.fills, 2);
}

TEST(ThreadRng, OnePerThreadSeededFromTheSystem) {
    RandomGenerator& here = thread_rng();
    EXPECT_EQ(&here, &thread_rng());
    EXPECT_NE(here.next_u64(), here.next_u64());
}

}  // namespace
