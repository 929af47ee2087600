#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "uuid/system_random.h"

namespace {

// Bytes that only look random would pass; a source that leaves the buffer
// untouched, fills only its start or repeats itself would not.
TEST(SystemRandom, FillsEveryByteOfEverySize) {
    for (std::size_t size : {1u, 2u, 15u, 16u, 17u, 32u, 255u, 4096u, 100000u}) {
        SCOPED_TRACE(size);
        std::vector<std::uint8_t> a(size, 0);
        for (int round = 0; round < 4; ++round) {  // a byte is 0 by chance 1 time in 256
            std::vector<std::uint8_t> fresh(size + 8, 0);
            system_random().fill(std::span<std::uint8_t>(fresh.data(), size));
            for (std::size_t i = 0; i < size; ++i) a[i] |= fresh[i];
            for (std::size_t i = size; i < size + 8; ++i) ASSERT_EQ(fresh[i], 0) << "wrote past the end";
        }
        std::size_t zero = 0;
        for (std::size_t i = 0; i < size; ++i) zero += a[i] == 0;
        EXPECT_LE(zero, size / 1000 + 1);
    }
    std::array<std::uint8_t, 32> first, second;
    system_random().fill(first);
    system_random().fill(second);
    EXPECT_NE(first, second);
}

// A chi-square over the byte values of 1 MiB: 255 degrees of freedom, so the
// limit of 400 is exceeded by a good source about once in 10^8 runs.
TEST(SystemRandom, ByteValuesAreUniform) {
    std::vector<std::uint8_t> bytes(1 << 20);
    system_random().fill(bytes);
    std::array<double, 256> counts{};
    for (std::uint8_t b : bytes) counts[b] += 1;
    double expected = static_cast<double>(bytes.size()) / 256, chi = 0;
    for (double c : counts) chi += (c - expected) * (c - expected) / expected;
    EXPECT_LT(chi, 400.0);
}

}  // namespace
