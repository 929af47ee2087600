#include "identity/random_generator.h"

#include <array>

ChaChaRng::ChaChaRng(std::span<const std::uint8_t, 32> seed) {
    static constexpr std::array<std::uint8_t, 12> zero_nonce{};
    input_ = chacha_rfc_state(seed, 0, zero_nonce);  // words 12-15 are set per block
}

std::uint32_t ChaChaRng::next_u32() {
    if (index_ == 16) {
        input_[12] = static_cast<std::uint32_t>(counter_);
        input_[13] = static_cast<std::uint32_t>(counter_ >> 32);
        input_[14] = 0;
        input_[15] = 0;
        block_ = chacha_block(input_, chacha_rng_rounds);
        ++counter_;
        index_ = 0;
    }
    return block_[index_++];
}

std::uint64_t ChaChaRng::next_u64() {
    std::uint64_t low = next_u32();
    return low | std::uint64_t{next_u32()} << 32;
}

namespace {

std::array<std::uint8_t, 32> seed_from(RandomSource& source) {
    std::array<std::uint8_t, 32> seed;
    source.fill(seed);
    return seed;
}

}  // namespace

ReseedingRng::ReseedingRng(RandomSource& source, std::uint64_t reseed_bytes)
    : source_(source),
      reseed_values_(reseed_bytes / 8 == 0 ? 1 : reseed_bytes / 8),
      values_left_(reseed_values_),
      rng_(seed_from(source)) {}

std::uint64_t ReseedingRng::next_u64() {
    if (values_left_ == 0) {
        rng_ = ChaChaRng(seed_from(source_));
        values_left_ = reseed_values_;
    }
    --values_left_;
    return rng_.next_u64();
}

RandomGenerator& thread_rng() {
    thread_local ReseedingRng rng(system_random());
    return rng;
}
