#pragma once
// The NRD-535 panel: the receiver panel pattern with the NRD-535's mode,
// filter, AGC, noise-blanker and attenuator buttons, the bandwidth-control and
// passband-shift sliders, power, and the Lock buttons of the panel lock.
//
// The receiver cannot report its settings one by one; the panel reads the
// status after its own filter and mode commands and whenever RxUpdatebasics or
// RxUpdatefull is called. The two sliders send plain commands, which the
// receiver takes only while it is held in remote, so they are enabled only
// then.
#include "panels/nrdpanel.h"

#include <QPointer>
#include <array>
#include <memory>
#include <optional>

class QGroupBox;
class QSlider;

namespace Ui {
class frmNRD535;
}

namespace dovrane {

class clsNRD535;

class frmNRD535 : public NrdPanel {
    Q_OBJECT
public:
    frmNRD535();
    ~frmNRD535() override;

    // One status read, shown in the labels and the frequency box; true when
    // the receiver answered.
    bool RxUpdatebasics();
    // RxUpdatebasics' refresh, the controls that depend on mode, filter,
    // hold and options, and (held) the start values of the two sliders; true
    // when the receiver answered the status read.
    bool RxUpdatefull() override;

    // The driver's events, public so that other windows can show what they
    // sent through their own driver object.
    void NRD535A_PoweronoffChanged(int v);
    void NRD535A_LockChanged(int v);
    void NRD535A_RxStatusChanged(const QString& s);
    void NRD535A_AttenuatorChanged(int v);
    void NRD535A_BandwidthChanged(int v);
    void NRD535A_ModeChanged(int v);
    void NRD535A_AgcspeedChanged(int v);
    void NRD535A_NoiseblankerChanged(int v);
    void NRD535A_BandwidthcontrolChanged(int v);
    void NRD535A_PassbandshiftChanged(int v);
    void NRD535A_FrequencyAChanged(double f) { frequencyAChanged(f); }

    // What the facade's mode setting shows.
    void modeChanged(int v) override { NRD535A_ModeChanged(v); }
    void bandwidthChanged(int v) override { NRD535A_BandwidthChanged(v); }
    void agcspeedChanged(int v) override { NRD535A_AgcspeedChanged(v); }

    // The controls' actions, callable as a click would.
    void cmdAttenuator_Click(int i);
    void cmdBandwidth_Click(int i);
    void cmdMode_Click(int i);
    void cmdAgcspeed_Click(int i);
    void cmdNoiseblanker_Click(int i);
    void cmdPowerOnOff_Click();
    void cmdEnterMem_Click() override;
    void lblPassbandshift_Click();
    void mnuRtty_Click();

    // The background of lblAttenuator shows the VBT bypass of the user
    // settings: orange while it is on.
    void setVbtBypassIndicator(bool on);

    int PowerState() const { return powerState_; }
    clsNRD535* driver() const;

protected:
    void createDriverAndTables() override;
    bool setDriverFrequencyA(double kHz) override;
    void modelLoad(bool portOpen) override;
    void modelKey(const KeyAction& action) override;
    void fillDirectMenu(QMenu* menu) override;

private:
    void bindModelControls();
    // The filter and mode buttons of the options the receiver has.
    void applyOptions();
    // Set Up has closed: the buttons, the mode texts and the bandwidth-control
    // slider follow the options as they now stand.
    void followOptions();
    // Everything that depends on the mode, the filter, the options or the
    // hold, from what the receiver last reported or took: the mode, filter
    // and AGC labels, the filter and AGC buttons and the two sliders; on a
    // held receiver it learns the two filter values the panel has not got.
    // Every handler that changes one of them ends here.
    void showReceiverState();
    // Sets the passband shift and bandwidth control the panel does not know,
    // as a refresh sets them, on a held receiver in a mode that has them.
    void learnFilterValues();
    void learnFilterValuesNow();
    // The bandwidth control acts in the present mode and filter.
    bool controlApplies() const;
    // The mode's name, also for a mode of an option the set-up says is
    // missing: the receiver is in it all the same.
    QString modeText(int m) const;
    // Held, with "Wid" (0) or "Int" (1): the bandwidth-control slider enabled
    // over the filter's range at its top, which is sent.
    void setUpBandwidthcontrol(int filter);
    std::optional<QString> readStatus();
    void blankSliders() override;
    void showLock(int v) override { NRD535A_LockChanged(v); }
    // The slider at value v without sending, then v sent once.
    void setPassbandshift(int v);
    void setBandwidthcontrol(int v);
    void passbandKey(const KeyAction& action);
    void bandwidthcontrolKey(const KeyAction& action);

    std::unique_ptr<Ui::frmNRD535> ui;
    QPointer<clsNRD535> NRD535A;
    std::array<QAbstractButton*, 2> cmdAttenuator{};
    std::array<QAbstractButton*, 4> cmdBandwidth{};
    std::array<QAbstractButton*, 9> cmdMode{};
    std::array<QAbstractButton*, 3> cmdAgcspeed{};
    std::array<QAbstractButton*, 3> cmdNoiseblanker{};
    std::array<QAbstractButton*, 2> cmdLock{};
    int powerState_ = 0;
    // What the receiver last reported or took: mode, filter and AGC codes,
    // -1 before the first.
    int mode_ = -1;
    int filter_ = -1;
    int agc_ = -1;
    // The bandwidth control the receiver last took and the filter it was
    // for (-1 for none); the passband shift it last took.
    int bwc_ = 0;
    int bwcFilter_ = -1;
    std::optional<int> pbs_;
    // Learning or refreshing: the values are being set already.
    bool learning_ = false;
    // A mode handler runs: a filter of the same change may follow.
    bool modeChanging_ = false;
    // A learning waits for the change under way to be sent whole.
    bool learnPending_ = false;
};

} // namespace dovrane
