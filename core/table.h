#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace quilvane {

// The reference table (分度表) as printed tables lay it out: a row for every ten degrees and
// ten columns 0 to 9. From 0 °C up the cell in column j of row d is R(d + j); the rows below
// zero are labelled -0, -10, ..., -200 and their cell in column j is R(d - j). Rows run from
// -200 up to 850; cells outside the range asked for are empty, and rows with none inside it
// are left out (the rows below zero whenever the range starts at 0 or above).
inline constexpr int kTableFrom = -200;
inline constexpr int kTableTo = 850;

struct TableRow {
    std::string label;                // "-200" ... "-10", "-0", "0", "10" ... "850"
    std::array<std::string, 10> cells;  // Ω to two decimals, or empty
};

std::vector<TableRow> TableRows(double R0, double A, double B, double C, int fromC, int toC);

// The values in use: "R0 = 100 Ω，A = 3.9083E-03，B = -5.775E-07，C = -4.183E-12".
std::string ValuesText(double R0, double A, double B, double C);
// The line above a table: the values and the name of their set, "…（IEC 60751）".
std::string TableValuesLine(double R0, double A, double B, double C);
// "IEC 60751" for that standard's A, B and C, "默认" for the built-in ones, "自定" otherwise.
std::string SetName(double A, double B, double C);

// The table as CSV for a spreadsheet: UTF-8 with a byte-order mark, the values line, the
// header row and the grid, each row led by its label; an empty cell is nothing between two
// commas. Lines end in CR LF.
std::string TableCsv(double R0, double A, double B, double C, int fromC, int toC);

// A decimal text as PlainText writes it, rounded to two decimals, halves away from zero
// (四舍五入): "1077.935" gives "1077.94".
std::string TwoDecimals(std::string_view text);

}  // namespace quilvane
