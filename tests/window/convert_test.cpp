#include <QAction>
#include <QClipboard>
#include <QMenu>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <unistd.h>

#include <memory>

#include "core/value_text.h"
#include "tests/window/modal_watcher.h"
#include "tests/window/test_main.h"
#include "tests/window/shown_window.h"
#include "window/Form1.h"

using namespace quilvane;

namespace {

const QString kAbove = QStringLiteral("Rt=R0*（1+A*t+B*t^2）");
const QString kBelow = QStringLiteral("Rt=R0*[1+A*t+B*t^2+C*(t-100)*t^3]");
const QString kError = QStringLiteral("错误提示");
const QString kNotice = QStringLiteral("系统提示");
const QString kRange = QStringLiteral("输出参考值，输入数据超出范围！");
const QString kOverflow = QStringLiteral("输入数值超出范围，无法换算！");

// The temperature of a Pt100 at 110 Ω with the built-in coefficients, worked out apart from
// the program (the root of the quadratic, to 15 digits).
const QString k110Ohms = QStringLiteral("25.6863262384183");

enum class Marks { None, TemperatureIn, ResistanceIn };

struct Window : ShownWindow {
    QLabel* dqgs = form.findChild<QLabel*>("dqgs");
    QPushButton* command = form.findChild<QPushButton*>("Command1");

    Window() : ShownWindow("convert-test") {}
    void Click() {
        QTest::mouseClick(command, Qt::LeftButton);
        Activate();
    }
};

// The marks of a conversion: input blue, 9 point, plain; output red, 12 point, bold.
void CheckMarks(const Window& w, Marks marks) {
    const auto check = [](const QLineEdit* box, const QColor& colour, int points, bool bold) {
        QCOMPARE(box->palette().color(QPalette::Text), colour);
        QCOMPARE(box->font().pointSize(), points);
        QCOMPARE(box->font().bold(), bold);
    };
    const QColor plain = QApplication::palette(w.wdz).color(QPalette::Text);
    const QColor blue(0, 0, 255), red(255, 0, 0);
    switch (marks) {
    case Marks::None:
        check(w.wdz, plain, 9, false);
        check(w.zz, plain, 9, false);
        break;
    case Marks::TemperatureIn:
        check(w.wdz, blue, 9, false);
        check(w.zz, red, 12, true);
        break;
    case Marks::ResistanceIn:
        check(w.zz, blue, 9, false);
        check(w.wdz, red, 12, true);
        break;
    }
}

}  // namespace

class ConvertTest : public QObject {
    Q_OBJECT

private slots:
    void click_data();
    void click();
    void rangeNoticeComesOverTheMarkedBoxesBeforeTheResult();
    void secondClickGivesInputError();
    void focusClearingReadiesTheNextConversion();
    void returningFromAMessageClearsNothing();
    void aboutAndInertItems();
    void messageBoxesSpeakChineseAndCopy();
};

