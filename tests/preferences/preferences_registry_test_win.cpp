// The store against the real registry (Wine's, in the test prefix). Every test
// works under its own HKCU\Software\LumaroTest\<random> key and removes it.

#include <gtest/gtest.h>

#include <windows.h>
// sddl.h needs windows.h before it.
#include <sddl.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <random>
#include <vector>

#include "preferences/preferences_win.h"

namespace {

constexpr const wchar_t* test_root = L"Software\\LumaroTest";
const std::wstring exe_path = L"C:\\Program Files\\Lumaro\\Lumaro.exe";
const std::wstring exe_entry = L"\"C:\\Program Files\\Lumaro\\Lumaro.exe\" --startup";

struct RawValue {
    DWORD type = REG_NONE;
    std::vector<BYTE> bytes;
};

std::vector<BYTE> bytes_of(const void* data, std::size_t size) {
    const BYTE* first = static_cast<const BYTE*>(data);
    return std::vector<BYTE>(first, first + size);
}
std::vector<BYTE> joined(std::vector<BYTE> a, const std::vector<BYTE>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}
std::vector<BYTE> dword_bytes(DWORD v) { return bytes_of(&v, sizeof v); }
std::vector<BYTE> text_bytes(const std::wstring& s) { return bytes_of(s.c_str(), (s.size() + 1) * sizeof(wchar_t)); }

std::wstring with_nul(std::wstring s) {
    s.push_back(L'\0');
    return s;
}

std::string message_or_empty(const SaveResult& r) { return r.value_or(""); }

template <class T>
std::string message_of(const std::variant<T, std::string>& r) {
    const std::string* m = std::get_if<std::string>(&r);
    return m ? *m : "(no message)";
}

class PreferencesRegistry : public ::testing::Test {
protected:
    void SetUp() override {
        std::random_device random;
        base_ = std::wstring(test_root) + L"\\" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                std::to_wstring(random());
        where_.root = HKEY_CURRENT_USER;
        where_.key = base_ + L"\\Brivane";
        where_.run_key = base_ + L"\\Run";
        where_.run_value = L"Brivane";
    }

    void TearDown() override {
        PSECURITY_DESCRIPTOR open = nullptr;
        ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorW(L"D:P(A;;KA;;;WD)", SDDL_REVISION_1, &open,
                                                                          nullptr));
        for (HKEY locked : locked_) {
            EXPECT_EQ(RegSetKeySecurity(locked, DACL_SECURITY_INFORMATION, open), ERROR_SUCCESS);
            RegCloseKey(locked);
        }
        LocalFree(open);
        EXPECT_EQ(RegDeleteTreeW(HKEY_CURRENT_USER, base_.c_str()), ERROR_SUCCESS);
        RegDeleteKeyW(HKEY_CURRENT_USER, test_root);  // fails while other runs still have keys there
    }

    Preferences store(std::wstring path = exe_path) const {
        return Preferences(where_, [path] { return std::optional<std::wstring>(path); });
    }

