// The settings file and the window-position file: layout, round trips and the
// reader's handling of short, long, odd and missing files.
#include "shell/common_tables.h"
#include "shell/globals.h"
#include "shell/settings_file.h"
#include "support/test_env.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cmath>

namespace dovrane::test {
namespace {

class SettingsFileTest : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        initcommontables();
    }

    // A settings file of the given lines, CR LF ended, where the program reads it.
    void writeSettings(const QList<QByteArray>& lines) {
        QByteArray all;
        for (const QByteArray& l : lines) all += l + "\r\n";
        writeConfigFile(SettingsFileName, all);
    }

    static void writeConfigFile(const QString& name, const QByteArray& content) {
        QFile f(ConfigDir + name);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(content);
    }

    // Lines 1..4 as given, then Settings(1..31) at their defaults with one changed.
    QList<QByteArray> settingsLines(const QByteArray& line4 = " 0", int index = 0, const QByteArray& value = {}) {
        QList<QByteArray> lines{ConfigDir.toUtf8(), "4530N", "01245E", line4};
        for (int i = 1; i <= 31; ++i)
            lines << (i == index ? value : numTextBytes(defaultSetting(i)));
        return lines;
    }

    static QByteArray numTextBytes(float v) {
        return v < 0 ? QByteArray::number(v) : " " + QByteArray::number(v);
    }

    void expectDefaults(int from, int to) {
        for (int i = from; i <= to; ++i) EXPECT_EQ(Settings[size_t(i)], defaultSetting(i)) << "Settings(" << i << ")";
    }
};

TEST_F(SettingsFileTest, WrittenSettingsReadBackIdenticallyAndRewriteTheSameBytes) {
    ConfiguredDataFolder = DataFolder;
    RxLatitude = QStringLiteral("0000N");        // the equator is a place too
    RxLongitude = QStringLiteral("18000W");
    ConfiguredRxType = 3;
    const std::array<float, 32> values{0, 5, 8, -5.5f, 30, 1, 2.5f, 15, 7, -2, 1, 0, 1, 1, 6, 1, 2, 3,
                                       1, 0, -1000, 0.5f, 1, 1, 3, 9, 255, 0, 99, 0, 1, 42};
    for (int i = 1; i <= 31; ++i) Settings[size_t(i)] = values[size_t(i)];

    QString error;
    ASSERT_TRUE(writeSettingsFile(&error)) << error.toStdString();
    const QByteArray first = readDataFile(SettingsFileName);
    const QList<QByteArray> lines = first.split('\n');
    ASSERT_EQ(lines.size(), 36);                     // 35 lines, each ended
    EXPECT_TRUE(lines.last().isEmpty());
    for (int i = 0; i < 35; ++i) EXPECT_TRUE(lines[i].endsWith('\r')) << "line " << i + 1;
    EXPECT_EQ(lines[1], "0000N\r");
    EXPECT_EQ(lines[3], " 3\r");
    EXPECT_EQ(lines[6], "-5.5\r");                   // Settings(3)
    EXPECT_EQ(lines[24], " .5\r");                   // Settings(21)
    EXPECT_EQ(lines[23], "-1000\r");                 // Settings(20)

    const auto written = Settings;
    Settings.fill(-1);
    RxType = 0;
    ASSERT_TRUE(readSettingsFile());
    for (int i = 1; i <= 31; ++i) EXPECT_EQ(Settings[size_t(i)], written[size_t(i)]) << "Settings(" << i << ")";
    EXPECT_EQ(Settings[32], 0.0f);
    EXPECT_EQ(RxType, 3);
    EXPECT_EQ(ConfiguredRxType, 3);
    EXPECT_EQ(RxLatitude, QStringLiteral("0000N"));
    EXPECT_EQ(RxLongitude, QStringLiteral("18000W"));
    EXPECT_EQ(DataFolder, ConfiguredDataFolder);

    ASSERT_TRUE(writeSettingsFile());
    EXPECT_EQ(readDataFile(SettingsFileName), first);
}

TEST_F(SettingsFileTest, NumbersOnTheLinesAreReadAsTheProgramWritesThem) {
    struct Case {
        int index;
        QByteArray text;
        float expected;
    };
    const Case cases[] = {
        {3, " .5", 0.5f}, {3, "-3", -3}, {20, "", 0}, {3, "  -5.5 hours", -5.5f},
        {26, "12.5.3", 12.5f}, {21, "?", 0}, {31, "\t7", 7},
    };
    for (const Case& c : cases) {
        writeSettings(settingsLines(" 0", c.index, c.text));
        readSettingsFile();
        EXPECT_EQ(Settings[size_t(c.index)], c.expected) << "line \"" << c.text.toStdString() << "\"";
    }
}

