#pragma once
// The broadcast database converter: connects one of the two dBase IV tables
// of the outside broadcast database and turns it into a station list
// ("RX2DB/ILGADATA.ftl" or "RX2DB/ILGSDATA.ftl").
#include "platform/dbase_table.h"
#include "shell/form.h"
#include "stations/station_convert.h"

#include <QTimer>
#include <array>
#include <memory>
#include <optional>

class QCheckBox;
class QRadioButton;
namespace Ui { class frmConvertILG; }

namespace dovrane {

class frmConvertILG : public Form {
    Q_OBJECT
public:
    frmConvertILG();
    ~frmConvertILG() override;

    void optDbconnect_Click(int index);
    void cmdLocate_Click();
    void cmdConvert_Click();
    void cmdStop_Click();
    void cmdExit_Click();

    // The finder enables the connect frame once a folder is chosen.
    void enableConnect();
    void selectConnect(int index);
    bool converting() const { return running_; }
    // Records in hand so far (tests follow a conversion with it).
    int convertedCount() const;

protected:
    void Form_Load() override;
    void Form_Unload() override;
    void closeEvent(QCloseEvent* event) override;

private:
    void convertChunk();
    void finish();
    void setRunning(bool on);

    std::unique_ptr<Ui::frmConvertILG> ui;
    std::array<QRadioButton*, 3> optDbconnect{};
    std::array<QCheckBox*, 4> chkInclude{};
    DbaseTable table_;
    QString recordSource_;
    std::optional<BroadcastConversion> conversion_;
    QTimer chunkTimer_;
    bool stop_ = false;
    bool running_ = false;
    int shownCount_ = 0;
};

} // namespace dovrane
