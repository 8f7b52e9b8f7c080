#pragma once
// The NRD-545 panel: the receiver panel pattern with the NRD-545's seven mode
// buttons and two ECSS buttons, three filters, AGC, attenuator, power, the
// frequency/channel display switch, the Lock buttons, and six sliders:
// bandwidth control, passband shift, IF gain, squelch, tone and volume.
//
// The slider values can only be read, and the bandwidth-control and
// passband-shift commands only be taken, while the receiver is held in
// remote; the sliders are enabled only then, and a slider sends nothing while
// the receiver is not held. Values shown from the receiver move a slider
// without sending them back.
#include "panels/nrdpanel.h"

#include <QPointer>
#include <array>
#include <memory>
#include <optional>

class QSlider;

namespace Ui {
class frmNRD545;
}

namespace dovrane {

class clsNRD545;

class frmNRD545 : public NrdPanel {
    Q_OBJECT
public:
    frmNRD545();
    ~frmNRD545() override;

    // The status, the controls that depend on the mode and, while the
    // receiver is held, the six slider values; true when the receiver
    // answered every read.
    bool RxUpdatefull() override;

    // The driver's events, public so that other windows can show what they
    // sent through their own driver object.
    void NRD545A_PoweronoffChanged(int v);
    void NRD545A_AttenuatorChanged(int v);
    void NRD545A_BandwidthChanged(int v);
    void NRD545A_BandwidthcontrolChanged(int v);
    void NRD545A_ModeChanged(int v);
    void NRD545A_EcssChanged(int v);
    void NRD545A_AgcspeedChanged(int v);
    void NRD545A_FrequencyAChanged(double f) { frequencyAChanged(f); }
    void NRD545A_LockChanged(int v);
    void NRD545A_PassbandshiftChanged(int v);
    void NRD545A_IfgainChanged(int v);
    void NRD545A_SquelchChanged(int v);
    void NRD545A_RxStatusChanged(const QString& s);
    void NRD545A_ToneChanged(int v);
    void NRD545A_VolumeChanged(int v);

    // What the facade's mode setting shows.
    void modeChanged(int v) override { NRD545A_ModeChanged(v); }

    // The controls' actions, callable as a click would.
    void cmdMode_Click(int i);
    void cmdEcss_Click(int i);
    void cmdBandwidth_Click(int i);
    void cmdAgcspeed_Click(int i);
    void cmdAttenuator_Click(int i);
    void cmdPowerOnOff_Click();
    void cmdFreqOrChan_Click();
    void cmdEnterMem_Click() override;
    void lblPassbandshift_Click();
    void lblTone_Click();
    void lblVolume_Click();

    // The background of lblAttenuator shows the input tuning circuit of the
    // user settings: light yellow while it is on, orange while it is off.
    void setInputCircuitIndicator(bool on);

    int PowerState() const { return powerState_; }
    clsNRD545* driver() const;

protected:
    void createDriverAndTables() override;
    bool setDriverFrequencyA(double kHz) override;
    void modelLoad(bool portOpen) override;
    void modelKey(const KeyAction& action) override;
    void fillDirectMenu(QMenu* menu) override;

private:
    void bindModelControls();
    // Everything that depends on the mode, the filter or the hold, from what
    // the receiver last reported or took: the mode and filter labels, the
    // ECSS, filter and AGC buttons and the two filter sliders; on a held
    // receiver it learns the filter values the panel has not got. Every
    // handler that changes one of them ends here.
    void showReceiverState();
    // Reads the bandwidth control and passband shift the panel does not
    // know, on a held receiver in a mode that has them.
    void learnFilterLevels();
    void blankSliders() override;
    void showLock(int v) override { NRD545A_LockChanged(v); }
    // The slider at v without anything sent.
    static void placeSlider(QSlider* s, int v);
    // A slider key: the new value on the slider, sent once.
    void sliderKey(QSlider* s, int v);
    // Sends a slider's value through its driver member, while held.
    void sendLevel(QSlider* s, int v);
    // Reads one held value into its handler; false when the receiver gave none.
    bool readLevel(QSlider* s);
    void showLevel(QLabel* label, QSlider* slider, int v);

    std::unique_ptr<Ui::frmNRD545> ui;
    QPointer<clsNRD545> NRD545A;
    std::array<QAbstractButton*, 7> cmdMode{};
    std::array<QAbstractButton*, 2> cmdEcss{};
    std::array<QAbstractButton*, 3> cmdBandwidth{};
    std::array<QAbstractButton*, 4> cmdAgcspeed{};
    std::array<QAbstractButton*, 2> cmdAttenuator{};
    std::array<QAbstractButton*, 2> cmdLock{};
    int powerState_ = 0;
    // What the receiver last reported or took: mode and filter codes (-1
    // before the first), ECSS 1 AM-U, 2 AM-L, 0 none.
    int mode_ = -1;
    int filter_ = -1;
    int ecss_ = 0;
    // The bandwidth control and passband shift have a value from the
    // receiver that the sliders show.
    bool bwcKnown_ = false;
    bool pbsKnown_ = false;
    // Learning or refreshing: the levels are being read already.
    bool learning_ = false;
};

} // namespace dovrane
