#include "stations/frmilgqsort.h"
#include "ui_frmilgqsort.h"

#include "shell/globals.h"
#include "stations/frmilg2rx.h"

namespace dovrane {

frmIlgqsort::frmIlgqsort() : Form(8, &IlgqsortOpen), ui(std::make_unique<Ui::frmIlgqsort>()) {
    ui->setupUi(this);
    optSort = {ui->optSort_0, ui->optSort_1, ui->optSort_2, ui->optSort_3};
    for (int i = 0; i < int(optSort.size()); ++i)
        connect(optSort[size_t(i)], &QRadioButton::toggled, this, [this, i](bool on) {
            if (on) optSort_Click(i);
        });
    connect(ui->cmdOK, &QPushButton::clicked, this, [this] { cmdOK_Click(); });
    connect(ui->cancel, &QPushButton::clicked, this, [this] { cancel_Click(); });
}

frmIlgqsort::~frmIlgqsort() = default;

void frmIlgqsort::Form_Load() {
    optSort[0]->setChecked(true);
    optSort_Click(0);
}

void frmIlgqsort::optSort_Click(int index) { ListSortKey = index; }

void frmIlgqsort::cmdOK_Click() {
    unload();
    sortilgquery();
}

void frmIlgqsort::cancel_Click() { unload(); }

} // namespace dovrane
