#include <QAction>
#include <QClipboard>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>
#include <QTimer>

#include <grp.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <signal.h>
#include <unistd.h>

#include <cstddef>
#include <cstring>
#include <memory>
#include <vector>

#include "core/value_text.h"
#include "startup/single_instance.h"
#include "tests/window/dialog_driver.h"
#include "tests/window/modal_watcher.h"
#include "tests/window/test_main.h"
#include "window/Form1.h"

using namespace quilvane;
using namespace std::chrono;

namespace {

Moment At(int y, unsigned mo, unsigned d, int h, int mi, int s) {
    return local_days{year{y} / mo / d} + hours{h} + minutes{mi} + seconds{s};
}

std::string TestInstanceName(const char* tag) {
    return "quilvane-test-" + std::to_string(::getpid()) + "-" + tag;
}

// A window with its own instance name and a clock the test moves by hand.
struct Fixture {
    Moment now = At(2026, 12, 7, 8, 31, 8);
    SingleInstance instance;
    Form1 form;
    Fixture() {
        form.SetInstanceCheck([this](const std::string& name) { return instance.Claim(name); });
        form.SetInstanceName(TestInstanceName("form"));
        form.SetClock([this] { return now; });
    }
    template <typename T>
    T* get(const char* name) {
        T* w = form.findChild<T*>(QString::fromLatin1(name));
        if (w == nullptr) qFatal("no control named %s", name);
        return w;
    }
    QString text(const char* label) { return get<QLabel>(label)->text(); }
    void Show() {
        form.show();
        form.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&form));
    }
};

}  // namespace

class Form1Test : public QObject {
    Q_OBJECT

private slots:
    void controlsSitWhereTheLayoutSays();
    void windowIsFixedAndCentred();
    void captionsAndFonts();
    void stackingOrder();
    void focusOrder();
    void menuTree();
    void menuShortcutsWinInsideTheBoxes();
    void f12ClosesTheWindow();
    void startUpState();
    void startUpAtMidnight();
    void clockTicks();
    void tickBeforeStartMomentIsHarmless();
    void secondCopyShowsNoticeAndEnds();
    void singleInstance_data();
    void singleInstance();
};

void Form1Test::controlsSitWhereTheLayoutSays() {
    Fixture f;
    struct Case {
        const char* name;
        QRect rect;  // pixels, in the container's coordinates
        const char* parent;
    };
    const Case cases[] = {
        {"Label1", {16, 24, 33, 25}, "client"},   {"gs", {72, 24, 337, 25}, "client"},
        {"Label2", {16, 48, 33, 25}, "client"},   {"gs2", {72, 48, 393, 25}, "client"},
        {"Label3", {56, 80, 89, 17}, "client"},   {"dqgs", {152, 80, 289, 17}, "client"},
        {"Frame1", {20, 128, 433, 121}, "client"}, {"zz", {16, 40, 137, 33}, "Frame1"},
        {"Command1", {192, 168, 97, 33}, "client"}, {"wdz", {304, 168, 137, 33}, "client"},
        {"Label4", {48, 88, 89, 25}, "Frame1"},   {"Label6", {312, 88, 81, 25}, "Frame1"},
    };
    for (const auto& c : cases) {
        QWidget* w = f.get<QWidget>(c.name);
        QCOMPARE(w->geometry(), c.rect);
        QCOMPARE(w->parentWidget()->objectName(), QString::fromLatin1(c.parent));
    }
    // Command1 and wdz lie inside the frame's rectangle but belong to the window.
    const QRect frame = f.get<QWidget>("Frame1")->geometry();
    QVERIFY(frame.contains(f.get<QWidget>("wdz")->geometry()));
    QVERIFY(frame.contains(f.get<QWidget>("Command1")->geometry()));
}

