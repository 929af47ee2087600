#pragma once

// What the time-difference page shows in place of a result.
namespace time_diff_messages {

inline constexpr const char* missing_input = "请输入开始和结束时间。";
inline constexpr const char* bad_start = "开始时间无效，请核对日期和时间。";
inline constexpr const char* bad_end = "结束时间无效，请核对日期和时间。";
// The result line while there is no result.
inline constexpr const char* no_result = "—";

}  // namespace time_diff_messages