TEST_F(SettingsFileTest, ReceiverTypeIsTheNearestWholeNumber) {
    const std::pair<QByteArray, int> cases[] = {{" 3", 3}, {"2.6", 3}, {"2.5", 2}, {"3.5", 4}, {" 4", 4},
                                                {"5", 0},  {"-1", 0},  {"abc", 0}};
    for (const auto& [text, type] : cases) {
        writeSettings(settingsLines(text));
        readSettingsFile();
        EXPECT_EQ(RxType, type) << "line 4 \"" << text.toStdString() << "\"";
        EXPECT_EQ(ConfiguredRxType, type);
    }
}

TEST_F(SettingsFileTest, MissingFileGivesTheDefaults) {
    RxType = 4;
    Settings[4] = 9;
    EXPECT_FALSE(readSettingsFile());
    EXPECT_EQ(DataFolder, QDir::homePath() + QStringLiteral("/ReZeri/"));
    EXPECT_EQ(ConfiguredDataFolder, DataFolder);
    EXPECT_EQ(RxType, 0);
    EXPECT_EQ(RxLatitude, DefaultLatitude);
    EXPECT_EQ(RxLongitude, DefaultLongitude);
    EXPECT_TRUE(validLatitude(DefaultLatitude));
    EXPECT_TRUE(validLongitude(DefaultLongitude));
    const float expected[] = {0, 1, 0, 0, 2, 1, 1, 15, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1,
                              0, 0, 0, 0, 0, 1, 3, 9, 50, 20, 0, 0, 0, 0, 0};
    for (int i = 0; i <= 32; ++i) EXPECT_EQ(Settings[size_t(i)], expected[i]) << "Settings(" << i << ")";
    EXPECT_EQ(FileKindPath[4], DataFolder + QStringLiteral("LOG/"));
}

TEST_F(SettingsFileTest, ShortFileKeepsWhatItHasAndDefaultsTheRest) {
    writeSettings({ConfigDir.toUtf8() + "data/", "4530N", "01245E", " 2", " 3", " 4"});
    EXPECT_TRUE(readSettingsFile());
    EXPECT_EQ(DataFolder, ConfigDir + QStringLiteral("data/"));
    EXPECT_EQ(RxLatitude, QStringLiteral("4530N"));
    EXPECT_EQ(RxType, 2);
    EXPECT_EQ(Settings[1], 3.0f);
    EXPECT_EQ(Settings[2], 4.0f);
    expectDefaults(3, 31);

    writeSettings({ConfigDir.toUtf8()});
    readSettingsFile();
    EXPECT_EQ(RxLatitude, DefaultLatitude);
    EXPECT_EQ(RxType, 0);
    expectDefaults(1, 31);
}

TEST_F(SettingsFileTest, LinesAfterTheLastSettingAreIgnored) {
    QList<QByteArray> lines = settingsLines(" 1");
    for (int i = 0; i < 8; ++i) lines << " 77";
    writeSettings(lines);
    readSettingsFile();
    EXPECT_EQ(Settings[32], 0.0f);
    expectDefaults(1, 31);
    EXPECT_EQ(RxType, 1);
}

TEST_F(SettingsFileTest, ValuesTheProgramCannotUseGiveTheirDefaults) {
    struct Case {
        int index;
        QByteArray text;
        float expected;
    };
    const Case cases[] = {
        {1, " 7", 1},      {1, " 0", 1},       {1, " 4.6", 5},    {2, " 9", 0},     {3, " 13.5", 0},
        {3, "-13", -13},   {4, " 0", 2},       {4, " 31", 2},     {7, "", 15},      {10, " 2", 0},
        {14, " 9", 1},     {14, " 0", 1},      {17, " 6", 6},     {20, " 1000", 1000}, {21, "-1001", 0},
        {23, " 0", 1},     {24, " 10", 3},     {25, "x", 9},      {26, " 256", 50}, {27, " 255", 255},
        {28, " 100", 0},   {31, " 99", 99},    {30, "-1", 0},
        {4, "99999999999999999999999999999999999999999999", 2},
        {8, "99999999999999999999999999999999999999999999", 0},
        {9, " 123.25", 123.25f},
    };
    for (const Case& c : cases) {
        writeSettings(settingsLines(" 0", c.index, c.text));
        readSettingsFile();
        EXPECT_EQ(Settings[size_t(c.index)], c.expected)
            << "Settings(" << c.index << ") from \"" << c.text.toStdString() << "\"";
        EXPECT_TRUE(std::isfinite(Settings[size_t(c.index)]));
    }
}

