#pragma once
// The memory manager's image of the receiver's memory channels: for every
// cell 0..MaxMemNr a 35-column MemoryRecord and a 45-character MemoryTag.
// A cell is empty (its record is the empty text) until a fetch, a memory file
// or the cell editor sets it. A cell can also be marked unread: a fetch that
// lost the receiver before reaching it. An unread cell is empty, but it is
// never written back to the receiver, so a lost read cannot clear a channel.
#include "drivers/memory_record.h"

#include <QString>
#include <QStringList>
#include <QList>

namespace dovrane {

class MemoryImage {
public:
    // Creates the cells 0..maxMemNr, all empty (no cell with a negative maximum).
    void create(int maxMemNr);
    int maxMemNr() const { return int(records_.size()) - 1; }
    bool contains(int n) const { return n >= 0 && n < records_.size(); }

    // The record and tag of cell n; the empty text for an empty cell or one
    // outside the image.
    QString record(int n) const;
    QString tag(int n) const;
    // Cut or padded to 35 / 45 columns. A record of blanks only leaves the
    // cell empty; setting a record clears the cell's unread mark.
    void setRecord(int n, const QString& record);
    void setTag(int n, const QString& tag);
    bool isEmpty(int n) const { return record(n).isEmpty(); }

    bool isUnread(int n) const;
    void setUnread(int n, bool unread);
    int unreadCount() const;
    QList<int> unreadCells() const;

    // True when at least one cell holds a record.
    bool anyLoaded() const;

    // Changed since it was created, loaded or saved (the window asks before
    // such an image is lost).
    bool modified() const { return modified_; }
    void setModified(bool m) { modified_ = m; }

    // Exchanges two whole cells: record, tag and unread mark.
    void swapCells(int a, int b);

private:
    QStringList records_;
    QStringList tags_;
    QList<bool> unread_;
    bool modified_ = false;
};

// The one image of the program, and the cell selected in the grid or scanned.
inline MemoryImage MemImage;
inline int CurMemNr = 0;

// A text cut or padded with blanks to width.
QString fitText(const QString& text, int width);
// The vacant record of cell n: "XXX" & nnn & " No data  @ @@ @ @ @@@ @@@ @ ".
QString vacantRecord(int n);
// Cell number as three digits ("007").
QString cellText(int n);
// Cells named in runs, ascending: "006 to 030, 045"; after a dozen runs the
// rest is "...".
QString cellList(QList<int> cells);

// One column range of a record (columns counted from 1, as the record's
// layout is written); the empty text beyond the record's end.
QString recordColumns(const QString& record, int first, int last);
// The number value of that range; 0 for "@" fields and empty records.
double recordValue(const QString& record, int first, int last);
// True when the range holds nothing but "@" (the model has no such field).
bool isAtField(const QString& record, int first, int last);

// The cells of a grid row: number, frequency (kHz with a point, or the eight
// characters as they stand when their value is at most 1), mode text and
// bandwidth text of the present model's tables (a blank for an "@" field,
// "?" for a digit outside the table), and the tag. An entry the model's table
// leaves empty (NRD-535 modes 7 and 8 without the option) shows as empty for
// a record of the present model, and as "?" for a record of another.
QStringList memoryRowCells(const QString& record, const QString& tag);

// The detail frame's texts for a record, in the order lblAtt, lblAgc, lblPBS,
// lblBfo, lblSql, lblScan; "?" for a digit outside its table, as in a row.
struct MemoryDetail {
    QString att, agc, pbs, bfo, sql, scan;
};
MemoryDetail memoryDetail(const QString& record);

// Sorts the image on frequency, ascending: channels that hold a frequency
// first (columns 8-15 compared as text), then vacant cells and records
// without a frequency, then empty cells, each group in its old order. The
// cells are renumbered, and every "XXX" record becomes the vacant record of
// its new number. Tags and unread marks travel with their records; no record
// is given a frequency it did not have.
void sortOnFrequency(MemoryImage& image);

// The highest channel of the present NRD receiver, which the program uses for
// its status reads; -1 for the other models.
int statusChannel(int rxType);

} // namespace dovrane
