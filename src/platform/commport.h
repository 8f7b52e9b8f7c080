#pragma once
// The program's one serial port. Receiver traffic is raw bytes end to end:
// every value 0..255 passes untouched and a write goes out whole.
#include <QByteArray>
#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <chrono>
#include <memory>
#include <optional>

class QSerialPort;

namespace dovrane {

// What the drivers keep about the receiver on a line between their
// operations. It lives in the port and goes with it: a port made later is
// another line, whatever its address.
struct ReceiverOnLine {
    // Reset or switched on and not awaited since: its next answer may be slow.
    bool restarted = false;
    // The open count when an NRD was last put in remote: met again on a port
    // opened afresh since (switched off and on, its adapter re-plugged), it
    // is back in local.
    std::optional<quint64> remoteOnOpenCount;
    // Since when it has kept quiet after a question it did not answer; empty
    // once it answered or was sent something.
    std::optional<std::chrono::steady_clock::time_point> quietSince;
    // The open count when the user was last told that it does not answer: a
    // port opened afresh since starts a new spell.
    std::optional<quint64> toldOnOpenCount;
};

// What tells one device from another that is later given the same name: an
// adapter unplugged and another plugged in gets the same /dev/ttyUSB0 and
// the same device number, and a pseudo-terminal's number is handed out again
// once it is closed.
struct DeviceIdentity {
    // The device number of the device file; 0 when there was no device.
    quint64 rdev = 0;
    // A pseudo-terminal is never plugged back in: one made later under the
    // same number is another device, told apart by when its node was made.
    qint64 madeNs = 0;
    // Vendor, product and serial number of a USB adapter that gives one:
    // the same adapter plugged back in, whatever number it now has.
    QString usbSerial;

    bool known() const { return rdev != 0; }
    // Whether both name the same device (never for an unknown one).
    bool sameDevice(const DeviceIdentity& other) const;
};

// The device that `path` now leads to (through any links); unknown when
// there is none.
DeviceIdentity identifyDevice(const QString& path);

class CommPort : public QObject {
    Q_OBJECT
public:
    explicit CommPort(QObject* parent = nullptr);
    ~CommPort() override;

    // Port number 1..5; the device comes from "serialports.ini" in the data
    // folder set here.
    void setCommPort(int n);
    void setDataFolder(const QString& folder) { dataFolder_ = folder; }
    int commPort() const { return portNumber_; }
    // Line settings as "1200,N,8,1".
    bool setSettings(const QString& settings);
    QString settings() const { return settings_; }
    // The device to open, looked up from the port number (or set directly).
    QString deviceName() const;
    void setDeviceName(const QString& device) { deviceOverride_ = device; }

    // Opens the device; on failure errorString() names the device and the reason.
    // Until close(), the port stays wanted: when its device vanishes (an
    // adapter unplugged, a receiver restarted) the port closes itself, and the
    // next write opens it again; so does a write after an open that failed
    // (the adapter not yet plugged in). Once the device is open, `opened` is
    // raised, else `openFailed`.
    bool open();
    // Closes a wanted port: first `closing` is raised, while the line is
    // still usable, then the device is let go.
    void close();
    bool isOpen() const;
    // Opened by open() and not closed since (also while its device is gone).
    bool isWanted() const { return wanted_; }
    QString errorString() const { return error_; }
    // Opens a wanted port that is not open (write() does it by itself); true
    // when the port is open. A device opened here raises `reopened`.
    bool ensureOpen();
    // The device last opened (still so after it has gone); unknown before
    // the first open.
    const DeviceIdentity& deviceIdentity() const { return identity_; }
    // While set, a wanted port that is closed opens again by itself (in a
    // write or ensureOpen) only when its name leads to this device; the
    // port's own open() is the user's choice and is not held back. For
    // something owed to one device, which must never reach another that
    // has since been given its name.
    void setReopenOnly(std::optional<DeviceIdentity> device) { reopenOnly_ = std::move(device); }
    const std::optional<DeviceIdentity>& reopenOnly() const { return reopenOnly_; }
    // The device the program has spoken to since the last open(): the one
    // open() found, or the first one a write found after an open() that
    // failed. Nothing while none has been opened since: the device the name
    // leads to is then the one the user chose.
    std::optional<DeviceIdentity> spokenTo() const {
        return openedSinceOpen_ ? std::optional<DeviceIdentity>(identity_) : std::nullopt;
    }
    // Counts the successful opens, so that a caller can tell a port that was
    // opened afresh since it last looked.
    quint64 openCount() const { return openCount_; }
    // The drivers' record of the receiver on this line.
    ReceiverOnLine& receiverOnLine() { return receiverOnLine_; }
    // How long the line needs for one byte at the current settings.
    qint64 byteTimeNs() const;
    // How long the line still needs to carry what was written: a write
    // returns once the system has the bytes, long before a slow line has sent
    // them, and no answer can come before the question has gone out.
    qint64 nsUntilSent() const;