void Form1Test::windowIsFixedAndCentred() {
    Fixture f;
    f.Show();
    QWidget* client = f.form.centralWidget();
    QStatusBar* bar = f.get<QStatusBar>("StatusBar1");
    QCOMPARE(client->size(), QSize(477, 276));
    QCOMPARE(bar->geometry(), QRect(0, client->geometry().bottom() + 1, 477, 25));
    QCOMPARE(f.form.width(), 477);
    QCOMPARE(f.form.minimumSize(), f.form.maximumSize());
    QVERIFY(!bar->isSizeGripEnabled());
    const Qt::WindowFlags flags = f.form.windowFlags();
    QVERIFY(!(flags & Qt::WindowMinimizeButtonHint));
    QVERIFY(!(flags & Qt::WindowMaximizeButtonHint));
    QVERIFY(flags & Qt::WindowCloseButtonHint);
    const QRect area = f.form.screen()->availableGeometry();
    QVERIFY(qAbs(f.form.frameGeometry().center().x() - area.center().x()) <= 1);
    QVERIFY(qAbs(f.form.frameGeometry().center().y() - area.center().y()) <= 1);

    // Two fixed panels side by side from the left, 229 and 244 wide, inside the bar
    // (which leads its items by a couple of pixels).
    QLabel* p1 = f.get<QLabel>("Panel1");
    QLabel* p2 = f.get<QLabel>("Panel2");
    QCOMPARE(p1->width(), 229);
    QCOMPARE(p2->width(), 244);
    const int left = p1->mapTo(bar, QPoint(0, 0)).x();
    QVERIFY(left >= 0 && left <= 3);
    QCOMPARE(p2->mapTo(bar, QPoint(0, 0)).x(), left + 229);
    QVERIFY(p2->mapTo(bar, QPoint(p2->width(), 0)).x() <= 477);
}

void Form1Test::captionsAndFonts() {
    Fixture f;
    f.form.Form_Load();
    struct Case {
        const char* name;
        const char* caption;
    };
    const Case labels[] = {
        {"Label1", "默认"},
        {"gs", " 0℃≤t≤850℃时，使用公式：Rt=R0（1+A*t+B*t^2）"},
        {"Label2", "公式"},
        {"gs2", "-200℃≤t≤0℃时，使用公式：Rt=R0[1+A*t+Bt^2+C(t-100)*t^3]"},
        {"Label3", "当前使用公式："},
        {"dqgs", ""},
        {"Label4", "阻值（ω）"},
        {"Label6", "温度值（℃）"},
    };
    for (const auto& c : labels) QCOMPARE(f.text(c.name), QString::fromUtf8(c.caption));
    QCOMPARE(f.form.windowTitle(), QStringLiteral("Quilvane V1.0"));
    QCOMPARE(f.get<QGroupBox>("Frame1")->title(), QStringLiteral("输入框"));
    QCOMPARE(f.get<QPushButton>("Command1")->text(), QStringLiteral("《 换 算 》"));
    QVERIFY(!f.get<QPushButton>("Command1")->isDefault());
    // The icon's images, and the window's picture at its natural size.
    const QList<QSize> sizes = f.form.windowIcon().availableSizes();
    QVERIFY2(sizes.contains(QSize(16, 16)) && sizes.contains(QSize(32, 32)), "icon images missing");
    QCOMPARE(QPixmap(QStringLiteral(":/quilvane/picture.gif")).size(), QSize(320, 98));

    for (const char* name : {"Label1", "Label2"}) {
        const QFont font = f.get<QLabel>(name)->font();
        QCOMPARE(font.family(), QStringLiteral("宋体"));
        QCOMPARE(font.pointSize(), 12);
        QCOMPARE(font.weight(), QFont::Normal);
        QVERIFY(!font.italic() && !font.underline() && !font.strikeOut());
        // Drawn with an installed Song/Ming face, not a fallback sans.
        const QString used = QFontInfo(font).family();
        QVERIFY2(used.contains("UMing") || used.contains("SimSun") || used.contains("Serif CJK"),
                 qPrintable(used));
    }
    // Each control keeps a font of its own: styling dqgs changed no other label.
    QVERIFY(f.get<QLabel>("dqgs")->font().bold());
    QVERIFY(!f.get<QLabel>("Label3")->font().bold());
    QCOMPARE(f.get<QLabel>("Label3")->font().pointSize(), 9);
    // The interface font draws every sign of the captions.
    const QFontMetrics metrics(f.get<QLabel>("gs")->font());
    for (const QChar c : QStringLiteral("℃≤ω（），：《》公式默认"))
        QVERIFY2(metrics.inFontUcs4(c.unicode()), qPrintable(QString(c)));
}

