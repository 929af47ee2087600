#include <gtest/gtest.h>

#include "main/startup_args.h"

namespace {

TEST(StartupArgs, OnlyTheExactArgumentAfterTheProgramPath) {
    struct Case {
        std::vector<std::wstring_view> args;
        bool startup;
    };
    const Case cases[] = {
        {{L"Lumaro.exe", L"--startup"}, true},
        {{L"Lumaro.exe", L"x", L"--startup", L"y"}, true},
        {{L"--startup"}, false},  // the program path itself
        {{L"Lumaro.exe", L"--Startup"}, false},
        {{L"Lumaro.exe", L"--startupx"}, false},
        {{L"Lumaro.exe", L" --startup"}, false},
        {{L"Lumaro.exe"}, false},
        {{}, false},
    };
    for (const Case& c : cases) EXPECT_EQ(has_startup_flag(c.args), c.startup);
}

}  // namespace
