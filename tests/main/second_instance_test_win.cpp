// Two real processes: a second start hands over to the first and ends.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "program_path_win.h"

#include "main/main_window_win.h"

namespace {

struct Process {
    PROCESS_INFORMATION info{};
    bool started = false;

    explicit Process(const std::wstring& command_line) {
        STARTUPINFOW si{};
        si.cb = sizeof si;
        std::wstring cmd = command_line;
        std::wstring exe = lumaro_exe();
        started = CreateProcessW(exe.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &info);
    }
    ~Process() {
        if (!started) return;
        if (WaitForSingleObject(info.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(info.hProcess, 1);
        CloseHandle(info.hThread);
        CloseHandle(info.hProcess);
    }
    // The exit code once the process ended within the time, else -1.
    long exit_code(DWORD ms) const {
        if (WaitForSingleObject(info.hProcess, ms) != WAIT_OBJECT_0) return -1;
        DWORD code = 1;
        GetExitCodeProcess(info.hProcess, &code);
        return static_cast<long>(code);
    }
};

template <class Condition>
bool wait_until(Condition condition, DWORD ms = 15000) {
    for (DWORD start = GetTickCount(); GetTickCount() - start < ms; Sleep(50))
        if (condition()) return true;
    return false;
}

TEST(SecondInstance, HandsOverToTheRunningCopyUnlessStartedAtLogin) {
    Process first(L"\"Lumaro.exe\"");
    ASSERT_TRUE(first.started);
    HWND window = nullptr;
    ASSERT_TRUE(wait_until([&] { return (window = FindWindowW(main_window_class, nullptr)) != nullptr; }));
    ASSERT_TRUE(wait_until([&] { return IsWindowVisible(window) != FALSE; }));

    struct Case {
        const wchar_t* command_line;
        bool shows_first;
    };
    const Case cases[] = {
        {L"\"Lumaro.exe\" --startup", false},  // a login start never touches the running copy
        {L"\"Lumaro.exe\"", true},
        {L"\"Lumaro.exe\" --Startup", true},
        {L"\"Lumaro.exe\" --startupx", true},
        {L"--startup", true},  // the argument as the program path is not the flag
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.command_line, c.command_line + wcslen(c.command_line)));
        ShowWindow(window, SW_HIDE);
        Process second(c.command_line);
        ASSERT_TRUE(second.started);
        EXPECT_EQ(second.exit_code(15000), 0);
        if (c.shows_first) {
            EXPECT_TRUE(wait_until([&] { return IsWindowVisible(window) != FALSE; }));
        } else {
            Sleep(300);
            EXPECT_FALSE(IsWindowVisible(window));
        }
        EXPECT_EQ(FindWindowW(main_window_class, nullptr), window);  // still the one window
    }

    PostMessageW(window, WM_CLOSE, 0, 0);  // no floating ball: the program ends
    EXPECT_EQ(first.exit_code(15000), 0);
}

}  // namespace
