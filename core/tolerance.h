#pragma once

#include <string>

namespace quilvane {

// Sensitivity dR/dt in Ω/℃ at temperature t: R0 (A + 2Bt), plus R0 C (4t³ - 300t²) below 0 °C.
double Sensitivity(double t, double R0, double A, double B, double C);

// What the IEC 60751 tolerance classes allow at temperature t, as lines for a tooltip: the
// sensitivity to three significant digits (after rounding to 0.001), then for each class AA,
// A, B and C its tolerance ±(a + b|t|) ℃ and the resistance window R(t - Δt) … R(t + Δt) in Ω
// to two decimals, or that the class does not apply at t (neither its wire-wound nor its film
// range holds t; where only one does, that one is named).
std::string ToleranceText(double t, double R0, double A, double B, double C);

}  // namespace quilvane
