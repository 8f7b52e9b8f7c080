// The timer programme's stack, its checks and the run decisions, without a window.
#include "timer/timer_programme.h"

#include <gtest/gtest.h>

namespace dovrane {
namespace {

using namespace slotfield;

QDateTime utc(int y, int mo, int d, int h, int mi, int s = 0) {
    return QDateTime(QDate(y, mo, d), QTime(h, mi, s), Qt::UTC);
}

SlotFields slot(const QDateTime& start, int minutes) {
    SlotFields f{};
    f[Day] = start.date().day();
    f[Month] = start.date().month();
    f[Year] = start.date().year();
    f[Hour] = start.time().hour();
    f[Minute] = start.time().minute();
    f[Duration] = minutes;
    return f;
}

TEST(TimerProgramme, SlotsFormAStack) {
    TimerProgramme p;
    auto enabled = [&p] {
        QString s;
        for (int n = 1; n <= 6; ++n)
            s += QString(p.fixEnabled(n) ? QStringLiteral("F") : QStringLiteral("-")) +
                 (p.clrEnabled(n) ? QStringLiteral("C") : QStringLiteral("-"));
        return s;
    };
    EXPECT_EQ(enabled(), QStringLiteral("F-----------"));
    EXPECT_FALSE(p.fix(2, slot(utc(2030, 1, 1, 10, 0), 5)));
    for (int n = 1; n <= 3; ++n) EXPECT_TRUE(p.fix(n, slot(utc(2030, 1, 1, 10, n * 10), 5)));
    EXPECT_EQ(enabled(), QStringLiteral("----FCF-----"));
    EXPECT_TRUE(p.fix(3, slot(utc(2030, 1, 1, 11, 0), 5)));   // the top can be fixed again
    EXPECT_FALSE(p.clear(2));
    EXPECT_TRUE(p.clear(3));
    EXPECT_EQ(enabled(), QStringLiteral("--FCF-------"));
    EXPECT_EQ(p.prog[3], SlotFields{});
    p.clearAll();
    EXPECT_EQ(p.top(), 0);
    EXPECT_EQ(enabled(), QStringLiteral("F-----------"));
}

TEST(TimerProgramme, ChecksCarryAcrossTheCalendar) {
    EXPECT_TRUE(TimerProgramme::tooLate(utc(2026, 12, 8, 23, 17), utc(2026, 12, 8, 23, 17, 59)));
    EXPECT_FALSE(TimerProgramme::tooLate(utc(2026, 12, 8, 23, 18), utc(2026, 12, 8, 23, 17, 59)));

    // Slot 1 from `start` for `minutes`: slot 2 at its end is refused, a minute later accepted.
    struct Case { QDateTime start; int minutes; QDateTime end; };
    const Case cases[] = {
        {utc(2027, 5, 1, 10, 0), 10, utc(2027, 5, 1, 10, 10)},
        {utc(2027, 5, 1, 23, 55), 10, utc(2027, 5, 2, 0, 5)},       // midnight
        {utc(2028, 2, 28, 23, 50), 20, utc(2028, 2, 29, 0, 10)},    // into a leap day
        {utc(2028, 2, 29, 23, 59), 1, utc(2028, 3, 1, 0, 0)},       // out of it
        {utc(2027, 2, 28, 23, 0), 240, utc(2027, 3, 1, 3, 0)},
        {utc(2027, 12, 31, 23, 30), 45, utc(2028, 1, 1, 0, 15)},    // year end
    };
    for (const Case& c : cases) {
        TimerProgramme p;
        ASSERT_TRUE(p.fix(1, slot(c.start, c.minutes)));
        EXPECT_EQ(p.slotEnd(1), c.end) << c.start.toString(Qt::ISODate).toStdString();
        EXPECT_TRUE(p.tooEarly(2, c.end));
        EXPECT_TRUE(p.tooEarly(2, c.start));
        EXPECT_FALSE(p.tooEarly(2, c.end.addSecs(60)));
    }
}

TEST(TimerProgramme, RunFollowsTheClocksNotTheTicks) {
    // Starts go by the UTC clock; lengths by a steady count of milliseconds,
    // here from an arbitrary origin.
    constexpr qint64 t0 = 5'000'000;
    constexpr qint64 minute = 60'000;
    TimerProgramme p;
    ASSERT_TRUE(p.fix(1, slot(utc(2027, 1, 1, 10, 0), 10)));
    ASSERT_TRUE(p.fix(2, slot(utc(2027, 1, 1, 10, 11), 1)));
    EXPECT_FALSE(p.dueNow(utc(2027, 1, 1, 10, 0)));   // not waiting yet
    ASSERT_TRUE(p.startRun());
    EXPECT_FALSE(p.dueNow(utc(2027, 1, 1, 9, 59, 58)));
    ASSERT_TRUE(p.dueNow(utc(2027, 1, 1, 10, 0, 3)));
    p.eventStarted(t0);
    EXPECT_EQ(p.state(), TimerProgramme::State::Running);
    EXPECT_EQ(p.msLeft(t0 + 4000), 10 * minute - 4000);
    EXPECT_FALSE(p.eventOver(t0 + 10 * minute - 1));
    EXPECT_TRUE(p.eventOver(t0 + 10 * minute));
    // A tick that comes late does not stretch the event: it is over at once.
    EXPECT_TRUE(p.eventOver(t0 + 14 * minute));
    EXPECT_EQ(p.msLeft(t0 + 14 * minute), 0);
    EXPECT_TRUE(p.eventEnded());
    EXPECT_EQ(p.tpslot(), 2);
    EXPECT_FALSE(p.eventOver(t0 + 14 * minute)) << "nothing runs while waiting";
    // Slot 2's start has passed meanwhile: it is still due, and runs its full length.
    ASSERT_TRUE(p.dueNow(utc(2027, 1, 1, 10, 14, 0)));
    p.eventStarted(t0 + 14 * minute);
    EXPECT_FALSE(p.eventOver(t0 + 15 * minute - 1));
    EXPECT_TRUE(p.eventOver(t0 + 15 * minute));
    EXPECT_FALSE(p.eventEnded());
    EXPECT_EQ(p.state(), TimerProgramme::State::Editing);
    EXPECT_TRUE(p.progfixed[1] && p.progfixed[2]);

    // Six slots: the chain ends after the sixth.
    TimerProgramme full;
    for (int n = 1; n <= 6; ++n) ASSERT_TRUE(full.fix(n, slot(utc(2027, 1, 1, n, 0), 1)));
    ASSERT_TRUE(full.startRun());
    for (int n = 1; n <= 6; ++n) {
        EXPECT_EQ(full.tpslot(), n);
        full.eventStarted(t0 + n * 60 * minute);
        EXPECT_EQ(full.eventEnded(), n < 6);
    }
}

} // namespace
} // namespace dovrane
