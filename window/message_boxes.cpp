#include "window/message_boxes.h"

#include <QMessageBox>
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
        box.exec();
    };
}

}  // namespace quilvane
