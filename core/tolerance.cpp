#include "core/tolerance.h"

#include <charconv>
#include <cmath>

#include "core/conversion.h"
#include "core/number_text.h"
#include "core/table.h"

namespace quilvane {

namespace {

struct ToleranceClass {
    const char* name;
    double a, b;                  // ±(a + b|t|) ℃
    double wireFrom, wireTo;      // wire-wound elements
    double filmFrom, filmTo;      // film elements
};

constexpr ToleranceClass kClasses[] = {
    {"AA", 0.10, 0.0017, -50, 250, 0, 150},
    {"A", 0.15, 0.002, -100, 450, -30, 300},
    {"B", 0.30, 0.005, -196, 600, -50, 500},
    {"C", 0.60, 0.01, -196, 600, -50, 600},
};

std::string Ohms(double r) { return TwoDecimals(PlainText(r)); }

}  // namespace

double Sensitivity(double t, double R0, double A, double B, double C) {
    const double below = t < 0 ? C * (4 * t * t * t - 300 * t * t) : 0;
    return R0 * (A + 2 * B * t + below);
}

std::string ToleranceText(double t, double R0, double A, double B, double C) {
    // Rounded to 0.001 first, then to three significant digits.
    const double slope = std::round(Sensitivity(t, R0, A, B, C) * 1000) / 1000;
    char digits[32];
    char* end = std::to_chars(digits, digits + sizeof digits, slope, std::chars_format::general, 3).ptr;
    std::string text = "t = " + PlainText(t) + " ℃，灵敏度 dR/dt = " + std::string(digits, end) + " Ω/℃";
    text += "\nIEC 60751 允差：";
    for (const ToleranceClass& c : kClasses) {
        const bool wire = t >= c.wireFrom && t <= c.wireTo;
        const bool film = t >= c.filmFrom && t <= c.filmTo;
        text += "\n" + std::string(c.name) + " 级";
        if (!wire && !film) {
            text += "：此温度不适用";
            continue;
        }
        const double delta = std::round((c.a + c.b * std::fabs(t)) * 1e4) / 1e4;
        text += " ±" + PlainText(delta) + " ℃：" + Ohms(Resistance(t - delta, R0, A, B, C)) + " … " +
                Ohms(Resistance(t + delta, R0, A, B, C)) + " Ω";
        if (!film) text += "（仅线绕）";
        if (!wire) text += "（仅薄膜）";
    }
    return text;
}

}  // namespace quilvane
