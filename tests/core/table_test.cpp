#include "core/table.h"

#include <map>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/conversion.h"
#include "core/tolerance.h"

namespace quilvane {
namespace {

// The CSV's grid by row label, and its first two lines.
struct Csv {
    std::string first, header;
    std::map<std::string, std::vector<std::string>> rows;
};

Csv Parse(const std::string& text) {
    Csv csv;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (csv.first.empty()) { csv.first = line; continue; }
        if (csv.header.empty()) { csv.header = line; continue; }
        std::vector<std::string> cells;
        std::istringstream fields(line + ",");
        for (std::string cell; std::getline(fields, cell, ',');) cells.push_back(cell);
        const std::string label = cells.front();
        cells.erase(cells.begin());
        csv.rows[label] = cells;
    }
    return csv;
}

// The cell for a whole temperature: row d and column j, as printed tables lay them out.
std::string At(const Csv& csv, int t) {
    const int j = t < 0 ? -t % 10 : t % 10;
    const std::string label = t < 0 && t > -10 ? "-0" : std::to_string(t < 0 ? t + j : t - j);
    const auto row = csv.rows.find(label);
    return row == csv.rows.end() ? "(no row " + label + ")" : row->second.at(static_cast<std::size_t>(j));
}

TEST(Table, ReferenceValuesAndLayout) {
    struct Case {
        double R0, A, B, C;
        int t;
        const char* ohms;
    };
    const Case cases[] = {
        {100, kIecA, kIecB, kIecC, -200, "18.52"},   {1000, kIecA, kIecB, kIecC, -200, "185.20"},
        {100, kIecA, kIecB, kIecC, -100, "60.26"},   {1000, kIecA, kIecB, kIecC, -100, "602.56"},
        {100, kIecA, kIecB, kIecC, 20, "107.79"},    {1000, kIecA, kIecB, kIecC, 20, "1077.94"},  // 1077.935
        {100, kIecA, kIecB, kIecC, 100, "138.51"},   {1000, kIecA, kIecB, kIecC, 100, "1385.06"},
        {100, kIecA, kIecB, kIecC, 130, "149.83"},   {1000, kIecA, kIecB, kIecC, 130, "1498.32"},
        {100, kIecA, kIecB, kIecC, 300, "212.05"},   {1000, kIecA, kIecB, kIecC, 300, "2120.52"},
        {100, kIecA, kIecB, kIecC, 850, "390.48"},   {1000, kIecA, kIecB, kIecC, 850, "3904.81"},
        {100, kBuiltInA, kBuiltInB, kBuiltInC, -200, "18.49"}, {100, kBuiltInA, kBuiltInB, kBuiltInC, 850, "390.28"},
        {100, kIecA, kIecB, kIecC, -13, "94.91"},    {100, kIecA, kIecB, kIecC, 0, "100.00"},
    };
    for (const auto& c : cases) EXPECT_EQ(At(Parse(TableCsv(c.R0, c.A, c.B, c.C, -200, 850)), c.t), c.ohms) << c.R0 << " at " << c.t;

    const std::string text = TableCsv(100, kIecA, kIecB, kIecC, -15, 12);
    EXPECT_EQ(text.rfind("\xEF\xBB\xBF" "R0 = 100 Ω，A = 3.9083E-03，B = -5.775E-07，C = -4.183E-12（IEC 60751）\r\n"
                         "温度/℃,0,1,2,3,4,5,6,7,8,9\r\n-10,", 0), 0u);
    const Csv narrow = Parse(text);
    EXPECT_EQ(narrow.rows.size(), 4u);  // -10, -0, 0, 10
    EXPECT_EQ(narrow.rows.at("-10"), (std::vector<std::string>{"96.09", "95.69", "95.30", "94.91", "94.52", "94.12", "", "", "", ""}));
    EXPECT_EQ(narrow.rows.at("10").at(2), "104.68");
    EXPECT_EQ(narrow.rows.at("10").at(3), "");
    EXPECT_EQ(Parse(TableCsv(1000, kBuiltInA, kBuiltInB, kBuiltInC, 0, 5)).first.substr(3),
              "R0 = 1000 Ω，A = 3.90802E-03，B = -5.8E-07，C = -4.2735E-12（默认）");
    EXPECT_EQ(Parse(TableCsv(100, kIecA, kIecB, 0, 0, 5)).rows.count("-0"), 0u);  // no rows below zero from 0 up
    EXPECT_EQ(TwoDecimals("0.995"), "1.00");
    EXPECT_EQ(TwoDecimals("-999.995"), "-1000.00");
}

TEST(Table, ToleranceAt100) {
    const std::string text = ToleranceText(100, 100, kIecA, kIecB, kIecC);
    for (const char* line : {"t = 100 ℃，灵敏度 dR/dt = 0.379 Ω/℃", "AA 级 ±0.27 ℃：138.40 … 138.61 Ω",
                             "A 级 ±0.35 ℃：138.37 … 138.64 Ω", "B 级 ±0.8 ℃：138.20 … 138.81 Ω"})
        EXPECT_NE(text.find(line), std::string::npos) << line << "\n" << text;
    EXPECT_NE(ToleranceText(450, 100, kIecA, kIecB, kIecC).find("A 级 ±1.05 ℃：263.82 … 264.53 Ω（仅线绕）"), std::string::npos);
    EXPECT_NE(ToleranceText(-196, 100, kIecA, kIecB, kIecC).find("AA 级：此温度不适用"), std::string::npos);
}

}  // namespace
}  // namespace quilvane
