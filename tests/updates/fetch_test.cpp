#include <gtest/gtest.h>

#include <string>

#include "fake_transport.h"
#include "updates/http/fetch.h"

namespace {

FetchSettings test_settings() { return FetchSettings{{"a.test", "b.test", "c.test"}, 8443, std::chrono::seconds(120)}; }

std::string body_text(const FetchResult& r) {
    const Bytes& b = std::get<Bytes>(r);
    return std::string(b.begin(), b.end());
}
std::string message(const FetchResult& r) { return std::holds_alternative<std::string>(r) ? std::get<std::string>(r) : "(body)"; }

// A chain of n redirects a.test/0 -> a.test/1 -> ... -> a.test/n, which answers 200.
void chain(FakeTransport& t, int n) {
    for (int i = 0; i < n; ++i) {
        std::string next = "/" + std::to_string(i + 1);
        t.responses["a.test/" + std::to_string(i)] = {301, std::u16string(next.begin(), next.end())};
    }
    t.responses["a.test/" + std::to_string(n)] = {200, u"", {"done"}};
}

TEST(FetchLoop, FiveRedirectsAreFollowedTheSixthIsRefused) {
    for (int n : {0, 1, 5, 6}) {
        FakeTransport t;
        chain(t, n);
        FetchResult r = fetch_with(t, test_settings(), "https://a.test/0", 100, t.now());
        if (n <= 5)
            EXPECT_EQ(body_text(r), "done") << n;
        else
            EXPECT_EQ(message(r), "GitHub 下载地址重定向次数过多。") << n;
        EXPECT_EQ(t.requested.size(), static_cast<std::size_t>(std::min(n, 5) + 1)) << n;
        EXPECT_EQ(t.requests_open, 0) << n;
        EXPECT_EQ(t.last_port, 8443);
    }
}

TEST(FetchLoop, EveryRedirectStatusAndWhereItLeads) {
    struct Case {
        unsigned status;
        std::u16string location;
        std::string expected;  // body or message
    };
    const Case cases[] = {
        {301, u"/next", "next body"},
        {302, u"https://b.test/file", "b body"},
        {303, u"/next", "next body"},
        {307, u"/next", "next body"},
        {308, u"/next", "next body"},
        {302, u"https://evil.test/file", "更新地址不属于受信任的 GitHub 发布服务。"},
        {302, u"https://a.test:444/next", "更新地址不属于受信任的 GitHub 发布服务。"},
        {302, u"//b.test/file", "更新地址无效。"},
        {302, u"http://b.test/file", "更新地址无效。"},
        {302, u"next", "更新地址无效。"},
        {302, u"", "更新地址无效。"},
        {302, std::u16string(1, char16_t(0xD800)) + u"/x", "无法识别下载地址。"},
        {302, u"/x" + std::u16string(1, char16_t(0xDC00)), "无法识别下载地址。"},
        {302, u"https://b.test/" + std::u16string{char16_t(0xD83D), char16_t(0xDE00)}, "更新地址不属于受信任的 GitHub 发布服务。"},
        {300, u"/next", "GitHub 更新服务返回 HTTP 300。"},
        {304, u"/next", "GitHub 更新服务返回 HTTP 304。"},
    };
    for (const auto& c : cases) {
        FakeTransport t;
        t.responses["a.test/start"] = {c.status, c.location};
        t.responses["a.test/next"] = {200, u"", {"next ", "body"}};
        t.responses["b.test/file"] = {200, u"", {"b body"}};
        FetchResult r = fetch_with(t, test_settings(), "https://a.test/start", 100, t.now());
        std::string got = std::holds_alternative<Bytes>(r) ? body_text(r) : message(r);
        EXPECT_EQ(got, c.expected) << c.status;
        EXPECT_EQ(t.requests_open, 0);
    }
}

TEST(FetchLoop, StatusesOtherThan200AreReportedWithTheirNumber) {
    for (unsigned status : {404u, 500u, 201u, 206u, 403u}) {
        FakeTransport t;
        t.responses["a.test/x"] = {status, u"", {"error page"}};
        EXPECT_EQ(message(fetch_with(t, test_settings(), "https://a.test/x", 100, t.now())),
                  "GitHub 更新服务返回 HTTP " + std::to_string(status) + "。");
    }
}

TEST(FetchLoop, TheLimitIsEnforcedBeforeAPieceIsKept) {
    struct Case {
        std::vector<std::string> pieces;
        std::uint64_t limit;
        bool fits;
    };
    const Case cases[] = {
        {{"12345"}, 5, true},
        {{"123456"}, 5, false},
        {{"12", "34", "5"}, 5, true},
        {{"12", "34", "56"}, 5, false},
        {{}, 0, true},
        {{"1"}, 0, false},
        {{std::string(16384, 'x'), std::string(16384, 'y')}, 32768, true},
        {{std::string(16384, 'x'), std::string(16384, 'y'), "z"}, 32768, false},
    };
    for (const auto& c : cases) {
        FakeTransport t;
        t.responses["a.test/x"] = {200, u"", c.pieces};
        FetchResult r = fetch_with(t, test_settings(), "https://a.test/x", c.limit, t.now());
        if (c.fits) {
            std::string all;
            for (const auto& p : c.pieces) all += p;
            EXPECT_EQ(body_text(r), all) << c.limit;
        } else {
            EXPECT_EQ(message(r), "更新文件超过预期大小。") << c.limit;
        }
    }
}

TEST(FetchLoop, TheDeadlineIsTestedBeforeEachRead) {
    FetchSettings settings = test_settings();
    settings.deadline = std::chrono::seconds(10);
    struct Case {
        std::chrono::milliseconds per_read;
        bool in_time;
    };
    // Three pieces and the final empty read: the deadline is checked before
    // each of the four reads.
    for (auto c : {Case{std::chrono::milliseconds(3000), true}, Case{std::chrono::milliseconds(3400), false}}) {
        FakeTransport t;
        t.responses["a.test/x"] = {200, u"", {"a", "b", "c"}, "", "", c.per_read};
        FetchResult r = fetch_with(t, settings, "https://a.test/x", 100, t.now());
        if (c.in_time)
            EXPECT_EQ(body_text(r), "abc");
        else
            EXPECT_EQ(message(r), "下载超时，请稍后重试。");
        EXPECT_EQ(t.requests_open, 0);
    }
}

TEST(FetchLoop, TheDeadlineBoundsEveryHopAndEveryResponseHead) {
    using ms = std::chrono::milliseconds;
    FetchSettings settings = test_settings();
    settings.deadline = std::chrono::seconds(10);
    struct Case {
        int redirects;
        ms per_send;  // connecting and receiving each response head
        std::string expected;
        std::vector<long long> time_left_ms;  // given to each request, then to each read
    };
    const Case cases[] = {
        {5, ms(1000), "done", {10000, 9000, 8000, 7000, 6000, 5000, 4000, 4000}},
        // The fourth head is cut off where the deadline ends.
        {5, ms(3000), "下载超时，请稍后重试。", {10000, 7000, 4000, 1000}},
        // The second hop ends on the deadline: no third request is sent.
        {5, ms(5000), "下载超时，请稍后重试。", {10000, 5000}},
        // Headers trickling for a minute.
        {0, ms(60000), "下载超时，请稍后重试。", {10000}},
    };
    for (const auto& c : cases) {
        FakeTransport t;
        chain(t, c.redirects);
        for (auto& [name, response] : t.responses) response.per_send = c.per_send;
        const auto start = t.clock;
        FetchResult r = fetch_with(t, settings, "https://a.test/0", 100, t.now());
        EXPECT_EQ(std::holds_alternative<Bytes>(r) ? body_text(r) : message(r), c.expected) << c.per_send.count();
        EXPECT_EQ(t.time_left_ms, c.time_left_ms) << c.per_send.count();
        EXPECT_LE(t.clock - start, settings.deadline);
        EXPECT_EQ(t.requests_open, 0);
    }
}

TEST(FetchLoop, ARedirectWhoseLocationCannotBeReadIsAConnectionFailure) {
    // What the service reports for a 3xx without Location and for one longer than the buffer.
    for (const std::string error : {"not found (os error 12150)", "too small (os error 122)"}) {
        FakeTransport t;
        t.responses["a.test/x"] = {302, u"/next", {}, "", "", {}, {}, error};
        EXPECT_EQ(message(fetch_with(t, test_settings(), "https://a.test/x", 100, t.now())),
                  "无法连接 GitHub 更新服务。" + error);
        EXPECT_EQ(t.requested.size(), 1u);
        EXPECT_EQ(t.requests_open, 0);
    }
}

TEST(FetchLoop, SystemFailuresCarryTheirText) {
    const std::string prefix = "无法连接 GitHub 更新服务。";
    {
        FakeTransport t;
        t.session_error = "E1 (os error 1)";
        EXPECT_EQ(message(fetch_with(t, test_settings(), "https://a.test/x", 100, t.now())), prefix + "E1 (os error 1)");
    }
    {
        FakeTransport t;
        t.responses["a.test/x"] = {200, u"", {}, "E2 (os error 12029)"};
        EXPECT_EQ(message(fetch_with(t, test_settings(), "https://a.test/x", 100, t.now())),
                  prefix + "E2 (os error 12029)");
        EXPECT_EQ(t.requests_open, 0);
    }
    {
        FakeTransport t;
        t.responses["a.test/x"] = {200, u"", {"a"}, "", "E3 (os error 12002)"};
        EXPECT_EQ(message(fetch_with(t, test_settings(), "https://a.test/x", 100, t.now())),
                  prefix + "E3 (os error 12002)");
        EXPECT_EQ(t.requests_open, 0);
    }
}

TEST(FetchLoop, TheFirstAddressPassesTheHostRuleBeforeAnyRequest) {
    FakeTransport t;
    EXPECT_EQ(message(fetch_with(t, test_settings(), "https://d.test/x", 100, t.now())),
              "更新地址不属于受信任的 GitHub 发布服务。");
    EXPECT_TRUE(t.requested.empty());
}

TEST(StrictUtf8, PairsDecodeLoneSurrogatesAreRefused) {
    EXPECT_EQ(strict_utf8(u"a/新"), std::optional<std::string>("a/新"));
    EXPECT_EQ(strict_utf8(std::u16string{char16_t(0xD83D), char16_t(0xDE00)}),
              std::optional<std::string>("\xF0\x9F\x98\x80"));
    EXPECT_EQ(strict_utf8(std::u16string{char16_t(0xD83D)}), std::nullopt);
    EXPECT_EQ(strict_utf8(std::u16string{char16_t(0xDE00), u'a'}), std::nullopt);
}

}  // namespace
