#pragma once

#include <QLineEdit>
#include <QTest>

#include <string>

#include <unistd.h>

#include "window/Form1.h"

// A started, shown and active window with an instance name of the test's own.
struct ShownWindow {
    Form1 form;
    QLineEdit* wdz = form.findChild<QLineEdit*>("wdz");
    QLineEdit* zz = form.findChild<QLineEdit*>("zz");

    explicit ShownWindow(const char* tag) {
        form.SetInstanceName(std::string("quilvane-") + tag + "-" + std::to_string(::getpid()));
        if (!form.Form_Load()) qFatal("start-up refused");
        form.show();
        Activate();
    }
    // Under offscreen a closed modal window leaves no window active.
    void Activate() {
        form.activateWindow();
        if (!QTest::qWaitForWindowActive(&form)) qFatal("window not active");
    }
};