    void put(const std::wstring& key, const wchar_t* name, DWORD type, const std::vector<BYTE>& data) {
        HKEY h = nullptr;
        ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &h, nullptr),
                  ERROR_SUCCESS);
        EXPECT_EQ(RegSetValueExW(h, name, 0, type, data.data(), static_cast<DWORD>(data.size())), ERROR_SUCCESS);
        RegCloseKey(h);
    }
    void put_dword(const wchar_t* name, DWORD v) { put(where_.key, name, REG_DWORD, dword_bytes(v)); }
    void put_run(DWORD type, const std::vector<BYTE>& data) { put(where_.run_key, L"Brivane", type, data); }

    std::optional<RawValue> raw(const std::wstring& key, const wchar_t* name) const {
        RawValue v;
        DWORD size = 0;
        if (RegGetValueW(HKEY_CURRENT_USER, key.c_str(), name, RRF_RT_ANY | RRF_NOEXPAND, &v.type, nullptr, &size) !=
            ERROR_SUCCESS)
            return std::nullopt;
        v.bytes.resize(size);
        if (RegGetValueW(HKEY_CURRENT_USER, key.c_str(), name, RRF_RT_ANY | RRF_NOEXPAND, &v.type, v.bytes.data(),
                         &size) != ERROR_SUCCESS)
            return std::nullopt;
        v.bytes.resize(size);
        return v;
    }
    // The stored value when it is a 4-byte REG_DWORD; fails the test otherwise.
    std::optional<DWORD> raw_dword(const wchar_t* name) const {
        std::optional<RawValue> v = raw(where_.key, name);
        if (!v) return std::nullopt;
        EXPECT_EQ(v->type, static_cast<DWORD>(REG_DWORD));
        EXPECT_EQ(v->bytes.size(), 4u);
        DWORD d = 0;
        std::memcpy(&d, v->bytes.data(), std::min<std::size_t>(v->bytes.size(), 4));
        return d;
    }

    // Replaces the key's access list (an SDDL string); TearDown opens it again.
    void lock(const std::wstring& key, const wchar_t* sddl) {
        HKEY h = nullptr;
        ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, WRITE_DAC | READ_CONTROL, nullptr, &h,
                                  nullptr),
                  ERROR_SUCCESS);
        locked_.push_back(h);
        PSECURITY_DESCRIPTOR sd = nullptr;
        ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl, SDDL_REVISION_1, &sd, nullptr));
        EXPECT_EQ(RegSetKeySecurity(h, DACL_SECURITY_INFORMATION, sd), ERROR_SUCCESS);
        LocalFree(sd);
    }

    std::wstring base_;
    PreferencesLocation where_;
    std::vector<HKEY> locked_;
};

TEST_F(PreferencesRegistry, MissingOrEmptyKeyGivesEveryDefault) {
    for (bool create_key : {false, true}) {
        SCOPED_TRACE(create_key ? "empty key" : "no key");
        if (create_key) put(where_.key, L"Other", REG_DWORD, dword_bytes(1));
        Preferences p = store();
        EXPECT_FALSE(p.load_floating_ball());
        EXPECT_TRUE(p.load_floating_ball_dock());
        EXPECT_EQ(p.load_color_scheme(), (ColorSchemeSetting{0, 0x5E650C}));
        EXPECT_FALSE(p.load_check_updates());
        EXPECT_EQ(p.load_visible_tools(), ToolMask(0x1F));
        auto login = p.load_start_at_login();  // no Run key at all
        ASSERT_TRUE(std::holds_alternative<bool>(login)) << message_of(login);
        EXPECT_FALSE(std::get<bool>(login));
    }
}

TEST_F(PreferencesRegistry, FlagsAreWrittenAsZeroOrOneAndReadAsymmetrically) {
    Preferences p = store();
    struct Flag {
        const wchar_t* name;
        bool (Preferences::*load)() const;
        SaveResult (Preferences::*save)(bool) const;
        bool when_two;
    };
    const Flag flags[] = {
        {L"FloatingBall", &Preferences::load_floating_ball, &Preferences::save_floating_ball, false},
        {L"FloatingBallDock", &Preferences::load_floating_ball_dock, &Preferences::save_floating_ball_dock, true},
        {L"CheckUpdates", &Preferences::load_check_updates, &Preferences::save_check_updates, false},
    };
    for (const Flag& f : flags) {
        SCOPED_TRACE(std::string(f.name, f.name + std::wcslen(f.name)));
        for (bool on : {true, false, true}) {
            EXPECT_EQ((p.*f.save)(on), std::nullopt);
            EXPECT_EQ(raw_dword(f.name), on ? 1u : 0u);
            EXPECT_EQ((p.*f.load)(), on);
        }
        put_dword(f.name, 2);
        EXPECT_EQ((p.*f.load)(), f.when_two);
    }
}

