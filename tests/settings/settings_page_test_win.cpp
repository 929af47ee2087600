// The settings page driven through its controls, with its preferences under a
// private key of the test prefix's registry.

#include <gtest/gtest.h>

#include <windows.h>

#include "settings/settings_rules.h"
#include "settings_test_support_win.h"
#include "ui/palette.h"

namespace {

using namespace settings_test;

RECT rect_in(HWND child, HWND parent) {
    RECT r;
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

// ---- building ---------------------------------------------------------------

TEST_F(SettingsPageTest, EveryControlInCreationOrderWithItsIdKindAndText) {
    build(std::nullopt);  // before the first FloatingStateChanged
    const std::vector<HWND> children = children_of(page_);
    ASSERT_EQ(children.size(), settings_slot_count);
    for (std::size_t i = 0; i < settings_slot_count; ++i) {
        const SettingsControl& c = settings_controls[i];
        HWND child = children[i];
        EXPECT_EQ(GetDlgCtrlID(child), c.id) << i;
        EXPECT_EQ(control_kind(child), c.kind) << i;
        if (c.kind != ControlKind::Dropdown && static_cast<SettingsSlot>(i) != SettingsSlot::AutoCheckToggle) {
            EXPECT_EQ(read_text(child), c.text) << i;
        }
    }
    // The toggles the main window reports keep their creation texts.
    EXPECT_EQ(read_text(control(501)), "已关闭");
    EXPECT_EQ(read_text(control(504)), "已开启");
    EXPECT_EQ(read_text(control(503)), "已关闭");
    EXPECT_EQ(read_text(control(531)), "已关闭");  // CheckUpdates absent: off
    EXPECT_EQ(read_text(slot(SettingsSlot::DockHint)), "悬浮球贴边后收成细条，鼠标移入即展开。");
    ASSERT_EQ(SendMessageW(list(), CB_GETCOUNT, 0, 0), 4);
    const char* names[] = {"青绿", "靛蓝", "暖棕", "自定义"};
    for (int i = 0; i < 4; ++i) {
        wchar_t item[16] = {};
        SendMessageW(list(), CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(item));
        EXPECT_EQ(from_wide(item), names[i]);
    }
    EXPECT_EQ(list_selection(), 0);
}

TEST_F(SettingsPageTest, BuildingLoadsTheStoredSettings) {
    put_dword(L"ColorScheme", 0x2123456);
    put_dword(L"HiddenTools", 0b01010);
    put_dword(L"CheckUpdates", 1);
    build(std::nullopt);
    EXPECT_EQ(list_selection(), 2);
    for (int tool = 0; tool < 5; ++tool) EXPECT_EQ(selected(control(520 + tool)), tool % 2 == 0) << tool;
    EXPECT_EQ(read_text(control(531)), "已开启");
    EXPECT_TRUE(selected(control(531)));
    // Building writes nothing.
    EXPECT_EQ(stored_dword(L"ColorScheme"), 0x2123456u);
    EXPECT_TRUE(posted(AppMessage::PaletteChanged).empty());
}

TEST_F(SettingsPageTest, EveryControlIsPlacedByTheLayoutTable) {
    build();
    for (int width : {page_width, 1400, 460}) {
        place_control(page_, 168, 0, width, 630);
        for (std::size_t i = 0; i < settings_slot_count; ++i) {
            const LogicalRect want = settings_rect(static_cast<SettingsSlot>(i), width);
            const RECT got = rect_in(children_of(page_)[i], page_);
            EXPECT_EQ(got.left, scale(want.x)) << i << " at " << width;
            EXPECT_EQ(got.top, scale(want.y)) << i << " at " << width;
            EXPECT_EQ(got.right - got.left, want.width < 1 ? 0 : scale(want.width)) << i << " at " << width;
            if (settings_controls[i].kind != ControlKind::Dropdown) {
                EXPECT_EQ(got.bottom - got.top, scale(want.height)) << i << " at " << width;
            }
        }
    }
    // Spot checks against the numbers themselves: A = 720 from width 748 up.
    place_control(page_, 168, 0, 1400, 630);
    EXPECT_EQ(rect_in(control(506), page_).left, scale(624));
    EXPECT_EQ(rect_in(control(524), page_).top, scale(320));
    EXPECT_EQ(rect_in(control(521), page_).left, scale(240));
}

// ---- tabs ---------------------------------------------------------------------

TEST_F(SettingsPageTest, EachTabShowsItsOwnControls) {
    put_dword(L"FloatingBall", 1);
    build(3);
    for (int tab : {1, 2, 0, 2, 1}) {
        click(510 + tab);
        for (int t = 0; t < 3; ++t) EXPECT_EQ(selected(control(510 + t)), t == tab) << tab;
        const std::vector<HWND> children = children_of(page_);
        for (std::size_t i = 0; i < settings_slot_count; ++i) {
            const int owner = settings_controls[i].tab;
            EXPECT_EQ(IsWindowVisible(children[i]) != FALSE, owner == every_tab || owner == tab)
                << "control " << i << " on tab " << tab;
        }
    }
}

TEST_F(SettingsPageTest, TheTabSurvivesHidingAndShowingThePage) {
    build();
    click(512);
    ShowWindow(page_, SW_HIDE);
    ShowWindow(page_, SW_SHOWNA);
    send_floating(3);
    EXPECT_TRUE(selected(control(512)));
    EXPECT_TRUE(IsWindowVisible(control(532)));
    EXPECT_FALSE(IsWindowVisible(control(502)));
    EXPECT_FALSE(IsWindowVisible(list()));
}

TEST_F(SettingsPageTest, CollapseButtonOnlyWithTheBallOnAndOnlyOnTabZero) {
    build(0);
    HWND collapse = control(502);
    EXPECT_FALSE(IsWindowVisible(collapse));
    send_floating(1);
    EXPECT_TRUE(IsWindowVisible(collapse));
    EXPECT_EQ(read_text(control(501)), "已开启");
    click(511);
    EXPECT_FALSE(IsWindowVisible(collapse));
    send_floating(0);
    send_floating(1);  // the ball switched on while another tab shows
    EXPECT_FALSE(IsWindowVisible(collapse));
    click(512);
    EXPECT_FALSE(IsWindowVisible(collapse));
    click(510);
    EXPECT_TRUE(IsWindowVisible(collapse));
    send_floating(2);
    EXPECT_FALSE(IsWindowVisible(collapse));
    EXPECT_EQ(read_text(control(501)), "已关闭");
    click(511);
    click(510);
    EXPECT_FALSE(IsWindowVisible(collapse));
}

// A control that is hidden while it has the keyboard focus would swallow the
// keys; the focus goes to the nearest control that stays.
TEST_F(SettingsPageTest, TheFocusNeverStaysOnAHiddenControl) {
    build(3);
    SetForegroundWindow(host_.hwnd());
    SetFocus(control(503));
    ASSERT_EQ(GetFocus(), control(503));
    click(512);
    EXPECT_EQ(GetFocus(), control(512));
    SetFocus(control(511));
    click(510);  // the focus is on a tab button, which stays
    EXPECT_EQ(GetFocus(), control(511));
    SetFocus(control(502));
    ASSERT_EQ(GetFocus(), control(502));
    send_floating(2);
    EXPECT_EQ(GetFocus(), control(501));
}

TEST_F(SettingsPageTest, StoredBallShowsTheCollapseButtonBeforeAnyReport) {
    put_dword(L"FloatingBall", 1);
    build(std::nullopt);
    EXPECT_TRUE(IsWindowVisible(control(502)));
}

TEST_F(SettingsPageTest, FloatingStateSetsBothTogglesAndTheDockingExplanation) {
    build(std::nullopt);
    struct Case {
        WPARAM flags;
        const char* ball;
        const char* dock;
        const char* hint;
    } const cases[] = {
        {2, "已关闭", "已开启", "贴边后收成细条，鼠标移入即展开。"},
        {0, "已关闭", "已关闭", "悬浮球会停在拖放的位置。"},
        {1, "已开启", "已关闭", "悬浮球会停在拖放的位置。"},
        {3, "已开启", "已开启", "贴边后收成细条，鼠标移入即展开。"},
    };
    for (const Case& c : cases) {
        send_floating(c.flags);
        EXPECT_EQ(read_text(control(501)), c.ball) << c.flags;
        EXPECT_EQ(selected(control(501)), (c.flags & 1) != 0) << c.flags;
        EXPECT_EQ(read_text(control(504)), c.dock) << c.flags;
        EXPECT_EQ(selected(control(504)), (c.flags & 2) != 0) << c.flags;
        EXPECT_EQ(read_text(slot(SettingsSlot::DockHint)), c.hint) << c.flags;
    }
}

// ---- colour scheme ---------------------------------------------------------------

TEST_F(SettingsPageTest, TheSchemeInUseWritesAndShowsNothing) {
    build();
    choose_scheme(0);
    choose_scheme(0, CBN_SELENDOK);
    EXPECT_EQ(stored_dword(L"ColorScheme"), std::nullopt);
    EXPECT_EQ(status(), "就绪");
    EXPECT_TRUE(posted(AppMessage::PaletteChanged).empty());
}

TEST_F(SettingsPageTest, ChoosingAPresetSavesItAndReplacesThePalette) {
    build();
    choose_scheme(1);
    EXPECT_EQ(stored_dword(L"ColorScheme"), 0x15E650Cu);
    EXPECT_EQ(ui_resources().palette, derive_palette(1, 0x5E650C));
    EXPECT_EQ(posted(AppMessage::PaletteChanged).size(), 1u);
    EXPECT_EQ(status(), "配色已更新。");
    EXPECT_FALSE(status_is_error());
    EXPECT_EQ(list_selection(), 1);
    choose_scheme(2, CBN_SELENDOK);
    EXPECT_EQ(stored_dword(L"ColorScheme"), 0x25E650Cu);
    EXPECT_EQ(ui_resources().palette.accent, 0x2F4F8Du);
}

TEST_F(SettingsPageTest, CustomFromTheListUsesTheStoredColour) {
    put_dword(L"ColorScheme", 0x1123456);
    build();
    choose_scheme(3);
    EXPECT_EQ(stored_dword(L"ColorScheme"), 0x3123456u);
    EXPECT_EQ(ui_resources().palette, derive_palette(3, 0x123456));
    EXPECT_EQ(status(), "配色已更新。");
    // A preset keeps the custom colour for the next time.
    choose_scheme(0);
    EXPECT_EQ(stored_dword(L"ColorScheme"), 0x0123456u);
}

TEST_F(SettingsPageTest, CustomFromTheListWithoutAStoredColourUsesTheDefault) {
    build();
    choose_scheme(3);
    EXPECT_EQ(stored_dword(L"ColorScheme"), 0x35E650Cu);
    EXPECT_EQ(ui_resources().palette, derive_palette(3, 0x5E650C));
}

TEST_F(SettingsPageTest, NoSelectionCountsAsTheFirstScheme) {
    put_dword(L"ColorScheme", 0x1000000);
    build();
    choose_scheme(-1);
    EXPECT_EQ(stored_dword(L"ColorScheme"), 0x0000000u);
    EXPECT_EQ(list_selection(), 0);
}

TEST_F(SettingsPageTest, AnIndexBeyondTheSchemesIsInvalid) {
    build();
    SendMessageW(list(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"x"));
    choose_scheme(4);
    EXPECT_EQ(status(), "主题配色无效。");
    EXPECT_TRUE(status_is_error());
    EXPECT_EQ(list_selection(), 0);
    EXPECT_EQ(stored_dword(L"ColorScheme"), std::nullopt);
    EXPECT_TRUE(posted(AppMessage::PaletteChanged).empty());
}

TEST_F(SettingsPageTest, AFailedSchemeSaveKeepsListAndPalette) {
    put_dword(L"ColorScheme", 0x1000000 | 0x5E650C);
    build();
    ui_resources().palette = derive_palette(1, 0);
    lock(where_.key, read_only);
    choose_scheme(2);
    EXPECT_EQ(status(), "无法保存主题配色（错误 5）。");
    EXPECT_TRUE(status_is_error());
    EXPECT_EQ(list_selection(), 1);
    EXPECT_EQ(ui_resources().palette, derive_palette(1, 0));
    EXPECT_TRUE(posted(AppMessage::PaletteChanged).empty());
    EXPECT_EQ(stored_dword(L"ColorScheme"), 0x15E650Cu);
}

TEST_F(SettingsPageTest, OnlyListNotificationsOfAChangeApply) {
    build();
    for (int code : {CBN_DROPDOWN, CBN_CLOSEUP, CBN_SELENDCANCEL, CBN_SETFOCUS, CBN_KILLFOCUS}) {
        choose_scheme(2, code);
        EXPECT_EQ(stored_dword(L"ColorScheme"), std::nullopt) << code;
    }
    EXPECT_TRUE(posted(AppMessage::PaletteChanged).empty());
}

TEST_F(SettingsPageTest, ArrowKeysOnTheClosedListApplyEachScheme) {
    build();
    for (int expected : {1, 2, 3}) {
        SendMessageW(list(), WM_KEYDOWN, VK_DOWN, 0);
        EXPECT_EQ(list_selection(), expected);
        EXPECT_EQ(stored_dword(L"ColorScheme"), (static_cast<DWORD>(expected) << 24) | 0x5E650C);
        EXPECT_EQ(ui_resources().palette, derive_palette(expected, 0x5E650C));
    }
    EXPECT_EQ(posted(AppMessage::PaletteChanged).size(), 3u);
    SendMessageW(list(), WM_KEYDOWN, VK_UP, 0);
    EXPECT_EQ(stored_dword(L"ColorScheme"), 0x25E650Cu);
}

TEST_F(SettingsPageTest, TheOpenListAppliesOnlyTheAcceptedItem) {
    build();
    SendMessageW(list(), CB_SHOWDROPDOWN, TRUE, 0);
    ASSERT_TRUE(SendMessageW(list(), CB_GETDROPPEDSTATE, 0, 0));
    SendMessageW(list(), WM_KEYDOWN, VK_DOWN, 0);
    SendMessageW(list(), WM_KEYDOWN, VK_DOWN, 0);
    EXPECT_EQ(list_selection(), 2);
    EXPECT_EQ(stored_dword(L"ColorScheme"), std::nullopt);
    EXPECT_TRUE(posted(AppMessage::PaletteChanged).empty());
    EXPECT_EQ(status(), "就绪");
    SendMessageW(list(), WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_FALSE(SendMessageW(list(), CB_GETDROPPEDSTATE, 0, 0));
    EXPECT_EQ(stored_dword(L"ColorScheme"), 0x25E650Cu);
    EXPECT_EQ(posted(AppMessage::PaletteChanged).size(), 1u);
    EXPECT_EQ(status(), "配色已更新。");
}

TEST_F(SettingsPageTest, ACancelledOpenListShowsTheSchemeInUseAgain) {
    put_dword(L"ColorScheme", 0x15E650C);
    build();
    SendMessageW(list(), CB_SHOWDROPDOWN, TRUE, 0);
    SendMessageW(list(), WM_KEYDOWN, VK_DOWN, 0);
    SendMessageW(list(), WM_KEYDOWN, VK_DOWN, 0);
    ASSERT_EQ(list_selection(), 3);
    SendMessageW(list(), WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_FALSE(SendMessageW(list(), CB_GETDROPPEDSTATE, 0, 0));
    EXPECT_EQ(list_selection(), 1);
    // So the next step of the closed list starts from the scheme in use.
    SendMessageW(list(), WM_KEYDOWN, VK_DOWN, 0);
    EXPECT_EQ(stored_dword(L"ColorScheme"), 0x25E650Cu);
    EXPECT_EQ(status(), "配色已更新。");
}

// ---- the colour dialog --------------------------------------------------------------

// Finds the colour dialog from a timer that runs inside its modal loop,
// notes how it was opened, sets a colour and presses a button.
struct DialogDriver {
    static inline int button = IDOK;
    static inline std::optional<Colorref> set_to;
    static inline HWND dialog = nullptr;
    static inline HWND owner = nullptr;
    static inline Colorref shown_at_start = 0xFFFFFFFF;
    static inline bool fully_open = false;
    static inline bool add_to_custom = false;  // press "Add to Custom Colors" first
    static inline std::optional<Colorref> probe;
    static inline std::optional<bool> custom_slots_show_probe;

    static HWND find() {
        HWND found = nullptr;
        EnumThreadWindows(
            GetCurrentThreadId(),
            [](HWND hwnd, LPARAM out) -> BOOL {
                wchar_t name[16] = {};
                GetClassNameW(hwnd, name, 16);
                if (lstrcmpW(name, L"#32770") == 0 && IsWindowVisible(hwnd)) {
                    *reinterpret_cast<HWND*>(out) = hwnd;
                    return FALSE;
                }
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&found));
        return found;
    }
    static void CALLBACK tick(HWND, UINT, UINT_PTR id, DWORD) {
        HWND d = find();
        if (!d) return;
        KillTimer(nullptr, id);
        dialog = d;
        owner = GetWindow(d, GW_OWNER);
        // The red, green and blue fields (706 to 708) show the starting colour.
        BOOL ok = FALSE;
        const unsigned r = GetDlgItemInt(d, 706, &ok, FALSE);
        const unsigned g = GetDlgItemInt(d, 707, &ok, FALSE);
        const unsigned b = GetDlgItemInt(d, 708, &ok, FALSE);
        shown_at_start = rgb(r, g, b);
        // Fully open: the button that opens the custom part is disabled.
        fully_open = !IsWindowEnabled(GetDlgItem(d, 719));
        if (set_to) {
            SetDlgItemInt(d, 706, red_of(*set_to), FALSE);
            SetDlgItemInt(d, 707, green_of(*set_to), FALSE);
            SetDlgItemInt(d, 708, blue_of(*set_to), FALSE);
        }
        if (add_to_custom) SendMessageW(d, WM_COMMAND, MAKEWPARAM(712, BN_CLICKED), 0);
        if (probe) custom_slots_show_probe = custom_slots_show(d, *probe);
        PostMessageW(d, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(d, button)));
    }
    // Whether the custom-colour slots (the dialog's item 721) show the colour.
    static bool custom_slots_show(HWND d, Colorref color) {
        HWND slots = GetDlgItem(d, 721);
        RedrawWindow(d, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        RECT r;
        GetClientRect(slots, &r);
        if (r.right <= 0 || r.bottom <= 0) return false;
        ui_test::Canvas canvas(r.right, r.bottom);
        canvas.grab(slots, false);
        return canvas.contains(r, color);
    }
    static void arm(int press, std::optional<Colorref> color, bool add = false,
                    std::optional<Colorref> probe_for = std::nullopt) {
        button = press;
        set_to = color;
        add_to_custom = add;
        probe = probe_for;
        custom_slots_show_probe = std::nullopt;
        dialog = owner = nullptr;
        shown_at_start = 0xFFFFFFFF;
        fully_open = false;
        SetTimer(nullptr, 0, 50, tick);
    }
};

TEST_F(SettingsPageTest, TheColourDialogsOkAppliesTheCustomSchemeAndMovesTheList) {
    put_dword(L"ColorScheme", 0x1123456);
    build();
    DialogDriver::arm(IDOK, 0x5A3C1E);
    click(506);
    ASSERT_NE(DialogDriver::dialog, nullptr);
    EXPECT_EQ(DialogDriver::owner, host_.hwnd());
    EXPECT_EQ(DialogDriver::shown_at_start, 0x123456u);
    EXPECT_TRUE(DialogDriver::fully_open);
    EXPECT_EQ(stored_dword(L"ColorScheme"), 0x35A3C1Eu);
    EXPECT_EQ(list_selection(), 3);
    EXPECT_EQ(ui_resources().palette, derive_palette(3, 0x5A3C1E));
    EXPECT_EQ(posted(AppMessage::PaletteChanged).size(), 1u);
    EXPECT_EQ(status(), "配色已更新。");

    // Opened again it starts at the colour now in use.
    DialogDriver::arm(IDOK, std::nullopt);
    set_ready();
    click(506);
    EXPECT_EQ(DialogDriver::shown_at_start, 0x5A3C1Eu);
    EXPECT_EQ(status(), "就绪");  // the same colour: nothing to apply
}

TEST_F(SettingsPageTest, TheColourDialogsOkWithTheStartingColourSwitchesToCustom) {
    build();
    DialogDriver::arm(IDOK, std::nullopt);
    click(506);
    ASSERT_NE(DialogDriver::dialog, nullptr);
    EXPECT_EQ(DialogDriver::shown_at_start, 0x5E650Cu);
    EXPECT_EQ(stored_dword(L"ColorScheme"), 0x35E650Cu);
    EXPECT_EQ(list_selection(), 3);
}

TEST_F(SettingsPageTest, TheCustomSlotsStartWhiteEachTime) {
    build();
    DialogDriver::arm(IDOK, 0x5A3C1E, true, 0x5A3C1E);
    click(506);
    ASSERT_EQ(DialogDriver::custom_slots_show_probe, true);  // the probe sees an added colour
    DialogDriver::arm(IDCANCEL, std::nullopt, false, 0x5A3C1E);
    click(506);
    ASSERT_EQ(DialogDriver::shown_at_start, 0x5A3C1Eu);
    EXPECT_EQ(DialogDriver::custom_slots_show_probe, false);
    DialogDriver::arm(IDCANCEL, std::nullopt, false, 0xFFFFFF);
    click(506);
    EXPECT_EQ(DialogDriver::custom_slots_show_probe, true);
}

TEST_F(SettingsPageTest, CancellingTheColourDialogChangesNothing) {
    build();
    DialogDriver::arm(IDCANCEL, 0x102030);
    click(506);
    ASSERT_NE(DialogDriver::dialog, nullptr);
    EXPECT_EQ(stored_dword(L"ColorScheme"), std::nullopt);
    EXPECT_EQ(list_selection(), 0);
    EXPECT_EQ(ui_resources().palette, derive_palette(0, 0));
    EXPECT_EQ(status(), "就绪");
    EXPECT_FALSE(status_is_error());
    EXPECT_TRUE(posted(AppMessage::PaletteChanged).empty());
}

TEST_F(SettingsPageTest, AFailedSaveFromTheColourDialogKeepsEverything) {
    build();
    lock(where_.key, read_only);
    DialogDriver::arm(IDOK, 0x010203);
    click(506);
    EXPECT_EQ(status(), "无法保存主题配色（错误 5）。");
    EXPECT_TRUE(status_is_error());
    EXPECT_EQ(list_selection(), 0);
    EXPECT_EQ(ui_resources().palette, derive_palette(0, 0));
}

TEST_F(SettingsPageTest, AColourDialogThatCannotOpenIsReported) {
    color_dialog_fails_ = true;
    build();
    click(506);
    EXPECT_EQ(status(), "无法打开颜色选择器。");
    EXPECT_TRUE(status_is_error());
    EXPECT_EQ(stored_dword(L"ColorScheme"), std::nullopt);
    EXPECT_EQ(list_selection(), 0);
    EXPECT_TRUE(posted(AppMessage::PaletteChanged).empty());
}

// ---- tools ------------------------------------------------------------------------

TEST_F(SettingsPageTest, SwitchingAToolSavesItAndTellsTheMainWindow) {
    build();
    click(521);
    EXPECT_EQ(stored_dword(L"HiddenTools"), 0b00010u);
    EXPECT_FALSE(selected(control(521)));
    EXPECT_EQ(status(), "时间戳已隐藏。");
    EXPECT_FALSE(status_is_error());
    EXPECT_EQ(posted(AppMessage::ToolsChanged).size(), 1u);
    click(521);
    EXPECT_EQ(stored_dword(L"HiddenTools"), 0u);
    EXPECT_TRUE(selected(control(521)));
    EXPECT_EQ(status(), "时间戳已显示。");
    EXPECT_EQ(posted(AppMessage::ToolsChanged).size(), 1u);
    EXPECT_EQ(stored_dword(L"VisibleTools"), std::nullopt);
}

TEST_F(SettingsPageTest, EveryToolCanBeHidden) {
    build();
    const char* texts[] = {"JSON 美化已隐藏。", "时间戳已隐藏。", "UUID 生成已隐藏。", "身份证号已隐藏。", "时间差值已隐藏。"};
    for (int tool = 0; tool < 5; ++tool) {
        click(520 + tool);
        EXPECT_EQ(status(), texts[tool]);
    }
    EXPECT_EQ(stored_dword(L"HiddenTools"), 0x1Fu);
    for (int tool = 0; tool < 5; ++tool) EXPECT_FALSE(selected(control(520 + tool)));
    EXPECT_EQ(posted(AppMessage::ToolsChanged).size(), 5u);
}

TEST_F(SettingsPageTest, AFailedToolSaveChangesNothing) {
    build();
    put_dword(L"HiddenTools", 0);
    lock(where_.key, read_only);
    click(522);
    EXPECT_EQ(status(), "无法保存工具列表（错误 5）。");
    EXPECT_TRUE(status_is_error());
    EXPECT_TRUE(selected(control(522)));
    EXPECT_TRUE(posted(AppMessage::ToolsChanged).empty());
    EXPECT_EQ(stored_dword(L"HiddenTools"), 0u);
}

// ---- start at login ------------------------------------------------------------------

TEST_F(SettingsPageTest, StartAtLoginWritesAndRemovesTheRunEntry) {
    build();
    click(503);
    EXPECT_EQ(run_value(), test_entry);
    EXPECT_EQ(read_text(control(503)), "已开启");
    EXPECT_TRUE(selected(control(503)));
    EXPECT_EQ(status(), "开机启动已开启。");
    click(503);
    EXPECT_EQ(run_value(), std::nullopt);
    EXPECT_EQ(read_text(control(503)), "已关闭");
    EXPECT_FALSE(selected(control(503)));
    EXPECT_EQ(status(), "开机启动已关闭。");
}

TEST_F(SettingsPageTest, ARunEntryRemovedOutsideShowsOffNextTime) {
    build();
    click(503);
    ASSERT_EQ(read_text(control(503)), "已开启");
    ASSERT_EQ(RegDeleteKeyValueW(HKEY_CURRENT_USER, where_.run_key.c_str(), L"Brivane"), 0);
    EXPECT_EQ(read_text(control(503)), "已开启");  // nothing is watched in between
    send_floating(2);
    EXPECT_EQ(read_text(control(503)), "已关闭");
    EXPECT_FALSE(selected(control(503)));
    // And an entry made outside shows as on.
    const std::wstring entry = test_entry;
    RegSetKeyValueW(HKEY_CURRENT_USER, where_.run_key.c_str(), L"Brivane", REG_SZ, entry.c_str(),
                    static_cast<DWORD>((entry.size() + 1) * 2));
    send_floating(2);
    EXPECT_EQ(read_text(control(503)), "已开启");
}

TEST_F(SettingsPageTest, TheToggleFollowsTheRunEntryFromTheSwitchItself) {
    build();
    // Turned on elsewhere while the page shows "已关闭": the switch turns it off.
    const std::wstring entry = test_entry;
    RegSetKeyValueW(HKEY_CURRENT_USER, where_.run_key.c_str(), L"Brivane", REG_SZ, entry.c_str(),
                    static_cast<DWORD>((entry.size() + 1) * 2));
    click(503);
    EXPECT_EQ(run_value(), std::nullopt);
    EXPECT_EQ(status(), "开机启动已关闭。");
}

TEST_F(SettingsPageTest, AFailedStartAtLoginWriteKeepsTheToggle) {
    build();
    lock(where_.run_key, read_only);
    click(503);
    EXPECT_EQ(status(), "无法更新开机启动设置（错误 5）。");
    EXPECT_TRUE(status_is_error());
    EXPECT_EQ(read_text(control(503)), "已关闭");
    EXPECT_FALSE(selected(control(503)));
}

TEST_F(SettingsPageTest, AnUnreadableRunEntryShowsCannotRead) {
    build();
    click(503);
    ASSERT_TRUE(selected(control(503)));
    lock(where_.run_key, no_access);
    set_ready();
    send_floating(3);
    EXPECT_EQ(read_text(control(503)), "无法读取");
    EXPECT_TRUE(selected(control(503)));  // its state is left alone
    EXPECT_EQ(status(), "无法读取开机启动设置（错误 5）。");
    EXPECT_TRUE(status_is_error());
    // The floating-ball controls are refreshed all the same.
    EXPECT_EQ(read_text(control(501)), "已开启");
    set_ready();
    click(503);
    EXPECT_EQ(status(), "无法读取开机启动设置（错误 5）。");
    EXPECT_EQ(read_text(control(503)), "无法读取");
}

// ---- updates, requests and web pages -----------------------------------------------

TEST_F(SettingsPageTest, AutomaticUpdateChecksSwitchSilently) {
    build();
    click(531);
    EXPECT_EQ(stored_dword(L"CheckUpdates"), 1u);
    EXPECT_EQ(read_text(control(531)), "已开启");
    EXPECT_EQ(posted(AppMessage::UpdateSettingChanged).size(), 1u);
    EXPECT_EQ(status(), "就绪");
    click(531);
    EXPECT_EQ(stored_dword(L"CheckUpdates"), 0u);
    EXPECT_EQ(read_text(control(531)), "已关闭");
    EXPECT_EQ(posted(AppMessage::UpdateSettingChanged).size(), 1u);
}

TEST_F(SettingsPageTest, TheUpdateToggleFollowsTheStoreNotTheButton) {
    build();
    put_dword(L"CheckUpdates", 1);  // changed since the page was built
    click(531);
    EXPECT_EQ(stored_dword(L"CheckUpdates"), 0u);
    EXPECT_EQ(read_text(control(531)), "已关闭");
}

TEST_F(SettingsPageTest, AFailedUpdateSettingSaveKeepsTheToggle) {
    build();
    lock(where_.key, read_only);
    click(531);
    EXPECT_EQ(status(), "无法保存更新设置（错误 5）。");
    EXPECT_TRUE(status_is_error());
    EXPECT_EQ(read_text(control(531)), "已关闭");
    EXPECT_TRUE(posted(AppMessage::UpdateSettingChanged).empty());
}

TEST_F(SettingsPageTest, RequestsArePostedToTheTopLevelWindow) {
    build(3);
    struct Case {
        int id;
        AppMessage message;
        WPARAM wparam;
    } const cases[] = {
        {501, AppMessage::ToggleFloatingBall, 0},
        {502, AppMessage::CollapseToBall, 0},
        {504, AppMessage::ToggleDock, 0},
        {532, AppMessage::CheckForUpdate, 1},
    };
    for (const Case& c : cases) {
        click(c.id);
        EXPECT_EQ(posted(c.message), std::vector<WPARAM>{c.wparam}) << c.id;
    }
    // The page itself changes nothing until the main window reports back.
    EXPECT_EQ(read_text(control(501)), "已开启");
    EXPECT_EQ(status(), "就绪");
}

TEST_F(SettingsPageTest, OtherNotificationsAndIdsAreIgnored) {
    build(3);
    for (int id : {501, 502, 503, 504, 506, 511, 521, 531, 532, 533})
        SendMessageW(page_, WM_COMMAND, MAKEWPARAM(id, BN_SETFOCUS), reinterpret_cast<LPARAM>(control(id)));
    for (int id : {500, 507, 513, 525, 530, 535})
        SendMessageW(page_, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0);
    MSG msg;
    EXPECT_FALSE(PeekMessageW(&msg, host_.hwnd(), WM_APP, 0xBFFF, PM_NOREMOVE));
    EXPECT_TRUE(selected(control(510)));
    EXPECT_TRUE(selected(control(521)));
    EXPECT_EQ(stored_dword(L"HiddenTools"), std::nullopt);
    EXPECT_TRUE(opened_.empty());
    EXPECT_EQ(status(), "就绪");
}

TEST_F(SettingsPageTest, FeedbackAndGuideOpenTheirPages) {
    build();
    click(533);
    click(534);
    ASSERT_EQ(opened_.size(), 2u);
    EXPECT_EQ(opened_[0], feedback_address);
    EXPECT_EQ(opened_[1], guide_address);
    EXPECT_EQ(status(), "就绪");
}

TEST_F(SettingsPageTest, ABrowserThatDoesNotStartIsReported) {
    build();
    browser_starts_ = false;
    click(534);
    EXPECT_EQ(status(), "无法打开默认浏览器。");
    EXPECT_TRUE(status_is_error());
}

}  // namespace
