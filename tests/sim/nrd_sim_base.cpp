#include "sim/nrd_sim_base.h"
#include "support/pty_reads.h"

#include <QHash>
#include <algorithm>
#include <cmath>
#include <chrono>
#include <cstdint>
#include <thread>

namespace dovrane::sim {

namespace {
// The read of the receiver's line that brought the last command it carried
// out. Every byte is handled on the reader thread of the simulator's line,
// one thread for each time it is switched on.
thread_local std::uint64_t carriedOutInRead = 0;
} // namespace

NrdSimBase::NrdSimBase(QString model, int topChannel, Setting start)
    : model_(std::move(model)), topChannel_(topChannel), vfo_(start) {
    since_.start();
    clockBase_ = QTime(12, 0, 0);
    clockSince_.start();
}

NrdSimBase::~NrdSimBase() {
    // The peer thread calls onByte(): stop it while this object is whole.
    stop();
}

bool NrdSimBase::matches(const QByteArray& cmd, const char* pattern, QList<QByteArray>* caps) {
    static std::mutex cacheMutex;
    static QHash<QByteArray, QRegularExpression> cache;
    QRegularExpression re;
    {
        std::lock_guard lock(cacheMutex);
        auto it = cache.find(QByteArray(pattern));
        if (it == cache.end())
            it = cache.insert(QByteArray(pattern),
                              QRegularExpression(QStringLiteral("\\A(?:%1)\\z").arg(QLatin1String(pattern))));
        re = *it;
    }
    const auto m = re.match(QString::fromLatin1(cmd));
    if (!m.hasMatch()) return false;
    if (caps) {
        caps->clear();
        for (int i = 1; i <= m.lastCapturedIndex(); ++i) caps->append(m.captured(i).toLatin1());
    }
    return true;
}

void NrdSimBase::onByte(uint8_t byte) {
    QByteArray command;
    QList<QByteArray> replies;
    {
        std::lock_guard lock(stateMutex_);
        if (byte == '\n') return;
        if (byte != '\r') {
            // A receiver's command buffer is short; a runaway line is cut.
            if (line_.size() < 64) line_ += char(byte);
            return;
        }
        command = line_;
        line_.clear();
        const qint64 now = since_.elapsed();
        bool accepted = false;
        const bool listening = remote_ || command == "H1" || command == "H0" || command == "I1" || command == "I0";
        if (listening) log(QStringLiteral("%1: %2").arg(model_, QString::fromLatin1(command)));
        // A remote-off is missed only when the receiver saw it come close
        // behind a command it carried out. One that reached it in the same
        // read as that command may have waited on a busy machine while the
        // program paused: how far apart they were written is not known here,
        // and the program is given the benefit of the doubt.
        const std::uint64_t read = test::ptyReadOnThisThread();
        if (command == "H0" && lastCarriedOutMs_ >= 0 && now - lastCarriedOutMs_ < RemoteOffMissedWithinMs &&
            read != carriedOutInRead) {
            log(QStringLiteral("%1:   missed, still busy with the command before").arg(model_));
        } else if (command == "H1" || command == "H0") {
            const bool on = command == "H1";
            if (remote_ != on) changed(on ? QStringLiteral("remote") : QStringLiteral("local"));
            remote_ = on;
            accepted = true;
        } else if (command == "I1" || command == "I0") {
            reports_ = command == "I1";
            changed(reports_ ? QStringLiteral("frequency reports on") : QStringLiteral("frequency reports off"));
            accepted = true;
        } else if (!remote_) {
            log(QStringLiteral("%1: ignored in local: %2").arg(model_, QString::fromLatin1(command)));
        } else {
            accepted = execute(command);
            if (accepted) {
                lastCarriedOutMs_ = now;
                carriedOutInRead = read;
            }
            else log(QStringLiteral("%1:   not understood").arg(model_));
        }
        commands_.append({now, command, accepted});
        if (chatter_.contains(command)) pending_.prepend(chatter_.value(command));
        replies = pending_;
        pending_.clear();
    }
    sendOut(command, replies);
}

void NrdSimBase::switchedOn() {
    if (remote_) changed(QStringLiteral("local (switched on)"));
    remote_ = false;
    line_.clear();
    lastCarriedOutMs_ = -1;
}

void NrdSimBase::sendOut(const QByteArray& command, const QList<QByteArray>& replies) {
    ReplyFilter filter;
    int gapMs;
    {
        std::lock_guard lock(stateMutex_);
        filter = filter_;
        gapMs = chunkGapMs_;
    }
    for (const QByteArray& r : replies) {
        const QList<QByteArray> chunks = filter ? filter(command, r) : QList<QByteArray>{r};
        for (qsizetype i = 0; i < chunks.size(); ++i) {
            if (i > 0) std::this_thread::sleep_for(std::chrono::milliseconds(gapMs));
            reply(chunks[i]);
        }
    }
}

void NrdSimBase::answer(const QByteArray& bytes) { pending_.append(bytes); }

void NrdSimBase::changed(const QString& what) { log(QStringLiteral("%1:   %2").arg(model_, what)); }

void NrdSimBase::tuneTo(const Setting& s) {
    const bool moved = s.hertz != vfo_.hertz;
    if (!(s == vfo_))
        changed(QStringLiteral("tuned: attenuator %1, bandwidth %2, mode %3, %4 Hz, AGC %5")
                    .arg(s.attenuator)
                    .arg(s.bandwidth)
                    .arg(s.mode)
                    .arg(s.hertz)
                    .arg(s.agc));
    vfo_ = s;
    if (moved && reports_) answer(reportLine());
}

QByteArray NrdSimBase::clockDigits() const {
    const QTime now = clockBase_.addSecs(int(clockSince_.elapsed() / 1000));
    return now.toString(QStringLiteral("HHmmss")).toLatin1();
}

bool NrdSimBase::executeCommon(const QByteArray& cmd) {
    QList<QByteArray> c;
    if (matches(cmd, "A([0-9])", &c)) {
        vfo_.attenuator = c[0].toInt();
        changed(QStringLiteral("attenuator %1").arg(vfo_.attenuator));
    } else if (matches(cmd, "B([0-9])", &c)) {
        vfo_.bandwidth = c[0].toInt();
        changed(QStringLiteral("bandwidth %1").arg(vfo_.bandwidth));
    } else if (matches(cmd, "D([0-9])", &c)) {
        vfo_.mode = c[0].toInt();
        changed(QStringLiteral("mode %1").arg(vfo_.mode));
    } else if (matches(cmd, "T([01])", &c)) {
        power_ = c[0] == "1";
        changed(power_ ? QStringLiteral("power on") : QStringLiteral("power off"));
    } else if (matches(cmd, "O([01])", &c)) {
        timerRelay_ = c[0] == "1";
        changed(timerRelay_ ? QStringLiteral("timer relay on") : QStringLiteral("timer relay off"));
    } else if (matches(cmd, "C([0-9]{3})", &c)) {
        const int ch = c[0].toInt();
        const auto it = channels_.find(ch);
        if (ch > topChannel_ || it == channels_.end()) return false;
        tuneTo(it->second);
    } else if (matches(cmd, "J1([0-9]{3})", &c)) {
        const int ch = c[0].toInt();
        if (ch > topChannel_) return false;
        channels_[ch] = vfo_;
        changed(QStringLiteral("channel %1 := tuned setting").arg(ch));
    } else if (matches(cmd, "L([0-9]{3})([0-9]{3})", &c)) {
        const int from = c[0].toInt(), to = c[1].toInt();
        if (from > to || to > topChannel_) return false;
        for (int ch = from; ch <= to; ++ch) answer(channelLine(ch));
    } else if (cmd == "M") {
        answer("M" + QByteArray::number(smeterNow()).rightJustified(3, '0') + '\r');
    } else if (cmd == "R0") {
        answer("R" + clockDigits() + '\r');
    } else {
        return false;
    }
    return true;
}

bool NrdSimBase::inRemote() const {
    std::lock_guard lock(stateMutex_);
    return remote_;
}

void NrdSimBase::setRemote(bool on) {
    std::lock_guard lock(stateMutex_);
    remote_ = on;
}

bool NrdSimBase::reportsOn() const {
    std::lock_guard lock(stateMutex_);
    return reports_;
}

NrdSimBase::Setting NrdSimBase::vfo() const {
    std::lock_guard lock(stateMutex_);
    return vfo_;
}

void NrdSimBase::setVfo(const Setting& s) {
    std::lock_guard lock(stateMutex_);
    vfo_ = s;
}

std::optional<NrdSimBase::Setting> NrdSimBase::channel(int ch) const {
    std::lock_guard lock(stateMutex_);
    const auto it = channels_.find(ch);
    if (it == channels_.end()) return std::nullopt;
    return it->second;
}

void NrdSimBase::setChannel(int ch, const std::optional<Setting>& s) {
    std::lock_guard lock(stateMutex_);
    if (s) channels_[ch] = *s;
    else channels_.erase(ch);
}

QString NrdSimBase::clockText() const {
    std::lock_guard lock(stateMutex_);
    const QByteArray d = clockDigits();
    return QStringLiteral("%1:%2:%3").arg(QString::fromLatin1(d.mid(0, 2)), QString::fromLatin1(d.mid(2, 2)),
                                          QString::fromLatin1(d.mid(4, 2)));
}

void NrdSimBase::setClock(const QTime& t) {
    std::lock_guard lock(stateMutex_);
    clockBase_ = t;
    clockSince_.restart();
}

int NrdSimBase::smeterRaw() const {
    std::lock_guard lock(stateMutex_);
    return smeterRaw_;
}

void NrdSimBase::setSmeterRaw(int raw) {
    std::lock_guard lock(stateMutex_);
    smeterRaw_ = raw;
}

bool NrdSimBase::power() const {
    std::lock_guard lock(stateMutex_);
    return power_;
}

bool NrdSimBase::rtty() const {
    std::lock_guard lock(stateMutex_);
    return rtty_;
}

bool NrdSimBase::timerRelay() const {
    std::lock_guard lock(stateMutex_);
    return timerRelay_;
}

QByteArray NrdSimBase::rttyParameters() const {
    std::lock_guard lock(stateMutex_);
    return rttyParameters_;
}

QByteArray NrdSimBase::userSetting(int item) const {
    std::lock_guard lock(stateMutex_);
    return userSettings_.value(item);
}

QList<NrdSimBase::Command> NrdSimBase::commands() const {
    std::lock_guard lock(stateMutex_);
    return commands_;
}

QList<QByteArray> NrdSimBase::commandTexts() const {
    std::lock_guard lock(stateMutex_);
    QList<QByteArray> out;
    for (const Command& c : commands_) out << c.text;
    return out;
}

void NrdSimBase::clearCommands() {
    std::lock_guard lock(stateMutex_);
    commands_.clear();
}

void NrdSimBase::setReplyFilter(ReplyFilter filter) {
    std::lock_guard lock(stateMutex_);
    filter_ = std::move(filter);
}

void NrdSimBase::setChunkGapMs(int ms) {
    std::lock_guard lock(stateMutex_);
    chunkGapMs_ = std::max(ms, 0);
}

void NrdSimBase::setChatterAfter(const QByteArray& command, const QByteArray& bytes) {
    std::lock_guard lock(stateMutex_);
    chatter_[command] = bytes;
}

int NrdSimBase::smeterNow() const {
    const std::optional<double> s = curveLevel(vfo_.hertz / 1000.0);
    return s ? std::clamp(smeterRawFor(*s), 0, 999) : smeterRaw_;
}

void NrdSimBase::sendRttyText(const QByteArray& text, int chunkSize, int gapMs) {
    log(QStringLiteral("%1: RTTY text, %2 bytes").arg(model_).arg(text.size()));
    const int step = std::max(chunkSize, 1);
    for (qsizetype i = 0; i < text.size(); i += step) {
        if (i > 0 && gapMs > 0) std::this_thread::sleep_for(std::chrono::milliseconds(gapMs));
        reply(text.mid(i, step));
        // On a paced line the chunk takes its time to go out; the gap, and the
        // caller, come after it, as with a demodulator that passes each piece
        // on as it decodes it.
        waitSent();
    }
}

void NrdSimBase::turnKnob(qint64 hertz) {
    QList<QByteArray> replies;
    {
        std::lock_guard lock(stateMutex_);
        Setting s = vfo_;
        s.hertz = hertz;
        tuneTo(s);
        replies = pending_;
        pending_.clear();
    }
    sendOut(QByteArray(), replies);
}

QByteArray NrdSimBase::settingLine(char letter, int channel, const Setting& s, int hertzDigits, int agcDigits) {
    QByteArray line(1, letter);
    if (channel >= 0) line += digits(channel, 3);
    return line + digits(s.attenuator, 1) + digits(s.bandwidth, 1) + digits(s.mode, 1) + digits(s.hertz, hertzDigits) +
           digits(s.agc, agcDigits) + '\r';
}

QByteArray NrdSimBase::vacantLine(int channel, int zeros) {
    return "L" + digits(channel, 3) + "V" + QByteArray(zeros, '0') + '\r';
}

bool NrdSimBase::storeUserSetting(int item, const QByteArray& value, const char* pattern) {
    if (!pattern || !matches(value, pattern)) return false;
    userSettings_[item] = value;
    changed(QStringLiteral("user setting %1 = %2").arg(item).arg(QString::fromLatin1(value)));
    return true;
}

} // namespace dovrane::sim
