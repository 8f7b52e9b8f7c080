#pragma once
// The set-up window: every setting of the program, each stored the moment it
// is changed, and "Save" to keep them in "dovrane2.ini".
#include "shell/form.h"
#include <array>
#include <functional>
#include <memory>
#include <vector>

class QAbstractButton;
class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QLineEdit;

namespace Ui { class frmSetUp; }

namespace dovrane {

class frmSetUp : public Form {
    Q_OBJECT
public:
    frmSetUp();
    ~frmSetUp() override;

    void cmdSave_Click();
    void cmdClose_Click();
    void cmdReload_Click();

    // Checks the field that has the focus as leaving it would, so a value typed
    // and not yet left counts; false when it was refused.
    bool commitFocusedField();

protected:
    void Form_Load() override;
    void Form_Unload() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Field;
    void loadStep();
    void optRxtype_Click(int index);
    void optCom_Click(int index);
    void showPortDevice();
    // The device box shows the start of a long path, and the whole of it as its tip.
    void showDeviceStart();
    bool commitPortDevice();
    // Stores the field's value, tests it, and on failure puts the default back
    // and says why; false when the value was refused.
    bool checkField(Field& field);
    bool checkTimeDifference(Field& field);
    void refuse(Field& field, const QString& title);
    Field* fieldFor(QObject* widget);

    std::unique_ptr<Ui::frmSetUp> ui;
    std::array<QAbstractButton*, 5> optRxtype{};
    std::array<QAbstractButton*, 5> optCom{};
    std::array<QAbstractButton*, 9> optRxtargetarea{};
    std::array<QCheckBox*, 4> chkNRDoptions{};
    std::array<QCheckBox*, 2> chkMute{};
    std::array<QLineEdit*, 4> txtARoptions{};
    std::array<QLineEdit*, 2> txtFreqcorr{};
    std::array<QLineEdit*, 3> txtAgctc{};
    std::array<QLineEdit*, 2> txtNrbc{};
    std::array<QGroupBox*, 5> fraRx{};
    QButtonGroup* grpRxtype = nullptr;
    QButtonGroup* grpCom = nullptr;
    QButtonGroup* grpRxtargetarea = nullptr;
    std::vector<Field> fields_;
    bool checking_ = false;   // a check is showing its message or moving the focus
    bool closing_ = false;
};

// Opens the set-up window modally (from the welcome window).
void showSetUpDialog();
// Opens it without waiting (from a receiver panel's menu).
void showSetUpWindow();

// The window changes the receiver's options the moment a box is ticked, and
// tells what shows them (a panel's buttons and mode texts, the cell editor's
// lists, the timer editor) when it closes, so that they follow: each such
// window connects to closed() with itself as context.
class SetUpNotifier : public QObject {
    Q_OBJECT
signals:
    void closed();
};
SetUpNotifier& setUpNotifier();

} // namespace dovrane