void Form1Test::stackingOrder() {
    Fixture f;
    QWidget* client = f.form.centralWidget();
    // Later children are drawn above earlier ones.
    const char* bottomToTop[] = {"gs", "gs2", "Label1", "Label2", "Label3", "dqgs", "Frame1", "wdz", "Command1"};
    int previous = -1;
    for (const char* name : bottomToTop) {
        const int index = static_cast<int>(client->children().indexOf(f.get<QWidget>(name)));
        QVERIFY2(index > previous, name);
        previous = index;
    }
    // Where rows overlap, the second row covers the first.
    QCOMPARE(client->childAt(20, 48), f.get<QWidget>("Label2"));
    QCOMPARE(client->childAt(100, 48), f.get<QWidget>("gs2"));
    QCOMPARE(client->childAt(320, 180), f.get<QWidget>("wdz"));
    QCOMPARE(client->childAt(200, 180), f.get<QWidget>("Command1"));
}

void Form1Test::focusOrder() {
    Fixture f;
    QVERIFY(f.form.Form_Load());
    f.Show();
    QLineEdit* zz = f.get<QLineEdit>("zz");
    QLineEdit* wdz = f.get<QLineEdit>("wdz");
    QPushButton* command = f.get<QPushButton>("Command1");
    QCOMPARE(QApplication::focusWidget(), zz);
    const QWidget* forward[] = {wdz, command, zz, wdz};
    for (const QWidget* next : forward) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), next);
    }
    const QWidget* backward[] = {zz, command, wdz};
    for (const QWidget* next : backward) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
        QCOMPARE(QApplication::focusWidget(), next);
    }
    for (const char* name : {"Label1", "gs", "Label2", "gs2", "Label3", "dqgs", "Frame1", "Label4", "Label6", "StatusBar1"})
        QCOMPARE(f.get<QWidget>(name)->focusPolicy(), Qt::NoFocus);
}

void Form1Test::menuTree() {
    Fixture f;
    const QList<QAction*> top = f.form.menuBar()->actions();
    QCOMPARE(top.size(), 4);
    const char* menus[][2] = {{"set", "设置"}, {"tools", "工具"}, {"ab", "关于"}, {"quit", "退出"}};
    for (int i = 0; i < 4; ++i) {
        QCOMPARE(top[i]->menu()->objectName(), QString::fromLatin1(menus[i][0]));
        QCOMPARE(top[i]->text(), QString::fromUtf8(menus[i][1]));
    }
    struct Item {
        const char* menu;
        const char* name;
        const char* caption;
        QKeySequence key;
    };
    const Item items[] = {
        {"set", "setR", "设置 R0", QKeySequence("Ctrl+R")},
        {"set", "no", "----------", QKeySequence()},
        {"set", "setA", "设置系数 A", QKeySequence("Ctrl+A")},
        {"set", "setB", "设置系数 B", QKeySequence("Ctrl+B")},
        {"set", "setC", "设置系数 C", QKeySequence("Ctrl+C")},
        {"tools", "tbl", "分度表…", QKeySequence("Ctrl+T")},
        {"ab", "abt", "关于", QKeySequence("F1")},
        {"quit", "qt", "退出", QKeySequence("F12")},
    };
    QMap<QString, int> position;
    for (const auto& item : items) {
        QMenu* menu = f.get<QMenu>(item.menu);
        const QList<QAction*> actions = menu->actions();
        const int at = position[item.menu]++;
        QVERIFY(at < actions.size());
        QAction* action = actions[at];
        QCOMPARE(action->objectName(), QString::fromLatin1(item.name));
        QCOMPARE(action->text(), QString::fromUtf8(item.caption));
        QCOMPARE(action->shortcut(), item.key);
        QVERIFY(!action->isSeparator() && action->isEnabled() && action->isVisible() && !action->isChecked());
    }
}

