#pragma once
// The ".320 files" window: an RX-320 station file (file kind 10), every
// record; a click on a row sets the row's mode and then tunes to its frequency.
#include "lists/list_files.h"
#include "lists/grid_list_window.h"

#include <QString>
#include <memory>
#include <vector>

namespace Ui {
class frm320Files;
}

namespace dovrane {

// The records of the loaded file, record 0 empty.
inline std::vector<F320Record> F320Records;

class frm320Files : public GridListWindow {
    Q_OBJECT
public:
    frm320Files();
    ~frm320Files() override;

    void cmdLoad_Click();
    void grd320Files_Click(int row, int column);
    // Shows every record of F320Records.
    void showRecords();

protected:
    void Form_Load() override;

private:
    std::unique_ptr<Ui::frm320Files> ui;
};

bool load320file();

} // namespace dovrane
