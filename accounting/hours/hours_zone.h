#pragma once
// The time zone allowed hours are read in. Any account may change the system's zone, which
// would move a bedtime wherever it liked; so the zone the system had when the supervisor last
// set hours is kept with them, and the hours are read in it, whatever the zone is later.
#include <string>
#include <string_view>

#include "accounting/hours/allowed_hours.h"
#include "runtime/clock.h"

// "BIAS STANDARD DAYLIGHT CHANGE CHANGE", the minutes and both changes (month.weekday.week.day.
// hour.minute, summer time's end first) as numbers.
std::string zoneStorageText(const rt::ZoneRule& zone);
// Reads what zoneStorageText wrote; false on anything else.
bool readZoneText(std::string_view text, rt::ZoneRule& zone);
// "UTC+01:00", with ", UTC+02:00 in summer time" when the zone has one.
std::string zoneText(const rt::ZoneRule& zone);
// The moment in `zone` now, by the clock's universal time.
Moment zoneMoment(const rt::ZoneRule& zone);
