#include "memories/memory_grid_model.h"

#include "memories/memory_image.h"
#include "memories/memory_texts.h"
#include "shell/globals.h"

#include <QColor>

namespace dovrane {

int MemoryGridModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : MemImage.maxMemNr() + 2;
}

int MemoryGridModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : 5; }

QVariant MemoryGridModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    const int n = index.row();
    const bool statusRow = n == statusChannel(RxType) && MemImage.contains(n);
    switch (role) {
    case Qt::DisplayRole: {
        if (!MemImage.contains(n)) return QString();
        if (MemImage.isUnread(n)) {
            const QStringList unread{cellText(n), memtext::Unread, QString(), QString(), QString()};
            return unread.value(index.column());
        }
        return memoryRowCells(MemImage.record(n), MemImage.tag(n)).value(index.column());
    }
    case Qt::ToolTipRole:
        if (statusRow) return memtext::StatusChannelTip;
        return {};
    case Qt::BackgroundRole:
        if (statusRow) return QColor(0xFF, 0xE0, 0xB0);
        if (MemImage.isUnread(n)) return QColor(0xE0, 0xE0, 0xE0);
        return {};
    default:
        return {};
    }
}

void MemoryGridModel::refreshAll() {
    beginResetModel();
    endResetModel();
}

void MemoryGridModel::refreshRow(int n) {
    if (n < 0 || n >= rowCount()) return;
    emit dataChanged(index(n, 0), index(n, columnCount() - 1));
}

} // namespace dovrane
