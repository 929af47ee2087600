#include <gtest/gtest.h>

#include <windows.h>

#include "uuid/system_random.h"

namespace {

bool process_prng_exported() {
    HMODULE module = LoadLibraryExW(L"bcryptprimitives.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    return module != nullptr && GetProcAddress(module, "ProcessPrng") != nullptr;
}

// ProcessPrng where the system has it (Windows 10 and later), BCryptGenRandom
// where it does not (Wine 8); the filling itself is tested in
// system_random_test.cpp on whichever of the two this system offers.
TEST(SystemRandomWin, UsesProcessPrngWhenExported) {
    SystemRandomBackend expected = process_prng_exported() ? SystemRandomBackend::ProcessPrng
                                                           : SystemRandomBackend::BCryptGenRandom;
    EXPECT_EQ(system_random_backend(), expected);
}

}  // namespace
