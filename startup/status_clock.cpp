// The status clock: panel 1 shows the current time, panel 2 the seconds since start-up.
#include <QLabel>

#include <stdexcept>

#include "core/clock_text.h"
#include "window/Form1.h"

using namespace quilvane;

void Form1::Timer1_Timer() {
    Panel1->setText(QString::fromStdString("当前时间：" + ClockText(clock_())));
    // A tick can fall while start-up still waits on a message, before the start moment
    // exists; the count then waits for the next tick.
    if (tm.empty()) return;
    try {
        const long long seconds = SecondsSince(ReadClockText(tm), clock_());
        Panel2->setText(QString::fromStdString(" 本次使用时间：" + std::to_string(seconds) + " s"));
    } catch (const std::invalid_argument&) {
        // The start moment no longer reads back (the time locale changed): keep the last count.
    }
}
