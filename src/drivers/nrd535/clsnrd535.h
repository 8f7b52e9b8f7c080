#pragma once
// The NRD-535 driver. It keeps no receiver state: every read asks the
// receiver, every write sends at once and then raises the change event named
// after the setting, with the value given. A read that gets no valid answer
// returns nothing; a write that is refused or cannot be sent returns false;
// neither raises an event. A mode, filter, attenuator, AGC, noise blanker,
// bandwidth control, passband shift or RTTY setting the receiver does not
// take (receiverTakes: the model's codes and the options the set-up gives
// it), or a status or memory record holding one, is refused before anything
// goes out; the setters that pass the gate say which way they ended
// (SendResult).
//
// Bracketed members take the receiver into remote and back around themselves
// (unless it is held); the plain ones (Bandwidthcontrol, PassBandShift,
// Smeter, Memory read) act only while it is held with Lockonoff(1); the
// plain setters send nothing while it is not (Sent::NotHeld).
#include "drivers/model_tables.h"
#include "drivers/nrd/nrddriver.h"
#include "drivers/sent.h"

#include <QString>
#include <optional>

namespace dovrane {

class clsNRD535 : public NrdDriver {
    Q_OBJECT
public:
    explicit clsNRD535(CommPort& port, QObject* parent = nullptr);

    // 0 off, 1 on (on only with the RTTY unit).
    SendResult RttyOnOff(int v);
    bool PowerOnOff(int v);

    // The 13-character status: "X", attenuator, bandwidth, mode, 8 digits of
    // Hz, AGC. It passes through channel 199, which the receiver overwrites.
    std::optional<QString> RxStatus();
    SendResult RxStatus(const QString& s);

    // Each read is one full status read.
    std::optional<int> Attenuator();
    SendResult Attenuator(int v);
    std::optional<int> Bandwidth();
    SendResult Bandwidth(int v);
    std::optional<int> Mode();
    SendResult Mode(int v);
    std::optional<int> Agcspeed();
    SendResult Agcspeed(int v);
    SendResult Noiseblanker(int v);
    // kHz.
    std::optional<double> FrequencyA();
    bool FrequencyA(double kHz);

    // Plain: Hz, bandwidthControlRange (with BWC).
    SendResult Bandwidthcontrol(int v);
    // Plain: Hz, passbandShiftRange.
    SendResult PassBandShift(int v);
    // Plain: S units 0..18.
    std::optional<float> Smeter();

    // Channels 0..199. The read is plain and gives a 35-column MemoryRecord;
    // the write stores the record, or clears the channel when the record
    // holds no frequency in 10 kHz..29999.999 kHz.
    std::optional<QString> Memory(int ch);
    bool Memory(int ch, const QString& record);
    // Recalls channel ch.
    bool Rx2Mem(int ch);

    // The user settings of the receiver, items 0..9.
    bool Userdefs(int item, int v);
    // The receiver cannot report them: always nothing, and nothing is sent.
    std::optional<int> Userdefs(int item) const;

signals:
    void PoweronoffChanged(int v);
    void RttyonoffChanged(int v);
    void AttenuatorChanged(int v);
    void BandwidthChanged(int v);
    void ModeChanged(int v);
    void AgcspeedChanged(int v);
    void NoiseblankerChanged(int v);
    void BandwidthcontrolChanged(int v);
    void PassbandshiftChanged(int v);
    void FrequencyAChanged(double kHz);
    void RxStatusChanged(const QString& s);

protected:
    const Particulars& particulars() const override;

private:
    // One digit command ("A" + digit), bracketed, when the receiver takes v
    // for the setting.
    SendResult settingCommand(const char* letter, RxSetting setting, int v);
};

} // namespace dovrane
