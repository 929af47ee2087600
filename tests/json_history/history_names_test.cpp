#include <gtest/gtest.h>

#include "json_history/history_names.h"

namespace {

TEST(HistoryNames, LenientReading) {
    struct Case {
        std::string name;
        bool listed;
        Uint128 created;
        std::uint64_t hash;
    };
    const Uint128 max128 = ~Uint128{0};
    const Case cases[] = {
        {"1700000000000000000-0123456789abcdef.json", true, 1700000000000000000ull, 0x0123456789abcdefull},
        {"+5-+a.json", true, 5, 10},
        {"7-00ffffffffffffffff.json", true, 7, 0xffffffffffffffffull},  // 18 digits, two leading zeros
        {"7-ABCDEF.json", true, 7, 0xabcdef},
        {"0-0.json", true, 0, 0},
        {"340282366920938463463374607431768211455-1.json", true, max128, 1},
        {"340282366920938463463374607431768211456-1.json", false, 0, 0},  // 2^128
        {"1-10000000000000000.json", false, 0, 0},                        // 2^64
        {"1-2-3.json", false, 0, 0},                                      // split at the first hyphen
        {"notes.txt", false, 0, 0},
        {"abc.json", false, 0, 0},
        {"12-zz.json", false, 0, 0},
        {"-1.json", false, 0, 0},
        {"5-1.JSON", false, 0, 0},
        {".json", false, 0, 0},
        {"++5-1.json", false, 0, 0},
        {"+-1.json", false, 0, 0},
        {"5-+.json", false, 0, 0},
        {" 5-1.json", false, 0, 0},
        {"5-1.json.bak", false, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto r = parse_record_name(c.name);
        ASSERT_EQ(r.has_value(), c.listed);
        if (r) {
            EXPECT_TRUE(r->created == c.created);
            EXPECT_EQ(r->content_hash, c.hash);
        }
    }
}

TEST(HistoryNames, WrittenNamesReadBack) {
    EXPECT_EQ(record_file_name(5, 10), "5-000000000000000a.json");
    EXPECT_EQ(record_file_name(0, 0), "0-0000000000000000.json");
    const Uint128 big = (Uint128{0x0123456789abcdefull} << 64) | 0xfedcba9876543210ull;
    std::string name = record_file_name(big, 0xdeadbeefcafef00dull);
    EXPECT_EQ(name, "1512366075204170947332355369683137040-deadbeefcafef00d.json");
    auto back = parse_record_name(name);
    ASSERT_TRUE(back);
    EXPECT_TRUE(back->created == big);
    EXPECT_EQ(back->content_hash, 0xdeadbeefcafef00dull);
    EXPECT_EQ(to_decimal(~Uint128{0}), "340282366920938463463374607431768211455");
}

TEST(HistoryNames, Previews) {
    const std::string fffd = "\xEF\xBF\xBD";
    std::string cut = std::string(255, ' ') + "\xE4\xB8\xAD";  // the character straddles byte 256
    std::string long_run;
    for (int i = 0; i < 40; ++i) long_run += "\xE4\xB8\xAD";
    struct Case {
        std::string bytes, preview;
    };
    const Case cases[] = {
        {"{\n  \"a\": 1,\n  \"b\": [1, 2]\n}", "{ \"a\": 1, \"b\": [1, 2] }"},
        {"   \r\n\t  \r\n", "JSON 文本"},
        {"", "JSON 文本"},
        {"\xE3\x80\x80x\xC2\xA0y\xE2\x80\xA8z", "x y z"},  // ideographic space, NBSP, line separator
        {cut, fffd},
        {long_run, long_run.substr(0, 32 * 3)},
        {"0123456789 0123456789 0123456789 0123456789", "0123456789 0123456789 0123456789"},
        {"0123456789012345678901234567890 x", "0123456789012345678901234567890 "},
        {"a\xFF" "b", "a" + fffd + "b"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bytes);
        EXPECT_EQ(make_preview(c.bytes), c.preview);
    }
}

}  // namespace
