#pragma once
// The BDXC list window: a broadcast schedule (file kind 1) cut down to the
// stations on the air at a UTC time the user gives; a click on a frequency
// tunes the receiver to it.
#include "lists/grid_list_window.h"

#include <QString>
#include <memory>
#include <vector>

namespace Ui {
class frmBdxc;
}

namespace dovrane {

// The records of the loaded file, record 0 empty and records 1..n in file
// order; they outlive the window.
inline std::vector<QString> BdxcRecords;
// Records shown by the last time or "all" selection.
inline int BdxcShownCount = 0;

class frmBdxc : public GridListWindow {
    Q_OBJECT
public:
    frmBdxc();
    ~frmBdxc() override;

    void cmdLoad_Click();
    void grdBdxc_Click(int row, int column);
    // Shows the records on the air at answer ("hhmm"), every record for
    // "all"; any other answer leaves the grid as it is.
    void select(const QString& answer);
    void setTitles(const QStringList& titles);

protected:
    void Form_Load() override;

private:
    std::unique_ptr<Ui::frmBdxc> ui;
    // The records of grid rows 1.., as the last accepted selection chose them.
    std::vector<QString> shown_;
};

bool loadbdxcfile();

} // namespace dovrane
