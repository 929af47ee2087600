#include "identity/chacha.h"

namespace {

inline std::uint32_t rotl(std::uint32_t x, int n) { return (x << n) | (x >> (32 - n)); }

inline void quarter_round(ChaChaState& s, int a, int b, int c, int d) {
    s[a] += s[b]; s[d] = rotl(s[d] ^ s[a], 16);
    s[c] += s[d]; s[b] = rotl(s[b] ^ s[c], 12);
    s[a] += s[b]; s[d] = rotl(s[d] ^ s[a], 8);
    s[c] += s[d]; s[b] = rotl(s[b] ^ s[c], 7);
}

std::uint32_t load_le32(const std::uint8_t* p) {
    return std::uint32_t{p[0]} | std::uint32_t{p[1]} << 8 | std::uint32_t{p[2]} << 16 |
           std::uint32_t{p[3]} << 24;
}

}  // namespace

ChaChaState chacha_block(const ChaChaState& input, int rounds) {
    ChaChaState s = input;
    for (int i = 0; i < rounds; i += 2) {
        quarter_round(s, 0, 4, 8, 12);  // columns
        quarter_round(s, 1, 5, 9, 13);
        quarter_round(s, 2, 6, 10, 14);
        quarter_round(s, 3, 7, 11, 15);
        quarter_round(s, 0, 5, 10, 15);  // diagonals
        quarter_round(s, 1, 6, 11, 12);
        quarter_round(s, 2, 7, 8, 13);
        quarter_round(s, 3, 4, 9, 14);
    }
    for (std::size_t i = 0; i < 16; ++i) s[i] += input[i];
    return s;
}

ChaChaState chacha_rfc_state(std::span<const std::uint8_t, 32> key, std::uint32_t counter,
                             std::span<const std::uint8_t, 12> nonce) {
    ChaChaState s{0x61707865, 0x3320646e, 0x79622d32, 0x6b206574};  // "expand 32-byte k"
    for (std::size_t i = 0; i < 8; ++i) s[4 + i] = load_le32(key.data() + 4 * i);
    s[12] = counter;
    for (std::size_t i = 0; i < 3; ++i) s[13 + i] = load_le32(nonce.data() + 4 * i);
    return s;
}
