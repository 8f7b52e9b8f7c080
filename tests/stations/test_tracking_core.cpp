#include "platform/number_text.h"
#include "shell/common_tables.h"
#include "shell/globals.h"
#include "stations/station_record.h"
#include "stations/tracking_core.h"
#include "support/test_env.h"

#include <gtest/gtest.h>

using namespace dovrane;

namespace {

QString line(double kHz, const char* utc = "0000-2359", const char* target = "NA", const char* flags = "000000000",
             const char* lat = "5130N", const char* lon = "00012W") {
    return fitRecord(formatPattern(kHz, QStringLiteral("00000.00")) + QLatin1Char(' ') + fitField(QLatin1String(utc), 9) +
                     QStringLiteral(" Station                ") + fitField(QLatin1String(target), 8) +
                     QStringLiteral(" English           250     ") + fitField(QLatin1String(lat), 5) + QLatin1Char(' ') +
                     fitField(QLatin1String(lon), 6) + QLatin1Char(' ') + QLatin1String(flags) +
                     QStringLiteral(" Country      Location    "));
}

class TrackingCoreTest : public test::AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        initcommontables();
    }
};

} // namespace

TEST_F(TrackingCoreTest, LookupFindsTheLastLineNotAbove) {
    std::vector<QString> recs;
    for (int f : {0, 10, 20, 30, 40}) recs.push_back(line(f));
    const std::pair<double, int> cases[] = {{-5, 1}, {0, 1}, {10, 1}, {15, 1}, {25, 2}, {30, 3}, {35, 3}, {40, 3}, {45, 3}};
    for (auto [f, index] : cases) EXPECT_EQ(trackLookup(recs, f), index) << f;
    const std::vector<QString> three{line(0), line(10), line(20)};
    EXPECT_EQ(trackLookup(three, 20), 2);
    EXPECT_EQ(trackLookup(three, 19), 1);
    EXPECT_EQ(trackLookup({line(0), line(10)}, 10), -1);
}

TEST_F(TrackingCoreTest, GatheringAroundTheFrequency) {
    std::vector<QString> recs{line(5996), line(5998), line(5999), line(6000), line(6000, "1200-1200"), line(6001),
                              line(6002), line(6003)};
    const int index = trackLookup(recs, 6000);
    const std::vector<QString> all = gatherTracking(recs, index, 6000, 2, false, 30);
    ASSERT_EQ(all.size(), 5u);   // 5999, 6000, 6000, separator, 6001 (5998 and 6002 are exactly 2 away)
    EXPECT_EQ(recordFrequency(all[2]), 6000);
    EXPECT_TRUE(all[3].startsWith(QStringLiteral("= = =")));
    EXPECT_EQ(all[3].trimmed().size(), 49);
    EXPECT_EQ(recordFrequency(all[4]), 6001);
    const std::vector<QString> hits = gatherTracking(recs, index, 6000, 2, true, 30);
    EXPECT_EQ(hits.size(), 4u);   // the 1200-1200 line is never on the air
    EXPECT_TRUE(gatherTracking(recs, index, 6000, 0, false, 30).empty());

    std::vector<QString> many;
    for (int i = 0; i < 400; ++i) many.push_back(line(6000 + i * 0.001));
    const std::vector<QString> capped = gatherTracking(many, trackLookup(many, 6000.1), 6000.1, 5, false, 0);
    EXPECT_EQ(int(capped.size()), TrackShownCapacity);
    EXPECT_EQ(trackingPages(int(capped.size())), 7);
    EXPECT_EQ(trackingPages(25), 2);
    EXPECT_EQ(trackingPages(24), 1);
    EXPECT_EQ(trackingPages(0), 0);
}

