// The store against Wine's real registry, each test under its own
// HKCU\Software\LumaroTest\<random> key, removed at the end.

#include <gtest/gtest.h>

#include <windows.h>

#include <vector>

#include "../common/private_preferences_key_win.h"
#include "preferences/preferences_win.h"

namespace {

using Bytes = std::vector<BYTE>;
using Login = std::variant<bool, std::string>;
using Stored = std::optional<std::pair<DWORD, Bytes>>;  // type and bytes

const std::wstring exe = L"C:\\Program Files\\Lumaro\\Lumaro.exe";
const std::wstring entry = L"\"" + exe + L"\" --startup";

Bytes bytes(const void* data, std::size_t size) {
    const BYTE* first = static_cast<const BYTE*>(data);
    return Bytes(first, first + size);
}
Bytes text(const std::wstring& s) { return bytes(s.c_str(), (s.size() + 1) * 2); }
Bytes padded(Bytes b, std::size_t zeros) {
    b.insert(b.end(), zeros, 0);
    return b;
}
std::string message(const SaveResult& r) { return r.value_or("(success)"); }
template <class T>
std::string message(const std::variant<T, std::string>& r) {
    return std::holds_alternative<std::string>(r) ? std::get<std::string>(r) : "(no message)";
}

class PreferencesRegistry : public preferences_test::PrivatePreferencesKey {
protected:
    Preferences store(std::wstring path = exe) const {
        return Preferences(where_, [path] { return std::optional<std::wstring>(path); });
    }
    void put(const std::wstring& key, const wchar_t* name, DWORD type, const Bytes& data) {
        DWORD size = static_cast<DWORD>(data.size());
        ASSERT_EQ(RegSetKeyValueW(HKEY_CURRENT_USER, key.c_str(), name, type, data.data(), size), ERROR_SUCCESS);
    }
    void put_dword(const wchar_t* name, DWORD v) { put(where_.key, name, REG_DWORD, bytes(&v, 4)); }
    // Straight from RegQueryValueExW: RegGetValueW would add a missing NUL.
    Stored raw(const std::wstring& key, const wchar_t* name) const {
        HKEY h = nullptr;
        if (RegOpenKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, KEY_QUERY_VALUE, &h)) return std::nullopt;
        DWORD type = 0, size = 1024;
        Bytes data(size);
        LSTATUS status = RegQueryValueExW(h, name, nullptr, &type, data.data(), &size);
        RegCloseKey(h);
        if (status) return std::nullopt;
        data.resize(size);
        return std::pair(type, data);
    }
    static Stored as_sz(const std::wstring& s) { return std::pair(DWORD{REG_SZ}, text(s)); }
    static Stored dword(DWORD v) { return std::pair(DWORD{REG_DWORD}, bytes(&v, 4)); }
};

TEST_F(PreferencesRegistry, MissingKeysGiveEveryDefault) {
    Preferences p = store();
    EXPECT_FALSE(p.load_floating_ball());
    EXPECT_TRUE(p.load_floating_ball_dock());
    EXPECT_EQ(p.load_color_scheme(), (ColorSchemeSetting{0, 0x5E650C}));
    EXPECT_FALSE(p.load_check_updates());
    EXPECT_EQ(p.load_visible_tools(), ToolMask::all());
    EXPECT_EQ(p.load_start_at_login(), Login(false));
    EXPECT_EQ(p.save_start_at_login(false), std::nullopt);  // nothing to delete, not even the Run key
}

TEST_F(PreferencesRegistry, FlagsWriteZeroOrOneAndReadTwoAsymmetrically) {
    Preferences p = store();
    struct Flag {
        const wchar_t* name;
        bool (Preferences::*load)() const;
        SaveResult (Preferences::*save)(bool) const;
        bool when_two;
    } const flags[] = {
        {L"FloatingBall", &Preferences::load_floating_ball, &Preferences::save_floating_ball, false},
        {L"FloatingBallDock", &Preferences::load_floating_ball_dock, &Preferences::save_floating_ball_dock, true},
        {L"CheckUpdates", &Preferences::load_check_updates, &Preferences::save_check_updates, false},
    };
    for (const Flag& f : flags)
        for (bool on : {true, false}) {
            EXPECT_EQ((p.*f.save)(on), std::nullopt);
            EXPECT_EQ(raw(where_.key, f.name), dword(on)) << f.name;
            EXPECT_EQ((p.*f.load)(), on) << f.name;
            put_dword(f.name, 2);
            EXPECT_EQ((p.*f.load)(), f.when_two) << f.name;
        }
}

