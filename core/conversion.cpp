#include "core/conversion.h"

#include <algorithm>
#include <cfloat>
#include <cmath>

#include "core/number_text.h"

namespace quilvane {

namespace {

constexpr std::int16_t kTopOfRange = 850;
constexpr double kBottomOfRange = -200;

void ShowRangeNotice(const MessageBoxService& msgbox) {
    if (msgbox) msgbox(kRangeNotice, kNoticeTitle, MB_ICONINFORMATION);
}

double RequireFinite(double x) {
    if (!std::isfinite(x)) throw NumericError("no finite result");
    return x;
}

// Resistance ratio R/R0 from 0 °C up, in the order the conversion evaluates it.
double AboveZeroRatio(double t, double A, double B) {
    return (1 + t * A) + t * (t * B);
}

// Resistance ratio R/R0 below 0 °C, with the C term.
double BelowZeroRatio(double t, double A, double B, double C) {
    return ((1 + t * A) + std::pow(t, 2) * B) + (t - 100) * (std::pow(t, 3) * C);
}

// Slopes of the two pieces, d(R/R0)/dt.
double AboveZeroSlope(double t, double A, double B) { return A + 2 * B * t; }
double BelowZeroSlope(double t, double A, double B, double C) {
    return A + 2 * B * t + C * (4 * std::pow(t, 3) - 300 * std::pow(t, 2));
}

// The t in [lo, hi] where ratio(t) = target, for a ratio that brackets the target there
// (ratio(lo) <= target <= ratio(hi)). Newton's method from start, kept inside the bracket: a
// step that would leave it, or a step after one that did not halve the bracket, is a
// bisection instead. So the bracket at least halves every second step, and the search ends,
// for any coefficients, when its width is a few units in the last place of t.
template <typename Ratio, typename Slope>
double SolveInBracket(const Ratio& ratio, const Slope& slope, double target, double lo, double hi,
                      double start) {
    double t = start >= lo && start <= hi ? start : lo + (hi - lo) / 2;
    double width = hi - lo;
    for (;;) {
        const double f = RequireFinite(ratio(t) - target);
        if (f == 0) return t;
        (f < 0 ? lo : hi) = t;
        if (hi - lo <= 4 * DBL_EPSILON * std::max({1.0, std::fabs(lo), std::fabs(hi)})) break;
        const bool slow = hi - lo > width / 2;
        width = hi - lo;
        const double next = t - f / slope(t);
        t = !slow && next > lo && next < hi ? next : lo + (hi - lo) / 2;
    }
    return std::fabs(ratio(lo) - target) <= std::fabs(ratio(hi) - target) ? lo : hi;
}

}  // namespace

TemperatureResult ConvertTemperature(std::string_view text, double R0, double A, double B, double C,
                                     const MessageBoxService& msgbox) {
    double t = ReadNumber(text);
    if (0 <= t) {
        const std::int16_t who = RoundToInt16(ReadNumber(text));
        t = cknum(who, 0, kTopOfRange, msgbox);
        const double resistance = AboveZeroRatio(t, A, B) * R0;
        std::string caption = PlainText(t);
        caption += kAboveZeroCaption;
        return {SpacedText(resistance), std::move(caption), t};
    }
    const double ratio = RequireFinite(BelowZeroRatio(t, A, B, C));
    // The ratio is rounded to 15 significant digits, as its text, before scaling.
    const double resistance = ReadNumber(SpacedText(ratio)) * R0;
    TemperatureResult result{PlainText(resistance), kBelowZeroCaption, t};
    // Below the equation's range the value is a reference only; said once the result exists,
    // so that an input that cannot be converted gets the error alone.
    if (t < kBottomOfRange) ShowRangeNotice(msgbox);
    return result;
}

TemperatureResult ConvertTemperature(std::string_view text, double A, double B, double C,
                                     const MessageBoxService& msgbox) {
    return ConvertTemperature(text, kBuiltInR0, A, B, C, msgbox);
}

double Resistance(double t, double R0, double A, double B, double C) {
    return R0 * (t >= 0 ? AboveZeroRatio(t, A, B) : BelowZeroRatio(t, A, B, C));
}

double cknum(std::int16_t who, std::int16_t min, std::int16_t max,
             const MessageBoxService& msgbox) {
    const double v = ReadNumber(IntText(who));
    if (v >= max) {
        ShowRangeNotice(msgbox);
        return max;
    }
    if (v >= min) return v;
    ShowRangeNotice(msgbox);
    return min;
}

double com(std::int16_t r, double R0, double A, double B, double C, const MessageBoxService& msgbox) {
    const double ohms = r;
    if (ohms >= AboveZeroRatio(kTopOfRange, A, B) * R0) {
        ShowRangeNotice(msgbox);
        return kTopOfRange;
    }
    const double ratio = RequireFinite(ohms / R0);
    // The root of the quadratic nearest 0 °C starts the search, in the form that does not
    // cancel near x = 0; where it is not real, the bracket alone leads.
    const double x = ratio - 1;
    const double start = 2 * x / (A + std::sqrt(A * A + 4 * B * x));
    if (ratio >= 1) {
        return SolveInBracket([&](double t) { return AboveZeroRatio(t, A, B); },
                              [&](double t) { return AboveZeroSlope(t, A, B); }, ratio, 0, kTopOfRange, start);
    }
    const auto below = [&](double t) { return BelowZeroRatio(t, A, B, C); };
    // The lower end of the bracket: -200 °C, doubled until the ratio there lies below.
    double lo = kBottomOfRange;
    while (!(RequireFinite(below(lo)) < ratio)) {
        lo *= 2;
        if (lo < -1e300) throw NumericError("no temperature gives this resistance");
    }
    const double t = SolveInBracket(below, [&](double u) { return BelowZeroSlope(u, A, B, C); }, ratio,
                                    lo, 0, start);
    // Below the resistance of -200 °C the answer is a reference only.
    if (ratio < below(kBottomOfRange)) ShowRangeNotice(msgbox);
    return t;
}

double com(std::int16_t r, double A, double B, double C, const MessageBoxService& msgbox) {
    return com(r, kBuiltInR0, A, B, C, msgbox);
}

namespace {

// Smallest value over [lo, hi] of the polynomial sum c[k] t^k (degree up to 3): the ends and
// the real roots of its derivative that fall inside.
double MinimumOfCubic(const double (&coefficients)[4], double lo, double hi) {
    // Scaled so that the largest coefficient is 1: the sign of the minimum is what matters,
    // and the derivative's discriminant then cannot overflow.
    double scale = 0;
    for (const double k : coefficients) scale = std::max(scale, std::fabs(k));
    if (scale == 0) return 0;
    double c[4];
    for (int k = 0; k < 4; ++k) c[k] = coefficients[k] / scale;
    const auto at = [&c](double t) { return ((c[3] * t + c[2]) * t + c[1]) * t + c[0]; };
    double least = std::min(at(lo), at(hi));
    // Derivative: 3 c3 t^2 + 2 c2 t + c1.
    const double a = 3 * c[3], b = 2 * c[2], d = c[1];
    const auto consider = [&](double t) {
        if (std::isfinite(t) && t > lo && t < hi) least = std::min(least, at(t));
    };
    if (a == 0) {
        if (b != 0) consider(-d / b);
    } else {
        const double disc = b * b - 4 * a * d;
        if (disc >= 0) {
            const double root = std::sqrt(disc);
            consider((-b - root) / (2 * a));
            consider((-b + root) / (2 * a));
        }
    }
    return least;
}

}  // namespace

bool RisesStrictly(double A, double B, double C) {
    if (!std::isfinite(A) || !std::isfinite(B) || !std::isfinite(C)) return false;
    // Slope from 0 °C up: A + 2Bt. Below 0 °C: A + 2Bt - 300Ct^2 + 4Ct^3.
    const double above[4] = {A, 2 * B, 0, 0};
    const double below[4] = {A, 2 * B, -300 * C, 4 * C};
    if (A == 0 && B == 0) return false;  // flat from 0 °C up
    return MinimumOfCubic(above, 0, kTopOfRange) >= 0 && MinimumOfCubic(below, -200, 0) >= 0;
}

std::optional<std::string> R0Refusal(double R0) {
    if (R0 >= kMinR0 && R0 <= kMaxR0) return std::nullopt;
    return "R0 须在 1 至 10000 Ω 之间！";
}

std::optional<std::string> CoefficientsRefusal(double A, double B, double C) {
    if (!(A >= kMinA && A <= kMaxA)) return "系数 A 须在 3.5E-03 至 4.5E-03 ℃⁻¹ 之间！";
    if (!(B >= kMinB && B <= kMaxB)) return "系数 B 须在 -1E-06 至 0 ℃⁻² 之间！";
    if (!(C >= kMinC && C <= kMaxC)) return "系数 C 须在 -1E-11 至 0 ℃⁻⁴ 之间！";
    if (RisesStrictly(A, B, C)) return std::nullopt;
    return "这个值使阻值在 -200℃ 至 850℃ 之间不再随温度严格上升，请检查！";
}

}  // namespace quilvane
