#pragma once

#include <string>
#include <string_view>

// Paths in the system's own wide form, handed to the Win32 file calls as they are.
using HistoryPath = std::wstring;

// directory, then name, with one separator between them unless the directory
// is empty, already ends in a separator or is a bare drive ("C:" names that
// drive's current directory, so "C:" and "x" make "C:x").
HistoryPath join_path(std::wstring_view directory, std::wstring_view name);

// What follows the last separator (or the drive's colon).
std::wstring_view path_file_name(std::wstring_view path);

// The directory that holds path, without trailing separators; empty when path
// has none or lies directly in a root ("C:\\", "\\\\server\\"), which cannot be made.
std::wstring_view path_parent(std::wstring_view path);
