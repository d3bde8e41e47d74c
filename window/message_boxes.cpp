#include "window/message_boxes.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QMessageBox>
#include <QShortcut>
#include <QPointer>

#include "window/layout.h"

namespace quilvane {

MessageBoxService ModalMessageBoxes(QWidget* parent) {
    return [window = QPointer<QWidget>(parent)](const std::string& prompt, const std::string& title,
                                                int style) {
        QMessageBox box(window.data());
        box.setWindowTitle(title.empty() ? QString::fromUtf8(kAppTitle) : QString::fromStdString(title));
        box.setTextFormat(Qt::PlainText);  // a prompt is never markup
        box.setText(QString::fromStdString(prompt));
        box.setIcon((style & MB_ICONINFORMATION) ? QMessageBox::Information : QMessageBox::NoIcon);
        box.setStandardButtons(QMessageBox::Ok);
        // The text can be selected, and Ctrl+C copies the selection or, with none, the whole
        // text: an answer outlives its box.
        box.setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
        auto* copy = new QShortcut(QKeySequence::Copy, &box);
        QObject::connect(copy, &QShortcut::activated, &box, [&box] {
            const auto* label = box.findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
            const QString selected = label ? label->selectedText() : QString();
            QGuiApplication::clipboard()->setText(selected.isEmpty() ? box.text() : selected);
        });
        box.exec();
    };
}

}  // namespace quilvane
