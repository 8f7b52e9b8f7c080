#include "drivers/model_tables.h"
#include "shell/globals.h"
#include "support/test_env.h"

using namespace dovrane;
using dovrane::test::AppTest;

TEST_F(AppTest, ModelLimitsPerReceiver) {
    struct Row { void (*build)(); double lo, hi; int mem; };
    const Row rows[] = {{initnorxtables, 10, 30000, 99},      {initar7030tables, 10, 32016, 99},
                        {initnrd535tables, 10, 29999.999, 199}, {initrx320tables, 100, 30000, 99},
                        {initnrd545tables, 10, 29999.999, 999}};
    for (const Row& r : rows) {
        r.build();
        EXPECT_EQ(FreqMin, r.lo);
        EXPECT_EQ(FreqMax, r.hi);
        EXPECT_EQ(MaxMemNr, r.mem);
    }
    // 30000 kHz is beyond both NRD receivers.
    initnrd545tables();
    EXPECT_GT(30000.0, FreqMax);
}

TEST_F(AppTest, Nrd535EcssModesOnlyWithTheOption) {
    Settings[12] = 0;
    initnrd535tables();
    EXPECT_TRUE(ModeTexts[7].isEmpty());
    EXPECT_TRUE(ModeTexts[8].isEmpty());
    EXPECT_EQ(ModeTexts[6], QStringLiteral("Fax"));
    Settings[12] = 1;
    initnrd535tables();
    EXPECT_EQ(ModeTexts[7], QStringLiteral("AM-U"));
    EXPECT_EQ(ModeTexts[8], QStringLiteral("AM-L"));
}

TEST_F(AppTest, BuildersEmptyTheTextsOfTheModelBefore) {
    redimBwTexts(6);
    initar7030tables();
    EXPECT_EQ(ModeTexts[7], QStringLiteral("USB"));
    EXPECT_EQ(YesNoTexts[0], QStringLiteral("Y"));
    redimBwTexts(33);
    initrx320tables();
    EXPECT_EQ(BwTexts[0], QStringLiteral("6000"));
    EXPECT_EQ(BwTexts[33], QStringLiteral("8000"));
    EXPECT_TRUE(AgcTexts[0].isEmpty());
    EXPECT_TRUE(ModeTexts[7].isEmpty());     // the AR7030's "USB" is gone
    EXPECT_TRUE(YesNoTexts[0].isEmpty());
    for (const QString& s : AttTexts) EXPECT_TRUE(s.isEmpty());
    // The no-receiver builder touches no text.
    initnorxtables();
    EXPECT_EQ(ModeTexts[1], QStringLiteral("USB"));
    EXPECT_EQ(tableText(ModeTexts, 10), QStringLiteral("?"));
    EXPECT_EQ(tableText(BwTexts, -1), QStringLiteral("?"));
}

TEST_F(AppTest, PassbandTextsRunFromMinusToPlusFourPointTwo) {
    initar7030tables();
    EXPECT_EQ(PbsTexts[0], QStringLiteral("-4.2k"));
    EXPECT_EQ(PbsTexts[41], QStringLiteral("-0.1k"));
    EXPECT_EQ(PbsTexts[42], QStringLiteral(" 0.0k"));
    EXPECT_EQ(PbsTexts[43], QStringLiteral("+0.1k"));
    EXPECT_EQ(PbsTexts[84], QStringLiteral("+4.2k"));
    EXPECT_TRUE(PbsTexts[85].isEmpty());
    // Whatever the user's number format, the point stays a point.
    QLocale::setDefault(QLocale(QLocale::German));
    initar7030tables();
    QLocale::setDefault(QLocale::c());
    EXPECT_EQ(PbsTexts[10], QStringLiteral("-3.2k"));
}

TEST_F(AppTest, Nrd545TextTables) {
    redimBwTexts(3);
    initnrd545tables();
    EXPECT_EQ(ModeTexts[9], QStringLiteral("WFM"));
    EXPECT_EQ(AgcTexts[1], QStringLiteral("0200"));
    EXPECT_EQ(AgcTexts[9], QStringLiteral("1800"));
    EXPECT_EQ(BwTexts[2], QStringLiteral("Nar"));
    EXPECT_TRUE(BwTexts[3].isEmpty());
    EXPECT_EQ(NbTexts[2], QStringLiteral("NB2"));
}

// The bandwidth control's ranges, each as the receiver or the editor has it:
// what the receiver takes and shows, what the user steps through, and where
// it acts at all.
TEST_F(AppTest, BandwidthControlRangesPerModelFilterAndMode) {
    struct Row {
        RxModel model;
        bool option;
        int mode, filter;
        int lo, hi;           // taken and shown, lo > hi for none
        int stepLo, stepHi;   // stepped through
        bool applies;
    };
    const Row rows[] = {
        {RxModel::Nrd545, false, 2, 1, 1, 999, 10, 990, true},
        {RxModel::Nrd545, false, nrdmode::Nfm, 1, 1, 999, 10, 990, false},
        {RxModel::Nrd545, false, nrdmode::Ams, 0, 1, 999, 10, 990, false},
        {RxModel::Nrd535, true, 2, 0, 2000, 5500, 2000, 5500, true},
        {RxModel::Nrd535, true, 2, 1, 500, 2200, 500, 2200, true},
        {RxModel::Nrd535, true, 2, 2, 0, -1, 0, -1, false},
        {RxModel::Nrd535, true, nrdmode::Nfm, 1, 500, 2200, 500, 2200, false},
        {RxModel::Nrd535, false, 2, 0, 2000, 5500, 2000, 5500, false},
        {RxModel::Ar7030, true, 2, 1, 0, -1, 0, -1, false},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(::testing::Message() << int(r.model) << " mode " << r.mode << " filter " << r.filter
                                          << (r.option ? " with BWC" : ""));
        Settings[size_t(BwcOption)] = r.option ? 1 : 0;
        const CodeRange taken = bandwidthControlRange(r.model, r.filter);
        const CodeRange stepped = bandwidthControlStepRange(r.model, r.filter);
        EXPECT_EQ(taken.has() ? std::pair(taken.lo, taken.hi) : std::pair(0, -1), std::pair(r.lo, r.hi));
        EXPECT_EQ(stepped.has() ? std::pair(stepped.lo, stepped.hi) : std::pair(0, -1),
                  std::pair(r.stepLo, r.stepHi));
        EXPECT_EQ(bandwidthControlApplies(r.model, r.mode, r.filter), r.applies);
    }
    // The gate: the ends of the NRD-545's range, and the NRD-535's forced
    // 0 beside its own only with the option.
    for (const auto& [code, taken] : {std::pair{1, true}, {999, true}, {0, false}, {1000, false}})
        EXPECT_EQ(receiverTakes(RxModel::Nrd545, RxSetting::BandwidthControl, code), taken) << code;
    Settings[size_t(BwcOption)] = 1;
    for (const auto& [code, taken] : {std::pair{0, true}, {1, false}, {499, false}, {500, true}, {5500, true}})
        EXPECT_EQ(receiverTakes(RxModel::Nrd535, RxSetting::BandwidthControl, code), taken) << code;
    Settings[size_t(BwcOption)] = 0;
    EXPECT_FALSE(receiverTakes(RxModel::Nrd535, RxSetting::BandwidthControl, 0));
}
