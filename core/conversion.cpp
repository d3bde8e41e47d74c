#include "core/conversion.h"

#include <algorithm>
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

// The answer below 0 °C for the resistance ratio, by Newton's method on the full equation
// from the quadratic root t. That root lies below the answer and the curve is increasing and
// concave there, so the steps approach it from one side without overshooting.
double BelowZeroInverse(double t, double ratio, double A, double B, double C) {
    // Over the whole 16-bit input the answer takes at most 12 steps; the cap only guards
    // against coefficients that would not converge.
    constexpr int kMaxSteps = 40;
    for (int i = 0; i < kMaxSteps; ++i) {
        const double f = BelowZeroRatio(t, A, B, C) - ratio;
        const double slope = A + 2 * B * t + C * (4 * std::pow(t, 3) - 300 * std::pow(t, 2));
        const double step = RequireFinite(f / slope);
        t -= step;
        if (std::fabs(step) < 1e-10) break;
    }
    return RequireFinite(t);
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
        return {SpacedText(resistance), std::move(caption)};
    }
    const double ratio = RequireFinite(BelowZeroRatio(t, A, B, C));
    // The ratio is rounded to 15 significant digits, as its text, before scaling.
    const double resistance = ReadNumber(SpacedText(ratio)) * R0;
    TemperatureResult result{PlainText(resistance), kBelowZeroCaption};
    // Below the equation's range the value is a reference only; said once the result exists,
    // so that an input that cannot be converted gets the error alone.
    if (t < kBottomOfRange) ShowRangeNotice(msgbox);
    return result;
}

TemperatureResult ConvertTemperature(std::string_view text, double A, double B, double C,
                                     const MessageBoxService& msgbox) {
    return ConvertTemperature(text, kBuiltInR0, A, B, C, msgbox);
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
    // Root of the quadratic nearest 0 °C, in the form that does not cancel near x = 0.
    const double ratio = RequireFinite(ohms / R0);
    const double x = ratio - 1;
    double t = RequireFinite(2 * x / (A + std::sqrt(A * A + 4 * B * x)));
    if (ratio >= 1) return t;
    t = BelowZeroInverse(t, ratio, A, B, C);
    // Below the resistance of -200 °C the answer is a reference only.
    if (ratio < BelowZeroRatio(kBottomOfRange, A, B, C)) ShowRangeNotice(msgbox);
    return t;
}

double com(std::int16_t r, double A, double B, double C, const MessageBoxService& msgbox) {
    return com(r, kBuiltInR0, A, B, C, msgbox);
}

namespace {

// Smallest value over [lo, hi] of the polynomial sum c[k] t^k (degree up to 3): the ends and
// the real roots of its derivative that fall inside.
double MinimumOfCubic(const double (&c)[4], double lo, double hi) {
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
    if (R0 > 0 && R0 <= 10000) return std::nullopt;
    return "R0 须大于 0 且不大于 10000 Ω！";
}

std::optional<std::string> CoefficientsRefusal(double A, double B, double C) {
    if (RisesStrictly(A, B, C)) return std::nullopt;
    return "这个值使阻值在 -200℃ 至 850℃ 之间不再随温度严格上升，请检查！";
}

}  // namespace quilvane
