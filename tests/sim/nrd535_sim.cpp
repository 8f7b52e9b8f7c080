#include "sim/nrd535_sim.h"

#include <cmath>

namespace dovrane::sim {

namespace {

// The user settings the receiver knows, by item, and the values each takes.
const char* userSettingPattern(int item) {
    switch (item) {
    case 0: return "[0-2]";
    case 1: case 4: case 6: case 7: case 8: case 9: return "[01]";
    case 2: return "[+-][0-9]{4}";
    default: return nullptr;
    }
}

} // namespace

Nrd535Sim::Nrd535Sim() : NrdSimBase(QStringLiteral("nrd535"), 199, Setting{0, 1, 4, 9500000, 1}) {
    smeterRaw_ = 113;
}

bool Nrd535Sim::execute(const QByteArray& cmd) {
    QList<QByteArray> c;
    if (executeCommon(cmd)) return true;
    if (matches(cmd, "G([0-9])", &c)) {
        vfo_.agc = c[0].toInt();
        changed(QStringLiteral("AGC %1").arg(vfo_.agc));
    } else if (matches(cmd, "N([0-9])", &c)) {
        noiseBlanker_ = c[0].toInt();
        changed(QStringLiteral("noise blanker %1").arg(noiseBlanker_));
    } else if (matches(cmd, "X([01])", &c)) {
        rtty_ = c[0] == "1";
        changed(rtty_ ? QStringLiteral("RTTY on") : QStringLiteral("RTTY off"));
    } else if (matches(cmd, "F([0-9]{8})", &c)) {
        Setting s = vfo_;
        s.hertz = c[0].toLongLong();
        tuneTo(s);
    } else if (matches(cmd, "W([0-9]{4})", &c)) {
        bandwidthControl_ = c[0].toInt();
        changed(QStringLiteral("bandwidth control %1 Hz").arg(bandwidthControl_));
    } else if (matches(cmd, "P([+-][0-9]{4})", &c)) {
        passbandShift_ = c[0].toInt();
        changed(QStringLiteral("passband shift %1 Hz").arg(passbandShift_));
    } else if (matches(cmd, "K([0-9]{3})([0-9])([0-9])([0-9])([0-9]{8})([0-9])", &c)) {
        const int ch = c[0].toInt();
        if (ch > topChannel_) return false;
        channels_[ch] = Setting{c[1].toInt(), c[2].toInt(), c[3].toInt(), c[4].toLongLong(), c[5].toInt()};
        changed(QStringLiteral("channel %1 stored: %2 Hz").arg(ch).arg(c[4].toLongLong()));
    } else if (matches(cmd, "S([0-9]{3})([0-9])([0-9])([0-9])([0-9]{8})([0-9])", &c)) {
        const int ch = c[0].toInt();
        if (ch > topChannel_) return false;
        const Setting s{c[1].toInt(), c[2].toInt(), c[3].toInt(), c[4].toLongLong(), c[5].toInt()};
        channels_[ch] = s;
        tuneTo(s);
    } else if (matches(cmd, "R1([0-9]{2})([0-9]{2})([0-9]{2})", &c)) {
        const QTime t(c[0].toInt(), c[1].toInt(), c[2].toInt());
        if (!t.isValid()) return false;
        setClock(t);
        changed(QStringLiteral("clock %1").arg(t.toString(QStringLiteral("HH:mm:ss"))));
    } else if (matches(cmd, "U5([0-9]{3})", &c)) {
        const int ch = c[0].toInt();
        if (ch > topChannel_) return false;
        channels_.erase(ch);
        changed(QStringLiteral("channel %1 cleared").arg(ch));
    } else if (matches(cmd, "U3([ -~]+)", &c)) {
        rttyParameters_ = c[0];
        changed(QStringLiteral("RTTY parameters %1").arg(QString::fromLatin1(c[0])));
    } else if (matches(cmd, "U([0-9])(.+)", &c)) {
        const int item = c[0].toInt();
        if (!storeUserSetting(item, c[1], userSettingPattern(item))) return false;
    } else {
        return false;
    }
    return true;
}

QByteArray Nrd535Sim::channelLine(int ch) const {
    const auto it = channels_.find(ch);
    if (it == channels_.end()) return vacantLine(ch, 11);
    return settingLine('L', ch, it->second, 8, 1);
}

QByteArray Nrd535Sim::reportLine() const { return settingLine('I', -1, vfo_, 8, 1); }

int Nrd535Sim::bandwidthControl() const {
    std::lock_guard lock(stateMutex_);
    return bandwidthControl_;
}

int Nrd535Sim::passbandShift() const {
    std::lock_guard lock(stateMutex_);
    return passbandShift_;
}

int Nrd535Sim::noiseBlanker() const {
    std::lock_guard lock(stateMutex_);
    return noiseBlanker_;
}

static SimRegistration reg535(QStringLiteral("nrd535"), [] { return std::make_unique<Nrd535Sim>(); });

int Nrd535Sim::smeterRawFor(double level) const {
    // The program reads x = (137 - raw) / 4, stretched above 13 and below 6.
    double x = level;
    if (x > 13) x = 13 + (x - 13) / 1.34;
    else if (x < 6) x = (x - 2.64) / 0.56;
    return int(std::lround(137 - 4 * x));
}

} // namespace dovrane::sim
