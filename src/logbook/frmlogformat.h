#pragma once
// The column-format window "Log Screen Format": which fields the log grid shows.
#include "shell/form.h"

#include <array>
#include <memory>

class QCheckBox;
namespace Ui {
class frmLogFormat;
}

namespace dovrane {

class frmLogFormat : public Form {
    Q_OBJECT
public:
    frmLogFormat();
    ~frmLogFormat() override;

    void chkLogformat_Click(int index);
    void cmdOK_Click();
    void cmdSave_Click();

    QCheckBox* check(int index) const { return chkLogformat[size_t(index)]; }
    QString lengthText() const;

protected:
    void Form_Load() override;

private:
    std::unique_ptr<Ui::frmLogFormat> ui;
    std::array<QCheckBox*, 15> chkLogformat{};
};

} // namespace dovrane
