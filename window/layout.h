#pragma once

#include <QColor>
#include <QRect>

#include <cstdint>

namespace quilvane {

// Positions and sizes are kept in twips, 1440 to the inch: 15 to a logical pixel.
constexpr int Px(int twips) { return (twips + 7) / 15; }
constexpr QRect TwipRect(int left, int top, int width, int height) {
    return QRect(Px(left), Px(top), Px(width), Px(height));
}

// The client area: the central widget above the status bar.
inline constexpr int kClientWidth = 7155;
inline constexpr int kClientHeight = 4515;
inline constexpr int kStatusBarTop = 4140;

// Colours are written 0x00BBGGRR: blue in the high byte, red in the low byte.
inline QColor FromBgr(std::uint32_t bgr) {
    return QColor(static_cast<int>(bgr & 0xFF), static_cast<int>((bgr >> 8) & 0xFF),
                  static_cast<int>((bgr >> 16) & 0xFF));
}

inline constexpr const char* kAppTitle = "Quilvane";

}  // namespace quilvane
