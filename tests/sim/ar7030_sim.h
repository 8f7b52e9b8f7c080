#pragma once
// A simulated AR7030: sixteen pages of register memory walked by the
// receiver's one-byte commands (holding register H, address pointer, page),
// answering each read command with one byte. Bytes cross the line at the rate
// the program set on the port unless a test sets another. It keeps the settings, the
// memory channels and a running clock where the real receiver keeps them.
#include "sim/sim_receiver.h"

#include <QList>
#include <array>
#include <chrono>
#include <cstdint>

namespace dovrane::sim {

class Ar7030Sim : public SimReceiver {
public:
    Ar7030Sim();
    ~Ar7030Sim() override;

    // Register access for tests; each locks stateMutex() itself.
    uint8_t reg(int page, int address) const;
    void setReg(int page, int address, uint8_t value);
    QByteArray regs(int page, int address, int count) const;
    void setRegs(int page, int address, const QByteArray& values);
    // The 24-bit frequency word at page 0 0x1A..0x1C.
    uint32_t frequencyWord() const;
    void setFrequencyWord(uint32_t word);
    // A memory channel as stored: frequency word, mode byte, shift, squelch.
    void setChannel(int n, uint32_t word, uint8_t modeByte, uint8_t passband, uint8_t squelch);

    // The pointer state of the byte language.
    int page() const;
    int address() const;
    int holding() const;

    // Routines run so far, in order.
    QList<int> routines() const;
    void clearRoutines();
    // Bytes that are no command of the receiver (each is also logged).
    int violations() const;

    // The clock counts seconds from the last time it was set (default on).
    void setClockRunning(bool running);
    // Each answer is followed by one more byte, as a noisy line might add.
    void setExtraReplyByte(bool extra);
    // Sends bytes nobody asked for, as a byte left over on the line would be;
    // returns once they are off the line, however late its thread wakes, so
    // that they lie waiting before whatever the program does next.
    void sendUnsolicited(const QByteArray& bytes);

protected:
    void onByte(uint8_t byte) override;

private:
    QString where(int page, int address) const;
    // The S-meter registers from the curve at the tuned frequency.
    void applySmeterCurve();
    void refreshClock();
    void rebaseClock();
    void noteRoutine(int routine);

    std::array<std::array<uint8_t, 4096>, 16> mem_{};
    int page_ = 0;
    int address_ = 0;
    int h_ = 0;
    QList<int> routines_;
    int violations_ = 0;
    bool clockRunning_ = true;
    bool extraReply_ = false;
    int clockBaseSeconds_ = 0;
    std::chrono::steady_clock::time_point clockRef_;
};

} // namespace dovrane::sim
