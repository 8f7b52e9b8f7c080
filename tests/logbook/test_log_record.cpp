// The log record without a window: the fixed-column file line, the reader
// and writer, the column format, the sort keys and the entry formatting.
#include "logbook/log_record.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace dovrane {
namespace {

LogRecord record(std::initializer_list<std::pair<int, const char*>> fields) {
    LogRecord r;
    for (const auto& [f, text] : fields) r[size_t(f)] = QString::fromLatin1(text);
    return r;
}

// A record with every field filled to its width by one letter per field.
LogRecord fullRecord() {
    LogRecord r;
    for (int f = 0; f < LogFields; ++f) r[size_t(f)] = QString(logField(f).width, QChar(u'A' + f));
    return r;
}

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeAll(const QString& path, const QByteArray& data) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(data);
}

TEST(LogLine, EveryFieldStartsAtItsColumnAndTheLineIs160Long) {
    const QString line = logLine(1234, fullRecord());
    ASSERT_EQ(line.size(), 160);
    EXPECT_EQ(line.left(4), QStringLiteral("234 ")) << "the number is r modulo 1000";
    for (int f = 0; f < LogFields; ++f) {
        const LogFieldInfo& info = logField(f);
        EXPECT_EQ(line.mid(info.column - 1, info.width), QString(info.width, QChar(u'A' + f))) << "field " << f;
        EXPECT_EQ(line[info.column - 1 + info.width], QLatin1Char(' ')) << "field " << f;
    }
    EXPECT_EQ(logRecordFromLine(line), fullRecord());
    EXPECT_EQ(logNumberText(0), QStringLiteral("000"));
    EXPECT_EQ(logNumberText(1000), QStringLiteral("000"));
}

TEST(LogLine, TooLongFieldsAreCutAndNeverShiftTheNext) {
    LogRecord r = fullRecord();
    r[LogFieldFrequency] = QStringLiteral("123456.500");        // one more than the field holds
    r[LogFieldOrganisation] = QString(45, QLatin1Char('X'));  // far more
    const QString line = logLine(0, r);
    ASSERT_EQ(line.size(), 160);
    const LogRecord back = logRecordFromLine(line);
    EXPECT_EQ(back[LogFieldFrequency], QStringLiteral("123456.50"));
    EXPECT_EQ(back[4], r[4]);
    EXPECT_EQ(back[LogFieldOrganisation], QString(20, QLatin1Char('X')));
    EXPECT_EQ(back[LogFieldLocation], r[LogFieldLocation]);
}

TEST(LogLine, AShortLineGivesShortOrEmptyFields) {
    const LogRecord r = logRecordFromLine(QStringLiteral("000 20040307 0130 01"));
    EXPECT_EQ(r[0], QStringLiteral("20040307"));
    EXPECT_EQ(r[1], QStringLiteral("0130"));
    EXPECT_EQ(r[2], QStringLiteral("01"));
    for (int f = 3; f < LogFields; ++f) EXPECT_TRUE(r[size_t(f)].isEmpty()) << f;
    EXPECT_EQ(logRecordFromLine(QString()), LogRecord{});
}

TEST(LogFile, SavedAndLoadedBackIsByteIdentical) {
    QTemporaryDir dir;
    const QString a = dir.filePath(QStringLiteral("LOG_A.TXT")), b = dir.filePath(QStringLiteral("LOG_B.TXT"));
    std::vector<LogRecord> records{
        record({{0, "20040307"}, {1, "0130"}, {3, "09410"}, {6, "BBC"}, {13, "a"}}),
        record({{0, "20040308"}, {3, "06195.500"}, {12, "very weak \xe9t\xe9"}}),
        LogRecord{},
    };
    ASSERT_TRUE(writeLogFile(a, records));
    const std::optional<LogFileContent> loaded = readLogFile(a, 100);
    ASSERT_TRUE(loaded);
    ASSERT_EQ(loaded->records.size(), 3u);
    EXPECT_EQ(loaded->records[0][6], QStringLiteral("BBC") + QString(17, QLatin1Char(' '))) << "padded to its width";
    ASSERT_TRUE(writeLogFile(b, loaded->records));
    EXPECT_EQ(readAll(a), readAll(b));
    EXPECT_EQ(readAll(a).count("\r\n"), 3);
    EXPECT_EQ(readAll(a).size(), 3 * 162);
}

