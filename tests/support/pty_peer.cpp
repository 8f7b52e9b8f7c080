#include "support/pty_peer.h"
#include "support/pty_reads.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <atomic>
#include <chrono>
#include <fcntl.h>
#include <poll.h>
#include <pthread.h>
#include <sched.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace dovrane::test {

using Clock = std::chrono::steady_clock;

namespace {
// To the nanosecond: whole microseconds would make the line about 1% fast at
// 115200 baud, and over a few bytes an answer would come sooner than the line
// could carry it, where the program rightly takes it for a stray byte.
std::chrono::nanoseconds byteTime(int baud) {
    return std::chrono::nanoseconds(baud > 0 ? 10'000'000'000LL / baud : 0);
}

int baudOf(speed_t s) {
    switch (s) {
    case B300: return 300;
    case B600: return 600;
    case B1200: return 1200;
    case B2400: return 2400;
    case B4800: return 4800;
    case B9600: return 9600;
    case B19200: return 19200;
    case B38400: return 38400;
    case B57600: return 57600;
    case B115200: return 115200;
    case B230400: return 230400;
    case B460800: return 460800;
    case B921600: return 921600;
    default: return 0;
    }
}
// The far end of the line is a device of its own: it answers on its own time,
// whatever else the machine is doing. Where the system allows it, its threads
// run ahead of ordinary ones, so that a machine kept busy by other builds does
// not hold a reply back past the program's deadline. They sleep between bytes,
// so they never keep a core from the rest. Without the right to do so they run
// as ordinary threads.
void runAheadOfTheMachine() {
    sched_param p{};
    p.sched_priority = 1;
    pthread_setschedparam(pthread_self(), SCHED_FIFO, &p);
}
thread_local std::uint64_t readsOnThisThread = 0;

// This process's own folder for the devices' names, gone when it ends.
QString ownLinkPath() {
    static QTemporaryDir dir(QDir::tempPath() + QStringLiteral("/dovrane-pty-XXXXXX"));
    static std::atomic<int> next{0};
    if (!dir.isValid()) return QString();
    return dir.filePath(QStringLiteral("tty%1").arg(++next));
}

void unlinkName(const QString& path) {
    if (!path.isEmpty()) ::unlink(QFile::encodeName(path).constData());
}

bool linkName(const QString& path, const QString& target) {
    if (path.isEmpty()) return true;
    unlinkName(path);
    return ::symlink(QFile::encodeName(target).constData(), QFile::encodeName(path).constData()) == 0;
}
} // namespace

std::uint64_t ptyReadOnThisThread() { return readsOnThisThread; }

int PtyPeer::pace() const {
    const int baud = baud_;
    if (baud != FollowLine) return baud;
    termios t{};
    if (slaveKeep_ < 0 || tcgetattr(slaveKeep_, &t) != 0) return 0;
    return baudOf(cfgetospeed(&t));
}

PtyPeer::PtyPeer() : linkPath_(ownLinkPath()) {}

void PtyPeer::setLinkPath(const QString& path) {
    if (path == linkPath_) return;
    // A stopped peer's name is no longer its own: another may have it now.
    if (master_ >= 0) unlinkName(linkPath_);
    linkPath_ = path;
    if (master_ >= 0) linkName(linkPath_, slavePath_);
}

PtyPeer::~PtyPeer() { stop(); }

bool PtyPeer::start() {
    if (master_ >= 0) return true;
    master_ = posix_openpt(O_RDWR | O_NOCTTY);
    if (master_ < 0) return false;
    if (grantpt(master_) != 0 || unlockpt(master_) != 0) {
        stop();
        return false;
    }
    char name[128] = {};
    if (ptsname_r(master_, name, sizeof name) != 0) {
        stop();
        return false;
    }
    slavePath_ = QString::fromLocal8Bit(name);
    // Holding the slave open keeps the master readable while the program has
    // the port closed, and lets us put the line in raw mode before anyone opens it.
    slaveKeep_ = ::open(name, O_RDWR | O_NOCTTY);
    if (slaveKeep_ < 0) {
        stop();
        return false;
    }
    termios t{};
    tcgetattr(slaveKeep_, &t);
    cfmakeraw(&t);
    tcsetattr(slaveKeep_, TCSANOW, &t);
    if (!linkName(linkPath_, slavePath_)) {
        stop();
        return false;
    }
    stop_ = false;
    thread_ = std::thread([this] { run(); });
    writer_ = std::thread([this] { writeLoop(); });
    return true;
}

void PtyPeer::stop() {
    stop_ = true;
    writeReady_.notify_all();
    if (thread_.joinable()) thread_.join();
    if (writer_.joinable()) writer_.join();
    // The device is gone: its name leads nowhere, not to the
    // pseudo-terminal someone else is given next under the same number.
    if (master_ >= 0) unlinkName(linkPath_);
    if (slaveKeep_ >= 0) ::close(slaveKeep_);
    if (master_ >= 0) ::close(master_);
    slaveKeep_ = master_ = -1;
}

void PtyPeer::setOnByte(std::function<void(uint8_t)> onByte) {
    std::lock_guard lock(mutex_);
    onByte_ = std::move(onByte);
}

void PtyPeer::send(const QByteArray& bytes) {
    {
        std::lock_guard lock(writeMutex_);
        if (master_ < 0) return;
        if (pace() > 0 || !outQueue_.empty()) {
            // Paced bytes go out from their own thread, so that the far end
            // keeps taking what the program sends while it answers, as a
            // full-duplex line does.
            const auto now = Clock::now();
            for (const char c : bytes) outQueue_.push_back({c, now});
        } else {
            qsizetype done = 0;
            while (done < bytes.size()) {
                const ssize_t n = ::write(master_, bytes.constData() + done, size_t(bytes.size() - done));
                if (n <= 0) return;
                done += n;
            }
            return;
        }
    }
    writeReady_.notify_one();
}

void PtyPeer::writeLoop() {
    runAheadOfTheMachine();
    auto lineFree = Clock::now();
    std::unique_lock lock(writeMutex_);
    while (!stop_) {
        if (outQueue_.empty()) {
            writeReady_.wait_for(lock, std::chrono::milliseconds(20));
            continue;
        }
        const Outgoing out = outQueue_.front();
        outQueue_.pop_front();
        writing_ = true;
        const int baud = pace();
        lock.unlock();
        // Timed from when the byte could start, not from when this thread got
        // round to it: a late wake must not stretch every byte after it.
        lineFree = std::max(lineFree, out.queuedAt) + byteTime(baud);
        std::this_thread::sleep_until(lineFree);
        [[maybe_unused]] const ssize_t n = ::write(master_, &out.byte, 1);
        lock.lock();
        writing_ = false;
        if (outQueue_.empty()) sentAll_.notify_all();
    }
    outQueue_.clear();
    sentAll_.notify_all();
}

bool PtyPeer::waitSent(int timeoutMs) const {
    std::unique_lock lock(writeMutex_);
    return sentAll_.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                             [this] { return stop_ || (outQueue_.empty() && !writing_); });
}

