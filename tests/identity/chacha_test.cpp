#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "identity/chacha.h"
#include "test_support.h"

namespace {

// The words as bytes, each little-endian: the keystream block.
std::array<std::uint8_t, 64> chacha_block_bytes(const ChaChaState& output) {
    std::array<std::uint8_t, 64> bytes;
    for (std::size_t i = 0; i < 16; ++i) {
        for (std::size_t k = 0; k < 4; ++k) bytes[4 * i + k] = static_cast<std::uint8_t>(output[i] >> (8 * k));
    }
    return bytes;
}

// The RFC 8439 §2.4 cipher: data XORed with the keystream from block counter on.
void chacha_xor(std::span<const std::uint8_t, 32> key, std::uint32_t counter,
                std::span<const std::uint8_t, 12> nonce, int rounds, std::span<std::uint8_t> data) {
    ChaChaState input = chacha_rfc_state(key, counter, nonce);
    for (std::size_t done = 0; done < data.size(); done += 64) {
        auto block = chacha_block_bytes(chacha_block(input, rounds));
        for (std::size_t k = 0; k < 64 && done + k < data.size(); ++k) data[done + k] ^= block[k];
        ++input[12];
    }
}

std::array<std::uint8_t, 32> key_from(std::string_view hex) {
    std::array<std::uint8_t, 32> key{};
    auto bytes = from_hex(hex);
    std::copy(bytes.begin(), bytes.end(), key.begin());
    return key;
}

std::array<std::uint8_t, 12> nonce_from(std::string_view hex) {
    std::array<std::uint8_t, 12> nonce{};
    auto bytes = from_hex(hex);
    std::copy(bytes.begin(), bytes.end(), nonce.begin());
    return nonce;
}

const std::string zero32(64, '0');
const std::string zero12(24, '0');
const std::string key_0_to_31 = "000102030405060708090a0b0c0d0e0f101112131415161718191a1b1c1d1e1f";

// RFC 8439: the block function example of section 2.3.2 and the keystream
// blocks of appendix A.1 (ChaCha20, 20 rounds).
TEST(ChaCha, Rfc8439BlockVectors) {
    struct Case {
        std::string key;
        std::uint32_t counter;
        std::string nonce, block;
    };
    const Case cases[] = {
        {key_0_to_31, 1, "000000090000004a00000000",
         "10f1e7e4d13b5915500fdd1fa32071c4c7d1f4c733c068030422aa9ac3d46c4e"
         "d2826446079faa0914c2d705d98b02a2b5129cd1de164eb9cbd083e8a2503c4e"},
        {zero32, 0, zero12,
         "76b8e0ada0f13d90405d6ae55386bd28bdd219b8a08ded1aa836efcc8b770dc7"
         "da41597c5157488d7724e03fb8d84a376a43b8f41518a11cc387b669b2ee6586"},
        {zero32, 1, zero12,
         "9f07e7be5551387a98ba977c732d080dcb0f29a048e3656912c6533e32ee7aed"
         "29b721769ce64e43d57133b074d839d531ed1f28510afb45ace10a1f4b794d6f"},
        {zero32.substr(0, 62) + "01", 1, zero12,
         "3aeb5224ecf849929b9d828db1ced4dd832025e8018b8160b82284f3c949aa5a"
         "8eca00bbb4a73bdad192b5c42f73f2fd4e273644c8b36125a64addeb006c13a0"},
        {"00ff" + zero32.substr(4), 2, zero12,
         "72d54dfbf12ec44b362692df94137f328fea8da73990265ec1bbbea1ae9af0ca"
         "13b25aa26cb4a648cb9b9d1be65b2c0924a66c54d545ec1b7374f4872e99f096"},
        {zero32, 0, zero12.substr(0, 22) + "02",
         "c2c64d378cd536374ae204b9ef933fcd1a8b2288b3dfa49672ab765b54ee27c7"
         "8a970e0e955c14f3a88e741b97c286f75f8fc299e8148362fa198a39531bed6d"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.block.substr(0, 8));
        auto key = key_from(c.key);
        auto nonce = nonce_from(c.nonce);
        auto block = chacha_block_bytes(chacha_block(chacha_rfc_state(key, c.counter, nonce), 20));
        EXPECT_EQ(std::vector<std::uint8_t>(block.begin(), block.end()), from_hex(c.block));
    }
}

// RFC 8439 section 2.4.2: 114 bytes over two blocks, the second one partial.
TEST(ChaCha, Rfc8439KeystreamVector) {
    std::string text =
        "Ladies and Gentlemen of the class of '99: If I could offer you only one tip for the future, "
        "sunscreen would be it.";
    std::vector<std::uint8_t> data(text.begin(), text.end());
    auto key = key_from(key_0_to_31);
    auto nonce = nonce_from("000000000000004a00000000");
    chacha_xor(key, 1, nonce, 20, data);
    EXPECT_EQ(data, from_hex("6e2e359a2568f98041ba0728dd0d6981e97e7aec1d4360c20a27afccfd9fae0b"
                             "f91b65c5524733ab8f593dabcd62b3571639d624e65152ab8f530c359f0861d8"
                             "07ca0dbf500d6a6156a38e088a22b65e52bc514d16ccf806818ce91ab7793736"
                             "5af90bbf74a35be6b40b8eedf2785e42874d"));
    chacha_xor(key, 1, nonce, 20, data);  // the same keystream decrypts
    EXPECT_EQ(std::string(data.begin(), data.end()), text);
}

// The reduced-round variants with an all-zero key, nonce and counter, from
// the published ChaCha test vectors (draft-strombergson-chacha-test-vectors):
// the round count really is a parameter, not a constant that only 20 passes.
TEST(ChaCha, ReducedRoundVectors) {
    auto key = key_from(zero32);
    auto nonce = nonce_from(zero12);
    struct Case {
        int rounds;
        std::string first_32_bytes;
    };
    const Case cases[] = {
        {8, "3e00ef2f895f40d67f5bb8e81f09a5a12c840ec3ce9a7f3b181be188ef711a1e"},
        {12, "9bf49a6a0755f953811fce125f2683d50429c3bb49e074147e0089a52eae155f"},
        {20, "76b8e0ada0f13d90405d6ae55386bd28bdd219b8a08ded1aa836efcc8b770dc7"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.rounds);
        auto block = chacha_block_bytes(chacha_block(chacha_rfc_state(key, 0, nonce), c.rounds));
        EXPECT_EQ(std::vector<std::uint8_t>(block.begin(), block.begin() + 32), from_hex(c.first_32_bytes));
    }
}

}  // namespace
