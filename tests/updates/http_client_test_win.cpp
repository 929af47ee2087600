// The WinHTTP client's failure paths that need no server, the system error
// text and SHA-256 through CNG.
#include <gtest/gtest.h>
#include <windows.h>

#include <regex>
#include <string>
#include <vector>

#include "ui/system_error_win.h"
#include "updates/http/winhttp_transport_win.h"
#include "updates/sha256_win.h"

namespace {

std::string message(const FetchResult& r) {
    return std::holds_alternative<std::string>(r) ? std::get<std::string>(r) : "(body)";
}

TEST(Sha256Hex, KnownDigests) {
    struct Case {
        std::string input;
        const char* digest;
    };
    const Case cases[] = {
        {"", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
        {"abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
        {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
         "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
        {std::string(1'000'000, 'a'), "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"},
    };
    for (const auto& c : cases) {
        auto result = sha256_hex({reinterpret_cast<const std::uint8_t*>(c.input.data()), c.input.size()});
        ASSERT_TRUE(std::holds_alternative<Sha256Hex>(result)) << std::get<std::string>(result);
        EXPECT_EQ(std::get<Sha256Hex>(result).hex, c.digest) << c.input.size();
    }
}

TEST(SystemErrorText, DescriptionThenTheCode) {
    const std::string denied = system_error_text(ERROR_ACCESS_DENIED);
    EXPECT_TRUE(std::regex_match(denied, std::regex(".+[^\r\n ] \\(os error 5\\)"))) << denied;
    EXPECT_EQ(denied.find('\n'), std::string::npos);
    const std::string unknown = system_error_text(0x2FFFFFFF);
    EXPECT_EQ(unknown, "OS Error 805306367 (FormatMessageW() returned error " +
                           std::to_string(ERROR_MR_MID_NOT_FOUND) + ")");
}

TEST(FetchUrl, UntrustedAddressesAreRefusedBeforeAnyConnection) {
    EXPECT_EQ(message(fetch_url("http://github.com/x", 100)), "更新地址无效。");
    EXPECT_EQ(message(fetch_url("https://example.com/x", 100)), "更新地址不属于受信任的 GitHub 发布服务。");
    EXPECT_EQ(message(fetch_url("https://github.com:443/x", 100)), "更新地址不属于受信任的 GitHub 发布服务。");
}

TEST(FetchUrl, AnUnknownHostGivesTheSystemText) {
    FetchSettings settings{{"lumaro-update-test.invalid"}, 443, std::chrono::seconds(120)};
    const std::string m = message(fetch_url_with(settings, "https://lumaro-update-test.invalid/latest.json", 100));
    // Wine's HTTP service carries no texts for its codes; Windows' does.
    EXPECT_EQ(m, "无法连接 GitHub 更新服务。" + system_error_text(ERROR_WINHTTP_NAME_NOT_RESOLVED));
    EXPECT_TRUE(std::regex_match(m, std::regex("无法连接 GitHub 更新服务。(.+ \\(os error 12007\\)|"
                                               "OS Error 12007 \\(FormatMessageW\\(\\) returned error [0-9]+\\))")))
        << m;
}

TEST(FetchUrl, ARefusedConnectionGivesTheSystemText) {
    FetchSettings settings{{"127.0.0.1"}, 443, std::chrono::seconds(120)};
    const std::string m = message(fetch_url_with(settings, "https://127.0.0.1/latest.json", 100));
    EXPECT_EQ(m, "无法连接 GitHub 更新服务。" + system_error_text(ERROR_WINHTTP_CANNOT_CONNECT)) << m;
}

}  // namespace