QByteArray PtyPeer::received() const {
    std::lock_guard lock(mutex_);
    return received_;
}

void PtyPeer::clearReceived() {
    std::lock_guard lock(mutex_);
    received_.clear();
}

bool PtyPeer::waitReceived(int n, int timeoutMs) const {
    const auto end = Clock::now() + std::chrono::milliseconds(timeoutMs);
    while (Clock::now() < end) {
        {
            std::lock_guard lock(mutex_);
            if (received_.size() >= n) return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    std::lock_guard lock(mutex_);
    return received_.size() >= n;
}

void PtyPeer::run() {
    runAheadOfTheMachine();
    auto wireFree = Clock::now();
    char buf[256];
    while (!stop_) {
        pollfd p{master_, POLLIN, 0};
        if (::poll(&p, 1, 20) <= 0) continue;
        // Busy from before the read, so that waitIdle never sees the bytes
        // neither waiting in the line nor being handled.
        busy_ = true;
        if (!(p.revents & POLLIN)) {
            busy_ = false;
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
            continue;
        }
        const auto woke = Clock::now();
        const ssize_t n = ::read(master_, buf, sizeof buf);
        if (n <= 0) {
            busy_ = false;
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
            continue;
        }
        ++readsOnThisThread;
        for (ssize_t i = 0; i < n; ++i) {
            const int baud = pace();
            if (baud > 0) {
                // A byte is only complete once the line has carried all its
                // bits. Bytes read together were written together and follow
                // each other on the line, however long the one before took
                // to handle here.
                wireFree = (i == 0 ? std::max(wireFree, woke) : wireFree) + byteTime(baud);
                std::this_thread::sleep_until(wireFree);
            }
            std::function<void(uint8_t)> cb;
            {
                std::lock_guard lock(mutex_);
                received_ += buf[i];
                cb = onByte_;
            }
            if (cb) cb(uint8_t(buf[i]));
        }
        busy_ = false;
    }
}

bool PtyPeer::waitIdle(int timeoutMs) const {
    // The kernel hands bytes from the program's side to ours from a worker
    // thread of its own, a little later than the program's write returns; on
    // a busy machine that worker can come round long after any quiet spell we
    // could afford to wait. Polling our end first waits for that hand-over to
    // finish, so what FIONREAD then counts is everything written so far. The
    // quiet spell is for a program that answers our replies by itself.
    constexpr auto Quiet = std::chrono::milliseconds(40);
    const auto end = Clock::now() + std::chrono::milliseconds(timeoutMs);
    auto idleSince = Clock::now();
    bool idle = false;
    for (;;) {
        int waiting = 0;
        if (master_ < 0) return false;
        pollfd p{master_, POLLIN, 0};
        ::poll(&p, 1, 0);
        if (::ioctl(master_, FIONREAD, &waiting) != 0) return false;
        const auto now = Clock::now();
        if (waiting == 0 && !busy_) {
            if (!idle) idleSince = now;
            idle = true;
            if (now - idleSince >= Quiet) return true;
        } else {
            idle = false;
        }
        if (now >= end) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}
} // namespace dovrane::test
