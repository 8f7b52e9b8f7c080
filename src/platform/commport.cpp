#include "platform/commport.h"
#include "platform/text_file.h"
#include "platform/timeouts.h"

#include <QElapsedTimer>
#include <algorithm>
#include <QFile>
#include <QFileInfo>
#include <QSerialPort>
#include <QSerialPortInfo>
#include <QTimer>
#include <poll.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <thread>

namespace dovrane {

namespace {
constexpr int PortCount = 5;

bool parseSettings(const QString& text, QSerialPort::BaudRate& baud, QSerialPort::Parity& parity,
                   QSerialPort::DataBits& bits, QSerialPort::StopBits& stop, qint32& rawBaud) {
    const QStringList p = text.split(QLatin1Char(','));
    if (p.size() != 4) return false;
    bool ok = false;
    rawBaud = p[0].trimmed().toInt(&ok);
    if (!ok || rawBaud <= 0) return false;
    baud = QSerialPort::BaudRate(rawBaud);
    const QString par = p[1].trimmed().toUpper();
    if (par == QLatin1String("N")) parity = QSerialPort::NoParity;
    else if (par == QLatin1String("E")) parity = QSerialPort::EvenParity;
    else if (par == QLatin1String("O")) parity = QSerialPort::OddParity;
    else return false;
    const int b = p[2].trimmed().toInt(&ok);
    if (!ok || b < 5 || b > 8) return false;
    bits = QSerialPort::DataBits(b);
    const QString s = p[3].trimmed();
    if (s == QLatin1String("1")) stop = QSerialPort::OneStop;
    else if (s == QLatin1String("2")) stop = QSerialPort::TwoStop;
    else return false;
    return true;
}

// The slave ends of pseudo-terminals have majors 136..143.
bool isPseudoTerminal(dev_t rdev) {
    const unsigned m = major(rdev);
    return m >= 136 && m <= 143;
}

DeviceIdentity identityOf(const struct stat& st, const QString& path) {
    DeviceIdentity id;
    if (!S_ISCHR(st.st_mode)) return id;
    id.rdev = quint64(st.st_rdev);
    if (isPseudoTerminal(st.st_rdev)) {
        id.madeNs = qint64(st.st_ctim.tv_sec) * 1'000'000'000 + st.st_ctim.tv_nsec;
        return id;
    }
    const QString target = QFileInfo(path).canonicalFilePath();
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
        if (info.systemLocation() != target || info.serialNumber().isEmpty()) continue;
        id.usbSerial = QStringLiteral("%1:%2:%3")
                           .arg(info.vendorIdentifier(), 4, 16, QLatin1Char('0'))
                           .arg(info.productIdentifier(), 4, 16, QLatin1Char('0'))
                           .arg(info.serialNumber());
        break;
    }
    return id;
}
} // namespace

bool DeviceIdentity::sameDevice(const DeviceIdentity& other) const {
    if (!known() || !other.known()) return false;
    // An adapter that gives a serial number is that adapter wherever it is
    // plugged in; a device without one is never it, even under its number
    // (every first USB serial adapter is the same 188:0).
    if (!usbSerial.isEmpty() || !other.usbSerial.isEmpty()) return usbSerial == other.usbSerial;
    return rdev == other.rdev && madeNs == other.madeNs;
}

DeviceIdentity identifyDevice(const QString& path) {
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0) return {};
    return identityOf(st, path);
}

CommPort::CommPort(QObject* parent) : QObject(parent) { clock_.start(); }

CommPort::~CommPort() { close(); }

void CommPort::setCommPort(int n) { portNumber_ = n; }

bool CommPort::setSettings(const QString& settings) {
    QSerialPort::BaudRate b;
    QSerialPort::Parity p;
    QSerialPort::DataBits d;
    QSerialPort::StopBits s;
    qint32 raw;
    if (!parseSettings(settings, b, p, d, s, raw)) return false;
    settings_ = settings;
    if (port_ && port_->isOpen()) {
        port_->setBaudRate(raw);
        port_->setParity(p);
        port_->setDataBits(d);
        port_->setStopBits(s);
    }
    return true;
}

QString CommPort::deviceName() const {
    if (!deviceOverride_.isEmpty()) return deviceOverride_;
    return serialDeviceForPort(dataFolder_, portNumber_);
}

