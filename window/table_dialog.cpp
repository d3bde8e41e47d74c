#include "window/table_dialog.h"

#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>

#include "core/table.h"
#include "window/layout.h"
#include "window/message_boxes.h"

using namespace quilvane;

namespace {

QString Utf8(const std::string& text) { return QString::fromStdString(text); }

QSpinBox* DegreeField(QWidget* parent, const char* name, int value) {
    auto* field = new QSpinBox(parent);
    field->setObjectName(QString::fromLatin1(name));
    field->setRange(kTableFrom, kTableTo);
    field->setValue(value);
    field->setSuffix(QStringLiteral(" ℃"));
    return field;
}

}  // namespace

TableDialog::TableDialog(double R0, double A, double B, double C, QWidget* parent)
    : QDialog(parent), R0_(R0), A_(A), B_(B), C_(C) {
    setObjectName(QStringLiteral("table"));
    setWindowTitle(QStringLiteral("分度表"));

    values_ = new QLabel(Utf8(TableValuesLine(R0, A, B, C)), this);
    values_->setObjectName(QStringLiteral("values"));
    values_->setTextFormat(Qt::PlainText);
    values_->setTextInteractionFlags(Qt::TextSelectableByMouse);

    from_ = DegreeField(this, "from", kTableFrom);
    to_ = DegreeField(this, "to", kTableTo);
    from_->setAccessibleName(QStringLiteral("起始温度"));
    to_->setAccessibleName(QStringLiteral("终止温度"));
    auto* range = new QHBoxLayout;
    range->addWidget(new QLabel(QStringLiteral("温度范围："), this));
    range->addWidget(from_);
    range->addWidget(new QLabel(QStringLiteral("至"), this));
    range->addWidget(to_);
    range->addStretch(1);
    range->addWidget(new QLabel(QStringLiteral("单位：Ω"), this));
    // The two ends stay in order: moving one past the other takes the other along.
    connect(from_, &QSpinBox::valueChanged, this, [this](int v) {
        if (to_->value() < v) to_->setValue(v);
        Fill();
    });
    connect(to_, &QSpinBox::valueChanged, this, [this](int v) {
        if (from_->value() > v) from_->setValue(v);
        Fill();
    });

    grid_ = new QTableWidget(this);
    grid_->setObjectName(QStringLiteral("grid"));
    grid_->setAccessibleName(QStringLiteral("分度表"));
    grid_->setColumnCount(10);
    QStringList columns;
    for (int j = 0; j < 10; ++j) columns << QString::number(j);
    grid_->setHorizontalHeaderLabels(columns);
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    grid_->verticalHeader()->setDefaultAlignment(Qt::AlignRight | Qt::AlignVCenter);
    grid_->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 8);

    QPushButton* save = DialogButton(this, "save", QStringLiteral("保存 CSV…"));
    QPushButton* print = DialogButton(this, "print", QStringLiteral("打印…"));
    QPushButton* close = DialogButton(this, "close", QStringLiteral("关闭"));
    connect(save, &QPushButton::clicked, this, &TableDialog::Save);
    connect(print, &QPushButton::clicked, this, &TableDialog::AskAndPrint);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(save);
    buttons->addWidget(print);
    buttons->addStretch(1);
    buttons->addWidget(close);

    auto* column = new QVBoxLayout(this);
    column->addWidget(values_);
    column->addLayout(range);
    column->addWidget(grid_, 1);
    column->addLayout(buttons);
    resize(780, 560);
    Fill();
}

void TableDialog::Fill() {
    const std::vector<TableRow> rows = TableRows(R0_, A_, B_, C_, from_->value(), to_->value());
    grid_->setRowCount(static_cast<int>(rows.size()));
    QStringList labels;
    for (int i = 0; i < static_cast<int>(rows.size()); ++i) {
        const TableRow& row = rows[static_cast<std::size_t>(i)];
        labels << Utf8(row.label);
        for (int j = 0; j < 10; ++j) {
            auto* item = new QTableWidgetItem(Utf8(row.cells[static_cast<std::size_t>(j)]));
            item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            grid_->setItem(i, j, item);
        }
    }
    grid_->setVerticalHeaderLabels(labels);
}

