#pragma once
// The aero viewer's query window.
#include "stations/station_query_form.h"
#include <memory>

namespace Ui { class frmAeroquery; }

namespace dovrane {

class frmAeroquery : public StationQueryForm {
    Q_OBJECT
public:
    frmAeroquery();
    ~frmAeroquery() override;

protected:
    StationViewer* viewer() const override;
    StationQuery query() const override;
    void showBack(const StationQuery& q) override;

private:
    std::unique_ptr<Ui::frmAeroquery> ui;
};

} // namespace dovrane
