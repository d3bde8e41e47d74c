#pragma once

#include <QApplication>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QString>
#include <QTimer>

#include <functional>
#include <vector>

// Whether a modal window that has appeared can be driven yet: it is the active window and
// its focus widget holds the keyboard focus. Until then keys and shortcuts would go
// elsewhere, which a busy machine shows at random. Bounded: after 10 s it is driven anyway,
// with a warning, so that a test fails on what it checks instead of hanging.
class Readiness {
public:
    bool Ready(QWidget* w) {
        if (w != seen_) {
            seen_ = w;
            since_.start();
        }
        // A window manager hands the activation back to a dialog whose message box closed;
        // the offscreen platform leaves no window active, so that is done here.
        if (QApplication::activeWindow() == nullptr) w->activateWindow();
        const bool ready = QApplication::activeWindow() == w && w->focusWidget() != nullptr &&
                           QApplication::focusWidget() == w->focusWidget();
        if (ready || since_.elapsed() < 10000) return ready;
        qWarning("%s never became active with its focus set", qPrintable(w->windowTitle()));
        return true;
    }

private:
    QPointer<QWidget> seen_;
    QElapsedTimer since_;
};

// Watches for modal message boxes while a handler runs: records each one's title, text and
// icon (and, through the optional hook, what the window showed at that moment), then
// presses OK. The real QMessageBox runs its own modal loop; this answers it.
class ModalWatcher {
public:
    struct Seen {
        QString title;
        QString text;
        QMessageBox::Icon icon;
    };

    explicit ModalWatcher(std::function<void()> onShown = {}) : onShown_(std::move(onShown)) {
        QObject::connect(&timer_, &QTimer::timeout, [this] { Poll(); });
        timer_.start(10);
    }

    std::vector<Seen> seen;

private:
    void Poll() {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr || !box->isVisible() || !ready_.Ready(box)) return;
        seen.push_back({box->windowTitle(), box->text(), box->icon()});
        if (onShown_) onShown_();
        box->button(QMessageBox::Ok)->click();
    }

    QTimer timer_;
    Readiness ready_;
    std::function<void()> onShown_;
};
