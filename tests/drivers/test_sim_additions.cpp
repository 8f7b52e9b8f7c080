// What the simulated receivers offer the tools' tests: RTTY text sent unasked
// in chunks, and the band of carriers rxsim plays by default.
#include "platform/commport.h"
#include "sim/nrd535_sim.h"
#include "sim/nrd545_sim.h"
#include "support/test_env.h"

#include <QElapsedTimer>
#include <thread>

namespace dovrane::test {
namespace {

template <class Sim>
class RttySim : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        ASSERT_TRUE(sim.start());
        port.setDeviceName(sim.devicePath());
        ASSERT_TRUE(port.setSettings(QStringLiteral("4800,N,8,1")));
        ASSERT_TRUE(port.open());
    }
    void TearDown() override {
        port.close();
        sim.stop();
        AppTest::TearDown();
    }
    // Reads until n bytes came or the time is up; counts the reads that got something.
    QByteArray collect(int n, int* reads) {
        QByteArray got;
        QElapsedTimer t;
        t.start();
        *reads = 0;
        while (got.size() < n && t.elapsed() < 3000) {
            if (port.waitForBytes(1, 50)) {
                got += port.readAll();
                ++*reads;
            }
        }
        return got;
    }
    Sim sim;
    CommPort port;
};

using Rtty535 = RttySim<sim::Nrd535Sim>;
using Rtty545 = RttySim<sim::Nrd545Sim>;

TEST_F(Rtty545, TextArrivesWholeInChunks) {
    const QByteArray text("RYRYRY CQ CQ DE DK0XYZ\r\nTEST 123 \xb0\x7f END\r");
    sim.setBaud(4800);
    // The receiver sends on its own while the program reads.
    std::thread sender([&] { sim.sendRttyText(text, 7, 20); });
    int reads = 0;
    EXPECT_EQ(collect(int(text.size()), &reads), text);
    sender.join();
    EXPECT_GE(reads, 3) << "the text came in pieces";
}

TEST_F(Rtty535, AReceiverThatStoppedAnsweringSendsNoText) {
    sim.setStopAnsweringAfter(2);
    sim.sendRttyText("ABCDEFGHIJKL", 4, 0);
    int reads = 0;
    EXPECT_EQ(collect(12, &reads), QByteArray("ABCDEFGH"));
}

TEST(BandCarriers, CarriersStandAboveTheNoiseFloor) {
    const auto curve = sim::SimReceiver::bandCarriers();
    const struct {
        double kHz;
        double atLeast, atMost;
    } points[] = {{9500, 16.9, 17.1}, {9505, 8, 10}, {9530, 1.5, 1.5}, {6070, 14.9, 15.1}, {100, 1.5, 1.5}};
    for (const auto& p : points) {
        EXPECT_GE(curve(p.kHz), p.atLeast) << p.kHz;
        EXPECT_LE(curve(p.kHz), p.atMost) << p.kHz;
    }
}

} // namespace
} // namespace dovrane::test
