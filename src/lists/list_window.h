#pragma once
// The frame that the list windows share (BDXC, own list, .320 files, the log):
// the frequency box the panels fill while the window is open (Enter tunes to
// it, a double click empties it), "ReZeri" back to the panel, "Exit", and
// tuning to the text of a clicked cell. Position and open flag come with Form.
#include "lists/grid_columns.h"
#include "shell/form.h"

#include <QString>
#include <QStringList>
#include <vector>

class QAbstractButton;
class QLineEdit;
class QTableView;
class QTableWidget;

namespace dovrane {

class ListWindow : public Form {
    Q_OBJECT
public:
    using Form::Form;

    void cmdRezeri_Click();
    virtual void cmdExit_Click() { unload(); }
    // Enter in the frequency box.
    void txtFrequencyA_Enter();
    void txtFrequencyA_DblClick();

    QLineEdit* frequencyBox() const { return frequencyBox_; }

    // The messages of a list loader: a file that cannot be read, and a file
    // longer than the list holds (what fits was loaded).
    static void tellUnreadable(const QString& path);
    static void tellLeftOut(int capacity, int leftOut);

protected:
    // Binds the frame's controls, found by their names: txtFrequencyA,
    // cmdRezeri, cmdExit (each may be missing).
    void bindListFrame();
    // A grid of the window: fixed row height, no editing, the number of pixels
    // of a twips width per column.
    static void setupGrid(QTableView* grid);
    // Tunes to the number at the start of a cell or box text ("," read as the
    // decimal point); an empty text gives 0, which the facade refuses.
    static bool tuneTo(const QString& text);
    // The one-row title grid above a list: its texts, the fonts and column
    // widths of both grids (twips as drawn, widened where a column's widest
    // text needs more), scrolled sideways with the list.
    static void setTitleRow(QTableWidget* titles, const QStringList& texts, const std::vector<int>& twips,
                            QTableView* list, const std::vector<GridColumn>& columns);
    static void setColumnTwips(QTableView* grid, const std::vector<int>& twips);

    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLineEdit* frequencyBox_ = nullptr;
};

} // namespace dovrane
