#include "stations/station_query.h"
#include "lists/list_files.h"
#include "platform/number_text.h"
#include "platform/text_file.h"
#include "shell/globals.h"
#include "stations/station_record.h"

#include <algorithm>
#include <cmath>

namespace dovrane {

namespace {

int percentOf(double part, double span, int scale, int offset) {
    if (span <= 0) return offset + scale;
    return int(std::floor(part / span * scale)) + offset;
}

double searchFrequency(const QString& record, StationListKind kind) {
    return kind == StationListKind::Broadcast ? val(record.left(5)) : val(record.left(8));
}

bool inList(double f, StationListKind kind) { return kind == StationListKind::Broadcast || f > 10; }

bool prefixMatches(const QString& record, int column, const QString& text) {
    return QStringView(record).mid(column - 1, text.size()).compare(text, Qt::CaseInsensitive) == 0;
}

} // namespace

int stationListCapacity() { return listCapacity(7) + 1; }

StationLoad loadStationList(const QString& path, int capacity, StationStore& store) {
    StationLoad result;
    store.clear();
    const std::optional<QStringList> lines = readLines(path);
    if (!lines) return result;
    result.read = true;
    const int n = std::min<int>(int(lines->size()), std::max(capacity, 0));
    result.cut = lines->size() > n;
    result.leftOut = int(lines->size()) - n;
    store.records.reserve(size_t(n));
    store.matchIndex.reserve(size_t(n));
    for (int i = 0; i < n; ++i) {
        store.records.push_back(fitRecord(lines->at(i)));
        store.matchIndex.push_back(i);
    }
    result.loaded = n;
    return result;
}

std::vector<int> searchStations(const StationStore& store, StationListKind kind, StationQuery& q, int now,
                                const SearchProgress& progress) {
    auto report = [&](int p) {
        if (progress) progress(p);
    };
    const int last = store.listLast();
    int start = 0, end = last;
    if (q.frequency) {
        if (q.from.isEmpty() || val(q.from) == 0) q.from = QStringLiteral("0");
        if (q.to.isEmpty() || val(q.to) == 0) q.to = QStringLiteral("32");
        if (val(q.from) > val(q.to)) std::swap(q.from, q.to);
        const double from = val(q.from) * 1000, to = val(q.to) * 1000;
        start = -1;
        for (int i = 0; i <= last; ++i) {
            if (i % 1000 == 0) report(percentOf(i, last, 10, 0));
            const double f = searchFrequency(store.records[size_t(i)], kind);
            if (f >= from && inList(f, kind)) {
                start = i;
                break;
            }
        }
        end = -1;
        for (int i = last; i >= 0; --i) {
            if (i % 1000 == 0) report(percentOf(last - i, last, 10, 10));
            const double f = searchFrequency(store.records[size_t(i)], kind);
            if (f <= to && inList(f, kind)) {
                end = i;
                break;
            }
        }
        if (start < 0 || end < 0) {
            start = 0;
            end = -1;
        }
    }

    int areaFlag = -1;
    if (q.area)
        for (int k = 0; k < int(RegionCodes.size()); ++k)
            if (RegionCodes[size_t(k)].compare(q.areaText, Qt::CaseInsensitive) == 0) {
                areaFlag = k;
                break;
            }

    std::vector<int> result;
    for (int i = start; i <= end; ++i) {
        if (i % 250 == 0) report(percentOf(i - start, end - start, 80, 20));
        const QString& r = store.records[size_t(i)];
        if (kind == StationListKind::Aero) {
            if (q.network && !prefixMatches(r, 19, q.networkText)) continue;
        } else {
            if (q.language && !prefixMatches(r, 52, q.languageText)) continue;
            if (q.station && !prefixMatches(r, 20, q.stationText)) continue;
            if (q.country && !prefixMatches(r, 101, q.countryText)) continue;
            if (q.onAir && !onAirAt(r, now)) continue;
            if (q.area && (areaFlag < 0 || r.at(90 + areaFlag) != QLatin1Char('1'))) continue;
        }
        result.push_back(i);
    }
    return result;
}

QString resultLine(const QString& record, StationListKind kind) {
    if (kind == StationListKind::Aero) return fitRecord(record);
    return columns(record, 1, 77) + columns(record, 101, 126);
}

std::vector<int> titleColumns(StationListKind kind, bool resultLines) {
    if (kind == StationListKind::Aero) return {0, 9, 16, 39};
    // A result line leaves out columns 78-100, so the location moves up from column 114.
    return {0, 9, 19, 42, 51, 69, resultLines ? 90 : 113};
}

QString stationSortKey(const QString& r, int sortKey) {
    const QString f = columns(r, 1, 8), t = columns(r, 10, 13), s = columns(r, 20, 40), l = columns(r, 52, 67);
    switch (sortKey) {
    case 1: return t + s + l + f;
    case 2: return s + l + t + f;
    case 3: return l + s + t + f;
    default: return f + t + s + l;
    }
}

void sortStationResult(StationStore& store, int sortKey) {
    std::vector<std::pair<QString, int>> keyed;
    keyed.reserve(store.matchIndex.size());
    for (int i : store.matchIndex)
        if (i >= 0 && i < int(store.records.size())) keyed.emplace_back(stationSortKey(store.records[size_t(i)], sortKey), i);
    std::stable_sort(keyed.begin(), keyed.end(),
                     [](const auto& a, const auto& b) { return QString::compare(a.first, b.first, Qt::CaseSensitive) < 0; });
    store.matchIndex.clear();
    for (const auto& k : keyed) store.matchIndex.push_back(k.second);
}

ScanChoice nextScanEntry(const QStringList& entries, int& scanPos, double lastFreq) {
    const int n = int(entries.size());
    if (n == 0) {
        scanPos = 0;
        return {};
    }
    if (scanPos < 0 || scanPos >= n) scanPos = 0;
    auto advance = [n](int p) { return p >= n - 1 ? 0 : p + 1; };
    double f = val(entries[scanPos].left(8));
    int tries = 0;
    while (f == lastFreq && tries < 200) {
        scanPos = advance(scanPos);
        f = val(entries[scanPos].left(8));
        ++tries;
    }
    if (tries == 200) scanPos = 0;
    ScanChoice c{scanPos, f};
    scanPos = advance(scanPos);
    return c;
}

std::vector<QStringList> readQueryChoices(const QString& path, int boxes) {
    std::vector<QStringList> out(size_t(std::max(boxes, 0)));
    const std::optional<QStringList> lines = readLines(path);
    if (!lines) return out;
    int box = -1;
    for (const QString& l : *lines) {
        if (l.startsWith(QLatin1String("***"))) {
            ++box;
            continue;
        }
        if (l.startsWith(QLatin1String("==="))) continue;
        if (box >= 0 && box < boxes) out[size_t(box)] << l;
    }
    return out;
}

} // namespace dovrane