void ConvertTest::click_data() {
    QTest::addColumn<QString>("wdz");
    QTest::addColumn<QString>("zz");
    QTest::addColumn<QStringList>("messages");  // title|text|icon for each box, in order
    QTest::addColumn<QString>("wdzAfter");
    QTest::addColumn<QString>("zzAfter");
    QTest::addColumn<QString>("dqgsAfter");
    QTest::addColumn<int>("marks");

    const auto msg = [](const QString& title, const QString& text, QMessageBox::Icon icon) {
        return title + "|" + text + "|" + QString::number(icon);
    };
    const int none = int(Marks::None), tIn = int(Marks::TemperatureIn), rIn = int(Marks::ResistanceIn);
    const auto info = QMessageBox::Information;

    QTest::newRow("both empty") << "" << "" << QStringList{msg(kError, "请至少输入一个量！", info)}
                                << "" << "" << "" << none;
    QTest::newRow("both filled") << "25" << "1" << QStringList{msg(kError, "输入错误！", info)}
                                 << "25" << "1" << "" << none;
    QTest::newRow("25") << "25" << "" << QStringList{} << "25" << " 109.7338" << "25" + kAbove << tIn;
    QTest::newRow("-50") << "-50" << "" << QStringList{} << "-50" << "80.3068871875" << kBelow << tIn;
    QTest::newRow("900") << "900" << "" << QStringList{msg(kNotice, kRange, info)} << "900"
                         << " 390.2767" << "850" + kAbove << tIn;
    QTest::newRow("blank") << " " << "" << QStringList{} << " " << " 100" << "0" + kAbove << tIn;
    QTest::newRow("abc") << "abc" << "" << QStringList{} << "abc" << " 100" << "0" + kAbove << tIn;
    QTest::newRow("110 ohms") << "" << "110"
                              << QStringList{msg("Quilvane", k110Ohms, QMessageBox::NoIcon)}
                              << "" << "110" << "" << rIn;
    QTest::newRow("391 ohms") << "" << "391"
                              << QStringList{msg(kNotice, kRange, info),
                                             msg("Quilvane", "850", QMessageBox::NoIcon)}
                              << "" << "391" << "" << rIn;
    QTest::newRow("temperature overflow") << "32767.5" << "" << QStringList{msg(kError, kOverflow, info)}
                                          << "32767.5" << "" << "" << tIn;
    QTest::newRow("below-zero overflow") << "-1e80" << "" << QStringList{msg(kError, kOverflow, info)}
                                         << "-1e80" << "" << "" << tIn;
    // What a Chinese input method types reads as its ASCII form; the box keeps it as typed.
    struct Typed {
        const char* tag;
        const char* text;
        const char* zz;
        QString caption;
    };
    const QString at25 = "25" + kAbove;
    const Typed typed[] = {
        {"full-width 25", "２５", " 109.7338", at25},         {"full-width -50", "－５０", "80.3068871875", kBelow},
        {"minus sign", "−40", "84.271290944", kBelow},         {"ideographic stop", "-12。5", "95.1058185998535", kBelow},
        {"full-width point", "１００．０", " 138.5002", "100" + kAbove}, {"25℃", "２５℃", " 109.7338", at25},
        {"full-width plus", "＋２５", " 109.7338", at25},      {"mixed", "-1２.5", "95.1058185998535", kBelow},
        {"ideographic space", "　２５", " 109.7338", at25},    {"decimal comma", "-12,5", "95.3019412923904", kBelow},
    };
    for (const auto& t : typed)
        QTest::newRow(t.tag) << QString::fromUtf8(t.text) << "" << QStringList{} << QString::fromUtf8(t.text)
                             << QString::fromUtf8(t.zz) << t.caption << tIn;
    QTest::newRow("full-width 110 ohms") << "" << "１１０"
                                         << QStringList{msg("Quilvane", k110Ohms, QMessageBox::NoIcon)}
                                         << "" << "１１０" << "" << rIn;
    // Below the equation's range: the notice, then the value, computed as ever.
    QTest::newRow("-200") << "-200" << "" << QStringList{} << "-200" << "18.49396" << kBelow << tIn;
    QTest::newRow("-300") << "-300" << "" << QStringList{msg(kNotice, kRange, info)} << "-300"
                          << "-27.07598" << kBelow << tIn;
    QTest::newRow("0 ohms") << "" << "0"
                            << QStringList{msg(kNotice, kRange, info),
                                           msg("Quilvane", "-241.906438429507", QMessageBox::NoIcon)}
                            << "" << "0" << "" << rIn;
    QTest::newRow("18 ohms") << "" << "18"
                             << QStringList{msg(kNotice, kRange, info),
                                            msg("Quilvane", "-201.140736976355", QMessageBox::NoIcon)}
                             << "" << "18" << "" << rIn;
    QTest::newRow("-1e200") << "-1e200" << "" << QStringList{msg(kError, kOverflow, info)}
                            << "-1e200" << "" << "" << tIn;
    QTest::newRow("resistance overflow") << "" << "-32768.6" << QStringList{msg(kError, kOverflow, info)}
                                         << "" << "-32768.6" << "" << rIn;
}

void ConvertTest::click() {
    QFETCH(QString, wdz);
    QFETCH(QString, zz);
    QFETCH(QStringList, messages);
    Window w;
    w.wdz->setText(wdz);
    w.zz->setText(zz);
    QStringList seen;
    {
        ModalWatcher watcher;
        w.Click();
        for (const auto& box : watcher.seen)
            seen << box.title + "|" + box.text + "|" + QString::number(box.icon);
    }
    QCOMPARE(seen, messages);
    QTEST(w.wdz->text(), "wdzAfter");
    QTEST(w.zz->text(), "zzAfter");
    QTEST(w.dqgs->text(), "dqgsAfter");
    QFETCH(int, marks);
    CheckMarks(w, Marks(marks));
    QVERIFY(w.form.isVisible());
    // A result is shown from its first digit, however wide.
    if (marks == int(Marks::TemperatureIn)) QCOMPARE(w.zz->cursorPosition(), 0);
}

// Qt's own texts are Chinese, and an answer's text can be selected and copied.
void ConvertTest::messageBoxesSpeakChineseAndCopy() {
    Window w;
    w.zz->setText("110");
    QString ok, copied;
    Qt::TextInteractionFlags flags;
    {
        ModalWatcher watcher([&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ok = box->button(QMessageBox::Ok)->text();
            flags = box->findChild<QLabel*>("qt_msgbox_label")->textInteractionFlags();
            QApplication::clipboard()->clear();
            QTest::keySequence(box, QKeySequence::Copy);
            copied = QApplication::clipboard()->text();
        });
        w.Click();
    }
    QCOMPARE(ok, QStringLiteral("确定"));
    QVERIFY(flags.testFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard));
    QCOMPARE(copied, k110Ohms);
    QStringList menu;
    const std::unique_ptr<QMenu> context(w.zz->createStandardContextMenu());
    for (const QAction* action : context->actions()) menu << action->text();
    const QString joined = menu.join(' ');
    QVERIFY2(joined.contains("复制") && joined.contains("粘贴") && joined.contains("全选"), qPrintable(joined));
}

