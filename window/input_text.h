#pragma once

#include <QString>

#include <string>

namespace quilvane {

// The text of a box as the number reader wants it: what a Chinese input method types folded
// to ASCII. The full-width forms of ASCII (digits, signs, point, letters) and the ideographic
// space take their ASCII forms, the ideographic full stop stands for the decimal point and
// the minus sign U+2212 for "-". Everything else is left for the reader to judge. One pass
// over the text, character by character: no normalization, whose cost grows faster than the
// text with runs of combining marks.
inline std::string FoldedInput(const QString& text) {
    QString folded = text;
    for (QChar& c : folded) {
        const char16_t u = c.unicode();
        if (u >= 0xFF01 && u <= 0xFF5E) c = QChar(static_cast<char16_t>(u - 0xFEE0));
        else if (u == 0x3000) c = QLatin1Char(' ');
        else if (u == 0x3002) c = QLatin1Char('.');
        else if (u == 0x2212) c = QLatin1Char('-');
    }
    return folded.toStdString();
}

}  // namespace quilvane
