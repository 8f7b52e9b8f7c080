#pragma once
// The AR7030 as the program sees it: one read and one write per receiver
// setting, each turned into the receiver's byte language on the shared port.
// Nothing is cached: a read always asks the receiver, a write always sends.
//
// Every operation is whole: it selects its own page and address, sends, and
// waits for each answer byte with a deadline and without running events, so
// no other operation can slip in between and move the receiver's address
// pointer. A read that gets no answer returns nothing; a write that is
// refused or cannot be sent returns false. Only a write that went out raises
// its change event, with the value the caller passed. A mode, filter,
// attenuator or AGC code the receiver does not take (receiverTakes), or a
// memory record that is not one of its own (isRecordOf), is refused before
// anything goes out; those setters say which way they ended (SendResult).
#include "drivers/sent.h"

#include <QObject>
#include <QString>
#include <optional>

namespace dovrane {

class CommPort;

namespace ar7030 {
class Sequence;
struct LevelRegister;
}

class clsAR7030 : public QObject {
    Q_OBJECT
public:
    explicit clsAR7030(CommPort& port, QObject* parent = nullptr);

    // Sends the read command and returns the receiver's answer byte.
    std::optional<int> readbyte();
    bool Reset();
    // Eight characters of firmware identification.
    std::optional<QString> Firmware();

    std::optional<int> PowerOnOff();          // 1 on, 0 off
    bool PowerOnOff(int v);                   // 0 or 1
    std::optional<int> Attenuator();          // code 0..5
    SendResult Attenuator(int v);
    std::optional<int> Bandwidth();           // filter 1..6
    SendResult Bandwidth(int v);
    std::optional<int> Mode();                // 1..7
    SendResult Mode(int v);
    std::optional<int> Agcspeed();            // 0..3
    SendResult Agcspeed(int v);
    std::optional<double> FrequencyA();       // kHz
    bool FrequencyA(double kHz);
    // Width of fitted filter i (1..6) as "d.d" kHz; "0.0" when none is fitted.
    std::optional<QString> Installedfilter(int i);
    std::optional<int> Volume();              // 0..99
    bool Volume(int v);
    std::optional<int> Leftauxlevel();        // 0..99
    bool Leftauxlevel(int v);
    std::optional<int> Rightauxlevel();       // 0..99
    bool Rightauxlevel(int v);
    std::optional<int> Bass();                // -8..8
    bool Bass(int v);
    std::optional<int> Treble();              // -8..8, even
    bool Treble(int v);
    std::optional<int> PassBandShift();       // raw signed byte 0..255
    bool PassBandShift(int v);
    std::optional<int> Ifgain();              // 0..99
    bool Ifgain(int v);
    std::optional<int> Squelch();             // raw 0..150
    bool Squelch(int v);
    std::optional<int> Beatfreqosc();         // raw signed byte 0..255
    bool Beatfreqosc(int v);
    std::optional<float> Smeter();            // S units 0..18

    // Memory channel n (0..99) as its 35-column MemoryRecord.
    std::optional<QString> Memory(int n);
    bool Memory(int n, const QString& record);
    // Receiver clock "hh:mm:ss".
    std::optional<QString> RxClock();
    bool RxClock(const QString& t);

signals:
    void PoweronoffChanged(int v);
    void AttenuatorChanged(int v);
    void BandwidthChanged(int v);
    void ModeChanged(int v);
    void AgcspeedChanged(int v);
    void FrequencyAChanged(double kHz);
    void VolumeChanged(int v);
    void BassChanged(int v);
    void TrebleChanged(int v);
    void PassbandshiftChanged(int v);
    void IfgainChanged(int v);
    void SquelchChanged(int v);
    void BeatfreqoscChanged(int v);
    void LeftauxlevelChanged(int v);
    void RightauxlevelChanged(int v);

private:
    // Sends a whole run of steps; false when it is invalid or not taken.
    bool send(const ar7030::Sequence& seq);
    // Sends the selection steps, then count reads, one answer byte each.
    std::optional<QByteArray> query(const ar7030::Sequence& select, int count);
    std::optional<int> readRegister(int page, int address);
    std::optional<int> readLevel(const ar7030::LevelRegister& reg);
    bool writeLevel(const ar7030::LevelRegister& reg, int v);
    bool writeShort(int address, int v, int routine, int routine2);
    bool writeByte(int address, int v, int routine, int routine2);

    CommPort& port_;
};

} // namespace dovrane
