#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "timestamp/local_zone_win.h"

// The suites named Tz* need TZ set for the run (tests/CMakeLists.txt runs
// them once per zone) and skip under any other. Every test of such a suite,
// in whichever file, uses the suite's fixture from here.

class TzTest : public ::testing::Test {
protected:
    void require_tz(const char* name) {
        const char* tz = std::getenv("TZ");
        if (tz == nullptr || std::string(tz) != name) GTEST_SKIP() << "needs TZ=" << name;
    }
    WindowsLocalZone zone;
};

class TzNewYork : public TzTest {
protected:
    void SetUp() override { require_tz("America/New_York"); }
};
class TzShanghai : public TzTest {
protected:
    void SetUp() override { require_tz("Asia/Shanghai"); }
};
class TzUtc : public TzTest {
protected:
    void SetUp() override { require_tz("UTC"); }
};
