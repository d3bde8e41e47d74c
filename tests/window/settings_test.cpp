#include <QAction>
#include <QClipboard>
#include <QFile>
#include <QFileDialog>
#include <QSpinBox>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <unistd.h>

#include "core/conversion.h"
#include "core/table.h"
#include "core/value_text.h"
#include "tests/window/dialog_driver.h"
#include "tests/window/modal_watcher.h"
#include "tests/window/test_main.h"
#include "tests/window/shown_window.h"
#include "window/Form1.h"

using namespace quilvane;

namespace {

struct Window : ShownWindow {
    QLabel* label1 = form.findChild<QLabel*>("Label1");

    Window() : ShownWindow("settings-test") {}
    // Presses a shortcut on the window and runs the steps on the dialog it opens.
    int Press(const char* key, std::vector<DialogDriver::Step> steps, std::vector<ModalWatcher::Seen>* boxes = nullptr) {
        Activate();
        ModalWatcher watcher;
        DialogDriver driver(std::move(steps));
        QTest::keySequence(&form, QKeySequence(QString::fromLatin1(key)));
        if (boxes) *boxes = watcher.seen;
        if (driver.done == 0) qWarning("%s opened no dialog", key);
        return driver.leftOpen + (driver.done == 0 ? 1 : 0);
    }
};

QLineEdit* Field(QDialog* d) { return d->findChild<QLineEdit*>("value"); }
void Click(QDialog* d, const char* button) { d->findChild<QPushButton*>(button)->click(); }
void Type(QDialog* d, const QString& text) {
    Field(d)->selectAll();
    QTest::keyClick(Field(d), Qt::Key_Backspace);
    QTest::keyClicks(Field(d), text);
}
const DialogDriver::Step kEsc = [](QDialog* d) { QTest::keyClick(Field(d), Qt::Key_Escape); };

}  // namespace

class SettingsTest : public QObject {
    Q_OBJECT

private slots:
    void dialogsOpenFromTheBoxes();
    void refusedValuesKeepTheDialogAndTheValue();
    void applyingSwitchesLabel1AndTheConversion();
    void tableOpensWithCtrlTAndSaves();
};

// Each shortcut opens its dialog while a box has the focus: the title, the current value
// selected in the focused field, the fill buttons. The box neither copies nor selects all.
void SettingsTest::dialogsOpenFromTheBoxes() {
    Window w;
    QTest::keyClicks(w.zz, "123");
    w.zz->setSelection(1, 1);
    struct Case {
        const char* key;
        const char* title;
        double Form1::*value;
        const char* field;
        bool iec;
    };
    const Case cases[] = {{"Ctrl+R", "设置 R0", &Form1::R0, "100", false},
                          {"Ctrl+A", "设置系数 A", &Form1::A, "0.00390802", true},
                          {"Ctrl+B", "设置系数 B", &Form1::B, "-5.8E-07", true},
                          {"Ctrl+C", "设置系数 C", &Form1::C, "-4.2735E-12", true}};
    for (const auto& c : cases) {
        const double before = w.form.*c.value;
        QString title, field, selected, clipboard, pasted;
        QStringList order;
        bool focused = false, iec = false;
        const int open = w.Press(c.key, {[&](QDialog* d) {
                                     title = d->windowTitle();
                                     field = Field(d)->text();
                                     selected = Field(d)->selectedText();
                                     focused = QApplication::focusWidget() == Field(d);
                                     iec = d->findChild<QPushButton*>("iec") != nullptr;
                                     // Tab goes as the screen reads: the field, then the buttons left to right.
                                     for (int i = 0; i < (iec ? 4 : 3); ++i) {
                                         QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
                                         order << QApplication::focusWidget()->objectName();
                                     }
                                     Field(d)->setFocus();
                                     // The usual editing keys act in the field.
                                     QLineEdit* edit = Field(d);
                                     edit->setSelection(0, 1);
                                     QTest::keySequence(edit, QKeySequence::SelectAll);
                                     QTest::keySequence(edit, QKeySequence::Copy);
                                     clipboard = QApplication::clipboard()->text();
                                     QApplication::clipboard()->setText(QStringLiteral("7"));
                                     QTest::keySequence(edit, QKeySequence::Paste);
                                     pasted = edit->text();
                                     Type(d, "1000");  // typed, then Esc: nothing changes
                                     kEsc(d);
                                 }});
        QCOMPARE(open, 0);
        QCOMPARE(title, QString::fromUtf8(c.title));
        QCOMPARE(field, QString::fromLatin1(c.field));
        QCOMPARE(selected, field);
        QVERIFY(focused);
        QCOMPARE(iec, c.iec);
        QCOMPARE(order, c.iec ? QStringList({"builtin", "iec", "ok", "cancel"}) : QStringList({"builtin", "ok", "cancel"}));
        QCOMPARE(clipboard, field);
        QCOMPARE(pasted, QStringLiteral("7"));
        QCOMPARE(w.form.*c.value, before);
        QCOMPARE(w.zz->text(), QStringLiteral("123"));
        QCOMPARE(w.zz->selectedText(), QStringLiteral("2"));
    }
    QCOMPARE(w.label1->text(), QStringLiteral("默认"));
}

