#include "timestamp/clock_win.h"

#include <windows.h>

UnixTime read_system_clock() {
    FILETIME now{};
    GetSystemTimePreciseAsFileTime(&now);
    return unix_time_from_filetime((std::uint64_t{now.dwHighDateTime} << 32) | now.dwLowDateTime);
}
