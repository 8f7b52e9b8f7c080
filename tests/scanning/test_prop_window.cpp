// The propagation recorder on a simulated AR7030 paced at 1200 baud: ticks
// called by hand with the clock set, doubled and skipped, one minute line a
// minute in the file kept open, the file drawn back onto the same graphs,
// and a receiver that stops answering ending the run.
#include "panels/frmar7030.h"
#include "panels/tool_windows.h"
#include "platform/canvas.h"
#include "platform/clock.h"
#include "scanning/frmpropagation.h"
#include "shell/globals.h"
#include "support/go_rig.h"
#include "support/paste.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <atomic>
#include <csignal>
#include <sys/resource.h>
#include <cmath>
#include <map>

namespace dovrane::test {
namespace {

class PropagationWindow : public GoRig {
protected:
    frmPropagation* open(int rxType) {
        PanelForm* panel = go(rxType, {{3, 0}});
        if (!panel) return nullptr;
        simulator()->setBaud(1200);
        simulator()->setSmeterCurve([this](double) { return level.load(); });
        toolWindowOpener(QStringLiteral("frmPropagation"))();
        return forms::loaded<frmPropagation>();
    }
    static QDateTime local(int minute, int second, int ms) {
        return QDateTime(QDate(2004, 3, 7), QTime(10, minute, second, ms));
    }
    // Time passes, on the wall clock and the steady clock alike, until the
    // wall clock reads t (or a little later, when reading the receiver took
    // longer than that).
    static void passTo(const QDateTime& t) { Clock::pass(std::max<qint64>(0, Clock::now().msecsTo(t))); }
    QWidget* attenuatorFrame() const {
        return currentPanelWidget() ? currentPanelWidget()->findChild<QWidget*>(QStringLiteral("fraAttenuator"))
                                    : nullptr;
    }
    static QWidget* currentPanelWidget();
    std::atomic<double> level{9.0};
};

QWidget* PropagationWindow::currentPanelWidget() { return forms::loaded<frmAR7030>(); }

// The quarter boundary (second 1, 16, 31 or 46) that closes the quarter a
// moment lies in: the first at or after its whole second.
qint64 boundaryOf(qint64 ms) {
    qint64 s = ms / 1000;
    while ((s % 60) % 15 != 1) ++s;
    return s;
}

bool colourNear(const QImage& img, int x, int y, QColor colour, int tolerance = 1) {
    for (int dy = -tolerance; dy <= tolerance; ++dy)
        if (y + dy >= 0 && y + dy < img.height() && QColor(img.pixel(x, y + dy)) == colour) return true;
    return false;
}

TEST_F(PropagationWindow, OneLinePerMinuteUnderDoubledAndSkippedTicksAndTheSameGraphsOnReload) {
    frmPropagation* w = open(1);
    ASSERT_TRUE(w);
    FileKindName[PropKind] = QStringLiteral("PAN_TEST.TXT");
    Clock::set(local(0, 0, 300));
    ASSERT_TRUE(w->savepropfile());
    Clock::set(local(0, 0, 300));   // again: the save read the receiver
    w->cmdStart_Click();
    ASSERT_TRUE(w->recording());
    EXPECT_FALSE(attenuatorFrame()->isEnabled());

    // Seconds of the ticks each minute: 1 and 16 ticked twice, 46 skipped
    // (its quarter closed late), and in minute 1 second 1 skipped too.
    const double seconds[] = {0.5, 1.2, 1.9, 9, 16.1, 16.8, 24, 31.3, 38, 47.5, 55};
    struct Taken {
        qint64 ms;
        float level;
    };
    std::vector<Taken> taken;
    int i = 0;
    for (int minute = 0; minute < 3; ++minute) {
        for (double s : seconds) {
            if (minute == 1 && s == 1.2) s = 2.4;
            if (minute == 1 && s == 1.9) continue;
            level = 4 + (i++ % 9) * 1.7;
            const QDateTime t = local(minute, int(s), int(std::lround((s - int(s)) * 1000)));
            passTo(t);
            w->tmrPropagation_Timer();
            ASSERT_TRUE(w->recording());
            taken.push_back({t.toMSecsSinceEpoch(), w->PropLevel});
        }
    }
    EXPECT_NEAR(w->PropLevel, level.load(), 0.5);   // what the receiver reads, corrected

    // The quarters as a tick belongs to them: the one it was read in, or
    // the next when a tick before it in the same second closed that one.
    std::map<qint64, PropGroup> quarters;
    qint64 previous = local(0, 0, 300).toMSecsSinceEpoch();
    for (const Taken& t : taken) {
        const qint64 b = boundaryOf(std::max(t.ms, (previous / 1000 + 1) * 1000));
        previous = t.ms;
        auto [it, fresh] = quarters.try_emplace(b, PropGroup{t.level, t.level});
        if (!fresh) {
            it->second.min = std::min(it->second.min, t.level);
            it->second.max = std::max(it->second.max, t.level);
        }
    }
    QStringList expected;
    const qint64 first = local(0, 1, 0).toMSecsSinceEpoch() / 1000;
    for (int minute = 0; minute < 3; ++minute) {
        std::array<PropGroup, 4> g;
        for (int k = 0; k < 4; ++k) g[k] = quarters.at(first + 60 * minute + 15 * k);
        expected << propMinuteLine(10, minute, g);
    }

    dialogs.expect(QStringLiteral("saved to the file PAN_TEST.TXT"));
    w->cmdStop_Click();
    pump();   // the notice comes once the stop is done
    EXPECT_TRUE(attenuatorFrame()->isEnabled());
    const QStringList lines = QString::fromLatin1(readDataFile(QStringLiteral("PAN/PAN_TEST.TXT")))
                                  .split(QStringLiteral("\r\n"));
    ASSERT_EQ(lines.size(), 7) << lines.join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(lines[0], QStringLiteral("7 Mar 2004  10:00 UTC"));
    EXPECT_EQ(lines[2], QString());   // the station box was empty
    EXPECT_EQ(lines.mid(3, 3), expected);
    for (const QString& l : lines.mid(3, 3)) EXPECT_EQ(l.size(), PropLineLength);
    EXPECT_EQ(lines[6], QString());   // the file ends with CR LF

    // The file drawn back onto a cleared window meets the live bars.
    const QImage live = w->surface()->image();
    w->cmdCls_Click();
    w->loadpropfile();
    const QImage loaded = w->surface()->image();
    const QColor blue = frmPropagation::FileColours[0];
    for (int minute = 0; minute < 3; ++minute)
        for (int k = 0; k < 4; ++k) {
            const PropGroup g = quarters.at(first + 60 * minute + 15 * k);
            const int x = 80 + 8 * minute + 2 * k;
            for (float v : {g.min, g.max}) {
                const int y = 279 - int(std::lround(4 * v));
                EXPECT_EQ(QColor(live.pixel(x, y)), frmPropagation::Trace) << minute << " " << k;
                EXPECT_TRUE(colourNear(loaded, x, y, blue)) << minute << " " << k << " " << v;
            }
        }
    // The day graph: one bar at 10:01 (x 280); the loaded trace stays inside it.
    int liveTop = 999, liveBottom = -1, blues = 0;
    for (int y = 309; y <= 409; ++y) {
        if (QColor(live.pixel(280, y)) == frmPropagation::Trace) liveTop = std::min(liveTop, y), liveBottom = y;
        if (QColor(loaded.pixel(282, y)) == blue) ADD_FAILURE() << "day trace beside its column at y " << y;
    }
    ASSERT_LT(liveTop, liveBottom);
    for (int y = 309; y <= 409; ++y)
        if (QColor(loaded.pixel(280, y)) == blue) {
            ++blues;
            EXPECT_GE(y, liveTop - 1);
            EXPECT_LE(y, liveBottom + 1);
        }
    EXPECT_GT(blues, 0);
}

TEST_F(PropagationWindow, APastedLineBreakInTheStationStaysOnItsLineOfTheFile) {
    frmPropagation* w = open(1);
    ASSERT_TRUE(w);
    auto* station = w->findChild<QLineEdit*>(QStringLiteral("txtStation"));
    ASSERT_NE(station, nullptr);
    pasteInto(station, QStringLiteral("Radio\r\nAlpha\t1"));
    FileKindName[PropKind] = QStringLiteral("PAN_STATION.TXT");
    ASSERT_TRUE(w->savepropfile());
    const QStringList lines = QString::fromLatin1(readDataFile(QStringLiteral("PAN/PAN_STATION.TXT")))
                                  .split(QStringLiteral("\r\n"));
    ASSERT_EQ(lines.size(), 4) << "the three header lines";
    EXPECT_EQ(lines[2], QStringLiteral("Radio Alpha 1"));
    station->clear();
    w->loadpropfile();
    EXPECT_EQ(station->text(), QStringLiteral("Radio Alpha 1"));
}

TEST_F(PropagationWindow, ARecordingKeepsItsLinesThroughAClockSetBackAnHour) {
    frmPropagation* w = open(1);
    ASSERT_TRUE(w);
    FileKindName[PropKind] = QStringLiteral("PAN_STEP.TXT");
    Clock::set(local(58, 0, 300));
    ASSERT_TRUE(w->savepropfile());
    Clock::set(local(58, 0, 300));
    w->cmdStart_Click();
    ASSERT_TRUE(w->recording());

    // A tick's sample goes to the quarter it was read in (the boundary of
    // its own whole second closes with it).
    auto quarterOf = [](int minute, int s) {
        int k = s <= 1 ? 0 : s <= 16 ? 1 : s <= 31 ? 2 : s <= 46 ? 3 : 4;
        if (k == 4) k = 0, ++minute;
        // The ticks just before the step: their boundary comes after it, an hour earlier.
        return std::make_pair(minute % 60, k);
    };
    std::map<std::pair<int, int>, PropGroup> quarters;
    // Ticks are placed by the clock as the tick reads it: reading the
    // receiver may take longer than the time asked for.
    int i = 0;
    auto tick = [&] {
        level = 4 + (i++ % 9) * 1.7;
        const QTime at = Clock::now().time();
        w->tmrPropagation_Timer();
        ASSERT_TRUE(w->recording());
        const float v = w->PropLevel;
        const auto key = quarterOf(at.minute(), at.second());
        auto [it, fresh] = quarters.try_emplace(key, PropGroup{v, v});
        if (!fresh) {
            it->second.min = std::min(it->second.min, v);
            it->second.max = std::max(it->second.max, v);
        }
    };
    const double seconds[] = {0.5, 8, 16.5, 24, 31.5, 38, 46.5, 53};
    for (int minute : {58, 59, 0, 1}) {
        if (minute == 0) {
            // Summer time ends: the clock goes from 10:59:55 back to 09:59:55.
            passTo(local(59, 55, 0));
            Clock::set(Clock::now().addSecs(-3600));
            // The samples read before the step are closed under the old
            // reading (11:00:01): no line of the repeated hour holds them.
            quarters.erase({0, 0});
            tick();
        }
        for (double s : seconds) {
            passTo(local(minute, int(s), int(std::lround((s - int(s)) * 1000))));
            tick();
        }
    }
    QStringList expected;
    for (int minute : {58, 59, 0, 1}) {
        std::array<PropGroup, 4> g;
        for (int k = 0; k < 4; ++k) g[k] = quarters.at({minute, k});
        expected << propMinuteLine(10, minute, g);
    }
    // The hour graph has the repeated hour's bars: 10:01, second 16.
    const PropGroup q = quarters.at({1, 1});
    EXPECT_EQ(QColor(w->surface()->image().pixel(90, 279 - int(std::lround(4 * q.max)))), frmPropagation::Trace);

    dialogs.expect(QStringLiteral("saved to the file PAN_STEP.TXT"));
    w->cmdStop_Click();
    pump();   // the notice comes once the stop is done
    const QStringList lines = QString::fromLatin1(readDataFile(QStringLiteral("PAN/PAN_STEP.TXT")))
                                  .split(QStringLiteral("\r\n"));
    ASSERT_EQ(lines.size(), 8) << lines.join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(lines.mid(3, 4), expected);
}

TEST_F(PropagationWindow, AReceiverThatStopsAnsweringEndsTheRunAfterThreeMissedSamples) {
    frmPropagation* w = open(1);
    ASSERT_TRUE(w);
    dialogs.allow(QStringLiteral("does not answer"));
    FileKindName[PropKind] = QStringLiteral("PAN_LOST.TXT");
    ASSERT_TRUE(w->savepropfile());
    Clock::set(local(5, 0, 300));
    w->cmdStart_Click();
    settle();
    simulator()->setStopAnsweringAfter(0);
    const QImage before = w->surface()->image();
    for (int n = 0; n < 3; ++n) {
        EXPECT_TRUE(w->recording()) << n;
        passTo(local(5, 10 + n, 500));
        w->tmrPropagation_Timer();
    }
    EXPECT_FALSE(w->recording());
    EXPECT_FALSE(w->timer()->isActive());
    EXPECT_EQ(w->surface()->image(), before);   // nothing drawn for a missing sample
    EXPECT_TRUE(attenuatorFrame()->isEnabled());
    EXPECT_TRUE(w->findChild<QPushButton*>(QStringLiteral("cmdStart"))->isEnabled());
    // The "saved" notice comes after the tick, once.
    dialogs.expect(QStringLiteral("saved to the file PAN_LOST.TXT"));
    pump(50);
    EXPECT_FALSE(w->saving());
}

TEST_F(PropagationWindow, ADiskThatFillsStopsTheRecordingWithOneMessageAndKeepsTheWholeLines) {
    frmPropagation* w = open(1);
    ASSERT_TRUE(w);
    FileKindName[PropKind] = QStringLiteral("PAN_FULL.TXT");
    Clock::set(local(0, 0, 300));
    ASSERT_TRUE(w->savepropfile());
    Clock::set(local(0, 0, 300));
    w->cmdStart_Click();
    const QString path = dataPath(QStringLiteral("PAN/PAN_FULL.TXT"));
    auto minute = [&](int m) {
        for (double s : {0.5, 1.2, 16.2, 31.2, 46.2}) {
            passTo(local(m, int(s), int(std::lround((s - int(s)) * 1000))));
            w->tmrPropagation_Timer();
            if (!w->recording()) return;
        }
    };
    minute(0);
    ASSERT_TRUE(w->recording());
    const QByteArray kept = readDataFile(QStringLiteral("PAN/PAN_FULL.TXT"));
    ASSERT_EQ(kept.count("\r\n"), 4);   // the header and one minute
    // The disk fills half-way through the next line: a file size limit does
    // it for this process alone, without a mount.
    struct rlimit old {};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    struct rlimit full = old;
    full.rlim_cur = rlim_t(kept.size() + PropLineLength / 2);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &full), 0);
    minute(1);
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_FALSE(w->recording());
    EXPECT_FALSE(w->saving());
    EXPECT_FALSE(w->timer()->isActive());
    dialogs.expect(QStringLiteral("could not be written"));
    const qsizetype before = dialogs.shown().size();
    pump(50);
    EXPECT_EQ(dialogs.shown().size(), before + 1);
    EXPECT_EQ(dialogs.pending(), 0);
    EXPECT_TRUE(dialogs.shown().last().text.contains(QStringLiteral("stopped")));
    EXPECT_EQ(readDataFile(QStringLiteral("PAN/PAN_FULL.TXT")), kept) << path.toStdString();
    EXPECT_TRUE(attenuatorFrame()->isEnabled());
}

} // namespace
} // namespace dovrane::test
