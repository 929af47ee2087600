#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "uuid/system_random.h"

// A RandomSource that hands out the bytes 0, 1, 2, ... (mod 256), or a fixed
// byte, and records the size of every request.
class ScriptedRandom final : public RandomSource {
public:
    ScriptedRandom() = default;
    explicit ScriptedRandom(std::uint8_t fixed) : fixed_(true), next_(fixed) {}

    void fill(std::span<std::uint8_t> out) override {
        requests.push_back(out.size());
        for (auto& b : out) b = fixed_ ? next_ : next_++;
    }

    std::vector<std::size_t> requests;

private:
    bool fixed_ = false;
    std::uint8_t next_ = 0;
};
