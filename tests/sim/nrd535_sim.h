#pragma once
// A simulated NRD-535: frequencies as 8 digits of Hz, channels 0..199, the
// AGC as a code digit, bandwidth control and passband shift in Hz.
#include "sim/nrd_sim_base.h"

namespace dovrane::sim {

class Nrd535Sim : public NrdSimBase {
public:
    Nrd535Sim();

    int bandwidthControl() const;  // Hz
    int passbandShift() const;     // Hz
    int noiseBlanker() const;

protected:
    bool execute(const QByteArray& cmd) override;
    QByteArray channelLine(int ch) const override;
    QByteArray reportLine() const override;
    int smeterRawFor(double level) const override;

private:
    int bandwidthControl_ = 2200;
    int passbandShift_ = 0;
    int noiseBlanker_ = 0;
};

} // namespace dovrane::sim
