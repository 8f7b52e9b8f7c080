#pragma once
// A read-only grid over rows that live elsewhere (the log, a loaded list): the
// view asks for the cells it shows, so a list of thirty thousand rows costs no
// more than the rows on screen.
#include <QAbstractTableModel>
#include <QFont>
#include <QString>
#include <QStringList>
#include <functional>

namespace dovrane {

class ListTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    using CellText = std::function<QString(int row, int column)>;
    using RowCells = std::function<QStringList(int row)>;

    explicit ListTableModel(QObject* parent = nullptr);

    // Shows rows x columns cells, each the text cell(row, column) gives.
    void setSource(int rows, int columns, CellText cell);
    // Shows rows x columns cells, cell (row, column) being cells(row)[column]:
    // a row is made when it is drawn, once for all its columns.
    void setRowSource(int rows, int columns, RowCells cells);
    // The rows behind the model changed (a row added, removed, changed).
    void refresh(int rows);
    void refresh() { refresh(rows_); }

    QString text(int row, int column) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

private:
    void forgetRow() const { cachedRow_ = -1; }

    int rows_ = 0;
    int columns_ = 0;
    CellText cell_;
    RowCells rowCells_;
    // The view draws a row cell by cell: the last row made serves them all.
    mutable int cachedRow_ = -1;
    mutable QStringList cachedCells_;
};

} // namespace dovrane
