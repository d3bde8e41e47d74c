// libFuzzer target over the conversion core. Checks, besides the sanitizers' own:
// ReadNumber never throws; what SpacedText and PlainText write reads back to the same
// 15-digit text; ConvertTemperature gives texts or NumericError and nothing else; com
// gives a finite temperature that the forward equation maps back onto its input, with the
// range notice exactly outside the equation's range, for the built-in values and for values
// (R0, A, B, C) drawn from the ranges the Settings accept; a text ReadWholeNumber accepts
// reads the same with ReadNumber.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "core/conversion.h"
#include "core/value_text.h"

namespace {

using namespace quilvane;

constexpr double A = 3.90802E-03;
constexpr double B = -5.8E-07;
constexpr double C = -4.2735E-12;

void Require(bool ok) {
    if (!ok) std::abort();
}

void CheckTextsReadBack(double x) {
    if (!std::isfinite(x)) return;
    const std::string plain = PlainText(x);
    const std::string spaced = SpacedText(x);
    Require(PlainText(ReadNumber(plain)) == plain);
    Require(SpacedText(ReadNumber(spaced)) == spaced);
}

struct Sensor {
    double R0, A, B, C;
};

double Forward(const Sensor& s, double t) {
    if (t >= 0) return s.R0 * (1 + s.A * t + s.B * t * t);
    return s.R0 * (1 + s.A * t + s.B * t * t + s.C * (t - 100) * t * t * t);
}

// A value in [lo, hi] from four bytes.
double Within(const std::uint8_t* p, double lo, double hi) {
    std::uint32_t u;
    std::memcpy(&u, p, sizeof u);
    return lo + (hi - lo) * (u / 4294967295.0);
}

// The inverse for resistance r: the forward equation maps it back within 1E-9 R0, with the
// notice exactly at and above R(850) (which gives 850) and below R(-200).
void CheckInverse(const Sensor& s, std::int16_t r) {
    int notices = 0;
    const MessageBoxService count = [&notices](const std::string&, const std::string&, int) { ++notices; };
    const double t = com(r, s.R0, s.A, s.B, s.C, count);
    Require(std::isfinite(t));
    // A resistance that equals R(850) or R(-200) to rounding may fall on either side.
    const auto near = [&](double ohms) { return std::fabs(r - ohms) <= 1e-9 * s.R0; };
    const double top = Forward(s, 850), bottom = Forward(s, -200);
    if (r >= top && !near(top)) {
        Require(notices == 1 && t == 850);
    } else if (!(r >= top)) {
        Require(std::fabs(Forward(s, t) - r) <= 1e-9 * s.R0);
        Require(notices == (r < bottom ? 1 : 0) || near(bottom));
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    int notices = 0;
    const MessageBoxService count = [&notices](const std::string&, const std::string&, int) { ++notices; };

    CheckTextsReadBack(ReadNumber(text));
    // A whole number, as the Settings take it, is what the lenient reader reads too.
    if (const auto whole = ReadWholeNumber(text)) Require(std::isfinite(*whole) && *whole == ReadNumber(text));
    if (size >= sizeof(double)) {
        double raw;
        std::memcpy(&raw, data, sizeof raw);
        CheckTextsReadBack(raw);
    }

    try {
        const TemperatureResult result = ConvertTemperature(text, A, B, C, count);
        Require(!result.resistance.empty() && !result.caption.empty());
        Require(notices <= 1);
    } catch (const NumericError&) {
    }

    if (size >= 2) {
        std::int16_t r;
        std::memcpy(&r, data, sizeof r);
        CheckInverse({100, A, B, C}, r);
        if (size >= 18) {
            const Sensor s{Within(data + 2, kMinR0, kMaxR0), Within(data + 6, kMinA, kMaxA),
                           Within(data + 10, kMinB, kMaxB), Within(data + 14, kMinC, kMaxC)};
            Require(!R0Refusal(s.R0) && !CoefficientsRefusal(s.A, s.B, s.C));
            CheckInverse(s, r);
        }
    }
    return 0;
}
