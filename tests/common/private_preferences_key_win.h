#pragma once

// A fixture whose preferences live under HKCU\Software\LumaroTest\<random>,
// never under the program's own key, removed at the end together with any
// access list a test put on it.

#include <gtest/gtest.h>

#include <windows.h>
// sddl.h needs windows.h before it.
#include <sddl.h>

#include <random>
#include <string>
#include <vector>

#include "preferences/preferences_win.h"

namespace preferences_test {

class PrivatePreferencesKey : public ::testing::Test {
protected:
    void SetUp() override {
        base_ = L"Software\\LumaroTest\\" + std::to_wstring(std::random_device()());
        where_ = {HKEY_CURRENT_USER, base_ + L"\\Brivane", base_ + L"\\Run", L"Brivane"};
    }
    void TearDown() override {
        for (HKEY key : locked_) {
            set_access(key, L"D:P(A;;KA;;;WD)");
            RegCloseKey(key);
        }
        LSTATUS removed = RegDeleteTreeW(HKEY_CURRENT_USER, base_.c_str());
        EXPECT_TRUE(removed == ERROR_SUCCESS || removed == ERROR_FILE_NOT_FOUND) << removed;
        RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\LumaroTest");  // refused while other runs have keys in it
    }

    // Replaces the key's access list; TearDown grants everything again.
    void lock(const std::wstring& key, const wchar_t* sddl) {
        HKEY h = nullptr;
        ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, WRITE_DAC, nullptr, &h, nullptr), 0);
        locked_.push_back(h);
        set_access(h, sddl);
    }
    static void set_access(HKEY key, const wchar_t* sddl) {
        PSECURITY_DESCRIPTOR sd = nullptr;
        ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl, SDDL_REVISION_1, &sd, nullptr));
        EXPECT_EQ(RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, sd), ERROR_SUCCESS);
        LocalFree(sd);
    }
    static constexpr const wchar_t* read_only = L"D:P(A;;KR;;;WD)";
    static constexpr const wchar_t* no_access = L"D:P";

    std::wstring base_;
    PreferencesLocation where_;
    std::vector<HKEY> locked_;
};

}  // namespace preferences_test