    // Writes every byte, waiting at most timeoutMs for the line to take them.
    // A wanted port that is closed is opened first.
    bool write(const QByteArray& bytes, int timeoutMs = 2000);
    // A busy machine can hold the program up right after a write, until the
    // answer has long arrived. No simulated receiver can hold up the
    // program's own thread, so a test makes every write pause this long
    // once its bytes are handed over (0, the default, for none).
    void setPauseAfterWriteMs(int ms) { pauseAfterWriteMs_ = ms; }
    // Bytes received and not yet read (takes in what the device holds now).
    int inBufferCount();
    // Drops everything received so far.
    void discardInput();
    // Reads and removes everything waiting.
    QByteArray readAll();
    // Waits without running events until at least n bytes are waiting or the
    // deadline passes; returns whether n bytes are there.
    bool waitForBytes(int n, int timeoutMs);
    // Waits for exactly n bytes and takes them; fewer on a time-out.
    QByteArray readExactly(int n, int timeoutMs);
    // Waits until a byte equal to terminator arrives; returns everything up to
    // and including it, or an empty array on time-out (what came stays waiting).
    QByteArray readUntil(char terminator, int timeoutMs);
    // Drops whatever arrives until `untilNs` on the clock `since`, waiting
    // without running events; what arrives later stays waiting. A byte that
    // arrives sooner than an answer could is no answer. Returns how many
    // bytes were dropped.
    int discardArrivalsUntil(const QElapsedTimer& since, qint64 untilNs);

signals:
    // Something arrived. Always delivered queued, after the current operation.
    void received();
    // open() has opened the device: the first moment to send what is owed
    // to the receiver.
    void opened();
    // open() could not open the device. The port stays wanted, and the
    // first write once the device is there opens it.
    void openFailed();
    // A wanted port has opened its device again by itself, in the write (or
    // ensureOpen) that found it back. Raised in the middle of whatever
    // operation wrote: connect it queued.
    void reopened();
    // A wanted port is about to close (also when it is destroyed): the last
    // moment to send what is owed to the receiver.
    void closing();

private:
    // wantedOpen: by open(), which setReopenOnly does not hold back.
    bool openDevice(bool wantedOpen);
    void pull(int waitMs);
    void scheduleReceived();
    void onPortError(int error);
    // Whether the open device is really gone, not just one call failed.
    bool deviceGone() const;
    // Closes a port whose device is gone; safe only outside QSerialPort's own calls.
    void dropIfLost();

    std::unique_ptr<QSerialPort> port_;
    QByteArray buffer_;
    int portNumber_ = 1;
    QString settings_ = QStringLiteral("1200,N,8,1");
    QString deviceOverride_;
    QString dataFolder_;
    QString error_;
    bool receivedPending_ = false;
    bool wanted_ = false;
    QElapsedTimer clock_;
    qint64 lineFreeNs_ = 0;  // on clock_: when the line will have sent everything
    bool lost_ = false;
    quint64 openCount_ = 0;
    DeviceIdentity identity_;
    std::optional<DeviceIdentity> reopenOnly_;
    bool openedSinceOpen_ = false;
    int pauseAfterWriteMs_ = 0;
    ReceiverOnLine receiverOnLine_;
};

// For what is not the user's own doing (a panel's close, something owed, a
// run's next sample): while it lives, a port that closed itself opens again
// only on the device given, by default the one the program spoke to
// (CommPort::spokenTo); a pin already in place, more particular, stands.
class ReopenPin {
public:
    explicit ReopenPin(CommPort& port) : ReopenPin(port, port.spokenTo()) {}
    ReopenPin(CommPort& port, std::optional<DeviceIdentity> device) : port_(port), before_(port.reopenOnly()) {
        if (!before_) port_.setReopenOnly(std::move(device));
    }
    ~ReopenPin() { port_.setReopenOnly(before_); }
    ReopenPin(const ReopenPin&) = delete;
    ReopenPin& operator=(const ReopenPin&) = delete;

private:
    CommPort& port_;
    std::optional<DeviceIdentity> before_;
};

// The device mapped to port n (1..5): line n of "serialports.ini" in dataFolder,
// else /dev/ttyS(n-1).
QString serialDeviceForPort(const QString& dataFolder, int n);
// Stores the device for port n in "serialports.ini" (five lines); false on failure.
bool setSerialDeviceForPort(const QString& dataFolder, int n, const QString& device,
                            QString* error = nullptr);

} // namespace dovrane
