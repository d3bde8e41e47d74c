#pragma once

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QString>
#include <QTimer>

#include <functional>
#include <vector>

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
        if (box == nullptr || !box->isVisible()) return;
        seen.push_back({box->windowTitle(), box->text(), box->icon()});
        if (onShown_) onShown_();
        box->button(QMessageBox::Ok)->click();
    }

    QTimer timer_;
    std::function<void()> onShown_;
};
