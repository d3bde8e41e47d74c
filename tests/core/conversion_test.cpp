#include "core/conversion.h"

#include <cmath>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/value_text.h"

namespace quilvane {
namespace {

constexpr double A = 3.90802E-03;
constexpr double B = -5.8E-07;
constexpr double C = -4.2735E-12;

struct Shown {
    std::string prompt, title;
    int style;
};

// A message-box service that records what it was asked to show.
struct Recorder {
    std::vector<Shown> shown;
    MessageBoxService service() {
        return [this](const std::string& p, const std::string& t, int s) {
            shown.push_back({p, t, s});
        };
    }
};

void ExpectRangeNotice(const Recorder& r) {
    ASSERT_EQ(r.shown.size(), 1u);
    EXPECT_EQ(r.shown[0].prompt, "输出参考值，输入数据超出范围！");
    EXPECT_EQ(r.shown[0].title, "系统提示");
    EXPECT_EQ(r.shown[0].style, MB_ICONINFORMATION);
}

struct ConvertCase {
    std::string text;
    std::string resistance;
    std::string caption;
    bool notice;
};

const std::string kAbove = "Rt=R0*（1+A*t+B*t^2）";
const std::string kBelow = "Rt=R0*[1+A*t+B*t^2+C*(t-100)*t^3]";

TEST(ConvertTemperature, Table) {
    const ConvertCase cases[] = {
        {"0", " 100", "0" + kAbove, false},
        {"-0", " 100", "0" + kAbove, false},
        {"25", " 109.7338", "25" + kAbove, false},
        {"25.4", " 109.7338", "25" + kAbove, false},
        {"24.6", " 109.7338", "25" + kAbove, false},
        {"24.5", " 109.34584", "24" + kAbove, false},
        {"24", " 109.34584", "24" + kAbove, false},
        {"0.5", " 100", "0" + kAbove, false},
        {"100", " 138.5002", "100" + kAbove, false},
        {"849", " 389.98444", "849" + kAbove, false},
        {"849.5", " 390.2767", "850" + kAbove, true},
        {"850", " 390.2767", "850" + kAbove, true},
        {"1000", " 390.2767", "850" + kAbove, true},
        {"32767.4", " 390.2767", "850" + kAbove, true},
        {"-0.4", "99.843669917254", kBelow, false},
        {"-50", "80.3068871875", kBelow, false},
        {"-100", "60.25433", kBelow, false},
        {"-200", "18.49396", kBelow, false},
        {"-300", "-27.07598", kBelow, true},
        {"abc", " 100", "0" + kAbove, false},
        {" ", " 100", "0" + kAbove, false},
        {"", " 100", "0" + kAbove, false},
        {"1e-400", " 100", "0" + kAbove, false},
        {"-200.0001", "18.4939167194581", kBelow, true},
        {"-1e78", "-4.2735E+302", kBelow, true},
    };
    for (const auto& c : cases) {
        Recorder r;
        const TemperatureResult result = ConvertTemperature(c.text, A, B, C, r.service());
        EXPECT_EQ(result.resistance, c.resistance) << "text: " << c.text;
        EXPECT_EQ(result.caption, c.caption) << "text: " << c.text;
        if (c.notice) {
            ExpectRangeNotice(r);
        } else {
            EXPECT_TRUE(r.shown.empty()) << "text: " << c.text;
        }
    }
}

TEST(ConvertTemperature, UnconvertibleInputThrowsNumericError) {
    for (const char* text : {"32767.5", "40000", "1e99999", "-1e99999", "-1e80", "-1e200", "&H8000"}) {
        Recorder r;
        EXPECT_THROW(ConvertTemperature(text, A, B, C, r.service()), NumericError) << text;
        EXPECT_TRUE(r.shown.empty()) << text;
    }
}

TEST(Cknum, Table) {
    struct Case {
        std::int16_t who;
        double result;
        bool notice;
    };
    const Case cases[] = {
        {0, 0, false},     {1, 1, false},    {849, 849, false},  {850, 850, true},
        {851, 850, true},  {32767, 850, true}, {-1, 0, true},    {-32768, 0, true},
    };
    for (const auto& c : cases) {
        Recorder r;
        EXPECT_EQ(cknum(c.who, 0, 850, r.service()), c.result) << c.who;
        if (c.notice) {
            ExpectRangeNotice(r);
        } else {
            EXPECT_TRUE(r.shown.empty()) << c.who;
        }
    }
}

// The forward equation in both ranges, evaluated directly.
double Forward(double t) {
    if (t >= 0) return 100 * (1 + A * t + B * t * t);
    return 100 * (1 + A * t + B * t * t + C * (t - 100) * t * t * t);
}

TEST(Com, InvertsTheEquationOverItsWholeInput) {
    double previous = -1e9;
    for (int r = -32768; r <= 390; ++r) {
        Recorder rec;
        const double t = com(static_cast<std::int16_t>(r), A, B, C, rec.service());
        // The notice below 18.49396 Ω, the resistance of -200 °C.
        if (r <= 18) ExpectRangeNotice(rec);
        else ASSERT_TRUE(rec.shown.empty()) << r;
        ASSERT_LE(std::fabs(Forward(t) - r), 1e-9) << "r = " << r << ", t = " << t;
        ASSERT_GT(t, previous) << r;
        previous = t;
    }
}

TEST(Com, KnownPoints) {
    Recorder r;
    EXPECT_EQ(com(100, A, B, C, r.service()), 0.0);
    EXPECT_NEAR(com(138, A, B, C, r.service()), 98.7, 0.05);
    EXPECT_NEAR(com(19, A, B, C, r.service()), -198.83, 0.001);
    EXPECT_TRUE(r.shown.empty());
    EXPECT_NEAR(com(0, A, B, C, r.service()), -241.9, 0.05);
    EXPECT_NEAR(com(18, A, B, C, r.service()), -201.14, 0.01);
    EXPECT_EQ(r.shown.size(), 2u);
}

TEST(Com, TopOfRangeShowsTheNoticeAndGives850) {
    for (std::int16_t ohms : {391, 400, 32767}) {
        Recorder r;
        EXPECT_EQ(com(ohms, A, B, C, r.service()), 850.0) << ohms;
        ExpectRangeNotice(r);
    }
}

}  // namespace
}  // namespace quilvane