void SettingsTest::refusedValuesKeepTheDialogAndTheValue() {
    Window w;
    struct Case {
        const char* key;
        const char* typed;
    };
    const Case cases[] = {{"Ctrl+R", "abc"}, {"Ctrl+R", ""},   {"Ctrl+R", "-5"},    {"Ctrl+R", "0"},
                          {"Ctrl+R", "1e9"}, {"Ctrl+R", "1e400"}, {"Ctrl+B", "-0.01"}, {"Ctrl+A", "0"},
                          // Outside where platinum sensors lie; A = 30 is Ctrl+A, 30, Enter typed as a habit.
                          {"Ctrl+R", "1E-320"}, {"Ctrl+A", "30"}, {"Ctrl+B", "1E-06"}, {"Ctrl+C", "9E-11"}};
    for (const auto& c : cases) {
        std::vector<ModalWatcher::Seen> boxes;
        QString kept;
        bool stillOpen = false;
        const int open = w.Press(c.key,
                                 {[&](QDialog* d) {
                                      Type(d, QString::fromLatin1(c.typed));
                                      QTest::keyClick(Field(d), Qt::Key_Return);  // Enter is 确定
                                      stillOpen = d->isVisible();
                                      kept = Field(d)->text();
                                  },
                                  kEsc},
                                 &boxes);
        QCOMPARE(open, 0);
        QVERIFY2(stillOpen, c.typed);
        QCOMPARE(kept, QString::fromLatin1(c.typed));
        QCOMPARE(boxes.size(), size_t(1));
        QCOMPARE(boxes[0].title, QStringLiteral("错误提示"));
        QCOMPARE(boxes[0].icon, QMessageBox::Information);
        QVERIFY(!boxes[0].text.isEmpty());
        QCOMPARE(w.form.R0, kBuiltInR0);
        QCOMPARE(w.form.A, kBuiltInA);
        QCOMPARE(w.form.B, kBuiltInB);
    }
}

void SettingsTest::applyingSwitchesLabel1AndTheConversion() {
    Window w;
    // The fill buttons only fill the field; 确定 applies.
    QStringList filled;
    w.Press("Ctrl+B", {[&](QDialog* d) {
                Click(d, "iec");
                filled << Field(d)->text();
                Click(d, "builtin");
                filled << Field(d)->text();
                Click(d, "iec");
                Click(d, "ok");
            }});
    QCOMPARE(filled, (QStringList{"-5.775E-07", "-5.8E-07"}));
    QCOMPARE(w.form.B, kIecB);
    QCOMPARE(w.label1->text(), QStringLiteral("自定"));
    w.Press("Ctrl+B", {[](QDialog* d) { Click(d, "builtin"); Click(d, "ok"); }});
    QCOMPARE(w.label1->text(), QStringLiteral("默认"));

    // A Pt1000: typed over the selected value, applied with Enter.
    w.Press("Ctrl+R", {[](QDialog* d) {
                QTest::keyClicks(Field(d), " 1000 ");
                QTest::keyClick(Field(d), Qt::Key_Return);
            }});
    QCOMPARE(w.form.R0, 1000.0);
    QCOMPARE(w.label1->text(), QStringLiteral("自定"));
    w.wdz->setText("25");
    w.form.Command1_Click();
    QCOMPARE(w.zz->text(), QStringLiteral(" 1097.338"));
    QCOMPARE(w.label1->toolTip(), QStringLiteral("R0 = 1000 Ω，A = 3.90802E-03，B = -5.8E-07，C = -4.2735E-12"));
    // The result shown follows the values: R0 back to 100 converts the 25 again.
    w.Press("Ctrl+R", {[](QDialog* d) { Click(d, "builtin"); Click(d, "ok"); }});
    QCOMPARE(w.zz->text(), QStringLiteral(" 109.7338"));
    QCOMPARE(w.label1->text(), QStringLiteral("默认"));

    // Nothing is kept: a new window starts with the built-in values.
    w.form.close();
    Form1 next;
    next.SetInstanceName("quilvane-settings-test-next-" + std::to_string(::getpid()));
    QVERIFY(next.Form_Load());
    QCOMPARE(next.R0, kBuiltInR0);
    QCOMPARE(next.findChild<QLabel*>("Label1")->text(), QStringLiteral("默认"));
}

// 工具 > 分度表 (Ctrl+T) shows the table for the values in use, narrows it, and saves what
// the core writes. The result's tooltip gives the tolerance at the temperature converted.
void SettingsTest::tableOpensWithCtrlTAndSaves() {
    Window w;
    w.wdz->setText("100");
    w.form.Command1_Click();
    QVERIFY(w.zz->toolTip().startsWith(QStringLiteral("t = 100 ℃，灵敏度 dR/dt = 0.379 Ω/℃\nIEC 60751 允差：\nAA 级 ±0.27 ℃：")));
    QTemporaryDir dir;
    const QString path = dir.filePath("table.csv");
    QString title, values;
    int rows = -1;
    const int open = w.Press("Ctrl+T", {[&](QDialog* d) {
                                            title = d->windowTitle();
                                            values = d->findChild<QLabel*>("values")->text();
                                            d->findChild<QSpinBox*>("from")->setValue(-15);
                                            d->findChild<QSpinBox*>("to")->setValue(12);
                                            rows = d->findChild<QTableWidget*>("grid")->rowCount();
                                            // The file dialog opens inside this step: a driver of its own.
                                            DialogDriver files({[&](QDialog* f) {
                                                f->findChild<QLineEdit*>("fileNameEdit")->setText(path);  // typed
                                                QMetaObject::invokeMethod(f, &QDialog::accept);
                                            }});
                                            d->findChild<QPushButton*>("save")->click();
                                            d->findChild<QPushButton*>("close")->click();
                                        }});
    QCOMPARE(open, 0);
    QCOMPARE(title, QStringLiteral("分度表"));
    QCOMPARE(values, QStringLiteral("R0 = 100 Ω，A = 3.90802E-03，B = -5.8E-07，C = -4.2735E-12（默认）"));
    QCOMPARE(rows, 4);
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll().toStdString(), TableCsv(kBuiltInR0, kBuiltInA, kBuiltInB, kBuiltInC, -15, 12));
}

QUILVANE_TEST_MAIN(SettingsTest)
#include "settings_test.moc"
