#include "updates/download_win.h"

#include "ui/app_message.h"
#include "preferences/preferences_win.h"
#include "ui/controls_win.h"
#include "ui/system_error_win.h"
#include "updates/installer_win.h"
#include "updates/package_checks.h"
#include "updates/random_name.h"
#include "updates/sha256_win.h"
#include "updates/update_config.h"
#include "updates/update_hooks_win.h"
#include "updates/update_messages.h"

namespace {

UpdateOutcome failed(std::string message) { return {UpdateOutcome::InstallFailed{std::move(message)}}; }

// The whole file, or the system error text.
std::variant<Bytes, std::string> read_file(const std::wstring& path) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return system_error_text(GetLastError());
    Bytes bytes;
    std::uint8_t piece[65536];
    for (;;) {
        DWORD got = 0;
        if (!ReadFile(file, piece, sizeof piece, &got, nullptr)) {
            DWORD error = GetLastError();
            CloseHandle(file);
            return system_error_text(error);
        }
        if (got == 0) break;
        bytes.insert(bytes.end(), piece, piece + got);
    }
    CloseHandle(file);
    return bytes;
}

std::wstring directory_of(const std::wstring& path) {
    std::size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash + 1);
}

std::string executable_address(std::string_view version) {
    return std::string(release_base_url) + "/download/v" + std::string(version) + "/Lumaro.exe";
}

}  // namespace

UpdateOutcome download_and_hand_off(const UpdateManifest& manifest, const std::wstring& exe_path,
                                    const Fetcher& fetch) {
    FetchResult fetched = fetch(executable_address(manifest.version), manifest.size);
    if (auto* message = std::get_if<std::string>(&fetched)) return failed(*message);
    const Bytes& body = std::get<Bytes>(fetched);

    auto hashed = sha256_hex(body);
    if (auto* message = std::get_if<std::string>(&hashed)) return failed(*message);
    if (auto problem = check_package(body, manifest.size, std::get<Sha256Hex>(hashed).hex, manifest.sha256))
        return failed(*problem);

    auto running = read_file(exe_path);
    if (auto* message = std::get_if<std::string>(&running)) return failed(*message);
    auto previous = sha256_hex(std::get<Bytes>(running));
    if (auto* message = std::get_if<std::string>(&previous)) return failed(*message);

    const std::wstring staged = directory_of(exe_path) + to_wide(staging_file_name(random_uuid_text()));
    HANDLE file = CreateFileW(staged.c_str(), GENERIC_READ | GENERIC_WRITE,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return failed(std::string(directory_not_writable) + system_error_text(GetLastError()));

    InstallerHandOff hand_off{file, body, exe_path, staged, manifest.sha256, std::get<Sha256Hex>(previous).hex};
    if (auto problem = start_installer(hand_off)) {
        DeleteFileW(staged.c_str());
        return failed(*problem);
    }
    return {UpdateOutcome::InstallStarted{}};
}

void download_update(const UpdateManifest& manifest, HWND window) {
    std::optional<std::wstring> exe = running_executable_path();
    store_update_outcome(exe ? download_and_hand_off(manifest, *exe, update_fetcher())
                             : failed(system_error_text(GetLastError())));
    PostMessageW(window, message_id(AppMessage::UpdateFinished), 0, 0);
}
