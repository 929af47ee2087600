#pragma once

// The JSON page's own status texts. The scanner's messages and the tree
// view's come from elsewhere.
namespace json_page_messages {

inline constexpr const char* processing = "正在处理文本…";
inline constexpr const char* restoring = "正在恢复历史记录…";
inline constexpr const char* parsing = "正在解析 JSON…";
inline constexpr const char* cannot_start = "无法启动处理任务，请再试一次。";
inline constexpr const char* ended_unexpectedly = "处理任务意外结束，请再试一次。";
inline constexpr const char* formatted = "已格式化 JSON。";
inline constexpr const char* compacted = "已压缩 JSON。";
inline constexpr const char* escaped = "已转义为 JSON 字符串。";
inline constexpr const char* unescaped = "已取消转义。";
inline constexpr const char* auto_formatted = "已自动美化 JSON。";
inline constexpr const char* restored = "已恢复历史记录。";
inline constexpr const char* history_not_saved = "处理成功，无法保存本地历史记录。";
inline constexpr const char* empty_input = "请输入要处理的文本。";
inline constexpr const char* waiting = "等待输入 JSON。";
inline constexpr const char* cleared = "已清空输入和结果。";
inline constexpr const char* pasted = "已粘贴到输入框。";
inline constexpr const char* paste_too_long = "剪贴板文本超过输入框容量。";
inline constexpr const char* nothing_to_paste = "剪贴板中没有可粘贴的文本。";
inline constexpr const char* copied = "已复制结果。";
inline constexpr const char* result_has_nul = "结果含空字符，无法通过 Windows 文本剪贴板完整复制。";
inline constexpr const char* clipboard_busy = "无法访问剪贴板，请再试一次。";
inline constexpr const char* text_view = "已切换到文本视图。";
inline constexpr const char* no_tree_control = "无法创建 Windows 树视图。";
inline constexpr const char* empty_tree_input = "请输入要查看的 JSON。";
inline constexpr const char* tree_failed = "无法显示树视图。";

inline constexpr const char* view_tree = "树视图";
inline constexpr const char* view_text = "文本视图";
inline constexpr const char* view_locate = "定位错误";

}  // namespace json_page_messages