void TableDialog::Save() {
    QFileDialog ask(this, QStringLiteral("保存分度表"), QStringLiteral("分度表.csv"),
                    QStringLiteral("CSV 文件 (*.csv)"));
    ask.setAcceptMode(QFileDialog::AcceptSave);
    ask.setDefaultSuffix(QStringLiteral("csv"));
    if (ask.exec() != QDialog::Accepted || ask.selectedFiles().isEmpty()) return;
    const QString path = ask.selectedFiles().constFirst();
    const std::string csv = TableCsv(R0_, A_, B_, C_, from_->value(), to_->value());
    QFile file(path);
    const bool written = file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
                         file.write(csv.data(), static_cast<qint64>(csv.size())) == static_cast<qint64>(csv.size()) &&
                         file.flush();
    if (!written) {
        ModalMessageBoxes(this)("无法保存文件：" + path.toStdString() + "\n" + file.errorString().toStdString(),
                                "错误提示", MB_ICONINFORMATION);
    }
}

void TableDialog::AskAndPrint() {
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setDocName(QStringLiteral("分度表"));
    QPrintDialog ask(&printer, this);
    if (ask.exec() == QDialog::Accepted) Print(printer);
}

void TableDialog::Print(QPrinter& printer) const {
    const std::vector<TableRow> rows = TableRows(R0_, A_, B_, C_, from_->value(), to_->value());
    constexpr std::size_t kRowsPerPage = 30;  // 300 ℃ a page
    QPainter painter(&printer);
    const QRectF page = printer.pageLayout().paintRectPixels(printer.resolution()).translated(
        -printer.pageLayout().paintRectPixels(printer.resolution()).topLeft());
    QFont font = QApplication::font();
    font.setPointSizeF(10);
    painter.setFont(font);
    const qreal line = QFontMetricsF(font, &printer).height() * 1.5;
    const qreal cell = page.width() / 11;
    const auto box = [&](qreal x, qreal y, const QString& text, bool frame) {
        const QRectF r(x, y, cell, line);
        if (frame) painter.drawRect(r);
        painter.drawText(r.adjusted(0, 0, -cell * 0.08, 0), Qt::AlignRight | Qt::AlignVCenter, text);
    };
    const QString title = QStringLiteral("分度表（单位：Ω）");
    const QString values = Utf8(TableValuesLine(R0_, A_, B_, C_));
    const std::size_t pages = std::max<std::size_t>(1, (rows.size() + kRowsPerPage - 1) / kRowsPerPage);
    for (std::size_t p = 0; p < pages; ++p) {
        if (p > 0) printer.newPage();
        qreal y = 0;
        painter.drawText(QRectF(0, y, page.width(), line), Qt::AlignLeft | Qt::AlignVCenter, title);
        painter.drawText(QRectF(0, y, page.width(), line), Qt::AlignRight | Qt::AlignVCenter,
                         QStringLiteral("第 %1 页，共 %2 页").arg(p + 1).arg(pages));
        y += line;
        painter.drawText(QRectF(0, y, page.width(), line), Qt::AlignLeft | Qt::AlignVCenter, values);
        y += line * 1.5;
        box(0, y, QStringLiteral("温度/℃"), true);
        for (int j = 0; j < 10; ++j) box(cell * (j + 1), y, QString::number(j), true);
        y += line;
        for (std::size_t i = p * kRowsPerPage; i < std::min(rows.size(), (p + 1) * kRowsPerPage); ++i) {
            box(0, y, Utf8(rows[i].label), true);
            for (std::size_t j = 0; j < 10; ++j) box(cell * static_cast<qreal>(j + 1), y, Utf8(rows[i].cells[j]), true);
            y += line;
        }
    }
}
