#include "drivers/nrd/nrddriver.h"

#include "drivers/nrd/nrd_codec.h"
#include "drivers/rx_link.h"
#include "platform/commport.h"
#include "platform/timeouts.h"
#include "shell/globals.h"

#include <QElapsedTimer>
#include <chrono>
#include <cstring>
#include <thread>

namespace dovrane {

NrdDriver::NrdDriver(CommPort& port, QObject* parent) : QObject(parent), port_(port) {}

void NrdDriver::pause(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

bool NrdDriver::send(const QByteArray& command) { return port_.write(command + '\r'); }

bool NrdDriver::i_on() {
    if ((RemoteHeld == 1 && CmdBusy == 0) || (RemoteHeld == 0 && CmdBusy == 1)) {
        if (!send("H1")) return false;
        pause(nrd::PauseMs);
        if (!send("H1")) return false;
        pause(nrd::PauseMs);
    }
    return true;
}

bool NrdDriver::i_off() {
    if (RemoteHeld == 0 && CmdBusy == 0) {
        pause(nrd::PauseMs);
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
    if (ok) emit LockChanged(v);
    return ok;
}

NrdDriver::Bracket::Bracket(NrdDriver& driver) : driver_(driver) {
    CmdBusy = 1;
    ok_ = driver_.i_on();
}

NrdDriver::Bracket::~Bracket() {
    CmdBusy = 0;
    driver_.i_off();
}

bool NrdDriver::sendBracketed(const QByteArray& command) {
    Bracket bracket(*this);
    return bracket.ok() && send(command);
}

std::optional<QByteArray> NrdDriver::query(const QByteArray& command, const char* shape) {
    const int n = int(std::strlen(shape));
    port_.discardInput();
    if (!send(command)) return std::nullopt;
    if (!port_.waitForBytes(n, replyTimeouts.nrdReplyMs)) return std::nullopt;
    const QByteArray reply = port_.readAll();
    if (!nrd::matchesShape(reply, shape)) return std::nullopt;
    return reply;
}

std::optional<QByteArray> NrdDriver::lineRead(const QByteArray& command, int maxLength) {
    port_.discardInput();
    if (!send(command)) return std::nullopt;
    QElapsedTimer clock;
    clock.start();
    QByteArray reply;
    for (;;) {
        reply += port_.readAll();
        const qsizetype cr = reply.indexOf('\r');
        if (cr >= 0) return reply.left(cr);
        if (reply.size() >= maxLength) return reply.left(maxLength);
        const qint64 left = replyTimeouts.nrdReplyMs - clock.elapsed();
        if (left <= 0 || !port_.waitForBytes(1, int(left))) {
            reply += port_.readAll();
            const qsizetype end = reply.indexOf('\r');
            if (end >= 0) return reply.left(end);
            if (reply.size() >= maxLength) return reply.left(maxLength);
            return std::nullopt;
        }
    }
}

void NrdDriver::noteResult(bool answered) {
    if (answered) noteRxSuccess();
    else noteRxFailure(port_);
}

} // namespace dovrane
