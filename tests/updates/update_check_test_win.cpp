// The update check as the main window runs it: manual and automatic checks,
// the offer and its answers, with releases served by a scripted fetch and
// the offer answered by a second thread.
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <future>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "../common/main_window_host_win.h"
#include "ui/app_message.h"
#include "main/main_window_win.h"
#include "main/update_state.h"
#include "ui/controls_win.h"
#include "ui/tool_page_win.h"
#include "ui/ui_resources_win.h"
#include "updates/download_win.h"
#include "updates/update_check_win.h"
#include "updates/update_hooks_win.h"

namespace {

using namespace std::chrono_literals;
using main_window_test::open_main_window;
using main_window_test::store_preference;

const std::string hash = "0123456789abcdef0123456789abcdef0123456789abcdef0123456789abcdef";
const std::string exe_160 = "https://github.com/brivane/lumaro/releases/download/v1.6.0/Lumaro.exe";

std::string manifest(const std::string& version, const std::string& notes = "") {
    return R"({"version":")" + version + R"(","size":4096,"sha256":")" + hash + R"(","notes":")" + notes + "\"}";
}

// The calling thread's name. The call is looked up at run time, as the
// program does for its counterpart: MinGW's headers do not declare it.
std::string thread_name() {
    using GetThreadDescriptionFunction = HRESULT(WINAPI*)(HANDLE, PWSTR*);
    auto get = reinterpret_cast<GetThreadDescriptionFunction>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "GetThreadDescription")));
    PWSTR name = nullptr;
    if (!get || FAILED(get(GetCurrentThread(), &name)) || !name) return "?";
    std::string text = from_wide(name);
    LocalFree(name);
    return text;
}

// What the update threads fetch, and what they asked for.
struct Release {
    std::mutex lock;
    std::map<std::string, FetchResult> answers;
    std::vector<std::string> requests;  // "address limit thread-name"
    HANDLE gate = CreateEventW(nullptr, TRUE, TRUE, nullptr);  // a set gate lets fetches through
    HANDLE download_gate = CreateEventW(nullptr, TRUE, TRUE, nullptr);  // the same for the executable

    FetchResult fetch(const std::string& address, std::uint64_t limit) {
        WaitForSingleObject(address == exe_160 ? download_gate : gate, 10'000);
        const std::string thread = thread_name();
        std::lock_guard<std::mutex> guard(lock);
        requests.push_back(address + " " + std::to_string(limit) + " " + thread);
        auto it = answers.find(address);
        if (it == answers.end()) return std::string("GitHub 更新服务返回 HTTP 404。");
        return it->second;
    }
    void serve(const std::string& address, FetchResult answer) {
        std::lock_guard<std::mutex> guard(lock);
        answers[address] = std::move(answer);
    }
    std::size_t request_count() {
        std::lock_guard<std::mutex> guard(lock);
        return requests.size();
    }
};

FetchResult body(const std::string& text) { return Bytes(text.begin(), text.end()); }

struct BoxSeen {
    bool seen = false;
    std::string text;
    bool no_is_default = false;
};

// Seconds to keep the offer and its result on screen, for a look at them:
// LUMARO_UPDATE_SCREENSHOT=10 with DISPLAY set to your X server.
std::chrono::milliseconds on_screen() {
    wchar_t seconds[16] = L"0";
    GetEnvironmentVariableW(L"LUMARO_UPDATE_SCREENSHOT", seconds, 16);
    return std::chrono::milliseconds(1000 * _wtoi(seconds));
}

// Waits for the offer, reads it and presses button (IDYES or IDNO).
std::future<BoxSeen> answer_offer(int button, std::chrono::milliseconds patience = 10s) {
    return std::async(std::launch::async, [button, patience] {
        BoxSeen seen;
        const auto until = std::chrono::steady_clock::now() + patience;
        HWND box = nullptr;
        while (!box && std::chrono::steady_clock::now() < until) {
            box = FindWindowW(L"#32770", L"Lumaro更新");
            if (!box) std::this_thread::sleep_for(20ms);
        }
        if (!box) return seen;
        std::this_thread::sleep_for(100ms + on_screen());
        seen.seen = true;
        for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
            wchar_t cls[32];
            GetClassNameW(child, cls, 32);
            if (_wcsicmp(cls, L"Static") != 0) continue;
            wchar_t text[2048];
            int n = GetWindowTextW(child, text, 2048);
            std::string t = from_wide(std::wstring_view(text, static_cast<std::size_t>(n)));
            if (t.size() > seen.text.size()) seen.text = t;
        }
        seen.no_is_default = (GetWindowLongW(GetDlgItem(box, IDNO), GWL_STYLE) & 0x0F) == BS_DEFPUSHBUTTON;
        PostMessageW(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(box, button)));
        return seen;
    });
}

