#include <gtest/gtest.h>

#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "scripted_random.h"
#include "uuid/uuid.h"

#include "../common/text_lines.h"

namespace {

std::string one_uuid(RandomSource& source, int separator, int letter_case) {
    auto outcome = generate_uuid_batch("1", separator, letter_case, source);
    return std::get<Batch>(outcome).text;
}

// Random bytes 00..0f are written in reverse, then the version nibble and the
// variant bits replace the high bits of bytes 6 and 8.
TEST(Uuid, ByteOrderVersionAndVariant) {
    struct Case {
        int fixed;  // -1: the bytes 00, 01, ..., 0f
        int separator, letter_case;
        std::string text;
    };
    const Case cases[] = {
        {-1, 0, 0, "0f0e0d0c-0b0a-4908-8706-050403020100"},
        {-1, 1, 1, "0F0E0D0C_0B0A_4908_8706_050403020100"},
        {-1, 2, 0, "0f0e0d0c0b0a49088706050403020100"},
        {-1, 2, 1, "0F0E0D0C0B0A49088706050403020100"},
        {-1, -1, -1, "0f0e0d0c-0b0a-4908-8706-050403020100"},  // no selection: first items
        {-1, 7, 5, "0f0e0d0c-0b0a-4908-8706-050403020100"},
        {0x00, 0, 0, "00000000-0000-4000-8000-000000000000"},
        {0xFF, 0, 0, "ffffffff-ffff-4fff-bfff-ffffffffffff"},
        {0xFF, 1, 1, "FFFFFFFF_FFFF_4FFF_BFFF_FFFFFFFFFFFF"},
        {0xA5, 2, 1, "A5A5A5A5A5A545A5A5A5A5A5A5A5A5A5"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        ScriptedRandom source = c.fixed < 0 ? ScriptedRandom() : ScriptedRandom(static_cast<std::uint8_t>(c.fixed));
        EXPECT_EQ(one_uuid(source, c.separator, c.letter_case), c.text);
        EXPECT_EQ(source.requests, std::vector<std::size_t>{16});
    }
}

TEST(Uuid, OneRequestPerUuidAndLinesJoinedByLf) {
    ScriptedRandom source;
    auto outcome = generate_uuid_batch(" 3 ", 0, 0, source);
    const Batch& batch = std::get<Batch>(outcome);
    EXPECT_EQ(batch.count, 3u);
    EXPECT_EQ(batch.text,
              "0f0e0d0c-0b0a-4908-8706-050403020100\n"
              "1f1e1d1c-1b1a-4918-9716-151413121110\n"
              "2f2e2d2c-2b2a-4928-a726-252423222120");
    EXPECT_EQ(source.requests, (std::vector<std::size_t>{16, 16, 16}));
}

TEST(Uuid, InvalidCountGeneratesNothing) {
    for (std::string_view text : {"0", "-1", "10001", "1.5", "", "+"}) {
        SCOPED_TRACE(text);
        ScriptedRandom source;
        auto outcome = generate_uuid_batch(text, 0, 0, source);
        ASSERT_TRUE(std::holds_alternative<std::string>(outcome));
        EXPECT_EQ(std::get<std::string>(outcome), "数量必须是 1 到 10000 之间的整数。");
        EXPECT_TRUE(source.requests.empty());
    }
}

bool is_hex(char c, bool upper) {
    return (c >= '0' && c <= '9') || (upper ? (c >= 'A' && c <= 'F') : (c >= 'a' && c <= 'f'));
}

// The system generator, 10000 at a time in every style: line count, length,
// separators, digits of the right case, version 4, variant 8/9/a/b, and no
// two alike.
TEST(Uuid, SystemGeneratedBatchesAreWellFormed) {
    for (int separator = 0; separator < 3; ++separator) {
        for (int letter_case = 0; letter_case < 2; ++letter_case) {
            SCOPED_TRACE(separator * 10 + letter_case);
            auto outcome = generate_uuid_batch("10000", separator, letter_case);
            const Batch& batch = std::get<Batch>(outcome);
            ASSERT_EQ(batch.count, 10000u);
            std::size_t width = separator == 2 ? 32 : 36;
            EXPECT_EQ(batch.text.size(), 10000 * (width + 1) - 1);
            EXPECT_GE(batch.text.capacity(), 10000u * 37);
            auto lines = split_lines(batch.text);
            ASSERT_EQ(lines.size(), 10000u);
            std::set<std::string_view> distinct(lines.begin(), lines.end());
            EXPECT_EQ(distinct.size(), 10000u);
            bool upper = letter_case == 1;
            char sign = separator == 1 ? '_' : '-';
            std::size_t version_at = separator == 2 ? 12 : 14;
            std::size_t variant_at = separator == 2 ? 16 : 19;
            std::string_view variants = upper ? "89AB" : "89ab";
            for (std::string_view line : lines) {
                ASSERT_EQ(line.size(), width) << line;
                for (std::size_t i = 0; i < width; ++i) {
                    bool separator_place = separator != 2 && (i == 8 || i == 13 || i == 18 || i == 23);
                    ASSERT_TRUE(separator_place ? line[i] == sign : is_hex(line[i], upper)) << line;
                }
                ASSERT_EQ(line[version_at], '4') << line;
                ASSERT_NE(variants.find(line[variant_at]), std::string_view::npos) << line;
            }
        }
    }
}

// Every random bit that is not a version or variant bit is set in some UUID
// and clear in another (a wrong shift or mask would pin one down).
TEST(Uuid, FreeBitsVary) {
    UuidBytes seen_one{}, seen_zero{};
    UuidBytes random;
    for (int i = 0; i < 2000; ++i) {
        system_random().fill(random);
        UuidBytes uuid = uuid_from_random(random);
        for (std::size_t k = 0; k < 16; ++k) {
            seen_one[k] = static_cast<std::uint8_t>(seen_one[k] | uuid[k]);
            seen_zero[k] = static_cast<std::uint8_t>(seen_zero[k] | ~uuid[k]);
        }
    }
    for (std::size_t k = 0; k < 16; ++k) {
        SCOPED_TRACE(k);
        EXPECT_EQ(seen_one[k], k == 6 ? 0x4F : k == 8 ? 0xBF : 0xFF);
        EXPECT_EQ(seen_zero[k], k == 6 ? 0xBF : k == 8 ? 0x7F : 0xFF);
    }
}

}  // namespace
