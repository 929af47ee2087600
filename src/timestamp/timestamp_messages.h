#pragma once

// The timestamp tool's messages: its status texts and conversion failures.
namespace timestamp_messages {

inline constexpr const char* converted = "转换完成。";
inline constexpr const char* refreshed = "已更新当前时间戳。";
inline constexpr const char* filled = "已填入当前时间，可直接修改。";

inline constexpr const char* not_an_integer = "请输入整数时间戳。";
inline constexpr const char* timestamp_out_of_range = "时间戳超出可转换的日期范围。";
inline constexpr const char* local_out_of_range = "日期超出本地时区可转换的范围。";
inline constexpr const char* bad_date = "日期格式无效。可输入日期、日期时间或带时区的 ISO 8601 时间。";
inline constexpr const char* ambiguous_local = "该本地时间有两个可能的时区偏移，请在日期中写明偏移。";
inline constexpr const char* unavailable_local = "该日期在本地时区不可用，请核对时间或指定 UTC。";

}  // namespace timestamp_messages
