// The history store against real files under Wine, in a private LOCALAPPDATA.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cwchar>
#include <filesystem>
#include <fstream>
#include <thread>

#include "json_history/json_history.h"
#include "json_history/siphash.h"

namespace fs = std::filesystem;

namespace {

// File names here are ASCII.
std::wstring wide(std::string_view ascii) { return std::wstring(ascii.begin(), ascii.end()); }

class HistoryStore : public ::testing::Test {
protected:
    HistoryPath root;
    HistoryPath dir;

    void SetUp() override {
        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        root = join_path(temp, L"lumaro-history-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                                   std::to_wstring(GetTickCount64()) + L"-" + std::to_wstring(counter++));
        fs::create_directories(root);
        SetEnvironmentVariableW(L"LOCALAPPDATA", root.c_str());
        dir = join_path(join_path(root, L"Lumaro"), L"json-history");
    }
    void TearDown() override {
        std::error_code ec;
        fs::remove_all(root, ec);
    }

    static std::string read_file(const fs::path& p) {
        std::ifstream in(p, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    void write_file(const std::string& name, const std::string& bytes) {
        fs::create_directories(dir);
        std::ofstream(fs::path(join_path(dir, wide(name))), std::ios::binary) << bytes;
    }
    // A record as a save would have written it.
    void put_record(Uint128 created, const std::string& text) {
        write_file(record_file_name(created, content_hash(text)), text);
    }
    JsonHistoryListing saved(const std::string& text) {
        auto r = save_history(text);
        if (auto* e = std::get_if<HistoryError>(&r)) ADD_FAILURE() << e->message;
        return std::get<JsonHistoryListing>(r);
    }
    JsonHistoryListing listed() {
        auto r = list_history(dir);
        if (auto* e = std::get_if<HistoryError>(&r)) ADD_FAILURE() << e->message;
        return std::get<JsonHistoryListing>(r);
    }
    std::vector<std::string> names_on_disk() {
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(dir)) names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

private:
    static inline int counter = 0;
};

TEST_F(HistoryStore, MissingDirectoryListsEmptyAndTheFirstSaveCreatesIt) {
    EXPECT_TRUE(listed().empty());
    JsonHistoryListing l = saved("{\"a\":1}");
    ASSERT_EQ(l.size(), 1u);
    EXPECT_EQ(std::wstring(path_file_name(l[0].path)), wide(record_file_name(l[0].created, content_hash("{\"a\":1}"))));
    EXPECT_EQ(read_file(l[0].path), "{\"a\":1}");
    EXPECT_EQ(l[0].preview, "{\"a\":1}");
    EXPECT_TRUE(fs::exists(join_path(dir, L"history.lock")));
    EXPECT_FALSE(fs::exists(join_path(dir, L"pending.tmp")));
}

TEST_F(HistoryStore, TheFirstSaveCreatesEveryMissingParent) {
    const HistoryPath deep = join_path(join_path(root, L"新 目录"), L"deeper\\");
    SetEnvironmentVariableW(L"LOCALAPPDATA", deep.c_str());
    auto r = save_history("[1]");
    ASSERT_TRUE(std::holds_alternative<JsonHistoryListing>(r));
    ASSERT_EQ(std::get<JsonHistoryListing>(r).size(), 1u);
    const HistoryPath made = join_path(join_path(deep, L"Lumaro"), L"json-history");
    EXPECT_TRUE(std::get<JsonHistoryListing>(r)[0].path.starts_with(made + L"\\"));
    EXPECT_TRUE(fs::exists(join_path(made, L"history.lock")));
}

TEST_F(HistoryStore, AFileInPlaceOfTheDirectoryFailsWithTheSystemsCode) {
    fs::create_directories(join_path(root, L"Lumaro"));
    std::ofstream(fs::path(dir)) << "not a directory";
    auto r = save_history("{}");
    ASSERT_TRUE(std::holds_alternative<HistoryError>(r));
    const HistoryError& e = std::get<HistoryError>(r);
    EXPECT_EQ(e.kind, HistoryErrorKind::os);
    EXPECT_EQ(e.os_code, static_cast<std::uint32_t>(ERROR_ALREADY_EXISTS));
    EXPECT_TRUE(e.message.ends_with(" (os error 183)")) << e.message;
}

TEST_F(HistoryStore, SavingTheNewestTextAgainChangesNothing) {
    saved("one");
    JsonHistoryListing before = saved("two");
    auto names = names_on_disk();
    JsonHistoryListing after = saved("two");
    EXPECT_EQ(names_on_disk(), names);
    ASSERT_EQ(after.size(), 2u);
    EXPECT_EQ(after[0].path, before[0].path);
    EXPECT_TRUE(after[0].created == before[0].created);
}

TEST_F(HistoryStore, AnOlderCopyMovesToTheTopWithoutBeingWrittenAgain) {
    JsonHistoryListing first = saved("alpha");
    saved("beta");
    JsonHistoryListing l = saved("alpha");
    ASSERT_EQ(l.size(), 2u);
    EXPECT_EQ(read_file(l[0].path), "alpha");
    EXPECT_EQ(read_file(l[1].path), "beta");
    EXPECT_TRUE(l[0].created > l[1].created);
    EXPECT_FALSE(fs::exists(first[0].path));
    EXPECT_EQ(names_on_disk().size(), 3u);  // two records and the lock file
}

TEST_F(HistoryStore, CreatedIsStrictlyIncreasingEvenWithinOneTick) {
    const Uint128 future = Uint128{4'000'000'000'000'000'000ull} * 10;  // far beyond the clock
    put_record(future, "from the future");
    JsonHistoryListing l = saved("now");
    EXPECT_TRUE(l[0].created == future + 1);
    for (int i = 0; i < 5; ++i) l = saved("text " + std::to_string(i));
    for (std::size_t i = 1; i < l.size(); ++i) EXPECT_TRUE(l[i - 1].created > l[i].created);
    EXPECT_EQ(read_file(l[0].path), "text 4");
}

TEST_F(HistoryStore, CreatedSaturatesAtTheLargestValue) {
    const Uint128 max = ~Uint128{0};
    put_record(max, "last possible");
    JsonHistoryListing l = saved("after it");
    ASSERT_EQ(l.size(), 2u);
    EXPECT_TRUE(l[0].created == max && l[1].created == max);
    // Equal stamps keep the directory's order; both records stay intact.
    std::vector<std::string> texts = {read_file(l[0].path), read_file(l[1].path)};
    std::sort(texts.begin(), texts.end());
    EXPECT_EQ(texts, (std::vector<std::string>{"after it", "last possible"}));
}

TEST_F(HistoryStore, TrimsToTheTenNewestAndLeavesOtherFilesAlone) {
    for (int i = 1; i <= 12; ++i) put_record(static_cast<Uint128>(i), "record " + std::to_string(i));
    const char* odd[] = {"notes.txt", "abc.json", "12-zz.json", "-1.json", "5-1.JSON"};
    for (const char* name : odd) write_file(name, "x");
    fs::create_directories(join_path(dir, L"1-1.json"));
    JsonHistoryListing l = saved("newest");
    ASSERT_EQ(l.size(), 10u);
    EXPECT_EQ(read_file(l[0].path), "newest");
    for (std::size_t i = 1; i < 10; ++i) EXPECT_EQ(read_file(l[i].path), "record " + std::to_string(13 - i));
    for (const char* name : odd) EXPECT_TRUE(fs::exists(join_path(dir, wide(name)))) << name;
    EXPECT_TRUE(fs::is_directory(join_path(dir, L"1-1.json")));
    EXPECT_FALSE(fs::exists(join_path(dir, wide(record_file_name(3, content_hash("record 3"))))));
}

TEST_F(HistoryStore, LenientNamesAreListed) {
    write_file("+5-+a.json", "plus");
    write_file("7-00ffffffffffffffff.json", "zeros");
    write_file("notes.txt", "x");
    JsonHistoryListing l = listed();
    ASSERT_EQ(l.size(), 2u);
    EXPECT_TRUE(l[0].created == 7);
    EXPECT_EQ(l[0].content_hash, 0xffffffffffffffffull);
    EXPECT_TRUE(l[1].created == 5);
    EXPECT_EQ(l[1].content_hash, 10u);
    EXPECT_EQ(l[1].preview, "plus");
}

TEST_F(HistoryStore, EqualStampsKeepTheEnumerationOrder) {
    const char* names[] = {"7-c.json", "6-1.json", "7-a.json", "8-1.json", "7-e.json", "7-b.json", "7-d.json"};
    for (const char* name : names) write_file(name, name);
    std::vector<std::uint64_t> sevens;  // as the directory enumerates them
    WIN32_FIND_DATAW fd;
    HANDLE find =
        FindFirstFileExW(join_path(dir, L"7-*").c_str(), FindExInfoBasic, &fd, FindExSearchNameMatch, nullptr, 0);
    ASSERT_NE(find, INVALID_HANDLE_VALUE);
    do sevens.push_back(std::wcstoull(fd.cFileName + 2, nullptr, 16));
    while (FindNextFileW(find, &fd));
    FindClose(find);
    ASSERT_EQ(sevens.size(), 5u);

    JsonHistoryListing l = listed();
    ASSERT_EQ(l.size(), 7u);
    EXPECT_TRUE(l[0].created == 8);
    std::vector<std::uint64_t> listed_sevens;
    for (std::size_t i = 1; i <= 5; ++i) {
        EXPECT_TRUE(l[i].created == 7);
        listed_sevens.push_back(l[i].content_hash);
    }
    EXPECT_EQ(listed_sevens, sevens);
    EXPECT_TRUE(l[6].created == 6);
    for (const JsonHistoryEntry& e : l) EXPECT_EQ(wide(read_file(e.path)), path_file_name(e.path));  // its own name
}

TEST_F(HistoryStore, PreviewsOfTheTenNewestOnly) {
    for (int i = 1; i <= 11; ++i) put_record(static_cast<Uint128>(i), i == 11 ? " \r\n \t" : "[ " + std::to_string(i) + " ]");
    put_record(100, std::string(255, ' ') + "\xE4\xB8\xAD" + "tail");
    JsonHistoryListing l = listed();
    ASSERT_EQ(l.size(), 12u);
    EXPECT_EQ(l[0].preview, "\xEF\xBF\xBD");  // the character cut at byte 256
    EXPECT_EQ(l[1].preview, "JSON 文本");
    EXPECT_EQ(l[2].preview, "[ 10 ]");
    EXPECT_EQ(l[10].preview, "");
    EXPECT_EQ(l[11].preview, "");
}

TEST_F(HistoryStore, LoadChecksSizeNulAndEncoding) {
    fs::create_directories(dir);
    struct Case {
        std::string name, bytes;
        const char* error;  // null: loads back unchanged
    };
    std::string exact(history_record_limit, 'a');
    const Case cases[] = {
        {"1-1.json", exact, nullptr},
        {"2-1.json", exact + "a", "无效的历史记录"},
        {"3-1.json", std::string("{\"a\":\0}", 7), "无效的历史记录"},
        {"4-1.json", "{\"a\":\"\xFF\"}", "stream did not contain valid UTF-8"},
        {"5-1.json", "", nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        write_file(c.name, c.bytes);
        auto r = load_history_record(join_path(dir, wide(c.name)));
        if (c.error) {
            ASSERT_TRUE(std::holds_alternative<HistoryError>(r));
            EXPECT_EQ(std::get<HistoryError>(r).kind, HistoryErrorKind::invalid_data);
            EXPECT_EQ(std::get<HistoryError>(r).message, c.error);
        } else {
            ASSERT_TRUE(std::holds_alternative<std::string>(r));
            EXPECT_TRUE(std::get<std::string>(r) == c.bytes);
        }
    }
    auto missing = load_history_record(join_path(dir, L"9-9.json"));
    ASSERT_TRUE(std::holds_alternative<HistoryError>(missing));
    EXPECT_EQ(std::get<HistoryError>(missing).os_code, 2u);
    EXPECT_NE(std::get<HistoryError>(missing).message.find(" (os error 2)"), std::string::npos);
}

TEST_F(HistoryStore, NoLocalAppDataMeansNoHistory) {
    SetEnvironmentVariableW(L"LOCALAPPDATA", nullptr);
    EXPECT_FALSE(history_directory().has_value());
    auto r = save_history("{}");
    ASSERT_TRUE(std::holds_alternative<HistoryError>(r));
    EXPECT_EQ(std::get<HistoryError>(r).kind, HistoryErrorKind::no_directory);
    EXPECT_EQ(std::get<HistoryError>(r).message, "本地数据目录不可用");
}

TEST_F(HistoryStore, ASaveWhileAnotherHoldsTheLockFailsAtOnce) {
    saved("first");
    HANDLE lock = CreateFileW(join_path(dir, L"history.lock").c_str(), GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS, 0, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    auto r = save_history("second");
    CloseHandle(lock);
    ASSERT_TRUE(std::holds_alternative<HistoryError>(r));
    EXPECT_EQ(std::get<HistoryError>(r).os_code, static_cast<std::uint32_t>(ERROR_SHARING_VIOLATION));
    ASSERT_EQ(listed().size(), 1u);
    EXPECT_EQ(saved("second").size(), 2u);
}

TEST_F(HistoryStore, AnInterruptedSaveIsRecoveredByTheNext) {
    saved("kept");
    write_file("pending.tmp", "half-written garbage that is longer than the next text");
    JsonHistoryListing l = saved("next");
    ASSERT_EQ(l.size(), 2u);
    EXPECT_EQ(read_file(l[0].path), "next");
    EXPECT_EQ(read_file(l[1].path), "kept");
    EXPECT_FALSE(fs::exists(join_path(dir, L"pending.tmp")));
}

TEST_F(HistoryStore, ConcurrentSavesNeverLeaveAPartialRecord) {
    std::atomic<int> ok{0}, refused{0}, other{0};
    auto worker = [&](char tag) {
        for (int i = 0; i < 40; ++i) {
            std::string text = std::string(1000 + i, tag) + std::to_string(i);
            auto r = save_history(text);
            if (std::holds_alternative<JsonHistoryListing>(r))
                ++ok;
            else if (std::get<HistoryError>(r).os_code == ERROR_SHARING_VIOLATION)
                ++refused;
            else
                ++other;
        }
    };
    std::thread a(worker, 'a'), b(worker, 'b');
    a.join();
    b.join();
    EXPECT_EQ(other.load(), 0);
    EXPECT_GT(ok.load(), 0);
    EXPECT_EQ(ok + refused, 80);
    JsonHistoryListing l = listed();
    EXPECT_LE(l.size(), 10u);
    for (const JsonHistoryEntry& e : l) {
        std::string text = read_file(e.path);
        EXPECT_EQ(content_hash(text), e.content_hash);  // complete, byte for byte
    }
}

TEST_F(HistoryStore, SaveWithTenRecordsTakesMilliseconds) {
    for (int i = 1; i <= 10; ++i) put_record(static_cast<Uint128>(i), "{\"record\": " + std::to_string(i) + "}");
    std::vector<double> ms;
    for (int i = 0; i < 15; ++i) {
        auto t = std::chrono::steady_clock::now();
        JsonHistoryListing l = saved("{\"run\": " + std::to_string(i) + "}");
        ms.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t).count());
        ASSERT_EQ(l.size(), 10u);
    }
    std::sort(ms.begin(), ms.end());
    RecordProperty("median_save_ms", std::to_string(ms[ms.size() / 2]));
    std::printf("median save with ten records: %.2f ms\n", ms[ms.size() / 2]);
}

}  // namespace
