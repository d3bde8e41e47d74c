// The status clock: panel 1 shows the current time, panel 2 the seconds since start-up.
#include <QLabel>

#include <optional>
#include <stdexcept>

#include "core/clock_text.h"
#include "window/Form1.h"

using namespace quilvane;

void Form1::Timer1_Timer() {
    std::string now;
    try {
        now = ClockText(clock_());
    } catch (const std::exception&) {
        // A moment the clock texts cannot write: both panels stay as they were.
        return;
    }
    // A tick can fall while start-up still waits on a message, before the start moment
    // exists; the count then waits for the next tick. A start moment that no longer reads
    // back (the time locale changed) keeps the last count.
    std::optional<long long> seconds;
    if (!tm.empty()) {
        try {
            seconds = SecondsSince(ReadClockText(tm), clock_());
        } catch (const std::exception&) {
        }
    }
    Panel1->setText(QString::fromStdString("当前时间：" + now));
    if (seconds) Panel2->setText(QString::fromStdString(" 本次使用时间：" + std::to_string(*seconds) + " s"));
}
