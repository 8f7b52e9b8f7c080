#include "scanning/scanpair_scan.h"
#include "platform/number_text.h"
#include "shell/globals.h"

namespace dovrane {

// Defined here, so that whatever uses the list also brings its reset along.
QList<ScanPair> Pairs;
QString PairsFileName;

namespace {
const bool kPairsReset = (registerGlobalsReset([] {
                              Pairs.clear();
                              PairsFileName.clear();
                          }),
                          true);
} // namespace

int nextPair(int n, const PairRange& r) {
    int next = n + 1;
    if (r.start > r.end) {
        if (next > r.last) next = 0;
        if (next == r.end + 1) next = r.start;
    } else if (next > r.end) {
        next = r.start;
    }
    return next;
}

bool inRange(int i, const PairRange& r) {
    if (i < 0 || i > r.last) return false;
    if (r.start <= r.end) return i >= r.start && i <= r.end;
    return i >= r.start || i <= r.end;
}

QList<int> rangeOrder(const PairRange& r) {
    QList<int> out;
    if (r.last < 0 || !inRange(r.start, r)) return out;
    int i = r.start;
    do {
        out << i;
        i = nextPair(i, r);
    } while (i != r.start && out.size() <= r.last + 1);
    return out;
}

std::optional<int> findIncluded(const QList<ScanPair>& pairs, int cur, const PairRange& r) {
    if (r.last < 0 || r.last >= pairs.size() || !inRange(r.start, r)) return std::nullopt;
    if (!inRange(cur, r)) cur = r.start;
    const int count = int(rangeOrder(r).size());
    for (int visited = 0; visited < count; ++visited) {
        if (pairs[cur].on != 0) return cur;
        cur = nextPair(cur, r);
    }
    return std::nullopt;
}

BoxRule pairStartRule(const QString& text, int last) {
    const double v = vbRound(val(text));
    if (v < 0 || v > last) return {0, QStringLiteral("0")};
    return {v, std::nullopt};
}

BoxRule pairEndRule(const QString& text, int last) {
    const double v = vbRound(val(text));
    if (v < 0 || v > last) return {double(last), numText(double(last))};
    return {v, std::nullopt};
}

BoxRule pairDelayRule(const QString& text) {
    const float v = float(val(text));
    if (v < 0.5f || v > 60) return {1, QStringLiteral("1")};
    return {v, std::nullopt};
}

namespace {

bool needsQuotes(const QString& s) {
    return s.contains(QLatin1Char(',')) || s.contains(QLatin1Char('"')) ||
           (!s.isEmpty() && (s.front().isSpace() || s.back().isSpace()));
}

// Reads one field from pos: quoted (quotes doubled inside) or up to the next
// comma, blanks around an unquoted field dropped. pos ends after the comma.
QString field(const QString& line, int& pos, bool rest) {
    const int n = int(line.size());
    while (pos < n && (line[pos] == QLatin1Char(' ') || line[pos] == QLatin1Char('\t'))) ++pos;
    QString out;
    if (pos < n && line[pos] == QLatin1Char('"')) {
        ++pos;
        while (pos < n) {
            if (line[pos] == QLatin1Char('"')) {
                if (pos + 1 < n && line[pos + 1] == QLatin1Char('"')) {
                    out += QLatin1Char('"');
                    pos += 2;
                    continue;
                }
                ++pos;
                break;
            }
            out += line[pos++];
        }
        while (pos < n && line[pos] != QLatin1Char(',')) ++pos;
        if (pos < n) ++pos;
        return out;
    }
    // The remark takes the rest of the line, so an old remark with a comma
    // stays whole and never spills into the next pair.
    const int end = rest ? n : int(line.indexOf(QLatin1Char(','), pos));
    const int stop = end < 0 ? n : end;
    out = line.mid(pos, stop - pos).trimmed();
    pos = stop < n ? stop + 1 : n;
    return out;
}

} // namespace

QString scanPairLine(const ScanPair& p) {
    // Every text field the reader would split or trim: the channels as they
    // were read from a quoted field, and the remark.
    const auto quoted = [](QString s) {
        if (!needsQuotes(s)) return s;
        return QLatin1Char('"') + s.replace(QLatin1Char('"'), QStringLiteral("\"\"")) + QLatin1Char('"');
    };
    return quoted(p.a) + QLatin1Char(',') + quoted(p.b) + QLatin1Char(',') + numText(double(p.on)) +
           QLatin1Char(',') + quoted(p.remark);
}

std::optional<ScanPair> parseScanPairLine(const QString& line) {
    if (line.trimmed().isEmpty()) return std::nullopt;
    int pos = 0;
    ScanPair p;
    p.a = field(line, pos, false);
    p.b = field(line, pos, false);
    p.on = valRounded(field(line, pos, false));
    p.remark = field(line, pos, true);
    return p;
}

QStringList scanPairFileLines(const QList<ScanPair>& pairs) {
    QStringList out;
    for (const ScanPair& p : pairs) out << scanPairLine(p);
    return out;
}

QList<ScanPair> scanPairsFromLines(const QStringList& lines) {
    QList<ScanPair> out;
    for (const QString& l : lines)
        if (std::optional<ScanPair> p = parseScanPairLine(l)) out << *p;
    return out;
}

} // namespace dovrane