class UpdateCheckTest : public ::testing::Test {
protected:
    HWND hwnd = nullptr;
    MainWindow* w = nullptr;
    Release release;

    void SetUp() override {
        {
            LockedUpdateState state = lock_update_state();
            *state = UpdateState{};
        }
        update_fetcher() = [this](const std::string& a, std::uint64_t l) { return release.fetch(a, l); };
        set_check_updates(false);
    }
    void TearDown() override {
        SetEvent(release.gate);
        SetEvent(release.download_gate);
        if (hwnd && IsWindow(hwnd)) DestroyWindow(hwnd);
        // Let a thread still on its way finish before the next test.
        pump_until([] { return !lock_update_state()->running; }, 3s);
        MSG m;
        while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
        }
        update_fetcher() = fetch_default();
        // The prefix is shared with the other tests: leave the default (off).
        store_preference(L"CheckUpdates", std::nullopt);
        CloseHandle(release.gate);
        CloseHandle(release.download_gate);
    }
    static Fetcher fetch_default() {
        return [](const std::string&, std::uint64_t) -> FetchResult { return std::string("no network in tests"); };
    }
    static void set_check_updates(bool on) { store_preference(L"CheckUpdates", on ? 1u : 0u); }

    void open(bool shown = true) {
        ASSERT_NO_FATAL_FAILURE(open_main_window(hwnd, w));
        if (shown) SendMessageW(hwnd, message_id(AppMessage::ShowMainWindow), 0, 0);
    }

    static bool pump_until(const std::function<bool()>& done, std::chrono::milliseconds patience = 10s) {
        const auto until = std::chrono::steady_clock::now() + patience;
        for (;;) {
            MSG m;
            while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
                TranslateMessage(&m);
                DispatchMessageW(&m);
            }
            if (done()) return true;
            if (std::chrono::steady_clock::now() > until) return false;
            std::this_thread::sleep_for(5ms);
        }
    }
    void pump_for(std::chrono::milliseconds span) {
        pump_until([] { return false; }, span);
    }
    bool settled() {
        return pump_until([] { return !lock_update_state()->running; });
    }
    void check(WPARAM asked) { PostMessageW(hwnd, message_id(AppMessage::CheckForUpdate), asked, 0); }

    std::string status() const { return read_text(w->status_label); }
    bool status_is_error() const { return GetPropW(w->status_label, L"Brivane.Selected") != nullptr; }
};

TEST_F(UpdateCheckTest, AManualCheckShowsProgressThenTheResult) {
    open();
    release.serve(manifest_address(), body(manifest("1.5.0")));
    SetEvent(release.gate);
    ResetEvent(release.gate);
    check(1);
    ASSERT_TRUE(pump_until([&] { return status() == "正在检查 GitHub 上的最新版本…"; }));
    EXPECT_FALSE(status_is_error());
    SetEvent(release.gate);
    ASSERT_TRUE(settled());
    EXPECT_EQ(status(), "当前已是最新版本。");
    EXPECT_FALSE(status_is_error());
    ASSERT_EQ(release.requests.size(), 1u);
    EXPECT_EQ(release.requests[0],
              "https://github.com/brivane/lumaro/releases/latest/download/latest.json 16384 lumaro-updates");
}

TEST_F(UpdateCheckTest, ManualFailuresAreShownAsErrors) {
    open();
    struct Case {
        FetchResult answer;
        std::string status;
    };
    const Case cases[] = {
        {std::string("无法连接 GitHub 更新服务。OS Error 12007 (FormatMessageW() returned error 317)"),
         "无法连接 GitHub 更新服务。OS Error 12007 (FormatMessageW() returned error 317)"},
        {body("[1]"), "发布清单缺少版本号。"},
        {body(R"({"version":"1.6.0","size":0})"), "发布包大小无效。"},
        {body(R"({"version":"1.6.0"},)"), "无法解析发布清单。"},
    };
    for (const auto& c : cases) {
        release.serve(manifest_address(), c.answer);
        check(1);
        ASSERT_TRUE(settled());
        ASSERT_TRUE(pump_until([&] { return status() == c.status; })) << status();
        EXPECT_TRUE(status_is_error()) << c.status;
    }
}