TEST_F(SettingsFileTest, FolderAndLocationLinesMustBeUsable) {
    const QString fallback = QDir::homePath() + QStringLiteral("/ReZeri/");
    const std::pair<QByteArray, QString> folders[] = {
        {"C:\\ReZeri\\", fallback},
        {"relative/path/", fallback},
        {"", fallback},
        {"/data/with\tcontrol/", fallback},
        {"/srv/radio", QStringLiteral("/srv/radio/")},
        {"/srv/r\xc3\xa4" "dio/", QString::fromUtf8("/srv/r\xc3\xa4" "dio/")},
        {"/srv/r\xe4" "dio/", fallback},            // a Latin-1 byte is not UTF-8
    };
    for (const auto& [line, folder] : folders) {
        QList<QByteArray> lines = settingsLines();
        lines[0] = line;
        writeSettings(lines);
        readSettingsFile();
        EXPECT_EQ(DataFolder, folder) << "line 1 \"" << line.toStdString() << "\"";
        EXPECT_EQ(FileKindPath[13], folder + QStringLiteral("RTTY/"));
    }

    const std::pair<QString, bool> latitudes[] = {
        {"4530N", true}, {"9000S", true}, {"0000N", true}, {"4530n", false}, {"4575N", false},
        {"9001N", false}, {"89.5N", false}, {"530N", false}, {"45300N", false},
    };
    for (const auto& [text, ok] : latitudes) EXPECT_EQ(validLatitude(text), ok) << text.toStdString();
    const std::pair<QString, bool> longitudes[] = {
        {"01245E", true}, {"1245W", true}, {"18000W", true}, {"00000E", true}, {"18001E", false},
        {"01260E", false}, {"01245e", false}, {"245E", false}, {"0124.5E", false},
    };
    for (const auto& [text, ok] : longitudes) EXPECT_EQ(validLongitude(text), ok) << text.toStdString();

    QList<QByteArray> lines = settingsLines();
    lines[1] = "4575N";
    lines[2] = "19000E";
    writeSettings(lines);
    readSettingsFile();
    EXPECT_EQ(RxLatitude, DefaultLatitude);
    EXPECT_EQ(RxLongitude, DefaultLongitude);
}

TEST_F(SettingsFileTest, LinesThatCannotBeUsedAreNamedWithWhatStandsInTheirPlace) {
    const QString home = QDir::homePath() + QStringLiteral("/ReZeri/");
    struct Case {
        int line;              // 1..35
        QByteArray text;
        QString said;          // what the notice says of it; empty: understood
    } cases[] = {
        {1, "C:\\ReZeri\\", QStringLiteral("line 1, data folder \"C:\\ReZeri\\\": %1 is used").arg(home)},
        {2, "4575N", QStringLiteral("line 2, latitude \"4575N\": 5130N is used")},
        {3, "east", QStringLiteral("line 3, longitude \"east\": 00007W is used")},
        {4, " 7", QStringLiteral("line 4, receiver type \" 7\": 0 is used")},
        {5, " 9", QStringLiteral("line 5, serial port \" 9\": 1 is used")},
        {7, "five", QStringLiteral("line 7, local time minus UTC \"five\": 0 is used")},
        {8, " 40", QStringLiteral("line 8, size of the BDXC list \" 40\": 2 is used")},
        {28, " 12 dB", QStringLiteral("line 28, NRD-545 AGC medium \" 12 dB\": 3 is used")},
        {7, "-3.5", QString()},
        {4, " 2.6", QString()},
        {12, "anything", QString()},     // a placeholder line holds nothing the program uses
    };
    for (const Case& c : cases) {
        QList<QByteArray> lines = settingsLines();
        lines[c.line - 1] = c.text;
        writeSettings(lines);
        readSettingsFile();
        const QStringList said = settingsNotUnderstood();
        if (c.said.isEmpty()) {
            EXPECT_TRUE(said.isEmpty()) << "line " << c.line << ": " << said.join(QLatin1Char('|')).toStdString();
            EXPECT_TRUE(settingsNotice().isEmpty());
        } else {
            EXPECT_EQ(said, QStringList{c.said});
            EXPECT_TRUE(settingsNotice().contains(c.said));
        }
    }

    // A byte-order mark in front of the folder is no part of it.
    QList<QByteArray> lines = settingsLines();
    lines[0] = "\xEF\xBB\xBF" + ConfigDir.toUtf8();
    writeSettings(lines);
    readSettingsFile();
    EXPECT_EQ(DataFolder, ConfigDir);
    EXPECT_TRUE(settingsNotUnderstood().isEmpty());

    // A file of nothing but garbage names every line, and a missing file nothing.
    writeSettings(QList<QByteArray>(35, "\x01\x02garbage"));
    readSettingsFile();
    EXPECT_EQ(settingsNotUnderstood().size(), 4 + 29);
    EXPECT_TRUE(settingsNotice().contains(QStringLiteral("and 21 more lines")));
    QFile::remove(ConfigDir + SettingsFileName);
    readSettingsFile();
    EXPECT_TRUE(settingsNotUnderstood().isEmpty());
}

