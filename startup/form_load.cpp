// Start-up of the window: what runs once before it is first shown.
#include <QLabel>
#include <QLineEdit>
#include <QSocketNotifier>

#include "core/conversion.h"
#include "core/clock_text.h"
#include "startup/single_instance.h"
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

    instance_ = std::make_unique<SingleInstance>();
    if (!instance_->Claim(instanceName_)) {
        msgbox_("该程序已经处于运行状态！", "系统提示", MB_ICONINFORMATION);
        return false;
    }
    if (instance_->fd() >= 0) {
        // Later copies connect to read our uid; their connections are closed as they come.
        auto* asked = new QSocketNotifier(instance_->fd(), QSocketNotifier::Read, this);
        connect(asked, &QSocketNotifier::activated, this, [this] { instance_->AcceptPending(); });
    }

    tm = ClockText(clock_());
    Panel1->setText(QString::fromStdString("当前时间：" + ClockText(clock_())));

    SetForeColor(dqgs, QPalette::WindowText, 0x999666);
    SetBold(dqgs, true);
    SetFontSize(dqgs, 11);
    return true;
}
