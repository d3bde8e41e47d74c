#include "window/Form1.h"

#include <QEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenuBar>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QTimer>

#include <limits>

#include "core/clock_text.h"
#include "window/accessibility.h"
#include "window/layout.h"
#include "window/message_boxes.h"

using namespace quilvane;

namespace {

// The client area above the status bar, with the window's picture drawn beneath every
// control at its top-left corner.
class ClientArea : public QWidget {
public:
    explicit ClientArea(QWidget* parent) : QWidget(parent), picture_(":/quilvane/picture.gif") {}

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        // Smooth when the screen's scale factor enlarges it.
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawPixmap(0, 0, picture_);
    }

private:
    QPixmap picture_;
};

template <typename W>
W* Place(W* widget, const char* name, QRect where) {
    widget->setObjectName(QString::fromLatin1(name));
    widget->setGeometry(where);
    return widget;
}

// A label as the window draws them: left-aligned on an opaque face-coloured ground.
QLabel* MakeLabel(QWidget* parent, const char* name, const char* caption, QRect where) {
    auto* label = Place(new QLabel(QString::fromUtf8(caption), parent), name, where);
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setAutoFillBackground(true);
    return label;
}

QLineEdit* MakeBox(QWidget* parent, const char* name, QRect where) {
    auto* box = Place(new QLineEdit(parent), name, where);
    box->setMaxLength(std::numeric_limits<int>::max());
    return box;
}

}  // namespace

Form1::Form1(QWidget* parent)
    : QMainWindow(parent),
      msgbox_(ModalMessageBoxes(this)),
      clock_(NowLocal),
      instanceName_() {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Quilvane V1.0"));
    setWindowIcon(QIcon(QStringLiteral(":/quilvane/quilvane.ico")));
    // Fixed single border: a close box and system menu, no minimize or maximize.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    BuildControls();
    BuildMenu();
    BuildStatusBar();
    Connect();
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    Timer1->start();
}

Form1::~Form1() = default;

void Form1::BuildControls() {
    client_ = new ClientArea(this);
    client_->setObjectName(QStringLiteral("client"));
    client_->setFixedSize(Px(kClientWidth), Px(kStatusBarTop));
    setCentralWidget(client_);

    // Created bottom of the stack first: later siblings lie above earlier ones.
    announcer_ = MakeAnnouncer(client_);  // what a screen reader is told, beneath everything
    gs = MakeLabel(client_, "gs", " 0℃≤t≤850℃时，使用公式：Rt=R0（1+A*t+B*t^2）",
                   TwipRect(1080, 360, 5055, 375));
    gs2 = MakeLabel(client_, "gs2", "-200℃≤t≤0℃时，使用公式：Rt=R0[1+A*t+Bt^2+C(t-100)*t^3]",
                    TwipRect(1080, 720, 5895, 375));
    Label1 = MakeLabel(client_, "Label1", "默认", TwipRect(240, 360, 495, 375));
    Label2 = MakeLabel(client_, "Label2", "公式", TwipRect(240, 720, 495, 375));
    Label3 = MakeLabel(client_, "Label3", "当前使用公式：", TwipRect(840, 1200, 1335, 255));
    dqgs = MakeLabel(client_, "dqgs", "", TwipRect(2280, 1200, 4335, 255));

    const QFont song(QStringLiteral("宋体"), 12, QFont::Normal);
    Label1->setFont(song);
    Label2->setFont(song);

    Frame1 = Place(new QGroupBox(QStringLiteral("输入框"), client_), "Frame1",
                   TwipRect(293, 1920, 6495, 1815));
    zz = MakeBox(Frame1, "zz", TwipRect(240, 600, 2055, 495));
    Label4 = MakeLabel(Frame1, "Label4", "阻值（ω）", TwipRect(720, 1320, 1335, 375));
    Label6 = MakeLabel(Frame1, "Label6", "温度值（℃）", TwipRect(4680, 1320, 1215, 375));

    // Above the frame, although inside its rectangle.
    wdz = MakeBox(client_, "wdz", TwipRect(4560, 2520, 2055, 495));
    Command1 = Place(new QPushButton(QStringLiteral("《 换 算 》"), client_), "Command1",
                     TwipRect(2880, 2520, 1455, 495));
    // Not the default button; Enter presses it only while it has the focus.
    Command1->setDefault(false);
    Command1->setAutoDefault(true);

    for (QWidget* w : std::initializer_list<QWidget*>{gs, gs2, Label1, Label2, Label3, dqgs, Frame1, wdz, Command1})
        w->raise();

    setTabOrder(zz, wdz);
    setTabOrder(wdz, Command1);

    // What a screen reader says. Labels are read by their captions; dqgs reads out the formula
    // in use. The picture, painted on the client area, is decoration and has no name.
    zz->setAccessibleName(QStringLiteral("阻值（Ω）"));
    wdz->setAccessibleName(QStringLiteral("温度值（℃）"));
    Command1->setAccessibleName(QStringLiteral("换算"));
    dqgs->setAccessibleDescription(QStringLiteral("当前使用公式"));
}

