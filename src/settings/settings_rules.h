#pragma once

// What the settings page decides and says, apart from the windows it does it
// with: whether a scheme is to be saved, and the texts of its status line.

#include <cstdint>
#include <string>

#include "preferences/preferences.h"

namespace settings_text {
inline constexpr const char* scheme_updated = "配色已更新。";
inline constexpr const char* color_dialog_failed = "无法打开颜色选择器。";
inline constexpr const char* login_on = "开机启动已开启。";
inline constexpr const char* login_off = "开机启动已关闭。";
inline constexpr const char* login_unreadable = "无法读取";
inline constexpr const char* dock_on_hint = "贴边后收成细条，鼠标移入即展开。";
inline constexpr const char* dock_off_hint = "悬浮球会停在拖放的位置。";
inline constexpr const char* browser_failed = "无法打开默认浏览器。";
}  // namespace settings_text

// The product's web pages that the "版本与反馈" tab opens.
inline constexpr const wchar_t feedback_address[] = L"https://lumaro.app/feedback";
inline constexpr const wchar_t guide_address[] = L"https://lumaro.app/guide";

// The five tools by their side-bar names, in side-bar order.
inline constexpr const char* tool_names[tool_count] = {"JSON 美化", "时间戳", "UUID 生成", "身份证号", "时间差值"};

enum class SchemeStep {
    Unchanged,  // the scheme in use: nothing to write or say
    Invalid,    // out of range: "主题配色无效。"
    Save,       // write it, then apply it
};

// What applying the scheme index with the colour means when `current` is in use.
SchemeStep scheme_step(ColorSchemeSetting current, std::uint32_t scheme, Colorref color);

// "时间戳已隐藏。" and the like, after switching a tool.
std::string tool_switched_text(int tool, bool listed);
