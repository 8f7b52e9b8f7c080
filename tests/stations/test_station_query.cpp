#include "lists/list_files.h"
#include "logbook/log_record.h"
#include "platform/number_text.h"
#include "shell/common_tables.h"
#include "shell/globals.h"
#include "stations/station_query.h"
#include "stations/station_record.h"
#include "support/test_env.h"

#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QFile>
#include <gtest/gtest.h>

using namespace dovrane;

namespace {

QString broadcast(double kHz, const char* utc, const char* station, const char* language, const char* country,
                  const char* flags, const char* target = "EU") {
    return formatPattern(kHz, QStringLiteral("00000.00")) + QLatin1Char(' ') + fitField(QLatin1String(utc), 9) +
           QLatin1Char(' ') + fitField(QLatin1String(station), 22) + QLatin1Char(' ') +
           fitField(QLatin1String(target), 8) + QLatin1Char(' ') + fitField(QLatin1String(language), 17) +
           QStringLiteral(" 250     5130N 00012W ") + fitField(QLatin1String(flags), 9) + QLatin1Char(' ') +
           fitField(QLatin1String(country), 12) + QStringLiteral(" Somewhere   ");
}

StationStore storeOf(const QStringList& lines) {
    StationStore s;
    for (int i = 0; i < lines.size(); ++i) {
        s.records.push_back(fitRecord(lines[i]));
        s.matchIndex.push_back(i);
    }
    return s;
}

class StationQueryTest : public test::AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        initcommontables();
    }
};

} // namespace

TEST_F(StationQueryTest, CriteriaAsTheWindowAsksThem) {
    const StationStore s = storeOf({
        broadcast(5995, "2300-0100", "Radio Alpha", "English", "Mali", "000010000"),
        broadcast(6200.5, "1200-1200", "radio beta", "ENGLISH/French", "France", "000100000"),
        broadcast(9000, "0000-0100", "Gamma", "German", "Germany", "000100000"),
        broadcast(15000, "0600-0800", "Delta", "Spanish", "Spain", "100000000"),
    });
    struct Case {
        const char* what;
        StationQuery q;
        std::vector<int> expected;
        QString from, to;
    };
    auto freq = [](const char* f, const char* t) {
        StationQuery q;
        q.frequency = true;
        q.from = QLatin1String(f);
        q.to = QLatin1String(t);
        return q;
    };
    StationQuery lang; lang.language = true; lang.languageText = QStringLiteral("eng");
    StationQuery anyLang; anyLang.language = true;
    StationQuery station; station.station = true; station.stationText = QStringLiteral("RADIO");
    StationQuery country; country.country = true; country.countryText = QStringLiteral("fra");
    StationQuery air; air.onAir = true;
    StationQuery eu; eu.area = true; eu.areaText = QStringLiteral("eu");
    StationQuery noArea; noArea.area = true; noArea.areaText = QStringLiteral("Germany");
    StationQuery both = freq("6", "10"); both.area = true; both.areaText = QStringLiteral("EU");
    const std::vector<Case> cases{
        {"defaults", freq("", ""), {0, 1, 2, 3}, "0", "32"},
        {"exchanged", freq("15", "9"), {2, 3}, "9", "15"},
        {"whole kHz", freq("6", "6.2"), {1}, "6", "6.2"},
        {"above the list", freq("20", "30"), {}, "20", "30"},
        {"below the list", freq("1", "2"), {}, "1", "2"},
        {"language prefix, any case", lang, {0, 1}, {}, {}},
        {"empty language", anyLang, {0, 1, 2, 3}, {}, {}},
        {"station", station, {0, 1}, {}, {}},
        {"country", country, {1}, {}, {}},
        {"on the air at 0030", air, {0, 2}, {}, {}},
        {"area eu", eu, {1, 2}, {}, {}},
        {"no region code", noArea, {}, {}, {}},
        {"range and area", both, {1, 2}, "6", "10"},
    };
    for (Case c : cases) {
        EXPECT_EQ(searchStations(s, StationListKind::Broadcast, c.q, 30), c.expected) << c.what;
        if (c.q.frequency) {
            EXPECT_EQ(c.q.from, c.from) << c.what;
            EXPECT_EQ(c.q.to, c.to) << c.what;
        }
    }
}

