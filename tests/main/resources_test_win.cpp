// The built program carries its manifest and icon.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <set>
#include <string>

#include "program_path_win.h"

namespace {

class ProgramResources : public ::testing::Test {
protected:
    HMODULE module = nullptr;
    void SetUp() override {
        module = LoadLibraryExW(lumaro_exe().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
        ASSERT_NE(module, nullptr);
    }
    void TearDown() override {
        if (module) FreeLibrary(module);
    }
    std::string bytes(const wchar_t* name, const wchar_t* type) const {
        HRSRC found = FindResourceW(module, name, type);
        if (!found) return {};
        HGLOBAL loaded = LoadResource(module, found);
        auto* data = static_cast<const char*>(LockResource(loaded));
        return std::string(data, SizeofResource(module, found));
    }
};

TEST_F(ProgramResources, ManifestAsResourceOne) {
    std::string manifest = bytes(MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24));
    const char* required[] = {
        "name=\"Lumaro\" version=\"1.5.0.0\" processorArchitecture=\"*\"",
        "level=\"asInvoker\" uiAccess=\"false\"",
        "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}",
        "name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\"",
        "publicKeyToken=\"6595b64144ccf1df\"",
    };
    for (const char* piece : required) EXPECT_NE(manifest.find(piece), std::string::npos) << piece;
    EXPECT_EQ(manifest.find("dpiAware"), std::string::npos);  // the entry sets it in code
}

TEST_F(ProgramResources, IconGroup101HasSixImagesOf32Bits) {
    std::string group = bytes(MAKEINTRESOURCEW(101), MAKEINTRESOURCEW(14));  // RT_GROUP_ICON
    ASSERT_GE(group.size(), 6u);
    auto u16 = [&](std::size_t at) { return static_cast<unsigned>(static_cast<unsigned char>(group[at])) |
                                            static_cast<unsigned>(static_cast<unsigned char>(group[at + 1])) << 8; };
    unsigned count = u16(4);
    ASSERT_EQ(count, 6u);
    ASSERT_EQ(group.size(), 6u + 14u * count);
    const int sizes[] = {16, 24, 32, 48, 64, 256};
    for (unsigned i = 0; i < count; ++i) {
        std::size_t entry = 6 + 14 * i;
        int width = static_cast<unsigned char>(group[entry]);
        EXPECT_EQ(width == 0 ? 256 : width, sizes[i]);
        EXPECT_EQ(u16(entry + 6), 32u);  // bits per pixel
    }
    EXPECT_NE(LoadImageW(module, MAKEINTRESOURCEW(101), IMAGE_ICON, 48, 48, 0), nullptr);
}

// The loader refuses a program that imports a function its Windows lacks:
// nothing may be newer than the first Windows 10 (1507).
TEST_F(ProgramResources, ImportsNothingNewerThanTheFirstWindows10) {
    const std::set<std::string> newer = {
        "SetProcessDpiAwarenessContext", "GetDpiForSystem", "GetDpiForWindow", "AdjustWindowRectExForDpi",
        "GetSystemMetricsForDpi", "EnableNonClientDpiScaling", "SystemParametersInfoForDpi",
        "SetThreadDpiAwarenessContext", "GetThreadDpiAwarenessContext", "GetWindowDpiAwarenessContext",
        "AreDpiAwarenessContextsEqual", "GetAwarenessFromDpiAwarenessContext", "IsValidDpiAwarenessContext",
        "GetDpiFromDpiAwarenessContext", "GetSystemDpiForProcess", "SetThreadDpiHostingBehavior",
        "SetDialogDpiChangeBehavior", "SetThreadDescription", "GetThreadDescription"};
    // The module is mapped as an image: addresses in it are base + RVA.
    const auto* base = reinterpret_cast<const BYTE*>(reinterpret_cast<ULONG_PTR>(module) & ~ULONG_PTR{3});
    const auto* nt =
        reinterpret_cast<const IMAGE_NT_HEADERS64*>(base + reinterpret_cast<const IMAGE_DOS_HEADER*>(base)->e_lfanew);
    const DWORD table = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT].VirtualAddress;
    int user32_names = 0;
    for (auto* d = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + table); table && d->Name; ++d) {
        const std::string dll = reinterpret_cast<const char*>(base + d->Name);
        EXPECT_NE(_strnicmp(dll.c_str(), "api-ms-win-", 11), 0) << dll;  // API sets differ between builds
        const DWORD thunks = d->OriginalFirstThunk ? d->OriginalFirstThunk : d->FirstThunk;
        for (auto* t = reinterpret_cast<const IMAGE_THUNK_DATA64*>(base + thunks); t->u1.AddressOfData; ++t) {
            if (IMAGE_SNAP_BY_ORDINAL64(t->u1.Ordinal)) continue;
            const std::string name = reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + t->u1.AddressOfData)->Name;
            EXPECT_FALSE(newer.count(name)) << dll << " " << name;
            user32_names += _stricmp(dll.c_str(), "user32.dll") == 0;
        }
    }
    EXPECT_GT(user32_names, 0);  // the table was read
}

}  // namespace