TEST_F(TrackingCoreTest, RowsColoursAndAlternates) {
    Settings[2] = 3;   // the receiver in Europe
    const std::vector<QString> shown{line(6000, "2200-0200", "NA"), line(6001, "2200-0200", "W.EU"),
                                     line(6002, "0300-0400", "NA", "000100000"), trackingSeparator()};
    struct Case { bool hits; int row; TrackColour colour; };
    const Case cases[] = {{false, 0, TrackColour::OnAir}, {false, 1, TrackColour::Aimed}, {false, 2, TrackColour::Off},
                          {true, 2, TrackColour::Aimed}, {true, 0, TrackColour::OnAir}, {false, 3, TrackColour::Off}};
    for (const Case& c : cases)
        EXPECT_EQ(trackingRow(shown, 0, c.row, c.hits, TrackAlternate::LatLon, 130, 3, {}, {}).colour, c.colour)
            << c.hits << c.row;
    EXPECT_TRUE(trackingRow(shown, 0, 4, false, TrackAlternate::LatLon, 0, 3, {}, {}).text.isEmpty());
    EXPECT_EQ(trackingRow(shown, 0, 3, false, TrackAlternate::Country, 0, 3, {}, {}).text, shown[3]);
    EXPECT_EQ(trackingRow(shown, 0, 0, false, TrackAlternate::Country, 0, 3, {}, {}).text.mid(77, 12),
              QStringLiteral("Country     "));
    EXPECT_EQ(trackingRow(shown, 0, 0, false, TrackAlternate::Location, 0, 3, {}, {}).text.mid(77, 12),
              QStringLiteral("Location    "));
    EXPECT_EQ(trackingRow(shown, 0, 0, false, TrackAlternate::DisDir, 0, 3, QStringLiteral("5130N"),
                          QStringLiteral("00012W")).text.mid(77, 12),
              QStringLiteral("00000 km 000"));
    EXPECT_EQ(trackingRow(shown, 0, 0, false, TrackAlternate::DisDir, 0, 3, QString(), QString()).text.mid(77, 12),
              QString(12, QLatin1Char(' ')));
}

TEST_F(TrackingCoreTest, DistancesAndDirectionsOfCityPairs) {
    struct Pair { const char* what; const char* lat1; const char* lon1; const char* lat2; const char* lon2; double km; double deg; };
    // Great-circle values (spherical law of cosines) at 1.852 km per arc minute.
    const Pair pairs[] = {
        {"London-New York", "5130N", "00007W", "4043N", "07400W", 5566.8, 288.3},
        {"Sydney-Santiago", "3352S", "15112E", "3327S", "07040W", 11339.8, 145.3},
        {"Tokyo-Honolulu across the date line", "3541N", "13945E", "2118N", "15751W", 6197.3, 87.0},
        {"Honolulu-Tokyo", "2118N", "15751W", "3541N", "13945E", 6197.3, 299.5},
        {"Quito-Singapore near antipodes", "0013S", "07831W", "0117N", "10351E", 19713.2, 294.3},
        {"to the north pole", "5000N", "01000E", "9000N", "00000E", 4444.8, 0},
        {"equator, same longitude south", "1000N", "02000E", "1000S", "02000E", 2222.4, 180},
        {"same place", "5130N", "00012W", "5130N", "00012W", 0, 0},
    };
    for (const Pair& p : pairs) {
        double lat1, lon1, lat2, lon2, km, deg;
        ASSERT_TRUE(parseCoordinate(QLatin1String(p.lat1), true, &lat1)) << p.what;
        ASSERT_TRUE(parseCoordinate(QLatin1String(p.lon1), false, &lon1)) << p.what;
        ASSERT_TRUE(parseCoordinate(QLatin1String(p.lat2), true, &lat2)) << p.what;
        ASSERT_TRUE(parseCoordinate(QLatin1String(p.lon2), false, &lon2)) << p.what;
        greatCircle(lat1, lon1, lat2, lon2, &km, &deg);
        EXPECT_NEAR(km, p.km, 1.0) << p.what;
        const double d = std::fabs(deg - p.deg);
        EXPECT_LE(std::min(d, 360 - d), 1.0) << p.what;
        EXPECT_GE(deg, 0);
        EXPECT_LT(deg, 360);
    }
}

TEST_F(TrackingCoreTest, CoordinateTexts) {
    struct Case { const char* text; bool latitude; bool ok; double degrees; };
    const Case cases[] = {{"530N", true, true, 5.5},      {"0530S", true, true, -5.5},  {"10530W", false, true, -105.5},
                          {"  45E", false, true, 0.75},   {"9000N", true, true, 90},    {"9100N", true, false, 0},
                          {"5160N", true, false, 0},      {"5130", true, false, 0},     {"", true, false, 0},
                          {"30N", true, true, 0.5},        {"18001E", false, false, 0},  {"51a0N", true, false, 0},
                          {"5130E", true, false, 0}};
    for (const Case& c : cases) {
        double d = 0;
        EXPECT_EQ(parseCoordinate(QLatin1String(c.text), c.latitude, &d), c.ok) << c.text;
        if (c.ok) {
            EXPECT_DOUBLE_EQ(d, c.degrees) << c.text;
        }
    }
    const QString rec = line(6000, "0000-0100", "NA", "000000000", "4043N", "07400W");
    EXPECT_EQ(calcdistbearing(rec, QStringLiteral("5130N"), QStringLiteral("00007W")), QStringLiteral("05567 km 288"));
    EXPECT_EQ(calcdistbearing(line(6000, "", "", "", "", ""), QStringLiteral("5130N"), QStringLiteral("00007W")),
              QString(12, QLatin1Char(' ')));
}
