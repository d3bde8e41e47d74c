#include "core/table.h"

#include <algorithm>

#include "core/conversion.h"
#include "core/number_text.h"

namespace quilvane {

std::string TwoDecimals(std::string_view text) {
    const bool negative = !text.empty() && text.front() == '-';
    if (negative) text.remove_prefix(1);
    if (text.find('E') != std::string_view::npos) {
        // Only values far below a hundredth take the exponent form.
        return negative ? "-0.00" : "0.00";
    }
    const std::size_t point = std::min(text.find('.'), text.size());
    std::string hundredths(text.substr(0, point));
    std::string_view fraction = point < text.size() ? text.substr(point + 1) : std::string_view();
    for (std::size_t i = 0; i < 2; ++i) hundredths += i < fraction.size() ? fraction[i] : '0';
    if (fraction.size() > 2 && fraction[2] >= '5') {
        std::size_t i = hundredths.size();
        while (i > 0 && hundredths[i - 1] == '9') hundredths[--i] = '0';
        if (i == 0) hundredths.insert(0, "1");
        else ++hundredths[i - 1];
    }
    std::string out = hundredths.substr(0, hundredths.size() - 2);
    if (out.empty()) out = "0";
    out += '.';
    out += hundredths.substr(hundredths.size() - 2);
    return negative && out != "0.00" ? "-" + out : out;
}

std::string SetName(double A, double B, double C) {
    if (A == kIecA && B == kIecB && C == kIecC) return "IEC 60751";
    if (A == kBuiltInA && B == kBuiltInB && C == kBuiltInC) return "默认";
    return "自定";
}

std::string ValuesText(double R0, double A, double B, double C) {
    return "R0 = " + PlainText(R0) + " Ω，A = " + ExponentText(A) + "，B = " + ExponentText(B) + "，C = " +
           ExponentText(C);
}

std::string TableValuesLine(double R0, double A, double B, double C) {
    return ValuesText(R0, A, B, C) + "（" + SetName(A, B, C) + "）";
}

namespace {

// The resistance the window gives for a whole temperature, to two decimals.
std::string Cell(int t, double R0, double A, double B, double C) {
    std::string ohms = ConvertTemperature(IntText(static_cast<std::int16_t>(t)), R0, A, B, C, {}).resistance;
    if (!ohms.empty() && ohms.front() == ' ') ohms.erase(0, 1);
    return TwoDecimals(ohms);
}

}  // namespace

std::vector<TableRow> TableRows(double R0, double A, double B, double C, int fromC, int toC) {
    fromC = std::max(fromC, kTableFrom);
    toC = std::min(toC, kTableTo);
    std::vector<TableRow> rows;
    const auto add = [&](int d, int sign, std::string label) {
        TableRow row{std::move(label), {}};
        bool any = false;
        for (int j = 0; j < 10; ++j) {
            const int t = d + sign * j;
            if (t < fromC || t > toC || t < kTableFrom || t > kTableTo) continue;
            row.cells[static_cast<std::size_t>(j)] = Cell(t, R0, A, B, C);
            any = true;
        }
        if (any) rows.push_back(std::move(row));
    };
    if (fromC < 0)
        for (int d = kTableFrom; d <= 0; d += 10) add(d, -1, d == 0 ? "-0" : std::to_string(d));
    for (int d = 0; d <= kTableTo; d += 10) add(d, 1, std::to_string(d));
    return rows;
}

std::string TableCsv(double R0, double A, double B, double C, int fromC, int toC) {
    std::string csv = "\xEF\xBB\xBF" + TableValuesLine(R0, A, B, C) + "\r\n温度/℃";
    for (int j = 0; j < 10; ++j) csv += "," + std::to_string(j);
    csv += "\r\n";
    for (const TableRow& row : TableRows(R0, A, B, C, fromC, toC)) {
        csv += row.label;
        for (const std::string& cell : row.cells) csv += "," + cell;
        csv += "\r\n";
    }
    return csv;
}

}  // namespace quilvane
