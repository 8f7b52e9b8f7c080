#include "drivers/nrd/nrddriver.h"

#include "drivers/nrd/nrd_codec.h"
#include "drivers/rx_link.h"
#include "platform/commport.h"
#include "platform/sequence.h"
#include "platform/timeouts.h"
#include "shell/globals.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <thread>

namespace dovrane {

NrdDriver::NrdDriver(CommPort& port, QObject* parent) : QObject(parent), port_(port) {}

// Between two operations events run meanwhile; inside one it is a plain sleep.
void NrdDriver::pause(int ms) { sequence::pause(ms); }

namespace {
using SteadyClock = std::chrono::steady_clock;

void noteCommand(CommPort& port, const QByteArray& command) {
    port.receiverOnLine().quietSince.reset();
    // Switched on, the receiver starts afresh and may be slow to answer its
    // first question.
    if (command == "T1") noteReceiverRestarted(port);
}

int allowanceMs(CommPort& port) {
    return takeReplyAllowanceMs(port, replyTimeouts.nrdReplyMs, replyTimeouts.nrdSettleMs);
}

// The receiver gave no answer to the question awaited by `due`, and has kept
// quiet since it went out.
void noteNoReply(CommPort& port, const ReplyDeadline& due) {
    port.receiverOnLine().quietSince =
        SteadyClock::now() - std::chrono::nanoseconds(std::max<qint64>(due.clock().nsecsElapsed() - due.outNs(), 0));
}

// How long the receiver has kept quiet after a question it did not answer;
// 0 when it answered or was sent something since.
int quietMs(CommPort& port) {
    const auto& since = port.receiverOnLine().quietSince;
    if (!since) return 0;
    return int(std::chrono::duration_cast<std::chrono::milliseconds>(SteadyClock::now() - *since).count());
}
} // namespace

bool NrdDriver::send(const QByteArray& command) {
    const sequence::Operation op(port_);
    std::optional<quint64>& remoteOn = port_.receiverOnLine().remoteOnOpenCount;
    if (port_.ensureOpen() && RemoteHeld == 1 && remoteOn && *remoteOn != port_.openCount() && command != "H1" &&
        command != "H0") {
        remoteOn = port_.openCount();
        if (!send("H1")) return false;
        pause(nrd::PauseMs);
        if (!send("H1")) return false;
        pause(nrd::PauseMs);
    }
    noteCommand(port_, command);
    if (port_.write(command + '\r')) return true;
    noteRxFailure(port_);
    return false;
}

namespace {
// A reply's own CR (or a LF) that came after the reply was taken belongs to
// no later reply: the receivers end some replies right behind the characters
// awaited, and that CR reaches the line after the next query has gone out.
void skipLineEnds(QByteArray& reply) {
    qsizetype n = 0;
    while (n < reply.size() && (reply[n] == '\r' || reply[n] == '\n')) ++n;
    reply.remove(0, n);
}
} // namespace

// The hold and the release are a sequence of their own: each command is an
// operation, and events run in the pauses between them.
bool NrdDriver::i_on() {
    if ((RemoteHeld == 1 && CmdBusy == 0) || (RemoteHeld == 0 && CmdBusy == 1)) {
        port_.ensureOpen();
        port_.receiverOnLine().remoteOnOpenCount = port_.openCount();
        if (!send("H1")) return false;
        pause(nrd::PauseMs);
        if (!send("H1")) return false;
        pause(nrd::PauseMs);
    }
    return true;
}

bool NrdDriver::i_off() {
    if (RemoteHeld == 0 && CmdBusy == 0) {
        // The receiver wants this pause after the last command; when it has
        // already kept quiet that long since the last question (it did not
        // answer), the pause has passed.
        pause(std::max(0, nrd::PauseMs - quietMs(port_)));
        const bool first = send("H0");
        pause(nrd::PauseMs);
        // The second one goes out even when the first failed: the receiver
        // must not stay in remote because of one lost write.
        const bool second = send("H0");
        return first && second;
    }
    return true;
}

bool NrdDriver::Lockonoff(int v) {
    bool ok = false;
    if (v == 0) {
        RemoteHeld = 0;
        ok = i_off();
    } else if (v == 1) {
        RemoteHeld = 1;
        ok = i_on();
        if (!ok) {
            // A hold that did not take must not claim the receiver is held,
            // nor leave it half in remote.
            RemoteHeld = 0;
            i_off();
        }
    } else {
        return false;
    }
    // Whoever follows the lock (a panel's refresh) runs its operations once
    // the release or hold is done.
    if (ok) emit LockChanged(v);
    return ok;
}

NrdDriver::Bracket::Bracket(NrdDriver& driver) : driver_(driver), ok_(driver_.openBracket()) {}

NrdDriver::Bracket::~Bracket() { driver_.closeBracket(); }

bool NrdDriver::openBracket() {
    // A bracket opened while another one holds the receiver (a command that
    // runs while events run between the other's operations, or between the
    // steps of the timer's relay switch) keeps it in remote: only the
    // outermost one releases it, so the outer exchange never finds the
    // receiver gone to local under it.
    if (brackets_++ > 0) {
        if (!bracketHeld_) bracketHeld_ = i_on();
        return bracketHeld_;
    }
    CmdBusy = 1;
    bracketHeld_ = i_on();
    return bracketHeld_;
}

bool NrdDriver::relayOffOnAnswer() {
    const sequence::Operation op(port_);
    const bool answered = query("R0", "R######\r").has_value();
    noteResult(answered);
    return answered && send("O0");
}

void NrdDriver::closeBracket() {
    if (brackets_ == 0 || --brackets_ > 0) return;
    bracketHeld_ = false;
    CmdBusy = 0;
    i_off();
}

std::optional<QString> NrdDriver::RxClock() {
    std::optional<QString> time;
    {
        Bracket bracket(*this);
        // The reply is taken before the receiver is released.
        if (bracket.ok())
            if (const auto r = query("R0", "R######\r")) time = nrd::clockFromReply(*r);
    }
    return noted(time);
}

bool NrdDriver::RxClock(const QString& t) {
    const auto digits = nrd::clockDigits(t, particulars().clockSeconds);
    return digits && sendBracketed("R1" + *digits);
}

SendResult NrdDriver::RttyParameters(const QString& p) {
    const auto text = nrd::commandText(p);
    if (!text || !receiverTakes(particulars().model, RxSetting::Rtty, RttyOn)) return Sent::Refused;
    return SendResult::wrote(sendBracketed(particulars().rttyParameters + *text));
}

bool NrdDriver::Timerrelaysonoff(int v) {
    const auto d = nrd::onOffField(v);
    return d && sendBracketed("O" + *d);
}

bool NrdDriver::DialReports(int v) {
    const sequence::Operation op(port_);
    if (v == 1) return send("I1") && send(particulars().dialRelease);
    if (v == 0) return send("I0");
    return false;
}

bool NrdDriver::sendBracketed(const QByteArray& command) {
    Bracket bracket(*this);
    return bracket.ok() && send(command);
}

SendResult NrdDriver::sendPlain(const QByteArray& command) {
    if (RemoteHeld != 1) return Sent::NotHeld;
    return SendResult::wrote(send(command));
}

std::optional<QByteArray> NrdDriver::query(const QByteArray& command, const char* shape) {
    const sequence::Operation op(port_);
    const int n = int(std::strlen(shape));
    port_.discardInput();
    if (!send(command)) return std::nullopt;
    const ReplyDeadline due(port_, n, allowanceMs(port_));
    QByteArray reply;
    for (;;) {
        reply += port_.readAll();
        skipLineEnds(reply);
        if (reply.size() >= n) break;
        const int left = due.msLeft(int(reply.size()));
        if (left <= 0 || !port_.waitForBytes(1, left)) {
            if (reply.isEmpty()) noteNoReply(port_, due);
            return std::nullopt;
        }
    }
    if (!nrd::matchesShape(reply, shape)) return std::nullopt;
    return reply;
}

std::optional<QByteArray> NrdDriver::lineRead(const QByteArray& command, int maxLength) {
    const sequence::Operation op(port_);
    port_.discardInput();
    if (!send(command)) return std::nullopt;
    // The reply's length is not known before its CR: the deadline allows for
    // the longest one.
    const ReplyDeadline due(port_, maxLength + 1, allowanceMs(port_));
    QByteArray reply;
    for (;;) {
        reply += port_.readAll();
        skipLineEnds(reply);
        const qsizetype cr = reply.indexOf('\r');
        if (cr >= 0) return reply.left(cr);
        if (reply.size() >= maxLength) return reply.left(maxLength);
        const int left = due.msLeft(int(reply.size()));
        if (left <= 0 || !port_.waitForBytes(1, left)) {
            if (reply.isEmpty()) noteNoReply(port_, due);
            return std::nullopt;
        }
    }
}

void NrdDriver::noteResult(bool answered) {
    if (answered) noteRxSuccess();
    else noteRxFailure(port_);
}

} // namespace dovrane
