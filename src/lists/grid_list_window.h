#pragma once
// A list window whose records show in a read-only grid (BDXC, own list,
// .320 files, the log): the grid over a ListTableModel, the title grid above
// it, and the loading of a list file of a file kind.
#include "lists/list_files.h"
#include "lists/list_window.h"
#include "platform/busycursor.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>
#include <vector>

class QAbstractButton;
class QLabel;

namespace dovrane {

class ListTableModel;

class GridListWindow : public ListWindow {
    Q_OBJECT
public:
    GridListWindow(int formIndex, bool* openFlag);

    QTableView* grid() const { return grid_; }
    QTableWidget* titles() const { return titles_; }
    ListTableModel* model() const { return model_; }
    // The text the grid shows in a cell.
    QString cell(int row, int column) const;

    // Reads the list file of a file kind, up to capacity lines, under the busy
    // cursor; a file that cannot be read is told and gives nullopt.
    static std::optional<ListFileLines> readKindFile(int kind, int capacity);
    // Loads a list of one record a line into records (record 0 empty), shows
    // it in Window's grid when that is open, then tells what did not fit;
    // false when the file could not be read.
    template <class Window, class Record, class Parse>
    static bool loadRecords(int kind, int capacity, std::vector<Record>& records, Parse parse) {
        const std::optional<ListFileLines> file = readKindFile(kind, capacity);
        if (!file) return false;
        records.assign(1, Record{});
        records.reserve(size_t(file->lines.size()) + 1);
        for (const QString& line : file->lines) records.push_back(parse(line));
        if (Window* w = forms::loaded<Window>()) w->showRecords();
        tellLeftOut(capacity, file->leftOut);
        return true;
    }

protected:
    // Binds the list frame and the grid: the model shown, a click on a cell,
    // and the "Load" button (when there is one).
    void bindGrid(QTableView* grid, QTableWidget* titles, std::function<void(int row, int column)> click,
                  QAbstractButton* load = nullptr, std::function<void()> onLoad = {});
    // Grid rows 1.. show rows_ (row 0 lies under the title grid); columns
    // wide by the twips given.
    void showRowsSource(const std::vector<int>& twips);
    // Shows the grid row rowOf(record) of records 1.. and names the file in
    // nameLabel.
    template <class Record, class RowOf>
    void showRecordRows(const std::vector<Record>& records, RowOf rowOf, QLabel* nameLabel, const QString& name) {
        BusyCursor busy;
        std::vector<QStringList> rows;
        rows.reserve(records.size());
        for (size_t r = 1; r < records.size(); ++r) rows.push_back(rowOf(records[r]));
        showRows(std::move(rows), nameLabel, name);
    }

    // Shows rows as grid rows 1.. and names the file in nameLabel.
    void showRows(std::vector<QStringList> rows, QLabel* nameLabel, const QString& name);

    ListTableModel* model_ = nullptr;

private:

    QTableView* grid_ = nullptr;
    QTableWidget* titles_ = nullptr;
    std::vector<QStringList> rows_;
};

} // namespace dovrane
