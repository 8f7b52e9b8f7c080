#pragma once
// A read-only grid over rows that live elsewhere (the log, a loaded list): the
// view asks for the cells it shows, so a list of thirty thousand rows costs no
// more than the rows on screen.
#include <QAbstractTableModel>
#include <QFont>
#include <QString>
#include <functional>

namespace dovrane {

class ListTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    using CellText = std::function<QString(int row, int column)>;

    explicit ListTableModel(QObject* parent = nullptr);

    // Shows rows x columns cells, each the text cell(row, column) gives.
    void setSource(int rows, int columns, CellText cell);
    // The rows behind the model changed (a row added, removed, changed).
    void refresh(int rows);
    void refresh() { refresh(rows_); }

    QString text(int row, int column) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

private:
    int rows_ = 0;
    int columns_ = 0;
    CellText cell_;
};

} // namespace dovrane
