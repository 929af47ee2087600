// The JSON worker: what each job computes, what it remembers, and the hand-over
// to the page window through the channel and the posted message.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "json/control_text.h"
#include "json/json_messages.h"
#include "json/json_worker_win.h"
#include "json_history/siphash.h"
#include "ui/app_message.h"

namespace fs = std::filesystem;

namespace {

class JsonWorker : public ::testing::Test {
protected:
    HistoryPath root;

    void SetUp() override {
        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        root = join_path(temp, L"lumaro-worker-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
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
    // The input comes as the control holds it; the output also as the result
    // box shows it.
    struct Case {
        JsonMode mode;
        std::u16string input;
        std::string output;
        std::u16string shown;
        bool remembers;
    };
    const Case cases[] = {
        {JsonMode::format, u"{\"a\":1}", "{\n  \"a\": 1\n}", u"{\r\n  \"a\": 1\r\n}", true},
        {JsonMode::compact, u"{ \"b\" :\r\n 2 }", "{\"b\":2}", u"{\"b\":2}", true},
        {JsonMode::compact, u"[\"é😀\"]", "[\"é😀\"]", u"[\"é😀\"]", true},
        {JsonMode::escape, u"a\"b", "\"a\\\"b\"", u"\"a\\\"b\"", false},
        {JsonMode::escape, u"a\r\nb", "\"a\\r\\nb\"", u"\"a\\r\\nb\"", false},
        {JsonMode::unescape, u"\"x\\ty\"", "x\ty", u"x\ty", false},
        {JsonMode::unescape, u"\"a\\u0000\\nb\"", std::string("a\0\nb", 4), u"a\u2400\r\nb", false},
        {JsonMode::unescape, u"\"\xD800\"", "\xEF\xBF\xBD", u"\uFFFD", false},  // a lone surrogate
    };
    std::size_t expected_records = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.output);
        JsonResult r = compute_json_result(TransformJob{c.mode, c.input});
        const JsonSuccess& s = success(r);
        EXPECT_EQ(std::get<std::string>(s.output), c.output);
        EXPECT_EQ(s.shown_output, c.shown);
        EXPECT_FALSE(s.replace_input);
        EXPECT_TRUE(s.replacement.empty());
        if (c.remembers) {
            EXPECT_EQ(remembered(s), ++expected_records);
        } else {
            EXPECT_TRUE(saved_nothing(s));
        }
    }
}

TEST_F(JsonWorker, AutoFormatReplacesUnlessAlreadyPrettyOrJustReplaced) {
    // Hashes are of the UTF-8 text; the input and the caret are in the control's units.
    const std::string raw = "{\"a\":1}";
    const std::u16string pretty = u"{\r\n  \"a\": 1\r\n}";
    struct Case {
        std::u16string input;
        std::optional<std::uint64_t> previous_hash;
        bool replace;
    };
    const Case cases[] = {
        {u"{\"a\":1}", std::nullopt, true},
        {u"{\"a\":1}", content_hash(raw) ^ 1, true},
        {u"{\"a\":1}", content_hash(raw), false},  // the user undid the last replacement
        {pretty, std::nullopt, false},               // already pretty, with CR LF breaks
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(control_text_to_utf8(c.input));
        AutoFormatJob job{c.input, c.previous_hash, 6, 6, false, false};
        JsonResult r = compute_json_result(job);
        const JsonSuccess& s = success(r);
        EXPECT_EQ(std::get<std::string>(s.output), "{\n  \"a\": 1\n}");
        EXPECT_EQ(s.replace_input, c.replace);
        EXPECT_GE(remembered(s), 1u);  // saved in every case
        if (c.replace) {
            EXPECT_EQ(s.input_hash, content_hash(raw));
            EXPECT_EQ(s.selection_start, 11u);
            EXPECT_EQ(s.selection_end, 11u);
            EXPECT_EQ(s.replacement, pretty);
            EXPECT_FALSE(s.shown_output.has_value());  // the replacement is the result box's text
        } else {
            EXPECT_TRUE(s.replacement.empty());
            EXPECT_EQ(s.shown_output, pretty);
        }
    }
    // After a surrogate pair, in a plain control: [ CR LF, two spaces, " 😀 ".
    JsonResult wide = compute_json_result(AutoFormatJob{u"[\"😀\",1]", std::nullopt, 5, 5, false, false});
    EXPECT_EQ(success(wide).input_hash, content_hash("[\"😀\",1]"));
    EXPECT_EQ(success(wide).selection_start, 9u);
    EXPECT_EQ(success(wide).replacement, u"[\r\n  \"😀\",\r\n  1\r\n]");

    AutoFormatJob rich{u"{\"a\":1}", std::nullopt, 6, 6, true, true};
    JsonResult r = compute_json_result(rich);
    EXPECT_EQ(success(r).selection_start, 10u);
    EXPECT_TRUE(std::holds_alternative<JsonTree>(success(r).output));
    EXPECT_EQ(success(r).replacement, pretty);
    EXPECT_FALSE(success(r).shown_output.has_value());  // a tree is not shown as text
}

TEST_F(JsonWorker, AutoFormatLeavesOutputsThatWouldNotFitTheInputBox) {
    // 3 million [1,1,...] elements pretty-print to 15 MB whose 15 million
    // units plus 3 million line feeds exceed 16,777,216.
    std::string text = "[";
    for (int i = 0; i < 3'000'000; ++i) text += "1,";
    text.back() = ']';
    JsonResult r = compute_json_result(
        AutoFormatJob{std::u16string(text.begin(), text.end()), std::nullopt, 0, 0, false, false});
    const JsonSuccess& s = success(r);
    const std::string& out = std::get<std::string>(s.output);
    EXPECT_GT(out.size(), replacement_check_bytes);
    EXPECT_FALSE(s.replace_input);
    EXPECT_TRUE(s.replacement.empty());
    ASSERT_TRUE(s.shown_output.has_value());
    EXPECT_EQ(s.shown_output->size(), out.size() + static_cast<std::size_t>(std::count(out.begin(), out.end(), '\n')));
    EXPECT_FALSE(fits_input_box(std::get<std::string>(s.output)));
    EXPECT_TRUE(fits_input_box(std::string(replacement_limit, 'x')));
    EXPECT_FALSE(fits_input_box(std::string(replacement_limit - 1, 'x') + "\n"));
}

TEST_F(JsonWorker, FailuresComeBackAsErrors) {
    JsonResult bad = compute_json_result(TransformJob{JsonMode::format, u"[1,]"});
    ASSERT_TRUE(std::holds_alternative<JsonError>(bad));
    EXPECT_EQ(std::get<JsonError>(bad).message, "此处应为 JSON 值（第 1 行，第 4 列）");

    JsonHistoryEntry gone;
    gone.path = join_path(root, L"1-1.json");
    JsonResult missing = compute_json_result(RestoreJob{gone});
    ASSERT_TRUE(std::holds_alternative<JsonError>(missing));
    EXPECT_EQ(std::get<JsonError>(missing).message, "无法读取这条历史记录。");
    EXPECT_FALSE(std::get<JsonError>(missing).positioned);

    std::ofstream(fs::path(join_path(root, L"2-1.json")), std::ios::binary) << "{oops";
    JsonHistoryEntry invalid;
    invalid.path = join_path(root, L"2-1.json");
    JsonResult broken = compute_json_result(RestoreJob{invalid});
    ASSERT_TRUE(std::holds_alternative<JsonError>(broken));
    EXPECT_TRUE(std::get<JsonError>(broken).positioned);
}

TEST_F(JsonWorker, RestoreGivesTheRecordAndItsPrettyForm) {
    std::ofstream(fs::path(join_path(root, L"3-1.json")), std::ios::binary) << "[1,\n2]";
    JsonHistoryEntry entry;
    entry.path = join_path(root, L"3-1.json");
    JsonResult r = compute_json_result(RestoreJob{entry});
    const JsonSuccess& s = success(r);
    EXPECT_EQ(std::get<std::string>(s.output), "[\n  1,\n  2\n]");
    EXPECT_EQ(s.shown_output, u"[\r\n  1,\r\n  2\r\n]");
    EXPECT_EQ(s.restored_text, u"[1,\r\n2]");  // as the input box takes it
    EXPECT_TRUE(saved_nothing(s));
}

TEST_F(JsonWorker, TreesRememberTheInputButNotAResult) {
    JsonResult from_input = compute_json_result(BuildTreeJob{u"[true,\r\n\"😀\"]", {}, false});
    EXPECT_EQ(remembered(success(from_input)), 1u);
    EXPECT_EQ(std::get<JsonTree>(success(from_input).output).nodes.size(), 3u);
    EXPECT_EQ(std::get<JsonTree>(success(from_input).output).text, "[true,\r\n\"😀\"]");
    EXPECT_FALSE(success(from_input).shown_output.has_value());
    JsonResult from_result = compute_json_result(BuildTreeJob{{}, "[false]", true});
    EXPECT_TRUE(saved_nothing(success(from_result)));
    EXPECT_EQ(std::get<JsonTree>(success(from_result).output).text, "[false]");
}

TEST_F(JsonWorker, AFailedSaveStillSucceedsTheJob) {
    // A file where the history directory should be: the save cannot create it.
    fs::create_directories(join_path(root, L"Lumaro"));
    std::ofstream(fs::path(join_path(join_path(root, L"Lumaro"), L"json-history"))) << "not a directory";
    JsonResult r = compute_json_result(TransformJob{JsonMode::compact, u"[ 1 ]"});
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
    ASSERT_TRUE(start_json_worker(TransformJob{JsonMode::compact, u"[ 2 ]"}, channel, page.hwnd));
    ASSERT_TRUE(page.wait_for_notification());
    std::optional<JsonResult> r = channel->try_take();
    ASSERT_TRUE(r.has_value());
    EXPECT_EQ(std::get<std::string>(std::get<JsonSuccess>(*r).output), "[2]");
    EXPECT_EQ(std::get<JsonSuccess>(*r).shown_output, u"[2]");
    EXPECT_TRUE(channel->sender_gone());
    EXPECT_FALSE(channel->try_take().has_value());
}

TEST_F(JsonWorker, APageThatHasGoneGetsNothing) {
    PageStandIn page;
    auto channel = std::make_shared<JsonResultChannel>();
    channel->close_receiver();
    run_json_job(TransformJob{JsonMode::compact, u"[3]"}, channel, page.hwnd);
    MSG m;
    EXPECT_FALSE(PeekMessageW(&m, page.hwnd, 0, 0, PM_NOREMOVE));
    EXPECT_FALSE(channel->try_take().has_value());
}

}  // namespace