TEST_F(SettingsFileTest, ReaderAcceptsEveryLineEndAndFindsTheNameInAnyCase) {
    const QByteArray lf = ConfigDir.toUtf8() + "\n4530N\n01245E\n 4\n 2\n 8";
    writeConfigFile(QStringLiteral("DOVRANE2.INI"), lf);
    EXPECT_TRUE(readSettingsFile());
    EXPECT_EQ(RxType, 4);
    EXPECT_EQ(Settings[1], 2.0f);
    EXPECT_EQ(Settings[2], 8.0f);
    QFile::remove(ConfigDir + QStringLiteral("DOVRANE2.INI"));

    writeConfigFile(SettingsFileName, ConfigDir.toUtf8() + "\r4530N\r01245E\r 1\r 3\r");
    readSettingsFile();
    EXPECT_EQ(RxType, 1);
    EXPECT_EQ(Settings[1], 3.0f);
}

TEST_F(SettingsFileTest, SettingsAreWrittenWhereTheyAreRead) {
    // The data folder is elsewhere; the file still goes back to ConfigDir.
    ConfiguredDataFolder = ConfigDir + QStringLiteral("elsewhere/");
    ConfiguredRxType = 2;
    ASSERT_TRUE(writeSettingsFile());
    EXPECT_TRUE(QFile::exists(ConfigDir + SettingsFileName));
    EXPECT_FALSE(QFile::exists(ConfiguredDataFolder + SettingsFileName));
    readSettingsFile();
    EXPECT_EQ(DataFolder, ConfiguredDataFolder);
    EXPECT_EQ(RxType, 2);
}

TEST_F(SettingsFileTest, FailedSettingsWriteSaysSoAndKeepsTheOldFile) {
    writeDataFile(QStringLiteral("blocker"), "a file where a folder should be");
    ConfigDir = dataPath(QStringLiteral("blocker/sub/"));
    QString error;
    EXPECT_FALSE(writeSettingsFile(&error));
    EXPECT_FALSE(error.isEmpty());

    // A folder in the file's place cannot be replaced; it stays as it was.
    ConfigDir = DataFolder;
    QDir().mkpath(ConfigDir + SettingsFileName);
    EXPECT_FALSE(writeSettingsFile(&error));
    EXPECT_TRUE(QFileInfo(ConfigDir + SettingsFileName).isDir());
}

class PositionsFileTest : public AppTest {
protected:
    void writePositions(const QByteArray& content) { writeDataFile(PositionsFileName, content); }
};

TEST_F(PositionsFileTest, LeftIsTheFirstNumberAndTopFollowsTheLastComma) {
    FormTop[3] = 77;
    FormTop[5] = 12;
    writePositions(" 1200, 800\r\n100,200,300\r\n500\r\nabc\r\n7,\r\n-3000, 0\r\n");
    EXPECT_TRUE(readPositionsFile());
    EXPECT_EQ(FormLeft[1], 1200);
    EXPECT_EQ(FormTop[1], 800);
    EXPECT_EQ(FormLeft[2], 100);
    EXPECT_EQ(FormTop[2], 300);
    EXPECT_EQ(FormLeft[3], 500);
    EXPECT_EQ(FormTop[3], 77);       // no comma: the top stays
    EXPECT_EQ(FormLeft[4], 0);
    EXPECT_EQ(FormLeft[5], 7);
    EXPECT_EQ(FormTop[5], 0);        // nothing after the comma
    EXPECT_EQ(FormLeft[6], -3000);
    EXPECT_EQ(FormTop[6], 0);
}

