#include <gtest/gtest.h>

#include "json_history/history_path.h"

namespace {

TEST(JoinPath, OneSeparatorBetweenDirectoryAndName) {
    struct Case {
        const wchar_t* directory;
        const wchar_t* name;
        const wchar_t* joined;
    };
    const Case cases[] = {
        {L"C:\\Users\\a\\AppData\\Local", L"Lumaro", L"C:\\Users\\a\\AppData\\Local\\Lumaro"},
        {L"C:\\Users\\a\\AppData\\Local\\", L"Lumaro", L"C:\\Users\\a\\AppData\\Local\\Lumaro"},
        {L"C:/data/", L"Lumaro", L"C:/data/Lumaro"},
        {L"C:\\", L"Lumaro", L"C:\\Lumaro"},
        {L"C:", L"Lumaro", L"C:Lumaro"},
        {L"", L"Lumaro", L"Lumaro"},
        {L"relative", L"json-history", L"relative\\json-history"},
        {L"\\\\server\\share", L"*", L"\\\\server\\share\\*"},
        {L"C:\\本地", L"1-1.json", L"C:\\本地\\1-1.json"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.directory)));
        EXPECT_TRUE(join_path(c.directory, c.name) == c.joined);
    }
}

TEST(PathFileName, TheLastComponent) {
    struct Case {
        const wchar_t* path;
        const wchar_t* name;
    };
    const Case cases[] = {
        {L"C:\\a\\json-history\\5-00000000000000ff.json", L"5-00000000000000ff.json"},
        {L"C:/a/b.json", L"b.json"},
        {L"C:b.json", L"b.json"},
        {L"b.json", L"b.json"},
        {L"C:\\a\\", L""},
        {L"", L""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.path)));
        EXPECT_TRUE(path_file_name(c.path) == c.name);
    }
}

TEST(PathParent, TheDirectoryToMakeFirst) {
    struct Case {
        const wchar_t* path;
        const wchar_t* parent;
    };
    const Case cases[] = {
        {L"C:\\Local\\Lumaro\\json-history", L"C:\\Local\\Lumaro"},
        {L"C:\\Local\\Lumaro\\", L"C:\\Local"},
        {L"C:/Local//Lumaro", L"C:/Local"},
        {L"relative\\json-history", L"relative"},
        {L"\\\\server\\share\\Lumaro", L"\\\\server\\share"},
        {L"C:\\Lumaro", L""},
        {L"C:\\", L""},
        {L"\\Lumaro", L""},
        {L"\\\\server", L""},
        {L"Lumaro", L""},
        {L"", L""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.path)));
        EXPECT_TRUE(path_parent(c.path) == c.parent);
    }
}

}  // namespace
