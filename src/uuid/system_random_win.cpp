#include "uuid/system_random.h"

#include <windows.h>
#include <bcrypt.h>

#include <cstdlib>
#include <limits>

namespace {

// ProcessPrng is exported by bcryptprimitives.dll since Windows 10 but has no
// import library in MinGW-w64 and is absent from Wine 8, so it is looked up
// once at run time; BCryptGenRandom with the system-preferred RNG is the
// documented fallback with the same source.
using ProcessPrngFunction = BOOL(WINAPI*)(PBYTE data, SIZE_T size);

ProcessPrngFunction find_process_prng() {
    HMODULE module = LoadLibraryExW(L"bcryptprimitives.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (module == nullptr) return nullptr;  // kept loaded for the life of the process
    FARPROC proc = GetProcAddress(module, "ProcessPrng");
    return reinterpret_cast<ProcessPrngFunction>(reinterpret_cast<void*>(proc));
}

class WindowsRandom final : public RandomSource {
public:
    WindowsRandom() : process_prng_(find_process_prng()) {}

    void fill(std::span<std::uint8_t> out) override {
        if (out.empty()) return;
        if (process_prng_ != nullptr) {
            if (!process_prng_(out.data(), out.size())) std::abort();
            return;
        }
        constexpr std::size_t max_chunk = std::numeric_limits<ULONG>::max();
        for (std::size_t done = 0; done < out.size();) {
            std::size_t n = out.size() - done < max_chunk ? out.size() - done : max_chunk;
            NTSTATUS status = BCryptGenRandom(nullptr, out.data() + done, static_cast<ULONG>(n),
                                              BCRYPT_USE_SYSTEM_PREFERRED_RNG);
            if (status < 0) std::abort();
            done += n;
        }
    }

    bool uses_process_prng() const { return process_prng_ != nullptr; }

private:
    ProcessPrngFunction process_prng_;
};

WindowsRandom& windows_random() {
    static WindowsRandom source;  // initialised once, thread-safe
    return source;
}

}  // namespace

RandomSource& system_random() { return windows_random(); }

SystemRandomBackend system_random_backend() {
    return windows_random().uses_process_prng() ? SystemRandomBackend::ProcessPrng
                                                : SystemRandomBackend::BCryptGenRandom;
}