TEST_F(PreferencesRegistry, OnlyFourByteDwordsCount) {
    Preferences p = store();
    // Each value holds data that, read as a number, would move it off its
    // default; the last check of each row proves that the write landed.
    struct Target {
        const wchar_t* name;
        DWORD tempting;
        std::function<bool()> at_default;
    };
    const Target targets[] = {
        {L"FloatingBall", 1, [&] { return !p.load_floating_ball(); }},
        {L"FloatingBallDock", 0, [&] { return p.load_floating_ball_dock(); }},
        {L"CheckUpdates", 1, [&] { return !p.load_check_updates(); }},
        {L"ColorScheme", 0x3123456, [&] { return p.load_color_scheme() == ColorSchemeSetting{0, 0x5E650C}; }},
        {L"HiddenTools", 0x1F, [&] { return p.load_visible_tools() == ToolMask::all(); }},
        {L"VisibleTools", 0x00, [&] { return p.load_visible_tools() == ToolMask::all(); }},
    };
    struct Form {
        const char* what;
        DWORD type;
        std::function<std::vector<BYTE>(DWORD)> data;
    };
    const Form forms[] = {
        {"REG_SZ", REG_SZ, [](DWORD v) { return text_bytes(std::to_wstring(v)); }},
        {"REG_EXPAND_SZ", REG_EXPAND_SZ, [](DWORD v) { return text_bytes(std::to_wstring(v)); }},
        {"REG_QWORD", REG_QWORD, [](DWORD v) { return joined(bytes_of(&v, 4), std::vector<BYTE>(4, 0)); }},
        {"REG_BINARY of 4 bytes", REG_BINARY, [](DWORD v) { return dword_bytes(v); }},
        {"REG_DWORD_BIG_ENDIAN", REG_DWORD_BIG_ENDIAN, [](DWORD v) { return dword_bytes(v); }},
        {"REG_DWORD of 2 bytes", REG_DWORD, [](DWORD v) { return bytes_of(&v, 2); }},
        {"REG_DWORD of 8 bytes", REG_DWORD, [](DWORD v) { return joined(dword_bytes(v), std::vector<BYTE>(4, 0)); }},
        {"REG_DWORD of 0 bytes", REG_DWORD, [](DWORD) { return std::vector<BYTE>(); }},
        {"REG_DWORD of 64 bytes", REG_DWORD, [](DWORD v) { return joined(dword_bytes(v), std::vector<BYTE>(60, 0)); }},
    };
    for (const Target& t : targets) {
        for (const Form& f : forms) {
            SCOPED_TRACE(std::string(t.name, t.name + std::wcslen(t.name)) + " as " + f.what);
            put(where_.key, t.name, f.type, f.data(t.tempting));
            EXPECT_TRUE(t.at_default());
        }
        SCOPED_TRACE(std::string(t.name, t.name + std::wcslen(t.name)) + " as REG_DWORD");
        put_dword(t.name, t.tempting);
        EXPECT_FALSE(t.at_default());
        ASSERT_EQ(RegDeleteKeyValueW(HKEY_CURRENT_USER, where_.key.c_str(), t.name), ERROR_SUCCESS);
    }
}

TEST_F(PreferencesRegistry, ColorSchemePacksSchemeOverColour) {
    Preferences p = store();
    struct Case {
        DWORD stored;
        ColorSchemeSetting loaded;
    };
    const Case cases[] = {
        {0x3123456, {3, 0x123456}}, {0x0000000, {0, 0x000000}}, {0x3FFFFFF, {3, 0xFFFFFF}},
        {0x4000000, {0, 0x5E650C}}, {0xFFFFFFFF, {0, 0x5E650C}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stored);
        put_dword(L"ColorScheme", c.stored);
        EXPECT_EQ(p.load_color_scheme(), c.loaded);
    }

    EXPECT_EQ(p.save_color_scheme(2, 0xABCDEF), std::nullopt);
    EXPECT_EQ(raw_dword(L"ColorScheme"), 0x2ABCDEFu);
    EXPECT_EQ(p.load_color_scheme(), (ColorSchemeSetting{2, 0xABCDEF}));

    // Out of range: nothing written, the earlier setting stays.
    EXPECT_EQ(message_or_empty(p.save_color_scheme(4, 0x123456)), "主题配色无效。");
    EXPECT_EQ(message_or_empty(p.save_color_scheme(0, 0x1000000)), "主题配色无效。");
    EXPECT_EQ(raw_dword(L"ColorScheme"), 0x2ABCDEFu);
}

