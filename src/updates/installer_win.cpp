#include "updates/installer_win.h"

#include <algorithm>
#include <cstddef>
#include <string_view>
#include <utility>
#include <vector>

#include "ui/text_convert.h"
#include "ui/system_error_win.h"
#include "updates/installer_command.h"
#include "updates/random_name.h"
#include "updates/update_messages.h"

namespace {

std::wstring wide(std::u16string_view text) { return std::wstring(text.begin(), text.end()); }
std::u16string u16(std::wstring_view text) { return std::u16string(text.begin(), text.end()); }

class OwnedHandle {
public:
    explicit OwnedHandle(HANDLE h = nullptr) : h_(h == INVALID_HANDLE_VALUE ? nullptr : h) {}
    ~OwnedHandle() { reset(); }
    OwnedHandle(const OwnedHandle&) = delete;
    OwnedHandle& operator=(const OwnedHandle&) = delete;
    HANDLE get() const { return h_; }
    explicit operator bool() const { return h_ != nullptr; }
    void reset() {
        if (h_) CloseHandle(h_);
        h_ = nullptr;
    }

private:
    HANDLE h_;
};

std::optional<std::string> write_staging_file(InstallerHandOff& hand_off) {
    OwnedHandle file(hand_off.staging_file);
    hand_off.staging_file = INVALID_HANDLE_VALUE;
    std::span<const std::uint8_t> rest = hand_off.bytes;
    while (!rest.empty()) {
        DWORD piece = static_cast<DWORD>(std::min<std::size_t>(rest.size(), 1u << 30));
        DWORD written = 0;
        if (!file || !WriteFile(file.get(), rest.data(), piece, &written, nullptr) || written == 0)
            return std::string(cannot_save_download) + system_error_text(file ? GetLastError() : ERROR_INVALID_HANDLE);
        rest = rest.subspan(written);
    }
    if (!FlushFileBuffers(file.get())) return std::string(cannot_save_download) + system_error_text(GetLastError());
    return std::nullopt;
}

std::optional<std::wstring> powershell_path() {
    constexpr UINT capacity = 32'768;
    std::wstring directory(capacity, L'\0');
    UINT length = GetSystemDirectoryW(directory.data(), capacity);
    if (length == 0 || length >= capacity) return std::nullopt;
    directory.resize(length);
    if (directory.back() != L'\\') directory += L'\\';
    return directory + L"WindowsPowerShell\\v1.0\\powershell.exe";
}

std::u16string current_environment() {
    wchar_t* block = GetEnvironmentStringsW();
    if (!block) return std::u16string(1, u'\0');
    const wchar_t* end = block;
    while (*end) end += std::wstring_view(end).size() + 1;
    std::u16string copy(static_cast<const wchar_t*>(block), end + 1);
    FreeEnvironmentStringsW(block);
    return copy;
}

HANDLE open_null_device(SECURITY_ATTRIBUTES& inherit) {
    return CreateFileW(L"NUL", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                       OPEN_EXISTING, 0, nullptr);
}

// Limits what a new process inherits to the listed handles: the program may
// itself have been given inheritable handles (a console, a parent's pipe),
// and none of them belongs to the script.
class InheritOnly {
public:
    explicit InheritOnly(std::vector<HANDLE> handles) : handles_(std::move(handles)) {
        SIZE_T size = 0;
        InitializeProcThreadAttributeList(nullptr, 1, 0, &size);
        storage_.resize(size);
        auto* list = reinterpret_cast<LPPROC_THREAD_ATTRIBUTE_LIST>(storage_.data());
        if (size == 0 || !InitializeProcThreadAttributeList(list, 1, 0, &size)) return;
        list_ = list;
        if (!UpdateProcThreadAttribute(list_, 0, PROC_THREAD_ATTRIBUTE_HANDLE_LIST, handles_.data(),
                                       handles_.size() * sizeof(HANDLE), nullptr, nullptr)) {
            DeleteProcThreadAttributeList(list_);
            list_ = nullptr;
        }
    }
    ~InheritOnly() {
        if (list_) DeleteProcThreadAttributeList(list_);
    }
    InheritOnly(const InheritOnly&) = delete;
    InheritOnly& operator=(const InheritOnly&) = delete;
    LPPROC_THREAD_ATTRIBUTE_LIST get() const { return list_; }

private:
    std::vector<HANDLE> handles_;  // read by CreateProcessW, so kept as long as the list
    std::vector<std::byte> storage_;
    LPPROC_THREAD_ATTRIBUTE_LIST list_ = nullptr;
};

}  // namespace

std::optional<std::string> start_installer(InstallerHandOff& hand_off) {
    if (auto failure = write_staging_file(hand_off)) return failure;

    std::optional<std::wstring> program = powershell_path();
    if (!program) return std::string(no_system_directory);

    const std::u16string event_name = start_event_name(utf8_to_utf16(random_uuid_text()));
    OwnedHandle ready(CreateEventW(nullptr, TRUE, FALSE, wide(event_name).c_str()));
    if (!ready) return std::string(cannot_create_signal);

    const InstallerVariables variables{u16(hand_off.target),
                                       u16(hand_off.staged),
                                       u16(std::to_wstring(GetCurrentProcessId())),
                                       event_name,
                                       utf8_to_utf16(hand_off.sha256),
                                       utf8_to_utf16(hand_off.previous_sha256)};
    std::wstring environment = wide(installer_environment(current_environment(), variables));
    std::wstring command_line = wide(installer_command_line(u16(*program), utf8_to_utf16(installer_script_text())));

    // The script's standard streams go to the null device, and these two
    // handles are all it inherits.
    SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    OwnedHandle null_in(open_null_device(inherit));
    OwnedHandle null_out(open_null_device(inherit));
    const InheritOnly inherited({null_in.get(), null_out.get()});
    STARTUPINFOEXW startup{};
    startup.StartupInfo.cb = sizeof startup;
    startup.StartupInfo.dwFlags = STARTF_USESTDHANDLES;
    startup.StartupInfo.hStdInput = null_in.get();
    startup.StartupInfo.hStdOutput = null_out.get();
    startup.StartupInfo.hStdError = null_out.get();
    startup.lpAttributeList = inherited.get();
    PROCESS_INFORMATION process{};
    if (!null_in || !null_out || !inherited.get() ||
        !CreateProcessW(program->c_str(), command_line.data(), nullptr, nullptr, TRUE,
                        CREATE_NO_WINDOW | CREATE_UNICODE_ENVIRONMENT | EXTENDED_STARTUPINFO_PRESENT,
                        environment.data(), nullptr, &startup.StartupInfo, &process))
        return std::string(installer_did_not_start);
    null_in.reset();
    null_out.reset();
    OwnedHandle script(process.hProcess);
    OwnedHandle script_thread(process.hThread);

    if (WaitForSingleObject(ready.get(), installer_start_wait_ms) == WAIT_OBJECT_0) return std::nullopt;
    ready.reset();
    TerminateProcess(script.get(), 1);
    WaitForSingleObject(script.get(), INFINITE);
    return std::string(installer_did_not_start);
}