void ConvertTest::rangeNoticeComesOverTheMarkedBoxesBeforeTheResult() {
    Window w;
    w.wdz->setText("1000");
    QString zzWhileShown = "unset";
    int boxes = 0;
    {
        ModalWatcher watcher([&] {
            zzWhileShown = w.zz->text();
            ++boxes;
            CheckMarks(w, Marks::TemperatureIn);
        });
        w.Click();
    }
    QCOMPARE(boxes, 1);
    QCOMPARE(zzWhileShown, QString());
    QCOMPARE(w.zz->text(), QStringLiteral(" 390.2767"));
}

void ConvertTest::secondClickGivesInputError() {
    Window w;
    w.wdz->setText("25");
    w.Click();
    ModalWatcher watcher;
    w.Click();
    QCOMPARE(watcher.seen.size(), size_t(1));
    QCOMPARE(watcher.seen[0].text, QStringLiteral("输入错误！"));
    QCOMPARE(w.zz->text(), QStringLiteral(" 109.7338"));
    QCOMPARE(w.dqgs->text(), "25" + kAbove);
    CheckMarks(w, Marks::TemperatureIn);
}

void ConvertTest::focusClearingReadiesTheNextConversion() {
    Window w;
    QCOMPARE(QApplication::focusWidget(), w.zz);
    QTest::mouseClick(w.wdz, Qt::LeftButton);
    QTest::keyClicks(w.wdz, "25");
    w.Click();
    QCOMPARE(w.zz->text(), QStringLiteral(" 109.7338"));

    // Into zz by mouse: the typed temperature goes, the red result stays with its marks.
    QTest::mouseClick(w.zz, Qt::LeftButton);
    QCOMPARE(w.wdz->text(), QString());
    QCOMPARE(w.zz->text(), QStringLiteral(" 109.7338"));
    CheckMarks(w, Marks::TemperatureIn);
    QCOMPARE(w.dqgs->text(), "25" + kAbove);

    // Now a click converts the other way: 109.7338 rounds to 110 ohms.
    {
        ModalWatcher watcher;
        w.Click();
        QCOMPARE(watcher.seen.size(), size_t(1));
        QCOMPARE(watcher.seen[0].text, k110Ohms);
    }
    CheckMarks(w, Marks::ResistanceIn);

    // By Tab: from Command1 to zz empties wdz, from zz to wdz empties zz.
    w.wdz->setText("7");
    QCOMPARE(QApplication::focusWidget(), w.command);
    QTest::keyClick(w.command, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), w.zz);
    QCOMPARE(w.wdz->text(), QString());
    QTest::keyClick(w.zz, Qt::Key_Tab);
    QCOMPARE(w.zz->text(), QString());

    // Enter presses the button while it has the focus, and only then.
    w.wdz->setText("100");
    {
        ModalWatcher watcher;
        QTest::keyClick(w.wdz, Qt::Key_Return);
        QCOMPARE(w.zz->text(), QString());
        w.command->setFocus();
        QTest::keyClick(w.command, Qt::Key_Return);
        QVERIFY(watcher.seen.empty());
    }
    QCOMPARE(w.zz->text(), QStringLiteral(" 138.5002"));
}

void ConvertTest::returningFromAMessageClearsNothing() {
    Window w;
    QTest::mouseClick(w.wdz, Qt::LeftButton);
    w.zz->setText("kept");
    {
        ModalWatcher watcher;
        QTest::keyClick(w.wdz, Qt::Key_F1);
        QTRY_COMPARE(watcher.seen.size(), size_t(1));
    }
    w.Activate();
    QCOMPARE(QApplication::focusWidget(), w.wdz);
    QCOMPARE(w.zz->text(), QStringLiteral("kept"));
}

void ConvertTest::aboutAndInertItems() {
    Window w;
    w.wdz->setText("25");
    {
        ModalWatcher watcher;
        w.form.findChild<QAction*>("no")->trigger();
        QVERIFY(watcher.seen.empty());
        w.form.findChild<QAction*>("abt")->trigger();
        QCOMPARE(watcher.seen.size(), size_t(1));
        QCOMPARE(watcher.seen[0].title, kNotice);
        QCOMPARE(watcher.seen[0].text, QStringLiteral("本程序由Veskaro dremmil 提供！"));
        QCOMPARE(watcher.seen[0].icon, QMessageBox::Information);
    }
    QCOMPARE(w.wdz->text(), QStringLiteral("25"));
    QCOMPARE(w.zz->text(), QString());
    CheckMarks(w, Marks::None);
}

QUILVANE_TEST_MAIN(ConvertTest)
#include "convert_test.moc"
