#pragma once

#include <QMainWindow>
#include <QString>

#include <functional>
#include <optional>
#include <string>
#include <utility>

#include "core/message_box.h"
#include "core/clock_text.h"

class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QStatusBar;
class QTimer;

// The program's only window: a Pt100 temperature/resistance calculator. Controls bear the
// object names the handlers and tests use; positions are given in twips (15 to a pixel).
class Form1 : public QMainWindow {
    Q_OBJECT

public:
    explicit Form1(QWidget* parent = nullptr);
    ~Form1() override;

    // Start-up before the window is shown. False when another copy runs: the notice was
    // shown and dismissed, and this copy must end.
    bool Form_Load();

    // Handlers of the user's actions and the clock, on the event thread.
    void Command1_Click();
    void wdz_GotFocus();
    void zz_GotFocus();
    void abt_Click();
    void qt_Click();
    void Timer1_Timer();
    // The Settings items: each opens its modal dialog and applies what 确定 accepts.
    void setR_Click();
    void setA_Click();
    void setB_Click();
    void setC_Click();
    // 工具 > 分度表: the reference table for the values in use.
    void tbl_Click();

    // Asks whether this copy may run, given the name that marks a running copy (empty: the
    // checker's own). False when another copy runs. Without a check the window runs as the
    // only copy.
    using InstanceCheck = std::function<bool(const std::string& name)>;

    // Where the clock is read (NowLocal unless a test sets another), the single-instance
    // check, and the name it is asked about (tests use their own so as not to meet a real
    // copy).
    void SetClock(std::function<quilvane::Moment()> clock);
    void SetInstanceCheck(InstanceCheck check);
    void SetInstanceName(std::string name);

    // Nominal resistance, conversion coefficients and the start moment as text, set by
    // Form_Load; the Settings items change R0, A, B and C for this session only.
    double R0 = 0;
    double A = 0;
    double B = 0;
    double C = 0;
    std::string tm;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void BuildControls();
    void BuildMenu();
    void BuildStatusBar();
    void Connect();
    void MarkBoxes(QLineEdit* input, QLineEdit* output);
    // The temperature in wdz converted with the values in use, into zz and dqgs.
    void ShowResistance();
    // Label1's 默认/自定, and the four values in its tooltip and accessible description.
    void ShowValuesInUse();
    void OpenSetting(double Form1::*value, const char* title, const char* prompt, double builtIn,
                     std::optional<double> iec);

    QWidget* client_ = nullptr;
    QWidget* announcer_ = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* gs = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* gs2 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* dqgs = nullptr;
    QGroupBox* Frame1 = nullptr;
    QLineEdit* zz = nullptr;
    QPushButton* Command1 = nullptr;
    QLineEdit* wdz = nullptr;
    QLabel* Label4 = nullptr;
    QLabel* Label6 = nullptr;
    QStatusBar* StatusBar1 = nullptr;
    QLabel* Panel1 = nullptr;
    QLabel* Panel2 = nullptr;
    QTimer* Timer1 = nullptr;
    QMenu* set = nullptr;
    QMenu* tools = nullptr;
    QMenu* ab = nullptr;
    QMenu* quit = nullptr;

    QWidget* lastFocus_ = nullptr;
    std::pair<QString, QString> converted_;  // the temperature last converted and its result  // the input control that last held the focus
    bool centred_ = false;
    quilvane::MessageBoxService msgbox_;
    std::function<quilvane::Moment()> clock_;
    InstanceCheck instanceCheck_;
    std::string instanceName_;
};
