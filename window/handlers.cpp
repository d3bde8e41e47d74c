// The handlers of the user's actions: the convert command, focus clearing, About, Quit and
// the Settings items.
#include <QLabel>
#include <QLineEdit>

#include "core/conversion.h"
#include "core/number_text.h"
#include "core/table.h"
#include "core/tolerance.h"
#include "window/Form1.h"
#include "window/accessibility.h"
#include "window/input_text.h"
#include "window/layout.h"
#include "window/settings_dialog.h"
#include "window/table_dialog.h"

using namespace quilvane;

namespace {

QString Utf8(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

void Form1::MarkBoxes(QLineEdit* input, QLineEdit* output) {
    SetForeColor(input, QPalette::Text, 0xFF0000);
    SetForeColor(output, QPalette::Text, 0x0000FF);
    SetFontSize(output, 12);
    SetBold(output, true);
    SetFontSize(input, 9);
    SetBold(input, false);
}

void Form1::Command1_Click() {
    const QString temperature = wdz->text();
    const QString resistance = zz->text();
    if (temperature.isEmpty() && resistance.isEmpty()) {
        msgbox_("请至少输入一个量！", "错误提示", MB_ICONINFORMATION);
        return;
    }
    if (!temperature.isEmpty() && !resistance.isEmpty()) {
        msgbox_("输入错误！", "错误提示", MB_ICONINFORMATION);
        return;
    }
    const bool toResistance = resistance.isEmpty();
    if (toResistance) MarkBoxes(wdz, zz);
    else MarkBoxes(zz, wdz);

    if (toResistance) {
        ShowResistance();
        return;
    }
    try {
        const double t = com(RoundToInt16(ReadNumber(FoldedInput(resistance))), R0, A, B, C, msgbox_);
        msgbox_(PlainText(t), "", MB_OK);
    } catch (const NumericError&) {
        msgbox_("输入数值超出范围，无法换算！", "错误提示", MB_ICONINFORMATION);
    }
}

void Form1::ShowResistance() {
    try {
        bool notice = false;
        const MessageBoxService noting = [this, &notice](const std::string& prompt, const std::string& title, int style) {
            notice = notice || prompt == kRangeNotice;
            msgbox_(prompt, title, style);
        };
        const TemperatureResult result = ConvertTemperature(FoldedInput(wdz->text()), R0, A, B, C, noting);
        zz->setText(Utf8(result.resistance));
        zz->setCursorPosition(0);  // a result wider than the box shows from its first digit
        dqgs->setText(Utf8(result.caption));
        converted_ = {wdz->text(), zz->text()};
        // What the tolerance classes allow at the temperature used, for the user to check a
        // sensor against.
        const QString tolerance = Utf8(ToleranceText(result.temperature, R0, A, B, C));
        zz->setToolTip(tolerance);
        zz->setAccessibleDescription(tolerance);
        // Said to a screen reader while the focus stays on 《 换 算 》: the result, and the
        // notice when there was one.
        QString spoken = QStringLiteral("换算结果：阻值 %1 Ω").arg(zz->text().trimmed());
        if (notice) spoken += QStringLiteral("，") + Utf8(kRangeNotice);
        Announce(announcer_, spoken);
    } catch (const NumericError&) {
        // A value beyond what the conversion can take: say so and keep the window running.
        msgbox_("输入数值超出范围，无法换算！", "错误提示", MB_ICONINFORMATION);
    }
}

void Form1::ShowValuesInUse() {
    const bool builtInValues = R0 == kBuiltInR0 && A == kBuiltInA && B == kBuiltInB && C == kBuiltInC;
    Label1->setText(builtInValues ? QStringLiteral("默认") : QStringLiteral("自定"));
    const QString values = Utf8(ValuesText(R0, A, B, C));
    Label1->setToolTip(values);
    Label1->setAccessibleDescription(values);
}

void Form1::wdz_GotFocus() { zz->setText(QString()); }

void Form1::zz_GotFocus() { wdz->setText(QString()); }

void Form1::abt_Click() { msgbox_("本程序由Veskaro dremmil 提供！", "系统提示", MB_ICONINFORMATION); }

void Form1::qt_Click() { close(); }

void Form1::OpenSetting(double Form1::*value, const char* title, const char* prompt, double builtIn,
                        std::optional<double> iec) {
    SettingsDialog::Setting setting{QString::fromUtf8(title), QString::fromUtf8(prompt), this->*value,
                                    builtIn, iec, {}};
    // R0 alone; a coefficient together with the two others as they are now.
    setting.check = [this, value](double v) {
        if (value == &Form1::R0) return R0Refusal(v);
        double a = A, b = B, c = C;
        (value == &Form1::A ? a : value == &Form1::B ? b : c) = v;
        return CoefficientsRefusal(a, b, c);
    };
    SettingsDialog dialog(std::move(setting), this);
    if (dialog.exec() != QDialog::Accepted) return;
    this->*value = dialog.value();
    ShowValuesInUse();
    // A resistance still shown beside the temperature it came from is computed again with
    // the new values, so that no answer of the old ones stands under the new label.
    if (!converted_.second.isEmpty() && wdz->text() == converted_.first && zz->text() == converted_.second)
        ShowResistance();
}

void Form1::setR_Click() {
    OpenSetting(&Form1::R0, "设置 R0",
                "传感器在 0℃ 时的阻值 R0，单位 Ω。\n默认值：100（Pt100；Pt500 为 500，Pt1000 为 1000）",
                kBuiltInR0, std::nullopt);
}

void Form1::setA_Click() {
    OpenSetting(&Form1::A, "设置系数 A", "系数 A，单位 ℃⁻¹。\n默认值：3.90802E-03\nIEC 60751：3.9083E-03",
                kBuiltInA, kIecA);
}

void Form1::setB_Click() {
    OpenSetting(&Form1::B, "设置系数 B", "系数 B，单位 ℃⁻²。\n默认值：-5.8E-07\nIEC 60751：-5.775E-07",
                kBuiltInB, kIecB);
}

void Form1::setC_Click() {
    OpenSetting(&Form1::C, "设置系数 C",
                "系数 C，单位 ℃⁻⁴，只用于 0℃ 以下。\n默认值：-4.2735E-12\nIEC 60751：-4.183E-12",
                kBuiltInC, kIecC);
}

void Form1::tbl_Click() {
    TableDialog dialog(R0, A, B, C, this);
    dialog.exec();
}
