#pragma once

// The ChaCha block function with the number of rounds as a parameter:
// 20 rounds is RFC 8439's ChaCha20 (checked against its test vectors), 12 is
// what the random generator uses.

#include <array>
#include <cstdint>
#include <span>

using ChaChaState = std::array<std::uint32_t, 16>;

// The 16 output words: rounds / 2 double rounds over input, then input added
// word by word. rounds must be even.
ChaChaState chacha_block(const ChaChaState& input, int rounds);

// RFC 8439's layout: the four constants, the 256-bit key, a 32-bit block
// counter and a 96-bit nonce, each read little-endian.
ChaChaState chacha_rfc_state(std::span<const std::uint8_t, 32> key, std::uint32_t counter,
                             std::span<const std::uint8_t, 12> nonce);
