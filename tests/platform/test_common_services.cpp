// The small services every tool uses: date patterns, UTC from the local clock
// and the user's offset, numbers typed with a decimal comma, and the file a
// run keeps open to append its lines to.
#include "platform/append_file.h"
#include "platform/clock.h"
#include "platform/date_text.h"
#include "platform/number_text.h"
#include "shell/globals.h"
#include "support/test_env.h"

#include <QFile>
#include <ctime>
#include <functional>

namespace dovrane::test {
namespace {

TEST(DateText, ThePatternsOfTheToolsReadTheSameInEveryLocale) {
    const QDateTime t(QDate(2004, 3, 5), QTime(7, 9, 4));
    const struct {
        const char* pattern;
        const char* text;
    } cases[] = {
        {"d mmm yyyy  hh:mm", "5 Mar 2004  07:09"},
        {"yyyymmdd hhmm", "20040305 0709"},
        {"hh:mm:ss", "07:09:04"},
        {"yyyymmdd", "20040305"},
        {"dd-mm-yy", "05-03-04"},
        {"hh:nn", "07:09"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(formatDatePattern(t, QLatin1String(c.pattern)), QLatin1String(c.text)) << c.pattern;
}

class UtcNow : public AppTest {};

TEST_F(UtcNow, IsTheLocalClockMinusTheUsersOffset) {
    const struct {
        QDateTime local;
        float offsetHours;
        QDateTime utc;
    } cases[] = {
        {QDateTime(QDate(2004, 3, 7), QTime(1, 30, 15)), 0, QDateTime(QDate(2004, 3, 7), QTime(1, 30, 15), Qt::UTC)},
        {QDateTime(QDate(2004, 3, 7), QTime(1, 30, 15)), 2, QDateTime(QDate(2004, 3, 6), QTime(23, 30, 15), Qt::UTC)},
        {QDateTime(QDate(2004, 12, 31), QTime(22, 0, 59)), -5.5f,
         QDateTime(QDate(2005, 1, 1), QTime(3, 30, 59), Qt::UTC)},
    };
    for (const auto& c : cases) {
        Clock::set(c.local);
        Settings[3] = c.offsetHours;
        const QDateTime u = Clock::utcNow();
        EXPECT_EQ(u.timeSpec(), Qt::UTC);
        // The clock runs on from the set time; allow the moment the test takes.
        EXPECT_LE(std::abs(u.secsTo(c.utc)), 1) << u.toString(Qt::ISODate).toStdString();
        EXPECT_EQ(formatDatePattern(u, QStringLiteral("yyyymmdd hhmm")),
                  formatDatePattern(c.utc, QStringLiteral("yyyymmdd hhmm")));
    }
}

TEST_F(UtcNow, AStepOfTheWallClockIsNoLengthOfTime) {
    Clock::set(QDateTime(QDate(2026, 10, 25), QTime(2, 59, 0)));
    const qint64 start = Clock::steadyMs();
    Clock::pass(60'000);
    Clock::set(QDateTime(QDate(2026, 10, 25), QTime(2, 0, 0)));   // summer time ends
    Clock::pass(30'000);
    const qint64 length = Clock::steadyMs() - start;
    // The real clock runs on meanwhile; allow the moment the test takes.
    EXPECT_GE(length, 90'000);
    EXPECT_LT(length, 91'000);
    EXPECT_LE(std::abs(Clock::now().secsTo(QDateTime(QDate(2026, 10, 25), QTime(2, 0, 30)))), 1);
}

// The steady clock is the system's time since boot, sleep included (the
// seam's own passes aside): a test process has passed far less than a year.
qint64 sinceBootMs() {
    timespec ts{};
    clock_gettime(CLOCK_BOOTTIME, &ts);
    return qint64(ts.tv_sec) * 1000 + ts.tv_nsec / 1'000'000;
}

// A suspend moves the time since boot and leaves the monotonic clock where
// it was: a length counted on the monotonic clock (or on QElapsedTimer,
// which reads it) would leave out every sleep.
TEST_F(UtcNow, ASleepIsPartOfALengthAndAClockStepIsNot) {
    const struct {
        const char* what;
        std::function<void()> act;
        qint64 wallMs, steadyMs;   // how far each clock moves on
        qint64 monotonicMs;        // and the system's clock that stops in a sleep
    } cases[] = {
        {"the clock set an hour ahead", [] { Clock::set(Clock::now().addSecs(3600)); }, 3'600'000, 0, 0},
        {"the clock set an hour back", [] { Clock::set(Clock::now().addSecs(-3600)); }, -3'600'000, 0, 0},
        {"summer time ends", [] { Clock::set(QDateTime(QDate(2026, 10, 25), QTime(2, 0, 0))); }, -3'600'000, 0, 0},
        {"the computer sleeps an hour", [] { Clock::sleep(3'600'000); }, 3'600'000, 3'600'000, 0},
        {"the computer sleeps a day", [] { Clock::sleep(86'400'000); }, 86'400'000, 86'400'000, 0},
        {"ninety seconds pass", [] { Clock::pass(90'000); }, 90'000, 90'000, 90'000},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Clock::set(QDateTime(QDate(2026, 10, 25), QTime(3, 0, 0)));
        const QDateTime wall = Clock::now();
        const qint64 steady = Clock::steadyMs();
        const qint64 monotonic = Clock::systemMs(CLOCK_MONOTONIC);
        const qint64 offset = steady - sinceBootMs();
        c.act();
        // The real clocks run on meanwhile; allow the moment the test takes.
        EXPECT_NEAR(double(wall.msecsTo(Clock::now())), double(c.wallMs), 500);
        EXPECT_NEAR(double(Clock::steadyMs() - steady), double(c.steadyMs), 500);
        EXPECT_NEAR(double(Clock::systemMs(CLOCK_MONOTONIC) - monotonic), double(c.monotonicMs), 500);
        // Read from the time since boot, not from any wall clock.
        EXPECT_NEAR(double(Clock::steadyMs() - sinceBootMs() - offset), double(c.steadyMs), 500);
        EXPECT_LT(std::abs(offset), 366LL * 24 * 3600 * 1000) << "the steady clock is no time since boot";
    }
}

TEST(NumberText, ADecimalCommaReadsAsAPoint) {
    const struct {
        const char* text;
        double value;
    } cases[] = {{"9995,5", 9995.5}, {"9995.5", 9995.5}, {" 7,05 kHz", 7.05}, {"-0,25", -0.25}, {"", 0},
                 {"1,2,3", 1.2},    {"abc", 0}};
    for (const auto& c : cases) EXPECT_DOUBLE_EQ(valComma(QLatin1String(c.text)), c.value) << c.text;
}

class AppendFileTest : public AppTest {};

TEST_F(AppendFileTest, LinesGoToTheEndOfAFileKeptOpen) {
    const QString path = dataPath(QStringLiteral("RTTY/RTY_test.TXT"));
    AppendFile f;
    EXPECT_FALSE(f.appendLine(QStringLiteral("nothing open")));
    QString error;
    ASSERT_TRUE(f.open(path, &error)) << error.toStdString();   // the folder is made
    EXPECT_TRUE(f.isOpen());
    EXPECT_TRUE(f.appendLine(QStringLiteral("RYRYRY caf\u00e9")));
    // Each line is in the file as soon as it is appended.
    EXPECT_EQ(readDataFile(QStringLiteral("RTTY/RTY_test.TXT")), QByteArray("RYRYRY caf\xe9\r\n"));
    // Text Latin-1 cannot hold is refused whole, never replaced.
    EXPECT_FALSE(f.appendLine(QStringLiteral("\u20ac 5"), &error));
    EXPECT_FALSE(error.isEmpty());
    f.close();
    EXPECT_FALSE(f.isOpen());

    // Opening again adds after what is there.
    ASSERT_TRUE(f.open(path));
    EXPECT_TRUE(f.appendLine(QString()));
    EXPECT_TRUE(f.appendLine(QStringLiteral("end")));
    f.close();
    EXPECT_EQ(readDataFile(QStringLiteral("RTTY/RTY_test.TXT")), QByteArray("RYRYRY caf\xe9\r\n\r\nend\r\n"));

    // A path that cannot be a file gives a reason.
    EXPECT_FALSE(f.open(DataFolder + QStringLiteral("RTTY"), &error));
    EXPECT_FALSE(f.isOpen());
}

} // namespace
} // namespace dovrane::test
