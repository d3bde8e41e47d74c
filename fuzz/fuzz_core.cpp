// libFuzzer target over the conversion core. Checks, besides the sanitizers' own:
// ReadNumber never throws; what SpacedText and PlainText write reads back to the same
// 15-digit text; ConvertTemperature gives texts or NumericError and nothing else; com
// gives a finite temperature that the forward equation maps back onto its input, with the
// range notice exactly outside the equation's range; a text ReadWholeNumber accepts reads
// the same with ReadNumber.
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

double Forward(double t) {
    if (t >= 0) return 100 * (1 + A * t + B * t * t);
    return 100 * (1 + A * t + B * t * t + C * (t - 100) * t * t * t);
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
        notices = 0;
        const double t = com(r, A, B, C, count);
        Require(std::isfinite(t));
        // The notice outside 18.49396 (the resistance of -200 °C) to 390.2767 Ω.
        if (r <= 390) Require(notices == (r <= 18 ? 1 : 0) && std::fabs(Forward(t) - r) <= 1e-9);
        else Require(notices == 1 && t == 850);
    }
    return 0;
}