TEST(LogFile, CapacityEmptyMissingAndGarbageFiles) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("LOG_X.TXT"));
    EXPECT_FALSE(readLogFile(path, 10)) << "a missing file";

    writeAll(path, QByteArray());
    ASSERT_TRUE(readLogFile(path, 10));
    EXPECT_TRUE(readLogFile(path, 10)->records.empty());

    // Five lines, room for three: three read, two told as left out.
    writeAll(path, "a\r\nb\nc\rd\r\ne\r\n\x1a");
    std::optional<LogFileContent> c = readLogFile(path, 3);
    ASSERT_TRUE(c);
    EXPECT_EQ(c->records.size(), 3u);
    EXPECT_EQ(c->leftOut, 2) << "the end-of-file mark is no record";

    // Random bytes give whatever records their lines hold, each field within its width.
    QRandomGenerator rng(23);
    for (int round = 0; round < 20; ++round) {
        QByteArray junk(int(rng.bounded(4000)), '\0');
        for (char& ch : junk) ch = char(rng.bounded(256));
        writeAll(path, junk);
        c = readLogFile(path, 30001);
        ASSERT_TRUE(c);
        for (const LogRecord& r : c->records)
            for (int f = 0; f < LogFields; ++f) EXPECT_LE(r[size_t(f)].size(), logField(f).width);
        EXPECT_TRUE(writeLogFile(dir.filePath(QStringLiteral("LOG_Y.TXT")), c->records));
    }
}

TEST(LogGridFormat, FlagsFieldsAndLength) {
    struct Case {
        const char* line;
        const char* normal;
        std::vector<int> fields;
        int length;
    };
    const Case cases[] = {
        {"111100100000100", "111100100000100", {0, 1, 2, 3, 6, 12}, 9 + 5 + 5 + 10 + 21 + 41},
        {"11", "110000000000000", {0, 1}, 14},
        {"1x1 ", "101000000000000", {0, 2}, 14},
        {"", "000000000000000", {}, 0},
        {"1111111111111111111", "111111111111111", {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14}, 156},
    };
    for (const Case& c : cases) {
        const QString f = normalLogGridFormat(QString::fromLatin1(c.line));
        EXPECT_EQ(f, QString::fromLatin1(c.normal)) << c.line;
        EXPECT_EQ(logGridFields(f), c.fields) << c.line;
        EXPECT_EQ(logFormatLength(f), c.length) << c.line;
    }
    // Every field chosen: the number and fifteen fields, sixteen cells.
    EXPECT_EQ(logGridRow(7, fullRecord(), logGridFields(QStringLiteral("111111111111111"))).size(), 16);

    QTemporaryDir dir;
    const QString folder = dir.path() + QLatin1Char('/');
    EXPECT_EQ(readLogGridFormat(folder), QStringLiteral("111111111111111")) << "no file shows every field";
    ASSERT_TRUE(writeLogGridFormat(folder, QStringLiteral("1001")));
    EXPECT_EQ(readAll(folder + QStringLiteral("loggridformat.ini")), QByteArray("100100000000000\r\n"));
    EXPECT_EQ(readLogGridFormat(folder), QStringLiteral("100100000000000"));
}

