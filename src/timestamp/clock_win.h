#pragma once

#include "timestamp/timestamp_convert.h"

// The system clock (GetSystemTimePreciseAsFileTime) as Unix time.
UnixTime read_system_clock();