TEST_F(PreferencesRegistry, VisibleToolsFromHiddenToolsOrTheOlderValue) {
    Preferences p = store();
    struct Case {
        std::optional<DWORD> hidden, visible;
        std::uint32_t shown;
    };
    const Case cases[] = {
        {0x1F, std::nullopt, 0x00}, {0xFFFFFFE0, std::nullopt, 0x1F}, {0x0A, std::nullopt, 0x15},
        {std::nullopt, 0x00, 0x10}, {std::nullopt, 0x0F, 0x1F},        {std::nullopt, 0x06, 0x16},
        {0x00, 0x00, 0x1F},  // HiddenTools wins even when it hides nothing
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.hidden.value_or(999)) + " " + std::to_string(c.visible.value_or(999)));
        RegDeleteTreeW(HKEY_CURRENT_USER, where_.key.c_str());
        if (c.hidden) put_dword(L"HiddenTools", *c.hidden);
        if (c.visible) put_dword(L"VisibleTools", *c.visible);
        EXPECT_EQ(p.load_visible_tools().bits(), c.shown);
    }
}

TEST_F(PreferencesRegistry, SavingToolsWritesOnlyHiddenTools) {
    Preferences p = store();
    EXPECT_EQ(p.save_visible_tools(ToolMask(0x03)), std::nullopt);
    EXPECT_EQ(raw_dword(L"HiddenTools"), 0x1Cu);
    EXPECT_EQ(p.save_visible_tools(ToolMask()), std::nullopt);
    EXPECT_EQ(raw_dword(L"HiddenTools"), 0x1Fu);
    EXPECT_EQ(p.load_visible_tools(), ToolMask());
    EXPECT_EQ(p.save_visible_tools(ToolMask::all()), std::nullopt);
    EXPECT_EQ(raw_dword(L"HiddenTools"), 0u);
    EXPECT_FALSE(raw(where_.key, L"VisibleTools"));

    // An older VisibleTools is left as it was and no longer consulted.
    put_dword(L"VisibleTools", 0x01);
    EXPECT_EQ(p.load_visible_tools(), ToolMask::all());
    EXPECT_EQ(p.save_visible_tools(ToolMask(0x08)), std::nullopt);
    EXPECT_EQ(raw_dword(L"VisibleTools"), 0x01u);
    EXPECT_EQ(p.load_visible_tools(), ToolMask(0x08));
}

TEST_F(PreferencesRegistry, StartAtLoginWritesTheExactEntry) {
    Preferences p = store();
    EXPECT_EQ(p.save_start_at_login(true), std::nullopt);
    std::optional<RawValue> stored = raw(where_.run_key, L"Brivane");
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(stored->bytes, text_bytes(exe_entry));  // with its NUL, nothing after
    auto login = p.load_start_at_login();
    EXPECT_EQ(login, (std::variant<bool, std::string>(true)));

    EXPECT_EQ(p.save_start_at_login(false), std::nullopt);
    EXPECT_FALSE(raw(where_.run_key, L"Brivane"));
    EXPECT_EQ(p.load_start_at_login(), (std::variant<bool, std::string>(false)));
    EXPECT_EQ(p.save_start_at_login(false), std::nullopt);  // already absent
    ASSERT_EQ(RegDeleteTreeW(HKEY_CURRENT_USER, where_.run_key.c_str()), ERROR_SUCCESS);
    EXPECT_EQ(p.save_start_at_login(false), std::nullopt);  // no Run key either
}

