#pragma once
// The signal level of the measurement tools (spectrum, list scan, S-meter and
// propagation recorders): one sample read through the tool's own driver
// object and corrected for the attenuator position read when the run
// started, and the scale the graphs draw levels on.
//
// Levels are in S units: 9 is S9, one unit is 6 dB above S9 (13 = S9+24 dB,
// 21 = S9+72 dB). A corrected level may lie below 0 or above the driver's
// range; nothing clamps it.
#include <QColor>
#include <QPointer>
#include <array>
#include <functional>
#include <memory>
#include <optional>

namespace dovrane {

class clsAR7030;
class clsNRD535;
class clsNRD545;
class clsRX320;
class CommPort;
class RunNotice;

// The attenuator correction: AR7030 (att - 1) x 10/6 (position 1 is "0 dB",
// 0 "+10 dB", each further step 10 dB more); NRD-535 and NRD-545 att x 20/6
// (1 is "-20 dB"); RX-320 none; computed in double precision and stored as
// a single-precision level.
float correctedLevel(int rxType, float smeter, int attenuatorPosition);
// The position that adds no correction (the AR7030's "0 dB", the NRD's 0).
int neutralAttenuator(int rxType);

class LevelSampler {
public:
    // Creates the tool's own driver object of rxType on port (Comm1 when
    // none is given); no driver for type 0 or without a port.
    explicit LevelSampler(int rxType, CommPort* port = nullptr);
    LevelSampler();   // for RxType, on Comm1
    ~LevelSampler();
    LevelSampler(const LevelSampler&) = delete;
    LevelSampler& operator=(const LevelSampler&) = delete;

    int rxType() const { return rxType_; }
    // Reads the attenuator position once, at the start of a run (not on
    // "Continue"). False when the receiver gave no answer: the position is
    // then not known, and each sample reads it first until it is.
    // The RX-320 and no receiver read nothing (true).
    bool beginRun();
    // The position read for this run (the neutral one while none is known).
    int attenuatorPosition() const { return att_; }
    bool attenuatorKnown() const { return attKnown_; }
    // One sample: the corrected level; nothing when the receiver gave no
    // answer, to the attenuator read or to the S-meter read (such a sample is
    // neither drawn nor stored): a level is never stored without the
    // correction it needs. No receiver gives 0.
    std::optional<float> sample();

    // The driver objects; only the one of rxType exists.
    clsAR7030* AR7030A() const;
    clsNRD535* NRD535A() const;
    clsRX320* RX320A() const;
    clsNRD545* NRD545A() const;

private:
    std::optional<float> readSmeter();
    bool readAttenuator();

    int rxType_;
    int att_;
    bool attKnown_ = false;
    QPointer<clsAR7030> ar7030_;
    QPointer<clsNRD535> nrd535_;
    QPointer<clsRX320> rx320_;
    QPointer<clsNRD545> nrd545_;
};

// The drawing scale: linear in S units, 0 on the base line.
// The two receiver steps of a scan, each telling the run's notice whether the
// receiver answered: a sample through the tool's sampler (level 0 while it has
// none) and a tune through the quiet range check.
std::function<std::optional<float>()> noticedSample(const std::unique_ptr<LevelSampler>& sampler, RunNotice& notice);
std::function<bool(double kHz)> noticedTune(RunNotice& notice);

namespace levelscale {

struct AxisLabel {
    float level;
    const char* text;
};
// The labels printed beside the levels 1, 5, 9, 13, 17 and 21.
inline constexpr std::array<AxisLabel, 6> AxisLabels{{
    {1, "  S1"}, {5, "  S5"}, {9, "  S9"}, {13, "+24"}, {17, "+48"}, {21, "+72"},
}};
// The back colour of the spectrum and list-scan graphs.
inline const QColor GraphBack{255, 255, 192};
// The y pixel of a level on a graph whose base line is baseY, with
// pixelsPerUnit pixels per S unit (upwards).
int levelY(double level, int baseY, double pixelsPerUnit);

} // namespace levelscale

} // namespace dovrane
