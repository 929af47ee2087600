#include <gtest/gtest.h>

#include <string>

#include "json_history/siphash.h"

namespace {

std::string bytes_0_to(int n) {
    std::string s;
    for (int i = 0; i < n; ++i) s.push_back(static_cast<char>(i));
    return s;
}

// The reference vectors of SipHash-2-4 (key 00..0f, messages 00..n-1) prove
// the round function and padding that SipHash-1-3 shares.
TEST(SipHash, ReferenceVectors24) {
    const std::uint64_t k0 = 0x0706050403020100ull, k1 = 0x0f0e0d0c0b0a0908ull;
    EXPECT_EQ((siphash<2, 4>(k0, k1, "")), 0x726fdb47dd0e0e31ull);
    EXPECT_EQ((siphash<2, 4>(k0, k1, bytes_0_to(1))), 0x74f839c593dc67fdull);
    EXPECT_EQ((siphash<2, 4>(k0, k1, bytes_0_to(15))), 0xa129ca6149be45e5ull);
    EXPECT_EQ((siphash<2, 4>(k0, k1, bytes_0_to(8))), 0x93f5f5799a932462ull);
}

// SipHash-1-3 with a zero key, checked against an independent implementation
// (the one behind a common scripting runtime's byte-string hash).
TEST(SipHash, ContentHashVectors) {
    struct Case {
        std::string text;
        std::uint64_t hash;
    };
    const Case cases[] = {
        {"", 0x30406ea523c53defull},
        {"\x61", 0x719b50b9a4f0e9f3ull},
        {"\x61\x62\x63", 0xef09e0f4895a251dull},
        {"\x31\x32\x33\x34\x35\x36\x37", 0xb9a4f30e757fe044ull},
        {"\x31\x32\x33\x34\x35\x36\x37\x38", 0x40cc4e544a5af2cdull},
        {"\x31\x32\x33\x34\x35\x36\x37\x38\x39", 0xe3f9279ea22e3919ull},
        {"{\"a\":1}", 0xce95b977d32344d8ull},
        {bytes_0_to(15), 0x34ee35f20e1ee022ull},
        {bytes_0_to(16), 0x896f2c9af642d0beull},
        {bytes_0_to(64), 0x682a848564e4f385ull},
        {"\xe4\xb8\xad\xe6\x96\x87 JSON", 0xec48c6aef0220a3cull},
        {std::string(7, '\0'), 0x3f5d10fcd386ee4eull},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text.size());
        EXPECT_EQ(content_hash(c.text), c.hash);
        EXPECT_EQ((siphash<1, 3>(0, 0, c.text + "\xFF")), c.hash);
    }
}

}  // namespace
