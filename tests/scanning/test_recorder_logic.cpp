// The propagation recorder, its file and print plot, and the S-meter
// histogram, without windows.
#include "scanning/propagation_record.h"
#include "scanning/smeter_histogram.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace dovrane;

namespace {
QDateTime at(int h, int m, int s, int ms = 0) {
    return QDateTime(QDate(2026, 12, 8), QTime(h, m, s, ms), Qt::UTC);
}
} // namespace

TEST(PropagationRecordTest, EachQuarterOnceWhateverTheTickTiming) {
    // Ticks every 850 ms, with doubled seconds, plus a tick held up for 3 s
    // across second 16 and one skipped across 46.
    PropagationRecorder rec;
    rec.start(at(10, 0, 0));
    QStringList lines;
    int quarters = 0;
    QDateTime t = at(10, 0, 0, 400);
    const QDateTime end = at(10, 3, 0);
    int n = 0;
    while (t < end) {
        const float level = (t.time().second() < 30) ? 9.5f : 13.0f;
        const PropagationRecorder::Tick tick = rec.tick(t, level);
        lines << tick.lines;
        quarters += int(tick.quarters.size());
        ++n;
        const bool late = t.time().minute() == 1 && t.time().second() == 14;
        const bool skip = t.time().minute() == 2 && t.time().second() == 45;
        t = t.addMSecs(late ? 3000 : skip ? 2000 : 850);
    }
    EXPECT_EQ(quarters, 12);
    ASSERT_EQ(lines.size(), 3);
    EXPECT_EQ(lines[0], "10:00 095 095 095 095 095 130 130 130");
    for (const QString& l : lines) EXPECT_EQ(l.size(), 37);
    EXPECT_TRUE(lines[1].startsWith("10:01"));
    EXPECT_TRUE(lines[2].startsWith("10:02"));
}

TEST(PropagationRecordTest, MinMaxAboveS21AndFixedColumns) {
    PropagationRecorder rec;
    rec.start(at(23, 59, 0));
    QStringList lines;
    for (int s = 0; s < 60; ++s) {
        const float level = s == 0 ? 22.5f : s == 1 ? 22.75f : s < 20 ? 23.0f : s < 40 ? -1.5f : 120.0f;
        lines << rec.tick(at(23, 59, s), level).lines;
    }
    const PropagationRecorder::Tick next = rec.tick(at(0, 0, 1).addDays(1), 5);
    ASSERT_EQ(lines.size(), 1);
    // The true minimum above S21, negative levels at 000, huge ones at 999.
    EXPECT_EQ(lines[0], "23:59 225 227 230 230 000 230 000 999");
    EXPECT_EQ(next.second, 1);
}

TEST(PropagationRecordTest, DaySamplesEverySixMinutesAndFailedSamplesSkipped) {
    PropagationRecorder rec;
    rec.start(at(6, 0, 0));
    int dayBars = 0;
    QStringList lines;
    for (int i = 0; i < 15 * 60; ++i) {
        const QDateTime t = at(6, 0, 0).addSecs(i);
        // No sample during minute 6:03: its line is missing, no other.
        std::optional<float> level = 9.0f;
        if (t.time().minute() == 3) level.reset();
        const PropagationRecorder::Tick tick = rec.tick(t, level);
        for (const auto& d : tick.days) {
            EXPECT_EQ(d.minute % 6, 1);
            ++dayBars;
        }
        lines << tick.lines;
    }
    EXPECT_EQ(dayBars, 3);   // 6:01:02, 6:07:02, 6:13:02
    EXPECT_EQ(lines.size(), 14);
    for (const QString& l : lines) EXPECT_FALSE(l.startsWith("06:03"));
}

