#pragma once

#include <QString>

#include <string>

namespace quilvane {

// The text of a box as the number reader wants it: what a Chinese input method types folded
// to ASCII. NFKC takes full-width digits, signs, point, letters and the ideographic space
// to their ASCII forms; the ideographic full stop stands for the decimal point and the
// minus sign U+2212 for "-". Everything else is left for the reader to judge.
inline std::string FoldedInput(const QString& text) {
    QString folded = text.normalized(QString::NormalizationForm_KC);
    folded.replace(QChar(0x3002), QLatin1Char('.'));
    folded.replace(QChar(0x2212), QLatin1Char('-'));
    return folded.toStdString();
}

}  // namespace quilvane
