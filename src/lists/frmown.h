#pragma once
// The own-list window: the user's own frequency list (file kind 2), every
// record, with a mode letter per station; a click on a frequency tunes the
// receiver and sets that mode.
#include "lists/list_window.h"

#include <QString>
#include <memory>
#include <vector>

class QTableView;
class QTableWidget;
namespace Ui {
class frmOwn;
}

namespace dovrane {

class ListTableModel;

// The records of the loaded own list, record 0 empty.
inline std::vector<QString> OwnRecords;

class frmOwn : public ListWindow {
    Q_OBJECT
public:
    frmOwn();
    ~frmOwn() override;

    void cmdLoad_Click();
    void grdOwn_Click(int row, int column);
    // Shows every record of OwnRecords.
    void showRecords();

    QTableView* grid() const;
    QTableWidget* titles() const;
    ListTableModel* model() const { return model_; }
    QString cell(int row, int column) const;

protected:
    void Form_Load() override;

private:
    std::unique_ptr<Ui::frmOwn> ui;
    ListTableModel* model_ = nullptr;
    std::vector<QStringList> rows_;
};

void loadownfile();

} // namespace dovrane