TEST_F(StationQueryTest, MatchesAPlainFilterOnGeneratedLists) {
    QRandomGenerator rng(21);
    const char* langs[] = {"English", "French", "german", "Arabic", "Eng/Fr"};
    const char* names[] = {"Radio One", "radio two", "Voice", "VOICE of", "Ondas"};
    const char* countries[] = {"France", "Mali", "Germany", "Chile", "Fiji"};
    for (int round = 0; round < 30; ++round) {
        std::vector<double> fs;
        const int n = 1 + int(rng.bounded(400));
        for (int i = 0; i < n; ++i) fs.push_back(double(rng.bounded(30000)) + rng.bounded(100) / 100.0);
        std::sort(fs.begin(), fs.end());
        QStringList lines;
        for (double f : fs) {
            const int s = int(rng.bounded(24)) * 100 + int(rng.bounded(4)) * 15;
            const int e = int(rng.bounded(24)) * 100;
            QString flags;
            for (int k = 0; k < 9; ++k) flags += rng.bounded(3) == 0 ? QLatin1Char('1') : QLatin1Char('0');
            const QByteArray utc = QStringLiteral("%1-%2").arg(s, 4, 10, QLatin1Char('0')).arg(e, 4, 10, QLatin1Char('0')).toLatin1();
            lines << broadcast(f, utc.constData(), names[rng.bounded(5)], langs[rng.bounded(5)],
                               countries[rng.bounded(5)], flags.toLatin1().constData());
        }
        const StationStore store = storeOf(lines);
        StationQuery q;
        q.frequency = rng.bounded(2);
        q.from = QString::number(rng.bounded(20));
        q.to = QString::number(rng.bounded(32));
        q.language = rng.bounded(2); q.languageText = QString::fromLatin1(langs[rng.bounded(5)]).left(3).toUpper();
        q.station = rng.bounded(2); q.stationText = QString::fromLatin1(names[rng.bounded(5)]).left(5);
        q.country = rng.bounded(2); q.countryText = QString::fromLatin1(countries[rng.bounded(5)]).left(2);
        q.onAir = rng.bounded(2);
        q.area = rng.bounded(2); q.areaText = RegionCodes[rng.bounded(9)].toLower();
        const int now = int(rng.bounded(24)) * 100 + int(rng.bounded(60));
        StationQuery asked = q;
        const std::vector<int> got = searchStations(store, StationListKind::Broadcast, asked, now);

        const double from = val(asked.from) * 1000, to = val(asked.to) * 1000;
        std::vector<int> expected;
        for (int i = 0; i < n; ++i) {
            const QString& r = store.records[size_t(i)];
            const double f = double(int(fs[size_t(i)]));
            if (q.frequency && (f < from || f > to)) continue;
            if (q.language && !r.mid(51).startsWith(q.languageText, Qt::CaseInsensitive)) continue;
            if (q.station && !r.mid(19).startsWith(q.stationText, Qt::CaseInsensitive)) continue;
            if (q.country && !r.mid(100).startsWith(q.countryText, Qt::CaseInsensitive)) continue;
            if (q.onAir) {
                const int s = r.mid(9, 4).toInt(), e = r.mid(14, 4).toInt();
                const bool on = s < e ? (s <= now && now <= e) : s > e ? (now >= s || now <= e) : false;
                if (!on) continue;
            }
            if (q.area) {
                int k = 0;
                while (RegionCodes[size_t(k)].compare(q.areaText, Qt::CaseInsensitive) != 0) ++k;
                if (r[90 + k] != QLatin1Char('1')) continue;
            }
            expected.push_back(i);
        }
        ASSERT_EQ(got, expected) << "round " << round;
    }
}

TEST_F(StationQueryTest, ProgressNeverDividesByZero) {
    const StationStore one = storeOf({broadcast(6000, "0000-0100", "A", "B", "C", "000000000")});
    StationQuery q;
    q.frequency = true;
    std::vector<int> seen;
    EXPECT_EQ(searchStations(one, StationListKind::Broadcast, q, 0, [&](int p) { seen.push_back(p); }).size(), 1u);
    ASSERT_FALSE(seen.empty());
    for (int p : seen) {
        EXPECT_GE(p, 0);
        EXPECT_LE(p, 100);
    }
}

TEST_F(StationQueryTest, AeroRangeAndNetwork) {
    const StationStore s = storeOf({"        header line", "00005.0 low", "02851.0 xxxxxxxxxxNAT-A family",
                                    "02899.0 xxxxxxxxxxnat-b", "05598.0 xxxxxxxxxxNAT-A again"});
    StationQuery q;
    q.frequency = true;
    q.from = QStringLiteral("0");
    q.to = QStringLiteral("3");
    EXPECT_EQ(searchStations(s, StationListKind::Aero, q, 0), (std::vector<int>{2, 3}));
    StationQuery n;
    n.network = true;
    n.networkText = QStringLiteral("nat-a");
    EXPECT_EQ(searchStations(s, StationListKind::Aero, n, 0), (std::vector<int>{2, 4}));
    EXPECT_EQ(resultLine(s.records[2], StationListKind::Aero).size(), 126);
    EXPECT_EQ(resultLine(broadcast(6000, "0000-0100", "A", "B", "Chad", "111111111"), StationListKind::Broadcast),
              broadcast(6000, "0000-0100", "A", "B", "Chad", "111111111").left(77) + QStringLiteral("Chad         Somewhere    "));
}

TEST_F(StationQueryTest, SortKeys) {
    StationStore s = storeOf({
        broadcast(9000, "2300-0000", "beta", "French", "X", "0"),
        broadcast(6000, "0000-0100", "Zeta", "Arabic", "X", "0"),
        broadcast(7000, "2300-0100", "Alpha", "Arabic", "X", "0"),
    });
    struct Case { int key; std::vector<int> order; };
    // Upper case sorts before lower case; equal times go by station.
    for (const Case& c : {Case{0, {1, 2, 0}}, Case{1, {1, 2, 0}}, Case{2, {2, 1, 0}}, Case{3, {2, 1, 0}}}) {
        s.matchIndex = {0, 1, 2};
        sortStationResult(s, c.key);
        EXPECT_EQ(s.matchIndex, c.order) << c.key;
    }
    s.matchIndex = {0, 1};   // two entries are sorted too
    sortStationResult(s, 0);
    EXPECT_EQ(s.matchIndex, (std::vector<int>{1, 0}));
}

