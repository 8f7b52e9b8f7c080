#pragma once
// The logbook's record: fifteen text fields of fixed widths, one reception
// report each, and the log held in memory, the file of file kind 4 that keeps
// it, the choice of grid columns ("loggridformat.ini") and the sort.
#include <QString>
#include <QStringList>
#include <array>
#include <optional>
#include <vector>

namespace dovrane {

inline constexpr int LogFields = 15;
// Field numbers the program itself looks at.
inline constexpr int LogFieldDate = 0;
inline constexpr int LogFieldStart = 1;
inline constexpr int LogFieldEnd = 2;
inline constexpr int LogFieldFrequency = 3;
inline constexpr int LogFieldLanguage = 5;
inline constexpr int LogFieldOrganisation = 6;
inline constexpr int LogFieldLocation = 7;
inline constexpr int LogFieldRxSetting = 13;

struct LogFieldInfo {
    int width;          // the most characters the field holds
    int column;         // first column of the field in a file line, 1-based
    const char* title;  // grid title
    int gridTwips;      // grid column width
    const char* label;  // entry window label
    const char* formatCaption;  // check box of the column-format window
};
const LogFieldInfo& logField(int field);

using LogRecord = std::array<QString, LogFields>;

// The log in memory; LogLast is the index of the last record (-1: empty), kept
// equal to LogRecords.size() - 1 by whatever changes the records.
inline std::vector<LogRecord> LogRecords;
inline int LogLast = -1;
// The lines of the loaded file beyond the log's capacity, as records: the
// window neither shows nor changes them, and every save writes them back
// after LogRecords, so a file is never cut short by being loaded and saved.
inline std::vector<LogRecord> LogBeyond;
// Fifteen "0"/"1" characters; character p shows field p - 1 in the grid.
inline QString LogGridFormat;
// 0 date, 1 time, 2 frequency, 3 organisation, 4 language.
inline int LogSortKey = 0;
// Grid column titles and widths (twips): 0 the number column, f + 1 field f.
inline std::array<QString, LogFields + 1> LogColTitle;
inline std::array<int, LogFields + 1> LogColWidth{};
// Entry window: adding (true) or changing record LogSelected.
inline bool LogAddMode = false;
inline int LogSelected = -1;

// Fills LogColTitle and LogColWidth.
void fillLogColumnTables();
// The number of records the log can hold: Settings(6) x 1000 + 1.
int logCapacity();

// The record number as the file and the grid show it: three digits, r mod 1000.
QString logNumberText(int r);

// ---- file ----

// One file line: the number, a blank, then each field cut to its width and
// followed by blanks up to the next field, 160 characters in all.
QString logLine(int r, const LogRecord& record);
// The fields of one line: the characters of each field's columns, trailing
// blanks kept; a short line gives short or empty fields.
LogRecord logRecordFromLine(const QString& line);

struct LogFileContent {
    std::vector<LogRecord> records;
    std::vector<LogRecord> beyond;  // the lines beyond the capacity
    int leftOut = 0;                // how many those are
};
// Reads the records, at most capacity of them into records and the rest into
// beyond; nullopt when the file cannot be read.
std::optional<LogFileContent> readLogFile(const QString& path, int capacity);
// Writes the records, then those of beyond, numbered on; the old file stays
// until the new one is complete.
bool writeLogFile(const QString& path, const std::vector<LogRecord>& records, QString* error = nullptr,
                  const std::vector<LogRecord>& beyond = {});
// The first field text that the one-byte file cannot hold, if any.
std::optional<QString> unwritableLogText(const std::vector<LogRecord>& records);
// The whole log as a save writes it: LogRecords, then LogBeyond.
bool writeWholeLog(const QString& path, QString* error = nullptr);

// ---- grid format ----

// Fifteen "0"/"1" characters from a line: a short line shows fewer fields,
// anything but "1" counts as "0".
QString normalLogGridFormat(const QString& line);
// The format as "loggridformat.ini" in folder holds it; with no such file
// every field is shown.
QString readLogGridFormat(const QString& folder);
bool writeLogGridFormat(const QString& folder, const QString& format, QString* error = nullptr);
// The fields the grid shows, in field order.
std::vector<int> logGridFields(const QString& format);
// The width in the file of the chosen fields: the sum of (width + 1).
int logFormatLength(const QString& format);
// A grid row's cells: the number, then each shown field.
QStringList logGridRow(int r, const LogRecord& record, const std::vector<int>& fields);

// ---- sort ----

// The key of a record for a LogSortKey: the five key fields in the key's
// order, each in upper case and padded to its width, the frequency as its
// number, so a typed record and one read from a file compare alike.
QString logSortKey(const LogRecord& record, int sortKey);
// Sorts records by the key; records with equal keys keep their order.
void sortLogRecords(std::vector<LogRecord>& records, int sortKey);

// ---- entry ----

// A typed start or end time: digits get four places ("930" gives "0930");
// anything else stays as typed.
QString logTimeText(const QString& typed);
// A typed frequency: its number, "," read as the decimal point, as "00000" when
// whole and "00000.000" otherwise; nullopt when that does not fit the field.
std::optional<QString> logFrequencyText(const QString& typed);

} // namespace dovrane
