#pragma once
// The station-list viewers' data: one store per viewer (the loaded list and
// the current result), the query's search over it, the result sort and the
// timed scan's stepping. No widgets here.
#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

namespace dovrane {

enum class StationListKind { Broadcast, Aero };

struct StationStore {
    std::vector<QString> records;   // ListRecords, 126 characters each
    std::vector<int> matchIndex;    // MatchIndex: the result, as records indexes in list order

    int listLast() const { return int(records.size()) - 1; }
    int matchCount() const { return int(matchIndex.size()) - 1; }
    void clear() {
        records.clear();
        matchIndex.clear();
    }
};

// The list's capacity in records: Settings(7) thousand, plus one, by the rule
// of every list (listCapacity).
int stationListCapacity();

struct StationLoad {
    bool read = false;   // false: the file could not be read
    int loaded = 0;
    bool cut = false;    // the file held more lines than the capacity
    int leftOut = 0;     // the lines beyond it
};
// Reads a station list into store (each line fitted to 126 characters), at
// most capacity lines; the result is then the whole list.
StationLoad loadStationList(const QString& path, int capacity, StationStore& store);

// What the query window asks for. The combo texts may be changed by the
// search as the window's are: empty or zero frequencies become "0" and "32",
// and from and to are exchanged when from is above to.
struct StationQuery {
    bool frequency = false;
    QString from, to;                  // MHz
    bool language = false;  QString languageText;   // broadcast
    bool station = false;   QString stationText;    // broadcast
    bool country = false;   QString countryText;    // broadcast
    bool onAir = false;                             // broadcast
    bool area = false;      QString areaText;       // broadcast
    bool network = false;   QString networkText;    // aero
};

// Progress figures 0..100 as the search goes: the two range passes give
// 0..20, scoring 20..100. A zero span counts as done.
using SearchProgress = std::function<void(int percent)>;

// The search: the records in the frequency range (found by one pass from
// each end of the list, which is in ascending frequency) that satisfy every
// ticked criterion, as records indexes. now is UTC as hhmm.
std::vector<int> searchStations(const StationStore& store, StationListKind kind, StationQuery& query, int now,
                                const SearchProgress& progress = {});
// The list box line of a result entry: broadcast columns 1-77 and 101-126,
// aero the whole record.
QString resultLine(const QString& record, StationListKind kind);
// Where the fields the viewer's header names begin (0-based columns) in a
// shown line: a whole record, or a result line. Broadcast: frequency, time,
// organisation, target, language, power, location. Aero: frequency, status
// (after the blank that ends the frequency), network (17-38), location or
// station (after the blank that ends the network).
std::vector<int> titleColumns(StationListKind kind, bool resultLines);

// The result sort's keys: 0 frequency, 1 start time, 2 organisation,
// 3 language; each a join of the frequency (columns 1-8), start time
// (10-13), station (20-40) and language (52-67) in the key's order.
QString stationSortKey(const QString& record, int sortKey);
// Orders the result by the key, by character codes.
void sortStationResult(StationStore& store, int sortKey);

// The timed scan's step over the list box entries: from scanPos (clamped to
// the list), skips entries that repeat lastFreq (at most 200 tries, then
// back to entry 0), and gives the entry to tune; scanPos moves past it.
// -1 for an empty list.
struct ScanChoice {
    int index = -1;
    double kHz = 0;
};
ScanChoice nextScanEntry(const QStringList& entries, int& scanPos, double lastFreq);

// The choices of a query window from its combo file: a "***" line starts the
// next combo box, "===" lines are skipped, every other line is an item.
// Lines before the first "***" and blocks past the last box are ignored; a
// missing file gives empty boxes.
std::vector<QStringList> readQueryChoices(const QString& path, int boxes);

} // namespace dovrane
