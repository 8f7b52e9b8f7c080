#pragma once
// The RX-320 driver. The receiver cannot be read back, so every setter keeps
// what it sent in the shared Rx320State, and every tuning command is computed
// from that state, whichever driver object sends it.
//
// Setters return false, send nothing and raise no event when the command for
// the value cannot be built (a mode outside 0..3, an AGC code outside 1..3, a
// tuning whose factors do not fit their bytes); they also return false when the
// port does not take the bytes. Reads return nullopt when the receiver gives no
// valid answer.
#include "drivers/rx320/rx320_protocol.h"

#include "drivers/sent.h"

#include <QObject>
#include <QString>
#include <optional>

namespace dovrane {

class CommPort;

class clsRX320 : public QObject {
    Q_OBJECT
public:
    explicit clsRX320(CommPort& port, QObject* parent = nullptr);

    // The receiver's identification text (terminating CR removed).
    std::optional<QString> Firmware();
    // Filter number 0..33; any other number selects the widest filter, 33
    // (the model table's widestFilter).
    // Sends the filter, then re-tunes.
    SendResult Bandwidth(int filter);
    // 0 AM, 1 USB, 2 LSB, 3 CW. Sends the mode, then re-tunes.
    SendResult Mode(int mode);
    // 1 slow, 2 medium, 3 fast. No re-tune.
    SendResult Agcspeed(int agc);
    // Hz. Reaches the receiver only through the re-tune.
    bool PassBandShift(int hz);
    // CW offset in Hz. Reaches the receiver only through the re-tune.
    bool Beatfreqosc(int hz);
    // kHz.
    bool FrequencyA(double kHz);
    // Loudspeaker and line-out levels 0..99; values beyond are taken to the
    // nearer end, and the event carries the level actually set.
    bool Volume(int level);
    bool Linelevel(int level);
    // Signal strength, 0 and up (about 15.5 at full scale).
    std::optional<float> Smeter();

signals:
    // A re-tuning setter raises FrequencyAChanged before its own event.
    void FrequencyAChanged(double kHz);
    void BandwidthChanged(int filter);
    void ModeChanged(int mode);
    void AgcspeedChanged(int agc);
    void VolumeChanged(int level);
    void LinelevelChanged(int level);
    void PassbandshiftChanged(int hz);
    void BeatfreqoscChanged(int hz);

private:
    rx320::TuningInput stateTuning() const;
    bool canTune(const rx320::TuningInput& in) const;
    std::optional<QByteArray> readFirmwareReply();
    // Sends a command; one that cannot go out is reported like a silent receiver.
    bool put(const QByteArray& command);

    CommPort& port_;
};

} // namespace dovrane
