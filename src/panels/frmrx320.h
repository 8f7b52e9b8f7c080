#pragma once
// The RX-320 panel. Beyond the shared pattern: the filters in four bandwidth
// ranges, mode and AGC buttons, the passband-shift, CW-offset, volume and
// line-level sliders, the line-out lock and the firmware query. The receiver
// cannot be read back, so the panel sends the state saved in
// "rx320settings.ini" when it loads and saves the state last sent when it
// closes.
#include "panels/rxpanel.h"

#include <QPointer>
#include <array>
#include <cstdint>
#include <memory>

class QAbstractButton;
class QLabel;
class QSlider;

namespace Ui {
class frmRX320;
}

namespace dovrane {

class ClickableLabel;
class clsRX320;

class frmRX320 : public RxPanel {
    Q_OBJECT
public:
    frmRX320();
    ~frmRX320() override;

    // The handlers of the driver's events. The facade, the memory manager
    // and the timer call them after setting the receiver through driver
    // objects of their own; none of them talks to the receiver, though a
    // slider moved to a new value sends that value as a user's move would.
    void RX320A_FrequencyAChanged(double kHz);
    void RX320A_BandwidthChanged(int filter);
    void RX320A_ModeChanged(int mode);
    void RX320A_AgcspeedChanged(int agc);
    void RX320A_PassbandshiftChanged(int hz);
    void RX320A_BeatfreqoscChanged(int hz);
    void RX320A_VolumeChanged(int level);
    void RX320A_LinelevelChanged(int level);

    // PanelHandlers: what the facade calls after SetRx2mfa.
    void modeChanged(int mode) override { RX320A_ModeChanged(mode); }
    void bandwidthChanged(int filter) override { RX320A_BandwidthChanged(filter); }
    void agcspeedChanged(int agc) override { RX320A_AgcspeedChanged(agc); }

    // The controls' handlers, callable as a click would.
    void cmdBwrange_Click(int range);
    void cmdBwgroup_Click(int button);
    void cmdMode_Click(int mode);
    void cmdAgcspeed_Click(int index);
    void lblPassbandshift_Click();
    void lblBeatfreqosc_Click();
    void lblVolume_Click();
    void lblLinelevel_Click();
    void mnuEnableLine_Click();
    void mnuDisableLine_Click();
    void mnuFirmware_Click();

    // The range whose filters the filter buttons offer.
    int BwRange() const { return bwRange_; }
    // The filter behind button b of range r (0 where the range has none).
    int bwtab(int range, int button) const;

    // Filters per range on buttons 0..n-1.
    static constexpr std::array<int, 4> FiltersInRange{8, 10, 7, 9};
    // The range holding a filter number.
    static int rangeOfFilter(int filter);

protected:
    void createDriverAndTables() override;
    bool setDriverFrequencyA(double kHz) override;
    void modelLoad(bool portOpen) override;
    void modelUnload() override;
    void releaseDriver() override;
    void modelKey(const KeyAction& action) override;
    void fillDirectMenu(QMenu* menu) override;
    // This receiver's clock cannot be set.
    void rxClockMenu() override {}

private:
    void bindModelControls();
    void relabelFilters(int range);
    // Everything that depends on the filter and the mode, from what the
    // receiver last took: the filter and mode labels, the range the filter
    // buttons offer and the CW-offset slider. Every handler that changes one
    // of them ends here.
    void showReceiverState();
    void sliderChanged(QSlider* slider, int value);
    void showSliderValue(QSlider* slider, QLabel* label, int value, int limit);
    void showLevel(QSlider* slider, QLabel* label, int level);
    // A keyboard step of a slider, stopped at its ends, then the value sent
    // once more.
    void keySlider(QSlider* slider, int delta, bool toZero);
    void saveSettings();

    std::unique_ptr<Ui::frmRX320> ui;
    QPointer<clsRX320> RX320A;
    std::array<std::array<int16_t, 10>, 4> bwtab_{};
    int bwRange_ = 0;
    // The filter and mode the receiver last took, -1 before the first.
    int filter_ = -1;
    int mode_ = -1;
    // What each slider last sent (passband shift, CW offset, volume, line
    // level); a slider whose value could not be sent goes back to it.
    std::array<int, 4> sliderSent_{};

    std::array<QAbstractButton*, 4> cmdBwrange{};
    std::array<QAbstractButton*, 10> cmdBwgroup{};
    std::array<QAbstractButton*, 4> cmdMode{};
    std::array<QAbstractButton*, 3> cmdAgcspeed{};
    QSlider* vsbPassbandshift = nullptr;
    QSlider* vsbBeatfreqosc = nullptr;
    QSlider* vsbVolume = nullptr;
    QSlider* vsbLinelevel = nullptr;
    QLabel* lblBandwidth = nullptr;
    QLabel* lblMode = nullptr;
    QLabel* lblAgcspeed = nullptr;
    ClickableLabel* lblPassbandshift = nullptr;
    ClickableLabel* lblBeatfreqosc = nullptr;
    ClickableLabel* lblVolume = nullptr;
    ClickableLabel* lblLinelevel = nullptr;
};

} // namespace dovrane
