#pragma once
// The broadcast database converter: connects one of the two dBase IV tables
// of the outside broadcast database and turns it into a station list
// ("RX2DB/ILGADATA.ftl" or "RX2DB/ILGSDATA.ftl").
#include "platform/dbase_table.h"
#include "stations/convert_window.h"
#include "stations/station_convert.h"

#include <array>
#include <memory>
#include <optional>

class QCheckBox;
namespace Ui { class frmConvertILG; }

namespace dovrane {

class frmConvertILG : public ConvertWindow {
    Q_OBJECT
public:
    frmConvertILG();
    ~frmConvertILG() override;

    void optDbconnect_Click(int index) override;
    void cmdConvert_Click() override;
    // Records in hand so far (tests follow a conversion with it).
    int convertedCount() const;

protected:
    void Form_Load() override;
    void Form_Unload() override;
    bool convertNext() override;
    int count() const override;
    QString lastLine() const override;
    void finish() override;

private:
    std::unique_ptr<Ui::frmConvertILG> ui;
    std::array<QCheckBox*, 4> chkInclude{};
    DbaseTable table_;
    QString recordSource_;
    std::optional<BroadcastConversion> conversion_;
};

} // namespace dovrane
