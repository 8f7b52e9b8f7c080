#pragma once
// The own-list window: the user's own frequency list (file kind 2), every
// record, with a mode letter per station; a click on a frequency tunes the
// receiver and sets that mode.
#include "lists/grid_list_window.h"

#include <QString>
#include <memory>
#include <vector>

namespace Ui {
class frmOwn;
}

namespace dovrane {

// The records of the loaded own list, record 0 empty.
inline std::vector<QString> OwnRecords;

class frmOwn : public GridListWindow {
    Q_OBJECT
public:
    frmOwn();
    ~frmOwn() override;

    void cmdLoad_Click();
    void grdOwn_Click(int row, int column);
    // Shows every record of OwnRecords.
    void showRecords();

protected:
    void Form_Load() override;

private:
    std::unique_ptr<Ui::frmOwn> ui;
};

bool loadownfile();

} // namespace dovrane