TEST_F(PreferencesRegistry, ForeignRunEntriesReadAsOffAndAreOverwritten) {
    Preferences p = store();
    struct Case {
        const char* what;
        DWORD type;
        std::vector<BYTE> data;
    };
    std::vector<BYTE> entry_without_nul = text_bytes(exe_entry);
    entry_without_nul.resize(entry_without_nul.size() - 2);
    const Case cases[] = {
        {"unquoted path", REG_SZ, text_bytes(L"C:\\Program Files\\Lumaro\\Lumaro.exe --startup")},
        {"no argument", REG_SZ, text_bytes(L"\"C:\\Program Files\\Lumaro\\Lumaro.exe\"")},
        {"other letter case", REG_SZ, text_bytes(L"\"C:\\Program Files\\Lumaro\\LUMARO.exe\" --startup")},
        {"other folder", REG_SZ, text_bytes(L"\"C:\\Tools\\Lumaro.exe\" --startup")},
        {"two spaces", REG_SZ, text_bytes(L"\"C:\\Program Files\\Lumaro\\Lumaro.exe\"  --startup")},
        {"trailing units after the NUL", REG_SZ, joined(text_bytes(exe_entry), std::vector<BYTE>(2, 0))},
        {"longer than any entry of ours", REG_SZ, text_bytes(exe_entry + std::wstring(300, L'x'))},
        {"REG_EXPAND_SZ", REG_EXPAND_SZ, text_bytes(exe_entry)},
        {"REG_MULTI_SZ", REG_MULTI_SZ, joined(text_bytes(exe_entry), std::vector<BYTE>(2, 0))},
        {"REG_DWORD", REG_DWORD, dword_bytes(1)},
        {"REG_BINARY", REG_BINARY, text_bytes(exe_entry)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        put_run(c.type, c.data);
        EXPECT_EQ(p.load_start_at_login(), (std::variant<bool, std::string>(false)));
        EXPECT_EQ(p.save_start_at_login(true), std::nullopt);
        std::optional<RawValue> stored = raw(where_.run_key, L"Brivane");
        ASSERT_TRUE(stored);
        EXPECT_EQ(stored->type, static_cast<DWORD>(REG_SZ));
        EXPECT_EQ(stored->bytes, text_bytes(exe_entry));
        EXPECT_EQ(p.load_start_at_login(), (std::variant<bool, std::string>(true)));
    }
    // Someone else's entry for another copy is not ours, whoever wrote it.
    EXPECT_EQ(store(L"D:\\Lumaro.exe").load_start_at_login(), (std::variant<bool, std::string>(false)));
}

TEST_F(PreferencesRegistry, ExecutablePathRules) {
    std::wstring at_limit = L"C:\\" + std::wstring(245, L'a');
    ASSERT_EQ(at_limit.size(), 248u);
    Preferences fits = store(at_limit);
    auto line = fits.startup_command_line();
    ASSERT_TRUE(std::holds_alternative<std::wstring>(line)) << message_of(line);
    EXPECT_EQ(std::get<std::wstring>(line), with_nul(L"\"" + at_limit + L"\" --startup"));
    EXPECT_EQ(fits.save_start_at_login(true), std::nullopt);
    EXPECT_EQ(raw(where_.run_key, L"Brivane")->bytes.size(), 522u);  // the whole read buffer
    EXPECT_EQ(fits.load_start_at_login(), (std::variant<bool, std::string>(true)));

    struct Case {
        std::optional<std::wstring> path;
        std::string message;
    };
    const Case cases[] = {
        {std::nullopt, "无法定位工具箱程序。"},
        {L"Lumaro.exe", "无法获取工具箱的绝对路径。"},
        {L"C:Lumaro.exe", "无法获取工具箱的绝对路径。"},
        {L"C:\\Lu\"maro.exe", "工具箱路径含有无效字符。"},
        {std::wstring(L"C:\\Lu\0maro.exe", 14), "工具箱路径含有无效字符。"},
        {at_limit + L"a", "工具箱路径过长，请移到较短的路径后再开启。"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        Preferences p(where_, [&] { return c.path; });
        EXPECT_EQ(message_of(p.startup_command_line()), c.message);
        EXPECT_EQ(message_or_empty(p.save_start_at_login(true)), c.message);
        // With an entry present the comparison needs the command line...
        EXPECT_EQ(message_of(p.load_start_at_login()), c.message);
        // ...without one there is nothing to compare, and turning off needs no path.
        EXPECT_EQ(p.save_start_at_login(false), std::nullopt);
        EXPECT_EQ(p.load_start_at_login(), (std::variant<bool, std::string>(false)));
        EXPECT_EQ(fits.save_start_at_login(true), std::nullopt);
    }
}

TEST_F(PreferencesRegistry, RunningExecutableIsFoundByDefault) {
    Preferences p(where_);
    wchar_t module[MAX_PATH + 1] = {};
    DWORD n = GetModuleFileNameW(nullptr, module, MAX_PATH + 1);
    ASSERT_GT(n, 0u);
    ASSERT_LT(n, static_cast<DWORD>(MAX_PATH));
    auto line = p.startup_command_line();
    ASSERT_TRUE(std::holds_alternative<std::wstring>(line)) << message_of(line);
    EXPECT_EQ(std::get<std::wstring>(line), with_nul(L"\"" + std::wstring(module, n) + L"\" --startup"));
    EXPECT_EQ(p.save_start_at_login(true), std::nullopt);
    EXPECT_EQ(p.load_start_at_login(), (std::variant<bool, std::string>(true)));
}

TEST_F(PreferencesRegistry, FailedSavesKeepTheStoredValuesAndGiveTheCode) {
    Preferences p = store();
    ASSERT_EQ(p.save_floating_ball(true), std::nullopt);
    ASSERT_EQ(p.save_floating_ball_dock(false), std::nullopt);
    ASSERT_EQ(p.save_check_updates(true), std::nullopt);
    ASSERT_EQ(p.save_color_scheme(3, 0x123456), std::nullopt);
    ASSERT_EQ(p.save_visible_tools(ToolMask(0x05)), std::nullopt);
    lock(where_.key, L"D:P(A;;KR;;;WD)");  // readable, not writable

    EXPECT_EQ(message_or_empty(p.save_floating_ball(false)), "无法保存悬浮球设置（错误 5）。");
    EXPECT_EQ(message_or_empty(p.save_floating_ball_dock(true)), "无法保存自动贴边设置（错误 5）。");
    EXPECT_EQ(message_or_empty(p.save_check_updates(false)), "无法保存更新设置（错误 5）。");
    EXPECT_EQ(message_or_empty(p.save_color_scheme(1, 0)), "无法保存主题配色（错误 5）。");
    EXPECT_EQ(message_or_empty(p.save_visible_tools(ToolMask::all())), "无法保存工具列表（错误 5）。");

    EXPECT_TRUE(p.load_floating_ball());
    EXPECT_FALSE(p.load_floating_ball_dock());
    EXPECT_TRUE(p.load_check_updates());
    EXPECT_EQ(p.load_color_scheme(), (ColorSchemeSetting{3, 0x123456}));
    EXPECT_EQ(p.load_visible_tools(), ToolMask(0x05));
}

TEST_F(PreferencesRegistry, UnwritableRunKey) {
    Preferences p = store();
    ASSERT_EQ(p.save_start_at_login(true), std::nullopt);
    lock(where_.run_key, L"D:P(A;;KR;;;WD)");
    EXPECT_EQ(message_or_empty(p.save_start_at_login(false)), "无法更新开机启动设置（错误 5）。");
    EXPECT_EQ(p.load_start_at_login(), (std::variant<bool, std::string>(true)));
}

TEST_F(PreferencesRegistry, UnreadableRunKeyIsAnErrorNotOff) {
    Preferences p = store();
    ASSERT_EQ(p.save_start_at_login(true), std::nullopt);
    lock(where_.run_key, L"D:P(A;;KW;;;WD)");
    EXPECT_EQ(message_of(p.load_start_at_login()), "无法读取开机启动设置（错误 5）。");
}

TEST_F(PreferencesRegistry, RunKeyThatCannotBeCreated) {
    // A key below a volatile one must be volatile too, so creating the Run key
    // fails with ERROR_CHILD_MUST_BE_VOLATILE.
    HKEY parent = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, (base_ + L"\\Volatile").c_str(), 0, nullptr, REG_OPTION_VOLATILE,
                              KEY_ALL_ACCESS, nullptr, &parent, nullptr),
              ERROR_SUCCESS);
    RegCloseKey(parent);
    where_.run_key = base_ + L"\\Volatile\\Run";
    where_.key = base_ + L"\\Volatile\\Brivane";
    Preferences p = store();
    EXPECT_EQ(message_or_empty(p.save_start_at_login(true)), "无法更新开机启动设置（错误 1021）。");
    EXPECT_EQ(message_or_empty(p.save_check_updates(true)), "无法保存更新设置（错误 1021）。");
    EXPECT_EQ(p.save_start_at_login(false), std::nullopt);
    EXPECT_EQ(p.load_start_at_login(), (std::variant<bool, std::string>(false)));
    EXPECT_FALSE(p.load_check_updates());
}

}  // namespace
