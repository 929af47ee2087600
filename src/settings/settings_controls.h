#pragma once

// The controls of the settings page in creation order, with their ids, kinds,
// texts and tabs, and where each one goes for a given page width. Kept free of
// Win32 so that the geometry is tested natively.

#include <array>
#include <cstddef>

#include "settings/settings_rules.h"
#include "ui/control_kind.h"

// Every control of the page, in the order it is created.
enum class SettingsSlot : int {
    Title,
    Tab0,
    Tab1,
    Tab2,
    ToolsHeading,
    ToolsHint,
    Tool0,
    Tool1,
    Tool2,
    Tool3,
    Tool4,
    VersionHeading,
    VersionHint,
    CheckNow,
    AutoCheckHeading,
    AutoCheckHint,
    AutoCheckToggle,
    FeedbackHeading,
    FeedbackHint,
    Feedback,
    Guide,
    SchemeHeading,
    SchemeList,
    PickColor,
    BallHeading,
    BallHint,
    BallToggle,
    Collapse,
    DockHeading,
    DockHint,
    DockToggle,
    LoginHeading,
    LoginHint,
    LoginToggle,
};
inline constexpr std::size_t settings_slot_count = static_cast<std::size_t>(SettingsSlot::LoginToggle) + 1;

constexpr std::size_t slot_index(SettingsSlot s) { return static_cast<std::size_t>(s); }

// Control ids reported in WM_COMMAND.
namespace settings_id {
inline constexpr int ball_toggle = 501;
inline constexpr int collapse = 502;
inline constexpr int login_toggle = 503;
inline constexpr int dock_toggle = 504;
inline constexpr int scheme_list = 505;
inline constexpr int pick_color = 506;
inline constexpr int first_tab = 510;
inline constexpr int first_tool = 520;
inline constexpr int auto_check_toggle = 531;
inline constexpr int check_now = 532;
inline constexpr int feedback = 533;
inline constexpr int guide = 534;
}  // namespace settings_id

inline constexpr int settings_tab_count = 3;
inline constexpr int every_tab = -1;  // the title and the tab buttons

struct SettingsControl {
    int id;
    ControlKind kind;
    const char* text;  // toggles get their state text later
    int tab;           // 0 to 2, or every_tab
};

inline constexpr std::array<SettingsControl, settings_slot_count> settings_controls{{
    {0, ControlKind::PageTitle, "设置", every_tab},
    {settings_id::first_tab, ControlKind::Button, "外观与启动", every_tab},
    {settings_id::first_tab + 1, ControlKind::Button, "常用工具", every_tab},
    {settings_id::first_tab + 2, ControlKind::Button, "版本与反馈", every_tab},
    {0, ControlKind::SectionTitle, "侧栏工具", 1},
    {0, ControlKind::Hint, "选中的工具会显示在侧栏，点击可显示或隐藏。", 1},
    {settings_id::first_tool, ControlKind::Button, tool_names[0], 1},
    {settings_id::first_tool + 1, ControlKind::Button, tool_names[1], 1},
    {settings_id::first_tool + 2, ControlKind::Button, tool_names[2], 1},
    {settings_id::first_tool + 3, ControlKind::Button, tool_names[3], 1},
    {settings_id::first_tool + 4, ControlKind::Button, tool_names[4], 1},
    {0, ControlKind::SectionTitle, "Lumaro " LUMARO_VERSION, 2},
    {0, ControlKind::Hint, "从 GitHub Releases 检查最新正式版。", 2},
    {settings_id::check_now, ControlKind::PrimaryButton, "检查更新", 2},
    {0, ControlKind::SectionTitle, "自动检查更新", 2},
    {0, ControlKind::Hint, "启动时和运行期间检查，安装前会询问你。", 2},
    {settings_id::auto_check_toggle, ControlKind::Button, "", 2},
    {0, ControlKind::SectionTitle, "工具建议", 2},
    {0, ControlKind::Hint, "在官网留言，告诉我们你需要什么工具。", 2},
    {settings_id::feedback, ControlKind::Button, "留言提建议", 2},
    {settings_id::guide, ControlKind::Button, "使用指南", 2},
    {0, ControlKind::SectionTitle, "配色", 0},
    {settings_id::scheme_list, ControlKind::Dropdown, "", 0},
    {settings_id::pick_color, ControlKind::Button, "选择颜色", 0},
    {0, ControlKind::SectionTitle, "悬浮球", 0},
    {0, ControlKind::Hint, "收起窗口后，用悬浮入口随时打开Lumaro。", 0},
    {settings_id::ball_toggle, ControlKind::Button, "已关闭", 0},
    {settings_id::collapse, ControlKind::Button, "收起到悬浮球", 0},
    {0, ControlKind::SectionTitle, "自动贴边", 0},
    {0, ControlKind::Hint, "悬浮球贴边后收成细条，鼠标移入即展开。", 0},
    {settings_id::dock_toggle, ControlKind::Button, "已开启", 0},
    {0, ControlKind::SectionTitle, "开机启动", 0},
    {0, ControlKind::Hint, "登录 Windows 时启动Lumaro。悬浮球开启时直接收起。", 0},
    {settings_id::login_toggle, ControlKind::Button, "已关闭", 0},
}};

struct LogicalRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;

    friend constexpr bool operator==(const LogicalRect&, const LogicalRect&) = default;
};

// The right edge of the content: the page width less the left margin, at most 720.
int settings_right_edge(int page_width);
// The width of a tool button: two columns, at most 200 each.
int settings_tool_width(int page_width);
// Where a control goes on a page of that logical width.
LogicalRect settings_rect(SettingsSlot slot, int page_width);
