#include "core/clock_text.h"

#include <functional>
#include <mutex>
#include <optional>
#include <stdexcept>
#include <vector>

#include "core/clock_platform.h"

namespace quilvane {

namespace {

std::tm ToTm(Moment m) {
    using namespace std::chrono;
    const local_days day = floor<days>(m);
    const year_month_day ymd{day};
    const hh_mm_ss<seconds> time{m - day};
    std::tm tm{};
    tm.tm_year = static_cast<int>(ymd.year()) - 1900;
    tm.tm_mon = static_cast<int>(static_cast<unsigned>(ymd.month())) - 1;
    tm.tm_mday = static_cast<int>(static_cast<unsigned>(ymd.day()));
    tm.tm_hour = static_cast<int>(time.hours().count());
    tm.tm_min = static_cast<int>(time.minutes().count());
    tm.tm_sec = static_cast<int>(time.seconds().count());
    tm.tm_wday = static_cast<int>(weekday{day}.c_encoding());
    tm.tm_yday = static_cast<int>((day - local_days{ymd.year() / January / 1}).count());
    tm.tm_isdst = -1;
    return tm;
}

Moment FromTm(const std::tm& tm) {
    using namespace std::chrono;
    const year_month_day ymd{year{tm.tm_year + 1900}, month{static_cast<unsigned>(tm.tm_mon + 1)},
                             day{static_cast<unsigned>(tm.tm_mday)}};
    if (!ymd.ok() || tm.tm_hour < 0 || tm.tm_hour > 23 || tm.tm_min < 0 || tm.tm_min > 59 ||
        tm.tm_sec < 0 || tm.tm_sec > 60)
        throw std::invalid_argument("not a date and time");
    return local_days{ymd} + hours{tm.tm_hour} + minutes{tm.tm_min} + seconds{tm.tm_sec};
}

// The date, one blank and the time of day; the date alone at 00:00:00. Empty where a part
// has no text.
std::string WriteClock(const ClockPatterns& p, const std::tm& tm) {
    std::string text = clock_platform::Write(p, true, tm);
    if (text.empty()) return text;
    if (tm.tm_hour != 0 || tm.tm_min != 0 || tm.tm_sec != 0) {
        const std::string time = clock_platform::Write(p, false, tm);
        if (time.empty()) return time;
        text += ' ' + time;
    }
    return text;
}

std::optional<Moment> ReadClock(const ClockPatterns& p, std::string_view text) {
    const std::string copy(text);
    if (copy.empty() || copy.find('\0') != std::string::npos) return std::nullopt;
    std::tm tm{};
    if (!clock_platform::Read(p, true, copy, tm) && !clock_platform::Read(p, false, copy, tm)) return std::nullopt;
    try {
        return FromTm(tm);
    } catch (const std::invalid_argument&) {
        return std::nullopt;
    }
}

// Whether texts written with the patterns read back to the same moment: every hour of a
// day (a lost AM/PM), odd minutes and seconds (a time without seconds), each month (month
// names), years on both sides of 1969/2068 (a two-digit year), and midnight (the date alone).
bool ReadsBack(const ClockPatterns& p) {
    using namespace std::chrono;
    std::vector<Moment> probes;
    for (int h = 0; h < 24; ++h) probes.push_back(local_days{year{2026} / 12 / 7} + hours{h} + minutes{31} + seconds{8});
    for (unsigned mo = 1; mo <= 12; ++mo)
        for (int y : {1999, 2069, 2099})
            probes.push_back(local_days{year{y} / mo / 28} + hours{mo + 11} + minutes{59} + seconds{mo});
    probes.push_back(local_days{year{2000} / 1 / 1});
    probes.push_back(local_days{year{2069} / 12 / 31});
    for (const Moment m : probes) {
        const std::optional<Moment> back = ReadClock(p, WriteClock(p, ToTm(m)));
        if (!back || *back != m) return false;
    }
    return true;
}

// Whether a clock text (UTF-8) has room where the window shows it; set by the window.
std::function<bool(std::string_view)>& ClockFits() {
    static std::function<bool(std::string_view)> fits;
    return fits;
}

// Whether the widest text the patterns write fits: every month and weekday, morning and
// evening, at a late minute and second.
bool Fits(const ClockPatterns& p) {
    const auto& fits = ClockFits();
    if (!fits) return true;
    using namespace std::chrono;
    for (unsigned mo = 1; mo <= 12; ++mo)
        for (unsigned d = 22; d <= 28; ++d)
            for (int h : {10, 20}) {
                const Moment m = local_days{year{2028} / mo / d} + hours{h} + minutes{48} + seconds{58};
                const std::string text = WriteClock(p, ToTm(m));
                if (text.empty() || !fits(text)) return false;
            }
    return true;
}

// The locale's own patterns where they show the seconds, read back and fit; otherwise the
// nearest sound form.
ClockPatterns DecidePatterns() {
    const std::vector<ClockPatterns> candidates = clock_platform::Candidates();
    for (const ClockPatterns& c : candidates)
        if (!c.date.empty() && !c.time.empty() && ReadsBack(c) && Fits(c)) return c;
    return candidates.back();
}

// The patterns decided, for the formats named; the core's only mutable state.
std::mutex decisionMutex;
std::string decidedFor;
bool decidedAny = false;
ClockPatterns decided;

}  // namespace

void SetClockTextFits(std::function<bool(std::string_view)> fits) {
    const std::lock_guard<std::mutex> lock(decisionMutex);
    ClockFits() = std::move(fits);
    decidedAny = false;
}

ClockPatterns CurrentClockPatterns() {
    // Decided once per locale, not at every tick.
    const std::string key = clock_platform::LocaleKey();
    const std::lock_guard<std::mutex> lock(decisionMutex);
    if (!decidedAny || decidedFor != key) {
        decidedAny = true;
        decided = DecidePatterns();
        decidedFor = key;
    }
    return decided;
}

std::string ClockText(Moment m) {
    using namespace std::chrono;
    // Years of four digits only: beyond them the calendar's year wraps round, and a year
    // before 1 has no place in a date pattern.
    if (m < local_days{year{1} / 1 / 1} || m >= local_days{year{10000} / 1 / 1})
        throw std::invalid_argument("a year the clock texts cannot write");
    std::string text = WriteClock(CurrentClockPatterns(), ToTm(m));
    if (text.empty()) throw std::invalid_argument("a moment with no clock text");
    return text;
}

Moment ReadClockText(std::string_view text) {
    const std::optional<Moment> m = ReadClock(CurrentClockPatterns(), text);
    if (!m) throw std::invalid_argument("not a date and time");
    return *m;
}

Moment NowLocal() {
    return clock_platform::Now();
}

long long SecondsSince(Moment earlier, Moment later) {
    return (later - earlier).count();
}

}  // namespace quilvane
