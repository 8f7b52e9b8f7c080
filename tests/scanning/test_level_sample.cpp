// The level sample of the measurement tools against each simulated receiver
// through the real port: the attenuator correction, the S-meter following the
// tuned frequency, and a receiver that stops answering giving no sample.
#include "drivers/ar7030/ar7030_protocol.h"
#include "drivers/ar7030/clsar7030.h"
#include "drivers/model_tables.h"
#include "drivers/nrd535/clsnrd535.h"
#include "drivers/nrd545/clsnrd545.h"
#include "drivers/rx320/clsrx320.h"
#include "platform/commport.h"
#include "scanning/level_sample.h"
#include "shell/globals.h"
#include "sim/ar7030_sim.h"
#include "sim/nrd535_sim.h"
#include "sim/nrd545_sim.h"
#include "sim/rx320_sim.h"
#include "support/test_env.h"

#include <cmath>
#include <type_traits>

namespace dovrane::test {
namespace {

TEST(LevelCorrection, TheTableOfTheFourReceivers) {
    const struct {
        int rxType;
        float smeter;
        int att;
        double level;
    } cases[] = {
        {1, 0, 0, -10.0 / 6},  {1, 0, 1, 0},        {1, 9, 5, 9 + 40.0 / 6}, {1, 7.4f, 3, 7.4 + 20.0 / 6},
        {2, 9, 0, 9},          {2, 9, 1, 9 + 20.0 / 6},
        {4, 0, 1, 20.0 / 6},   {4, 19, 1, 19 + 20.0 / 6},
        {3, 9, 1, 9},          {3, 12.5f, 5, 12.5},   // the RX-320 is never corrected
    };
    for (const auto& c : cases)
        EXPECT_NEAR(correctedLevel(c.rxType, c.smeter, c.att), c.level, 1e-5) << c.rxType << " att " << c.att;
    EXPECT_NEAR(correctedLevel(1, 0, 0), -1.667, 5e-4);

    EXPECT_EQ(levelscale::levelY(0, 200, 9), 200);
    EXPECT_EQ(levelscale::levelY(9, 200, 9), 119);
    EXPECT_EQ(levelscale::levelY(-1.667, 200, 9), 215);
    EXPECT_STREQ(levelscale::AxisLabels[3].text, "+24");
    EXPECT_EQ(levelscale::AxisLabels[3].level, 13.0f);
}

// One simulator per model on a pty, the real port at the model's line settings.
template <class Sim, int Type>
class SamplerOn : public AppTest {
public:
    void SetUp() override {
        AppTest::SetUp();
        ASSERT_TRUE(sim.start());
        port.setDeviceName(sim.devicePath());
        ASSERT_TRUE(port.setSettings(QLatin1String(Type == 2 || Type == 4 ? "4800,N,8,1" : "1200,N,8,1")));
        ASSERT_TRUE(port.open());
        RxType = Type;
        switch (Type) {
        case 1: initar7030tables(); break;
        case 2: initnrd535tables(); break;
        case 3: initrx320tables(); break;
        default: initnrd545tables(); break;
        }
        dialogs.allow(QStringLiteral("does not answer"));
    }
    void TearDown() override {
        port.close();
        sim.stop();
        AppTest::TearDown();
    }
    // The NRD receivers give their S-meter only while held in remote.
    void hold(LevelSampler& s) {
        if (s.NRD535A()) {
            ASSERT_TRUE(s.NRD535A()->Lockonoff(1));
        }
        if (s.NRD545A()) {
            ASSERT_TRUE(s.NRD545A()->Lockonoff(1));
        }
    }
    void tune(LevelSampler& s, double kHz) {
        if constexpr (std::is_same_v<Sim, sim::Ar7030Sim>) {
            sim.setFrequencyWord(*ar7030::frequencyWord(kHz));
        } else if (s.RX320A()) {
            ASSERT_TRUE(s.RX320A()->FrequencyA(kHz));
        } else if (s.NRD535A()) {
            ASSERT_TRUE(s.NRD535A()->FrequencyA(kHz));
        } else if (s.NRD545A()) {
            ASSERT_TRUE(s.NRD545A()->FrequencyA(kHz));
        }
        ASSERT_TRUE(sim.waitIdle());
    }
    Sim sim;
    CommPort port;
};

template <class Sim>
void setSimAttenuator(Sim& sim, int att);
template <>
void setSimAttenuator(sim::Ar7030Sim& sim, int att) { sim.setReg(0, ar7030::RegAttenuator, uint8_t(att)); }
template <>
void setSimAttenuator(sim::Nrd535Sim& sim, int att) {
    auto v = sim.vfo();
    v.attenuator = att;
    sim.setVfo(v);
}
template <>
void setSimAttenuator(sim::Nrd545Sim& sim, int att) {
    auto v = sim.vfo();
    v.attenuator = att;
    sim.setVfo(v);
}
template <>
void setSimAttenuator(sim::Rx320Sim&, int) {}

using Ar7030Sampler = SamplerOn<sim::Ar7030Sim, 1>;
using Nrd535Sampler = SamplerOn<sim::Nrd535Sim, 2>;
using Rx320Sampler = SamplerOn<sim::Rx320Sim, 3>;
using Nrd545Sampler = SamplerOn<sim::Nrd545Sim, 4>;

TEST_F(Ar7030Sampler, PlusTenDecibelsWithTheMeterAtZeroGivesMinusOnePointSixSix) {
    LevelSampler s(1, &port);
    const struct {
        int att, whole, fifths;
        double level;
    } cases[] = {
        {0, 0, 0, -1.667},        // "+10 dB"
        {5, 7, 2, 7.4 + 6.667},   // "-40 dB"
        {1, 9, 0, 9},             // "0 dB"
    };
    for (const auto& c : cases) {
        sim.setReg(0, ar7030::RegAttenuator, uint8_t(c.att));
        sim.setReg(0, ar7030::RegSmeterWhole, uint8_t(c.whole));
        sim.setReg(0, ar7030::RegSmeterFifths, uint8_t(c.fifths));
        ASSERT_TRUE(s.beginRun());
        EXPECT_EQ(s.attenuatorPosition(), c.att);
        const auto v = s.sample();
        ASSERT_TRUE(v);
        EXPECT_NEAR(*v, c.level, 1e-3) << "att " << c.att;
    }
    // The position is read once per run: a change meanwhile is not seen.
    sim.setReg(0, ar7030::RegAttenuator, 0);
    EXPECT_NEAR(*s.sample(), 9, 1e-3);
}

TEST_F(Nrd535Sampler, MinusTwentyDecibelsAddsThreePointThree) {
    LevelSampler s(2, &port);
    hold(s);
    sim.setSmeterRaw(100);   // (137 - 100) / 4 = 9.25
    for (int att : {0, 1}) {
        setSimAttenuator(sim, att);
        ASSERT_TRUE(s.beginRun());
        const auto v = s.sample();
        ASSERT_TRUE(v);
        EXPECT_NEAR(*v, 9.25 + att * 20.0 / 6, 1e-3) << att;
    }
}

TEST_F(Nrd545Sampler, MinusTwentyDecibelsAddsThreePointThree) {
    LevelSampler s(4, &port);
    hold(s);
    sim.setSmeterRaw(82);   // (82 - 28) / 6 = 9
    for (int att : {0, 1}) {
        setSimAttenuator(sim, att);
        ASSERT_TRUE(s.beginRun());
        const auto v = s.sample();
        ASSERT_TRUE(v);
        EXPECT_NEAR(*v, 9 + att * 20.0 / 6, 1e-3) << att;
    }
}

TEST_F(Rx320Sampler, IsNeverCorrected) {
    LevelSampler s(3, &port);
    sim.setSmeterReading(620);
    ASSERT_TRUE(s.beginRun());   // nothing to read
    EXPECT_EQ(s.attenuatorPosition(), 0);
    const auto v = s.sample();
    ASSERT_TRUE(v);
    EXPECT_NEAR(*v, 1.4 * std::log(620.0), 1e-3);
}

// The S-meter follows the tuned frequency; a receiver that stops answering
// gives no sample, never a 0.
template <class Fixture>
void followsTheBandThenStops(Fixture& t, int repliesPerSample) {
    LevelSampler s(RxType, &t.port);
    t.hold(s);
    setSimAttenuator(t.sim, 0);
    t.sim.setSmeterCurve([](double kHz) { return std::abs(kHz - 9500) < 2 ? 9.0 : 3.0; });
    ASSERT_TRUE(s.beginRun());
    const double tolerance = 0.35;   // the receivers' own steps
    for (const auto& [kHz, level] : {std::pair{9500.0, 9.0}, std::pair{9600.0, 3.0}, std::pair{9500.0, 9.0}}) {
        t.tune(s, kHz);
        const auto v = s.sample();
        ASSERT_TRUE(v) << kHz;
        EXPECT_NEAR(*v - correctedLevel(RxType, 0, s.attenuatorPosition()), level, tolerance) << kHz;
    }
    t.sim.setStopAnsweringAfter(repliesPerSample);
    EXPECT_TRUE(s.sample());
    EXPECT_FALSE(s.sample()) << "no answer is no sample";
    EXPECT_FALSE(s.sample());
    t.sim.setStopAnsweringAfter(-1);
    EXPECT_TRUE(s.sample()) << "answering again";
}

TEST_F(Ar7030Sampler, FollowsTheBandThenStops) {
    sim.setClockRunning(false);
    followsTheBandThenStops(*this, 2);
}
TEST_F(Nrd535Sampler, FollowsTheBandThenStops) { followsTheBandThenStops(*this, 1); }
TEST_F(Rx320Sampler, FollowsTheBandThenStops) { followsTheBandThenStops(*this, 1); }
TEST_F(Nrd545Sampler, FollowsTheBandThenStops) { followsTheBandThenStops(*this, 1); }

TEST(LevelSamplerNoReceiver, EverySampleIsZeroAndNothingIsRead) {
    LevelSampler s(0, nullptr);
    EXPECT_TRUE(s.beginRun());
    EXPECT_EQ(s.sample(), 0.0f);
    EXPECT_EQ(s.AR7030A(), nullptr);
}

} // namespace
} // namespace dovrane::test