bool CommPort::open() {
    close();
    wanted_ = true;
    openedSinceOpen_ = false;
    if (!openDevice(true)) {
        emit openFailed();
        return false;
    }
    emit opened();
    return true;
}

bool CommPort::openDevice(bool wantedOpen) {
    error_.clear();
    lost_ = false;
    const QString device = deviceName();
    QSerialPort::BaudRate b;
    QSerialPort::Parity p;
    QSerialPort::DataBits d;
    QSerialPort::StopBits s;
    qint32 raw;
    if (!parseSettings(settings_, b, p, d, s, raw)) {
        error_ = tr("%1: invalid line settings \"%2\"").arg(device, settings_);
        return false;
    }
    if (!QFile::exists(device)) {
        error_ = tr("%1: no such device").arg(device);
        return false;
    }
    port_ = std::make_unique<QSerialPort>();
    port_->setPortName(device);
    if (!port_->open(QIODevice::ReadWrite)) {
        error_ = tr("%1: %2").arg(device, port_->errorString());
        port_.reset();
        return false;
    }
    port_->setBaudRate(raw);
    port_->setParity(p);
    port_->setDataBits(d);
    port_->setStopBits(s);
    port_->setFlowControl(QSerialPort::NoFlowControl);
    // Of the device really opened, not of whatever the name leads to a
    // moment later.
    struct stat st {};
    const DeviceIdentity opened = ::fstat(int(port_->handle()), &st) == 0 ? identityOf(st, device) : DeviceIdentity{};
    if (reopenOnly_ && !wantedOpen && !opened.sameDevice(*reopenOnly_)) {
        // Another device took the name between the look and the open.
        error_ = tr("%1: another device than the one expected").arg(device);
        port_->close();
        port_.reset();
        return false;
    }
    identity_ = opened;
    openedSinceOpen_ = true;
    buffer_.clear();
    connect(port_.get(), &QSerialPort::readyRead, this, [this] { scheduleReceived(); });
    connect(port_.get(), &QSerialPort::errorOccurred, this, [this](QSerialPort::SerialPortError e) { onPortError(int(e)); });
    ++openCount_;
    return true;
}

void CommPort::onPortError(int error) {
    switch (QSerialPort::SerialPortError(error)) {
    case QSerialPort::ResourceError:
    case QSerialPort::ReadError:
    case QSerialPort::WriteError:
    case QSerialPort::DeviceNotFoundError:
    case QSerialPort::PermissionError:
    case QSerialPort::UnknownError:
        if (lost_) return;
        // A failed read is no proof that the device went away: the port's
        // read notice can come for bytes a wait has already taken, and the
        // empty read then reports a stale system error. Dropping the port
        // for that would lose everything the receiver sends unasked (dial
        // reports, RTTY text) until the next command reopens it.
        if (!deviceGone()) return;
        // The device is gone or no longer usable. A dead port left open keeps
        // signalling its error (a busy loop) and holds the device name a
        // re-plugged adapter would get, so it is closed as soon as that is safe:
        // not inside QSerialPort's own call that reported the error.
        lost_ = true;
        error_ = tr("%1: %2").arg(deviceName(), port_ ? port_->errorString() : QString());
        QTimer::singleShot(0, this, [this] { dropIfLost(); });
        return;
    default:
        // A wait that timed out, a call on a closed port: nothing is broken.
        return;
    }
}

bool CommPort::deviceGone() const {
    if (!port_ || !port_->isOpen() || port_->handle() < 0) return true;
    if (!QFile::exists(deviceName())) return true;
    // A line that hung up (an adapter unplugged, the far end of a
    // pseudo-terminal closed) says so at once, without being read.
    pollfd p{int(port_->handle()), POLLIN, 0};
    if (::poll(&p, 1, 0) < 0) return false;
    return (p.revents & (POLLHUP | POLLERR | POLLNVAL)) != 0;
}

void CommPort::dropIfLost() {
    if (!lost_ || !port_) return;
    // A QSerialPort whose error handler is still on the stack must outlive it.
    port_->disconnect(this);
    port_->close();
    port_.release()->deleteLater();
    buffer_.clear();
}

