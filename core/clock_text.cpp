#include "core/clock_text.h"

#include <clocale>
#include <functional>
#include <ctime>
#include <iterator>
#include <mutex>
#include <optional>
#include <stdexcept>
#include <vector>

#include <iconv.h>
#include <langinfo.h>
#include <locale.h>

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

std::string Format(const char* pattern, const std::tm& tm) {
    char buf[256];
    const std::size_t n = std::strftime(buf, sizeof buf, pattern, &tm);
    return std::string(buf, n);
}

// Parses the whole text with the pattern; false when anything is left over.
bool ParseWhole(const std::string& text, const std::string& pattern, std::tm& tm) {
    tm = std::tm{};
    tm.tm_isdst = -1;
    const char* end = strptime(text.c_str(), pattern.c_str(), &tm);
    return end != nullptr && *end == '\0';
}

// The date, one blank and the time of day; the date alone at 00:00:00.
std::string WriteClock(const ClockPatterns& p, const std::tm& tm) {
    std::string text = Format(p.date.c_str(), tm);
    if (tm.tm_hour != 0 || tm.tm_min != 0 || tm.tm_sec != 0) {
        text.push_back(' ');
        text += Format(p.time.c_str(), tm);
    }
    return text;
}

std::optional<Moment> ReadClock(const ClockPatterns& p, std::string_view text) {
    const std::string copy(text);
    if (copy.find('\0') != std::string::npos) return std::nullopt;
    std::tm tm{};
    if (!ParseWhole(copy, p.date + " " + p.time, tm) && !ParseWhole(copy, p.date, tm)) return std::nullopt;
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

// The character set of the LC_TIME locale's own texts, which strftime writes and strptime
// reads: GB18030, GBK, BIG5 or EUC-JP in the legacy locales.
std::string TimeCodeset() {
    const char* name = std::setlocale(LC_TIME, nullptr);
    const locale_t time = newlocale(LC_CTYPE_MASK, name ? name : "C", static_cast<locale_t>(nullptr));
    if (time == static_cast<locale_t>(nullptr)) return "UTF-8";
    std::string codeset = nl_langinfo_l(CODESET, time);
    freelocale(time);
    return codeset;
}

// The text in another character set, or nothing where it has no such form.
std::optional<std::string> Recode(std::string_view text, const std::string& from, const std::string& to) {
    if (from == to || from == "ANSI_X3.4-1968") return std::string(text);  // ASCII is UTF-8 too
    const iconv_t cd = iconv_open(to.c_str(), from.c_str());
    if (cd == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
    std::string out(text.size() * 4 + 16, '\0');
    char* in = const_cast<char*>(text.data());
    std::size_t inLeft = text.size();
    char* at = out.data();
    std::size_t outLeft = out.size();
    std::size_t done = iconv(cd, &in, &inLeft, &at, &outLeft);
    if (done != static_cast<std::size_t>(-1)) done = iconv(cd, nullptr, nullptr, &at, &outLeft);
    iconv_close(cd);
    if (done == static_cast<std::size_t>(-1) || inLeft != 0) return std::nullopt;
    out.resize(out.size() - outLeft);
    return out;
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
                const std::optional<std::string> text = Recode(WriteClock(p, ToTm(m)), p.codeset, "UTF-8");
                if (!text || !fits(*text)) return false;
            }
    return true;
}

// The locale's patterns where they show the seconds, read back and fit; otherwise the nearest
// sound form. Candidates in order of preference, the locale's own first.
ClockPatterns DecidePatterns() {
    const std::string date = nl_langinfo(D_FMT);
    const std::string time = nl_langinfo(T_FMT);
    // The same date with a four-digit year, so that 2069 does not read back as 1969.
    std::string date4;
    for (std::size_t i = 0; i < date.size(); ++i) {
        if (date[i] == '%' && i + 1 < date.size()) {
            const char c = date[i + 1];
            date4 += c == 'y' ? "%Y" : c == 'D' ? "%m/%d/%Y" : date.substr(i, 2);
            ++i;
        } else {
            date4 += date[i];
        }
    }
    const std::string clock24 = "%H:%M:%S";
    const std::string codeset = TimeCodeset();
    const ClockPatterns candidates[] = {
        {date, time, true, codeset},      {date4, time, false, codeset},
        {date, clock24, false, codeset},  {date4, clock24, false, codeset},
        {"%Y-%m-%d", clock24, false, codeset},
    };
    for (const ClockPatterns& c : candidates)
        if (!c.date.empty() && !c.time.empty() && ReadsBack(c) && Fits(c)) return c;
    return candidates[std::size(candidates) - 1];
}

}  // namespace

namespace {

// The patterns decided, for the LC_TIME locale named; the core's only mutable state.
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
    // Decided once per LC_TIME locale, not at every tick.
    const char* name = std::setlocale(LC_TIME, nullptr);
    const std::lock_guard<std::mutex> lock(decisionMutex);
    if (name == nullptr || !decidedAny || decidedFor != name) {
        decidedAny = true;
        decided = DecidePatterns();
        decidedFor = name ? name : "";
    }
    return decided;
}

std::string ClockText(Moment m) {
    using namespace std::chrono;
    // Years of four digits only: beyond them the calendar's year wraps round, and a year
    // before 1 has no place in a date pattern.
    if (m < local_days{year{1} / 1 / 1} || m >= local_days{year{10000} / 1 / 1})
        throw std::invalid_argument("a year the clock texts cannot write");
    const ClockPatterns p = CurrentClockPatterns();
    // strftime writes the locale's own character set; the program's texts are UTF-8.
    std::optional<std::string> text = Recode(WriteClock(p, ToTm(m)), p.codeset, "UTF-8");
    if (!text) throw std::invalid_argument("a clock text with no UTF-8 form");
    return std::move(*text);
}

Moment ReadClockText(std::string_view text) {
    const ClockPatterns p = CurrentClockPatterns();
    const std::optional<std::string> own = Recode(text, "UTF-8", p.codeset);
    if (!own) throw std::invalid_argument("not a date and time");
    const std::optional<Moment> m = ReadClock(p, *own);
    if (!m) throw std::invalid_argument("not a date and time");
    return *m;
}

Moment NowLocal() {
    const std::time_t now = std::time(nullptr);
    std::tm tm{};
    // The system time shifted by the local offset: defined for any year the clock may read.
    if (localtime_r(&now, &tm) == nullptr) tm.tm_gmtoff = 0;
    return Moment{std::chrono::seconds{static_cast<long long>(now) + tm.tm_gmtoff}};
}

long long SecondsSince(Moment earlier, Moment later) {
    return (later - earlier).count();
}

}  // namespace quilvane
