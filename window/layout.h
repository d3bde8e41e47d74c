#pragma once

#include <QColor>
#include <QFont>
#include <QPalette>
#include <QPushButton>
#include <QRect>
#include <QWidget>

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

// A control's own fore colour, font size and weight; each control keeps a font of its own.
inline void SetForeColor(QWidget* w, QPalette::ColorRole role, std::uint32_t bgr) {
    QPalette palette = w->palette();
    palette.setColor(role, FromBgr(bgr));
    w->setPalette(palette);
}

inline void SetFontSize(QWidget* w, int points) {
    QFont font = w->font();
    font.setPointSize(points);
    w->setFont(font);
}

inline void SetBold(QWidget* w, bool bold) {
    QFont font = w->font();
    font.setBold(bold);
    w->setFont(font);
}

// A dialog's push button with its object name; never pressed by Enter unless made default.
inline QPushButton* DialogButton(QWidget* dialog, const char* name, const QString& caption) {
    auto* b = new QPushButton(caption, dialog);
    b->setObjectName(QString::fromLatin1(name));
    b->setAutoDefault(false);
    return b;
}

inline constexpr const char* kAppTitle = "Quilvane";

}  // namespace quilvane
