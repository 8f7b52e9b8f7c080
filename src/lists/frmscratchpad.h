#pragma once
// The frequency scratchpad: a grid of cells in which the user collects
// frequencies by hand or from the receiver, sends one to the receiver, and
// keeps the grid in scratchpad files (file kind 9).
#include "shell/form.h"

#include <QList>
#include <QStringList>
#include <memory>

class QTableWidget;
namespace Ui {
class frmScratchpad;
}

namespace dovrane {

class frmScratchpad : public Form {
    Q_OBJECT
public:
    frmScratchpad();
    ~frmScratchpad() override;

    // Empties every cell and makes cell (0, 0) current.
    void cleargridscratchpad();

    void cmdRezeri_Click();
    void cmdSp2rx_Click();
    void cmdRx2sp_Click();
    void cmdLoad_Click();
    void cmdSave_Click();
    void cmdClrgrid_Click();
    void cmdClrcell_Click();
    void cmdExit_Click();
    void grdScratchpad_DblClick();

    QTableWidget* grid() const;
    // The cell texts, row by row, as the grid shows them.
    QList<QStringList> rows() const;
    // Shows these rows: the rows read, then one empty row while there is room.
    void showRows(const QList<QStringList>& rows);

protected:
    void Form_Load() override;
    void Form_Unload() override;

private:
    QString currentText() const;
    void setCurrentText(const QString& text);
    // Tunes to the current cell; true when the receiver was tuned.
    bool toReceiver();

    std::unique_ptr<Ui::frmScratchpad> ui;
};

// The loader and the writer of file kind 9, for the file choosers.
bool loadscratchpadfile();
bool savescratchpadfile();

} // namespace dovrane
