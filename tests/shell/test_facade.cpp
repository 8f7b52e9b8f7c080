// The facade without a receiver on the line: the range check of Change2FreqA,
// no receiver at all, and the parser of the NRD dial reports.
#include "facade_rig.h"

#include "drivers/model_tables.h"
#include "shell/globals.h"
#include "support/test_env.h"

namespace dovrane::test {
namespace {

class FacadeTest : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        setOpenPanel(&panel);
        updatetrackingHandler = [this] { ++lookups; };
    }
    void TearDown() override {
        resetFacade();
        AppTest::TearDown();
    }
    void feed(const QByteArray& chunk) { getfreq(term, chunk); }

    RecordingHandlers panel;
    QByteArray term;
    int lookups = 0;
};

TEST_F(FacadeTest, Change2FreqARefusesWhatLiesOutsideTheModelsLimits) {
    RxType = 1;
    initar7030tables();
    for (double f : {0.0, FreqMin - 0.001, FreqMax + 0.001, -5.0}) {
        dialogs.expect(QStringLiteral("Frequency outside range"));
        EXPECT_FALSE(Change2FreqA(f)) << f;
        const dialogs::Box& box = dialogs.shown().back();
        EXPECT_EQ(box.title, QStringLiteral("Input Error"));
        EXPECT_EQ(box.icon, dialogs::Icon::Exclamation);
    }
    EXPECT_TRUE(panel.calls.isEmpty());
}

TEST_F(FacadeTest, WithoutAReceiverNothingHappens) {
    RxType = 0;
    initnorxtables();
    EXPECT_FALSE(Change2FreqA(99999));
    EXPECT_EQ(ConvertRx2mfa(), QString());
    QString letter = QStringLiteral("u");
    SetRx2mfa(letter);
    EXPECT_EQ(letter, QStringLiteral("U")) << "the caller's letter is upper-cased in place";
    EXPECT_EQ(Update2RxFreq(), std::optional<double>(0.0));
    Update4RxFreq();
    EXPECT_TRUE(panel.calls.isEmpty());
    EXPECT_TRUE(dialogs.shown().isEmpty());
}

TEST_F(FacadeTest, DialReportsOfBothNrdModels) {
    RxType = 2;
    // Eight digits of Hz, one more character, CR.
    feed("I014" "00615000" "1\r");
    EXPECT_EQ(TrackFreq, 615);
    EXPECT_EQ(panel.calls, QStringList{QStringLiteral("FrequencyA 615.000")});
    EXPECT_EQ(lookups, 1);
    EXPECT_TRUE(term.isEmpty());

    RxType = 4;
    // Ten digits of Hz (the last eight count) and three characters of AGC.
    feed("I014" "0009500000" "030\r");
    EXPECT_EQ(TrackFreq, 9500);
    EXPECT_EQ(lookups, 2);
}

TEST_F(FacadeTest, DialReportsArriveInPiecesAndTogether) {
    RxType = 2;
    feed("I0140061");
    feed("5000");
    EXPECT_TRUE(panel.calls.isEmpty());
    EXPECT_EQ(lookups, 0);
    feed("1\rI01");
    EXPECT_EQ(TrackFreq, 615);
    EXPECT_EQ(term, QByteArray("I01")) << "the start of the next report waits";
    feed("4" "07000000" "1\r");
    EXPECT_EQ(TrackFreq, 7000);
    // Two reports in one piece: the newer counts.
    feed("I014" "06000000" "1\rI014" "06100000" "1\r");
    EXPECT_EQ(TrackFreq, 6100);
    EXPECT_EQ(panel.calls.size(), 3);
}

TEST_F(FacadeTest, ShortOrGarbledReportsAreIgnored) {
    RxType = 4;
    TrackFreq = 5000;
    for (const char* bad : {"\r", "12\r", "I0149\r", "I0140009x00000030\r", "I01400095 0000030\r"}) {
        feed(bad);
        EXPECT_EQ(TrackFreq, 5000) << bad;
    }
    EXPECT_TRUE(panel.calls.isEmpty());
    EXPECT_EQ(lookups, 5) << "a finished line still updates the tracking list";
    // A garbled line after a good one does not undo it.
    feed("I014" "0009500000" "030\rI01xx\r");
    EXPECT_EQ(TrackFreq, 9500);

    // Noise without any CR never grows the buffer beyond its limit, and the
    // next report still gets through.
    feed(QByteArray(5000, 'x'));
    EXPECT_LE(term.size(), ReceiveBufferLimit);
    feed("I014" "0007000000" "030\r");
    EXPECT_EQ(TrackFreq, 7000);
}

TEST_F(FacadeTest, OtherReceiversDropTheLineButTrackingStillRuns) {
    for (int type : {1, 3}) {
        RxType = type;
        TrackFreq = 1000;
        feed("I014" "00615000" "1\r");
        EXPECT_EQ(TrackFreq, 1000);
        EXPECT_TRUE(term.isEmpty());
    }
    EXPECT_TRUE(panel.calls.isEmpty());
    EXPECT_EQ(lookups, 2);
}

} // namespace
} // namespace dovrane::test
