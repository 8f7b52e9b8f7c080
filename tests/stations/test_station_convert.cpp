#include "platform/dbase_table.h"
#include "shell/common_tables.h"
#include "stations/dbase_writer.h"
#include "stations/station_convert.h"

#include <gtest/gtest.h>

using namespace dovrane;
using namespace dovrane::test;

namespace {

// A broadcast row: freq, utc, status, station, target, language, power, lati,
// longi, nine area fields, country, location.
DbfRow row(QByteArray freq, QByteArray utc, QByteArray status, QByteArray station, std::vector<QByteArray> areas = {},
           QByteArray target = "EU", QByteArray language = "English") {
    DbfRow r;
    r.values = {freq, utc, status, station, target, language, "250", "5130N", "00012W"};
    areas.resize(9);
    for (auto& a : areas) r.values.push_back(a);
    r.values.push_back("United Kingdom");
    r.values.push_back("Woofferton");
    return r;
}

QStringList convert(const std::vector<DbfRow>& rows, IlgIncludes include = {}) {
    DbaseTable t;
    EXPECT_TRUE(t.openData(makeDbf(broadcastFields(), rows)));
    BroadcastConversion c(t, include);
    while (c.convertNext()) {
    }
    return c.sortedLines();
}

} // namespace

TEST(BroadcastConversion, MakesTheFixedColumnLine) {
    // Station name in code page 850: "R\xa0dio" is "Rádio".
    const QStringList lines = convert({
        row("6195", "0500-0700", "", "BBC World Service", {"", "", "", "EU"}),
        row("999.5", "1800-1900", "c", "R\xa0" "dio Nacional de Espa\xa4" "a Exterior", {"NA", " CA", "sa"}, "NAm",
            "Spanish and Portuguese"),
    });
    ASSERT_EQ(lines.size(), 2);
    const QString first = QStringLiteral("00999.50 1800-1900 ") + QString::fromUtf8("R\u00e1dio Nacional de Espa") +
                          QStringLiteral(" NAm      Spanish and Portu 250     5130N 00012W 100000000 United Kingd Woofferton  ");
    const QString second = QStringLiteral(
        "06195.00 0500-0700 BBC World Service      EU       English           250     5130N 00012W 000100000 United Kingd Woofferton  ");
    EXPECT_EQ(lines[0], first);
    EXPECT_EQ(lines[1], second);
    EXPECT_EQ(lines[0].size(), 125);
    EXPECT_EQ(lines[0].toLatin1()[20], '\xe1');
}

TEST(BroadcastConversion, RecordsThatAreLeftOut) {
    struct Case { const char* what; DbfRow r; IlgIncludes include; bool kept; };
    const Case cases[] = {
        {"status e, no include", row("6000", "0000-0100", "e", "S"), {}, false},
        {"status E, included", row("6000", "0000-0100", "E", "S"), {true, false, false, false}, true},
        {"status I", row("6000", "0000-0100", "I", "S"), {}, false},
        {"status N included", row("6000", "0000-0100", "N", "S"), {false, false, true, false}, true},
        {"status P", row("6000", "0000-0100", "P", "S"), {true, true, true, false}, false},
        {"status X", row("6000", "0000-0100", "X", "S"), {}, true},
        {"utc letter", row("6000", "A000-0100", "", "S"), {}, false},
        {"utc blank first", row("6000", " 000-0100", "", "S"), {}, false},
        {"utc missing", row("6000", "", "", "S"), {}, false},
        {"freq missing", row("", "0000-0100", "", "S"), {}, false},
        {"freq too large", row("123456", "0000-0100", "", "S"), {}, false},
    };
    for (const Case& c : cases) EXPECT_EQ(convert({c.r}, c.include).size(), c.kept ? 1 : 0) << c.what;
}

TEST(BroadcastConversion, ColumnsHoldWhateverTheSourceHolds) {
    // A short or long time, a long station and a short target keep every
    // later field in its column.
    const QStringList lines = convert({row("6000", "0000", "", "A station name longer than 22"),
                                       row("6001", "0000-0100 daily", "", "X", {}, "E")});
    ASSERT_EQ(lines.size(), 2);
    for (const QString& l : lines) {
        EXPECT_EQ(l.size(), 125);
        EXPECT_EQ(l.mid(69, 3), QStringLiteral("250"));
        EXPECT_EQ(l.mid(100, 12), QStringLiteral("United Kingd"));
    }
    EXPECT_EQ(lines[0].mid(9, 10), QStringLiteral("0000      "));
    EXPECT_EQ(lines[0].mid(19, 22), QStringLiteral("A station name longer "));
    EXPECT_EQ(lines[1].mid(9, 10), QStringLiteral("0000-0100 "));
    EXPECT_EQ(lines[1].mid(42, 8), QStringLiteral("E       "));
}

TEST(BroadcastConversion, OutputIsInFrequencyOrderAndCountsPastShortRange) {
    std::vector<DbfRow> rows;
    for (int i = 0; i < 33000; ++i) rows.push_back(row(QByteArray::number(20000 - (i % 7000)), "0000-0100", "", "S"));
    const QStringList lines = convert(rows);
    ASSERT_EQ(lines.size(), 33000);
    for (int i = 1; i < lines.size(); ++i) ASSERT_LE(lines[i - 1].left(8), lines[i].left(8)) << i;
}

TEST(AeroConversion, FullForm) {
    AeroConversion c(false);
    const QStringList src{
        "Aero list header",
        "  500   header value below the list",
        "01000.0 exactly 1000 is still a header line",
        "02851.0 NAT-A   North Atlantic Family A    Gander / Shanwick",
        "        cont    more stations............  Santa Maria",
        "        short",
        "  900   a low line after the start, long enough to be carried on",
        "03016.0 NAT-A   North Atlantic Family A    New York",
    };
    for (const QString& l : src) c.feed(l);
    EXPECT_EQ(c.count(), src.size());
    const QStringList out = c.sortedLines();
    ASSERT_EQ(out.size(), 3);
    EXPECT_EQ(out[0], src[3]);
    EXPECT_EQ(out[1], src[3].left(39) + src[4].mid(39));
    EXPECT_EQ(out[2], src[7]);
}

TEST(AeroConversion, NetworkFormDropsOnlyConsecutiveRepeats) {
    AeroConversion c(true);
    const QStringList src{
        "header 12",
        "02851.0 xxxxxxxxNAT-A Family A          rest",
        "02851.0 yyyyyyyyNAT-A Family A          other",
        "02899.0 xxxxxxxxNAT-B Family B",
        "02851.0 zzzzzzzzNAT-A Family A          again",
        "   12   5678 inner blanks join into one number",
    };
    for (const QString& l : src) c.feed(l);
    const QStringList out = c.sortedLines();
    ASSERT_EQ(out.size(), 4);
    // Blanks inside a number are skipped, so "   12   5678" counts as 125678.
    EXPECT_EQ(out[0], QStringLiteral("   12           er blanks join into on"));
    EXPECT_EQ(out[1], QStringLiteral("02851.0         NAT-A Family A        "));
    EXPECT_EQ(out[1].size(), 38);
    EXPECT_EQ(out[2], out[1]);   // written again after a different key
    EXPECT_EQ(out[3], QStringLiteral("02899.0         NAT-B Family B        "));
}
