#pragma once
// The broadcast station-list viewer.
#include "stations/station_viewer.h"
#include <memory>

namespace Ui { class frmIlg2rx; }

namespace dovrane {

class frmIlg2rx : public StationViewer {
    Q_OBJECT
public:
    frmIlg2rx();
    ~frmIlg2rx() override;
    void cmdSort_Click();

protected:
    Form* queryWindow(bool loadIt) override;
    void showQueryWindow() override;

private:
    std::unique_ptr<Ui::frmIlg2rx> ui;
};

// The loader of broadcast lists (kind 3, sub-kind 1).
bool loadilgftlfile();
// Sorts the broadcast viewer's result by ListSortKey and shows it.
void sortilgquery();

} // namespace dovrane
