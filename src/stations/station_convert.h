#pragma once
// The conversions of the two outside station sources into station lists:
// the broadcast database's dBase IV tables into the broadcast form, and the
// aero text list into its full or network form. The conversions collect
// their lines; the list is written, sorted by frequency, once at the end, so
// a stopped or failed conversion never leaves half a file behind.
#include "platform/dbase_table.h"

#include <QString>
#include <QStringList>
#include <array>
#include <vector>

namespace dovrane {

// The status letters the "Include" options let through: E, I, N, P.
using IlgIncludes = std::array<bool, 4>;

class BroadcastConversion {
public:
    BroadcastConversion(DbaseTable& table, IlgIncludes include);

    // Converts the table's current record (when it qualifies) and moves on.
    // False once the table is at its end.
    bool convertNext();
    bool atEnd() const { return table_.atEnd(); }
    // Records converted so far, and the last line made.
    int count() const { return int(lines_.size()); }
    const QString& lastLine() const { return last_; }
    // The lines so far, in ascending frequency (equal ones in table order).
    QStringList sortedLines() const;

    // The line of the table's current record, or an empty text when the record
    // is skipped: no UTC starting with a digit, a status not let through, or
    // no frequency that fits the list's frequency column.
    QString lineOfCurrent(double* kHz) const;

private:
    DbaseTable& table_;
    IlgIncludes include_;
    int freq_, utc_, status_, station_, target_, language_, power_, lati_, longi_, country_, location_;
    std::array<int, 9> area_{};
    std::vector<std::pair<double, QString>> lines_;
    QString last_;
};

class AeroConversion {
public:
    // networkOnly: the network form ("aero2.ftl"), else the full form ("aero.ftl").
    explicit AeroConversion(bool networkOnly) : network_(networkOnly) {}

    // Takes one line of the source list.
    void feed(const QString& line);
    // Source lines read so far (every line counts), and the last one.
    int count() const { return count_; }
    const QString& lastLine() const { return previous_; }
    QStringList sortedLines() const;

private:
    bool network_;
    bool started_ = false;
    int count_ = 0;
    QString previous_;
    QString lastKey_;
    std::vector<std::pair<double, QString>> lines_;
};

// The fields the broadcast conversion reads that table lacks, by name; empty
// when it has them all. A table without them is another table, not one of
// the broadcast database's.
QStringList missingBroadcastFields(const DbaseTable& table);

// The output file names.
QString broadcastListName(const QString& table);   // "ILGADATA.ftl"
inline const QString AeroFullName = QStringLiteral("aero.ftl");
inline const QString AeroNetworkName = QStringLiteral("aero2.ftl");

// Writes a converted list to folder/name, replacing an old one only once the
// new one is complete. False, with a reason, on failure.
bool writeStationList(const QString& folder, const QString& name, const QStringList& lines, QString* error);

} // namespace dovrane
