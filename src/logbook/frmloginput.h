#pragma once
// The entry window "Log input": adds one record to the log or changes one,
// and can fill the date, time, frequency and mode from the receiver. One at a
// time: while it is open the log window adds, changes or deletes nothing else.
#include "shell/form.h"

#include <array>
#include <memory>

class QLineEdit;
namespace Ui {
class frmLoginput;
}

namespace dovrane {

class frmLoginput : public Form {
    Q_OBJECT
public:
    frmLoginput();
    ~frmLoginput() override;

    // Add mode: an empty record that will get index LogLast + 1.
    void startAdd();
    // Change mode: record LogSelected.
    void startChange();

    void cmdOK_Click();
    void cmdCancel_Click();
    void cmdGetcurrentsetting_Click();

    QLineEdit* box(int field) const;
    void setBox(int field, const QString& text);

protected:
    void Form_Load() override;
    void Form_Unload() override;

private:
    void clearBoxes();

    std::unique_ptr<Ui::frmLoginput> ui;
    std::array<QLineEdit*, 15> txtLoginput{};
};

} // namespace dovrane