TEST_F(StationQueryTest, ScanSteps) {
    struct Case { const char* what; QStringList entries; int pos; double last; int index; double kHz; int nextPos; };
    const QStringList aab{"06000.00 a", "06000.00 b", "07000.00 c"};
    const QStringList same{"06000.00 a", "06000.00 b"};
    const std::vector<Case> cases{
        {"skips repeats", aab, 0, 6000, 2, 7000, 0},
        {"plain", aab, 0, 0, 0, 6000, 1},
        {"wraps", aab, 2, 6000, 2, 7000, 0},
        {"clamped", aab, 9, 0, 0, 6000, 1},
        {"all equal", same, 1, 6000, 0, 6000, 1},
        {"empty", {}, 3, 0, -1, 0, 0},
    };
    for (const Case& c : cases) {
        int pos = c.pos;
        const ScanChoice ch = nextScanEntry(c.entries, pos, c.last);
        EXPECT_EQ(ch.index, c.index) << c.what;
        EXPECT_EQ(ch.kHz, c.kHz) << c.what;
        EXPECT_EQ(pos, c.nextPos) << c.what;
    }
}

TEST_F(StationQueryTest, LoadingAndChoiceFiles) {
    writeDataFile(QStringLiteral("ilgquery.ini"),
                  "stray line\r\n***from\r\n5.9\r\n===\r\n6\r\n***to\r\n7\r\n***lang\r\n***\r\n***\r\n***\r\n***\r\nextra\r\nlost\r\n");
    const std::vector<QStringList> c = readQueryChoices(dataPath(QStringLiteral("ilgquery.ini")), 6);
    ASSERT_EQ(c.size(), 6u);
    EXPECT_EQ(c[0], (QStringList{"5.9", "6"}));
    EXPECT_EQ(c[1], (QStringList{"7"}));
    for (int i = 2; i < 6; ++i) EXPECT_TRUE(c[size_t(i)].isEmpty());
    const std::vector<QStringList> none = readQueryChoices(dataPath(QStringLiteral("missing.ini")), 3);
    ASSERT_EQ(none.size(), 3u);
    for (const QStringList& l : none) EXPECT_TRUE(l.isEmpty());

    writeDataFile(QStringLiteral("list.ftl"), "06000.00 a\r\n06001.00 b\n06002.00 c\r");
    StationStore s;
    StationLoad l = loadStationList(dataPath(QStringLiteral("list.ftl")), 10, s);
    EXPECT_TRUE(l.read);
    EXPECT_EQ(l.loaded, 3);
    EXPECT_FALSE(l.cut);
    EXPECT_EQ(s.listLast(), 2);
    EXPECT_EQ(s.records[1].size(), 126);
    l = loadStationList(dataPath(QStringLiteral("list.ftl")), 2, s);
    EXPECT_TRUE(l.cut);
    EXPECT_EQ(s.listLast(), 1);
    EXPECT_EQ(s.matchCount(), 1);
    EXPECT_FALSE(loadStationList(dataPath(QStringLiteral("none.ftl")), 2, s).read);
}

namespace {

// Every list takes its size setting by one rule: the setting in thousands, to
// the nearest record, a fraction included. The BDXC, own and .320 lists count
// from record 1; the log and the station lists from index 0, so one more.
TEST_F(StationQueryTest, EveryListReadsAFractionalSizeAlike) {
    const struct {
        float thousands;
        int records;
    } rows[] = {{1, 1000}, {2.5f, 2500}, {2.4996f, 2500}, {1.0004f, 1000}, {15, 15000}, {30, 30000}};
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("ILGTEST.FTL"));
    for (const auto& row : rows) {
        SCOPED_TRACE(row.thousands);
        for (int i = 4; i <= 7; ++i) Settings[size_t(i)] = row.thousands;
        EXPECT_EQ(listCapacity(4), row.records) << "BDXC list";
        EXPECT_EQ(listCapacity(5), row.records) << "own and .320 lists";
        EXPECT_EQ(logCapacity(), row.records + 1) << "log";
        EXPECT_EQ(stationListCapacity(), row.records + 1) << "station lists";

        // A list one line longer than the capacity loads all but that line.
        if (row.records > 2500) continue;
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        const QByteArray line = broadcast(6000, "0000-2400", "Radio", "English", "Here", "000100000").toLatin1();
        for (int i = 0; i < row.records + 2; ++i) f.write(line + "\r\n");
        f.close();
        StationStore store;
        const StationLoad load = loadStationList(path, stationListCapacity(), store);
        EXPECT_EQ(load.loaded, row.records + 1);
        EXPECT_EQ(load.leftOut, 1);
    }
}

} // namespace
