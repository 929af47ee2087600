#include "main/startup_args.h"

bool has_startup_flag(const std::vector<std::wstring_view>& args) {
    for (std::size_t i = 1; i < args.size(); ++i)
        if (args[i] == L"--startup") return true;
    return false;
}