void CommPort::close() {
    if (wanted_) emit closing();
    wanted_ = false;
    lost_ = false;
    if (port_) {
        port_->close();
        port_.reset();
    }
    buffer_.clear();
}

qint64 CommPort::byteTimeNs() const {
    QSerialPort::BaudRate b;
    QSerialPort::Parity p;
    QSerialPort::DataBits d;
    QSerialPort::StopBits s;
    qint32 raw;
    if (!parseSettings(settings_, b, p, d, s, raw)) return 0;
    const int bits = 1 + int(d) + (p == QSerialPort::NoParity ? 0 : 1) + (s == QSerialPort::TwoStop ? 2 : 1);
    return qint64(bits) * 1'000'000'000 / raw;
}

qint64 CommPort::nsUntilSent() const { return std::max<qint64>(0, lineFreeNs_ - clock_.nsecsElapsed()); }

bool CommPort::isOpen() const { return port_ && port_->isOpen() && !lost_; }

bool CommPort::ensureOpen() {
    dropIfLost();
    if (isOpen()) return true;
    if (!wanted_) return false;
    // Looked at before the open: opening another process's device, even for
    // a moment, would take its lock and its line settings.
    if (reopenOnly_ && !identifyDevice(deviceName()).sameDevice(*reopenOnly_)) return false;
    if (!openDevice(false)) return false;
    emit reopened();
    return true;
}

bool CommPort::write(const QByteArray& bytes, int timeoutMs) {
    if (!ensureOpen()) return false;
    lineFreeNs_ = std::max(lineFreeNs_, clock_.nsecsElapsed()) + bytes.size() * byteTimeNs();
    const bool ok = [&] {
        if (port_->write(bytes) != bytes.size()) return false;
        QElapsedTimer t;
        t.start();
        while (port_->bytesToWrite() > 0 && !lost_) {
            const int left = timeoutMs - int(t.elapsed());
            if (left <= 0 || !port_->waitForBytesWritten(left)) return port_->bytesToWrite() == 0 && !lost_;
        }
        return !lost_;
    }();
    dropIfLost();
    if (ok && pauseAfterWriteMs_ > 0) std::this_thread::sleep_for(std::chrono::milliseconds(pauseAfterWriteMs_));
    return ok;
}

void CommPort::pull(int waitMs) {
    if (!isOpen()) return;
    if (waitMs > 0 && port_->bytesAvailable() == 0) port_->waitForReadyRead(waitMs);
    else if (port_->bytesAvailable() == 0) port_->waitForReadyRead(0);
    if (port_->bytesAvailable() > 0) buffer_ += port_->readAll();
    dropIfLost();
}

