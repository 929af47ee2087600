#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <span>
#include <string>

// What the download hands to the installer script.
struct InstallerHandOff {
    HANDLE staging_file = INVALID_HANDLE_VALUE;  // open for writing; always closed by start_installer
    std::span<const std::uint8_t> bytes;         // the verified new executable
    std::wstring target;                         // the running executable
    std::wstring staged;                         // the staging file's path
    std::string sha256;                          // of bytes, lower case
    std::string previous_sha256;                 // of the running executable, lower case
};

inline constexpr DWORD installer_start_wait_ms = 15'000;

// Writes and flushes the staging file, starts the script under the system's
// Windows PowerShell and waits for its start signal. Nothing on success (the
// script then owns the staging file and the program must end); otherwise
// the message, with the script ended. The caller deletes the staging file
// after a failure.
std::optional<std::string> start_installer(InstallerHandOff& hand_off);
