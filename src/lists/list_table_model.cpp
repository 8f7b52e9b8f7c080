#include "lists/list_table_model.h"

namespace dovrane {

ListTableModel::ListTableModel(QObject* parent) : QAbstractTableModel(parent) {}

void ListTableModel::setSource(int rows, int columns, CellText cell) {
    beginResetModel();
    rows_ = std::max(rows, 0);
    columns_ = std::max(columns, 0);
    cell_ = std::move(cell);
    rowCells_ = nullptr;
    forgetRow();
    endResetModel();
}

void ListTableModel::setRowSource(int rows, int columns, RowCells cells) {
    beginResetModel();
    rows_ = std::max(rows, 0);
    columns_ = std::max(columns, 0);
    cell_ = nullptr;
    rowCells_ = std::move(cells);
    forgetRow();
    endResetModel();
}

void ListTableModel::refresh(int rows) {
    beginResetModel();
    rows_ = std::max(rows, 0);
    forgetRow();
    endResetModel();
}

QString ListTableModel::text(int row, int column) const {
    if (row < 0 || row >= rows_ || column < 0 || column >= columns_) return QString();
    if (cell_) return cell_(row, column);
    if (!rowCells_) return QString();
    if (row != cachedRow_) {
        cachedCells_ = rowCells_(row);
        cachedRow_ = row;
    }
    return cachedCells_.value(column);
}

int ListTableModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : rows_; }

int ListTableModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : columns_; }

QVariant ListTableModel::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole || !index.isValid()) return {};
    return text(index.row(), index.column());
}

} // namespace dovrane
