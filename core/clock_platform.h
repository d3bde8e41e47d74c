#pragma once

// What the clock texts ask of the platform: the user's formats, and writing and reading a
// moment with them. One file a platform implements it: POSIX (strftime and strptime in the
// LC_TIME locale) or Windows (the user's formats through GetLocaleInfoEx).
#include <ctime>
#include <string>
#include <vector>

#include "core/clock_text.h"

namespace quilvane::clock_platform {

// Names the formats in force; the patterns are decided once for each.
std::string LocaleKey();

// The candidate patterns in order of preference: the locale's own pair first, then the
// nearest sound forms (a four-digit year, a 24-hour time with seconds, ISO 8601 last).
std::vector<ClockPatterns> Candidates();

// The date part (or the time part) of a moment as UTF-8; empty where it has no such form.
std::string Write(const ClockPatterns& p, bool datePart, const std::tm& tm);

// Reads a whole UTF-8 text written with the date pattern alone, or with date, one blank and
// time; false when it is not such a text or anything is left over.
bool Read(const ClockPatterns& p, bool withTime, const std::string& text, std::tm& tm);

// The current local date and time, for any year the system clock may read.
Moment Now();

}  // namespace quilvane::clock_platform
