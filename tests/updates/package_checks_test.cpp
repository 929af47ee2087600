#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "tiny_program.h"
#include "updates/package_checks.h"

namespace {

TEST(PackageChecks, TheX64HeaderTest) {
    struct Case {
        const char* name;
        std::vector<std::uint8_t> bytes;
        bool x64;
    };
    std::vector<std::uint8_t> short_file = tiny_program(0x8664);
    short_file.resize(63);
    std::vector<std::uint8_t> cut = tiny_program(0x8664, 0, 200);
    cut.resize(205);
    std::vector<std::uint8_t> zm = tiny_program(0x8664);
    zm[0] = 'Z';
    zm[1] = 'M';
    std::vector<std::uint8_t> pe_without_zeros = tiny_program(0x8664);
    pe_without_zeros[0x80 + 2] = 1;
    const Case cases[] = {
        {"x64", tiny_program(0x8664), true},
        {"x64 header far in", tiny_program(0x8664, 0, 4096), true},
        {"32-bit", tiny_program(0x014C), false},
        {"ARM64", tiny_program(0xAA64), false},
        {"63 bytes", short_file, false},
        {"header cut short", cut, false},
        {"exactly e + 6 bytes", tiny_program(0x8664, 106, 100), true},
        {"ZM", zm, false},
        {"PE with a non-zero byte", pe_without_zeros, false},
        {"empty", {}, false},
    };
    for (const auto& c : cases) EXPECT_EQ(is_x64_windows_program(c.bytes), c.x64) << c.name;

    std::vector<std::uint8_t> huge_offset(64, 0);
    huge_offset[0] = 'M';
    huge_offset[1] = 'Z';
    huge_offset[60] = huge_offset[61] = huge_offset[62] = huge_offset[63] = 0xFF;
    EXPECT_FALSE(is_x64_windows_program(huge_offset));
}

TEST(PackageChecks, SizeThenHashThenHeader) {
    const std::vector<std::uint8_t> x64 = tiny_program(0x8664), x86 = tiny_program(0x014C);
    const std::string h(64, 'a'), other(64, 'b');
    const std::string mismatch = "更新包校验失败，当前版本已保留。", not_x64 = "更新包不是 Windows x64 程序。";
    EXPECT_EQ(check_package(x64, x64.size(), h, h), std::nullopt);
    EXPECT_EQ(check_package(x64, x64.size() + 1, h, h), mismatch);
    EXPECT_EQ(check_package(x64, x64.size() - 1, h, h), mismatch);
    EXPECT_EQ(check_package(x64, x64.size(), h, other), mismatch);
    EXPECT_EQ(check_package(x86, x86.size(), h, h), not_x64);
    EXPECT_EQ(check_package(x86, x86.size(), h, other), mismatch);
}

TEST(PackageChecks, StagingFileName) {
    EXPECT_EQ(staging_file_name("0f8fad5b-d9cb-469f-a165-70867728950e"),
              ".lumaro-0f8fad5b-d9cb-469f-a165-70867728950e.download");
}

}  // namespace
