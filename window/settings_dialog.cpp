#include "window/settings_dialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/number_text.h"
#include "window/input_text.h"
#include "window/layout.h"
#include "window/message_boxes.h"

using namespace quilvane;

namespace {

QString Plain(double x) { return QString::fromStdString(PlainText(x)); }

}  // namespace

SettingsDialog::SettingsDialog(Setting setting, QWidget* parent)
    : QDialog(parent), setting_(std::move(setting)) {
    setObjectName(QStringLiteral("settings"));
    setWindowTitle(setting_.title);
    setModal(true);

    auto* prompt = new QLabel(setting_.prompt, this);
    prompt->setObjectName(QStringLiteral("prompt"));
    prompt->setTextFormat(Qt::PlainText);
    prompt->setWordWrap(true);

    field_ = new QLineEdit(Plain(setting_.current), this);
    field_->setObjectName(QStringLiteral("value"));
    field_->setMinimumWidth(260);
    field_->setAccessibleName(setting_.title);
    field_->selectAll();

    QPushButton* ok = DialogButton(this, "ok", QStringLiteral("确定"));
    ok->setDefault(true);  // Enter in the field applies
    QPushButton* cancel = DialogButton(this, "cancel", QStringLiteral("取消"));
    QPushButton* builtIn = DialogButton(this, "builtin", QStringLiteral("默认值"));
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    // The fill buttons only put a value into the field; 确定 applies it.
    const auto fill = [this](double v) {
        field_->setText(Plain(v));
        field_->setFocus();
        field_->selectAll();
    };
    connect(builtIn, &QPushButton::clicked, this, [fill, this] { fill(setting_.builtIn); });

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(builtIn);
    if (setting_.iec) {
        QPushButton* iec = DialogButton(this, "iec", QStringLiteral("IEC 60751"));
        connect(iec, &QPushButton::clicked, this, [fill, this] { fill(*setting_.iec); });
        buttons->addWidget(iec);
    }
    buttons->addStretch(1);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    // Tab follows the screen: the field, then the buttons left to right.
    QWidget* previous = field_;
    for (QWidget* next : std::initializer_list<QWidget*>{builtIn, findChild<QPushButton*>(QStringLiteral("iec")), ok, cancel}) {
        if (next == nullptr) continue;
        setTabOrder(previous, next);
        previous = next;
    }

    auto* column = new QVBoxLayout(this);
    column->addWidget(prompt);
    column->addWidget(field_);
    column->addLayout(buttons);
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    field_->setFocus();
}

void SettingsDialog::accept() {
    const std::optional<double> v = ReadWholeNumber(FoldedInput(field_->text()));
    std::optional<std::string> wrong;
    if (!v) wrong = "请输入一个有限的十进制数值，例如 100 或 3.9083E-03！";
    else wrong = setting_.check(*v);
    if (wrong) {
        // The typed text stays for the user to correct.
        ModalMessageBoxes(this)(*wrong, "错误提示", MB_ICONINFORMATION);
        field_->setFocus();
        return;
    }
    value_ = *v;
    QDialog::accept();
}
