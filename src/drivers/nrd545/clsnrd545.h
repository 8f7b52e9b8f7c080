#pragma once
// The NRD-545 driver. Like the NRD-535 driver it keeps no receiver state,
// raises the change event named after a setting once the command has gone out,
// returns nothing for a read without a valid answer and false for a write that
// is refused or cannot be sent, with no event in either case. A mode,
// filter, attenuator, AGC, ECSS side band, noise blanker, bandwidth control,
// passband shift or RTTY setting the receiver does not take (receiverTakes),
// or a status or memory record holding one, is refused before anything goes
// out; the setters that pass the gate say which way they ended (SendResult).
//
// Levels are 3-digit values, frequencies 10 digits of Hz, bandwidth control
// and passband shift in units of 10 Hz. The plain members (Bandwidthcontrol,
// PassBandShift, the Agcspeed, Ifgain, Squelch, Tone and Volume reads, Smeter
// and the Memory read) act only while the receiver is held with Lockonoff(1),
// and the plain setters send nothing while it is not (Sent::NotHeld);
// Bandwidthcontrolxxx and PassBandShiftxxx read the same values bracketed.
#include "drivers/model_tables.h"
#include "drivers/nrd/nrddriver.h"
#include "drivers/sent.h"

#include <QString>
#include <optional>

namespace dovrane {

class clsNRD545 : public NrdDriver {
    Q_OBJECT
public:
    explicit clsNRD545(CommPort& port, QObject* parent = nullptr);

    // 0 off, 1 on.
    SendResult RttyOnOff(int v);
    bool PowerOnOff(int v);

    // The 13-character status, passing through channel 999.
    std::optional<QString> RxStatus();
    SendResult RxStatus(const QString& s);

    std::optional<int> Attenuator();
    SendResult Attenuator(int v);
    SendResult Bandwidth(int v);
    std::optional<int> Bandwidthcontrol();
    std::optional<int> Bandwidthcontrolxxx();
    SendResult Bandwidthcontrol(int v);
    std::optional<int> Mode();
    SendResult Mode(int v);
    // 1 AM-U, 2 AM-L.
    SendResult Ecss(int v);
    // The read gives the time-constant factor 1..9; the write takes 0 (AGC
    // off) or 1..9.
    std::optional<int> Agcspeed();
    SendResult Agcspeed(int v);
    // kHz.
    std::optional<double> FrequencyA();
    bool FrequencyA(double kHz);
    // Switches between frequency and channel display; v is not used.
    bool FreqOrChan(int v);
    std::optional<int> PassBandShift();
    std::optional<int> PassBandShiftxxx();
    SendResult PassBandShift(int v);
    std::optional<int> Ifgain();
    bool Ifgain(int v);
    std::optional<int> Squelch();
    bool Squelch(int v);

    // Channels 0..999. The write stores a record whose frequency lies in
    // 10 kHz..29999.999 kHz; the receiver has no command that clears a
    // channel, so any other record is reported as not written.
    std::optional<QString> Memory(int ch);
    bool Memory(int ch, const QString& record);
    bool Rx2Mem(int ch);

    // S units 0..19.
    std::optional<float> Smeter();
    std::optional<int> Tone();
    bool Tone(int v);
    std::optional<int> Volume();
    bool Volume(int v);

    // The user settings, items 1..32 as the receiver numbers them.
    bool Userdefs(int item, int v);

    // Noise reduction / beat cancel: sel 0 the function, 1 NR level, 2 BC level.
    bool nrbc(int sel, int v);
    // Noise blanker: sel 0 the choice, 1 the level.
    SendResult nb(int sel, int v);
    std::optional<int> nb(int sel);
    // Notch: sel 0 the choice, 1 the frequency (read: sel 1 only).
    bool nt(int sel, int v);
    std::optional<int> nt(int sel);

signals:
    void PoweronoffChanged(int v);
    void RttyonoffChanged(int v);
    void AttenuatorChanged(int v);
    void BandwidthChanged(int v);
    void BandwidthcontrolChanged(int v);
    void ModeChanged(int v);
    void EcssChanged(int v);
    void AgcspeedChanged(int v);
    void FrequencyAChanged(double kHz);
    void PassbandshiftChanged(int v);
    void IfgainChanged(int v);
    void SquelchChanged(int v);
    void RxStatusChanged(const QString& s);
    void ToneChanged(int v);
    void VolumeChanged(int v);

protected:
    const Particulars& particulars() const override;

private:
    // A plain query whose value is the digits from position `from` (counted
    // from 1) up to the CR.
    std::optional<int> plainLevel(const QByteArray& command, const char* shape, int from);
    // The same query inside its own bracketing.
    std::optional<int> bracketedLevel(const QByteArray& command, const char* shape, int from);
    // Letters and one digit, bracketed, when the receiver takes v for the setting.
    SendResult settingCommand(const QByteArray& letters, RxSetting setting, int v);
    // Two letters and a 3-digit level, bracketed.
    bool levelCommand(const char* letters, int v);
};

} // namespace dovrane