TEST_F(PreferencesRegistry, OnlyFourByteDwordsCount) {
    Preferences p = store();
    // Data that would move each value off its default if it were taken as a number.
    struct Target {
        const wchar_t* name;
        DWORD tempting;
        std::function<bool()> at_default;
    } const targets[] = {
        {L"FloatingBall", 1, [&] { return !p.load_floating_ball(); }},
        {L"FloatingBallDock", 0, [&] { return p.load_floating_ball_dock(); }},
        {L"CheckUpdates", 1, [&] { return !p.load_check_updates(); }},
        {L"ColorScheme", 0x3123456, [&] { return p.load_color_scheme() == ColorSchemeSetting{0, 0x5E650C}; }},
        {L"HiddenTools", 0x1F, [&] { return p.load_visible_tools() == ToolMask::all(); }},
        {L"VisibleTools", 0x00, [&] { return p.load_visible_tools() == ToolMask::all(); }},
    };
    const std::pair<DWORD, std::function<Bytes(DWORD)>> forms[] = {
        {REG_SZ, [](DWORD v) { return text(std::to_wstring(v)); }},
        {REG_EXPAND_SZ, [](DWORD v) { return text(std::to_wstring(v)); }},
        {REG_QWORD, [](DWORD v) { return padded(bytes(&v, 4), 4); }},
        {REG_BINARY, [](DWORD v) { return bytes(&v, 4); }},
        {REG_DWORD_BIG_ENDIAN, [](DWORD v) { return bytes(&v, 4); }},
        {REG_DWORD, [](DWORD v) { return bytes(&v, 2); }},
        {REG_DWORD, [](DWORD v) { return padded(bytes(&v, 4), 4); }},
        {REG_DWORD, [](DWORD) { return Bytes(); }},
    };
    for (const Target& t : targets) {
        for (const auto& [type, data] : forms) {
            put(where_.key, t.name, type, data(t.tempting));
            EXPECT_TRUE(t.at_default()) << t.name << " type " << type << " size " << data(0).size();
        }
        put_dword(t.name, t.tempting);  // the same data as a real DWORD does count
        EXPECT_FALSE(t.at_default()) << t.name;
        RegDeleteKeyValueW(HKEY_CURRENT_USER, where_.key.c_str(), t.name);
    }
}

TEST_F(PreferencesRegistry, SchemeAndToolsAsStored) {
    Preferences p = store();
    EXPECT_EQ(p.save_color_scheme(3, 0x123456), std::nullopt);
    EXPECT_EQ(raw(where_.key, L"ColorScheme"), dword(0x3123456));
    EXPECT_EQ(message(p.save_color_scheme(4, 0)), "主题配色无效。");
    EXPECT_EQ(message(p.save_color_scheme(0, 0x1000000)), "主题配色无效。");
    EXPECT_EQ(p.load_color_scheme(), (ColorSchemeSetting{3, 0x123456}));  // nothing written

    put_dword(L"VisibleTools", 0x01);
    EXPECT_EQ(p.load_visible_tools(), ToolMask(0x11));
    EXPECT_EQ(p.save_visible_tools(ToolMask(0x03)), std::nullopt);
    EXPECT_EQ(raw(where_.key, L"HiddenTools"), dword(0x1C));
    EXPECT_EQ(raw(where_.key, L"VisibleTools"), dword(0x01));  // never rewritten...
    EXPECT_EQ(p.load_visible_tools(), ToolMask(0x03));         // ...and no longer read
    EXPECT_EQ(p.save_visible_tools(ToolMask()), std::nullopt);
    EXPECT_EQ(p.load_visible_tools(), ToolMask());
}

TEST_F(PreferencesRegistry, StartAtLoginOwnsOnlyItsExactEntry) {
    Preferences p = store();
    EXPECT_EQ(p.save_start_at_login(true), std::nullopt);
    EXPECT_EQ(raw(where_.run_key, L"Brivane"), as_sz(entry));
    EXPECT_EQ(p.load_start_at_login(), Login(true));
    EXPECT_EQ(store(L"D:\\Lumaro.exe").load_start_at_login(), Login(false));  // another copy's entry
    EXPECT_EQ(p.save_start_at_login(false), std::nullopt);
    EXPECT_FALSE(raw(where_.run_key, L"Brivane"));
    EXPECT_EQ(p.save_start_at_login(false), std::nullopt);

    const std::pair<DWORD, Bytes> foreign[] = {
        {REG_SZ, text(exe + L" --startup")},                  // unquoted
        {REG_SZ, text(L"\"" + exe + L"\"")},                  // no argument
        {REG_SZ, text(L"\"C:\\PROGRAM FILES\\Lumaro\\Lumaro.exe\" --startup")},
        {REG_SZ, padded(text(entry), 2)},                     // one unit too many
        {REG_SZ, text(entry + std::wstring(300, L' '))},      // longer than the read buffer
        {REG_EXPAND_SZ, text(entry)},
        {REG_MULTI_SZ, padded(text(entry), 2)},
        {REG_DWORD, text(L"1")},
    };
    for (const auto& [type, data] : foreign) {
        put(where_.run_key, L"Brivane", type, data);
        EXPECT_EQ(p.load_start_at_login(), Login(false)) << "type " << type << " size " << data.size();
        EXPECT_EQ(p.save_start_at_login(true), std::nullopt);
        EXPECT_EQ(raw(where_.run_key, L"Brivane"), as_sz(entry));
    }
}

