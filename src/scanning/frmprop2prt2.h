#pragma once
// The propagation print form: a saved propagation file (loaded as file kind
// 14) laid out as one page with header fields, the level graph, an
// explanation and the sender's address, printed as it stands on screen.
#include "shell/form.h"

#include <QRect>
#include <array>
#include <memory>

class QLineEdit;
class QPainter;
namespace Ui {
class frmProp2prt2;
}

namespace dovrane {

class Canvas;

class frmProp2prt2 : public Form {
    Q_OBJECT
public:
    frmProp2prt2();
    ~frmProp2prt2() override;

    void cmdLoad_Click();
    void cmdCls_Click();
    void cmdPrint_Click();
    void cmdExit_Click();

    void loadprop2prtfile();
    // Paints the page, with its fields and texts, onto a printer's page.
    void composePage(QPainter& painter, const QRect& page);

    std::array<QLineEdit*, 12> txtdat{};
    Canvas* page() const;

protected:
    void Form_Load() override;
    void Form_Unload() override;

private:
    void drawGrid();

    std::unique_ptr<Ui::frmProp2prt2> ui;
};

} // namespace dovrane
