#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "updates/http/fetch.h"
#include "updates/http/host_rule.h"
#include "updates/update_config.h"

namespace {

const std::string invalid = "更新地址无效。";
const std::string untrusted = "更新地址不属于受信任的 GitHub 发布服务。";

TEST(HostRule, AddressesAndTheirVerdicts) {
    const std::vector<std::string> hosts = release_fetch_settings().trusted_hosts;
    struct Case {
        std::string address;
        std::string message = {};  // empty: accepted
        std::string host = {}, path = {};
    };
    const Case cases[] = {
        {"https://github.com/brivane/lumaro/releases/latest/download/latest.json", "", "github.com",
         "/brivane/lumaro/releases/latest/download/latest.json"},
        {"https://objects.githubusercontent.com/a?b=c&d=%20", "", "objects.githubusercontent.com", "/a?b=c&d=%20"},
        {"https://release-assets.githubusercontent.com/x", "", "release-assets.githubusercontent.com", "/x"},
        {"HTTPS://github.com/x", invalid},
        {"Https://github.com/x", invalid},
        {"http://github.com/x", invalid},
        {"https://github.com", invalid},
        {"", invalid},
        {"//github.com/x", invalid},
        {"https://github.com:443/x", untrusted},
        {"https://GitHub.com/x", untrusted},
        {"https://user@github.com/x", untrusted},
        {"https://github.com.evil.example/x", untrusted},
        {"https:///x", untrusted},
        {"https://github.com/", untrusted},
        {"https://github.com/x#top", untrusted},
        {"https://github.com/x\\y", untrusted},
        {"https://github.com/x y", untrusted},
        {"https://github.com/x\ty", untrusted},
        {"https://github.com/x\x7F", untrusted},
        {"https://github.com/新", untrusted},
        {"https://example.com/x", untrusted},
    };
    for (const auto& c : cases) {
        auto result = check_address(c.address, hosts);
        if (c.message.empty()) {
            ASSERT_TRUE(std::holds_alternative<AddressParts>(result)) << c.address;
            EXPECT_EQ(std::get<AddressParts>(result).host, c.host);
            EXPECT_EQ(std::get<AddressParts>(result).path, c.path);
        } else {
            ASSERT_TRUE(std::holds_alternative<std::string>(result)) << c.address;
            EXPECT_EQ(std::get<std::string>(result), c.message) << c.address;
        }
    }
}

TEST(HostRule, RedirectTargets) {
    struct Case {
        std::string location, next;
    };
    const Case cases[] = {
        {"/brivane/lumaro/releases/download/v1.6.0/Lumaro.exe",
         "https://github.com/brivane/lumaro/releases/download/v1.6.0/Lumaro.exe"},
        {"https://objects.githubusercontent.com/f", "https://objects.githubusercontent.com/f"},
        {"//objects.githubusercontent.com/f", "//objects.githubusercontent.com/f"},
        {"relative/f", "relative/f"},
        {"", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(redirect_target("github.com", c.location), c.next) << c.location;
    // What the host rule then makes of them.
    EXPECT_EQ(std::get<std::string>(check_address(redirect_target("github.com", "//github.com/f"),
                                                  release_fetch_settings().trusted_hosts)),
              invalid);
}

TEST(ReleaseSource, TheReleaseAddressesPassTheHostRule) {
    const FetchSettings settings = release_fetch_settings();
    for (const char* suffix : {"/latest/download/latest.json", "/download/v1.6.0/Lumaro.exe"})
        EXPECT_TRUE(std::holds_alternative<AddressParts>(
            check_address(std::string(release_base_url) + suffix, settings.trusted_hosts)))
            << suffix;
}

}  // namespace