namespace quilvane {
namespace {

// Settings: other sensors (R0) and other coefficients.
TEST(Settings, IecTableAndPt1000) {
    struct Case {
        double R0, t, ohms;
        bool notice;
    };
    // IEC 60751 table values, rounded to 0.01 Ω.
    const Case iec[] = {{100, -200, 18.52, false}, {1000, -200.5, 183.04, true}, {100, -100, 60.26, false}, {100, 0, 100.00, false},
                        {100, 100, 138.51, false}, {100, 200, 175.86, false}, {100, 400, 247.09, false},
                        {100, 600, 313.71, false}, {100, 800, 375.70, false}, {1000, 850, 3904.81, true}};
    for (const auto& c : iec) {
        Recorder r;
        const TemperatureResult result = ConvertTemperature(PlainText(c.t), c.R0, kIecA, kIecB, kIecC, r.service());
        EXPECT_NEAR(ReadNumber(result.resistance), c.ohms, 0.005) << c.R0 << " at " << c.t;
        EXPECT_EQ(r.shown.size(), c.notice ? 1u : 0u) << c.t;
    }
    Recorder r;
    EXPECT_EQ(ConvertTemperature("25", 1000, A, B, C, r.service()).resistance, " 1097.338");
    EXPECT_EQ(ConvertTemperature("-50", 1000, A, B, C, r.service()).resistance, "803.068871875");
    EXPECT_EQ(PlainText(com(1100, 1000, A, B, C, r.service())), "25.6863262384183");
    EXPECT_TRUE(r.shown.empty());
}

TEST(Settings, ComInvertsPt1000WithIecCoefficients) {
    const auto forward = [](double t) {
        const double cTerm = t < 0 ? kIecC * (t - 100) * t * t * t : 0;
        return 1000 * (1 + kIecA * t + kIecB * t * t + cTerm);
    };
    const double top = forward(850);  // 3904.81
    for (int ohms = 0; ohms <= 4000; ++ohms) {
        Recorder r;
        const double t = com(static_cast<std::int16_t>(ohms), 1000, kIecA, kIecB, kIecC, r.service());
        if (ohms >= top) {
            ASSERT_EQ(t, 850.0) << ohms;
        } else {
            ASSERT_NEAR(forward(t), ohms, 1e-8) << ohms;
        }
        // The notice outside R(-200) = 185.2 Ω .. R(850).
        ASSERT_EQ(r.shown.size(), (ohms >= top || ohms < forward(-200)) ? 1u : 0u) << ohms;
    }
}

TEST(Settings, RisesStrictly) {
    struct Case {
        double A, B, C;
        bool rises;
    };
    const Case cases[] = {
        {A, B, C, true},           {kIecA, kIecB, kIecC, true},
        {A, -0.01, C, false},      // falls from 0.2 °C up
        {A, -2.3e-6, C, false},    // falls just before 850 °C: A + 2B·850 < 0
        {A, -2.29e-6, C, true},    // still rises at 850 °C
        {0, B, C, false},          {0, 0, 0, false},
        {850.0 / 524288, -1.0 / 1048576, 0, true},  // slope zero at 850 °C only (exact in binary)
        {A, B, 1e-9, false},       // the C term bends the curve down below 0 °C
        {A, B, -1e-9, true},       {std::nan(""), B, C, false},
        {A, B, 1e160, false},      // C squared overflows where the slope's extremes are sought
    };
    for (const auto& c : cases)
        EXPECT_EQ(RisesStrictly(c.A, c.B, c.C), c.rises) << c.A << " " << c.B << " " << c.C;
}

// The ranges the Settings accept, at their corners and just outside.
TEST(Settings, AcceptedRanges) {
    EXPECT_FALSE(R0Refusal(1) || R0Refusal(10000));
    EXPECT_TRUE(R0Refusal(0.999) && R0Refusal(1e-320) && R0Refusal(10001) && R0Refusal(std::nan("")));
    for (double a : {kMinA, kMaxA})
        for (double b : {kMinB, kMaxB})
            for (double c : {kMinC, kMaxC}) EXPECT_FALSE(CoefficientsRefusal(a, b, c)) << a << " " << b << " " << c;
    const double refused[][3] = {{3.49e-3, B, C}, {4.51e-3, B, C}, {30, B, C},    {A, 1e-6, C},
                                 {A, -1.01e-6, C}, {A, B, 9e-11}, {A, B, -1.1e-11}, {A, B, std::nan("")}};
    for (const auto& v : refused) EXPECT_TRUE(CoefficientsRefusal(v[0], v[1], v[2])) << v[0] << " " << v[1] << " " << v[2];
}

// The inverse for accepted sets: IEC, built-in, the corners of the ranges and the linear model.
// Every resistance below R(850) comes back exactly; the notices stand where they did.
TEST(Settings, ComIsExactForEveryAcceptedSet) {
    const double sets[][4] = {{100, kIecA, kIecB, kIecC}, {100, A, B, C},           {1, kMinA, kMinB, kMinC},
                              {10000, kMaxA, kMaxB, kMaxC}, {1, kMaxA, kMinB, kMinC}, {10000, kMinA, kMaxB, kMinC},
                              {1000, 3.85e-3, 0, 0}};
    for (const auto& set : sets) {
        const double R0 = set[0], a = set[1], b = set[2], c = set[3];
        const auto forward = [&](double t) { return R0 * (1 + a * t + b * t * t + (t < 0 ? c * (t - 100) * t * t * t : 0)); };
        for (int r : {-32768, -1000, 0, 1, 18, 40, 60, 99, 100, 101, 1000, 3000, 32767}) {
            Recorder rec;
            const double t = com(static_cast<std::int16_t>(r), R0, a, b, c, rec.service());
            if (r >= forward(850)) {
                EXPECT_EQ(t, 850) << R0 << " " << r;
            } else {
                EXPECT_NEAR(forward(t), r, 1e-9 * R0) << R0 << " " << a << " " << r;
            }
            EXPECT_EQ(rec.shown.size(), r >= forward(850) || r < forward(-200) ? 1u : 0u) << R0 << " " << r;
        }
    }
}

TEST(Settings, ReadWholeNumber) {
    struct Case {
        const char* text;
        std::optional<double> value;
    };
    const Case cases[] = {
        {"100", 100},  {" 1e3\t", 1000}, {"-5", -5},         {"+.5", 0.5},          {"5.", 5},
        {"3.9083E-03", 3.9083E-03},     {"abc", {}},         {"", {}},              {" ", {}},
        {"1e400", {}}, {"1,5", {}},      {"1e", {}},          {".", {}},             {"&H10", {}},
        {"1 0", {}},   {"25abc", {}},    {"--1", {}},         {"1e+", {}},
    };
    for (const auto& c : cases) EXPECT_EQ(ReadWholeNumber(c.text), c.value) << "'" << c.text << "'";
}

}  // namespace
}  // namespace quilvane
