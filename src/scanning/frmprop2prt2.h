#pragma once
// The propagation print form: one page with a header, the recorded levels of
// a propagation file as a graph of quarter-minute bars, an explanation and
// the sender's address, printed on a printer the user picks or to PDF.
#include "shell/form.h"

#include <QColor>
#include <array>
#include <memory>

class QLineEdit;
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

    // The loader of file kind 14.
    bool loadprop2prtfile();
    // The page as cmdPrint prints it, to a PDF file (false when not written).
    bool printToPdfFile(const QString& path);

    QLineEdit* txtdat(int i) const { return txtdat_[i]; }
    Canvas* page() const;

protected:
    void Form_Load() override;
    void Form_Unload() override {}

private:
    void drawGrid();
    void composePage(QPainter& painter, const QRect& area);

    std::unique_ptr<Ui::frmProp2prt2> ui;
    std::array<QLineEdit*, 12> txtdat_{};
};

bool loadprop2prtfile();

} // namespace dovrane
