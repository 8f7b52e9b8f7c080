#pragma once
// The frequency-pair scan without its window: the pairs, the scan range and
// its step rule, the search for the next included pair, and the scan-pair
// file (file kind 12, "SFP_").
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

namespace dovrane {

struct ScanPair {
    QString a;        // channel A, kHz, as the file has it
    QString b;        // channel B
    int on = 1;       // included unless 0
    QString remark;
};

struct PairRange {
    int start = 0;
    int end = 0;
    int last = -1;    // PairLast: the pairs run 0..last
};

// The pair list of the program (PairA, PairB, PairOn and PairRemark; PairLast
// is its size less one) and the file it came from. It outlives the pair-scan
// window: opened again, the window scans, edits and saves the same list.
// They go back to empty with the program's other shared values.
extern QList<ScanPair> Pairs;
extern QString PairsFileName;

// The pair after n within the range; a range with start > end wraps past last.
int nextPair(int n, const PairRange& range);
// The pairs of the range in scan order, starting at its start.
QList<int> rangeOrder(const PairRange& range);
// Whether pair i lies inside the range.
bool inRange(int i, const PairRange& range);

// The first included pair from cur on, in scan order, visiting each pair of
// the range at most once; nothing when none is included. cur outside the
// range starts the search at the range's start.
std::optional<int> findIncluded(const QList<ScanPair>& pairs, int cur, const PairRange& range);

// Input rules of the three boxes; each gives the value and, when the text was
// replaced, the text the box shows instead.
struct BoxRule {
    double value;
    std::optional<QString> shown;
};
BoxRule pairStartRule(const QString& text, int last);
BoxRule pairEndRule(const QString& text, int last);
BoxRule pairDelayRule(const QString& text);

// A line of the file: A,B, flag,remark. A channel or remark that holds a
// comma or a quote, or begins or ends with a blank, is written in quotes with
// its quotes doubled, so it reads back as it was.
QString scanPairLine(const ScanPair& p);
// One pair from a line; missing fields stay empty (flag 0). Blank lines give nothing.
std::optional<ScanPair> parseScanPairLine(const QString& line);
QStringList scanPairFileLines(const QList<ScanPair>& pairs);
QList<ScanPair> scanPairsFromLines(const QStringList& lines);

} // namespace dovrane
