#pragma once

// The JSON tool's fixed messages. The scanner's seventeen are the only texts a
// positioned scan failure can carry; tests and the fuzzers check against them.
namespace json_messages {

inline constexpr const char* end_expect_value = "文本结束，此处应为 JSON 值";
inline constexpr const char* expect_value = "此处应为 JSON 值";
inline constexpr const char* too_deep = "JSON 嵌套超过 256 层";
inline constexpr const char* bad_literal = "无效的 JSON 字面量";
inline constexpr const char* leading_zero = "数字不能有前导零";
inline constexpr const char* expect_digit = "此处应为数字";
inline constexpr const char* fraction_digit = "小数点后应为数字";
inline constexpr const char* exponent_digit = "指数部分缺少数字";
inline constexpr const char* bad_escape = "无效的字符串转义";
inline constexpr const char* unicode_escape = "Unicode 转义需要四位十六进制数字";
inline constexpr const char* control_in_string = "字符串内有未转义的控制字符";
inline constexpr const char* unterminated_string = "字符串缺少结束双引号";
inline constexpr const char* key_quote = "对象的键必须用双引号包围";
inline constexpr const char* key_colon = "对象的键后缺少冒号";
inline constexpr const char* comma_or_bracket = "此处应为逗号或右方括号";
inline constexpr const char* comma_or_brace = "此处应为逗号或右花括号";
inline constexpr const char* trailing = "JSON 值后有多余字符";

inline constexpr const char* scanner_all[] = {
    end_expect_value, expect_value,     too_deep,          bad_literal,
    leading_zero,     expect_digit,     fraction_digit,    exponent_digit,
    bad_escape,       unicode_escape,   control_in_string, unterminated_string,
    key_quote,        key_colon,        comma_or_bracket,  comma_or_brace,
    trailing,
};

inline constexpr const char* tree_too_large = "文本过大，无法构建树视图";
inline constexpr const char* pretty_too_large = "格式化结果超过 24 MiB，请改用压缩或树视图。";
inline constexpr const char* unescape_failed = "请输入完整的 JSON 字符串字面量（含双引号）";

}  // namespace json_messages
