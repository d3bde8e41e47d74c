#pragma once

#include <QDialog>

class QLabel;
class QPrinter;
class QSpinBox;
class QTableWidget;

// The reference table (分度表) for the values in use: the values line, two fields that
// narrow the range, the grid, and buttons to save it as CSV and to print it.
class TableDialog : public QDialog {
    Q_OBJECT

public:
    TableDialog(double R0, double A, double B, double C, QWidget* parent);

    // Prints the table for the range shown: about 300 ℃ to an A4 page, the values line on
    // every page.
    void Print(QPrinter& printer) const;

private:
    void Fill();
    void Save();
    void AskAndPrint();

    double R0_, A_, B_, C_;
    QLabel* values_ = nullptr;
    QSpinBox* from_ = nullptr;
    QSpinBox* to_ = nullptr;
    QTableWidget* grid_ = nullptr;
};
