#include "stations/station_query_form.h"

#include "platform/text_file.h"
#include "shell/globals.h"
#include "stations/station_viewer.h"

#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>

namespace dovrane {

StationQueryForm::StationQueryForm(int positionIndex, bool* openFlag, QString choiceFile)
    : Form(positionIndex, openFlag), choiceFile_(std::move(choiceFile)) {}

void StationQueryForm::setupQuery(std::vector<QCheckBox*> checks, std::vector<QComboBox*> combos, QPushButton* search,
                                  QPushButton* clear, QPushButton* cancel) {
    chk_ = std::move(checks);
    cmb_ = std::move(combos);
    connect(search, &QPushButton::clicked, this, [this] { cmdSearch_Click(); });
    connect(clear, &QPushButton::clicked, this, [this] { cmdClear_Click(); });
    connect(cancel, &QPushButton::clicked, this, [this] { cmdCancel_Click(); });
}

void StationQueryForm::Form_Load() {
    const std::vector<QStringList> choices =
        readQueryChoices(findCaseInsensitive(DataFolder, choiceFile_), int(cmb_.size()));
    for (size_t i = 0; i < cmb_.size(); ++i) {
        cmb_[i]->clear();
        cmb_[i]->addItems(choices[i]);
        cmb_[i]->setCurrentIndex(-1);
        cmb_[i]->setEditText(QString());
    }
}

void StationQueryForm::cmdSearch_Click() {
    StationViewer* v = viewer();
    if (!v) return;
    StationQuery q = query();
    v->search(q);
    showBack(q);
}

void StationQueryForm::cmdClear_Click() {
    for (QCheckBox* c : chk_) c->setChecked(false);
    for (QComboBox* c : cmb_) c->setEditText(QString());
}

void StationQueryForm::cmdCancel_Click() { hide(); }

} // namespace dovrane
