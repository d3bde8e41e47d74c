// The clock texts in the user's own Windows formats: what ClockText writes reads back, the
// seconds are shown, and midnight gives the date alone.
#include "core/clock_text.h"

#include <gtest/gtest.h>

namespace quilvane {
namespace {

using namespace std::chrono;

TEST(ClockText, ReadsBackInTheUserFormats) {
    const Moment midnight = local_days{year{2069} / 6 / 20};
    EXPECT_EQ(ReadClockText(ClockText(midnight)), midnight);
    EXPECT_TRUE(ClockText(midnight + seconds{1}).starts_with(ClockText(midnight) + " "));
    for (int y : {1999, 2026, 2069})
        for (unsigned mo = 1; mo <= 12; ++mo)
            for (int h : {0, 9, 12, 13, 23}) {
                const Moment m = local_days{year{y} / mo / 28} + hours{h} + minutes{48} + seconds{mo};
                const std::string text = ClockText(m);
                EXPECT_EQ(ReadClockText(text), m) << text;
                EXPECT_NE(text, ClockText(m + seconds{1})) << text;
            }
    EXPECT_THROW(ReadClockText("not a moment"), std::invalid_argument);
    std::printf("user formats %s: ‹%s›\n", CurrentClockPatterns().own ? "kept" : "replaced",
                ClockText(local_days{year{2026} / 12 / 7} + hours{14} + minutes{30} + seconds{8}).c_str());
}

TEST(NowLocal, ReadsTheLocalClock) {
    const Moment now = NowLocal();
    EXPECT_GT(now, local_days{year{2020} / 1 / 1});
    EXPECT_EQ(ReadClockText(ClockText(now)), now);
}

}  // namespace
}  // namespace quilvane
