#pragma once
// The log window "Logging": the log in a grid, the record commands, the log
// file (file kind 4) and a click on a frequency that tunes the receiver and
// sets its mode from the record.
#include "lists/grid_list_window.h"

#include <memory>
#include <vector>

namespace Ui {
class frmLog;
}

namespace dovrane {

class frmLog : public GridListWindow {
    Q_OBJECT
public:
    frmLog();
    ~frmLog() override;

    // The title row and column widths from LogGridFormat.
    void fillloggridheader();
    // The grid rows again from LogRecords: the blank row 0, then record r as row r + 1.
    void fillgrdlog();
    // Enables or disables the file and record buttons (Load, ReZeri and Exit
    // stay enabled).
    void setlogbuttons(bool enable);
    // The entry window opened or closed: while it is open the log keeps its
    // records where they are, so nothing that adds, removes or moves one runs.
    void entryWindowChanged();

    void cmdLoad_Click();
    void cmdSaveas_Click();
    // The Save question and the write; true when the file was written.
    bool cmdSave_Click();
    void cmdClose_Click();
    void cmdExit_Click() override;
    bool keepForUnsavedWork() override;
    void cmdAddrecord_Click();
    void cmdChangerecord_Click();
    void cmdDeleterecord_Click();
    void cmdFormat_Click();
    void cmdSort_Click();
    void grdLog_Click(int row, int column);

protected:
    void Form_Load() override;

private:
    void updateButtons();
    // The Exit question; true when the window stays open.
    bool askToStay();

    std::unique_ptr<Ui::frmLog> ui;
    std::vector<int> fields_;
    // Fonts and widths of the number column and of every field, shown or not.
    GridFit fit_;
    int shownRows_ = 1;
    bool buttonsOn_ = false;
};

// The loader and the writer of file kind 4, for the file choosers; the
// loader is true when it took the file.
bool loadlogfile();
bool savelogfile();
// Sorts the log by LogSortKey.
void sortlog();
// Registers the loader and the writer of file kind 4.
void registerLogFileKind();

} // namespace dovrane
