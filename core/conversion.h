#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/message_box.h"

namespace quilvane {

// What a temperature conversion yields for the window: the resistance text for the
// resistance box and the caption naming the formula used.
struct TemperatureResult {
    std::string resistance;
    std::string caption;
    double temperature = 0;  // the temperature used: rounded and limited from 0 °C up
};

// The formula captions and the notice shown for inputs at or beyond the range ends.
inline constexpr const char* kAboveZeroCaption = "Rt=R0*（1+A*t+B*t^2）";
inline constexpr const char* kBelowZeroCaption = "Rt=R0*[1+A*t+B*t^2+C*(t-100)*t^3]";
inline constexpr const char* kRangeNotice = "输出参考值，输入数据超出范围！";
inline constexpr const char* kNoticeTitle = "系统提示";

// The built-in values: a Pt100 sensor with the IPTS-68 coefficients (B rounded).
inline constexpr double kBuiltInR0 = 100.0;
inline constexpr double kBuiltInA = 3.90802E-03;
inline constexpr double kBuiltInB = -5.8E-07;
inline constexpr double kBuiltInC = -4.2735E-12;

// The IEC 60751 (ITS-90) coefficients most sensors sold today follow.
inline constexpr double kIecA = 3.9083E-03;
inline constexpr double kIecB = -5.775E-07;
inline constexpr double kIecC = -4.183E-12;

// Resistance of a platinum sensor of R0 ohms at 0 °C for the temperature typed as text, by
// the Callendar–Van Dusen equation. From 0 °C up the value is rounded to a whole degree and
// limited to 0..850 (the range notice is shown at 850 and above); below 0 °C it is used as
// typed with the C term, and below -200 °C the notice is shown once the result is computed.
// Throws NumericError, with no notice, when the input cannot be converted.
TemperatureResult ConvertTemperature(std::string_view text, double R0, double A, double B, double C,
                                     const MessageBoxService& msgbox);

// The same for a Pt100 (R0 = 100 Ω).
TemperatureResult ConvertTemperature(std::string_view text, double A, double B, double C,
                                     const MessageBoxService& msgbox);

// Resistance of a sensor of R0 ohms at 0 °C at temperature t, by the equation above, with no
// rounding of t and no range.
double Resistance(double t, double R0, double A, double B, double C);

// Range check: who below max and not below min is returned as is; otherwise the range
// notice is shown and the nearer bound returned. max itself counts as out of range.
double cknum(std::int16_t who, std::int16_t min, std::int16_t max,
             const MessageBoxService& msgbox);

// Temperature in °C of a sensor of R0 ohms at 0 °C reading r ohms: the exact inverse of the
// equation above, found inside a bracket that always holds it. At and above the resistance of
// 850 °C the range notice is shown and 850 returned; below the resistance of -200 °C the
// notice is shown before the exact inverse is returned. Throws NumericError, with no notice,
// when the values give no temperature.
double com(std::int16_t r, double R0, double A, double B, double C, const MessageBoxService& msgbox);

// The same for a Pt100 (R0 = 100 Ω).
double com(std::int16_t r, double A, double B, double C, const MessageBoxService& msgbox);

// Whether the equation with these coefficients makes the resistance rise strictly with the
// temperature over -200..850 °C (each piece's slope, a polynomial, is nowhere negative there
// and not zero throughout). Decided from the slope's extremes, not by sampling.
bool RisesStrictly(double A, double B, double C);

// The values the Settings accept: where platinum sensors lie. Every curve in use (alpha from
// 0.00375 to 0.003926, IEC 60751, IPTS-68, the old American and Japanese curves), calibration
// fits near them and the linear model (B = C = 0) fall within. Within them the resistance
// rises over every t below 850 °C and the quadratic's peak lies above 1750 °C, so each
// resistance below that of 850 °C has exactly one temperature.
inline constexpr double kMinR0 = 1, kMaxR0 = 10000;
inline constexpr double kMinA = 3.5E-03, kMaxA = 4.5E-03;
inline constexpr double kMinB = -1E-06, kMaxB = 0;
inline constexpr double kMinC = -1E-11, kMaxC = 0;

// The rules for the values the Settings apply: what is wrong with a value, for the user, or
// nothing when it may be applied. The coefficients are judged together, as they would be:
// each within its range, and the resistance rising strictly from -200 to 850 °C.
std::optional<std::string> R0Refusal(double R0);
std::optional<std::string> CoefficientsRefusal(double A, double B, double C);

}  // namespace quilvane