void Form1Test::menuShortcutsWinInsideTheBoxes() {
    Fixture f;
    QVERIFY(f.form.Form_Load());
    f.Show();
    QLineEdit* zz = f.get<QLineEdit>("zz");
    QCOMPARE(QApplication::focusWidget(), zz);
    QTest::keyClicks(zz, "123");
    zz->selectAll();
    QApplication::clipboard()->setText(QStringLiteral("sentinel"));
    {
        ModalWatcher watcher;
        // Each opens its Settings dialog, closed here unchanged with Esc.
        for (const char* key : {"Ctrl+C", "Ctrl+A", "Ctrl+B", "Ctrl+R"}) {
            zz->setSelection(1, 1);
            f.form.activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(&f.form));
            DialogDriver driver({[](QDialog* d) { d->reject(); }});
            QTest::keySequence(&f.form, QKeySequence(QString::fromLatin1(key)));
            QCOMPARE(driver.done, size_t(1));
            QCOMPARE(zz->text(), QStringLiteral("123"));
            QCOMPARE(zz->selectedText(), QStringLiteral("2"));  // Ctrl+A did not select all
        }
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("sentinel"));
        QVERIFY(watcher.seen.empty());

        // F1 shows the About message whichever control has the focus.
        f.form.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&f.form));
        QTest::keyClick(zz, Qt::Key_F1);
        QTRY_COMPARE(watcher.seen.size(), size_t(1));
    }
    f.form.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&f.form));
    QCOMPARE(zz->text(), QStringLiteral("123"));
}

void Form1Test::f12ClosesTheWindow() {
    Fixture f;
    QVERIFY(f.form.Form_Load());
    f.Show();
    QTest::keyClick(f.get<QLineEdit>("wdz"), Qt::Key_F12);
    QVERIFY(!f.form.isVisible());
}

void Form1Test::startUpState() {
    Fixture f;
    f.get<QLineEdit>("zz")->setText("x");
    f.get<QLineEdit>("wdz")->setText("y");
    QVERIFY(f.form.Form_Load());
    QCOMPARE(f.form.A, 3.90802E-03);
    QCOMPARE(f.form.B, -5.8E-07);
    QCOMPARE(f.form.C, -4.2735E-12);
    QVERIFY(f.get<QLineEdit>("zz")->text().isEmpty());
    QVERIFY(f.get<QLineEdit>("wdz")->text().isEmpty());
    QCOMPARE(f.form.tm, ClockText(f.now));
    QCOMPARE(f.text("Panel1"), QString::fromStdString("当前时间：" + ClockText(f.now)));
    QCOMPARE(f.text("Panel2"), QStringLiteral(" 本次使用时间："));
    QLabel* dqgs = f.get<QLabel>("dqgs");
    QCOMPARE(dqgs->palette().color(QPalette::WindowText), QColor(0x66, 0x96, 0x99));
    QVERIFY(dqgs->font().bold());
    QCOMPARE(dqgs->font().pointSize(), 11);
    QCOMPARE(dqgs->text(), QString());
    QTimer* timer = f.form.findChild<QTimer*>("Timer1");
    QVERIFY(timer->isActive());
    QCOMPARE(timer->interval(), 1000);
}

void Form1Test::startUpAtMidnight() {
    Fixture f;
    f.now = At(2026, 12, 8, 0, 0, 0);
    QVERIFY(f.form.Form_Load());
    QCOMPARE(ReadClockText(f.form.tm), f.now);
    QVERIFY(!f.text("Panel1").contains(' '));  // the date alone, no time part
    f.now += seconds{1};
    f.form.Timer1_Timer();
    QCOMPARE(f.text("Panel2"), QStringLiteral(" 本次使用时间：1 s"));
}

