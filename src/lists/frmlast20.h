#pragma once
// The last-20 window: the last 20 different frequencies the panel showed,
// newest first; a click tunes the receiver back to one. "Hide" only hides it,
// so it keeps recording.
#include "shell/form.h"

#include <memory>

class QTableWidget;
namespace Ui {
class frmLast20;
}

namespace dovrane {

class frmLast20 : public Form {
    Q_OBJECT
public:
    frmLast20();
    ~frmLast20() override;

    // Puts the current panel's frequency text at the top of the list.
    void fillgrdlast20();
    // The same with the text the panel just wrote into its box.
    void fillgrdlast20(const QString& text);

    void grdLast20_Click(int row);
    void cmdClear_Click();
    void cmdExit_Click();

    QTableWidget* grid() const;

protected:
    void Form_Load() override;

private:
    void showRows();
    void setRow(int row, const QString& text);

    std::unique_ptr<Ui::frmLast20> ui;
};

} // namespace dovrane