TEST_F(UpdateCheckTest, AutomaticChecksAreQuietUnlessTheyFindARelease) {
    open();
    set_check_updates(true);
    for (const FetchResult& answer : {body(manifest("1.5.0")), FetchResult(std::string("无法连接 GitHub 更新服务。x"))}) {
        release.serve(manifest_address(), answer);
        const std::size_t before = release.request_count();
        check(0);
        ASSERT_TRUE(pump_until([&] { return release.request_count() == before + 1; }));
        ASSERT_TRUE(settled());
        pump_for(50ms);
        EXPECT_EQ(status(), "就绪");
        EXPECT_FALSE(status_is_error());
    }
}

TEST_F(UpdateCheckTest, AnAutomaticCheckDoesNothingWithTheSettingOff) {
    open();
    check(0);
    pump_for(200ms);
    EXPECT_EQ(release.request_count(), 0u);
    EXPECT_FALSE(lock_update_state()->running);
}

TEST_F(UpdateCheckTest, ASecondPressWhileACheckRunsIsAnswered) {
    open();
    release.serve(manifest_address(), body(manifest("1.5.0")));
    ResetEvent(release.gate);
    check(1);
    ASSERT_TRUE(pump_until([&] { return status() == "正在检查 GitHub 上的最新版本…"; }));
    check(1);
    ASSERT_TRUE(pump_until([&] { return status() == "更新任务正在进行中。"; }));
    EXPECT_FALSE(status_is_error());
    SetEvent(release.gate);
    ASSERT_TRUE(settled());
    EXPECT_EQ(status(), "当前已是最新版本。");
    EXPECT_EQ(release.request_count(), 1u);
}

TEST_F(UpdateCheckTest, AnAutomaticOfferWaitsForTheHiddenWindowThenNoDefersThatVersionOnly) {
    release.serve(manifest_address(), body(manifest("1.6.0", "修复\\r\\n\\t问题")));
    set_check_updates(true);
    open(false);  // created hidden, as behind the floating ball; creation posts the first automatic check
    ASSERT_TRUE(pump_until([&] { return release.request_count() == 1; }));
    pump_for(300ms);
    EXPECT_EQ(FindWindowW(L"#32770", L"Lumaro更新"), nullptr);
    {
        LockedUpdateState state = lock_update_state();
        EXPECT_TRUE(state->running);
        EXPECT_TRUE(std::holds_alternative<UpdateOutcome::Available>(state->outcome.value));
    }
    // Meanwhile the timer's checks start nothing.
    check(0);
    pump_for(100ms);
    EXPECT_EQ(release.request_count(), 1u);

    auto answer = answer_offer(IDNO);
    SendMessageW(hwnd, message_id(AppMessage::ShowMainWindow), 0, 0);
    ASSERT_TRUE(settled());
    BoxSeen seen = answer.get();
    ASSERT_TRUE(seen.seen);
    EXPECT_EQ(seen.text, "发现Lumaro 1.6.0（当前 1.5.0）。\n\n修复\n问题\n\n下载并重启以安装更新？请先复制或保存正在编辑的内容。");
    EXPECT_TRUE(seen.no_is_default);
    EXPECT_EQ(status(), "已暂缓更新，可在设置中再次检查。");
    EXPECT_FALSE(status_is_error());
    EXPECT_EQ(lock_update_state()->deferred_version, std::optional<std::string>("1.6.0"));

    // The same version again, automatically: quiet.
    check(0);
    ASSERT_TRUE(pump_until([&] { return release.request_count() == 2; }));
    ASSERT_TRUE(settled());
    pump_for(200ms);
    EXPECT_EQ(FindWindowW(L"#32770", L"Lumaro更新"), nullptr);

    // Asked for by the user: offered again at once.
    auto again = answer_offer(IDNO);
    check(1);
    ASSERT_TRUE(pump_until([&] { return release.request_count() == 3; }));
    ASSERT_TRUE(settled());
    EXPECT_TRUE(again.get().seen);

    // A newer release is announced by an automatic check.
    release.serve(manifest_address(), body(manifest("1.7.0")));
    auto newer = answer_offer(IDNO);
    check(0);
    ASSERT_TRUE(pump_until([&] { return release.request_count() == 4; }));
    ASSERT_TRUE(settled());
    BoxSeen newer_seen = newer.get();
    ASSERT_TRUE(newer_seen.seen);
    EXPECT_EQ(newer_seen.text, "发现Lumaro 1.7.0（当前 1.5.0）。\n\n下载并重启以安装更新？请先复制或保存正在编辑的内容。");
    EXPECT_EQ(lock_update_state()->deferred_version, std::optional<std::string>("1.7.0"));
}

