#pragma once
// The broadcast viewer's query window.
#include "stations/station_query_form.h"
#include <array>
#include <memory>

namespace Ui { class frmIlgquery; }

namespace dovrane {

class frmIlgquery : public StationQueryForm {
    Q_OBJECT
public:
    frmIlgquery();
    ~frmIlgquery() override;

protected:
    StationViewer* viewer() const override;
    StationQuery query() const override;
    void showBack(const StationQuery& q) override;

private:
    std::unique_ptr<Ui::frmIlgquery> ui;
};

} // namespace dovrane
