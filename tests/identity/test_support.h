#pragma once

#include <cmath>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "identity/random_generator.h"

// Bytes from a hexadecimal string (test vectors are written that way).
inline std::vector<std::uint8_t> from_hex(std::string_view hex) {
    std::vector<std::uint8_t> bytes;
    auto nibble = [](char c) { return c <= '9' ? c - '0' : c - 'a' + 10; };
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2) {
        bytes.push_back(static_cast<std::uint8_t>(nibble(hex[i]) * 16 + nibble(hex[i + 1])));
    }
    return bytes;
}

inline std::array<std::uint8_t, 32> fixed_seed(std::uint8_t first) {
    std::array<std::uint8_t, 32> seed{};
    for (std::size_t i = 0; i < 32; ++i) seed[i] = static_cast<std::uint8_t>(first + i);
    return seed;
}

// Pearson's statistic of observed counts against equal expected counts.
inline double chi_square(const std::vector<std::uint64_t>& counts) {
    double total = 0;
    for (std::uint64_t c : counts) total += static_cast<double>(c);
    double expected = total / static_cast<double>(counts.size()), chi = 0;
    for (std::uint64_t c : counts) chi += (static_cast<double>(c) - expected) * (static_cast<double>(c) - expected);
    return chi / expected;
}

// The value a uniform source exceeds with probability about 10^-6 (upper
// quantile of chi-square with df degrees of freedom, Wilson-Hilferty).
inline double chi_square_limit(std::size_t df) {
    double k = static_cast<double>(df), z = 4.75;
    double t = 1 - 2 / (9 * k) + z * std::sqrt(2 / (9 * k));
    return k * t * t * t;
}

// A generator that returns the given 64-bit values in turn (then zeros).
class ScriptedGenerator final : public RandomGenerator {
public:
    explicit ScriptedGenerator(std::vector<std::uint64_t> values) : values_(std::move(values)) {}
    std::uint64_t next_u64() override { return used < values_.size() ? values_[used++] : (used++, 0); }
    std::size_t used = 0;

private:
    std::vector<std::uint64_t> values_;
};
