#include "json_history/history_path.h"

namespace {

bool is_separator(wchar_t c) { return c == L'\\' || c == L'/'; }

bool is_bare_drive(std::wstring_view p) { return p.size() == 2 && p[1] == L':' && !is_separator(p[0]); }

}  // namespace

HistoryPath join_path(std::wstring_view directory, std::wstring_view name) {
    HistoryPath joined;
    joined.reserve(directory.size() + 1 + name.size());
    joined.append(directory);
    if (!directory.empty() && !is_separator(directory.back()) && !is_bare_drive(directory)) joined.push_back(L'\\');
    joined.append(name);
    return joined;
}

std::wstring_view path_file_name(std::wstring_view path) {
    std::size_t cut = path.find_last_of(L"\\/");
    if (cut == std::wstring_view::npos && path.size() >= 2 && path[1] == L':') cut = 1;
    return cut == std::wstring_view::npos ? path : path.substr(cut + 1);
}

std::wstring_view path_parent(std::wstring_view path) {
    auto trim = [](std::wstring_view p) {
        while (!p.empty() && is_separator(p.back())) p.remove_suffix(1);
        return p;
    };
    std::wstring_view p = trim(path);
    std::size_t cut = p.find_last_of(L"\\/");
    if (cut == std::wstring_view::npos) return {};
    std::wstring_view parent = trim(p.substr(0, cut));
    if (parent.empty() || is_bare_drive(parent)) return {};
    return parent;
}