TEST_F(PositionsFileTest, ExtraLinesAndImpossibleValuesAreNotUsed) {
    QByteArray content;
    for (int k = 1; k <= 42; ++k) content += QByteArray::number(k * 10) + ", " + QByteArray::number(k) + "\r\n";
    content += " 9999, 9999\r\n 8888, 8888\r\n";
    writePositions(content);
    readPositionsFile();
    EXPECT_EQ(FormLeft[42], 420);
    EXPECT_EQ(FormTop[42], 42);
    EXPECT_EQ(FormLeft[0], 0);

    writePositions(" 45000, -40001\r\n 99999999999999999999, 40000\r\n");
    readPositionsFile();
    EXPECT_EQ(FormLeft[1], 0);
    EXPECT_EQ(FormTop[1], 0);
    EXPECT_EQ(FormLeft[2], 0);
    EXPECT_EQ(FormTop[2], 40000);

    ASSERT_TRUE(QFile::remove(dataPath(PositionsFileName)));
    FormLeft[1] = 5;
    EXPECT_FALSE(readPositionsFile());
    EXPECT_EQ(FormLeft[1], 5);       // a missing file changes nothing
}

TEST_F(PositionsFileTest, StoringKeepsPartOfTheWindowOnTheScreen) {
    struct Case {
        int32_t left, top, width;
        int32_t storedLeft, storedTop;
    };
    const Case cases[] = {
        {-3000, 0, 4000, -2500, 0}, {-2000, 10, 4000, -2000, 10}, {2400, -10, 4000, 2400, 0},
        {-100, 0, 1000, 500, 0},    {0, 0, 0, 1500, 0},
    };
    for (const Case& c : cases) {
        storePosition(12, c.left, c.top, c.width);
        EXPECT_EQ(FormLeft[12], c.storedLeft) << c.left << " width " << c.width;
        EXPECT_EQ(FormTop[12], c.storedTop);
    }
    storePosition(0, 1, 2, 3);
    storePosition(43, 1, 2, 3);
    EXPECT_EQ(FormLeft[0], 0);
}

TEST_F(PositionsFileTest, WriterWritesFortyTwoLinesAndDropsImpossibleValues) {
    FormLeft[1] = 2400;
    FormTop[1] = 1200;
    FormLeft[2] = -3000;
    FormLeft[3] = -45000;
    FormTop[3] = 45000;
    FormLeft[4] = 40000;
    FormTop[4] = -40000;
    FormLeft[42] = 15;
    ASSERT_TRUE(writePositionsFile());
    const QList<QByteArray> lines = readDataFile(PositionsFileName).split('\n');
    ASSERT_EQ(lines.size(), 43);
    EXPECT_EQ(lines[0], " 2400, 1200\r");
    EXPECT_EQ(lines[1], "-3000, 0\r");
    EXPECT_EQ(lines[2], " 0, 0\r");
    EXPECT_EQ(lines[3], " 40000,-40000\r");
    EXPECT_EQ(lines[41], " 15, 0\r");
    EXPECT_EQ(FormLeft[3], -45000);   // only the file leaves the value out

    // What was written reads back the same and writes the same bytes.
    const QByteArray first = readDataFile(PositionsFileName);
    FormLeft.fill(1);
    FormTop.fill(1);
    readPositionsFile();
    EXPECT_EQ(FormLeft[2], -3000);
    EXPECT_EQ(FormTop[4], -40000);
    ASSERT_TRUE(writePositionsFile());
    EXPECT_EQ(readDataFile(PositionsFileName), first);
}

TEST_F(PositionsFileTest, FailedWriteSaysSoAndReturnsFalse) {
    writeDataFile(QStringLiteral("blocker"), "x");
    ConfigDir = dataPath(QStringLiteral("blocker/"));
    dialogs.expect(QStringLiteral("could not be saved"));
    EXPECT_FALSE(writePositionsFile());
    ASSERT_EQ(dialogs.shown().size(), 1);
    EXPECT_TRUE(dialogs.shown().first().text.contains(PositionsFileName));
}

} // namespace
} // namespace dovrane::test
