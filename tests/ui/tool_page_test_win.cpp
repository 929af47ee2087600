#include <gtest/gtest.h>

#include <windows.h>

#include <memory>
#include <vector>

#include "ui/app_message.h"
#include "ui/tool_page_win.h"
#include "ui/ui_resources_win.h"
#include "ui_test_support_win.h"

namespace {

using ui_test::HostWindow;

struct Calls {
    std::vector<std::pair<int, int>> layouts;
    std::vector<WPARAM> commands;
    int notifies = 0;
    std::vector<UINT> handled;
    std::vector<std::pair<bool, bool>> floating;
    bool destroyed = false;
    LRESULT size_result_inside = -1;
    bool destroy_on_command = false;
};

class RecordingPage final : public PageVariant {
public:
    RecordingPage(HWND page, Calls& calls) : page_(page), calls_(calls) {}
    ~RecordingPage() override { calls_.destroyed = true; }

    void layout(int width, int height) override { calls_.layouts.emplace_back(width, height); }
    void command(WPARAM wparam) override {
        calls_.commands.push_back(wparam);
        if (calls_.destroy_on_command) {
            DestroyWindow(page_);
            return;
        }
        // A layout caused from inside a handler: default processing, no layout.
        calls_.size_result_inside = SendMessageW(page_, WM_SIZE, SIZE_RESTORED, MAKELPARAM(scale(300), scale(200)));
        SendMessageW(page_, WM_COMMAND, 99, 0);
    }
    LRESULT notify(HWND, WPARAM, LPARAM) override {
        ++calls_.notifies;
        return 77;
    }
    bool handle(HWND, UINT message, WPARAM, LPARAM) override {
        calls_.handled.push_back(message);
        return message == message_id(AppMessage::JsonResultReady);
    }
    void floating_state_changed(bool ball_on, bool dock_on) override { calls_.floating.emplace_back(ball_on, dock_on); }

private:
    HWND page_;
    Calls& calls_;
};

class ToolPageWindow : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(register_page_class(GetModuleHandleW(nullptr))); }

    HWND make_page() {
        HWND page = create_page_window(host_.hwnd());
        if (!page) return nullptr;
        auto record = std::make_unique<ToolPage>();
        record->variant = std::make_unique<RecordingPage>(page, calls_);
        attach_tool_page(page, std::move(record));
        return page;
    }

    Calls calls_;  // outlives the pages, whose records write into it
    HostWindow host_;
};

TEST_F(ToolPageWindow, ClassIsRegisteredAsStated) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    ASSERT_TRUE(GetClassInfoExW(GetModuleHandleW(nullptr), page_class_name, &wc));
    EXPECT_EQ(wc.lpfnWndProc, page_procedure);
    EXPECT_EQ(wc.hbrBackground, nullptr);
    EXPECT_EQ(wc.hCursor, LoadCursorW(nullptr, IDC_ARROW));
    EXPECT_TRUE(register_page_class(GetModuleHandleW(nullptr)));  // a second registration is fine
}