void Form1Test::clockTicks() {
    struct Case {
        seconds after;
        const char* panel2;
    };
    const Case cases[] = {{seconds{1}, " 本次使用时间：1 s"},
                          {seconds{60}, " 本次使用时间：60 s"},
                          {seconds{-5}, " 本次使用时间：-5 s"},
                          {hours{24}, " 本次使用时间：86400 s"}};
    Fixture f;
    const Moment start = f.now;
    QVERIFY(f.form.Form_Load());
    for (const auto& c : cases) {
        f.now = start + c.after;
        f.form.Timer1_Timer();
        QCOMPARE(f.text("Panel1"), QString::fromStdString("当前时间：" + ClockText(f.now)));
        QCOMPARE(f.text("Panel2"), QString::fromUtf8(c.panel2));
    }
    // At midnight panel 1 shows the date alone.
    f.now = At(2026, 12, 8, 0, 0, 0);
    f.form.Timer1_Timer();
    QCOMPARE(f.text("Panel1"), QString::fromStdString("当前时间：" + ClockText(f.now)));
    QVERIFY(!f.text("Panel1").contains(' '));  // no time part after a blank
}

void Form1Test::tickBeforeStartMomentIsHarmless() {
    Fixture f;  // Form_Load has not run: tm is empty
    f.form.Timer1_Timer();
    QCOMPARE(f.text("Panel1"), QString::fromStdString("当前时间：" + ClockText(f.now)));
    QCOMPARE(f.text("Panel2"), QStringLiteral(" 本次使用时间："));
    // A clock at year 40000, which the texts cannot write: start-up leaves panel 1 its caption
    // alone and runs; a tick leaves both panels as they were.
    f.now += days{14'000'000};
    QVERIFY(f.form.Form_Load());
    QCOMPARE(f.text("Panel1"), QStringLiteral("当前时间："));
    QVERIFY(f.form.tm.empty());
    f.now -= days{14'000'000};
    f.form.Timer1_Timer();
    const QString shown = f.text("Panel1");
    f.now += days{14'000'000};
    f.form.Timer1_Timer();
    QCOMPARE(f.text("Panel1"), shown);
    QCOMPARE(f.text("Panel2"), QStringLiteral(" 本次使用时间："));
}

void Form1Test::secondCopyShowsNoticeAndEnds() {
    Fixture first;
    QVERIFY(first.form.Form_Load());
    Fixture second;
    second.get<QLineEdit>("zz")->setText("x");
    ModalWatcher watcher;
    QVERIFY(!second.form.Form_Load());
    QCOMPARE(watcher.seen.size(), size_t(1));
    QCOMPARE(watcher.seen[0].text, QStringLiteral("该程序已经处于运行状态！"));
    QCOMPARE(watcher.seen[0].title, QStringLiteral("系统提示"));
    QCOMPARE(watcher.seen[0].icon, QMessageBox::Information);
    QVERIFY(second.form.tm.empty());  // nothing after the check ran
    QVERIFY(second.get<QLineEdit>("zz")->text().isEmpty());
    QVERIFY(!second.form.isVisible());
}

namespace {

// A process holding an instance name: this user's copy (a SingleInstance, as the program
// holds it), one of ours that has bound the name and not yet listened, or a stranger of uid
// 65534 that binds and listens on the exact name.
class Holder {
public:
    enum Kind { Ours, OursBound, Stranger };
    Holder(Kind kind, const std::string& name) {
        int ready[2];
        if (::pipe(ready) != 0) return;
        pid_ = ::fork();
        if (pid_ == 0) {
            ::close(ready[0]);
            char ok = '1';
            SingleInstance mine;
            if (kind != Ours) {
                if (kind == Stranger && (::setgroups(0, nullptr) != 0 || ::setgid(65534) != 0 || ::setuid(65534) != 0))
                    ok = 'u';
                const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
                sockaddr_un a{};
                a.sun_family = AF_UNIX;
                std::memcpy(a.sun_path + 1, name.data(), name.size());
                const auto size = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + name.size());
                if (ok == '1' && (::bind(fd, reinterpret_cast<sockaddr*>(&a), size) != 0 ||
                                  (kind == Stranger && ::listen(fd, 128) != 0)))
                    ok = '0';
            } else if (!mine.Claim(name)) {
                ok = '0';
            }
            (void)!::write(ready[1], &ok, 1);
            for (;;) ::pause();
        }
        ::close(ready[1]);
        if (::read(ready[0], &state_, 1) != 1) state_ = '0';
        ::close(ready[0]);
    }
    Holder(const Holder&) = delete;
    Holder& operator=(const Holder&) = delete;
    ~Holder() { Kill(); }
    char state() const { return state_; }  // '1' holding, 'u' could not change uid, '0' failed
    void Kill() {
        if (pid_ <= 0) return;
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, nullptr, 0);
        pid_ = -1;
    }

