#pragma once

// The checks a downloaded executable passes before it is handed to the
// installer.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

// "MZ", a PE signature at the offset stored at 60, machine 0x8664 (x64).
bool is_x64_windows_program(std::span<const std::uint8_t> bytes);

// Length against the manifest's size, the SHA-256 (lower-case hex of the
// bytes, computed by the caller) against the manifest's, then the header.
// Nothing when all hold, else the message.
std::optional<std::string> check_package(std::span<const std::uint8_t> bytes, std::uint64_t expected_size,
                                         std::string_view actual_sha256, std::string_view expected_sha256);

// ".lumaro-" + the identifier + ".download": the staging file's name.
std::string staging_file_name(std::string_view uuid_text);
