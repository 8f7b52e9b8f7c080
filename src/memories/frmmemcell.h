#pragma once
// The memory-cell editor: one cell of the memory image, changed, filled from
// the receiver's present setting, copied or deleted, and written into the
// image ("To MMW") or into the image and the receiver ("To RxM").
#include "shell/form.h"

#include <QString>
#include <memory>

class QComboBox;
namespace Ui {
class frmMemcell;
}

namespace dovrane {

class clsAR7030;
class clsNRD535;
class clsNRD545;
struct CellFields;

class frmMemcell : public Form {
    Q_OBJECT
public:
    frmMemcell();
    ~frmMemcell() override;

    // 0 "To MMW", 1 "To RxM".
    void cmdToMMWorRM_Click(int index);
    void cmdCancel_Click();
    // AR7030: the Sql/BFO list follows the chosen mode.
    void cmbMode_Change();

protected:
    void Form_Load() override;
    void Form_Unload() override;

private:
    void fillLists();
    // Set Up has closed: the mode and filter lists offer what the receiver
    // takes with its options as they now stand.
    void followOptions();
    void fillFromImage(const QString& record, const QString& tag);
    void fillFromReceiver();
    // The Sql/BFO list for a mode: BFO for Data and CW, squelch otherwise.
    void rebuildSqlBfo(int mode);
    CellFields fields() const;
    // Shows a register byte in the PBS or Sql/BFO combo and keeps it, so an
    // unchanged combo gives back the very byte it was loaded with.
    void showPassband(int b);
    void showSqlBfo(int mode, int b);

    std::unique_ptr<Ui::frmMemcell> ui;
    std::unique_ptr<clsAR7030> AR7030A;
    std::unique_ptr<clsNRD535> NRD535A;
    std::unique_ptr<clsNRD545> NRD545A;
    int job_ = 0;
    // The cell and record the fields were taken from (jobs 1, 3 and 4).
    int loadedCell_ = 0;
    QString loadedRecord_;
    bool loading_ = false;
    // The mode and filter codes the fields were filled with, -1 for none.
    int filledMode_ = -1;
    int filledFilter_ = -1;
    struct Kept {
        QString text;
        int byte = -1;
    };
    Kept pbsKept_, sqlBfoKept_;
};

} // namespace dovrane
