#include "core/conversion.h"

#include <cmath>

#include "core/value_text.h"

namespace quilvane {

namespace {

constexpr double kR0 = 100.0;
constexpr std::int16_t kTopOfRange = 850;

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

}  // namespace

TemperatureResult ConvertTemperature(std::string_view text, double A, double B, double C,
                                     const MessageBoxService& msgbox) {
    double t = ReadNumber(text);
    if (0 <= t) {
        const std::int16_t who = RoundToInt16(ReadNumber(text));
        t = cknum(who, 0, kTopOfRange, msgbox);
        const double resistance = AboveZeroRatio(t, A, B) * kR0;
        std::string caption = PlainText(t);
        caption += kAboveZeroCaption;
        return {SpacedText(resistance), std::move(caption)};
    }
    const double ratio = RequireFinite(BelowZeroRatio(t, A, B, C));
    // The ratio is rounded to 15 significant digits, as its text, before scaling.
    const double resistance = ReadNumber(SpacedText(ratio)) * kR0;
    return {PlainText(resistance), kBelowZeroCaption};
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

double com(std::int16_t r, double A, double B, double C, const MessageBoxService& msgbox) {
    const double ohms = r;
    if (ohms >= AboveZeroRatio(kTopOfRange, A, B) * kR0) {
        ShowRangeNotice(msgbox);
        return kTopOfRange;
    }
    // Root of the quadratic nearest 0 °C, in the form that does not cancel near x = 0.
    const double x = ohms / kR0 - 1;
    double t = RequireFinite(2 * x / (A + std::sqrt(A * A + 4 * B * x)));
    if (ohms >= kR0) return t;

    // Below 0 °C: Newton's method on the full equation. The quadratic root lies below the
    // answer and the curve is increasing and concave there, so the steps approach it
    // from one side without overshooting.
    // Over the whole 16-bit input the answer takes at most 12 steps; the cap only guards
    // against coefficients that would not converge.
    constexpr int kMaxSteps = 40;
    for (int i = 0; i < kMaxSteps; ++i) {
        const double f = BelowZeroRatio(t, A, B, C) - ohms / kR0;
        const double slope = A + 2 * B * t + C * (4 * std::pow(t, 3) - 300 * std::pow(t, 2));
        const double step = RequireFinite(f / slope);
        t -= step;
        if (std::fabs(step) < 1e-10) break;
    }
    return RequireFinite(t);
}

}  // namespace quilvane
