// The three read-only list formats without a window: BDXC fixed columns with
// ditto marks and the time selection, the own list and the ".320" fields.
#include "lists/list_files.h"

#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace dovrane {
namespace {

// A BDXC line from its parts, each placed at its columns.
QString bdxc(const char* country, const char* org, const char* time, const char* freqs) {
    QString l = QString::fromLatin1(country).leftJustified(17, QLatin1Char(' '), true);
    l += QString::fromLatin1(org).leftJustified(18, QLatin1Char(' '), true);
    l += QString::fromLatin1(time).leftJustified(13, QLatin1Char(' '), true);
    return l + QString::fromLatin1(freqs);
}

TEST(BdxcFile, DittoMarksCopyTheRecordBefore) {
    const std::vector<QString> r = resolveBdxcLines({
        bdxc(".", "Ditto first", "0100-0200", "5000"),
        bdxc("Germany", "Deutsche Welle", "0100-0200", "6075"),
        bdxc(".", ".", "0200-0300", "9545"),
        bdxc(".", "DW relay", "0300-0400", "9545"),
        QStringLiteral("."),
        QString(),
    });
    ASSERT_EQ(r.size(), 6u);
    for (const QString& rec : r) EXPECT_EQ(rec.size(), 100);
    EXPECT_EQ(r[0].left(17), QString(17, QLatin1Char(' '))) << "a ditto on the first line copies nothing";
    EXPECT_EQ(bdxcRow(r[2]).mid(0, 3),
              (QStringList{QStringLiteral("Germany         "), QStringLiteral("Deutsche Welle   "),
                           QStringLiteral("0200-0300")}));
    EXPECT_EQ(bdxcRow(r[3])[0], QStringLiteral("Germany         ")) << "a run of dittos repeats the last value";
    EXPECT_EQ(bdxcRow(r[3])[1], QStringLiteral("DW relay         "));
    EXPECT_EQ(bdxcRow(r[4])[0], QStringLiteral("Germany         "));
    EXPECT_EQ(bdxcRow(r[5]), (QStringList{QString(16, QLatin1Char(' ')), QString(17, QLatin1Char(' ')),
                                          QString(9, QLatin1Char(' ')), QString(), QString(), QString(), QString(),
                                          QString(), QString(), QString()}))
        << "a blank line: blank columns, nothing shifted";
}

TEST(BdxcFile, FrequencyCells) {
    const QStringList row = bdxcRow(bdxc("X", "Y", "0000-2400", "6075,9545.5, 7,abc,,15400,1,2,3,4,5,6"));
    ASSERT_EQ(row.size(), 10);
    EXPECT_EQ(row.mid(3),
              (QStringList{QStringLiteral(" 6075"), QStringLiteral(" 9545.5"), QString(), QString(), QString(),
                           QStringLiteral(" 15400"), QString()}));
    EXPECT_EQ(listFrequencies(QStringLiteral("6075,9545"), false), (QStringList{"6075", "9545"}));
    EXPECT_EQ(listFrequencies(QStringLiteral("11,12,13,14,15,16,17,18,19,20,21,22"), false).size(), 10);
}

TEST(BdxcFile, TimeSelection) {
    struct Case {
        const char* times;
        const char* at;
        bool shown;
    };
    const Case cases[] = {
        {"2300-0100", "2330", true},  {"2300-0100", "2400", true},  {"2300-0100", "0030", true},
        {"2300-0100", "0100", true},  {"2300-0100", "0101", false}, {"2300-0100", "2259", false},
        {"1000-1100", "1000", true},  {"1000-1100", "1100", true},  {"1000-1100", "1101", false},
        {"1000-1000", "1000", false}, {"", "1000", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(bdxcOnAir(fitListLine(bdxc("X", "Y", c.times, "")), QString::fromLatin1(c.at)), c.shown)
            << c.times << " at " << c.at;
    for (const char* ok : {"2400", "0001", "1230"}) EXPECT_TRUE(bdxcTimeAnswer(QString::fromLatin1(ok))) << ok;
    for (const char* bad : {"0000", "2401", "930", "all", "", "12345"})
        EXPECT_FALSE(bdxcTimeAnswer(QString::fromLatin1(bad))) << bad;
    EXPECT_EQ(bdxcTitles(QStringLiteral("ilg_x.txt"))[1], QStringLiteral(" Language"));
    EXPECT_EQ(bdxcTitles(QStringLiteral("BDX_A07TOE.TXT"))[0], QStringLiteral(" Country"));
}

TEST(OwnList, ColumnsFrequenciesAndModeLetter) {
    QString line = QStringLiteral("Radio Sweden        SWE ENG 0100-0130");
    line = line.leftJustified(43, QLatin1Char(' ')) + QStringLiteral("u");
    line = line.leftJustified(50, QLatin1Char(' ')) + QStringLiteral("6065,9490,11,12,13,14,15,16.5,17,18,19");
    const QStringList row = ownRow(line);
    ASSERT_EQ(row.size(), 14);
    EXPECT_EQ(row[0], QStringLiteral("Radio Sweden       "));
    EXPECT_EQ(row[1], QStringLiteral("SWE"));
    EXPECT_EQ(row[2], QStringLiteral("ENG"));
    EXPECT_EQ(row[3], QStringLiteral("0100-0130"));
    EXPECT_EQ(row[4], QStringLiteral("6065"));
    EXPECT_EQ(row[11], QStringLiteral("16.5")) << "the eighth frequency is shown";
    EXPECT_EQ(row[12], QString());
    EXPECT_EQ(row[13], QStringLiteral("U"));
    EXPECT_EQ(ownRow(QStringLiteral("short")).size(), 14);
}

TEST(F320File, FieldsEndedByCommasAndQuotes) {
    const F320Record r = f320Fields(
        QStringLiteral("\"Radio \"X\"\",9.41,AM,a,b,c,d,London,English,0100,0200,A note longer than twenty,"));
    EXPECT_EQ(r[0], QStringLiteral("Radio \"X\"")) << "one quote off each end, inner quotes stay";
    EXPECT_EQ(f320Row(r),
              (QStringList{QStringLiteral("Radio \"X\""), QStringLiteral("09410.000"), QStringLiteral("AM"),
                           QStringLiteral("London"), QStringLiteral("English"), QStringLiteral("0100"),
                           QStringLiteral("0200"), QStringLiteral("A note longer than t")}));
    // Without the last comma the notes are dropped.
    EXPECT_EQ(f320Fields(QStringLiteral("N,9.41,AM,a,b,c,d,L,E,0100,0200,notes"))[11], QString());
    // Sixteen and more fields: the first fifteen.
    const F320Record many = f320Fields(QStringLiteral("0,1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,"));
    EXPECT_EQ(many[14], QStringLiteral("14"));
    EXPECT_EQ(f320Row(f320Fields(QString()))[1], QStringLiteral("00000.000"));
}

TEST(ListFile, CapacityAndRandomBytes) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("x.txt"));
    EXPECT_FALSE(readListFile(path, 5));
    QRandomGenerator rng(18);
    for (int round = 0; round < 30; ++round) {
        QByteArray junk(int(rng.bounded(3000)), '\0');
        for (char& ch : junk) ch = char(rng.bounded(256));
        {
            QFile f(path);
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            f.write(junk);
        }
        const std::optional<ListFileLines> lines = readListFile(path, 20);
        ASSERT_TRUE(lines);
        EXPECT_LE(lines->lines.size(), 20);
        for (const QString& rec : resolveBdxcLines(lines->lines)) {
            EXPECT_EQ(bdxcRow(rec).size(), 10);
            bdxcOnAir(rec, QStringLiteral("1200"));
        }
        for (const QString& l : lines->lines) {
            EXPECT_EQ(ownRow(l).size(), 14);
            EXPECT_EQ(f320Row(f320Fields(l)).size(), 8);
        }
    }
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("a\nb\nc\nd\n");
    }
    const std::optional<ListFileLines> cut = readListFile(path, 3);
    ASSERT_TRUE(cut);
    EXPECT_EQ(cut->lines.size(), 3);
    EXPECT_EQ(cut->leftOut, 1);
}

} // namespace
} // namespace dovrane
