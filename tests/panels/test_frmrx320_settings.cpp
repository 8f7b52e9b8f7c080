// "rx320settings.ini" on its own: the lines as written, and what comes back
// from files that are missing, short, damaged or out of range. Whatever the
// file holds, every field that comes out of it can be sent to the receiver.
#include "panels/rx320_settings_file.h"
#include "shell/globals.h"
#include "support/test_env.h"


namespace dovrane::test {
namespace {

class Rx320SettingsFileTest : public AppTest {
protected:
    Rx320Settings read(const Rx320Settings& start = {}) { return readRx320SettingsFile(DataFolder, start); }
    void writeFile(const QByteArray& content) { writeDataFile(Rx320SettingsFileName, content); }

    static Rx320Settings example() { return {7000, 33, 0, 2, 0, 0, 40, 0}; }
};

TEST_F(Rx320SettingsFileTest, WritesEightNumberLinesWithLeadingBlanksAndCrLf) {
    ASSERT_TRUE(writeRx320SettingsFile(DataFolder, example()));
    EXPECT_EQ(readDataFile(Rx320SettingsFileName), QByteArray(" 7000\r\n 33\r\n 0\r\n 2\r\n 0\r\n 0\r\n 40\r\n 0\r\n"));

    Rx320Settings s = example();
    s.freq = 14250.5;
    s.pbs = -350;
    s.bfo = -3000;
    s.mode = 3;
    s.linelevel = 99;
    ASSERT_TRUE(writeRx320SettingsFile(DataFolder, s));
    EXPECT_EQ(readDataFile(Rx320SettingsFileName),
              QByteArray(" 14250.5\r\n 33\r\n-350\r\n 2\r\n-3000\r\n 3\r\n 40\r\n 99\r\n"));
    EXPECT_EQ(read(), s);

    // Frequencies come back to the last digit.
    for (double f : {100.0, 30000.0, 7000.711, 12345.678901234}) {
        s.freq = f;
        ASSERT_TRUE(writeRx320SettingsFile(DataFolder, s));
        EXPECT_EQ(read().freq, f);
    }
}

TEST_F(Rx320SettingsFileTest, AMissingOrEmptyFileGivesTheStartValues) {
    const Rx320Settings defaults = read();
    EXPECT_EQ(defaults, Rx320Settings{});
    // The start values themselves can be sent: a frequency in the tuning
    // range, a filter, an AGC speed and a mode that the receiver knows.
    EXPECT_GE(defaults.freq, 100);
    EXPECT_LE(defaults.freq, 30000);
    EXPECT_GE(defaults.agc, 1);
    EXPECT_LE(defaults.agc, 3);
    EXPECT_GE(defaults.mode, 0);
    EXPECT_LE(defaults.mode, 3);

    Rx320Settings start;
    start.linelevel = 30;
    EXPECT_EQ(read(start).linelevel, 30) << "the caller's start value fills a missing line";
    writeFile("");
    EXPECT_EQ(read(start), start);
}

TEST_F(Rx320SettingsFileTest, AShortFileKeepsTheLinesItHas) {
    writeFile(" 9650\r\n 20\r\n-150\r\n");
    Rx320Settings want;
    want.freq = 9650;
    want.bw = 20;
    want.pbs = -150;
    EXPECT_EQ(read(), want);
}

TEST_F(Rx320SettingsFileTest, EachFieldOutsideItsRangeFallsBackOnItsOwn) {
    struct Case {
        int line;
        const char* text;
    };
    // Just beyond each end of every field's range.
    const Case cases[] = {{0, "99.999"},  {0, "30000.001"}, {0, "-7000"}, {1, "-1"},  {1, "34"},
                          {2, "-2001"},   {2, "2001"},      {3, "0"},     {3, "4"},   {4, "-3001"},
                          {4, "3001"},    {5, "-1"},        {5, "4"},     {6, "-1"},  {6, "100"},
                          {7, "-1"},      {7, "100"},       {1, "99999999999999999999"}};
    const QByteArray good[8] = {" 7000", " 33", " 0", " 2", " 0", " 0", " 40", " 0"};
    for (const Case& c : cases) {
        QByteArray file;
        for (int i = 0; i < 8; ++i) file += (i == c.line ? QByteArray(c.text) : good[i]) + "\r\n";
        writeFile(file);
        Rx320Settings want = example();
        const Rx320Settings start;
        switch (c.line) {
        case 0: want.freq = start.freq; break;
        case 1: want.bw = start.bw; break;
        case 2: want.pbs = start.pbs; break;
        case 3: want.agc = start.agc; break;
        case 4: want.bfo = start.bfo; break;
        case 5: want.mode = start.mode; break;
        case 6: want.volume = start.volume; break;
        case 7: want.linelevel = start.linelevel; break;
        }
        EXPECT_EQ(read(), want) << "line " << c.line + 1 << " = " << c.text;
    }

    // The ends themselves are taken, each in place of a start value between them.
    const Rx320Settings start{15000, 16, 100, 2, 100, 1, 50, 50};
    writeFile(" 100\r\n 0\r\n-2000\r\n 1\r\n-3000\r\n 0\r\n 0\r\n 0\r\n");
    EXPECT_EQ(read(start), (Rx320Settings{100, 0, -2000, 1, -3000, 0, 0, 0}));
    writeFile(" 30000\r\n 33\r\n 2000\r\n 3\r\n 3000\r\n 3\r\n 99\r\n 99\r\n");
    EXPECT_EQ(read(start), (Rx320Settings{30000, 33, 2000, 3, 3000, 3, 99, 99}));
}

TEST_F(Rx320SettingsFileTest, LinesAreReadAsLeadingNumbersAndWordsAreNoNumber) {
    // Rounded to the even neighbour; text after the number ignored; blanks
    // and LF-only endings accepted; extra lines ignored.
    writeFile("  14250.5 kHz\n 2.5\n  -49.5\nMed\n\n 3.5\n 40.5 \n 12abc\n 77\n 88\n");
    Rx320Settings start;
    start.agc = 3;
    start.bfo = 100;
    start.mode = 1;
    const Rx320Settings s = read(start);
    EXPECT_EQ(s.freq, 14250.5);
    EXPECT_EQ(s.bw, 2);
    EXPECT_EQ(s.pbs, -50);
    EXPECT_EQ(s.agc, 3) << "a word is no value";
    EXPECT_EQ(s.bfo, 100) << "an empty line is no value, not 0";
    EXPECT_EQ(s.mode, 1) << "3.5 rounds to 4, which is no mode";
    EXPECT_EQ(s.volume, 40);
    EXPECT_EQ(s.linelevel, 12);

    // A line of words in the filter's place is not filter 0 (6000 Hz).
    writeFile(" 7000\rwide\r");
    EXPECT_EQ(read().bw, Rx320Settings{}.bw);
    EXPECT_EQ(read().freq, 7000) << "CR-only endings";
}

TEST_F(Rx320SettingsFileTest, TheFileIsFoundWhateverTheCaseOfItsName) {
    writeDataFile(QStringLiteral("RX320Settings.INI"), " 5000\r\n 10\r\n");
    EXPECT_EQ(read().freq, 5000);
    EXPECT_EQ(read().bw, 10);
}

} // namespace
} // namespace dovrane::test
