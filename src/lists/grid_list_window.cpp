#include "lists/grid_list_window.h"

#include "lists/list_table_model.h"
#include "platform/busycursor.h"
#include "shell/globals.h"

#include <QAbstractButton>
#include <QLabel>
#include <QTableView>

namespace dovrane {

GridListWindow::GridListWindow(int formIndex, bool* openFlag)
    : ListWindow(formIndex, openFlag), model_(new ListTableModel(this)) {}

QString GridListWindow::cell(int row, int column) const { return model_->text(row, column); }

void GridListWindow::bindGrid(QTableView* grid, QTableWidget* titles, std::function<void(int, int)> click,
                              QAbstractButton* load, std::function<void()> onLoad) {
    grid_ = grid;
    titles_ = titles;
    bindListFrame();
    setupGrid(grid);
    grid->setModel(model_);
    connect(grid, &QTableView::clicked, this,
            [click = std::move(click)](const QModelIndex& i) { click(i.row(), i.column()); });
    if (load) connect(load, &QAbstractButton::clicked, this, std::move(onLoad));
}

void GridListWindow::showRowsSource(const std::vector<int>& twips) {
    rows_.clear();
    model_->setSource(1, int(twips.size()), [this](int row, int column) -> QString {
        const int k = row - 1;
        return k >= 0 && k < int(rows_.size()) ? rows_[size_t(k)].value(column) : QString();
    });
    setColumnTwips(grid_, twips);
}

void GridListWindow::showRows(std::vector<QStringList> rows, QLabel* nameLabel, const QString& name) {
    rows_ = std::move(rows);
    model_->refresh(int(rows_.size()) + 1);
    nameLabel->setText(name);
}

std::optional<ListFileLines> GridListWindow::readKindFile(int kind, int capacity) {
    const QString path = FileKindPath[kind] + FileKindName[kind];
    std::optional<ListFileLines> file;
    {
        BusyCursor busy;
        file = readListFile(path, capacity);
    }
    if (!file) tellUnreadable(path);
    return file;
}

} // namespace dovrane