TEST_F(UpdateCheckTest, APressWhileAnOfferIsHeldBackShowsItNow) {
    release.serve(manifest_address(), body(manifest("1.6.0")));
    set_check_updates(true);
    open(false);
    ASSERT_TRUE(pump_until([&] { return release.request_count() == 1; }));
    pump_for(200ms);
    ShowWindow(hwnd, SW_SHOWNOACTIVATE);  // shown without its own announcement
    auto answer = answer_offer(IDNO);
    check(1);
    ASSERT_TRUE(settled());
    EXPECT_TRUE(answer.get().seen);
    EXPECT_EQ(release.request_count(), 1u);
    EXPECT_EQ(status(), "已暂缓更新，可在设置中再次检查。");
}

TEST_F(UpdateCheckTest, YesStartsTheDownloadWhoseFailureIsShown) {
    open();
    release.serve(manifest_address(), body(manifest("1.6.0")));
    release.serve(exe_160, std::string("更新文件超过预期大小。"));
    ResetEvent(release.download_gate);
    auto answer = answer_offer(IDYES);
    check(1);
    ASSERT_TRUE(pump_until([&] { return status() == "正在下载并校验更新，完成后会重启Lumaro…"; }));
    EXPECT_FALSE(status_is_error());
    EXPECT_TRUE(lock_update_state()->running);  // until the download's outcome is shown
    SetEvent(release.download_gate);
    ASSERT_TRUE(settled());
    EXPECT_TRUE(answer.get().seen);
    EXPECT_EQ(status(), "更新文件超过预期大小。");
    EXPECT_TRUE(status_is_error());
    ASSERT_EQ(release.requests.size(), 2u);
    EXPECT_EQ(release.requests[1], exe_160 + " 4096 lumaro-updates");
}

TEST_F(UpdateCheckTest, AStartedInstallerEndsTheProgram) {
    open();
    {
        LockedUpdateState state = lock_update_state();
        state->running = true;
        store_outcome(*state, {UpdateOutcome::InstallStarted{}});
    }
    PostMessageW(hwnd, message_id(AppMessage::UpdateFinished), 0, 0);
    ASSERT_TRUE(pump_until([&] { return !IsWindow(hwnd); }));
    EXPECT_TRUE(lock_update_state()->running);  // nothing else starts while the program ends
    lock_update_state()->running = false;
}

TEST_F(UpdateCheckTest, AFailedInstallIsShownEvenAfterAnAutomaticCheck) {
    open();
    {
        LockedUpdateState state = lock_update_state();
        state->running = true;
        store_outcome(*state, {UpdateOutcome::InstallFailed{"Windows 未能启动安装程序。当前版本已保留。"}});
    }
    PostMessageW(hwnd, message_id(AppMessage::UpdateFinished), 0, 0);
    ASSERT_TRUE(settled());
    EXPECT_EQ(status(), "Windows 未能启动安装程序。当前版本已保留。");
    EXPECT_TRUE(status_is_error());
}

TEST_F(UpdateCheckTest, ManualOfferWithNotesDeclined) {
    open();
    release.serve(manifest_address(),
                  body(manifest("1.6.0", "· 修复 JSON 美化在超长输入时的卡顿\\n· 时间戳页面支持毫秒\\n· 其他改进")));
    auto answer = answer_offer(IDNO, 10s + on_screen());
    check(1);
    ASSERT_TRUE(settled());
    BoxSeen seen = answer.get();
    ASSERT_TRUE(seen.seen);
    EXPECT_EQ(seen.text,
              "发现Lumaro 1.6.0（当前 1.5.0）。\n\n· 修复 JSON 美化在超长输入时的卡顿\n· 时间戳页面支持毫秒\n· 其他改进\n\n"
              "下载并重启以安装更新？请先复制或保存正在编辑的内容。");
    EXPECT_EQ(status(), "已暂缓更新，可在设置中再次检查。");
    pump_for(on_screen());
}

}  // namespace
