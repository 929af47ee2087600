#include <windows.h>

#include <algorithm>

#include "json/utf8.h"
#include "json_history/json_history.h"
#include "json_history/siphash.h"
#include "ui/controls_win.h"
#include "ui/system_error_win.h"

namespace {

constexpr DWORD share_all = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

// Closes its handle on every path out of a save or a read.
class FileHandle {
public:
    explicit FileHandle(HANDLE h) : h_(h) {}
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    ~FileHandle() { close(); }
    bool ok() const { return h_ != INVALID_HANDLE_VALUE; }
    HANDLE get() const { return h_; }
    bool close() {
        if (!ok()) return true;
        BOOL closed = CloseHandle(h_);
        h_ = INVALID_HANDLE_VALUE;
        return closed != 0;
    }

private:
    HANDLE h_;
};

HistoryError os_error(DWORD code) {
    HistoryError e;
    e.kind = HistoryErrorKind::os;
    e.os_code = code;
    e.message = system_error_text(code);
    return e;
}

HistoryError last_error() { return os_error(GetLastError()); }

HistoryError invalid_data(const char* message) {
    HistoryError e;
    e.kind = HistoryErrorKind::invalid_data;
    e.message = message;
    return e;
}

// Reads up to limit bytes; fewer only at the end of the file.
std::optional<HistoryError> read_up_to(HANDLE h, std::size_t limit, std::string& out) {
    out.clear();
    constexpr DWORD chunk = 1 << 20;
    for (;;) {
        std::size_t want = std::min<std::size_t>(chunk, limit - out.size());
        if (want == 0) return std::nullopt;
        std::size_t old = out.size();
        out.resize(old + want);
        DWORD got = 0;
        if (!ReadFile(h, out.data() + old, static_cast<DWORD>(want), &got, nullptr)) {
            HistoryError e = last_error();
            out.resize(old);
            return e;
        }
        out.resize(old + got);
        if (got == 0) return std::nullopt;
    }
}

HANDLE open_for_reading(const HistoryPath& path) {
    return CreateFileW(path.c_str(), GENERIC_READ, share_all, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
}

bool is_plain_file(const WIN32_FIND_DATAW& fd) {
    if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return false;
    if ((fd.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) && IsReparseTagNameSurrogate(fd.dwReserved0))
        return false;
    return true;
}

Uint128 now_nanoseconds() {
    FILETIME ft;
    GetSystemTimePreciseAsFileTime(&ft);
    std::uint64_t ticks = (std::uint64_t{ft.dwHighDateTime} << 32) | ft.dwLowDateTime;
    constexpr std::uint64_t unix_epoch = 116'444'736'000'000'000ull;  // 1970 in 100 ns ticks since 1601
    if (ticks < unix_epoch) return 0;
    return Uint128{ticks - unix_epoch} * 100;
}

std::optional<HistoryError> write_record(const HistoryPath& pending, const HistoryPath& target, std::string_view text) {
    FileHandle file(CreateFileW(pending.c_str(), GENERIC_WRITE, share_all, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.ok()) return last_error();
    std::size_t done = 0;
    while (done < text.size()) {
        DWORD n = static_cast<DWORD>(std::min<std::size_t>(text.size() - done, 1u << 30));
        DWORD written = 0;
        if (!WriteFile(file.get(), text.data() + done, n, &written, nullptr)) return last_error();
        done += written;
    }
    if (!FlushFileBuffers(file.get())) return last_error();
    if (!file.close()) return last_error();
    if (!MoveFileExW(pending.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING)) return last_error();
    return std::nullopt;
}

// Whether the record at entry holds exactly text; any failure means no.
bool holds_text(const JsonHistoryEntry& entry, std::string_view text) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(entry.path.c_str(), GetFileExInfoStandard, &data)) return false;
    std::uint64_t size = (std::uint64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow;
    if (size != text.size()) return false;
    auto loaded = load_history_record(entry.path);
    auto* stored = std::get_if<std::string>(&loaded);
    return stored && *stored == text;
}

bool is_directory(const HistoryPath& path) {
    DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// The directory and any missing parents; an existing directory is fine.
std::optional<HistoryError> create_directories(const HistoryPath& directory) {
    if (CreateDirectoryW(directory.c_str(), nullptr)) return std::nullopt;
    DWORD code = GetLastError();
    if (code == ERROR_PATH_NOT_FOUND) {
        std::wstring_view parent = path_parent(directory);
        if (!parent.empty()) {
            if (auto e = create_directories(HistoryPath(parent))) return e;
            if (CreateDirectoryW(directory.c_str(), nullptr)) return std::nullopt;
            code = GetLastError();
        }
    }
    // Another save may have made it meanwhile.
    if (code == ERROR_ALREADY_EXISTS && is_directory(directory)) return std::nullopt;
    return os_error(code);
}

// By created, largest first; equal stamps keep the enumeration order. Sorting
// small keys instead of the entries keeps the sort's code small too.
JsonHistoryListing newest_first(JsonHistoryListing listing) {
    struct Key {
        Uint128 created;
        std::size_t index;
    };
    std::vector<Key> keys(listing.size());
    for (std::size_t i = 0; i < listing.size(); ++i) keys[i] = {listing[i].created, i};
    std::sort(keys.begin(), keys.end(), [](const Key& a, const Key& b) {
        return a.created != b.created ? a.created > b.created : a.index < b.index;
    });
    JsonHistoryListing sorted;
    sorted.reserve(listing.size());
    for (const Key& k : keys) sorted.push_back(std::move(listing[k.index]));
    return sorted;
}

}  // namespace

std::optional<HistoryPath> history_directory() {
    DWORD n = GetEnvironmentVariableW(L"LOCALAPPDATA", nullptr, 0);
    if (n == 0) return std::nullopt;
    std::wstring value(n, L'\0');
    n = GetEnvironmentVariableW(L"LOCALAPPDATA", value.data(), n);
    value.resize(n);
    return join_path(join_path(value, L"Lumaro"), L"json-history");
}

std::variant<JsonHistoryListing, HistoryError> list_history(const HistoryPath& directory) {
    JsonHistoryListing listing;
    WIN32_FIND_DATAW fd;
    HANDLE find =
        FindFirstFileExW(join_path(directory, L"*").c_str(), FindExInfoBasic, &fd, FindExSearchNameMatch, nullptr, 0);
    if (find == INVALID_HANDLE_VALUE) {
        DWORD code = GetLastError();
        if (code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND) return listing;
        return os_error(code);
    }
    do {
        // Record names are ASCII, so a lone surrogate's U+FFFD never parses.
        std::optional<RecordName> parsed = parse_record_name(from_wide(fd.cFileName));
        if (!parsed || !is_plain_file(fd)) continue;
        listing.push_back({join_path(directory, fd.cFileName), parsed->created, parsed->content_hash, {}});
    } while (FindNextFileW(find, &fd));
    DWORD code = GetLastError();
    FindClose(find);
    if (code != ERROR_NO_MORE_FILES) return os_error(code);

    listing = newest_first(std::move(listing));
    for (std::size_t i = 0; i < listing.size() && i < history_keep; ++i) {
        FileHandle file(open_for_reading(listing[i].path));
        if (!file.ok()) return last_error();
        std::string head;
        if (auto e = read_up_to(file.get(), preview_read_bytes, head)) return *e;
        listing[i].preview = make_preview(head);
    }
    return listing;
}

std::variant<JsonHistoryListing, HistoryError> save_history(std::string_view text) {
    std::optional<HistoryPath> directory = history_directory();
    if (!directory) {
        HistoryError e;
        e.kind = HistoryErrorKind::no_directory;
        e.message = "本地数据目录不可用";
        return e;
    }
    if (auto e = create_directories(*directory)) return *e;

    // Held without sharing for the whole save: a second save, in this process
    // or another, fails at once instead of interleaving with this one.
    FileHandle lock(CreateFileW(join_path(*directory, L"history.lock").c_str(), GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!lock.ok()) return last_error();

    auto listed = list_history(*directory);
    if (auto* e = std::get_if<HistoryError>(&listed)) return *e;
    JsonHistoryListing listing = std::move(std::get<JsonHistoryListing>(listed));

    const std::uint64_t hash = content_hash(text);
    std::optional<std::size_t> copy;
    for (std::size_t i = 0; i < listing.size(); ++i) {
        if (listing[i].content_hash == hash && holds_text(listing[i], text)) {
            copy = i;
            break;
        }
    }

    if (copy != std::size_t{0}) {
        Uint128 created = now_nanoseconds();
        if (!listing.empty()) {
            Uint128 after = listing.front().created;
            if (after != ~Uint128{0}) ++after;
            created = std::max(created, after);
        }
        const std::string name = record_file_name(created, hash);  // ASCII only
        HistoryPath target = join_path(*directory, std::wstring(name.begin(), name.end()));
        if (copy) {
            if (!MoveFileExW(listing[*copy].path.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING)) return last_error();
            listing.erase(listing.begin() + static_cast<std::ptrdiff_t>(*copy));
        } else if (auto e = write_record(join_path(*directory, L"pending.tmp"), target, text)) {
            return *e;
        }
        listing.insert(listing.begin(), JsonHistoryEntry{target, created, hash, {}});
    }

    for (std::size_t i = history_keep; i < listing.size(); ++i) {
        if (!DeleteFileW(listing[i].path.c_str())) return last_error();
    }
    return list_history(*directory);
}

std::variant<std::string, HistoryError> load_history_record(const HistoryPath& path) {
    FileHandle file(open_for_reading(path));
    if (!file.ok()) return last_error();
    std::string text;
    if (auto e = read_up_to(file.get(), history_record_limit + 1, text)) return *e;
    if (!is_valid_utf8(text)) return invalid_data("stream did not contain valid UTF-8");
    if (text.size() > history_record_limit || text.find('\0') != std::string::npos)
        return invalid_data("无效的历史记录");
    return text;
}
