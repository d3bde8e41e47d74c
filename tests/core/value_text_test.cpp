#include "core/value_text.h"

#include <cfloat>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <utility>

#include <gtest/gtest.h>

namespace quilvane {
namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();

TEST(ValueText, ProcessLocaleUsesCommaDecimals) {
    // Guards the other tests: they only prove locale independence if this holds.
    EXPECT_EQ(std::strtod("1,5", nullptr), 1.5);
}

struct ReadCase {
    std::string text;
    double value;
};

TEST(ReadNumber, Table) {
    const ReadCase cases[] = {
        {"", 0},           {"abc", 0},        {"-", 0},           {"+", 0},
        {".", 0},          {"e5", 0},         {"  -25.5abc", -25.5}, {"1 0 0", 100},
        {"1\t2\n3", 123},  {" .5", 0.5},      {"-.5", -0.5},      {"+7", 7},
        {"1e2", 100},      {"1E-2", 0.01},    {"1e", 1},          {"1e+", 1},
        {"2.5e 1", 25},    {"25abc", 25},     {"1,5", 1},         {"1.2.3", 1.2},
        {"&H10", 16},      {"&h1F", 31},      {"&O17", 15},       {"&o8", 0},
        {"&X1", 0},        {"-&H10", 0},      {"0x10", 0},        {"００１", 0},
        {"\xff\xfe" "12", 0}, {"12\xff", 12}, {"1e-99999", 0},    {"0e99999", 0},
        {"1e99999", kInf}, {"-1e99999", -kInf}, {"1.8e308", kInf},
        {"1.79769313486232E+308", DBL_MAX},  {"-1.79769313486232E+308", -DBL_MAX},
        {"4.94065645841247E-324", std::numeric_limits<double>::denorm_min()},
        {"0.1", 0.1},      {"109.7338", 109.7338},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ReadNumber(c.text), c.value) << "text: " << c.text;
    }
    EXPECT_TRUE(std::signbit(ReadNumber("-0")));
}

TEST(ReadNumber, HugeTexts) {
    const std::size_t mega = 1 << 20;
    EXPECT_EQ(ReadNumber(std::string(mega, ' ') + "7"), 7);
    EXPECT_EQ(ReadNumber(std::string(mega, '9')), kInf);
    EXPECT_EQ(ReadNumber("0." + std::string(mega, '0') + "1"), 0);
    EXPECT_EQ(ReadNumber(std::string(mega, 'x')), 0);
    EXPECT_EQ(ReadNumber("&H" + std::string(mega, 'F')), kInf);
    // A million ones scaled back to ten digits before the point: truncating the digits
    // must not lose their scale.
    const double v = ReadNumber(std::string(1'000'000, '1') + "e-999990");
    EXPECT_DOUBLE_EQ(v, 1111111111.1111111);
    // Rounding decided by a digit far beyond the first hundreds.
    EXPECT_EQ(ReadNumber("9007199254740993" + std::string(2000, '0') + "1e-2001"),
              9007199254740994.0);
}

TEST(RoundToInt16, HalvesGoToEven) {
    const std::pair<double, int> cases[] = {
        {2.5, 2},     {3.5, 4},         {-2.5, -2},        {0.5, 0},          {1.5, 2},
        {-0.5, 0},    {849.5, 850},     {24.5, 24},        {25.4, 25},        {24.6, 25},
        {-0.4, 0},    {32767.4, 32767}, {32766.5, 32766},  {-32768.4, -32768},
        {-32768.5, -32768}, {0.49999999999999994, 0},
    };
    for (const auto& [x, n] : cases) EXPECT_EQ(RoundToInt16(x), n) << x;
}

TEST(RoundToInt16, OverflowThrows) {
    for (double x : {32767.5, 32768.0, -32768.6, -32769.0, 1e300, kInf, -kInf,
                     std::numeric_limits<double>::quiet_NaN()})
        EXPECT_THROW(RoundToInt16(x), NumericError) << x;
}

