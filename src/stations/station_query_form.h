#pragma once
// What the two query windows share: check boxes and editable combo boxes
// filled from their choice file, Clear, Cancel and the search button.
#include "shell/form.h"
#include "stations/station_query.h"

#include <vector>

class QCheckBox;
class QComboBox;
class QPushButton;

namespace dovrane {

class StationViewer;

class StationQueryForm : public Form {
    Q_OBJECT
public:
    StationQueryForm(int positionIndex, bool* openFlag, QString choiceFile);

    void cmdSearch_Click();
    void cmdClear_Click();
    void cmdCancel_Click();

    QCheckBox* check(int i) const { return chk_.at(size_t(i)); }
    QComboBox* combo(int i) const { return cmb_.at(size_t(i)); }

protected:
    void setupQuery(std::vector<QCheckBox*> checks, std::vector<QComboBox*> combos, QPushButton* search,
                    QPushButton* clear, QPushButton* cancel);
    void Form_Load() override;
    virtual StationViewer* viewer() const = 0;
    // The query of the boxes, and the texts the search left in it back into the boxes.
    virtual StationQuery query() const = 0;
    virtual void showBack(const StationQuery& q) = 0;

private:
    QString choiceFile_;
    std::vector<QCheckBox*> chk_;
    std::vector<QComboBox*> cmb_;
};

} // namespace dovrane
