#pragma once

#include <QDialog>

#include <functional>
#include <optional>
#include <string>

class QLineEdit;

// The modal dialog behind a Settings item: one value, with buttons that fill in the built-in
// value and, for a coefficient, the IEC 60751 one. 确定 applies only what passes the check.
class SettingsDialog : public QDialog {
    Q_OBJECT

public:
    struct Setting {
        QString title;   // the menu item's caption
        QString prompt;  // the quantity, its unit and the reference values
        double current;
        double builtIn;
        std::optional<double> iec;  // coefficients only
        // Empty when the value may be applied; otherwise what is wrong, for the user.
        std::function<std::optional<std::string>(double)> check;
    };

    SettingsDialog(Setting setting, QWidget* parent);

    // The value 确定 accepted; meaningful after exec() returned Accepted.
    double value() const { return value_; }

    void accept() override;

private:
    Setting setting_;
    QLineEdit* field_ = nullptr;
    double value_ = 0;
};
