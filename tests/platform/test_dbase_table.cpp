#include "platform/dbase_table.h"
#include "stations/dbase_writer.h"

#include <QRandomGenerator>
#include <gtest/gtest.h>

using namespace dovrane;
using namespace dovrane::test;

namespace {

std::vector<DbfField> smallFields() {
    return {{"NAME", 'C', 12}, {"Freq", 'N', 8, 2}, {"RATE", 'F', 6, 1}, {"ON", 'L', 1}, {"DAY", 'D', 8},
            {"MEMO", 'M', 10}};
}

} // namespace

TEST(DbaseTable, ReadsEveryFieldTypeAndSkipsDeletedRows) {
    const QByteArray data = makeDbf(smallFields(), {
        {{"  lead", "  6195.00", "  0.5", "T", "20240131", "0000000001"}},
        {{"gone", "1", "1", "F", "", ""}, true},
        {{"", "", "***", "?", "", ""}},
        {{"\x82t\x82", "-12.25", "500.0", "n", "", ""}},
    });
    DbaseTable t;
    QString why;
    ASSERT_TRUE(t.openData(data, &why)) << why.toStdString();
    EXPECT_EQ(t.recordCount(), 4);
    EXPECT_EQ(t.codePage(), QStringLiteral("IBM850"));
    EXPECT_EQ(t.fieldIndex(QStringLiteral("FREQ")), 1);   // case ignored
    EXPECT_EQ(t.fieldIndex(QStringLiteral("missing")), -1);

    struct Expect { const char* name; std::optional<QString> v; };
    const std::vector<std::vector<Expect>> rows{
        {{"NAME", QStringLiteral("  lead")}, {"FREQ", QStringLiteral("6195")}, {"RATE", QStringLiteral("0.5")},
         {"ON", QStringLiteral("True")}, {"DAY", QStringLiteral("20240131")}, {"MEMO", std::nullopt}},
        {{"NAME", std::nullopt}, {"FREQ", std::nullopt}, {"RATE", std::nullopt}, {"ON", std::nullopt},
         {"DAY", std::nullopt}},
        {{"NAME", QString::fromUtf8("\u00e9t\u00e9")}, {"FREQ", QStringLiteral("-12.25")},
         {"RATE", QStringLiteral("500")}, {"ON", QStringLiteral("False")}},
    };
    t.moveFirst();
    for (const auto& row : rows) {
        ASSERT_FALSE(t.atEnd());
        for (const Expect& e : row) EXPECT_EQ(t.value(QString::fromLatin1(e.name)), e.v) << e.name;
        t.moveNext();
    }
    EXPECT_TRUE(t.atEnd());
    EXPECT_EQ(t.value(0), std::nullopt);
}

TEST(DbaseTable, CodePageFollowsTheLanguageDriver) {
    struct Case { uint8_t ldid; const char* page; const char* expected; };
    const Case cases[] = {{0x01, "IBM437", "\u00e9"}, {0x02, "IBM850", "\u00e9"}, {0x57, "windows-1252", "\u201a"},
                          {0x00, "IBM437", "\u00e9"}};
    for (const Case& c : cases) {
        DbfOptions opt;
        opt.languageDriver = c.ldid;
        DbaseTable t;
        ASSERT_TRUE(t.openData(makeDbf({{"N", 'C', 3}}, {{{"\x82"}}}, opt)));
        EXPECT_EQ(t.codePage(), QLatin1String(c.page));
        EXPECT_EQ(t.value(0), QString::fromUtf8(c.expected)) << c.page;
    }
}

TEST(DbaseTable, VersionsAndDamagedTablesAreTold) {
    const std::vector<DbfRow> rows{{{"a"}}, {{"b"}}};
    for (uint8_t v : {uint8_t(0x03), uint8_t(0x83), uint8_t(0x8B)}) {
        DbfOptions opt;
        opt.version = v;
        DbaseTable t;
        EXPECT_TRUE(t.openData(makeDbf({{"N", 'C', 3}}, rows, opt))) << int(v);
    }
    struct Bad { const char* what; QByteArray data; };
    DbfOptions wrongVersion; wrongVersion.version = 0x30;
    DbfOptions encrypted; encrypted.encrypted = 1;
    QByteArray noTerminator = makeDbf({{"N", 'C', 3}}, rows);
    noTerminator[8] = char(200);   // header longer than the file's descriptors say
    const Bad bad[] = {{"version", makeDbf({{"N", 'C', 3}}, rows, wrongVersion)},
                       {"encrypted", makeDbf({{"N", 'C', 3}}, rows, encrypted)},
                       {"short", QByteArray("\x03\x01\x02", 3)},
                       {"empty", QByteArray()},
                       {"header", noTerminator.left(60)}};
    for (const Bad& b : bad) {
        DbaseTable t;
        QString why;
        EXPECT_FALSE(t.openData(b.data, &why)) << b.what;
        EXPECT_FALSE(why.isEmpty()) << b.what;
        EXPECT_FALSE(t.isOpen());
    }
}

TEST(DbaseTable, RecordCountIsBoundedByTheFile) {
    DbfOptions lying;
    lying.countOverride = 1000000;
    lying.endMarker = false;
    QByteArray data = makeDbf({{"N", 'C', 4}}, {{{"one"}}, {{"two"}}, {{"thr"}}}, lying);
    data.chop(2);   // the last record cut short
    DbaseTable t;
    ASSERT_TRUE(t.openData(data));
    EXPECT_EQ(t.recordCount(), 2);
    int n = 0;
    for (t.moveFirst(); !t.atEnd(); t.moveNext()) ++n;
    EXPECT_EQ(n, 2);
}

TEST(DbaseTable, RandomBytesNeverCrash) {
    QRandomGenerator rng(7);
    const QByteArray good = makeDbf(broadcastFields(), {{{"6195", "0500-0700", "C", "Station"}}});
    int opened = 0, refused = 0;
    for (int round = 0; round < 400; ++round) {
        QByteArray data = good;
        if (round % 4 == 0) {
            data = QByteArray(int(rng.bounded(600)), '\0');
            for (char& c : data) c = char(rng.bounded(256));
            if (!data.isEmpty()) data[0] = char(0x03);
        } else {
            for (int k = 0; k < 1 + round % 9; ++k) data[int(rng.bounded(quint32(data.size())))] = char(rng.bounded(256));
            if (round % 3 == 0) data.truncate(int(rng.bounded(quint32(data.size()))));
        }
        DbaseTable t;
        QString why;
        if (!t.openData(data, &why)) {
            EXPECT_FALSE(why.isEmpty());
            ++refused;
            continue;
        }
        ++opened;
        int rows = 0;
        for (t.moveFirst(); !t.atEnd(); t.moveNext()) {
            ++rows;
            for (int f = 0; f < int(t.fields().size()); ++f) (void)t.value(f);
        }
        EXPECT_LE(rows, t.recordCount());
        EXPECT_LE(qint64(t.recordCount()), qint64(data.size()));
    }
    EXPECT_GT(opened, 0);
    EXPECT_GT(refused, 0);
}
