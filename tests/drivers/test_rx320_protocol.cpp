// The RX-320 encoder's arithmetic on its own: the pieces a wire test cannot
// pin down value by value.
#include "drivers/model_tables.h"
#include "drivers/rx320/rx320_protocol.h"

#include <gtest/gtest.h>

namespace dovrane {
namespace {

TEST(Rx320Protocol, CorrectionIsTheLineThroughBothPointsTakenDown) {
    // c5 = 100 Hz at 5 MHz, c15 = 300 Hz at 15 MHz, continued past both ends.
    EXPECT_EQ(rx320::correctionHz(100e3, 100, 300), 2);
    EXPECT_EQ(rx320::correctionHz(10e6, 100, 300), 200);
    EXPECT_EQ(rx320::correctionHz(15e6, 100, 300), 300);
    EXPECT_EQ(rx320::correctionHz(20e6, 100, 300), 400);
    // Taken down, not to the nearest: -20 + 60 * 0.01 = -19.4 -> -20.
    EXPECT_EQ(rx320::correctionHz(5.1e6, -20, 40), -20);
    EXPECT_EQ(rx320::correctionHz(7e6, 0, 0), 0);
}

TEST(Rx320Protocol, AttenuationCoversTheLevelsAndCannotLeaveItsByte) {
    EXPECT_EQ(rx320::attenuation(0), 63);
    EXPECT_EQ(rx320::attenuation(50), 18);
    EXPECT_EQ(rx320::attenuation(97), 1);
    EXPECT_EQ(rx320::attenuation(98), 0);
    EXPECT_EQ(rx320::attenuation(99), 0);
    int previous = 63;
    for (int v = 0; v <= 99; ++v) {
        const int att = rx320::attenuation(v);
        EXPECT_LE(att, previous) << "louder level gave more attenuation at " << v;
        EXPECT_GE(att, 0);
        previous = att;
    }
    // Levels beyond 0..99 are taken to the nearer end, never wrapped or NaN.
    EXPECT_EQ(rx320::attenuation(331), 0);
    EXPECT_EQ(rx320::attenuation(400), 0);
    EXPECT_EQ(rx320::attenuation(40000), 0);
    EXPECT_EQ(rx320::attenuation(-1), 63);
    EXPECT_EQ(rx320::attenuation(-40000), 63);
}

TEST(Rx320Protocol, SmeterReadingIsUnsignedAndMalformedRepliesAreRejected) {
    auto reply = [](int hi, int lo) {
        QByteArray r("X");
        r += char(hi);
        r += char(lo);
        r += '\r';
        return r;
    };
    EXPECT_NEAR(*rx320::smeterValue(reply(1, 0)), 7.763f, 0.001f);
    EXPECT_EQ(*rx320::smeterValue(reply(0, 1)), 0.0f);
    EXPECT_EQ(*rx320::smeterValue(reply(0, 0)), 0.0f);
    EXPECT_NEAR(*rx320::smeterValue(reply(0x7F, 0xFF)), 14.556f, 0.001f);
    // A high byte of 128 and up is a strong signal, above the 32767 reading.
    EXPECT_GT(*rx320::smeterValue(reply(0x80, 0x00)), *rx320::smeterValue(reply(0x7F, 0xFF)));
    EXPECT_NEAR(*rx320::smeterValue(reply(0xFF, 0xFF)), 15.527f, 0.001f);

    EXPECT_FALSE(rx320::smeterValue(QByteArray("X\x01")));
    EXPECT_FALSE(rx320::smeterValue(QByteArray()));
    EXPECT_FALSE(rx320::smeterValue(QByteArray("Y\x01\x00\r", 4)));
    EXPECT_FALSE(rx320::smeterValue(QByteArray("X\x01\x00Z", 4)));
}

TEST(Rx320Protocol, FilterTableAgreesWithThePanelTexts) {
    redimBwTexts(33);
    initrx320tables();
    ASSERT_EQ(BwTexts.size(), 34);
    for (int i = 0; i <= 33; ++i) EXPECT_EQ(BwTexts[i], rx320::filterWidthText(i)) << "filter " << i;
    EXPECT_EQ(rx320::filterWidthText(33), "8000");
    EXPECT_EQ(rx320::filterWidthText(34), "");
    resetModelTables();
}

TEST(Rx320Protocol, FactorsGiveBackTheAdjustedFrequency) {
    // Coarse * 2500 + Fine / 5.46 is Ar, for every remainder of 2500.
    for (int rem = 0; rem < 2500; ++rem) {
        rx320::TuningInput in;
        in.mode = rx320::AM;
        in.freqKHz = (7000000.0 + rem + 1250) / 1000;   // A = 7000000 + rem
        const auto t = rx320::tuningFactors(in);
        ASSERT_TRUE(t);
        const double ar = (t->coarse - 18000) * 2500.0 + t->fine / 5.46;
        EXPECT_NEAR(ar, 7000000.0 + rem, 1e-6);
        // The six bytes carry Fine to within one Fine unit, even where its low
        // part rounds up to 256 and cannot carry.
        const QByteArray cmd = rx320::tuningCommand(*t);
        const int fineSent = uint8_t(cmd[3]) * 256 + uint8_t(cmd[4]);
        EXPECT_LE(std::abs(fineSent - t->fine), 1.0) << rem;
    }
}

} // namespace
} // namespace dovrane
