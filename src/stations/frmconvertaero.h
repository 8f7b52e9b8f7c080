#pragma once
// The aero list converter: turns the outside "aerolist.txt" into the full
// station list ("RX2DB/aero.ftl") or the network list ("RX2DB/aero2.ftl").
#include "stations/convert_window.h"
#include "stations/station_convert.h"

#include <QStringList>
#include <array>
#include <memory>
#include <optional>

class QRadioButton;
namespace Ui { class frmConvertAero; }

namespace dovrane {

class frmConvertAero : public ConvertWindow {
    Q_OBJECT
public:
    frmConvertAero();
    ~frmConvertAero() override;

    void optDbconnect_Click(int index) override;
    void cmdConvert_Click() override;

protected:
    void Form_Load() override;
    void Form_Unload() override;
    bool convertNext() override;
    int count() const override;
    QString lastLine() const override;
    void finish() override;

private:
    QString sourcePath() const;

    std::unique_ptr<Ui::frmConvertAero> ui;
    std::array<QRadioButton*, 2> optDbtype{};
    std::optional<AeroConversion> conversion_;
    QStringList source_;
    qsizetype next_ = 0;
};

} // namespace dovrane
