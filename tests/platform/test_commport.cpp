#include "platform/commport.h"

#include <sys/sysmacros.h>
#include "support/pty_peer.h"
#include "support/test_env.h"
#include "shell/globals.h"

#include <QElapsedTimer>
#include <QFile>
#include <chrono>
#include <memory>
#include <sys/sysmacros.h>
#include <thread>
#include <fcntl.h>
#include <sys/inotify.h>
#include <unistd.h>
#include <vector>

using namespace dovrane;
using dovrane::test::AppTest;
using dovrane::test::PtyPeer;

namespace {

QByteArray everyByte() {
    QByteArray all;
    for (int i = 0; i < 256; ++i) all += char(i);
    return all;
}

class CommPortTest : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        ASSERT_TRUE(peer.start());
        port.setDeviceName(peer.devicePath());
        ASSERT_TRUE(port.setSettings(QStringLiteral("1200,N,8,1")));
        ASSERT_TRUE(port.open()) << port.errorString().toStdString();
    }
    PtyPeer peer;
    CommPort port;
};

} // namespace

TEST_F(CommPortTest, EveryByteValueCrossesBothWaysUnchanged) {
    const QByteArray all = everyByte();
    ASSERT_TRUE(port.write(all));
    ASSERT_TRUE(peer.waitReceived(256, 2000));
    EXPECT_EQ(peer.received(), all);

    peer.send(all);
    EXPECT_EQ(port.readExactly(256, 2000), all);
    EXPECT_EQ(port.inBufferCount(), 0);
}

TEST_F(CommPortTest, DiscardDropsWhatCameBeforeAndReadsHonourTheirDeadline) {
    peer.send(QByteArray("late\r"));
    ASSERT_TRUE(port.waitForBytes(5, 1000));
    port.discardInput();
    EXPECT_EQ(port.inBufferCount(), 0);

    QElapsedTimer t;
    t.start();
    EXPECT_TRUE(port.readExactly(3, 100).isEmpty());
    EXPECT_TRUE(port.readUntil('\r', 100).isEmpty());
    EXPECT_LT(t.elapsed(), 1000);

    // A partial reply stays waiting after a readUntil time-out, and completes later.
    peer.send(QByteArray("AB"));
    EXPECT_TRUE(port.readUntil('\r', 100).isEmpty());
    peer.send(QByteArray("C\rD"));
    EXPECT_EQ(port.readUntil('\r', 1000), QByteArray("ABC\r"));
    EXPECT_EQ(port.readAll(), QByteArray("D"));
}

TEST_F(CommPortTest, ReceivedSignalComesQueuedAfterTheCurrentWork) {
    int signals_ = 0;
    QObject::connect(&port, &CommPort::received, [&] { ++signals_; });
    peer.send(QByteArray("F0710000\r"));
    ASSERT_TRUE(port.waitForBytes(9, 1000));
    EXPECT_EQ(signals_, 0);   // not inside the wait
    pump(50);
    EXPECT_GE(signals_, 1);
    EXPECT_EQ(port.readAll(), QByteArray("F0710000\r"));
}

TEST_F(AppTest, OpeningAMissingDeviceNamesIt) {
    CommPort port;
    port.setDeviceName(QStringLiteral("/dev/does-not-exist-7"));
    EXPECT_FALSE(port.open());
    EXPECT_FALSE(port.isOpen());
    EXPECT_TRUE(port.errorString().contains(QLatin1String("/dev/does-not-exist-7")));
    EXPECT_FALSE(port.write(QByteArray("x")));
    EXPECT_TRUE(port.readExactly(1, 10).isEmpty());
}

TEST_F(AppTest, PortNumbersMapThroughSerialportsIni) {
    EXPECT_EQ(serialDeviceForPort(DataFolder, 1), QStringLiteral("/dev/ttyS0"));
    EXPECT_EQ(serialDeviceForPort(DataFolder, 5), QStringLiteral("/dev/ttyS4"));
    ASSERT_TRUE(setSerialDeviceForPort(DataFolder, 3, QStringLiteral("/dev/ttyUSB0")));
    EXPECT_EQ(serialDeviceForPort(DataFolder, 3), QStringLiteral("/dev/ttyUSB0"));
    EXPECT_EQ(serialDeviceForPort(DataFolder, 2), QStringLiteral("/dev/ttyS1"));
    EXPECT_EQ(readDataFile(QStringLiteral("serialports.ini")),
              QByteArray("/dev/ttyS0\r\n/dev/ttyS1\r\n/dev/ttyUSB0\r\n/dev/ttyS3\r\n/dev/ttyS4\r\n"));
    EXPECT_FALSE(setSerialDeviceForPort(DataFolder, 6, QStringLiteral("/dev/x")));

    CommPort port;
    port.setDataFolder(DataFolder);
    port.setCommPort(3);
    EXPECT_EQ(port.deviceName(), QStringLiteral("/dev/ttyUSB0"));
    EXPECT_FALSE(port.setSettings(QStringLiteral("fast")));
    EXPECT_EQ(port.settings(), QStringLiteral("1200,N,8,1"));
}

