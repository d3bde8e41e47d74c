#pragma once

#include <QApplication>
#include <QDialog>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include <functional>
#include <vector>

#include "tests/window/modal_watcher.h"

// Drives the modal dialogs (not message boxes) that a handler opens: each time one is the
// active modal window, active with its focus set, the next step runs on it. A dialog still open after the last step is
// rejected and counted, so that a test cannot hang on it. Runs on its own timer, so that a
// message box a step opens can be answered by a ModalWatcher meanwhile.
class DialogDriver {
public:
    using Step = std::function<void(QDialog*)>;

    explicit DialogDriver(std::vector<Step> steps) : steps_(std::move(steps)) {
        QObject::connect(&timer_, &QTimer::timeout, [this] { Poll(); });
        timer_.start(10);
    }

    std::size_t done = 0;  // steps run
    int leftOpen = 0;      // dialogs still open after the last step

private:
    void Poll() {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (dialog == nullptr || qobject_cast<QMessageBox*>(dialog) || !dialog->isVisible() || !ready_.Ready(dialog))
            return;
        if (done < steps_.size()) {
            steps_[done++](dialog);
        } else {
            ++leftOpen;
            dialog->reject();
        }
    }

    std::vector<Step> steps_;
    QTimer timer_;
    Readiness ready_;
};
