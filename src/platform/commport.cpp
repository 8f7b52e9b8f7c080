#include "platform/commport.h"
#include "platform/text_file.h"

#include <QElapsedTimer>
#include <QFile>
#include <QSerialPort>
#include <QTimer>

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
} // namespace

CommPort::CommPort(QObject* parent) : QObject(parent) {}

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
    error_.clear();
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
    buffer_.clear();
    connect(port_.get(), &QSerialPort::readyRead, this, [this] { scheduleReceived(); });
    return true;
}

void CommPort::close() {
    if (port_) {
        port_->close();
        port_.reset();
    }
    buffer_.clear();
}

bool CommPort::isOpen() const { return port_ && port_->isOpen(); }

bool CommPort::write(const QByteArray& bytes, int timeoutMs) {
    if (!isOpen()) return false;
    if (port_->write(bytes) != bytes.size()) return false;
    QElapsedTimer t;
    t.start();
    while (port_->bytesToWrite() > 0) {
        const int left = timeoutMs - int(t.elapsed());
        if (left <= 0 || !port_->waitForBytesWritten(left)) return port_->bytesToWrite() == 0;
    }
    return true;
}

void CommPort::pull(int waitMs) {
    if (!isOpen()) return;
    if (waitMs > 0 && port_->bytesAvailable() == 0) port_->waitForReadyRead(waitMs);
    else if (port_->bytesAvailable() == 0) port_->waitForReadyRead(0);
    if (port_->bytesAvailable() > 0) buffer_ += port_->readAll();
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
