#include "sim/nrd545_sim.h"

#include <cmath>

namespace dovrane::sim {

namespace {

QByteArray signedDigits(int v, int n) { return (v < 0 ? "-" : "+") + digits(std::abs(v), n); }

const char* userSettingPattern(int item) {
    switch (item) {
    case 1: case 2: case 4: case 10: case 11: case 12: case 18: case 19:
    case 24: case 25: case 26: case 27: case 28: case 31: case 32:
        return "[01]";
    case 3: return "[0-3]";
    case 8: case 9: case 13: return "[0-2]";
    case 14: return "[+-][0-9]{4}";
    case 20: return "[0-9]{2}";
    case 21: case 22: return "[0-9]{3}";
    default: return nullptr;
    }
}

} // namespace

Nrd545Sim::Nrd545Sim() : NrdSimBase(QStringLiteral("nrd545"), 999, Setting{0, 1, 4, 9500000, 10}) {
    smeterRaw_ = 84;
}

bool Nrd545Sim::execute(const QByteArray& cmd) {
    QList<QByteArray> c;
    if (executeCommon(cmd)) return true;
    // A three-digit level: "XXddd" sets it, "XX" asks for it.
    struct Level {
        const char* letters;
        int Levels::*field;
        const char* name;
    };
    static const Level levelCommands[] = {
        {"HH", &Levels::ifGain, "IF gain"}, {"LL", &Levels::squelch, "squelch"},
        {"KK", &Levels::tone, "tone"},      {"JJ", &Levels::volume, "volume"},
        {"FF", &Levels::nbLevel, "noise blanker level"},
    };
    for (const Level& l : levelCommands) {
        if (cmd == l.letters) {
            answer(QByteArray(l.letters) + digits(levels_.*(l.field), 3) + '\r');
            return true;
        }
        if (matches(cmd, (QByteArray(l.letters) + "([0-9]{3})").constData(), &c)) {
            levels_.*(l.field) = c[0].toInt();
            changed(QStringLiteral("%1 %2").arg(QLatin1String(l.name)).arg(c[0].toInt()));
            return true;
        }
    }
    if (cmd == "W") {
        answer("W" + digits(levels_.bandwidthControl, 3) + '\r');
    } else if (matches(cmd, "W([0-9]{3})", &c)) {
        levels_.bandwidthControl = c[0].toInt();
        changed(QStringLiteral("bandwidth control %1").arg(levels_.bandwidthControl));
    } else if (cmd == "P") {
        answer("P" + signedDigits(levels_.passbandShift, 3) + '\r');
    } else if (matches(cmd, "P([+-][0-9]{3})", &c)) {
        levels_.passbandShift = c[0].toInt();
        changed(QStringLiteral("passband shift %1").arg(levels_.passbandShift));
    } else if (cmd == "NN") {
        answer("NN" + digits(vfo_.agc, 3) + '\r');
    } else if (matches(cmd, "NN([0-9]{3})", &c)) {
        vfo_.agc = c[0].toInt();
        changed(QStringLiteral("AGC %1").arg(vfo_.agc));
    } else if (cmd == "G2") {
        vfo_.agc = 0;
        changed(QStringLiteral("AGC off"));
    } else if (cmd == "F") {
        answer("F" + digits(vfo_.hertz, 10) + '\r');
    } else if (matches(cmd, "F([0-9]{10})", &c)) {
        Setting s = vfo_;
        s.hertz = c[0].toLongLong();
        tuneTo(s);
    } else if (matches(cmd, "CC([0-9])", &c)) {
        levels_.ecss = c[0].toInt();
        changed(QStringLiteral("ECSS %1").arg(levels_.ecss));
    } else if (cmd == "MM21") {
        channelDisplay_ = !channelDisplay_;
        changed(channelDisplay_ ? QStringLiteral("channel display") : QStringLiteral("frequency display"));
    } else if (cmd == "DD0") {
        changed(QStringLiteral("dial released"));
    } else if (matches(cmd, "BB([0-9])", &c)) {
        levels_.nrbcChoice = c[0].toInt();
        changed(QStringLiteral("NR/BC %1").arg(levels_.nrbcChoice));
    } else if (cmd == "N") {
        answer("N" + digits(levels_.nbChoice, 1) + '\r');
    } else if (matches(cmd, "N([0-9])", &c)) {
        levels_.nbChoice = c[0].toInt();
        changed(QStringLiteral("noise blanker %1").arg(levels_.nbChoice));
    } else if (matches(cmd, "EE([0-9])", &c)) {
        levels_.notchChoice = c[0].toInt();
        changed(QStringLiteral("notch %1").arg(levels_.notchChoice));
    } else if (cmd == "GG") {
        answer("GG" + signedDigits(levels_.notchFrequency, 4) + '\r');
    } else if (matches(cmd, "GG([+-][0-9]{4})", &c)) {
        levels_.notchFrequency = c[0].toInt();
        changed(QStringLiteral("notch frequency %1").arg(levels_.notchFrequency));
    } else if (matches(cmd, "K([0-9]{3})([0-9])([0-9])([0-9])([0-9]{10})([0-9]{3})", &c)) {
        const int ch = c[0].toInt();
        channels_[ch] = Setting{c[1].toInt(), c[2].toInt(), c[3].toInt(), c[4].toLongLong(), c[5].toInt()};
        changed(QStringLiteral("channel %1 stored: %2 Hz").arg(ch).arg(c[4].toLongLong()));
    } else if (matches(cmd, "S([0-9]{3})([0-9])([0-9])([0-9])([0-9]{10})([0-9]{3})", &c)) {
        const Setting s{c[1].toInt(), c[2].toInt(), c[3].toInt(), c[4].toLongLong(), c[5].toInt()};
        channels_[c[0].toInt()] = s;
        tuneTo(s);
    } else if (matches(cmd, "R1([0-9]{2})([0-9]{2})", &c)) {
        const QTime t(c[0].toInt(), c[1].toInt(), 0);
        if (!t.isValid()) return false;
        setClock(t);
        changed(QStringLiteral("clock %1").arg(t.toString(QStringLiteral("HH:mm"))));
    } else if (matches(cmd, "U15([ -~]+)", &c)) {
        rttyParameters_ = c[0];
        changed(QStringLiteral("RTTY parameters %1").arg(QString::fromLatin1(c[0])));
    } else if (matches(cmd, "U23([01])", &c)) {
        rtty_ = c[0] == "1";
        changed(rtty_ ? QStringLiteral("RTTY on") : QStringLiteral("RTTY off"));
    } else if (matches(cmd, "U29([0-9]{3})", &c)) {
        levels_.nrLevel = c[0].toInt();
        changed(QStringLiteral("NR level %1").arg(levels_.nrLevel));
    } else if (matches(cmd, "U30([0-9]{3})", &c)) {
        levels_.bcLevel = c[0].toInt();
        changed(QStringLiteral("BC level %1").arg(levels_.bcLevel));
    } else if (matches(cmd, "U([0-9]{2})(.+)", &c)) {
        const int item = c[0].toInt();
        if (!storeUserSetting(item, c[1], userSettingPattern(item))) return false;
    } else {
        return false;
    }
    return true;
}

QByteArray Nrd545Sim::channelLine(int ch) const {
    const auto it = channels_.find(ch);
    if (it == channels_.end()) return vacantLine(ch, 15);
    return settingLine('L', ch, it->second, 10, 3);
}

QByteArray Nrd545Sim::reportLine() const { return settingLine('I', -1, vfo_, 10, 3); }

Nrd545Sim::Levels Nrd545Sim::levels() const {
    std::lock_guard lock(stateMutex_);
    return levels_;
}

void Nrd545Sim::setLevels(const Levels& l) {
    std::lock_guard lock(stateMutex_);
    levels_ = l;
}

bool Nrd545Sim::channelDisplay() const {
    std::lock_guard lock(stateMutex_);
    return channelDisplay_;
}

static SimRegistration reg545(QStringLiteral("nrd545"), [] { return std::make_unique<Nrd545Sim>(); });

int Nrd545Sim::smeterRawFor(double level) const {
    // The program reads (raw - 28) / 6 up to raw 83, (raw + 35) / 12.8 above.
    const double low = 6 * level + 28;
    return int(std::lround(low <= 83.5 ? low : 12.8 * level - 35));
}

} // namespace dovrane::sim
