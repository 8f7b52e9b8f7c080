#pragma once
// The no-receiver panel: with "No RX" chosen, Go shows it in place of a
// receiver panel. It reaches every tool through the panels' menu tree; of its
// receiver-like controls only Close and the double click that empties the
// frequency box do anything. No driver, no serial port, no wheel.
#include "panels/panelform.h"

#include <memory>

namespace Ui {
class frmNoRx;
}

namespace dovrane {

class frmNoRx : public PanelForm {
    Q_OBJECT
public:
    frmNoRx();
    ~frmNoRx() override;

    QString helpFileName() const override { return QStringLiteral("dovrane1.chm"); }

protected:
    void fillDirectMenu(QMenu* menu) override;
    void Form_Load() override;

private:
    std::unique_ptr<Ui::frmNoRx> ui;
};

} // namespace dovrane
