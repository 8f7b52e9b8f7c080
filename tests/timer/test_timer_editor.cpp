// The timer editor's spin buttons and receiver rules, without a window.
#include "drivers/model_tables.h"
#include "shell/globals.h"
#include "timer/timer_editor.h"

#include <gtest/gtest.h>

namespace dovrane {
namespace {

class TimerEditorTest : public ::testing::Test {
protected:
    void SetUp() override {
        resetGlobals();
        resetModelTables();
    }
    void TearDown() override {
        resetGlobals();
        resetModelTables();
    }
    static TimerEditor editorFor(int rxType) {
        switch (rxType) {
        case 1: initar7030tables(); break;
        case 2: initnrd535tables(); break;
        case 3: initrx320tables(); break;
        case 4: initnrd545tables(); break;
        default: initnorxtables(); break;
        }
        return TimerEditor(rxType);
    }
};

TEST_F(TimerEditorTest, MonthLengthsFollowTheGregorianRule) {
    struct Case { int year, month, days; };
    for (const Case c : {Case{2004, 2, 29}, {2003, 2, 28}, {2000, 2, 29}, {2100, 2, 28}, {2024, 2, 29},
                         {2026, 2, 28}, {2028, 2, 29}, {2027, 4, 30}, {2027, 12, 31}})
        EXPECT_EQ(monthLength(c.year, c.month), c.days) << c.year << "-" << c.month;
}

TEST_F(TimerEditorTest, DateAndTimeSpinners) {
    struct Case {
        int y, m, d;
        int spinner;   // 0..2 date, 10..12 time
        bool up;
        int ey, em, ed;
    };
    const Case cases[] = {
        {2004, 2, 29, 2, true, 2005, 2, 28},    // year up from a leap day
        {2028, 2, 29, 2, false, 2027, 2, 28},
        {2004, 1, 31, 1, true, 2004, 2, 29},    // month up from 31 January
        {2005, 1, 31, 1, true, 2005, 2, 28},
        {2026, 12, 31, 0, true, 2026, 12, 1},   // day wraps within its month
        {2026, 2, 1, 0, false, 2026, 2, 28},
        {2028, 2, 1, 0, false, 2028, 2, 29},
        {2026, 1, 5, 1, false, 2026, 12, 5},    // month wraps, year stays
        {2099, 6, 1, 2, true, 2099, 6, 1},      // the year is held at both ends
        {2000, 6, 1, 2, false, 2000, 6, 1},
        {2026, 6, 1, 2, true, 2027, 6, 1},      // today's years are reachable
    };
    for (const Case& c : cases) {
        TimerEditor e = editorFor(0);
        e.tpyear = c.y;
        e.tpmonth = c.m;
        e.tpday = c.d;
        e.spinDate(c.spinner, c.up);
        EXPECT_EQ(e.tpyear, c.ey) << c.y << "-" << c.m << "-" << c.d << " spinner " << c.spinner;
        EXPECT_EQ(e.tpmonth, c.em) << c.y << "-" << c.m << "-" << c.d << " spinner " << c.spinner;
        EXPECT_EQ(e.tpday, c.ed) << c.y << "-" << c.m << "-" << c.d << " spinner " << c.spinner;
    }

    TimerEditor e = editorFor(0);
    e.tphour = 23;
    e.spinTime(0, true);
    EXPECT_EQ(e.tphour, 0);
    e.tpminute = 0;
    e.spinTime(1, false);
    EXPECT_EQ(e.tpminute, 59);
    EXPECT_EQ(e.timeText(1), QStringLiteral("59"));
    e.tpduration = 240;
    e.spinTime(2, true);
    EXPECT_EQ(e.tpduration, 240);
    e.tpduration = 1;
    e.spinTime(2, false);
    EXPECT_EQ(e.tpduration, 1);

    e.setStart(QDateTime(QDate(2026, 12, 8), QTime(23, 17, 45), Qt::UTC));
    EXPECT_EQ(e.startKey(), QStringLiteral("2026 12 08 23:17"));
    EXPECT_EQ(e.dateText(2), QStringLiteral("26"));
    EXPECT_EQ(e.dateText(1), QStringLiteral("Dec"));
}

TEST_F(TimerEditorTest, FrequencyDigitsStayWithinTheReceiver) {
    struct Case {
        int rxType;
        long start;
        int digit;
        bool up;
        long expected;
    };
    const Case cases[] = {
        {2, 29000000, 7, true, 9000000},     // FreqMax 29999.999: digit 7 up from 2 gives 0
        {3, 30000000, 5, true, 30000000},    // over the top by a lower digit: clipped
        {1, 32016000, 6, true, 32016000},    // 33,016,000 is clipped back
        {1, 10000, 4, false, 10000},         // under FreqMin: clipped up
        {0, 0, 7, false, 30000000},          // digit 7 down from 0 gives 3, then clipped
        {0, 1234, 7, false, 30000000},
        {0, 9999, 0, true, 10000},           // each digit wraps on its own, no carry
        {3, 5000000, 3, true, 5001000},
    };
    for (const Case& c : cases) {
        TimerEditor e = editorFor(c.rxType);
        e.setFrequencyHz(c.start);
        e.spinFreq(c.digit, c.up);
        EXPECT_EQ(e.frequencyHz(), c.expected) << "type " << c.rxType << " from " << c.start << " digit " << c.digit;
    }
}

TEST_F(TimerEditorTest, SettingSpinnersPerModel) {
    struct Case {
        int rxType;
        int index;
        int start;
        bool up;
        int expected;
        const char* label;
    };
    const Case cases[] = {
        {1, 2, 42, true, -42, "-4.2k"},   // AR7030 passband shift wraps
        {1, 2, -42, false, 42, "+4.2k"},
        {1, 1, 6, true, 1, nullptr},
        {1, 4, 7, true, 1, "AM"},
        {1, 5, 0, false, 3, "Off"},
        {1, 0, 4, true, 5, "-40 dB"},     // AR7030 attenuator: all six codes, wrapping
        {1, 0, 5, true, 0, "+10 dB"},
        {1, 0, 0, false, 5, "-40 dB"},
        {3, 1, 0, true, 33, nullptr},     // RX-320: up lowers the filter number
        {3, 1, 33, false, 0, nullptr},
        {3, 2, 2000, true, -2000, "-2000"},
        {3, 5, 3, true, 1, "Slw"},
        {4, 2, 230, true, -230, "-2.3"},
        {4, 3, 990, true, 10, "0.1"},
        {4, 5, 9, true, 0, "Off"},
        {2, 2, -2000, false, 2000, "2000"},
        {2, 0, 1, true, 0, "0 dB"},
    };
    for (const Case& c : cases) {
        TimerEditor e = editorFor(c.rxType);
        int* field = nullptr;
        switch (c.index) {
        case 0: field = &e.tpatt; break;
        case 1: field = &e.tpbw; break;
        case 2: field = &e.tppbs; break;
        case 3: field = &e.tpbwc; break;
        case 4: field = &e.tpmode; break;
        default: field = &e.tpagc; break;
        }
        *field = c.start;
        e.spinRxSetting(c.index, c.up);
        EXPECT_EQ(*field, c.expected) << "type " << c.rxType << " index " << c.index;
        if (c.label) {
            EXPECT_EQ(e.settingText[size_t(c.index)], QLatin1String(c.label)) << "type " << c.rxType;
        }
    }

    // NRD-545 mode up from 8 gives 0 (9 lies outside the spinner).
    TimerEditor e545 = editorFor(4);
    e545.tpmode = 8;
    e545.spinRxSetting(4, true);
    EXPECT_EQ(e545.tpmode, 0);

    // Without a receiver, and on a disabled spinner, nothing moves.
    TimerEditor none = editorFor(0);
    none.tpmode = 2;
    none.spinRxSetting(4, true);
    EXPECT_EQ(none.tpmode, 2);
    TimerEditor e320 = editorFor(3);
    e320.readRx320(10, 0, 1, 2);
    e320.spinRxSetting(0, true);
    EXPECT_EQ(e320.tpatt, 0);
    EXPECT_FALSE(e320.settingEnabled[0]);
    EXPECT_FALSE(e320.settingEnabled[3]);
}

TEST_F(TimerEditorTest, Nrd535OptionsAndNfm) {
    Settings[10] = 0;   // no optional narrow filter
    Settings[11] = 1;   // bandwidth control fitted
    TimerEditor e = editorFor(2);
    // Status: attenuator 0, bandwidth Int, mode AM, 9.58 MHz, AGC Fst.
    e.readNrd535(QStringLiteral("X014095800001"));
    EXPECT_EQ(e.tpbw, 1);
    EXPECT_EQ(e.tpbwc, 2200);
    EXPECT_EQ(e.tpbwcmin, 500);
    EXPECT_EQ(e.settingText[3], QStringLiteral("2200"));
    EXPECT_EQ(e.settingText[2], QStringLiteral("0"));

    e.spinRxSetting(1, true);   // "Nar" is passed over without the filter
    EXPECT_EQ(e.tpbw, 3);
    EXPECT_FALSE(e.settingEnabled[3]);
    e.spinRxSetting(1, false);
    EXPECT_EQ(e.tpbw, 1);
    e.spinRxSetting(3, true);   // bandwidth control wraps within its range
    EXPECT_EQ(e.tpbwc, 500);

    // AM up to NFM forces "Aux" and AGC "Off"; the next step restores them.
    e.spinRxSetting(4, true);
    EXPECT_EQ(e.tpmode, 5);
    EXPECT_EQ(e.tpbw, 3);
    EXPECT_EQ(e.tpagc, 2);
    for (int i : {1, 2, 3, 5}) {
        EXPECT_FALSE(e.settingEnabled[size_t(i)]) << i;
        EXPECT_EQ(e.settingText[size_t(i)], QStringLiteral("xxx")) << i;
    }
    e.spinRxSetting(4, true);
    EXPECT_EQ(e.tpmode, 6);
    EXPECT_EQ(e.tpbw, 1);
    EXPECT_EQ(e.tpagc, 1);
    EXPECT_EQ(e.settingText[5], QStringLiteral("Fst"));
    EXPECT_TRUE(e.settingEnabled[3]);

    // A receiver found in NFM: held as "Aux" and "Off", its own AGC kept for later.
    TimerEditor nfm = editorFor(2);
    nfm.readNrd535(QStringLiteral("X035095800000"));
    EXPECT_EQ(nfm.tpbw, 3);
    EXPECT_EQ(nfm.tpagc, 2);
    EXPECT_EQ(nfm.tpagcsaved, 0);
    EXPECT_EQ(nfm.settingText[5], QStringLiteral("xxx"));

    // The ECSS modes and "Nar" are reached only with their options.
    struct Step {
        float narrowFilter, ecss;
        int index, start;
        bool up;
        int expected;
    } steps[] = {
        {1, 0, 4, 6, true, 0},  {1, 0, 4, 0, false, 6}, {0, 1, 4, 6, true, 7},
        {0, 1, 4, 0, false, 8}, {1, 0, 1, 1, true, 2},  {0, 1, 1, 3, false, 1},
    };
    for (const Step& st : steps) {
        Settings[10] = st.narrowFilter;
        Settings[12] = st.ecss;
        TimerEditor o = editorFor(2);
        (st.index == 4 ? o.tpmode : o.tpbw) = st.start;
        o.spinRxSetting(st.index, st.up);
        EXPECT_EQ(st.index == 4 ? o.tpmode : o.tpbw, st.expected) << st.index << " from " << st.start;
    }
}

// Set Up closing leaves the user's picks in the editor while they still
// apply, whichever option changed: a bandwidth control spun down is neither
// put back to the top of its range nor to what the receiver gave, nor is a
// mode spun on.
TEST_F(TimerEditorTest, FollowingTheOptionsKeepsTheUsersPicks) {
    for (int cleared : {0, NarrowFilterOption, EcssOption}) {
        SCOPED_TRACE(cleared);
        for (int option : {NarrowFilterOption, BwcOption, EcssOption}) Settings[size_t(option)] = 1;
        TimerEditor e = editorFor(2);
        // Wid, USB, slow AGC.
        e.readNrd535(QStringLiteral("X002071000000"));
        ASSERT_EQ(e.tpbwc, 5500);
        e.spinRxSetting(3, false);
        e.spinRxSetting(3, false);
        e.spinRxSetting(4, true);
        ASSERT_EQ(e.tpbwc, 5300);
        ASSERT_EQ(e.tpmode, 3);

        if (cleared != 0) Settings[size_t(cleared)] = 0;
        followOptionTexts();
        e.followOptions();
        EXPECT_EQ(e.tpbwc, 5300);
        EXPECT_EQ(e.settingText[3], QStringLiteral("5300"));
        EXPECT_TRUE(e.settingEnabled[3]);
        EXPECT_EQ(e.tpmode, 3);
        EXPECT_EQ(e.settingText[4], QStringLiteral("LSB"));
        EXPECT_EQ(e.tpbw, 0);
        EXPECT_EQ(e.settingText[1], QStringLiteral("Wid"));
    }
}

TEST_F(TimerEditorTest, Nrd545ModeRules) {
    TimerEditor e = editorFor(4);
    // Status: attenuator 1, mode USB, AGC 3; passband shift +1.2 kHz, bandwidth control 2.4 kHz.
    e.readNrd545(QStringLiteral("X102095800003"), 120, 240);
    EXPECT_EQ(e.settingText[1], QStringLiteral("xxx"));
    EXPECT_EQ(e.settingText[2], QStringLiteral("1.2"));
    EXPECT_EQ(e.settingText[3], QStringLiteral("2.4"));
    EXPECT_EQ(e.tpagc, 3);
    EXPECT_TRUE(e.settingEnabled[5]);

    e.tpmode = 4;
    e.spinRxSetting(4, true);   // NFM: shift 0, control 990, AGC 2
    EXPECT_EQ(e.tppbs, 0);
    EXPECT_EQ(e.tpbwc, 990);
    EXPECT_EQ(e.tpagc, 2);
    e.spinRxSetting(4, true);   // AMS: the shift kept before NFM is lost, the control survives
    EXPECT_EQ(e.tpagc, 1);
    e.spinRxSetting(4, true);   // AM-U
    EXPECT_EQ(e.tpmode, 7);
    EXPECT_EQ(e.tppbs, 0);
    EXPECT_EQ(e.tpbwc, 240);
    EXPECT_FALSE(e.settingEnabled[5]);
    e.tpmode = 8;
    e.spinRxSetting(4, true);   // RY: AGC editable again
    EXPECT_EQ(e.tpmode, 0);
    EXPECT_TRUE(e.settingEnabled[5]);
}

TEST_F(TimerEditorTest, Ar7030ReadKeepsThePassbandByte) {
    TimerEditor e = editorFor(1);
    e.readAr7030(1, 3, 30, 7, 2);
    EXPECT_EQ(e.tppbs, 10);
    EXPECT_EQ(e.settingText[2], QStringLiteral("+1.0k"));
    EXPECT_EQ(e.settingText[4], QStringLiteral("USB"));
    EXPECT_FALSE(e.settingEnabled[3]);
    const auto f = e.slotFields();
    EXPECT_EQ(f[7], 1);
    EXPECT_EQ(f[9], 10);
}

} // namespace
} // namespace dovrane
