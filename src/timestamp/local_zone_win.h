#pragma once

#include <windows.h>

#include <map>
#include <optional>

#include "timestamp/local_zone.h"

// The system's local zone: the current dynamic time-zone information, with
// the rules of each year from GetTimeZoneInformationForYear. Years outside
// 1601..30827 (what the call takes) use the rules of the nearest such year.
// The zone is read when the object is made and each year's rules when first
// needed; make one per conversion to follow a change of the system's zone.
// Use from one thread.
class WindowsLocalZone final : public RuleZone {
public:
    WindowsLocalZone();

protected:
    std::optional<YearRules> rules_for_year(std::int64_t year) const override;

private:
    std::optional<DYNAMIC_TIME_ZONE_INFORMATION> dynamic_;  // none when the system gave none
    mutable std::map<std::int64_t, YearRules> cache_;
};