TEST(IntText, Table) {
    EXPECT_EQ(IntText(25), "25");
    EXPECT_EQ(IntText(-3), "-3");
    EXPECT_EQ(IntText(0), "0");
    EXPECT_EQ(IntText(32767), "32767");
    EXPECT_EQ(IntText(-32768), "-32768");
}

struct TextCase {
    double value;
    std::string spaced;
    std::string plain;
};

TEST(NumberText, Table) {
    const TextCase cases[] = {
        {100, " 100", "100"},
        {0, " 0", "0"},
        {-0.0, " 0", "0"},
        {0.5, " .5", "0.5"},
        {-0.27075980000000005, "-.2707598", "-0.2707598"},
        {0.998045844946314, " .998045844946314", "0.998045844946314"},
        {99.8045844946314, " 99.8045844946314", "99.8045844946314"},
        {109.7338, " 109.7338", "109.7338"},
        {100.39074399999998, " 100.390744", "100.390744"},
        {-27.07598, "-27.07598", "-27.07598"},
        {850, " 850", "850"},
        {0.0001, " .0001", "0.0001"},
        {0.00001, " 1E-05", "1E-05"},
        {-0.000015, "-1.5E-05", "-1.5E-05"},
        {0.99999999999999994, " 1", "1"},
        {99999999999999.0, " 99999999999999", "99999999999999"},
        {100000000000000.0, " 1E+14", "1E+14"},
        {999999999999999.0, " 9.99999999999999E+14", "9.99999999999999E+14"},
        {99999999999999.95, " 1E+14", "1E+14"},
        {1e15, " 1E+15", "1E+15"},
        {1.5e20, " 1.5E+20", "1.5E+20"},
        {-1.5e20, "-1.5E+20", "-1.5E+20"},
        {1e100, " 1E+100", "1E+100"},
        {DBL_MAX, " 1.79769313486232E+308", "1.79769313486232E+308"},
        {std::numeric_limits<double>::denorm_min(), " 4.94065645841247E-324",
         "4.94065645841247E-324"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(SpacedText(c.value), c.spaced) << c.value;
        EXPECT_EQ(PlainText(c.value), c.plain) << c.value;
    }
}

TEST(NumberText, ZeroAfterAnotherValueAndExponentText) {
    // What an earlier call left in the buffer is never read: 0 after 3.25.
    EXPECT_EQ(SpacedText(3.25), " 3.25");
    EXPECT_EQ(SpacedText(0), " 0");
    const std::pair<double, const char*> cases[] = {
        {3.9083E-03, "3.9083E-03"}, {-5.8E-07, "-5.8E-07"}, {0, "0"}, {1000, "1E+03"}, {-4.2735E-12, "-4.2735E-12"}};
    for (const auto& [value, text] : cases) EXPECT_EQ(ExponentText(value), text);
}

TEST(NumberText, NotFiniteThrows) {
    for (double x : {kInf, -kInf, std::numeric_limits<double>::quiet_NaN()}) {
        EXPECT_THROW(SpacedText(x), NumericError);
        EXPECT_THROW(PlainText(x), NumericError);
    }
}

// What either form writes reads back to the same 15-digit value, across every exponent.
TEST(NumberText, ReadsBackToTheSameText) {
    std::mt19937_64 rng(20261207);
    for (int i = 0; i < 200000; ++i) {
        double x;
        const std::uint64_t bits = rng();
        std::memcpy(&x, &bits, sizeof x);
        if (!std::isfinite(x)) continue;
        const std::string plain = PlainText(x);
        const std::string spaced = SpacedText(x);
        ASSERT_EQ(PlainText(ReadNumber(plain)), plain) << x;
        ASSERT_EQ(SpacedText(ReadNumber(spaced)), spaced) << x;
        ASSERT_EQ(ReadNumber(plain), ReadNumber(spaced)) << x;
    }
}

}  // namespace
}  // namespace quilvane
