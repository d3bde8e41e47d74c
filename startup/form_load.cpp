// Start-up of the window: what runs once before it is first shown.
#include <QLabel>
#include <QLineEdit>
#include <QTimer>

#include <stdexcept>

#include "core/clock_text.h"
#include "core/conversion.h"
#include "window/Form1.h"
#include "window/layout.h"

using namespace quilvane;

bool Form1::Form_Load() {
    B = kBuiltInB;
    A = kBuiltInA;
    C = kBuiltInC;
    R0 = kBuiltInR0;

    zz->setText(QString());
    wdz->setText(QString());

    if (instanceCheck_ && !instanceCheck_(instanceName_)) {
        msgbox_("该程序已经处于运行状态！", "系统提示", MB_ICONINFORMATION);
        return false;
    }

    // A moment the clock texts cannot write leaves the start moment unset and panel 1 with
    // its caption alone; the window runs all the same.
    try {
        tm = ClockText(clock_());
        Panel1->setText(QString::fromStdString("当前时间：" + ClockText(clock_())));
    } catch (const std::exception&) {
        Panel1->setText(QStringLiteral("当前时间："));
    }
    // The timer runs from the window's creation; its ticks update the clock from here on.
    connect(Timer1, &QTimer::timeout, this, &Form1::Timer1_Timer, Qt::UniqueConnection);

    ShowValuesInUse();
    SetForeColor(dqgs, QPalette::WindowText, 0x999666);
    SetBold(dqgs, true);
    SetFontSize(dqgs, 11);
    return true;
}
