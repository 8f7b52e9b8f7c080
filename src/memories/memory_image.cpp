#include "memories/memory_image.h"

#include "drivers/ar7030/ar7030_convert.h"
#include "drivers/memory_record.h"
#include "drivers/model_tables.h"
#include "drivers/nrd/nrd_codec.h"
#include "platform/number_text.h"
#include "shell/globals.h"

#include <algorithm>
#include <iterator>
#include <numeric>
#include <vector>

namespace dovrane {

void MemoryImage::create(int maxMemNr) {
    const int n = std::max(0, maxMemNr + 1);
    records_ = QStringList(n);
    tags_ = QStringList(n);
    unread_ = QList<bool>(n, false);
    modified_ = false;
}

QString MemoryImage::record(int n) const { return contains(n) ? records_.at(n) : QString(); }

QString MemoryImage::tag(int n) const { return contains(n) ? tags_.at(n) : QString(); }

void MemoryImage::setRecord(int n, const QString& record) {
    if (!contains(n)) return;
    const QString r = fitText(record, MemoryRecordLength);
    records_[n] = r.trimmed().isEmpty() ? QString() : r;
    unread_[n] = false;
}

void MemoryImage::setTag(int n, const QString& tag) {
    if (!contains(n)) return;
    tags_[n] = fitText(tag, MemoryTagLength);
}

bool MemoryImage::isUnread(int n) const { return contains(n) && unread_.at(n); }

void MemoryImage::setUnread(int n, bool unread) {
    if (contains(n)) unread_[n] = unread;
}

int MemoryImage::unreadCount() const { return int(std::count(unread_.begin(), unread_.end(), true)); }

QList<int> MemoryImage::unreadCells() const {
    QList<int> cells;
    for (int n = 0; n < unread_.size(); ++n)
        if (unread_.at(n)) cells << n;
    return cells;
}

bool MemoryImage::anyLoaded() const {
    return std::any_of(records_.begin(), records_.end(), [](const QString& r) { return !r.isEmpty(); });
}

void MemoryImage::swapCells(int a, int b) {
    if (!contains(a) || !contains(b) || a == b) return;
    records_.swapItemsAt(a, b);
    tags_.swapItemsAt(a, b);
    std::swap(unread_[a], unread_[b]);
}

QString fitText(const QString& text, int width) {
    return text.left(width).leftJustified(width, QLatin1Char(' '));
}

QString cellText(int n) { return QStringLiteral("%1").arg(n, 3, 10, QLatin1Char('0')); }

QString cellList(QList<int> cells) {
    std::sort(cells.begin(), cells.end());
    cells.erase(std::unique(cells.begin(), cells.end()), cells.end());
    constexpr int MaxRuns = 12;
    QStringList runs;
    for (qsizetype i = 0; i < cells.size();) {
        qsizetype j = i;
        while (j + 1 < cells.size() && cells.at(j + 1) == cells.at(j) + 1) ++j;
        if (runs.size() == MaxRuns) {
            runs << QStringLiteral("...");
            break;
        }
        runs << (j == i ? cellText(cells.at(i)) : cellText(cells.at(i)) + QStringLiteral(" to ") + cellText(cells.at(j)));
        i = j + 1;
    }
    return runs.join(QStringLiteral(", "));
}

QString vacantRecord(int n) {
    return fitText(QStringLiteral("XXX") + cellText(n) + QStringLiteral(" No data  @ @@ @ @ @@@ @@@ @"),
                   MemoryRecordLength);
}

QString recordColumns(const QString& record, int first, int last) {
    return record.mid(first - 1, last - first + 1);
}

bool isAtField(const QString& record, int first, int last) {
    const QString f = recordColumns(record, first, last);
    return !f.isEmpty() && f == QString(last - first + 1, QLatin1Char('@'));
}

double recordValue(const QString& record, int first, int last) {
    if (isAtField(record, first, last)) return 0;
    return val(recordColumns(record, first, last));
}

namespace {

bool digitsOnly(const QString& f) {
    return !f.isEmpty() && std::all_of(f.begin(), f.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

int fieldIndex(const QString& record, int first, int last) {
    return int(vbRound(recordValue(record, first, last)));
}

// A table text for a field: "?" outside the table, and also for a field that
// holds something other than digits where a digit belongs. An entry the
// table leaves empty is shown empty only in a record of the present model:
// in another model's record the code means something else.
template <class Table>
QString fieldText(const Table& table, const QString& record, int first, int last, bool ownModel) {
    const QString f = recordColumns(record, first, last).trimmed();
    if (!digitsOnly(f)) return QStringLiteral("?");
    const QString text = tableText(table, fieldIndex(record, first, last));
    return text.isEmpty() && !ownModel ? QStringLiteral("?") : text;
}

} // namespace

QStringList memoryRowCells(const QString& record, const QString& tag) {
    if (record.isEmpty()) return {QString(), QString(), QString(), QString(), tag};
    const bool own = isModelRecord(record, RxType);
    const QString number = recordColumns(record, 4, 6);
    const QString f = recordColumns(record, 8, 15);
    const QString freq = val(f) > 1 ? recordColumns(record, 8, 12) + QLatin1Char('.') + recordColumns(record, 13, 15)
                                    : f;
    const QString mode = isAtField(record, 17, 17) ? QStringLiteral(" ") : fieldText(ModeTexts, record, 17, 17, own);
    const QString bw = isAtField(record, 19, 20) ? QStringLiteral(" ") : fieldText(BwTexts, record, 19, 20, own);
    return {number, freq, mode, bw, tag};
}

MemoryDetail memoryDetail(const QString& record) {
    MemoryDetail d;
    const bool own = isModelRecord(record, RxType);
    const QString none = QStringLiteral("---");
    d.att = isAtField(record, 22, 22) ? none : fieldText(AttTexts, record, 22, 22, own);
    d.agc = isAtField(record, 24, 24) ? none : fieldText(AgcTexts, record, 24, 24, own);
    d.pbs = isAtField(record, 26, 28) ? none : b2fs(fieldIndex(record, 26, 28));
    if (d.pbs.isEmpty()) d.pbs = QStringLiteral("?");
    d.bfo = none;
    d.sql = none;
    if (!isAtField(record, 30, 32)) {
        const int b = fieldIndex(record, 30, 32);
        const int mode = fieldIndex(record, 17, 17);
        if (mode == 4 || mode == 5) {
            d.bfo = b2fs(b);
            if (d.bfo.isEmpty()) d.bfo = QStringLiteral("?");
        } else {
            d.sql = b2sql(b);
        }
    }
    d.scan = isAtField(record, 34, 34) ? QStringLiteral("-") : fieldText(YesNoTexts, record, 34, 34, own);
    return d;
}

void sortOnFrequency(MemoryImage& image) {
    const int n = image.maxMemNr() + 1;
    // 0 a channel with a frequency, 1 vacant or without a frequency, 2 empty.
    auto group = [&image](int i) {
        const QString r = image.record(i);
        if (r.isEmpty()) return 2;
        return recordValue(r, 8, 15) < 5 ? 1 : 0;
    };
    std::vector<int> order(size_t(std::max(0, n)));
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        const int ga = group(a), gb = group(b);
        if (ga != gb) return ga < gb;
        if (ga != 0) return false;
        return recordColumns(image.record(a), 8, 15) < recordColumns(image.record(b), 8, 15);
    });

    MemoryImage sorted;
    sorted.create(image.maxMemNr());
    for (int i = 0; i < n; ++i) {
        const int from = order[size_t(i)];
        QString r = image.record(from);
        if (!r.isEmpty()) {
            if (r.startsWith(QLatin1String("XXX"))) r = vacantRecord(i);
            else r = r.left(3) + cellText(i) + r.mid(6);
            sorted.setRecord(i, r);
            sorted.setTag(i, image.tag(from));
        }
        sorted.setUnread(i, image.isUnread(from));
    }
    sorted.setModified(true);
    image = sorted;
}

int statusChannel(int rxType) {
    if (rxType == 2) return nrd::Nrd535TopChannel;
    if (rxType == 4) return nrd::Nrd545TopChannel;
    return -1;
}

} // namespace dovrane
