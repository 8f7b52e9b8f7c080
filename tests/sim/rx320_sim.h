#pragma once
// A simulated RX-320: takes the binary commands, keeps the settings they set,
// turns the tuning factors back into the frequency it listens to, and answers
// the two questions the receiver answers: "?" (firmware) and "X" (signal).
#include "sim/sim_receiver.h"

#include <QByteArray>
#include <QList>
#include <optional>

namespace dovrane::sim {

struct Rx320SimState {
    bool tuned = false;   // an "N" command has arrived
    int coarse = 0;
    int fine = 0;
    int bfo = 0;
    int mode = 0;         // 0 AM, 1 USB, 2 LSB, 3 CW
    int filter = 0;       // 0..33
    int agc = 0;          // 1..3, 0 until set
    int speakerAtt = 63;  // 0 loud .. 63 silent
    int lineAtt = 63;
};

class Rx320Sim : public SimReceiver {
public:
    Rx320Sim();
    ~Rx320Sim() override;

    // Every accessor locks stateMutex().
    Rx320SimState state() const;
    // The frequency the receiver listens to, in kHz, from the last tuning
    // factors, the mode and the filter; nullopt before the first "N". In CW the
    // factors do not tell the passband shift from the CW offset, so the caller
    // says which shift was in use.
    std::optional<double> tunedKHz(int cwPassbandShiftHz = 0) const;
    // Each complete command, in the order it came.
    QList<QByteArray> commands() const;
    void clearCommands();
    // Commands that the receiver would not understand: unknown letters,
    // a missing CR, values outside their range.
    int protocolErrors() const;

    // The reading n (0..65535) that "X" reports as two bytes.
    void setSmeterReading(int n);
    void setFirmware(const QByteArray& text);
    // How long the receiver takes before it starts its firmware text.
    void setFirmwareDelayMs(int ms);
    // The receiver's own tuning error in Hz, a straight line through c5 at
    // 5 MHz and c15 at 15 MHz: the listened frequency is that much below what
    // the factors say. A correctly set correction cancels it.
    void setReferenceError(double c5, double c15);
    // Bytes that reach the program unasked (a stale answer, line noise); the
    // fault mode applies to them as to any answer.
    void inject(const QByteArray& bytes);

protected:
    void onByte(uint8_t byte) override;

private:
    // The "X" reading: from the curve at the tuned frequency, when there is one.
    int smeterNow() const;
    void handle(const QByteArray& frame);
    void protocolError(const QString& what, const QByteArray& bytes);
    std::optional<double> tunedKHzLocked(int cwPassbandShiftHz) const;

    Rx320SimState state_;
    QByteArray frame_;
    int frameSize_ = 0;
    QList<QByteArray> commands_;
    int protocolErrors_ = 0;
    int smeterReading_ = 256;
    QByteArray firmware_ = QByteArrayLiteral("VER 1.07\r");
    int firmwareDelayMs_ = 0;
    double errC5_ = 0;
    double errC15_ = 0;
};

} // namespace dovrane::sim
