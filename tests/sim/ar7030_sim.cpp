#include "sim/ar7030_sim.h"

#include <QStringList>
#include <algorithm>
#include <cmath>
#include <mutex>

namespace dovrane::sim {

namespace {

static SimRegistration registration("ar7030", [] { return std::make_unique<Ar7030Sim>(); });

constexpr double WordsPerKHz = 376.6352228;

uint32_t wordOf(double kHz) { return uint32_t(kHz * WordsPerKHz + 0.5); }

uint8_t bcd(int x) { return uint8_t((x / 10) * 16 + x % 10); }
int fromBcd(uint8_t b) { return (b >> 4) * 10 + (b & 15); }

QString hex(int v) { return QStringLiteral("0x%1").arg(v, 2, 16, QLatin1Char('0')); }

const char* const ModeNames[] = {"?", "AM", "Sync", "NFM", "Data", "CW", "LSB", "USB"};

} // namespace

Ar7030Sim::~Ar7030Sim() {
    // The peer thread calls onByte; it must end before this object does.
    stop();
}

Ar7030Sim::Ar7030Sim() {
    // The driver tells an answer from a byte still on the line by when it
    // arrives, so the line runs at the rate the program set, as a real one does.
    setBaud(test::PtyPeer::FollowLine);
    // A receiver as it might stand on a desk: tuned to a broadcast band, with
    // bits beside the level fields set so that a write that loses them shows.
    setFrequencyWord(wordOf(9650.0));
    auto& p0 = mem_[0];
    p0[0x1D] = 1;           // AM
    p0[0x1E] = 0x40 | 35;   // volume
    p0[0x21] = 0xA0 | 15;   // bass 0
    p0[0x22] = 0x50 | 6;    // treble 0
    p0[0x23] = 0x80 | 45;   // left line level
    p0[0x24] = 0xC0 | 45;   // right line level
    p0[0x18] = 0;           // IF gain at its highest
    p0[0x30] = 1;           // attenuator 0 dB
    p0[0x32] = 1;           // AGC medium
    p0[0x33] = 0;
    p0[0x17] = 0;
    p0[0x34] = 3;           // filter 3
    p0[0x35] = 0;
    p0[0x36] = 0;
    p0[0x3F] = 7;           // S7 and two fifths
    p0[0x40] = 2;

    auto& p1 = mem_[1];
    p1[0x16] = 1;  // power on
    const uint8_t widths[6] = {0x05, 0x14, 0x24, 0x35, 0x55, 0xFF};
    for (int i = 0; i < 6; ++i) p1[size_t(0x85 + 4 * i)] = widths[i];

    // Two channels in use; the others hold word 0, which reads as empty.
    setChannel(0, wordOf(9650.0), 0x30 | 1, 0, 0);
    setChannel(1, wordOf(7000.0), 0x20 | 6, 0x10, 0x21);

    const QByteArray firmware("SIM 1.00");
    for (int i = 0; i < firmware.size(); ++i) mem_[15][size_t(i)] = uint8_t(firmware[i]);

    p1[0x02] = 0x00;
    p1[0x03] = 0x00;
    p1[0x04] = 0x12;
    rebaseClock();
}

uint8_t Ar7030Sim::reg(int page, int address) const {
    std::lock_guard lock(stateMutex_);
    const_cast<Ar7030Sim*>(this)->refreshClock();
    return mem_[size_t(page & 15)][size_t(address & 0xFFF)];
}

void Ar7030Sim::setReg(int page, int address, uint8_t value) {
    std::lock_guard lock(stateMutex_);
    refreshClock();
    mem_[size_t(page & 15)][size_t(address & 0xFFF)] = value;
    if ((page & 15) == 1 && address >= 2 && address <= 4) rebaseClock();
}

QByteArray Ar7030Sim::regs(int page, int address, int count) const {
    std::lock_guard lock(stateMutex_);
    QByteArray out;
    for (int i = 0; i < count; ++i) out.append(char(reg(page, address + i)));
    return out;
}

void Ar7030Sim::setRegs(int page, int address, const QByteArray& values) {
    std::lock_guard lock(stateMutex_);
    for (int i = 0; i < values.size(); ++i) setReg(page, address + i, uint8_t(values[i]));
}

uint32_t Ar7030Sim::frequencyWord() const {
    const QByteArray b = regs(0, 0x1A, 3);
    return (uint32_t(uint8_t(b[0])) << 16) | (uint32_t(uint8_t(b[1])) << 8) | uint8_t(b[2]);
}

void Ar7030Sim::setFrequencyWord(uint32_t word) {
    std::lock_guard lock(stateMutex_);
    mem_[0][0x1A] = uint8_t(word >> 16);
    mem_[0][0x1B] = uint8_t(word >> 8);
    mem_[0][0x1C] = uint8_t(word);
}

void Ar7030Sim::setChannel(int n, uint32_t word, uint8_t modeByte, uint8_t passband, uint8_t squelch) {
    std::lock_guard lock(stateMutex_);
    auto& p2 = mem_[2];
    const size_t a = size_t(4 * n);
    p2[a] = uint8_t(word >> 16);
    p2[a + 1] = uint8_t(word >> 8);
    p2[a + 2] = uint8_t(word);
    p2[a + 3] = modeByte;
    p2[size_t(0x190 + n)] = passband;
    mem_[1][size_t(0x9C + n)] = squelch;
}

int Ar7030Sim::page() const {
    std::lock_guard lock(stateMutex_);
    return page_;
}

int Ar7030Sim::address() const {
    std::lock_guard lock(stateMutex_);
    return address_;
}

int Ar7030Sim::holding() const {
    std::lock_guard lock(stateMutex_);
    return h_;
}

QList<int> Ar7030Sim::routines() const {
    std::lock_guard lock(stateMutex_);
    return routines_;
}

void Ar7030Sim::clearRoutines() {
    std::lock_guard lock(stateMutex_);
    routines_.clear();
}

int Ar7030Sim::violations() const {
    std::lock_guard lock(stateMutex_);
    return violations_;
}

void Ar7030Sim::setClockRunning(bool running) {
    std::lock_guard lock(stateMutex_);
    refreshClock();
    clockRunning_ = running;
    rebaseClock();
}

void Ar7030Sim::setExtraReplyByte(bool extra) {
    std::lock_guard lock(stateMutex_);
    extraReply_ = extra;
}

void Ar7030Sim::sendUnsolicited(const QByteArray& bytes) {
    reply(bytes);
    waitSent();
}

void Ar7030Sim::applySmeterCurve() {
    const uint32_t w = (uint32_t(mem_[0][0x1A]) << 16) | (uint32_t(mem_[0][0x1B]) << 8) | mem_[0][0x1C];
    const std::optional<double> s = curveLevel(w / WordsPerKHz);
    if (!s) return;
    // The receiver compresses its scale above S11.5; the program stretches it back.
    double raw = std::clamp(*s, 0.0, 18.0);
    if (raw > 11.5) raw = 11.5 + (raw - 11.5) / 1.66;
    int whole = int(raw);
    int fifths = int(std::lround((raw - whole) * 5));
    if (fifths == 5) {
        ++whole;
        fifths = 0;
    }
    mem_[0][0x3F] = uint8_t(whole);
    mem_[0][0x40] = uint8_t(fifths);
}

void Ar7030Sim::refreshClock() {
    if (!clockRunning_) return;
    const auto elapsed = std::chrono::duration_cast<std::chrono::seconds>(std::chrono::steady_clock::now() - clockRef_);
    const int t = int((clockBaseSeconds_ + elapsed.count()) % 86400);
    mem_[1][2] = bcd(t % 60);
    mem_[1][3] = bcd(t / 60 % 60);
    mem_[1][4] = bcd(t / 3600);
}

void Ar7030Sim::rebaseClock() {
    clockBaseSeconds_ = fromBcd(mem_[1][4]) * 3600 + fromBcd(mem_[1][3]) * 60 + fromBcd(mem_[1][2]);
    clockRef_ = std::chrono::steady_clock::now();
}

QString Ar7030Sim::where(int page, int a) const {
    QString name;
    if (page == 0) {
        switch (a) {
        case 0x17: name = QStringLiteral("squelch copy"); break;
        case 0x18: name = QStringLiteral("IF gain"); break;
        case 0x1A: case 0x1B: case 0x1C: name = QStringLiteral("frequency"); break;
        case 0x1D: name = QStringLiteral("mode"); break;
        case 0x1E: name = QStringLiteral("volume"); break;
        case 0x21: name = QStringLiteral("bass"); break;
        case 0x22: name = QStringLiteral("treble"); break;
        case 0x23: name = QStringLiteral("left line level"); break;
        case 0x24: name = QStringLiteral("right line level"); break;
        case 0x30: name = QStringLiteral("attenuator"); break;
        case 0x32: name = QStringLiteral("AGC"); break;
        case 0x33: name = QStringLiteral("squelch"); break;
        case 0x34: name = QStringLiteral("filter"); break;
        case 0x35: name = QStringLiteral("passband shift"); break;
        case 0x36: name = QStringLiteral("BFO"); break;
        case 0x3F: name = QStringLiteral("S-meter"); break;
        case 0x40: name = QStringLiteral("S-meter fifths"); break;
        default: break;
        }
    } else if (page == 1) {
        if (a >= 2 && a <= 4) name = QStringLiteral("clock");
        else if (a == 0x16) name = QStringLiteral("power");
        else if (a >= 0x85 && a <= 0x99 && (a - 0x85) % 4 == 0) name = QStringLiteral("filter %1 width").arg((a - 0x85) / 4 + 1);
        else if (a >= 0x9C) name = QStringLiteral("channel %1 squelch/BFO").arg(a - 0x9C);
    } else if (page == 2) {
        if (a < 400) name = QStringLiteral("channel %1 %2").arg(a / 4).arg(a % 4 == 3 ? QStringLiteral("mode") : QStringLiteral("frequency"));
        else if (a < 500) name = QStringLiteral("channel %1 passband shift").arg(a - 400);
    } else if (page == 15 && a < 8) {
        name = QStringLiteral("firmware");
    }
    const QString at = QStringLiteral("%1:%2").arg(page).arg(a, 3, 16, QLatin1Char('0'));
    return name.isEmpty() ? at : at + QLatin1Char(' ') + name;
}

void Ar7030Sim::noteRoutine(int r) {
    routines_ << r;
    const auto& p0 = mem_[0];
    QString what;
    switch (r) {
    case 0: what = QStringLiteral("reset; power %1").arg(mem_[1][0x16] & 1 ? "on" : "off"); break;
    case 1: {
        const uint32_t w = (uint32_t(p0[0x1A]) << 16) | (uint32_t(p0[0x1B]) << 8) | p0[0x1C];
        what = QStringLiteral("tune to %1 kHz").arg(w / 376.635223, 0, 'f', 3);
        break;
    }
    case 2: what = QStringLiteral("mode %1").arg(QLatin1String(p0[0x1D] <= 7 ? ModeNames[p0[0x1D]] : "?")); break;
    case 3:
        what = QStringLiteral("filter %1, passband shift %2, BFO %3")
                   .arg(p0[0x34]).arg(int(int8_t(p0[0x35]))).arg(int(int8_t(p0[0x36])));
        break;
    case 4:
        what = QStringLiteral("levels: attenuator %1, AGC %2, volume %3, squelch %4, IF gain %5")
                   .arg(p0[0x30]).arg(p0[0x32]).arg(p0[0x1E] & 63).arg(p0[0x33]).arg(p0[0x18]);
        break;
    case 9: what = QStringLiteral("power down"); break;
    case 11: what = QStringLiteral("settle"); break;
    case 12: what = QStringLiteral("tuning done"); break;
    default: what = QStringLiteral("(no such routine)"); break;
    }
    log(QStringLiteral("routine %1: %2").arg(r).arg(what));
}

void Ar7030Sim::onByte(uint8_t byte) {
    QByteArray answer;
    {
        std::lock_guard lock(stateMutex_);
        const int n = byte & 15;
        const QString b = hex(byte);
        switch (byte >> 4) {
        case 0x1:
            address_ = (address_ & 0xFF) | (n << 8);
            log(QStringLiteral("%1 address %2").arg(b, where(page_, address_)));
            break;
        case 0x2:
            log(QStringLiteral("%1 execute").arg(b));
            noteRoutine(n);
            break;
        case 0x3:
            h_ = n;
            log(QStringLiteral("%1 H = %2").arg(b).arg(n));
            break;
        case 0x4:
            address_ = h_ * 16 + n;
            h_ = 0;
            log(QStringLiteral("%1 address %2").arg(b, where(page_, address_)));
            break;
        case 0x5:
            page_ = n;
            log(QStringLiteral("%1 page %2").arg(b).arg(n));
            break;
        case 0x6: {
            const int v = h_ * 16 + n;
            const bool clock = page_ == 1 && address_ >= 2 && address_ <= 4;
            if (clock) refreshClock();
            auto& cell = mem_[size_t(page_)][size_t(address_)];
            const int old = cell;
            cell = uint8_t(v);
            if (clock) rebaseClock();
            log(QStringLiteral("%1 write %2 = %3 (was %4)").arg(b, where(page_, address_), hex(v), hex(old)));
            address_ = (address_ + 1) & 0xFFF;
            h_ = 0;
            break;
        }
        case 0x7:
            if (n == 1) {
                if (page_ == 1 && address_ >= 2 && address_ <= 4) refreshClock();
                if (page_ == 0 && (address_ == 0x3F || address_ == 0x40)) applySmeterCurve();
                const uint8_t v = mem_[size_t(page_)][size_t(address_)];
                log(QStringLiteral("%1 read %2 -> %3").arg(b, where(page_, address_), hex(v)));
                address_ = (address_ + 1) & 0xFFF;
                answer.append(char(v));
                if (extraReply_) answer.append(char(0x5A));
                break;
            }
            ++violations_;
            log(QStringLiteral("%1 protocol violation: no such command").arg(b));
            break;
        case 0x8:
            if (n == 3) {
                log(QStringLiteral("%1 power-off prefix").arg(b));
                break;
            }
            [[fallthrough]];
        default:
            ++violations_;
            log(QStringLiteral("%1 protocol violation: no such command").arg(b));
            break;
        }
    }
    // Outside the lock: a late answer sleeps here, and tests must still be
    // able to look at the registers meanwhile.
    if (!answer.isEmpty()) reply(answer);
}

} // namespace dovrane::sim