void Form1::BuildMenu() {
    auto addItem = [this](QMenu* menu, const char* name, const char* caption, QKeySequence key) {
        QAction* action = menu->addAction(QString::fromUtf8(caption));
        action->setObjectName(QString::fromLatin1(name));
        action->setShortcut(key);
        action->setShortcutContext(Qt::WindowShortcut);
        addAction(action);  // shortcuts act for the whole window, menu open or not
        return action;
    };
    set = menuBar()->addMenu(QStringLiteral("设置"));
    set->setObjectName(QStringLiteral("set"));
    addItem(set, "setR", "设置 R0", QKeySequence(Qt::CTRL | Qt::Key_R));
    addItem(set, "no", "----------", QKeySequence());
    addItem(set, "setA", "设置系数 A", QKeySequence(Qt::CTRL | Qt::Key_A));
    addItem(set, "setB", "设置系数 B", QKeySequence(Qt::CTRL | Qt::Key_B));
    addItem(set, "setC", "设置系数 C", QKeySequence(Qt::CTRL | Qt::Key_C));
    tools = menuBar()->addMenu(QStringLiteral("工具"));
    tools->setObjectName(QStringLiteral("tools"));
    addItem(tools, "tbl", "分度表…", QKeySequence(Qt::CTRL | Qt::Key_T));
    ab = menuBar()->addMenu(QStringLiteral("关于"));
    ab->setObjectName(QStringLiteral("ab"));
    addItem(ab, "abt", "关于", QKeySequence(Qt::Key_F1));
    quit = menuBar()->addMenu(QStringLiteral("退出"));
    quit->setObjectName(QStringLiteral("quit"));
    addItem(quit, "qt", "退出", QKeySequence(Qt::Key_F12));
}

