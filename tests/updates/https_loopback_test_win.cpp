// The WinHTTP client against a real HTTPS server on the loopback interface:
// the host's Python serving tests/updates/data/loopback_server.py, whose
// throwaway certificate authority is trusted in this prefix's Root store for
// the length of the suite only.
#include <gtest/gtest.h>
#include <windows.h>
#include <wincrypt.h>

#include <cctype>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <optional>
#include <regex>
#include <string>
#include <thread>

#include "ui/system_error_win.h"
#include "updates/http/winhttp_transport_win.h"

namespace {

using namespace std::chrono_literals;

std::string message(const FetchResult& r) {
    return std::holds_alternative<std::string>(r) ? std::get<std::string>(r) : "(body)";
}

std::string body(const FetchResult& r) {
    if (auto* error = std::get_if<std::string>(&r)) return "(failure) " + *error;
    const Bytes& bytes = std::get<Bytes>(r);
    return {bytes.begin(), bytes.end()};
}

// Wine's own export: the Unix name of a Windows path, for the Unix program.
std::optional<std::string> unix_path(const std::wstring& windows_path) {
    using Convert = char* (*)(const wchar_t*);
    auto convert = reinterpret_cast<Convert>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
    if (!convert) return std::nullopt;
    char* name = convert(windows_path.c_str());
    if (!name) return std::nullopt;
    std::string result = name;
    HeapFree(GetProcessHeap(), 0, name);
    return result;
}

std::optional<std::string> read_file(const std::wstring& path) {
    std::ifstream in(std::filesystem::path(path), std::ios::binary);
    if (!in) return std::nullopt;
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class LoopbackServer {
public:
    // False when the server could not be started; why is in failure().
    bool start() {
        wchar_t temp[MAX_PATH];
        if (!GetTempPathW(MAX_PATH, temp)) return fail("GetTempPathW " + std::to_string(GetLastError()));
        directory_ = std::wstring(temp) + L"lumaro-https-" + std::to_wstring(GetCurrentProcessId());
        if (!CreateDirectoryW(directory_.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS)
            return fail("CreateDirectoryW " + std::to_string(GetLastError()));
        auto unix_directory = unix_path(directory_);
        if (!unix_directory) return fail("no Unix name for the temporary folder");

        // Wine starts a Unix program it is handed directly, without a process handle.
        std::wstring command = L"\"Z:\\usr\\bin\\python3\" \"" + widen(LUMARO_TEST_DATA) +
                               L"/loopback_server.py\" \"" + widen(*unix_directory) + L"\"";
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process{};
        if (!CreateProcessW(L"Z:\\usr\\bin\\python3", command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                            &startup, &process))
            return fail("CreateProcessW " + std::to_string(GetLastError()));
        if (process.hThread) CloseHandle(process.hThread);
        if (process.hProcess) CloseHandle(process.hProcess);
        started_ = true;

        const auto give_up = std::chrono::steady_clock::now() + 30s;
        while (std::chrono::steady_clock::now() < give_up) {
            if (auto text = read_file(directory_ + L"\\port")) {
                port_ = static_cast<std::uint16_t>(std::stoi(*text));
                untrusted_port_ = static_cast<std::uint16_t>(std::stoi(read_file(directory_ + L"\\untrusted-port").value_or("0")));
                auto ca = read_file(directory_ + L"\\ca.pem");
                if (!ca) return fail("no ca.pem");
                ca_pem_ = *ca;
                return true;
            }
            std::this_thread::sleep_for(50ms);
        }
        return fail("the server did not start: " + read_file(directory_ + L"\\server.log").value_or("(no log)"));
    }

    void stop() {
        if (!started_) return;
        started_ = false;
        HANDLE stop_file = CreateFileW((directory_ + L"\\stop").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                       FILE_ATTRIBUTE_NORMAL, nullptr);
        if (stop_file != INVALID_HANDLE_VALUE) CloseHandle(stop_file);
        // The server notices within a tenth of a second; its files go after it.
        std::this_thread::sleep_for(500ms);
        for (const wchar_t* name : {L"port", L"stop", L"ca.pem", L"ca.key", L"ca.srl", L"server.pem",
                                    L"server.key", L"server.csr", L"server.ext", L"server.log"}) {
            DeleteFileW((directory_ + L"\\" + name).c_str());
            DeleteFileW((directory_ + L"\\untrusted-" + name).c_str());
        }
        RemoveDirectoryW(directory_.c_str());
    }

    std::uint16_t port() const { return port_; }
    std::uint16_t untrusted_port() const { return untrusted_port_; }
    const std::string& ca_pem() const { return ca_pem_; }
    const std::string& failure() const { return failure_; }

private:
    static std::wstring widen(const std::string& text) { return std::wstring(text.begin(), text.end()); }
    bool fail(std::string why) {
        failure_ = std::move(why);
        return false;
    }

    std::wstring directory_;
    std::string ca_pem_;
    std::string failure_;
    std::uint16_t port_ = 0, untrusted_port_ = 0;
    bool started_ = false;
};

// The certificate authority in the current user's Root store until reset.
class TrustedAuthority {
public:
    // The system error code, or 0.
    DWORD add(const std::string& pem) {
        DWORD size = 0;
        if (!CryptStringToBinaryA(pem.c_str(), 0, CRYPT_STRING_BASE64HEADER, nullptr, &size, nullptr, nullptr))
            return GetLastError();
        std::string der(size, '\0');
        if (!CryptStringToBinaryA(pem.c_str(), 0, CRYPT_STRING_BASE64HEADER,
                                  reinterpret_cast<BYTE*>(der.data()), &size, nullptr, nullptr))
            return GetLastError();
        root_ = CertOpenStore(CERT_STORE_PROV_SYSTEM_W, 0, 0, CERT_SYSTEM_STORE_CURRENT_USER, L"Root");
        if (!root_) return GetLastError();
        if (!CertAddEncodedCertificateToStore(root_, X509_ASN_ENCODING, reinterpret_cast<const BYTE*>(der.data()),
                                              size, CERT_STORE_ADD_REPLACE_EXISTING, &added_))
            return GetLastError();
        // Wine keeps a registry store's changes in memory until they are committed.
        if (!CertControlStore(root_, 0, CERT_STORE_CTRL_COMMIT, nullptr)) return GetLastError();
        return 0;
    }

    void reset() {
        // Deleting the context added to the store removes it from the store (and frees it).
        if (added_) CertDeleteCertificateFromStore(added_);
        added_ = nullptr;
        if (root_) CertControlStore(root_, 0, CERT_STORE_CTRL_COMMIT, nullptr);
        if (root_) CertCloseStore(root_, 0);
        root_ = nullptr;
    }

private:
    HCERTSTORE root_ = nullptr;
    PCCERT_CONTEXT added_ = nullptr;
};

class HttpsLoopback : public testing::Test {
protected:
    static void SetUpTestSuite() {
        server_ = new LoopbackServer;
        authority_ = new TrustedAuthority;
        if (!server_->start()) {
            setup_failure_ = new std::string(server_->failure());
            return;
        }
        if (DWORD error = authority_->add(server_->ca_pem()))
            setup_failure_ = new std::string("the authority was not trusted: error " + std::to_string(error));
    }

    static void TearDownTestSuite() {
        authority_->reset();
        server_->stop();
        delete authority_;
        delete server_;
        delete setup_failure_;
        authority_ = nullptr;
        server_ = nullptr;
        setup_failure_ = nullptr;
    }

    void SetUp() override { ASSERT_EQ(setup_failure_, nullptr) << *setup_failure_; }

    static FetchResult fetch(const std::string& path, std::uint64_t limit,
                             std::chrono::milliseconds deadline = 120s, bool trusted = true) {
        FetchSettings settings{{"localhost"}, trusted ? server_->port() : server_->untrusted_port(), deadline};
        return fetch_url_with(settings, "https://localhost" + path, limit);
    }

    static LoopbackServer* server_;
    static TrustedAuthority* authority_;
    static std::string* setup_failure_;
};

LoopbackServer* HttpsLoopback::server_ = nullptr;
TrustedAuthority* HttpsLoopback::authority_ = nullptr;
std::string* HttpsLoopback::setup_failure_ = nullptr;

TEST_F(HttpsLoopback, FiveRedirectsOnTheSameHostEndInTheBody) {
    EXPECT_EQ(body(fetch("/r/0", 100)), "arrived");
    EXPECT_EQ(body(fetch("/r/5", 100)), "arrived");
}

TEST_F(HttpsLoopback, ASixthRedirectIsRefused) {
    EXPECT_EQ(message(fetch("/r/6", 100)), "GitHub 下载地址重定向次数过多。");
}

TEST_F(HttpsLoopback, ARedirectToAnUntrustedHostIsRefused) {
    EXPECT_EQ(message(fetch("/away", 100)), "更新地址不属于受信任的 GitHub 发布服务。");
}

TEST_F(HttpsLoopback, AMissingFileGivesTheStatus) {
    EXPECT_EQ(message(fetch("/missing", 100)), "GitHub 更新服务返回 HTTP 404。");
}

TEST_F(HttpsLoopback, ABodyOneByteOverTheLimitIsRefused) {
    struct Case {
        std::uint64_t limit;
        std::uint64_t served;
        std::string expected;
    };
    const Case cases[] = {
        {100, 100, std::string(100, 'x')},
        {100, 101, "(failure) 更新文件超过预期大小。"},
        // Past the client's first read of 16,384 bytes.
        {40'000, 40'000, std::string(40'000, 'x')},
        {40'000, 40'001, "(failure) 更新文件超过预期大小。"},
    };
    for (const auto& c : cases) {
        const std::string got = body(fetch("/big?n=" + std::to_string(c.served), c.limit));
        EXPECT_EQ(got.size(), c.expected.size()) << c.limit << " " << c.served << ": " << got.substr(0, 120);
        EXPECT_TRUE(got == c.expected) << c.limit << " " << c.served << ": " << got.substr(0, 120);
    }
}

TEST_F(HttpsLoopback, ATrickleOutlastingTheDeadlineTimesOut) {
    const auto started = std::chrono::steady_clock::now();
    EXPECT_EQ(message(fetch("/slow", 100, 2s)), "下载超时，请稍后重试。");
    const auto took = std::chrono::steady_clock::now() - started;
    // The whole trickle takes about 19 seconds; the deadline stops it soon after two.
    EXPECT_GE(took, 2s);
    EXPECT_LT(took, 6s);
}

TEST_F(HttpsLoopback, HostileAnswersAreRefused) {
    const std::string no_connection = "(failure) 无法连接 GitHub 更新服务。";
    struct Case {
        std::string path;
        std::uint64_t limit;
        std::string expected;
    };
    const Case cases[] = {
        {"/no-location", 100, no_connection + system_error_text(ERROR_WINHTTP_HEADER_NOT_FOUND)},
        // Wine cuts header lines somewhere past a thousand bytes, so a Location
        // over the buffer is tried with the scripted transport only.
        {"/long-location?n=1000", 100, "xxxxxxx"},
        {"/chunked?n=40000", 40'000, std::string(40'000, 'c')},
        {"/chunked?n=40001", 40'000, "(failure) 更新文件超过预期大小。"},
    };
    for (const auto& c : cases) {
        const std::string got = body(fetch(c.path, c.limit));
        EXPECT_EQ(got.substr(0, 200), c.expected.substr(0, 200)) << c.path;
        EXPECT_EQ(got.size(), c.expected.size()) << c.path;
    }
    // Windows reports 12175, Wine 12157.
    const std::string untrusted = body(fetch("/r/0", 100, 120s, false));
    EXPECT_TRUE(untrusted.starts_with(no_connection) && std::regex_search(untrusted, std::regex("(os error|OS Error) 121(75|57)")))
        << untrusted;
}

TEST_F(HttpsLoopback, AContentLengthThatLiesLetsNoMoreThroughThanTheLimitOrWasSent) {
    // What the download does with the body: compare its length with the
    // release's size (the limit) before anything else.
    struct Case {
        int sent, announced;
        std::uint64_t limit;
    };
    for (const Case c : {Case{300, 50, 300}, Case{300, 200, 100}, Case{100, 300, 300}, Case{100, 300, 50}}) {
        const FetchResult r = fetch("/lie?n=" + std::to_string(c.sent) + "&claim=" + std::to_string(c.announced), c.limit);
        const std::string got = body(r);
        std::printf("sent %d, announced %d, limit %d: %s\n", c.sent, c.announced, static_cast<int>(c.limit),
                    got.starts_with("(failure)") ? got.c_str() : (std::to_string(got.size()) + " bytes").c_str());
        if (std::holds_alternative<Bytes>(r)) {
            EXPECT_LE(got.size(), std::min<std::size_t>({static_cast<std::size_t>(c.sent), c.limit}));
            EXPECT_NE(got.size(), c.limit) << "a short body passes the size check";
        }
    }
}

TEST_F(HttpsLoopback, TheDeadlineHoldsAcrossHopsAndWhileHeadersTrickle) {
    // Wine's WinHTTP bounds each receive of the head, not the whole head: there
    // a head trickled for eleven seconds is read to its end before the
    // deadline check refuses it.
    const bool wine = GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
    for (const char* path : {"/r/5?slow", "/slow-head", "/slow"}) {
        const auto started = std::chrono::steady_clock::now();
        EXPECT_EQ(body(fetch(path, 100, 2s)), "(failure) 下载超时，请稍后重试。") << path;
        const auto took = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - started);
        std::printf("%s: %lld ms against a deadline of 2000 ms\n", path, static_cast<long long>(took.count()));
        EXPECT_GE(took, 2s) << path;
        EXPECT_LT(took, wine && path == std::string("/slow-head") ? 15s : 2500ms) << path;
    }
}

TEST_F(HttpsLoopback, ACookieSetOnARedirectIsNotSentBack) {
    std::string headers = body(fetch("/cookie", 4096));
    EXPECT_NE(headers.find("User-Agent: Lumaro-Updater"), std::string::npos) << headers;
    for (char& c : headers) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    EXPECT_EQ(headers.find("cookie"), std::string::npos) << headers;
}

}  // namespace
