#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/message_box.h"

namespace quilvane {

// What a temperature conversion yields for the window: the resistance text for the
// resistance box and the caption naming the formula used.
struct TemperatureResult {
    std::string resistance;
    std::string caption;
};

// The formula captions and the notice shown for inputs at or beyond the range ends.
inline constexpr const char* kAboveZeroCaption = "Rt=R0*（1+A*t+B*t^2）";
inline constexpr const char* kBelowZeroCaption = "Rt=R0*[1+A*t+B*t^2+C*(t-100)*t^3]";
inline constexpr const char* kRangeNotice = "输出参考值，输入数据超出范围！";
inline constexpr const char* kNoticeTitle = "系统提示";

// Resistance of a Pt100 sensor (R0 = 100 Ω) for the temperature typed as text, by the
// Callendar–Van Dusen equation. From 0 °C up the value is rounded to a whole degree and
// limited to 0..850 (the range notice is shown at 850 and above); below 0 °C it is used as
// typed with the C term. Throws NumericError when the input cannot be converted.
TemperatureResult ConvertTemperature(std::string_view text, double A, double B, double C,
                                     const MessageBoxService& msgbox);

// Range check: who below max and not below min is returned as is; otherwise the range
// notice is shown and the nearer bound returned. max itself counts as out of range.
double cknum(std::int16_t who, std::int16_t min, std::int16_t max,
             const MessageBoxService& msgbox);

// Temperature in °C of a Pt100 sensor reading r ohms: the exact inverse of the equation
// above. At and above the resistance of 850 °C the range notice is shown and 850 returned.
// Throws NumericError when the coefficients give no finite answer.
double com(std::int16_t r, double A, double B, double C, const MessageBoxService& msgbox);

}  // namespace quilvane
