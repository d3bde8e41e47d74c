// The clock texts on POSIX: the LC_TIME locale's date and time patterns (nl_langinfo),
// written with strftime and read with strptime, in the locale's own character set and
// decoded to UTF-8 with iconv.
#include <clocale>
#include <optional>
#include <string_view>

#include <iconv.h>
#include <langinfo.h>
#include <locale.h>

#include "core/clock_platform.h"

namespace quilvane::clock_platform {

namespace {

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
    if (from == to || from == "ANSI_X3.4-1968" || to == "ANSI_X3.4-1968") return std::string(text);  // ASCII
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

}  // namespace

std::string LocaleKey() {
    const char* name = std::setlocale(LC_TIME, nullptr);
    return name ? name : "";
}

std::vector<ClockPatterns> Candidates() {
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
    return {{date, time, true, codeset},     {date4, time, false, codeset},
            {date, clock24, false, codeset}, {date4, clock24, false, codeset},
            {"%Y-%m-%d", clock24, false, codeset}};
}

std::string Write(const ClockPatterns& p, bool datePart, const std::tm& tm) {
    char buf[256];
    const std::size_t n = std::strftime(buf, sizeof buf, (datePart ? p.date : p.time).c_str(), &tm);
    return Recode(std::string_view(buf, n), p.codeset, "UTF-8").value_or(std::string());
}

bool Read(const ClockPatterns& p, bool withTime, const std::string& text, std::tm& tm) {
    const std::optional<std::string> own = Recode(text, "UTF-8", p.codeset);
    if (!own) return false;
    tm = std::tm{};
    tm.tm_isdst = -1;
    const std::string pattern = withTime ? p.date + " " + p.time : p.date;
    const char* end = strptime(own->c_str(), pattern.c_str(), &tm);
    return end != nullptr && *end == '\0';
}

Moment Now() {
    const std::time_t now = std::time(nullptr);
    std::tm tm{};
    // The system time shifted by the local offset: defined for any year the clock may read.
    if (localtime_r(&now, &tm) == nullptr) tm.tm_gmtoff = 0;
    return Moment{std::chrono::seconds{static_cast<long long>(now) + tm.tm_gmtoff}};
}

}  // namespace quilvane::clock_platform