void Form1::BuildStatusBar() {
    StatusBar1 = new QStatusBar(this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->setSizeGripEnabled(false);
    StatusBar1->setFixedSize(Px(kClientWidth), Px(kClientHeight - kStatusBarTop));
    setStatusBar(StatusBar1);

    // QStatusBar spaces its items apart; the panels sit in one container without spacing
    // so that together they keep to the bar's width.
    auto* panels = new QWidget(StatusBar1);
    panels->setObjectName(QStringLiteral("panels"));
    auto* row = new QHBoxLayout(panels);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    auto makePanel = [panels, row](const char* name, const char* text, int widthTwips) {
        auto* panel = new QLabel(QString::fromUtf8(text), panels);
        panel->setObjectName(QString::fromLatin1(name));
        panel->setTextFormat(Qt::PlainText);
        panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        panel->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        panel->setFixedWidth(Px(widthTwips));
        row->addWidget(panel);
        return panel;
    };
    Panel1 = makePanel("Panel1", "当前时间：", 3440);
    Panel2 = makePanel("Panel2", " 本次使用时间：", 3660);
    Panel1->setAccessibleDescription(QStringLiteral("当前时间"));
    // A locale whose own clock text would not fit panel 1 gets the compact form instead.
    const QFontMetrics metrics(Panel1->font());
    const int room = Px(3440) - 2 * Panel1->frameWidth();
    SetClockTextFits([metrics, room](std::string_view text) {
        const QString shown = QStringLiteral("当前时间：") + QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
        return metrics.horizontalAdvance(shown) <= room;
    });
    Panel2->setAccessibleDescription(QStringLiteral("本次使用时间"));
    row->addStretch(1);
    StatusBar1->addPermanentWidget(panels, 1);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(1000);
}

void Form1::Connect() {
    connect(Command1, &QPushButton::clicked, this, &Form1::Command1_Click);
    connect(findChild<QAction*>(QStringLiteral("abt")), &QAction::triggered, this, &Form1::abt_Click);
    connect(findChild<QAction*>(QStringLiteral("qt")), &QAction::triggered, this, &Form1::qt_Click);
    connect(findChild<QAction*>(QStringLiteral("setR")), &QAction::triggered, this, &Form1::setR_Click);
    connect(findChild<QAction*>(QStringLiteral("setA")), &QAction::triggered, this, &Form1::setA_Click);
    connect(findChild<QAction*>(QStringLiteral("setB")), &QAction::triggered, this, &Form1::setB_Click);
    connect(findChild<QAction*>(QStringLiteral("setC")), &QAction::triggered, this, &Form1::setC_Click);
    connect(findChild<QAction*>(QStringLiteral("tbl")), &QAction::triggered, this, &Form1::tbl_Click);
    // The tolerance shown for a result belongs to that result only.
    connect(zz, &QLineEdit::textChanged, this, [this](const QString& text) {
        if (text == converted_.second) return;
        zz->setToolTip(QString());
        zz->setAccessibleDescription(QString());
    });
    for (QWidget* w : {static_cast<QWidget*>(zz), static_cast<QWidget*>(wdz), static_cast<QWidget*>(Command1)})
        w->installEventFilter(this);
}

bool Form1::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::ShortcutOverride && watched != Command1) {
        // A text box claims Ctrl+C, Ctrl+A and the like for itself; the menu's keys win.
        const QKeySequence pressed(static_cast<QKeyEvent*>(event)->keyCombination());
        for (const QAction* action : actions()) {
            if (!action->shortcut().isEmpty() && action->shortcut() == pressed) {
                event->ignore();
                return true;
            }
        }
    } else if (event->type() == QEvent::FocusIn) {
        // A control gains the focus when it becomes the window's focused control; coming
        // back to the same one after a message box or another window does not count.
        auto* widget = static_cast<QWidget*>(watched);
        const bool gained = widget != lastFocus_;
        lastFocus_ = widget;
        if (gained && widget == wdz) wdz_GotFocus();
        if (gained && widget == zz) zz_GotFocus();
    }
    return QMainWindow::eventFilter(watched, event);
}

void Form1::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (centred_) return;
    centred_ = true;
    layout()->activate();
    if (const QScreen* screen = this->screen()) {
        const QRect area = screen->availableGeometry();
        const QSize outer = frameGeometry().size();  // the frame as far as it is known yet
        move(area.x() + (area.width() - outer.width()) / 2, area.y() + (area.height() - outer.height()) / 2);
    }
    zz->setFocus(Qt::OtherFocusReason);
    // Made active at once, so that the focus lands in zz and the shortcuts work even
    // where no window manager activates a new window.
    activateWindow();
    raise();
}

void Form1::SetClock(std::function<Moment()> clock) { clock_ = std::move(clock); }

void Form1::SetInstanceCheck(InstanceCheck check) { instanceCheck_ = std::move(check); }

void Form1::SetInstanceName(std::string name) { instanceName_ = std::move(name); }

