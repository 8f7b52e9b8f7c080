#pragma once
// A simulated receiver on a pseudo-terminal. Subclasses keep the receiver's
// state and answer each byte as the real receiver does.
#include "support/pty_peer.h"
#include <QString>
#include <QStringList>
#include <atomic>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>

namespace dovrane::sim {

enum class Fault {
    None,     // answers as the receiver does
    Silent,   // takes every command, answers nothing
    Late,     // answers after lateMs
    Garbage,  // answers with bytes of the right length but wrong content
    Off,      // switched off behind its adapter: hears nothing, says nothing;
              // switched on again (any other fault), it starts afresh
};

class SimReceiver {
public:
    virtual ~SimReceiver();

    // start() after stop() is a receiver switched on again: a new device,
    // its name pointed at it. The receiver starts afresh.
    bool start();
    void stop();
    // The device's name, a link of its own (test::PtyPeer::devicePath), as
    // a serial adapter's stable name under /dev/serial: start() points it at
    // the current device and stop() removes it.
    QString devicePath() const { return peer_.devicePath(); }
    // Another name for it, in place of its own.
    void setLinkPath(const QString& path) { peer_.setLinkPath(path); }
    QString linkPath() const { return peer_.devicePath(); }
    // Pace in bits per second (10 bits a byte); 0 unpaced; test::PtyPeer::FollowLine
    // at whatever rate the program set on the port.
    void setBaud(int baud) { peer_.setBaud(baud); }
    void setFault(Fault fault, int lateMs = 0);
    Fault fault() const;

    // The signal the receiver hears, in S units (9 = S9, one unit 6 dB above
    // S9) at each frequency in kHz; the S-meter reading follows the tuned
    // frequency through it. Without a curve the reading stays as set.
    using SmeterCurve = std::function<double(double kHz)>;
    void setSmeterCurve(SmeterCurve curve);
    // A few carriers over the broadcast bands on a low noise floor, for a
    // person trying the scans by hand.
    static SmeterCurve bandCarriers();

    // After n more replies the receiver stops answering (it still takes
    // commands), as one does that is switched off or unplugged mid-run; a
    // negative n answers again without limit.
    void setStopAnsweringAfter(int n);
    int repliesSent() const;

    // One line for each command decoded and each change of state.
    void setLogger(std::function<void(const QString&)> logger);
    // The log lines so far (kept for tests too).
    QStringList logLines() const;
    // Every byte the program sent, in order.
    QByteArray bytesReceived() const { return peer_.received(); }
    void clearBytesReceived() { peer_.clearReceived(); }
    // Waits until every byte the program has written so far has been handled.
    bool waitIdle(int timeoutMs = 2000) const { return peer_.waitIdle(timeoutMs); }
    // Waits until every reply sent so far has gone out on the (paced) line.
    bool waitSent(int timeoutMs = 5000) const { return peer_.waitSent(timeoutMs); }
    // Bytes handled since the start (their reply, if any, sent). bytesReceived()
    // already holds a byte while it is being handled.
    qint64 bytesHandled() const { return handled_; }

    // Guards the simulated state: subclasses lock it around state access, and
    // tests lock it through this when they read or poke the state.
    std::recursive_mutex& stateMutex() const { return stateMutex_; }

protected:
    SimReceiver() = default;
    // One byte from the program, on the peer's thread.
    virtual void onByte(uint8_t byte) = 0;
    // Switched on (again): what the receiver keeps only while it is on is
    // gone. Called with the state locked.
    virtual void switchedOn() {}
    // Sends a reply, as the fault mode says.
    void reply(const QByteArray& bytes);
    void log(const QString& line);
    // The curve's level at kHz; nothing without a curve. Call with the
    // state locked.
    std::optional<double> curveLevel(double kHz) const;

    mutable std::recursive_mutex stateMutex_;

private:
    test::PtyPeer peer_;
    std::atomic<qint64> handled_{0};
    Fault fault_ = Fault::None;
    int lateMs_ = 0;
    SmeterCurve curve_;
    int answersLeft_ = -1;
    int repliesSent_ = 0;
    std::function<void(const QString&)> logger_;
    QStringList logLines_;
    mutable std::mutex logMutex_;
};

// Simulators register a factory under their model name ("ar7030", "nrd535",
// "nrd545", "rx320") for the rxsim tool and the tests.
using SimFactory = std::function<std::unique_ptr<SimReceiver>()>;
std::map<QString, SimFactory>& simRegistry();
struct SimRegistration {
    SimRegistration(const QString& model, SimFactory factory) { simRegistry()[model] = std::move(factory); }
};
std::unique_ptr<SimReceiver> makeSim(const QString& model);

} // namespace dovrane::sim
