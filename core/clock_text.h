#pragma once

#include <chrono>
#include <functional>
#include <string>
#include <string_view>

namespace quilvane {

// A local date and time of day in whole seconds, without a time zone.
using Moment = std::chrono::local_seconds;

// The strftime patterns of the clock texts under the current LC_TIME locale: its own date
// and time patterns where they show the seconds and read back for every moment, otherwise
// the nearest sound form (a four-digit year, a 24-hour time with seconds, or ISO 8601).
// Decided once per locale by probing moments.
struct ClockPatterns {
    std::string date;
    std::string time;
    bool own = false;      // the locale's own pair
    std::string codeset;   // what strftime writes in: the LC_TIME locale's character set
};
ClockPatterns CurrentClockPatterns();

// The room a clock text has where the window shows it: a test of a whole text (UTF-8).
// Patterns whose widest text fails it give way to the compact forms, decided once per locale.
// Setting it starts the decisions afresh.
void SetClockTextFits(std::function<bool(std::string_view)> fits);

// The locale's short date, a blank and its time of day; the date alone at 00:00:00. UTF-8,
// whatever the locale's own character set. std::invalid_argument for a year outside 1 to 9999.
std::string ClockText(Moment m);

// Reads back a text written by ClockText under the same LC_TIME locale.
// std::invalid_argument when the text is not such a text.
Moment ReadClockText(std::string_view text);

// The current local date and time, whole seconds.
Moment NowLocal();

// Whole seconds from earlier to later; negative when later lies before earlier.
long long SecondsSince(Moment earlier, Moment later);

}  // namespace quilvane
