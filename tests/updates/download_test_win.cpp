// The download's checks, the staging file and the hand-off to the stand-in
// installer, with the release served by a scripted fetch.
#include <gtest/gtest.h>
#include <windows.h>
#include <tlhelp32.h>

#include <chrono>
#include <string>
#include <vector>

#include "standin_win.h"
#include "tiny_program.h"
#include "ui/controls_win.h"
#include "updates/download_win.h"
#include "ui/system_error_win.h"
#include "updates/sha256_win.h"

namespace {

std::string hex_of(const Bytes& b) { return std::get<Sha256Hex>(sha256_hex(b)).hex; }

std::wstring temp_directory() {
    wchar_t base[MAX_PATH];
    GetTempPathW(MAX_PATH, base);
    std::wstring dir = std::wstring(base) + L"lumaro-download-" + std::to_wstring(GetCurrentProcessId()) + L"\\";
    CreateDirectoryW(dir.c_str(), nullptr);
    return dir;
}

std::vector<std::wstring> files_in(const std::wstring& dir) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW((dir + L"*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return names;
    do {
        std::wstring name = data.cFileName;
        if (name != L"." && name != L"..") names.push_back(name);
    } while (FindNextFileW(find, &data));
    FindClose(find);
    return names;
}

int processes_named(const wchar_t* name) {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    int count = 0;
    for (BOOL more = Process32FirstW(snapshot, &entry); more; more = Process32NextW(snapshot, &entry))
        if (_wcsicmp(entry.szExeFile, name) == 0) ++count;
    CloseHandle(snapshot);
    return count;
}

std::string message_of(const UpdateOutcome& outcome) {
    if (auto* f = std::get_if<UpdateOutcome::InstallFailed>(&outcome.value)) return f->message;
    return std::holds_alternative<UpdateOutcome::InstallStarted>(outcome.value) ? "(started)" : "(other)";
}

class DownloadTest : public ::testing::Test {
protected:
    std::wstring dir = temp_directory();
    std::wstring exe = dir + L"Lumaro.exe";
    std::wstring report = dir + L"standin-report.txt";
    Bytes running = tiny_program(0x8664, 3000);
    std::vector<std::string> requested;

    void SetUp() override {
        HANDLE f = CreateFileW(exe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        ASSERT_NE(f, INVALID_HANDLE_VALUE);
        DWORD written = 0;
        WriteFile(f, running.data(), static_cast<DWORD>(running.size()), &written, nullptr);
        CloseHandle(f);
        ASSERT_TRUE(install_standin());
        SetEnvironmentVariableW(L"LUMARO_TEST_STANDIN", L"signal");
        SetEnvironmentVariableW(L"LUMARO_TEST_STANDIN_REPORT", report.c_str());
    }
    void TearDown() override {
        for (const auto& name : files_in(dir)) DeleteFileW((dir + name).c_str());
        RemoveDirectoryW(dir.c_str());
        SetEnvironmentVariableW(L"LUMARO_TEST_STANDIN", nullptr);
        SetEnvironmentVariableW(L"LUMARO_TEST_STANDIN_REPORT", nullptr);
    }
    Fetcher serve(Bytes body) {
        return [this, body](const std::string& address, std::uint64_t limit) -> FetchResult {
            requested.push_back(address + " " + std::to_string(limit));
            return body;
        };
    }
    std::string standin_report() {
        HANDLE f = CreateFileW(report.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
        if (f == INVALID_HANDLE_VALUE) return "(no report)";
        char text[4096];
        DWORD got = 0;
        ReadFile(f, text, sizeof text, &got, nullptr);
        CloseHandle(f);
        return std::string(text, got);
    }
    // Only the running executable (and the stand-in's report) may remain.
    void expect_no_staging_file() {
        for (const auto& name : files_in(dir))
            EXPECT_TRUE(name == L"Lumaro.exe" || name == L"standin-report.txt") << from_wide(name);
    }
};

TEST_F(DownloadTest, ACorrectX64ProgramIsStagedAndHandedOver) {
    const Bytes body = tiny_program(0x8664);
    const UpdateManifest manifest{"1.6.0", body.size(), hex_of(body), ""};
    UpdateOutcome outcome = download_and_hand_off(manifest, exe, serve(body));
    ASSERT_EQ(message_of(outcome), "(started)") << standin_report();
    EXPECT_EQ(standin_report(), "");
    ASSERT_EQ(requested.size(), 1u);
    EXPECT_EQ(requested[0], "https://github.com/brivane/lumaro/releases/download/v1.6.0/Lumaro.exe 4096");

    // The staging file now belongs to the installer: it holds the new program.
    std::wstring staged;
    for (const auto& name : files_in(dir))
        if (name.starts_with(L".lumaro-")) staged = name;
    ASSERT_EQ(staged.size(), 8 + 36 + 9) << from_wide(staged);
    EXPECT_TRUE(staged.ends_with(L".download"));
    EXPECT_EQ(staged[8 + 14], L'4');  // version 4
    HANDLE f = CreateFileW((dir + staged).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(f, INVALID_HANDLE_VALUE);
    Bytes content(body.size() + 10);
    DWORD got = 0;
    ReadFile(f, content.data(), static_cast<DWORD>(content.size()), &got, nullptr);
    CloseHandle(f);
    content.resize(got);
    EXPECT_EQ(content, body);
}

TEST_F(DownloadTest, TheInstallerInheritsNoHandleButTheNullDevice) {
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    const std::wstring name = L"Local\\Lumaro.Probe." + std::to_wstring(GetCurrentProcessId());
    HANDLE probe = CreateEventW(&inherit, TRUE, FALSE, name.c_str());
    ASSERT_NE(probe, nullptr);
    SetEnvironmentVariableW(L"LUMARO_TEST_STANDIN_PROBE",
                            (name + L"=" + std::to_wstring(reinterpret_cast<std::uintptr_t>(probe))).c_str());
    const Bytes body = tiny_program(0x8664);
    EXPECT_EQ(message_of(download_and_hand_off({"1.6.0", body.size(), hex_of(body), ""}, exe, serve(body))),
              "(started)");
    EXPECT_EQ(standin_report(), "");
    SetEnvironmentVariableW(L"LUMARO_TEST_STANDIN_PROBE", nullptr);
    CloseHandle(probe);
}

TEST_F(DownloadTest, ChecksFailWithTheirMessagesAndLeaveNoFile) {
    const Bytes x64 = tiny_program(0x8664), x86 = tiny_program(0x014C);
    struct Case {
        const char* name;
        Bytes body;
        UpdateManifest manifest;
        std::string message;
    };
    const Case cases[] = {
        {"one byte short", Bytes(x64.begin(), x64.end() - 1), {"1.6.0", x64.size(), hex_of(x64), ""},
         "更新包校验失败，当前版本已保留。"},
        {"wrong hash", x64, {"1.6.0", x64.size(), std::string(64, 'a'), ""}, "更新包校验失败，当前版本已保留。"},
        {"32-bit program", x86, {"1.6.0", x86.size(), hex_of(x86), ""}, "更新包不是 Windows x64 程序。"},
        {"no header at all", Bytes(100, 'x'), {"1.6.0", 100, hex_of(Bytes(100, 'x')), ""},
         "更新包不是 Windows x64 程序。"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(message_of(download_and_hand_off(c.manifest, exe, serve(c.body))), c.message) << c.name;
        expect_no_staging_file();
    }
}

TEST_F(DownloadTest, AFetchFailureIsTheMessage) {
    Fetcher refuse = [](const std::string&, std::uint64_t) -> FetchResult { return std::string("更新文件超过预期大小。"); };
    EXPECT_EQ(message_of(download_and_hand_off({"1.6.0", 10, std::string(64, 'a'), ""}, exe, refuse)),
              "更新文件超过预期大小。");
    expect_no_staging_file();
}

TEST_F(DownloadTest, AMissingRunningExecutableGivesTheSystemText) {
    const Bytes body = tiny_program(0x8664);
    EXPECT_EQ(message_of(download_and_hand_off({"1.6.0", body.size(), hex_of(body), ""}, dir + L"gone.exe", serve(body))),
              system_error_text(ERROR_FILE_NOT_FOUND));
    expect_no_staging_file();
}

TEST_F(DownloadTest, AProgramDirectoryWithoutWritePermission) {
    // Nobody, not even the super-user, creates files in /sys: the running
    // program's folder is made one of its (readable) folders.
    const Bytes body = tiny_program(0x8664);
    const std::wstring sealed_exe = L"Z:\\sys\\kernel\\address_bits";
    ASSERT_NE(GetFileAttributesW(sealed_exe.c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(message_of(download_and_hand_off({"1.6.0", body.size(), hex_of(body), ""}, sealed_exe, serve(body))),
              "无法写入程序目录。请将Lumaro移到个人目录再升级。" + system_error_text(ERROR_ACCESS_DENIED));
    for (const auto& name : files_in(L"Z:\\sys\\kernel\\")) EXPECT_FALSE(name.starts_with(L".lumaro-"));
}

TEST_F(DownloadTest, AMissingPowerShellKeepsTheCurrentVersion) {
    remove_standin();
    const Bytes body = tiny_program(0x8664);
    EXPECT_EQ(message_of(download_and_hand_off({"1.6.0", body.size(), hex_of(body), ""}, exe, serve(body))),
              "Windows 未能启动安装程序。当前版本已保留。");
    expect_no_staging_file();
}

TEST_F(DownloadTest, AnInstallerThatNeverAnswersIsEndedAfter15Seconds) {
    SetEnvironmentVariableW(L"LUMARO_TEST_STANDIN", L"hang");
    const Bytes body = tiny_program(0x8664);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(message_of(download_and_hand_off({"1.6.0", body.size(), hex_of(body), ""}, exe, serve(body))),
              "Windows 未能启动安装程序。当前版本已保留。");
    const auto waited = std::chrono::steady_clock::now() - start;
    EXPECT_GE(waited, std::chrono::milliseconds(14'900));
    EXPECT_LT(waited, std::chrono::seconds(25));
    EXPECT_EQ(standin_report(), "");  // it had everything, it just never answered
    EXPECT_EQ(processes_named(L"powershell.exe"), 0);
    expect_no_staging_file();
}

}  // namespace
