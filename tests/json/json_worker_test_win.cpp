// The JSON worker: what each job computes, what it remembers, and the hand-over
// to the page window through the channel and the posted message.
#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <fstream>

#include "json/json_messages.h"
#include "json/json_worker_win.h"
#include "json_history/siphash.h"
#include "main/app_message.h"

namespace fs = std::filesystem;

namespace {

class JsonWorker : public ::testing::Test {
protected:
    fs::path root;

    void SetUp() override {
        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        root = fs::path(temp) / (L"lumaro-worker-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                                 std::to_wstring(GetTickCount64()));
        fs::create_directories(root);
        SetEnvironmentVariableW(L"LOCALAPPDATA", root.c_str());
    }
    void TearDown() override {
        std::error_code ec;
        fs::remove_all(root, ec);
    }

    static const JsonSuccess& success(const JsonResult& r) {
        if (auto* e = std::get_if<JsonError>(&r)) ADD_FAILURE() << e->message;
        return std::get<JsonSuccess>(r);
    }
    static std::size_t remembered(const JsonSuccess& s) {
        auto* listing = std::get_if<JsonHistoryListing>(&s.history_update);
        return listing ? listing->size() : 0;
    }
    static bool saved_nothing(const JsonSuccess& s) {
        return std::holds_alternative<std::monostate>(s.history_update);
    }
};

TEST_F(JsonWorker, TransformsRememberOnlyFormatAndCompact) {
    struct Case {
        JsonMode mode;
        std::string text, output;
        bool remembers;
    };
    const Case cases[] = {
        {JsonMode::format, "{\"a\":1}", "{\n  \"a\": 1\n}", true},
        {JsonMode::compact, "{ \"b\" : 2 }", "{\"b\":2}", true},
        {JsonMode::escape, "a\"b", "\"a\\\"b\"", false},
        {JsonMode::unescape, "\"x\\ty\"", "x\ty", false},
    };
    std::size_t expected_records = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        JsonResult r = compute_json_result(TransformJob{c.mode, c.text});
        const JsonSuccess& s = success(r);
        EXPECT_EQ(std::get<std::string>(s.output), c.output);
        EXPECT_FALSE(s.replace_input);
        if (c.remembers) {
            EXPECT_EQ(remembered(s), ++expected_records);
        } else {
            EXPECT_TRUE(saved_nothing(s));
        }
    }
}

TEST_F(JsonWorker, AutoFormatReplacesUnlessAlreadyPrettyOrJustReplaced) {
    const std::string raw = "{\"a\":1}";
    struct Case {
        std::string text;
        std::optional<std::uint64_t> previous_hash;
        bool replace;
    };
    const Case cases[] = {
        {raw, std::nullopt, true},
        {raw, content_hash(raw) ^ 1, true},
        {raw, content_hash(raw), false},                   // the user undid the last replacement
        {"{\r\n  \"a\": 1\r\n}", std::nullopt, false},      // already pretty, with CR LF breaks
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        AutoFormatJob job{c.text, c.previous_hash, 6, 6, false, false};
        JsonResult r = compute_json_result(job);
        const JsonSuccess& s = success(r);
        EXPECT_EQ(std::get<std::string>(s.output), "{\n  \"a\": 1\n}");
        EXPECT_EQ(s.replace_input, c.replace);
        EXPECT_GE(remembered(s), 1u);  // saved in every case
        if (c.replace) {
            EXPECT_EQ(s.input_hash, content_hash(c.text));
            EXPECT_EQ(s.selection_start, 11u);
            EXPECT_EQ(s.selection_end, 11u);
        }
    }
    AutoFormatJob rich{raw, std::nullopt, 6, 6, true, true};
    JsonResult r = compute_json_result(rich);
    EXPECT_EQ(success(r).selection_start, 10u);
    EXPECT_TRUE(std::holds_alternative<JsonTree>(success(r).output));
}

TEST_F(JsonWorker, AutoFormatLeavesOutputsThatWouldNotFitTheInputBox) {
    // 3 million [1,1,...] elements pretty-print to 15 MB whose 15 million
    // units plus 3 million line feeds exceed 16,777,216.
    std::string text = "[";
    for (int i = 0; i < 3'000'000; ++i) text += "1,";
    text.back() = ']';
    JsonResult r = compute_json_result(AutoFormatJob{text, std::nullopt, 0, 0, false, false});
    const JsonSuccess& s = success(r);
    EXPECT_GT(std::get<std::string>(s.output).size(), replacement_check_bytes);
    EXPECT_FALSE(s.replace_input);
    EXPECT_FALSE(fits_input_box(std::get<std::string>(s.output)));
    EXPECT_TRUE(fits_input_box(std::string(replacement_limit, 'x')));
    EXPECT_FALSE(fits_input_box(std::string(replacement_limit - 1, 'x') + "\n"));
}

TEST_F(JsonWorker, FailuresComeBackAsErrors) {
    JsonResult bad = compute_json_result(TransformJob{JsonMode::format, "[1,]"});
    ASSERT_TRUE(std::holds_alternative<JsonError>(bad));
    EXPECT_EQ(std::get<JsonError>(bad).message, "此处应为 JSON 值（第 1 行，第 4 列）");

    JsonHistoryEntry gone;
    gone.path = root / L"1-1.json";
    JsonResult missing = compute_json_result(RestoreJob{gone});
    ASSERT_TRUE(std::holds_alternative<JsonError>(missing));
    EXPECT_EQ(std::get<JsonError>(missing).message, "无法读取这条历史记录。");
    EXPECT_FALSE(std::get<JsonError>(missing).positioned);

    std::ofstream(root / L"2-1.json", std::ios::binary) << "{oops";
    JsonHistoryEntry invalid;
    invalid.path = root / L"2-1.json";
    JsonResult broken = compute_json_result(RestoreJob{invalid});
    ASSERT_TRUE(std::holds_alternative<JsonError>(broken));
    EXPECT_TRUE(std::get<JsonError>(broken).positioned);
}

TEST_F(JsonWorker, RestoreGivesTheRecordAndItsPrettyForm) {
    std::ofstream(root / L"3-1.json", std::ios::binary) << "[1,2]";
    JsonHistoryEntry entry;
    entry.path = root / L"3-1.json";
    JsonResult r = compute_json_result(RestoreJob{entry});
    const JsonSuccess& s = success(r);
    EXPECT_EQ(std::get<std::string>(s.output), "[\n  1,\n  2\n]");
    EXPECT_EQ(s.restored_text, "[1,2]");
    EXPECT_TRUE(saved_nothing(s));
}

TEST_F(JsonWorker, TreesRememberTheInputButNotAResult) {
    JsonResult from_input = compute_json_result(BuildTreeJob{"[true]", false});
    EXPECT_EQ(remembered(success(from_input)), 1u);
    EXPECT_EQ(std::get<JsonTree>(success(from_input).output).nodes.size(), 2u);
    JsonResult from_result = compute_json_result(BuildTreeJob{"[false]", true});
    EXPECT_TRUE(saved_nothing(success(from_result)));
}

TEST_F(JsonWorker, AFailedSaveStillSucceedsTheJob) {
    // A file where the history directory should be: the save cannot create it.
    fs::create_directories(root / L"Lumaro");
    std::ofstream(root / L"Lumaro" / L"json-history") << "not a directory";
    JsonResult r = compute_json_result(TransformJob{JsonMode::compact, "[ 1 ]"});
    const JsonSuccess& s = success(r);
    EXPECT_EQ(std::get<std::string>(s.output), "[1]");
    EXPECT_TRUE(std::holds_alternative<HistoryError>(s.history_update));
}

// A window that records the worker's notifications.
struct PageStandIn {
    HWND hwnd = nullptr;
    static inline int notifications = 0;

