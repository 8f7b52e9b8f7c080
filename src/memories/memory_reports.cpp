#include "memories/memory_reports.h"

#include "drivers/model_tables.h"
#include "memories/memory_image.h"
#include "memories/memory_texts.h"

namespace dovrane {

QString fillNotes(const MemoryTransfer::Result& res) {
    QStringList notes;
    if (res.left >= 0) notes << memtext::StatusChannelLeft.arg(cellText(res.left));
    if (res.notCleared > 0) notes << memtext::NotCleared.arg(res.notCleared);
    // The cells refused for an option are told by option, the others once.
    int lacking = 0;
    for (const auto& [option, cells] : res.lackingOption) {
        notes << memtext::RefusedForOption.arg(cells).arg(optionName(option));
        lacking += cells;
    }
    if (res.refused > lacking) notes << memtext::Refused.arg(res.refused - lacking);
    if (!res.unreadSkipped.isEmpty())
        notes << memtext::UnreadSkipped.arg(res.unreadSkipped.size()).arg(cellList(res.unreadSkipped));
    if (!res.emptySkipped.isEmpty())
        notes << memtext::EmptySkipped.arg(res.emptySkipped.size()).arg(cellList(res.emptySkipped));
    return notes.join(QStringLiteral("\n\n"));
}

FillReport fillReport(const MemoryTransfer::Result& res, int to, const QString& notice) {
    const QString notes = fillNotes(res);
    const QString more = notes.isEmpty() ? QString() : QStringLiteral("\n\n") + notes;
    if (res.lost) {
        QStringList lines;
        if (!res.unconfirmed.isEmpty()) lines << memtext::FillUnconfirmed.arg(cellList(res.unconfirmed));
        if (res.stoppedAt >= 0 && res.stoppedAt <= to) {
            QList<int> never;
            for (int n = res.stoppedAt; n <= to; ++n) never << n;
            lines << memtext::FillLost.arg(cellList(never));
        }
        return {notice + QStringLiteral("\n\n") + lines.join(QLatin1Char('\n')) + more,
                memtext::FillStoppedTitle, true};
    }
    if (res.moved == 0) return {memtext::NothingFilled + more, memtext::FillTitle, false};
    return {memtext::Filled + more, memtext::FilledTitle, false};
}

} // namespace dovrane