TEST(PropagationRecordTest, FileParseTracesAndPrintPlot) {
    const QStringList file{"8 Dec 2026  23:50 UTC", "9580.000", "Station", "23:58 090 095 088 092 101 110 087 090",
                           "", "23:59 090 090 090 090 090 090 090 090", "00:00 100 100 100 100 100 100 100 100"};
    const PropFile f = parsePropLines(file);
    EXPECT_EQ(f.frequency, "9580.000");
    ASSERT_EQ(f.minutes.size(), 3);
    EXPECT_EQ(f.minutes[0].hour, 23);
    EXPECT_FLOAT_EQ(f.minutes[0].min[1], 8.8f);
    EXPECT_FLOAT_EQ(f.minutes[0].max[2], 11.0f);

    PropTraces traces;
    bool hourEnds = true;
    const QList<PropTraces::Segment> first = traces.add(f.minutes[0], &hourEnds);
    EXPECT_FALSE(hourEnds);
    ASSERT_EQ(first.size(), 8);
    EXPECT_EQ(first[2].x2, 80 + 8 * 58 + 2);
    EXPECT_EQ(first[2].y2, 244);
    traces.add(f.minutes[1], &hourEnds);
    EXPECT_TRUE(hourEnds);
    const QList<PropTraces::Segment> wrapped = traces.add(f.minutes[2], &hourEnds);
    EXPECT_EQ(wrapped[0].x1, 80);   // the hour trace starts again at the left

    const PrintPlot plot = printPlot(f.minutes);
    // Midnight: 00:00 is two minutes after 23:58, drawn right of it with a time mark.
    ASSERT_EQ(plot.bars.size(), 12);
    EXPECT_EQ(plot.bars[8].x, 128);
    ASSERT_EQ(plot.marks.size(), 1);
    EXPECT_EQ(plot.marks[0].x, 128);
    EXPECT_EQ(plot.marks[0].time, "00:00");
    EXPECT_DOUBLE_EQ(plot.bars[0].yTop, 528 - 8 * 9.5);
    // min = max after the first line is lowered by 0.2.
    EXPECT_NEAR(plot.bars[4].yBottom - plot.bars[4].yTop, 1.6, 1e-4);
    // Group 0 of minute 148 is the last one drawn.
    QList<PropMinute> longRun{f.minutes[0]};
    PropMinute late = parsePropMinute("02:26 090 090 090 090 090 090 090 090");
    longRun << late;
    const PrintPlot cut = printPlot(longRun);
    EXPECT_EQ(cut.bars.last().x, 712);
}

TEST(PropagationRecordTest, Prop2prtIni) {
    QTemporaryDir dir;
    EXPECT_TRUE(readProp2prtIni(dir.filePath("prop2prt.ini")).isEmpty());
    QFile ini(dir.filePath("prop2prt.ini"));
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
    for (int i = 1; i <= 11; ++i) ini.write(QByteArray("line ") + QByteArray::number(i) + "\r\n");
    ini.close();
    const QStringList lines = readProp2prtIni(ini.fileName());
    ASSERT_EQ(lines.size(), 9);
    EXPECT_EQ(lines[8], "line 9");
}

TEST(SmeterHistogramTest, ClampBinsAndRing) {
    EXPECT_EQ(SmeterHistogram::binOf(9.5f), 10);
    EXPECT_EQ(SmeterHistogram::binOf(9.49f), 9);
    EXPECT_EQ(SmeterHistogram::binOf(0), 0);
    SmeterHistogram h;
    EXPECT_FLOAT_EQ(h.tick(0.4f).cur, 1);
    EXPECT_FLOAT_EQ(h.tick(25.0f).cur, 21);
    EXPECT_EQ(h.count(1), 1);
    EXPECT_EQ(h.count(21), 1);
    h.clearCounts();
    // Sixty readings are kept; the 61st removes the first.
    for (int i = 0; i < 60; ++i) EXPECT_EQ(h.tick(5.0f).removedBin, 0) << i;
    EXPECT_EQ(h.count(5), 60);
    const SmeterHistogram::Tick t = h.tick(7.0f);
    EXPECT_EQ(t.removedBin, 5);
    EXPECT_EQ(h.count(5), 59);
    EXPECT_EQ(h.count(7), 1);
    // No reading: the marker stays, nothing is counted.
    const SmeterHistogram::Tick none = h.tick(std::nullopt);
    EXPECT_FLOAT_EQ(none.cur, 7);
    EXPECT_EQ(none.addedBin, 0);
    EXPECT_EQ(h.count(7), 1);
}
