#include "platform/commport.h"
#include "support/pty_peer.h"
#include "support/test_env.h"
#include "shell/globals.h"

#include <QElapsedTimer>
#include <QFile>

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