int CommPort::discardArrivalsUntil(const QElapsedTimer& since, qint64 untilNs) {
    int dropped = int(buffer_.size());
    buffer_.clear();
    while (isOpen()) {
        const qint64 left = untilNs - since.nsecsElapsed();
        if (left <= 0) break;
        // poll() wakes as soon as a byte comes, so the moment of waking tells
        // when it arrived; the wait rounds up to whole milliseconds, and what
        // comes in that last fraction is judged by its own time.
        if (port_->bytesAvailable() == 0) port_->waitForReadyRead(int((left + 999'999) / 1'000'000));
        if (port_->bytesAvailable() > 0) {
            const QByteArray got = port_->readAll();
            if (since.nsecsElapsed() >= untilNs) {
                buffer_ = got;
                break;
            }
            dropped += int(got.size());
        }
        dropIfLost();
    }
    dropIfLost();
    return dropped;
}

void noteReceiverRestarted(CommPort& port) { port.receiverOnLine().restarted = true; }

int takeReplyAllowanceMs(CommPort& port, int usualMs, int settleMs) {
    bool& restarted = port.receiverOnLine().restarted;
    if (!restarted) return usualMs;
    restarted = false;
    return std::max(usualMs, settleMs);
}

ReplyDeadline::ReplyDeadline(const CommPort& port, int bytes, int allowanceMs) {
    clock_.start();
    const qint64 byteNs = port.byteTimeNs();
    const qint64 allowanceNs = qint64(std::max(allowanceMs, 0)) * 1'000'000;
    outNs_ = port.nsUntilSent();
    firstNs_ = outNs_ + byteNs + allowanceNs;
    allNs_ = outNs_ + qint64(std::max(bytes, 1)) * byteNs + allowanceNs;
}

ReplyDeadline::ReplyDeadline(const CommPort& port, const QElapsedTimer& writeStarted, int questionBytes, int bytes,
                             int allowanceMs)
    : ReplyDeadline(port, bytes, allowanceMs) {
    clock_ = writeStarted;
    const qint64 byteNs = port.byteTimeNs();
    const qint64 now = clock_.nsecsElapsed();
    const qint64 left = port.nsUntilSent();
    // Once the line is free, the port no longer tells when it became so; the
    // question cannot have crossed it sooner than its own wire time after
    // the write began.
    const qint64 out = left > 0 ? now + left : std::min(now, qint64(questionBytes) * byteNs);
    firstNs_ += out - outNs_;
    allNs_ += out - outNs_;
    outNs_ = out;
}

int ReplyDeadline::msLeft(int have) const {
    const qint64 left = (have > 0 ? allNs_ : firstNs_) - clock_.nsecsElapsed();
    return left <= 0 ? 0 : int((left + 999'999) / 1'000'000);
}

bool waitForReply(CommPort& port, int n, const ReplyDeadline& due) {
    for (;;) {
        const int have = port.inBufferCount();
        if (have >= n) return true;
        const int left = due.msLeft(have);
        if (left <= 0 || !port.isOpen()) return false;
        port.waitForBytes(have + 1, left);
    }
}

int CommPort::inBufferCount() {
    pull(0);
    return int(buffer_.size());
}

void CommPort::discardInput() {
    pull(0);
    buffer_.clear();
    if (isOpen()) port_->clear(QSerialPort::Input);
}

QByteArray CommPort::readAll() {
    pull(0);
    QByteArray out;
    out.swap(buffer_);
    return out;
}

bool CommPort::waitForBytes(int n, int timeoutMs) {
    QElapsedTimer t;
    t.start();
    pull(0);
    while (buffer_.size() < n && isOpen()) {
        const int left = timeoutMs - int(t.elapsed());
        if (left <= 0) break;
        pull(left);
    }
    return buffer_.size() >= n;
}

QByteArray CommPort::readExactly(int n, int timeoutMs) {
    waitForBytes(n, timeoutMs);
    const QByteArray out = buffer_.left(n);
    buffer_.remove(0, out.size());
    return out;
}

QByteArray CommPort::readUntil(char terminator, int timeoutMs) {
    QElapsedTimer t;
    t.start();
    pull(0);
    while (isOpen()) {
        const int at = buffer_.indexOf(terminator);
        if (at >= 0) {
            const QByteArray out = buffer_.left(at + 1);
            buffer_.remove(0, at + 1);
            return out;
        }
        const int left = timeoutMs - int(t.elapsed());
        if (left <= 0) break;
        pull(left);
    }
    return QByteArray();
}

void CommPort::scheduleReceived() {
    if (receivedPending_) return;
    receivedPending_ = true;
    QTimer::singleShot(0, this, [this] {
        receivedPending_ = false;
        emit received();
    });
}

QString serialDeviceForPort(const QString& dataFolder, int n) {
    if (!dataFolder.isEmpty()) {
        const auto lines = readLines(findCaseInsensitive(dataFolder, QStringLiteral("serialports.ini")));
        if (lines && n >= 1 && n <= lines->size()) {
            const QString dev = lines->at(n - 1).trimmed();
            if (!dev.isEmpty()) return dev;
        }
    }
    return QStringLiteral("/dev/ttyS%1").arg(qMax(0, n - 1));
}

bool setSerialDeviceForPort(const QString& dataFolder, int n, const QString& device, QString* error) {
    if (n < 1 || n > PortCount) {
        if (error) *error = QStringLiteral("port %1 is not one of COM1..COM5").arg(n);
        return false;
    }
    QStringList lines;
    for (int i = 1; i <= PortCount; ++i) lines << serialDeviceForPort(dataFolder, i);
    lines[n - 1] = device.trimmed();
    return writeLines(dataFolder + QStringLiteral("serialports.ini"), lines, error);
}

} // namespace dovrane