private:
    pid_t pid_ = -1;
    char state_ = '0';
};

}  // namespace

void Form1Test::singleInstance_data() {
    QTest::addColumn<QStringList>("holders");  // "ours:K", "bound:0" or "stranger:K", K the name's place
    QTest::addColumn<bool>("killFirst");         // the first holder ends with kill -9 before the claim
    QTest::addColumn<bool>("runs");
    QTest::newRow("free name") << QStringList{} << false << true;
    QTest::newRow("our own holder") << QStringList{"ours:0"} << false << false;
    QTest::newRow("our copy further on") << QStringList{"ours:2"} << false << false;
    QTest::newRow("our copy, bound, not listening") << QStringList{"bound:0"} << false << false;
    QTest::newRow("a stranger's holder") << QStringList{"stranger:0"} << false << true;
    QTest::newRow("stranger, then our copy") << QStringList{"stranger:0", "ours:0"} << false << false;
    QStringList everyName;
    for (int k = 0; k <= SingleInstance::kSpareNames; ++k) everyName << QStringLiteral("stranger:%1").arg(k);
    QTest::newRow("strangers on every name") << everyName << false << true;
    QTest::newRow("holder killed with kill -9") << QStringList{"ours:0"} << true << true;
}

void Form1Test::singleInstance() {
    QFETCH(QStringList, holders);
    QFETCH(bool, killFirst);
    QFETCH(bool, runs);
    const std::string name = TestInstanceName(QTest::currentDataTag());
    std::vector<std::unique_ptr<Holder>> held;
    for (const QString& h : holders) {
        const bool stranger = h.startsWith("stranger");
        const int k = h.section(':', 1).toInt();
        // "ours" claims the name itself, stepping over strangers as the program would.
        const std::string at = stranger && k > 0 ? name + "-" + std::to_string(k) : name;
        if (!stranger && k > 0) {
            // Our copy started while strangers held the names before it, now gone.
            std::vector<std::unique_ptr<Holder>> before;
            for (int i = 0; i < k; ++i)
                before.push_back(std::make_unique<Holder>(Holder::Stranger, i == 0 ? name : name + "-" + std::to_string(i)));
            if (before[0]->state() == 'u') QSKIP("cannot change to uid 65534 (not root): stranger rows not run");
            held.push_back(std::make_unique<Holder>(Holder::Ours, name));
            QCOMPARE(held.back()->state(), '1');
            continue;
        }
        const Holder::Kind kind = stranger ? Holder::Stranger : h.startsWith("bound") ? Holder::OursBound : Holder::Ours;
        held.push_back(std::make_unique<Holder>(kind, at));
        if (held.back()->state() == 'u') QSKIP("cannot change to uid 65534 (not root): stranger rows not run");
        QCOMPARE(held.back()->state(), '1');
    }
    if (killFirst) held.front()->Kill();
    SingleInstance mine;
    QCOMPARE(mine.Claim(name), runs);
    if (!runs) {
        // Later copies keep meeting the holder: its backlog does not fill up.
        for (int i = 0; i < 40; ++i) QVERIFY(!SingleInstance().Claim(name));
    } else if (!holders.isEmpty() && !killFirst && holders.size() <= SingleInstance::kSpareNames) {
        // Our copies still meet each other past the strangers.
        QVERIFY(!SingleInstance().Claim(name));
    }
}

QUILVANE_TEST_MAIN(Form1Test)
#include "form1_test.moc"
