// Every text fits its control under the interface font, at the Qt scale factor given as the
// first argument, and every control has the name a screen reader should say.
#include <QAccessible>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTest>

#include <clocale>
#include <cstdlib>

#include "core/value_text.h"
#include "tests/window/shown_window.h"
#include "window/Form1.h"
#include "window/application.h"

using namespace quilvane;
using namespace std::chrono;

namespace {

// The room a control gives its text.
int Room(QWidget* w) {
    if (auto* button = qobject_cast<QPushButton*>(w)) {
        QStyleOptionButton option;
        option.initFrom(button);
        return button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button).width();
    }
    if (auto* label = qobject_cast<QLabel*>(w)) return label->contentsRect().width() - 2 * label->margin();
    // A frame's caption sits on its top edge, inset from both sides by the style.
    if (qobject_cast<QGroupBox*>(w)) return w->contentsRect().width() - 16;
    return w->contentsRect().width();
}

}  // namespace

class FitTest : public QObject {
    Q_OBJECT

private slots:
    void everyTextFits();
    void controlsHaveAccessibleNames();
};

void FitTest::everyTextFits() {
    ShownWindow shown("fit-test");
    Form1* form = &shown.form;
    const auto get = [&](const char* name) { return form->findChild<QWidget*>(QString::fromLatin1(name)); };
    // The scale asked for is the one in force.
    QCOMPARE(form->devicePixelRatioF(), qEnvironmentVariable("QT_SCALE_FACTOR", "1").toDouble());

    struct Pair {
        QWidget* control;
        QString text;
        QString locale = {};
    };
    std::vector<Pair> pairs;
    for (const char* name : {"Label1", "gs", "Label2", "gs2", "Label3", "Label4", "Label6"})
        pairs.push_back({get(name), qobject_cast<QLabel*>(get(name))->text()});
    pairs.push_back({get("Frame1"), qobject_cast<QGroupBox*>(get("Frame1"))->title()});
    pairs.push_back({get("Command1"), qobject_cast<QPushButton*>(get("Command1"))->text()});
    pairs.push_back({get("Panel2"), QStringLiteral(" 本次使用时间：604800 s")});
    pairs.push_back({get("dqgs"), QStringLiteral("849Rt=R0*（1+A*t+B*t^2）")});
    pairs.push_back({get("dqgs"), QStringLiteral("Rt=R0*[1+A*t+B*t^2+C*(t-100)*t^3]")});

    // The clock at its widest: digits such as 28, 48, 58, 08 and 20 in many months, years and hours.
    std::vector<Moment> moments;
    for (int y : {2000, 2008, 2020, 2028, 2048, 2058, 2088})
        for (unsigned mo = 1; mo <= 12; ++mo)
            for (int h : {0, 8, 10, 12, 18, 20, 23})
                moments.push_back(local_days{year{y} / mo / 28} + hours{h} + minutes{48} + seconds{58});
    // Every locale the machine has at scales 1 and 2; seven of them at the scales between.
    QStringList locales{"C", "en_US.UTF-8", "en_GB.UTF-8", "de_DE.UTF-8", "zh_CN.UTF-8", "zh_TW.UTF-8", "ja_JP.UTF-8"};
    if (form->devicePixelRatioF() == 1 || form->devicePixelRatioF() == 2) {
        QProcess list;
        list.start("locale", {"-a"});
        QVERIFY(list.waitForFinished());
        locales = QString::fromLocal8Bit(list.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
        QVERIFY(locales.size() > 100);
    }
    for (const QString& name : locales) {
        const QByteArray locale = name.toLocal8Bit();
        QVERIFY2(std::setlocale(LC_TIME, locale.constData()), locale.constData());
        QString widest;
        for (const Moment m : moments) {
            const QString text = QString::fromStdString("当前时间：" + ClockText(m));
            if (get("Panel1")->fontMetrics().horizontalAdvance(text) > get("Panel1")->fontMetrics().horizontalAdvance(widest))
                widest = text;
        }
        pairs.push_back({get("Panel1"), widest, name});
    }
    std::setlocale(LC_TIME, "");

    QStringList overflow;
    for (const auto& [control, text, locale] : pairs) {
        const int need = control->fontMetrics().horizontalAdvance(text);
        const int room = Room(control);
        if (qEnvironmentVariableIsSet("QUILVANE_FIT_REPORT"))
            qInfo("%s %d/%d %s", qPrintable(control->objectName()), need, room, qPrintable(text));
        if (need > room) overflow << QStringLiteral("%1 needs %2 px of %3: ‹%4›").arg(control->objectName()).arg(need).arg(room).arg(text) + " " + locale;
    }
    QVERIFY2(overflow.isEmpty(), qPrintable(overflow.join('\n')));
}

void FitTest::controlsHaveAccessibleNames() {
    ShownWindow shown("fit-test");
    Form1* form = &shown.form;
    const auto get = [&](const char* name) { return form->findChild<QWidget*>(QString::fromLatin1(name)); };
    form->findChild<QLineEdit*>("wdz")->setText("25");
    form->Command1_Click();

    struct Case {
        const char* control;
        QString name;         // what the reader says
        QString description;  // what it explains, where given
    };
    const Case cases[] = {
        {"zz", "阻值（Ω）", "t = 25 ℃，灵敏度 dR/dt = 0.388 Ω/℃"},  // then the tolerance classes
        {"wdz", "温度值（℃）", ""},
        {"Command1", "换算", ""},
        {"dqgs", "25Rt=R0*（1+A*t+B*t^2）", "当前使用公式"},
        {"Panel1", QString::fromStdString("当前时间：" + ClockText(NowLocal())), "当前时间"},
        {"Panel2", " 本次使用时间：", "本次使用时间"},
        {"client", "", ""},  // the picture is decoration
    };
    for (const auto& c : cases) {
        QAccessibleInterface* a = QAccessible::queryAccessibleInterface(get(c.control));
        QVERIFY2(a, c.control);
        if (QString(c.control) == "Panel1") QVERIFY(a->text(QAccessible::Name).startsWith("当前时间："));
        else QCOMPARE(a->text(QAccessible::Name), c.name);
        if (QString(c.control) == "zz") QVERIFY(a->text(QAccessible::Description).startsWith(c.description));
        else QCOMPARE(a->text(QAccessible::Description), c.description);
    }
}

int main(int argc, char** argv) {
    // The scale factor must be in place before the application starts.
    if (argc > 1 && argv[1][0] != '-') {
        qputenv("QT_SCALE_FACTOR", argv[1]);
        --argc;
        ++argv;
    }
    QApplication app(argc, argv);
    quilvane::SetUpApplication();
    FitTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "fit_test.moc"
