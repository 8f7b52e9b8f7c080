#include "sim/rx320_sim.h"

#include <QStringList>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <thread>

namespace dovrane::sim {

namespace {

static SimRegistration reg("rx320", [] { return std::make_unique<Rx320Sim>(); });

constexpr char CR = '\r';
constexpr int FilterWidthsHz[34] = {6000, 5700, 5400, 5100, 4800, 4500, 4200, 3900, 3600, 3300, 3000, 2850,
                                    2700, 2550, 2400, 2250, 2100, 1950, 1800, 1650, 1500, 1350, 1200, 1050,
                                    900,  750,  675,  600,  525,  450,  375,  330,  300,  8000};
const char* const ModeNames[4] = {"AM", "USB", "LSB", "CW"};

// Every command has a fixed length by its letter; parameter bytes may be CR,
// so the frame cannot be split at CRs.
int frameSizeFor(uint8_t letter) {
    switch (letter) {
    case 'N': return 8;
    case 'W':
    case 'M':
    case 'G': return 3;
    case 'V':
    case 'A': return 4;
    case '?':
    case 'X': return 2;
    default: return 0;
    }
}

QString hex(const QByteArray& bytes) { return QString::fromLatin1(bytes.toHex(' ').toUpper()); }

int u8(const QByteArray& b, int i) { return uint8_t(b[i]); }

} // namespace

Rx320Sim::Rx320Sim() = default;

Rx320Sim::~Rx320Sim() {
    // The peer thread calls onByte; it must end before this object does.
    stop();
}

Rx320SimState Rx320Sim::state() const {
    std::lock_guard lock(stateMutex_);
    return state_;
}

std::optional<double> Rx320Sim::tunedKHz(int cwPassbandShiftHz) const {
    std::lock_guard lock(stateMutex_);
    return tunedKHzLocked(cwPassbandShiftHz);
}

std::optional<double> Rx320Sim::tunedKHzLocked(int cwPassbandShiftHz) const {
    if (!state_.tuned) return std::nullopt;
    const double lo = (state_.coarse - 18000) * 2500.0 + state_.fine / 5.46;
    double carrier = 0;
    if (state_.mode == 3) {
        carrier = lo + 1250 + cwPassbandShiftHz;
    } else {
        // BFO = Int((offset + 8000) * 2.73), and the offset is a whole or half
        // hertz, so exactly one half-hertz step fits the BFO factor.
        const double offset = std::ceil(2.0 * state_.bfo / 2.73 - 1e-6) / 2.0 - 8000;
        carrier = state_.mode == 1 ? lo + 1250 - offset : lo + 1250 + offset;
    }
    const double error = errC5_ + (errC15_ - errC5_) * (carrier - 5e6) / 1e7;
    return (carrier - error) / 1000.0;
}

QList<QByteArray> Rx320Sim::commands() const {
    std::lock_guard lock(stateMutex_);
    return commands_;
}

void Rx320Sim::clearCommands() {
    std::lock_guard lock(stateMutex_);
    commands_.clear();
}

int Rx320Sim::protocolErrors() const {
    std::lock_guard lock(stateMutex_);
    return protocolErrors_;
}

void Rx320Sim::setSmeterReading(int n) {
    std::lock_guard lock(stateMutex_);
    smeterReading_ = std::clamp(n, 0, 65535);
}

void Rx320Sim::setFirmware(const QByteArray& text) {
    std::lock_guard lock(stateMutex_);
    firmware_ = text;
}

void Rx320Sim::setFirmwareDelayMs(int ms) {
    std::lock_guard lock(stateMutex_);
    firmwareDelayMs_ = ms;
}

void Rx320Sim::setReferenceError(double c5, double c15) {
    std::lock_guard lock(stateMutex_);
    errC5_ = c5;
    errC15_ = c15;
}

void Rx320Sim::inject(const QByteArray& bytes) { reply(bytes); }

int Rx320Sim::smeterNow() const {
    const std::optional<double> f = tunedKHzLocked(0);
    const std::optional<double> s = f ? curveLevel(*f) : std::nullopt;
    if (!s) return smeterReading_;
    // The program reads 1.4 x ln(reading).
    return int(std::clamp(std::lround(std::exp(std::max(*s, 0.0) / 1.4)), 1L, 65535L));
}

void Rx320Sim::onByte(uint8_t byte) {
    QByteArray complete;
    {
        std::lock_guard lock(stateMutex_);
        if (frame_.isEmpty()) {
            frameSize_ = frameSizeFor(byte);
            if (frameSize_ == 0) {
                protocolError(QStringLiteral("unknown command byte"), QByteArray(1, char(byte)));
                return;
            }
        }
        frame_ += char(byte);
        if (frame_.size() < frameSize_) return;
        complete.swap(frame_);
    }
    handle(complete);
}

void Rx320Sim::protocolError(const QString& what, const QByteArray& bytes) {
    std::lock_guard lock(stateMutex_);
    ++protocolErrors_;
    log(QStringLiteral("protocol error: %1 [%2]").arg(what, hex(bytes)));
}

void Rx320Sim::handle(const QByteArray& f) {
    if (f.back() != CR) {
        protocolError(QStringLiteral("command not ended by CR"), f);
        return;
    }
    QByteArray answer;
    int answerDelayMs = 0;
    {
        std::lock_guard lock(stateMutex_);
        commands_ << f;
        switch (f[0]) {
        case 'N': {
            state_.tuned = true;
            state_.coarse = u8(f, 1) * 256 + u8(f, 2);
            state_.fine = u8(f, 3) * 256 + u8(f, 4);
            state_.bfo = u8(f, 5) * 256 + u8(f, 6);
            const double khz = *tunedKHzLocked(0);
            log(QStringLiteral("N [%1] coarse %2 fine %3 bfo %4: %5 kHz %6")
                    .arg(hex(f))
                    .arg(state_.coarse)
                    .arg(state_.fine)
                    .arg(state_.bfo)
                    .arg(khz, 0, 'f', 3)
                    .arg(QString::fromLatin1(ModeNames[state_.mode])));
            break;
        }
        case 'W': {
            const int n = u8(f, 1);
            if (n > 33) {
                protocolError(QStringLiteral("no such filter"), f);
                break;
            }
            state_.filter = n;
            log(QStringLiteral("W filter %1 (%2 Hz)").arg(n).arg(FilterWidthsHz[n]));
            break;
        }
        case 'M': {
            const int m = u8(f, 1) - '0';
            if (m < 0 || m > 3) {
                protocolError(QStringLiteral("no such mode"), f);
                break;
            }
            state_.mode = m;
            log(QStringLiteral("M mode %1 (%2)").arg(m).arg(QString::fromLatin1(ModeNames[m])));
            break;
        }
        case 'G': {
            const int a = u8(f, 1) - '0';
            if (a < 1 || a > 3) {
                protocolError(QStringLiteral("no such AGC speed"), f);
                break;
            }
            state_.agc = a;
            log(QStringLiteral("G AGC %1").arg(a));
            break;
        }
        case 'V':
        case 'A': {
            const int att = u8(f, 2);
            if (u8(f, 1) != 127 || att > 63) {
                protocolError(QStringLiteral("bad attenuation"), f);
                break;
            }
            const bool speaker = f[0] == 'V';
            (speaker ? state_.speakerAtt : state_.lineAtt) = att;
            log(QStringLiteral("%1 attenuation %2").arg(speaker ? "V speaker" : "A line out").arg(att));
            break;
        }
        case '?':
            answer = firmware_;
            answerDelayMs = firmwareDelayMs_;
            log(QStringLiteral("? firmware"));
            break;
        case 'X': {
            answer = QByteArray("X");
            const int reading = smeterNow();
            answer += char(uint8_t(reading >> 8));
            answer += char(uint8_t(reading & 0xFF));
            answer += CR;
            log(QStringLiteral("X signal reading %1").arg(reading));
            break;
        }
        }
    }
    if (answerDelayMs > 0) std::this_thread::sleep_for(std::chrono::milliseconds(answerDelayMs));
    if (!answer.isEmpty()) reply(answer);
}

} // namespace dovrane::sim
