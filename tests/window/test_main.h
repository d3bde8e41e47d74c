#pragma once

#include <QApplication>
#include <QTest>

#include "window/application.h"

// QTEST_MAIN with the program's application-wide setup (fonts, Qt's Chinese texts).
#define QUILVANE_TEST_MAIN(TestObject)                     \
    int main(int argc, char** argv) {                      \
        QApplication app(argc, argv);                      \
        app.setAttribute(Qt::AA_Use96Dpi, true);           \
        quilvane::SetUpApplication();                      \
        TestObject tc;                                     \
        QTEST_SET_MAIN_SOURCE_PATH                         \
        return QTest::qExec(&tc, argc, argv);              \
    }
