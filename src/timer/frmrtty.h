#pragma once
// The RTTY window: the NRD receivers demodulate RTTY themselves and send the
// text over the serial line. The window sets speed, shift and polarity,
// switches the demodulator, shows the text in 15 lines and can append it to
// an RTTY text file opened through the save chooser (kind 13).
//
// While it receives, the window is the only reader of what the receiver
// sends unasked: the dial reports pause for the run. A file chosen with
// "Yes" stays open across runs, until "No" or the window's close.
#include "drivers/sent.h"
#include "platform/append_file.h"
#include "scanning/tool_run.h"
#include "shell/dial_reports.h"
#include "shell/run_notice.h"
#include "shell/form.h"
#include "timer/rtty_text.h"

#include <QPointer>
#include <array>
#include <memory>
#include <optional>

class QAbstractButton;
class QLabel;
class QRadioButton;
class QTimer;

namespace Ui {
class frmRtty;
}

namespace dovrane {

class clsNRD535;
class clsNRD545;

class frmRtty : public Form {
    Q_OBJECT
public:
    frmRtty();
    ~frmRtty() override;

    // The controls' actions, callable as a click would.
    void cmdBaud_Click(int i);
    void cmdShift_Click(int i);
    void cmdPolarity_Click(int i);
    void cmdSave_Click(int i);
    void cmdStart_Click();
    void cmdStop_Click();
    void cmdCls_Click();
    void cmdExit_Click() { unload(); }
    void optUnshift_Click(int i);
    void optError_Click(int i);

    // The reader's tick (125 ms). A receiver that has sent nothing for a
    // while is asked whether it is still there; three questions in a row
    // without an answer stop the run with one message.
    void tmrGetRTTY_Timer();
    bool receiving() const { return receiving_; }
    QTimer* tmrGetRTTY() const { return tmrGetRTTY_; }

    // What the save chooser does for kind 13: opens the file for appending
    // (closing one open before) and shows its name. False when it cannot be opened.
    bool openTextFile(const QString& path, const QString& name);

    // The receiver's RTTY unit as Set Up now gives it: without it the run
    // stops and the buttons that would talk to the unit are disabled.
    void followOptions();

    const QString& rttyparam() const { return params_.text(); }
    bool rttysave() const { return file_.isOpen(); }
    QString displayLine(int i) const;

    static constexpr int ReadIntervalMs = 125;

protected:
    void Form_Load() override;
    void Form_Unload() override;

private:
    void sendParameters();
    SendResult rttyOnOff(int v);
    // Takes in what the receiver has sent; false when nothing came.
    bool readText();
    // The window as a stopped run leaves it (Stop, or a run that stopped itself).
    void stopReceiving();
    void append(const QString& line);
    void closeFile();
    void scroll(const QString& line);

    std::unique_ptr<Ui::frmRtty> ui;
    QTimer* tmrGetRTTY_ = nullptr;
    RttyParameters params_;
    RttyLineBuilder builder_;
    AppendFile file_;
    bool failureNoticePending_ = false;
    bool receiving_ = false;
    RunDevice device_;
    AliveCheck alive_;
    SilenceCount silence_;
    RunNotice notice_;
    // Held through a run: the dial reports wait while the window reads.
    std::optional<dialreports::Pause> reportsPaused_;
    QPointer<clsNRD535> NRD535A;
    QPointer<clsNRD545> NRD545A;

    std::array<QAbstractButton*, 3> cmdBaud{};
    std::array<QAbstractButton*, 3> cmdShift{};
    std::array<QAbstractButton*, 2> cmdPolarity{};
    std::array<QAbstractButton*, 2> cmdSave{};
    std::array<QRadioButton*, 2> optUnshift{};
    std::array<QRadioButton*, 2> optError{};
    std::array<QLabel*, 15> lblRy{};
};

} // namespace dovrane
