#pragma once
// A driver on the real port, talking to a simulated AR7030 on a pseudo-terminal.
#include "drivers/ar7030/clsar7030.h"
#include "drivers/model_tables.h"
#include "platform/commport.h"
#include "sim/ar7030_sim.h"
#include "support/test_env.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QStringList>
#include <initializer_list>
#include <ostream>
#include <thread>

// Readable texts in failure messages.
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

namespace dovrane::test {

inline QByteArray bytes(std::initializer_list<int> values) {
    QByteArray out;
    for (int v : values) out.append(char(v));
    return out;
}

inline QString hexText(const QByteArray& b) { return QString::fromLatin1(b.toHex(' ')); }

class Ar7030Test : public AppTest {
protected:
    static constexpr int GenerousMs = 3000;
    void SetUp() override {
        AppTest::SetUp();
        // A busy machine may hold the simulator's thread back for a good part
        // of a second; only the tests about deadlines set them short.
        replyTimeouts.ar7030ByteMs = replyTimeouts.ar7030SettleMs = GenerousMs;
        initar7030tables();
        ASSERT_TRUE(sim.start());
        sim.setClockRunning(false);
        port.setDeviceName(sim.devicePath());
        ASSERT_TRUE(port.setSettings(QStringLiteral("1200,N,8,1")));
        ASSERT_TRUE(port.open()) << qPrintable(port.errorString());
        recordEvents();
    }

    void TearDown() override {
        port.close();
        sim.stop();
        EXPECT_EQ(sim.violations(), 0) << "the driver sent a byte that is no AR7030 command";
        AppTest::TearDown();
    }

    // Everything the simulator took in since the last call, once at least
    // `atLeast` bytes are there and the line has gone quiet.
    QByteArray wire(int atLeast = 0) {
        QElapsedTimer t;
        t.start();
        while (sim.bytesReceived().size() < atLeast && t.elapsed() < 2000)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        // Let the simulator act on every byte still on the line (at 1200 baud
        // a run takes a while to cross), and catch anything extra.
        EXPECT_TRUE(sim.waitIdle());
        const QByteArray got = sim.bytesReceived();
        sim.clearBytesReceived();
        return got;
    }

    void recordEvents() {
        auto note = [this](const char* name) {
            return [this, name](auto v) { events << QStringLiteral("%1 %2").arg(QLatin1String(name)).arg(v); };
        };
        QObject::connect(&rx, &clsAR7030::PoweronoffChanged, note("Poweronoff"));
        QObject::connect(&rx, &clsAR7030::AttenuatorChanged, note("Attenuator"));
        QObject::connect(&rx, &clsAR7030::BandwidthChanged, note("Bandwidth"));
        QObject::connect(&rx, &clsAR7030::ModeChanged, note("Mode"));
        QObject::connect(&rx, &clsAR7030::AgcspeedChanged, note("Agcspeed"));
        QObject::connect(&rx, &clsAR7030::FrequencyAChanged,
                         [this](double v) { events << QStringLiteral("FrequencyA %1").arg(v, 0, 'g', 17); });
        QObject::connect(&rx, &clsAR7030::VolumeChanged, note("Volume"));
        QObject::connect(&rx, &clsAR7030::BassChanged, note("Bass"));
        QObject::connect(&rx, &clsAR7030::TrebleChanged, note("Treble"));
        QObject::connect(&rx, &clsAR7030::PassbandshiftChanged, note("Passbandshift"));
        QObject::connect(&rx, &clsAR7030::IfgainChanged, note("Ifgain"));
        QObject::connect(&rx, &clsAR7030::SquelchChanged, note("Squelch"));
        QObject::connect(&rx, &clsAR7030::BeatfreqoscChanged, note("Beatfreqosc"));
        QObject::connect(&rx, &clsAR7030::LeftauxlevelChanged, note("Leftauxlevel"));
        QObject::connect(&rx, &clsAR7030::RightauxlevelChanged, note("Rightauxlevel"));
    }

    sim::Ar7030Sim sim;
    CommPort port;
    clsAR7030 rx{port};
    QStringList events;
};

} // namespace dovrane::test
