#include "updates/update_thread_win.h"

#include <memory>

namespace {

// SetThreadDescription is looked up at run time: it is missing from older
// systems, where the thread then simply stays unnamed.
using SetThreadDescriptionFunction = HRESULT(WINAPI*)(HANDLE thread, PCWSTR description);

SetThreadDescriptionFunction find_set_thread_description() {
    HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
    if (!kernel) return nullptr;
    FARPROC proc = GetProcAddress(kernel, "SetThreadDescription");
    return reinterpret_cast<SetThreadDescriptionFunction>(reinterpret_cast<void*>(proc));
}

DWORD WINAPI run_body(void* parameter) {
    std::unique_ptr<std::function<void()>> body(static_cast<std::function<void()>*>(parameter));
    (*body)();
    return 0;
}

}  // namespace

std::optional<DWORD> start_update_thread(std::function<void()> body) {
    auto owned = std::make_unique<std::function<void()>>(std::move(body));
    // Started suspended so that the name is in place before the body runs.
    HANDLE thread = CreateThread(nullptr, 0, run_body, owned.get(), CREATE_SUSPENDED, nullptr);
    if (!thread) return GetLastError();
    owned.release();  // the thread owns it now
    static const SetThreadDescriptionFunction set_description = find_set_thread_description();
    if (set_description) set_description(thread, L"lumaro-updates");
    ResumeThread(thread);
    CloseHandle(thread);
    return std::nullopt;
}
