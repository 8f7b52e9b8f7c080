#pragma once
// The AR7030 panel: the main window while an AR7030 is the receiver. Beside
// the tuning controls every panel shares it has the receiver's power,
// attenuator, mode, filter and AGC buttons and nine sliders for the audio and
// IF settings. Every setting of the AR7030 can be read back, so the panel
// shows the receiver's own state: at load, on "Update", after a mode change
// and after a memory recall it reads everything again (RxUpdatefull).
//
// Showing a value read from the receiver never sends it back: the sliders are
// set with their signals blocked, and only the user's own changes (a drag, a
// click, a key, a label click) reach the receiver.
#include "drivers/ar7030/clsar7030.h"
#include "panels/rxpanel.h"

#include <QPointer>
#include <array>
#include <memory>
#include <optional>

class QAbstractButton;
class QGroupBox;
class QLabel;
class QSlider;

namespace Ui {
class frmAR7030;
}

namespace dovrane {

class frmAR7030 : public RxPanel {
    Q_OBJECT
public:
    frmAR7030();
    ~frmAR7030() override;

    // Reads every setting back from the receiver and shows it. Stops at the
    // first read that gets no answer: the rest would only wait as long again.
    bool RxUpdatefull() override;

    // The handlers of the driver's events. Other windows call them after
    // setting the receiver through a driver object of their own. A value
    // outside its range shows "?" and leaves the slider where it is.
    void AR7030A_PoweronoffChanged(int p);
    void AR7030A_AttenuatorChanged(int a);
    void AR7030A_BandwidthChanged(int n);
    void AR7030A_ModeChanged(int m);
    void AR7030A_AgcspeedChanged(int a);
    void AR7030A_FrequencyAChanged(double f);
    void AR7030A_VolumeChanged(int v);
    void AR7030A_LeftauxlevelChanged(int v);
    void AR7030A_RightauxlevelChanged(int v);
    void AR7030A_BassChanged(int v);
    void AR7030A_TrebleChanged(int v);
    void AR7030A_PassbandshiftChanged(int b);
    void AR7030A_IfgainChanged(int v);
    void AR7030A_SquelchChanged(int v);
    void AR7030A_BeatfreqoscChanged(int b);

    // The facade's way to the same handlers.
    void modeChanged(int m) override { AR7030A_ModeChanged(m); }
    void bandwidthChanged(int n) override { AR7030A_BandwidthChanged(n); }
    void agcspeedChanged(int a) override { AR7030A_AgcspeedChanged(a); }

    // The controls' actions, callable as a click would.
    void cmdPowerOnOff_Click();
    void cmdAttenuator_Click(int index);
    void cmdMode_Click(int index);
    void cmdBandwidth_Click(int index);
    void cmdAgcspeed_Click(int index);
    void cmdEnterMem_Click() override;
    void mnuResetRX_Click();
    void mnuFirmware_Click();
    void mnuEnableLLLR_Click();
    void mnuDisableLLLR_Click();
    void mnuPowerOn_Click();
    void mnuPowerOff_Click();

    // The panel's driver object (null outside load..unload).
    clsAR7030* AR7030A() const { return AR7030A_; }

protected:
    void createDriverAndTables() override;
    bool setDriverFrequencyA(double kHz) override;
    void modelLoad(bool portOpen) override;
    void releaseDriver() override;
    void modelKey(const KeyAction& action) override;
    void fillDirectMenu(QMenu* menu) override;

private:
    void bindModelControls();
    // Load: the fitted filters name and enable the filter buttons.
    bool loadInstalledFilters();
    // Everything that depends on the mode, from the mode the receiver last
    // reported or took: the mode label and the passband-shift and BFO
    // sliders with their labels. The mode handler, whoever calls it, ends here.
    void showReceiverState();
    // The mode code, -1 before the first.
    int mode_ = -1;
    // Sets a slider to show a value without sending it.
    static void showSlider(QSlider* slider, int value);
    // A key moved the passband shift or the volume: the slider's own change
    // sends a new value, and the value goes out once more in any case.
    void pbsKey(int position);
    void volumeKey(int value);
    // The slider's change, as the user made it.
    void sliderChanged(QSlider* slider, int value);

    std::unique_ptr<Ui::frmAR7030> ui;
    QPointer<clsAR7030> AR7030A_;

    std::array<QAbstractButton*, 6> cmdAttenuator{};
    std::array<QAbstractButton*, 7> cmdMode{};
    std::array<QAbstractButton*, 6> cmdBandwidth{};
    std::array<QAbstractButton*, 4> cmdAgcspeed{};
};

} // namespace dovrane