TEST(LogSort, KeyOrdersAndPaddedKeys) {
    // Each case: records in, sort key, the organisations in the expected order.
    struct Case {
        int key;
        std::vector<LogRecord> in;
        QStringList order;
    };
    const auto org = [](const std::vector<LogRecord>& rs) {
        QStringList out;
        for (const LogRecord& r : rs) out << r[LogFieldOrganisation].trimmed();
        return out;
    };
    const std::vector<Case> cases{
        // Two records out of order are put in order.
        {0, {record({{0, "20040308"}, {6, "B"}}), record({{0, "20040307"}, {6, "A"}})}, {"A", "B"}},
        // One record, none.
        {2, {record({{6, "A"}})}, {"A"}},
        {2, {}, {}},
        // A whole frequency sorts before the same with decimals, whatever the date.
        {2,
         {record({{0, "20040309"}, {3, "09410.500"}, {6, "B"}}), record({{0, "20040310"}, {3, "09410"}, {6, "A"}}),
          record({{0, "20040301"}, {3, "06195"}, {6, "C"}})},
         {"C", "A", "B"}},
        // A frequency a file holds without leading zeros still sorts by its number.
        {2, {record({{3, "15400    "}, {6, "B"}}), record({{3, "9410     "}, {6, "A"}})}, {"A", "B"}},
        // Typed "BBC" and "BBC" read from a file with its blanks are the same key;
        // the date decides.
        {3,
         {record({{0, "20040309"}, {6, "BBC                 "}}), record({{0, "20040308"}, {6, "bbc"}}),
          record({{0, "20040301"}, {6, "BBC WS"}})},
         {"bbc", "BBC", "BBC WS"}},
        // Time first, then date.
        {1, {record({{0, "20040301"}, {1, "2300"}, {6, "B"}}), record({{0, "20040302"}, {1, "0100"}, {6, "A"}})},
         {"A", "B"}},
        // Language first.
        {4, {record({{5, "GER"}, {6, "B"}}), record({{5, "eng"}, {6, "A"}})}, {"A", "B"}},
    };
    for (const Case& c : cases) {
        std::vector<LogRecord> rs = c.in;
        sortLogRecords(rs, c.key);
        EXPECT_EQ(org(rs), c.order) << "key " << c.key;
    }
    EXPECT_EQ(logSortKey(record({{6, "BBC"}}), 3), logSortKey(record({{6, "BBC                 "}}), 3));
}

TEST(LogSort, KeysHoldTheFrequencyAsItsNumberAndTextsInUpperCase) {
    // Sort key 2 starts with the frequency in thousandths, 13 digits.
    const std::pair<const char*, qint64> frequencies[] = {
        {"09410", 9410000},     {"9410,5", 9410500},  {"09410.500", 9410500}, {" 9410.5  ", 9410500},
        {"9 410", 9410000},     {"\t7100", 7100000},  {"9410.5.3", 9410500},  {"9410,1234", 9410123},
        {"9410.", 9410000},     {"1e3", 1000},        {"-5", 0},              {"", 0},
        {"abc", 0},             {"123456789", 123456789000}};
    for (const auto& [text, thousandths] : frequencies)
        EXPECT_EQ(logSortKey(record({{3, text}}), 2).left(13), QString::number(thousandths).rightJustified(13, u'0'))
            << text;
    // Key 3 starts with the organisation, upper case, cut or padded to 20.
    const std::pair<QString, QString> names[] = {
        {QStringLiteral("bbc"), QStringLiteral("BBC                 ")},
        {QStringLiteral("Radio Budapest ZZZZZ and more"), QStringLiteral("RADIO BUDAPEST ZZZZZ")},
        {QString::fromUtf8("Stra\u00dfe"), QStringLiteral("STRASSE             ")},
        {QString::fromUtf8("\u00e9mission 1234567890abc"), QString::fromUtf8("\u00c9MISSION 1234567890A")},
    };
    for (const auto& [text, key] : names) {
        LogRecord r;
        r[LogFieldOrganisation] = text;
        EXPECT_EQ(logSortKey(r, 3).left(20), key) << qPrintable(text);
    }
}

TEST(LogEntry, TimesAndFrequenciesAsTheyAreStored) {
    const std::pair<const char*, const char*> times[] = {{"930", "0930"}, {"0", "0000"}, {"", ""}, {"12a", "12a"}};
    for (const auto& [in, out] : times) EXPECT_EQ(logTimeText(QString::fromLatin1(in)), QString::fromLatin1(out)) << in;

    const std::pair<const char*, const char*> freqs[] = {
        {"9410", "09410"},         {"9410.5", "09410.500"}, {"9410,5", "09410.500"}, {"", "00000"},
        {"99999.999", "99999.999"}, {"153", "00153"},        {" 7 125", "07125"},
    };
    for (const auto& [in, out] : freqs) {
        const std::optional<QString> f = logFrequencyText(QString::fromLatin1(in));
        ASSERT_TRUE(f) << in;
        EXPECT_EQ(*f, QString::fromLatin1(out)) << in;
    }
    for (const char* bad : {"100000", "123456.5", "-5", "99999.9999"})
        EXPECT_FALSE(logFrequencyText(QString::fromLatin1(bad))) << bad;
}

} // namespace
} // namespace dovrane