// The simulated receivers stand behind this pacing: a line slower than the
// wire would make every timing figure of a driver look worse than it is, and
// one faster would hide the faults that real line speed brings.
TEST_F(CommPortTest, APacedLineTakesTheWiresTimeForABlockEachWay) {
    constexpr int Baud = 38400;
    // Long enough that one late wake of a busy machine (up to 150 ms) stays
    // within the margin, while a delay carried over to every byte does not.
    constexpr int Bytes = 3840;
    const double wireMs = Bytes * 10 * 1000.0 / Baud;   // 1000 ms
    ASSERT_TRUE(port.setSettings(QStringLiteral("38400,N,8,1")));
    peer.setBaud(Baud);
    const QByteArray block(Bytes, 'x');

    QElapsedTimer t;
    t.start();
    ASSERT_TRUE(port.write(block));
    ASSERT_TRUE(peer.waitReceived(Bytes, 5000));
    const double inMs = t.nsecsElapsed() / 1e6;

    t.restart();
    peer.send(block);
    ASSERT_EQ(port.readExactly(Bytes, 5000), block);
    const double outMs = t.nsecsElapsed() / 1e6;

    for (const double ms : {inMs, outMs}) {
        EXPECT_GE(ms, wireMs * 0.99);
        // Room for one late wake at the end; a delay that carried over to
        // every byte after it would add far more.
        EXPECT_LE(ms, wireMs * 1.15);
    }
}

