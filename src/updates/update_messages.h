#pragma once

#include <string_view>

// The check's texts.
inline constexpr std::string_view manifest_unreadable = "无法解析发布清单。";
inline constexpr std::string_view manifest_without_version = "发布清单缺少版本号。";
inline constexpr std::string_view release_version_invalid = "发布版本格式无效。";
inline constexpr std::string_view own_version_invalid = "当前版本格式无效。";
inline constexpr std::string_view release_size_invalid = "发布包大小无效。";
inline constexpr std::string_view release_sha256_invalid = "发布包校验值无效。";

inline constexpr std::string_view update_in_progress = "更新任务正在进行中。";
inline constexpr std::string_view checking_status = "正在检查 GitHub 上的最新版本…";
inline constexpr std::string_view cannot_start_task = "无法启动更新任务。";
inline constexpr std::string_view up_to_date_status = "当前已是最新版本。";
inline constexpr std::string_view downloading_status = "正在下载并校验更新，完成后会重启Lumaro…";
inline constexpr std::string_view deferred_status = "已暂缓更新，可在设置中再次检查。";
inline constexpr std::string_view offer_title = "Lumaro更新";

// The download's texts.
inline constexpr std::string_view address_invalid = "更新地址无效。";
inline constexpr std::string_view address_untrusted = "更新地址不属于受信任的 GitHub 发布服务。";
inline constexpr std::string_view cannot_connect = "无法连接 GitHub 更新服务。";
inline constexpr std::string_view location_unreadable = "无法识别下载地址。";
inline constexpr std::string_view too_many_redirects = "GitHub 下载地址重定向次数过多。";
inline constexpr std::string_view download_timed_out = "下载超时，请稍后重试。";
inline constexpr std::string_view body_too_large = "更新文件超过预期大小。";
inline constexpr std::string_view file_too_large = "文件过大。";
inline constexpr std::string_view package_mismatch = "更新包校验失败，当前版本已保留。";
inline constexpr std::string_view package_not_x64 = "更新包不是 Windows x64 程序。";
inline constexpr std::string_view directory_not_writable = "无法写入程序目录。请将Lumaro移到个人目录再升级。";

// The hand-off's texts.
inline constexpr std::string_view cannot_save_download = "无法保存下载的更新。";
inline constexpr std::string_view no_system_directory = "无法找到 Windows 系统目录。";
inline constexpr std::string_view cannot_create_signal = "无法创建更新启动信号。";
inline constexpr std::string_view installer_did_not_start = "Windows 未能启动安装程序。当前版本已保留。";
