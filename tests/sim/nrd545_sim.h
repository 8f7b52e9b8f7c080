#pragma once
// A simulated NRD-545: frequencies as 10 digits of Hz, channels 0..999, the
// AGC as a time value, 3-digit levels that can be read back one by one, the
// DSP functions and the frequency/channel display switch.
#include "sim/nrd_sim_base.h"

namespace dovrane::sim {

class Nrd545Sim : public NrdSimBase {
public:
    Nrd545Sim();

    struct Levels {
        int bandwidthControl = 240;  // 10 Hz units
        int passbandShift = 0;       // 10 Hz units
        int ifGain = 128;
        int squelch = 0;
        int tone = 50;
        int volume = 100;
        int ecss = 0;
        int nrbcChoice = 0;
        int nrLevel = 0;
        int bcLevel = 0;
        int nbChoice = 0;
        int nbLevel = 0;
        int notchChoice = 0;
        int notchFrequency = 0;
        bool operator==(const Levels&) const = default;
    };
    Levels levels() const;
    void setLevels(const Levels& l);
    // True while the display shows channels ("MM21" switches it).
    bool channelDisplay() const;

protected:
    bool execute(const QByteArray& cmd) override;
    QByteArray channelLine(int ch) const override;
    QByteArray reportLine() const override;
    int smeterRawFor(double level) const override;

private:
    Levels levels_;
    bool channelDisplay_ = false;
};

} // namespace dovrane::sim