    static LRESULT CALLBACK proc(HWND h, UINT msg, WPARAM w, LPARAM l) {
        if (msg == message_id(AppMessage::JsonResultReady)) ++notifications;
        return DefWindowProcW(h, msg, w, l);
    }
    PageStandIn() {
        WNDCLASSW wc{};
        wc.lpfnWndProc = proc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"LumaroWorkerTestPage";
        RegisterClassW(&wc);
        hwnd = CreateWindowW(wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
        notifications = 0;
    }
    ~PageStandIn() { DestroyWindow(hwnd); }

    // Pumps messages until one notification arrived or the time is up.
    bool wait_for_notification() {
        for (DWORD start = GetTickCount(); GetTickCount() - start < 10000;) {
            MSG m;
            while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&m);
            if (notifications > 0) return true;
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
        }
        return false;
    }
};

TEST_F(JsonWorker, HandsTheResultOverThenPosts) {
    PageStandIn page;
    auto channel = std::make_shared<JsonResultChannel>();
    ASSERT_TRUE(start_json_worker(TransformJob{JsonMode::compact, "[ 2 ]"}, channel, page.hwnd));
    ASSERT_TRUE(page.wait_for_notification());
    std::optional<JsonResult> r = channel->try_take();
    ASSERT_TRUE(r.has_value());
    EXPECT_EQ(std::get<std::string>(std::get<JsonSuccess>(*r).output), "[2]");
    EXPECT_TRUE(channel->sender_gone());
    EXPECT_FALSE(channel->try_take().has_value());
}

TEST_F(JsonWorker, APageThatHasGoneGetsNothing) {
    PageStandIn page;
    auto channel = std::make_shared<JsonResultChannel>();
    channel->close_receiver();
    run_json_job(TransformJob{JsonMode::compact, "[3]"}, channel, page.hwnd);
    MSG m;
    EXPECT_FALSE(PeekMessageW(&m, page.hwnd, 0, 0, PM_NOREMOVE));
    EXPECT_FALSE(channel->try_take().has_value());
}

}  // namespace
