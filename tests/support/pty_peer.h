#pragma once
// The far end of a pseudo-terminal, on its own thread: what the program writes
// to the device arrives here, and what this writes arrives at the program.
#include <QByteArray>
#include <QString>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

namespace dovrane::test {

class PtyPeer {
public:
    PtyPeer();
    ~PtyPeer();
    PtyPeer(const PtyPeer&) = delete;
    PtyPeer& operator=(const PtyPeer&) = delete;

    // Opens the pair in raw mode and starts the reader thread.
    bool start();
    void stop();
    // The name the program is given for the device: a symbolic link of this
    // peer's own, in a folder of this process's own, that leads to the
    // pseudo-terminal while the peer runs and nowhere once it has stopped.
    // A pseudo-terminal's number goes to whoever asks next once it is
    // closed, often another test process; a name no other process is given
    // cannot lead a test to another's device.
    QString devicePath() const { return linkPath_.isEmpty() ? slavePath_ : linkPath_; }
    // Gives the device another such name (a file in the test's own folder),
    // in place of the peer's own.
    void setLinkPath(const QString& path);
    // The pseudo-terminal itself ("/dev/pts/N").
    QString ptyPath() const { return slavePath_; }

    // With a baud rate set, bytes are taken and sent no faster than the line
    // would carry them (10 bits a byte); 0 means as fast as possible, and
    // FollowLine the rate the program set on its end of the line.
    static constexpr int FollowLine = -1;
    void setBaud(int baud) { baud_ = baud; }
    int baud() const { return baud_; }

    // Called on the peer's thread for each byte the program sent.
    void setOnByte(std::function<void(uint8_t)> onByte);
    // Sends bytes to the program. Paced bytes are queued and go out in order
    // from a thread of their own, so taking bytes in goes on meanwhile.
    void send(const QByteArray& bytes);
    // Waits up to timeoutMs until everything sent so far has gone out on the
    // line; false on time-out.
    bool waitSent(int timeoutMs) const;

    // Everything received so far (for tests that only listen).
    QByteArray received() const;
    void clearReceived();
    // Waits up to timeoutMs until n bytes have been received in all.
    bool waitReceived(int n, int timeoutMs) const;
    // Waits up to timeoutMs until every byte the program has written so far
    // has been taken and handled, and the line has stayed quiet a moment;
    // false on time-out.
    bool waitIdle(int timeoutMs) const;

private:
    void run();
    void writeLoop();
    int pace() const;
    int master_ = -1;
    int slaveKeep_ = -1;
    QString slavePath_;
    QString linkPath_;
    std::atomic<int> baud_{0};
    std::atomic<bool> stop_{false};
    std::atomic<bool> busy_{false};
    std::thread thread_;
    mutable std::mutex mutex_;
    std::function<void(uint8_t)> onByte_;
    QByteArray received_;
    mutable std::mutex writeMutex_;
    std::condition_variable writeReady_;
    mutable std::condition_variable sentAll_;
    // Bytes waiting to go out, each with the moment it was handed over: a byte
    // handed over while the one before is still on the line follows it at
    // once, as a UART sends, however late this thread wakes.
    struct Outgoing {
        char byte;
        std::chrono::steady_clock::time_point queuedAt;
    };
    std::deque<Outgoing> outQueue_;
    bool writing_ = false;  // a byte taken from outQueue_ is still on its way
    std::thread writer_;
};

} // namespace dovrane::test
