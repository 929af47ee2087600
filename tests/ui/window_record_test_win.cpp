#include <gtest/gtest.h>

#include <windows.h>

#include <memory>

#include "ui/window_record_win.h"
#include "ui_test_support_win.h"

namespace {

struct Probe : WindowRecord {
    explicit Probe(bool& freed) : freed_(freed) {}
    ~Probe() override { freed_ = true; }
    bool& freed_;
};

LRESULT CALLBACK owning_proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_NCDESTROY) detach_window_record(hwnd);
    return DefWindowProcW(hwnd, message, wparam, lparam);
}

TEST(WindowRecord, OneBorrowerAtATimeAndTheLastHolderFreesARecordWhoseWindowWentAway) {
    bool freed = false;
    HWND window = ui_test::create_test_popup(L"Lumaro.RecordTest", owning_proc, L"", 0, 0, 10, 10);
    ASSERT_NE(window, nullptr);
    attach_window_record(window, std::make_unique<Probe>(freed));
    WindowRecord* record = window_record(window);
    {
        RecordBorrow outer(record);
        EXPECT_TRUE(outer.held());
        {
            RecordBorrow inner(record);  // a sent message re-entering the window
            EXPECT_FALSE(inner.held());
        }
        EXPECT_EQ(record->borrow, -1);
        std::optional<int> after = run_nested_loop(window, [&] {
            DestroyWindow(window);  // as a message dispatched by a box's loop may
            return 1;
        });
        EXPECT_FALSE(after);
        EXPECT_EQ(window_record(window), nullptr);
        EXPECT_FALSE(freed);  // still borrowed further up the stack
    }
    EXPECT_TRUE(freed);
}

TEST(WindowRecord, ANestedLoopThatLeavesTheWindowGivesItsResult) {
    bool freed = false;
    HWND window = ui_test::create_test_popup(L"Lumaro.RecordTest", owning_proc, L"", 0, 0, 10, 10);
    ASSERT_NE(window, nullptr);
    attach_window_record(window, std::make_unique<Probe>(freed));
    EXPECT_EQ(run_nested_loop(window, [] { return 7; }), 7);
    DestroyWindow(window);
    EXPECT_TRUE(freed);
}

}  // namespace