namespace {

// N of "/dev/pts/N"; -1 for any other name.
int ptyNumber(const QString& path) {
    static const QString prefix = QStringLiteral("/dev/pts/");
    bool ok = false;
    const int n = path.startsWith(prefix) ? path.mid(prefix.size()).toInt(&ok) : -1;
    return ok ? n : -1;
}

int ptyNumber(int master) {
    char name[128] = {};
    return ptsname_r(master, name, sizeof name) == 0 ? ptyNumber(QString::fromLocal8Bit(name)) : -1;
}

// Starts `peer` on the pseudo-terminal `ptyPath` once its number is free
// again, as the kernel hands it out by chance. The kernel gives the lowest
// free number: the free ones below it are held for a moment, so that the
// next one made is it. While another process has it, the round is tried
// again a little later.
bool startOnThePtyOnceFree(PtyPeer& peer, const QString& ptyPath, int rounds = 1000) {
    const int wanted = ptyNumber(ptyPath);
    if (wanted < 0) return false;
    for (int round = 0; round < rounds; ++round) {
        std::vector<int> held;
        int next = -1;
        for (;;) {
            const int fd = posix_openpt(O_RDWR | O_NOCTTY);
            if (fd < 0) break;
            next = ptyNumber(fd);
            if (next >= 0 && next < wanted) {
                held.push_back(fd);
                continue;
            }
            ::close(fd);
            break;
        }
        bool started = false;
        if (next == wanted) {
            started = peer.start() && peer.ptyPath() == ptyPath;
            if (!started) peer.stop();
        }
        for (const int fd : held) ::close(fd);
        if (started) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
}

} // namespace

// What tells the device a name leads to from another given that name later:
// a pseudo-terminal's number is handed out again once it is closed, and a
// link (a serial adapter's stable name) can lead to any device.
TEST_F(AppTest, ADeviceIsKnownByWhatItIsNotByItsName) {
    PtyPeer a;
    PtyPeer b;
    ASSERT_TRUE(a.start());
    ASSERT_TRUE(b.start());
    const QString link = dataPath(QStringLiteral("ttyLink"));
    a.setLinkPath(link);
    const DeviceIdentity first = identifyDevice(a.ptyPath());
    ASSERT_TRUE(first.known());
    const QString firstPty = a.ptyPath();
    a.stop();
    // The number a had is free again and is handed out again, with the same
    // device number. The kernel stamps a node to its clock tick (a few ms):
    // one made later than that tells apart.
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    PtyPeer again;
    again.setLinkPath(link);
    ASSERT_TRUE(startOnThePtyOnceFree(again, firstPty)) << "the number " << firstPty.toStdString() << " did not come back";
    ASSERT_EQ(again.ptyPath(), firstPty);
    ASSERT_EQ(identifyDevice(link).rdev, first.rdev) << "the number came back as another device number";

    struct Case {
        const char* what;
        DeviceIdentity one;
        DeviceIdentity other;
        bool same;
    };
    const Case cases[] = {
        {"the same device through a link and its own name", identifyDevice(link), identifyDevice(again.ptyPath()),
         true},
        {"two devices at once", identifyDevice(b.ptyPath()), identifyDevice(again.ptyPath()), false},
        {"a device gone and the one made after it under the same name", first, identifyDevice(link), false},
        {"a name that leads nowhere", identifyDevice(dataPath(QStringLiteral("nothing"))),
         identifyDevice(dataPath(QStringLiteral("nothing"))), false},
        {"a file that is no device", identifyDevice(dataPath(QStringLiteral("."))),
         identifyDevice(dataPath(QStringLiteral("."))), false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.one.sameDevice(c.other), c.same) << c.what;
        EXPECT_EQ(c.other.sameDevice(c.one), c.same) << c.what;
    }
    EXPECT_TRUE(identifyDevice(link).sameDevice(identifyDevice(link)));
}

// A USB adapter is known by its serial number where it gives one; a device
// without one by its device number (and a pseudo-terminal by when it was
// made). One with a serial number is never one without, whatever their
// numbers: every first USB serial adapter is 188:0.
TEST(DeviceIdentityTest, ASerialNumberAndItsAbsenceTellDevicesApart) {
    const quint64 usb0 = makedev(188, 0);
    const quint64 usb1 = makedev(188, 1);
    auto id = [](quint64 rdev, const char* serial, qint64 madeNs = 0) {
        DeviceIdentity d;
        d.rdev = rdev;
        d.madeNs = madeNs;
        d.usbSerial = QLatin1String(serial);
        return d;
    };
    struct Case {
        const char* what;
        DeviceIdentity one;
        DeviceIdentity other;
        bool same;
    };
    const Case cases[] = {
        {"one adapter plugged back in under another number", id(usb0, "0403:6001:A1"), id(usb1, "0403:6001:A1"), true},
        {"two adapters under one number", id(usb0, "0403:6001:A1"), id(usb0, "0403:6001:B2"), false},
        {"an adapter with a serial number and one without, one number", id(usb0, "0403:6001:A1"), id(usb0, ""), false},
        {"two without serial numbers, one number", id(usb0, ""), id(usb0, ""), true},
        {"two without serial numbers, two numbers", id(usb0, ""), id(usb1, ""), false},
        {"a pseudo-terminal and one made later under its number", id(makedev(136, 3), "", 100),
         id(makedev(136, 3), "", 200), false},
        {"no device", id(0, ""), id(0, ""), false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.one.sameDevice(c.other), c.same) << c.what;
        EXPECT_EQ(c.other.sameDevice(c.one), c.same) << c.what;
    }
}

// A port held to one device opens again by itself only on that device: the
// name now leading to another, a write reaches nobody, and the port's own
// open (the user's Go) is not held back.
TEST_F(AppTest, APortHeldToItsDeviceDoesNotOpenAnotherGivenItsName) {
    const QString link = dataPath(QStringLiteral("ttyRX"));
    auto first = std::make_unique<PtyPeer>();
    first->setLinkPath(link);
    ASSERT_TRUE(first->start());
    CommPort port;
    port.setDeviceName(link);
    ASSERT_TRUE(port.open()) << port.errorString().toStdString();
    const DeviceIdentity owed = port.deviceIdentity();
    ASSERT_TRUE(owed.sameDevice(identifyDevice(first->ptyPath())));
    first->stop();
    ASSERT_FALSE(port.write(QByteArray("x")));
    ASSERT_FALSE(port.isOpen());
    int reopens = 0;
    QObject::connect(&port, &CommPort::reopened, [&] { ++reopens; });

    PtyPeer other;
    other.setLinkPath(link);
    ASSERT_TRUE(other.start());
    // Not even opened for a moment: that alone would take the other
    // device's lock and line settings.
    const int watch = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    ASSERT_GE(watch, 0);
    ASSERT_GE(inotify_add_watch(watch, QFile::encodeName(other.ptyPath()).constData(), IN_OPEN), 0);
    const auto opensSeen = [watch] {
        int opens = 0;
        alignas(inotify_event) char events[4096];
        for (ssize_t n; (n = ::read(watch, events, sizeof events)) > 0;)
            for (ssize_t at = 0; at < n;) {
                const auto* e = reinterpret_cast<const inotify_event*>(events + at);
                opens += (e->mask & IN_OPEN) != 0;
                at += ssize_t(sizeof(inotify_event) + e->len);
            }
        return opens;
    };
    port.setReopenOnly(owed);
    EXPECT_FALSE(port.write(QByteArray("H1\r")));
    EXPECT_FALSE(port.ensureOpen());
    EXPECT_FALSE(port.isOpen());
    EXPECT_EQ(reopens, 0);
    EXPECT_FALSE(other.waitReceived(1, 200)) << "the held port wrote to another device";
    EXPECT_EQ(opensSeen(), 0) << "the held port opened another device";

    // Held to the device now there, or not held at all, the port opens.
    port.setReopenOnly(identifyDevice(link));
    EXPECT_TRUE(port.ensureOpen());
    EXPECT_GE(opensSeen(), 1) << "an open the watch does not see";
    ::close(watch);
    port.close();
    port.setReopenOnly(owed);
    ASSERT_TRUE(port.open()) << "the user's own open was held back";
    EXPECT_TRUE(port.deviceIdentity().sameDevice(identifyDevice(other.ptyPath())));
    port.setReopenOnly(std::nullopt);
    EXPECT_TRUE(port.write(QByteArray("R0\r")));
    EXPECT_TRUE(other.waitReceived(3, 2000));
    EXPECT_EQ(other.received(), QByteArray("R0\r"));
    EXPECT_EQ(reopens, 1);
}
