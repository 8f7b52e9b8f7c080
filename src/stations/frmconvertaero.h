#pragma once
// The aero list converter: turns the outside "aerolist.txt" into the full
// station list ("RX2DB/aero.ftl") or the network list ("RX2DB/aero2.ftl").
#include "shell/form.h"
#include "stations/station_convert.h"

#include <QStringList>
#include <QTimer>
#include <array>
#include <memory>
#include <optional>

class QRadioButton;
namespace Ui { class frmConvertAero; }

namespace dovrane {

class frmConvertAero : public Form {
    Q_OBJECT
public:
    frmConvertAero();
    ~frmConvertAero() override;

    void optDbconnect_Click(int index);
    void cmdLocate_Click();
    void cmdConvert_Click();
    void cmdStop_Click();
    void cmdExit_Click();

    void enableConnect();
    void selectConnect(int index);
    bool converting() const { return running_; }

protected:
    void Form_Load() override;
    void Form_Unload() override;
    void closeEvent(QCloseEvent* event) override;

private:
    QString sourcePath() const;
    void convertChunk();
    void finish();
    void setRunning(bool on);

    std::unique_ptr<Ui::frmConvertAero> ui;
    std::array<QRadioButton*, 2> optDbconnect{};
    std::array<QRadioButton*, 2> optDbtype{};
    std::optional<AeroConversion> conversion_;
    QStringList source_;
    qsizetype next_ = 0;
    QTimer chunkTimer_;
    bool stop_ = false;
    bool running_ = false;
};

} // namespace dovrane
