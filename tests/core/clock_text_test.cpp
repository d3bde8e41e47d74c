#include <algorithm>
#include <clocale>
#include <cstdio>
#include <cstring>
#include <map>
#include <vector>
#include <cstdlib>
#include <ctime>
#include <stdexcept>
#include <string>
#include <utility>

#include <gtest/gtest.h>

#include "core/value_text.h"

namespace quilvane {
namespace {

using namespace std::chrono;

Moment At(int y, unsigned mo, unsigned d, int h, int mi, int s) {
    return local_days{year{y} / mo / d} + hours{h} + minutes{mi} + seconds{s};
}

// Sets LC_TIME for one test and puts back what was there.
class TimeLocale {
public:
    explicit TimeLocale(const char* name) : saved_(std::setlocale(LC_TIME, nullptr)) {
        ok_ = std::setlocale(LC_TIME, name) != nullptr;
    }
    ~TimeLocale() { std::setlocale(LC_TIME, saved_.c_str()); }
    bool ok() const { return ok_; }

private:
    std::string saved_;
    bool ok_ = false;
};

struct LocaleCase {
    const char* locale;
    std::string morning;    // 2026-12-07 08:31:08
    std::string afternoon;  // 1999-01-31 13:05:09
    std::string midnight;   // 2026-12-07 00:00:00
};

const LocaleCase kLocales[] = {
    // C's own date has a two-digit year, which cannot tell 2069 from 1969: four digits.
    {"C", "12/07/2026 08:31:08", "01/31/1999 13:05:09", "12/07/2026"},
    {"en_US.UTF-8", "12/07/2026 08:31:08 AM", "01/31/1999 01:05:09 PM", "12/07/2026"},
    {"de_DE.UTF-8", "07.12.2026 08:31:08", "31.01.1999 13:05:09", "07.12.2026"},
    {"zh_CN.UTF-8", "2026年12月07日 08时31分08秒", "1999年01月31日 13时05分09秒",
     "2026年12月07日"},
};

TEST(ClockText, WritesTheLocalePatterns) {
    for (const auto& c : kLocales) {
        TimeLocale locale(c.locale);
        ASSERT_TRUE(locale.ok()) << c.locale << " missing: localedef generates it";
        EXPECT_EQ(ClockText(At(2026, 12, 7, 8, 31, 8)), c.morning) << c.locale;
        EXPECT_EQ(ClockText(At(1999, 1, 31, 13, 5, 9)), c.afternoon) << c.locale;
        EXPECT_EQ(ClockText(At(2026, 12, 7, 0, 0, 0)), c.midnight) << c.locale;
    }
}

TEST(ClockText, ReadsBackWhatItWrote) {
    const Moment moments[] = {
        At(2026, 12, 7, 8, 31, 8),  At(1999, 1, 31, 13, 5, 9), At(2026, 12, 7, 0, 0, 0),
        At(2026, 12, 7, 0, 0, 1),   At(2026, 12, 7, 12, 0, 0), At(2026, 12, 6, 23, 59, 59),
        At(2024, 2, 29, 12, 30, 0), At(2000, 1, 1, 0, 0, 0),   At(2068, 12, 31, 11, 59, 59),
    };
    for (const auto& c : kLocales) {
        TimeLocale locale(c.locale);
        ASSERT_TRUE(locale.ok()) << c.locale;
        for (const Moment m : moments) {
            const std::string text = ClockText(m);
            EXPECT_EQ(ReadClockText(text), m) << c.locale << ": " << text;
        }
    }
}

// Every installed locale: the seconds shown, the text read back to the same moment, the date
// alone at midnight. Reports the failing locales by name, and how many keep their own patterns.
TEST(ClockText, ReadsBackInEveryLocale) {
    std::vector<std::string> locales;
    if (FILE* list = popen("locale -a", "r")) {
        char line[256];
        while (std::fgets(line, sizeof line, list)) locales.emplace_back(line, std::strcspn(line, "\n"));
        pclose(list);
    }
    ASSERT_GT(locales.size(), 100u) << "locales-all is not installed";

    std::vector<Moment> probes;
    for (int h = 0; h < 24; ++h) probes.push_back(At(2026, 12, 7, h, 48, 58));
    for (int y : {1999, 2026, 2069, 2099})
        for (unsigned mo : {1u, 6u, 12u}) probes.push_back(At(y, mo, 20, 15, 8, 28));
    const Moment midnight = At(2069, 6, 20, 0, 0, 0);

    std::string failing;
    std::map<bool, std::vector<std::string>> byKind;  // own patterns or not
    for (const std::string& name : locales) {
        TimeLocale locale(name.c_str());
        if (!locale.ok()) {
            failing += " " + name + "(cannot be set)";
            continue;
        }
        bool ok = ClockText(midnight + seconds{1}).starts_with(ClockText(midnight) + " ");
        for (const Moment m : probes) {
            const std::string text = ClockText(m);
            try {
                ok = ok && ReadClockText(text) == m && text != ClockText(m + seconds{1});
            } catch (const std::invalid_argument&) {
                ok = false;
            }
        }
        ok = ok && ReadClockText(ClockText(midnight)) == midnight;
        if (!ok) failing += " " + name;
        byKind[CurrentClockPatterns().own].push_back(name + " ‹" + ClockText(probes[15]) + "›");
    }
    EXPECT_EQ(failing, "") << "locales whose clock texts do not read back";
    for (const auto& [own, names] : byKind) {
        std::printf("%zu locales use %s, e.g.", names.size(), own ? "their own patterns" : "the fallback");
        for (std::size_t i = 0; i < names.size(); i += std::max<std::size_t>(1, names.size() / 3))
            std::printf(" %s", names[i].c_str());
        std::printf("\n");
    }
}

// The legacy Chinese and Japanese encodings write the same characters as their UTF-8
// locales once decoded, and read them back.
TEST(ClockText, LegacyEncodingsAreDecoded) {
    const Moment m = At(2026, 12, 7, 14, 30, 8);
    const std::pair<const char*, const char*> cases[] = {{"zh_CN.gb18030", "zh_CN.utf8"}, {"zh_CN.gbk", "zh_CN.utf8"},
                                                         {"zh_CN", "zh_CN.utf8"},         {"zh_TW", "zh_TW.utf8"},
                                                         {"ja_JP.eucjp", "ja_JP.utf8"}};
    for (const auto& [legacy, utf8] : cases) {
        std::string expected;
        {
            const TimeLocale same(utf8);
            ASSERT_TRUE(same.ok()) << utf8;
            expected = ClockText(m);
        }
        const TimeLocale old(legacy);
        ASSERT_TRUE(old.ok()) << legacy;
        EXPECT_EQ(ClockText(m), expected) << legacy;
        EXPECT_EQ(ReadClockText(expected), m) << legacy;
    }
}

TEST(ClockText, RejectsOtherTexts) {
    TimeLocale locale("de_DE.UTF-8");
    ASSERT_TRUE(locale.ok());
    for (const char* text : {"", "abc", "07.12.2026 08:31:08 x", "31.02.2026", "07.12.2026 25:00:00"})
        EXPECT_THROW(ReadClockText(text), std::invalid_argument) << text;
    EXPECT_THROW(ReadClockText(std::string("07.12.2026\0x", 12)), std::invalid_argument);
}

TEST(SecondsSince, CountsSignedWholeSeconds) {
    const Moment start = At(2026, 12, 7, 23, 59, 30);
    EXPECT_EQ(SecondsSince(start, start), 0);
    EXPECT_EQ(SecondsSince(start, start + seconds{60}), 60);
    EXPECT_EQ(SecondsSince(start, At(2026, 12, 8, 0, 0, 0)), 30);
    EXPECT_EQ(SecondsSince(start, At(2026, 12, 7, 23, 0, 0)), -3570);
}

// NowLocal follows the time zone: eight hours east of UTC it reads eight hours later.
TEST(NowLocal, FollowsTheTimeZone) {
    const char* saved = std::getenv("TZ");
    const std::string savedTz = saved ? saved : "";
    const auto readIn = [](const char* tz) {
        setenv("TZ", tz, 1);
        tzset();
        return NowLocal();
    };
    const Moment utc = readIn("UTC0");
    const Moment east = readIn("XST-8");
    const Moment utcAgain = readIn("UTC0");
    if (saved) setenv("TZ", savedTz.c_str(), 1);
    else unsetenv("TZ");
    tzset();
    const long long offset = SecondsSince(utc, east);
    EXPECT_GE(offset, 8 * 3600);
    EXPECT_LE(offset, 8 * 3600 + SecondsSince(utc, utcAgain));
    const auto epoch = floor<seconds>(system_clock::now()).time_since_epoch();
    EXPECT_LE(std::llabs(SecondsSince(Moment{epoch}, utc)), 2);
}

}  // namespace
}  // namespace quilvane
