#pragma once

#include <string>

// The built program's path (LUMARO_EXE, a Unix path) as Wine's Z: drive shows it.
inline std::wstring lumaro_exe() {
    std::string unix_path = LUMARO_EXE;
    std::wstring path = L"Z:";
    for (char c : unix_path) path += c == '/' ? L'\\' : static_cast<wchar_t>(c);
    return path;
}