TEST_F(ToolPageWindow, CreatedHiddenEmptyAtOriginWithNoSize) {
    HWND page = create_page_window(host_.hwnd());
    ASSERT_NE(page, nullptr);
    const LONG_PTR style = GetWindowLongPtrW(page, GWL_STYLE);
    EXPECT_TRUE(style & WS_CHILD);
    EXPECT_TRUE(style & WS_CLIPCHILDREN);
    EXPECT_FALSE(style & WS_VISIBLE);
    EXPECT_TRUE(GetWindowLongPtrW(page, GWL_EXSTYLE) & WS_EX_CONTROLPARENT);
    EXPECT_EQ(GetWindowTextLengthW(page), 0);
    EXPECT_EQ(GetParent(page), host_.hwnd());
    RECT r;
    GetWindowRect(page, &r);
    MapWindowPoints(nullptr, host_.hwnd(), reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ(r.left, 0);
    EXPECT_EQ(r.top, 0);
    EXPECT_EQ(r.right, 0);
    EXPECT_EQ(r.bottom, 0);
    EXPECT_EQ(tool_page_of(page), nullptr);
}

TEST_F(ToolPageWindow, WithoutRecordEveryRoutedMessageGetsDefaultProcessing) {
    HWND page = create_page_window(host_.hwnd());
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(SendMessageW(page, WM_COMMAND, 1, 0), 0);
    EXPECT_EQ(SendMessageW(page, message_id(AppMessage::FloatingStateChanged), 3, 0), 0);
    SetWindowPos(page, nullptr, 0, 0, 100, 100, SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_TRUE(calls_.layouts.empty());
}

TEST_F(ToolPageWindow, SizeCallsTheLayoutWithLogicalWidthAndHeight) {
    // The size change first passes the handler of other messages, whose
    // default processing then sends WM_SIZE.
    HWND page = make_page();
    ASSERT_NE(page, nullptr);
    SetWindowPos(page, nullptr, 0, 0, scale(908), scale(660), SWP_NOZORDER | SWP_NOACTIVATE);
    ASSERT_FALSE(calls_.layouts.empty());
    EXPECT_EQ(calls_.layouts.back(), std::make_pair(908, 660));
    EXPECT_EQ(SendMessageW(page, WM_SIZE, SIZE_RESTORED, MAKELPARAM(scale(500), scale(300))), 0);
    EXPECT_EQ(calls_.layouts.back(), std::make_pair(500, 300));
    EXPECT_EQ(tool_page_of(page)->borrow, 0);
}

TEST_F(ToolPageWindow, MessagesThatReenterWhileTheRecordIsBorrowedGetDefaultProcessing) {
    HWND page = make_page();
    ASSERT_NE(page, nullptr);
    calls_.layouts.clear();
    EXPECT_EQ(SendMessageW(page, WM_COMMAND, MAKEWPARAM(201, BN_CLICKED), 0), 0);
    ASSERT_EQ(calls_.commands.size(), 1u);  // the nested WM_COMMAND 99 was not routed
    EXPECT_EQ(calls_.commands[0], MAKEWPARAM(201, BN_CLICKED));
    EXPECT_TRUE(calls_.layouts.empty());  // the nested WM_SIZE laid nothing out
    EXPECT_EQ(calls_.size_result_inside, 0);
    EXPECT_EQ(tool_page_of(page)->borrow, 0);
    // Free again afterwards.
    SendMessageW(page, WM_SIZE, SIZE_RESTORED, MAKELPARAM(scale(400), scale(100)));
    ASSERT_EQ(calls_.layouts.size(), 1u);
    EXPECT_EQ(calls_.layouts[0], std::make_pair(400, 100));
}

TEST_F(ToolPageWindow, NotifyGivesTheVariantsResult) {
    HWND page = make_page();
    NMHDR header{};
    EXPECT_EQ(SendMessageW(page, WM_NOTIFY, 109, reinterpret_cast<LPARAM>(&header)), 77);
    EXPECT_EQ(calls_.notifies, 1);
}

TEST_F(ToolPageWindow, OtherMessagesGoToTheVariantFirst) {
    HWND page = make_page();
    const UINT result_ready = message_id(AppMessage::JsonResultReady);
    const UINT load_more = message_id(AppMessage::JsonTreeLoadMore);
    EXPECT_EQ(SendMessageW(page, result_ready, 0, 0), 0);
    SendMessageW(page, load_more, 0, 0);  // not handled: default processing
    ASSERT_EQ(calls_.handled.size(), 2u);
    EXPECT_EQ(calls_.handled[0], result_ready);
    EXPECT_EQ(calls_.handled[1], load_more);
}

TEST_F(ToolPageWindow, FloatingStateChangedGivesBothFlags) {
    HWND page = make_page();
    const UINT message = message_id(AppMessage::FloatingStateChanged);
    EXPECT_EQ(SendMessageW(page, message, 2, 0), 0);
    EXPECT_EQ(SendMessageW(page, message, 1, 0), 0);
    EXPECT_EQ(SendMessageW(page, message, 3, 0), 0);
    const std::vector<std::pair<bool, bool>> expected = {{false, true}, {true, false}, {true, true}};
    EXPECT_EQ(calls_.floating, expected);
    EXPECT_TRUE(calls_.handled.empty());  // not passed on as an "other" message either
}

TEST_F(ToolPageWindow, DestroyingThePageFreesItsRecord) {
    HWND page = make_page();
    ASSERT_NE(page, nullptr);
    EXPECT_FALSE(calls_.destroyed);
    DestroyWindow(page);
    EXPECT_TRUE(calls_.destroyed);
}

TEST_F(ToolPageWindow, APageDestroyedInsideItsHandlerFreesItsRecordAfterwards) {
    HWND page = make_page();
    ASSERT_NE(page, nullptr);
    calls_.destroy_on_command = true;
    SendMessageW(page, WM_COMMAND, 301, 0);
    EXPECT_FALSE(IsWindow(page));
    EXPECT_TRUE(calls_.destroyed);
}

TEST_F(ToolPageWindow, EraseFillsWithTheWindowBackground) {
    HWND page = make_page();
    ASSERT_NE(page, nullptr);
    SetWindowPos(page, nullptr, 0, 0, 20, 20, SWP_NOZORDER | SWP_NOACTIVATE);
    ui_test::Canvas canvas(20, 20);
    EXPECT_EQ(SendMessageW(page, WM_ERASEBKGND, reinterpret_cast<WPARAM>(canvas.dc()), 0), 1);
    const Colorref background = ui_resources().palette.window_bg;
    EXPECT_EQ(canvas.at(0, 0), background);
    EXPECT_EQ(canvas.at(19, 19), background);
}

}  // namespace
