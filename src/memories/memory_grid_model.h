#pragma once
// The memory manager's grid: one row per cell of MemImage, and an empty row
// after the last. The rows are drawn from the image as it stands; the window
// tells the model when the image changed.
#include <QAbstractTableModel>

namespace dovrane {

class MemoryGridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    using QAbstractTableModel::QAbstractTableModel;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    // The image changed as a whole, or in one cell.
    void refreshAll();
    void refreshRow(int n);
};

} // namespace dovrane
