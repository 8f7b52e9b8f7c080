#pragma once
// The aero station-list viewer.
#include "stations/station_viewer.h"
#include <memory>

namespace Ui { class frmAero2rx; }

namespace dovrane {

class frmAero2rx : public StationViewer {
    Q_OBJECT
public:
    frmAero2rx();
    ~frmAero2rx() override;

protected:
    Form* queryWindow(bool loadIt) override;
    void showQueryWindow() override;

private:
    std::unique_ptr<Ui::frmAero2rx> ui;
};

// The loader of aero lists (kind 3, sub-kind 2).
bool loadaeroftlfile();

} // namespace dovrane
