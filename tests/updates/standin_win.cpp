#include "standin_win.h"

#include <windows.h>
#include <shellapi.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "ui/controls_win.h"
#include "updates/installer_command.h"
#include "updates/sha256_win.h"

namespace {

std::wstring environment(const wchar_t* name) {
    wchar_t value[4096];
    DWORD n = GetEnvironmentVariableW(name, value, 4096);
    return n > 0 && n < 4096 ? std::wstring(value, n) : std::wstring();
}

std::string file_sha256(const std::wstring& path) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return "unreadable";
    std::vector<std::uint8_t> bytes;
    std::uint8_t piece[65536];
    DWORD got = 0;
    while (ReadFile(file, piece, sizeof piece, &got, nullptr) && got > 0) bytes.insert(bytes.end(), piece, piece + got);
    CloseHandle(file);
    auto hash = sha256_hex(bytes);
    return std::holds_alternative<Sha256Hex>(hash) ? std::get<Sha256Hex>(hash).hex : "failed";
}

// Every check the stand-in makes; an empty list means all held.
std::vector<std::string> check_hand_off() {
    std::vector<std::string> problems;
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    const wchar_t* expected[] = {L"-NoLogo", L"-NoProfile", L"-NonInteractive", L"-Command"};
    if (argc != 6) problems.push_back("argument count " + std::to_string(argc));
    for (int i = 0; i < 4 && i + 1 < argc; ++i)
        if (std::wstring(argv[i + 1]) != expected[i]) problems.push_back("argument " + std::to_string(i + 1));
    if (argc == 6 && from_wide(argv[5]) != installer_script_text()) problems.push_back("script text");
    LocalFree(argv);

    const std::wstring target = environment(L"LMR_UPDATE_TARGET"), staged = environment(L"LMR_UPDATE_STAGED"),
                       pid = environment(L"LMR_UPDATE_PID"), event = environment(L"LMR_UPDATE_EVENT"),
                       sha = environment(L"LMR_UPDATE_SHA"), previous = environment(L"LMR_UPDATE_PREVIOUS");
    if (file_sha256(staged) != from_wide(sha) || sha.size() != 64) problems.push_back("staged file or LMR_UPDATE_SHA");
    if (file_sha256(target) != from_wide(previous) || previous.size() != 64)
        problems.push_back("target or LMR_UPDATE_PREVIOUS");
    if (staged.find(L"\\.lumaro-") == std::wstring::npos || !staged.ends_with(L".download"))
        problems.push_back("staging name");
    HANDLE parent = OpenProcess(SYNCHRONIZE, FALSE, static_cast<DWORD>(_wtoi(pid.c_str())));
    if (!parent || pid != std::to_wstring(_wtoi(pid.c_str()))) problems.push_back("LMR_UPDATE_PID");
    if (parent) CloseHandle(parent);
    if (!event.starts_with(L"Local\\Lumaro.Update.") || event.size() != 20 + 36) problems.push_back("event name");
    // LUMARO_TEST_STANDIN_PROBE: the name and handle value of an inheritable event the test holds.
    const std::wstring probe = environment(L"LUMARO_TEST_STANDIN_PROBE");
    if (HANDLE named = probe.empty() ? nullptr : OpenEventW(SYNCHRONIZE, FALSE, probe.substr(0, probe.find(L'=')).c_str())) {
        auto value = reinterpret_cast<HANDLE>(static_cast<std::uintptr_t>(_wtoi64(probe.substr(probe.find(L'=') + 1).c_str())));
        // Not in the import library: taken from where Windows 10 and Wine export it.
        using Compare = BOOL(WINAPI*)(HANDLE, HANDLE);
        auto same = reinterpret_cast<Compare>(reinterpret_cast<void*>(
            GetProcAddress(GetModuleHandleW(L"kernelbase.dll"), "CompareObjectHandles")));
        if (!same) problems.push_back("no CompareObjectHandles");
        else if (same(named, value)) problems.push_back("inherited the probe");
        CloseHandle(named);
    }
    DWORD written = 0;
    if (!WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), "x", 1, &written, nullptr) || written != 1)
        problems.push_back("standard output");
    return problems;
}

void report(const std::vector<std::string>& problems) {
    const std::wstring path = environment(L"LUMARO_TEST_STANDIN_REPORT");
    if (path.empty()) return;
    std::string text;
    for (const auto& p : problems) text += p + "\n";
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(file);
}

// Runs before main when this program is the stand-in, and never returns then.
[[maybe_unused]] const bool standin_ran = [] {
    wchar_t self[MAX_PATH];
    DWORD n = GetModuleFileNameW(nullptr, self, MAX_PATH);
    if (n == 0 || !std::wstring(self, n).ends_with(L"\\powershell.exe")) return false;
    const std::vector<std::string> problems = check_hand_off();
    report(problems);
    if (environment(L"LUMARO_TEST_STANDIN") == L"hang") Sleep(INFINITE);
    if (problems.empty()) {
        HANDLE ready = OpenEventW(EVENT_MODIFY_STATE, FALSE, environment(L"LMR_UPDATE_EVENT").c_str());
        if (ready) {
            SetEvent(ready);
            CloseHandle(ready);
        }
    }
    ExitProcess(problems.empty() ? 0 : 2);
}();

}  // namespace

std::wstring powershell_location() {
    wchar_t system[MAX_PATH];
    UINT n = GetSystemDirectoryW(system, MAX_PATH);
    return std::wstring(system, n) + L"\\WindowsPowerShell\\v1.0\\powershell.exe";
}

bool install_standin() {
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    const std::wstring target = powershell_location();
    const std::wstring v1 = target.substr(0, target.find_last_of(L'\\'));
    CreateDirectoryW(v1.substr(0, v1.find_last_of(L'\\')).c_str(), nullptr);
    CreateDirectoryW(v1.c_str(), nullptr);
    return CopyFileW(self, target.c_str(), FALSE) != 0;
}

void remove_standin() { DeleteFileW(powershell_location().c_str()); }