TEST_F(PreferencesRegistry, ExecutablePathRules) {
    const std::wstring at_limit = L"C:\\" + std::wstring(245, L'a');
    Preferences fits = store(at_limit);
    EXPECT_EQ(fits.save_start_at_login(true), std::nullopt);
    EXPECT_EQ(raw(where_.run_key, L"Brivane")->second.size(), 522u);
    EXPECT_EQ(fits.load_start_at_login(), Login(true));

    const std::pair<std::optional<std::wstring>, std::string> cases[] = {
        {std::nullopt, "无法定位工具箱程序。"},
        {at_limit + L"a", "工具箱路径过长，请移到较短的路径后再开启。"},  // the other refusals: portable tests
    };
    for (const auto& [path, text] : cases) {
        Preferences p(where_, [located = path] { return located; });
        EXPECT_EQ(message(p.startup_command_line()), text);
        EXPECT_EQ(message(p.load_start_at_login()), text);  // an entry to compare with is there
        EXPECT_EQ(message(p.save_start_at_login(true)), text);
        EXPECT_EQ(p.save_start_at_login(false), std::nullopt);  // turning off needs no path
        EXPECT_EQ(p.load_start_at_login(), Login(false));
        ASSERT_EQ(fits.save_start_at_login(true), std::nullopt);
    }

    wchar_t module[MAX_PATH] = {};
    DWORD n = GetModuleFileNameW(nullptr, module, MAX_PATH);
    std::wstring expected = L"\"" + std::wstring(module, n) + L"\" --startup";
    expected.push_back(L'\0');
    EXPECT_EQ(std::get<std::wstring>(Preferences(where_).startup_command_line()), expected);
}

TEST_F(PreferencesRegistry, FailedSavesKeepTheStoredValueAndGiveTheCode) {
    Preferences p = store();
    ASSERT_EQ(p.save_floating_ball(true), std::nullopt);
    ASSERT_EQ(p.save_floating_ball_dock(false), std::nullopt);
    ASSERT_EQ(p.save_check_updates(true), std::nullopt);
    ASSERT_EQ(p.save_color_scheme(3, 0x123456), std::nullopt);
    ASSERT_EQ(p.save_visible_tools(ToolMask(0x05)), std::nullopt);
    ASSERT_EQ(p.save_start_at_login(true), std::nullopt);
    lock(where_.key, L"D:P(A;;KR;;;WD)");  // readable, not writable
    lock(where_.run_key, L"D:P(A;;KR;;;WD)");

    EXPECT_EQ(message(p.save_floating_ball(false)), "无法保存悬浮球设置（错误 5）。");
    EXPECT_EQ(message(p.save_floating_ball_dock(true)), "无法保存自动贴边设置（错误 5）。");
    EXPECT_EQ(message(p.save_check_updates(false)), "无法保存更新设置（错误 5）。");
    EXPECT_EQ(message(p.save_color_scheme(1, 0)), "无法保存主题配色（错误 5）。");
    EXPECT_EQ(message(p.save_visible_tools(ToolMask::all())), "无法保存工具列表（错误 5）。");
    EXPECT_EQ(message(p.save_start_at_login(false)), "无法更新开机启动设置（错误 5）。");
    EXPECT_EQ(message(store(L"D:\\L.exe").save_start_at_login(true)), "无法更新开机启动设置（错误 5）。");

    EXPECT_TRUE(p.load_floating_ball());
    EXPECT_FALSE(p.load_floating_ball_dock());
    EXPECT_TRUE(p.load_check_updates());
    EXPECT_EQ(p.load_color_scheme(), (ColorSchemeSetting{3, 0x123456}));
    EXPECT_EQ(p.load_visible_tools(), ToolMask(0x05));
    EXPECT_EQ(p.load_start_at_login(), Login(true));

    set_access(locked_.back(), L"D:P(A;;KW;;;WD)");  // writable, not readable: an error, not "off"
    EXPECT_EQ(message(p.load_start_at_login()), "无法读取开机启动设置（错误 5）。");
}

}  // namespace
