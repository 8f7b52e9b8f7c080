#include "logbook/frmlogsort.h"
#include "ui_frmlogsort.h"

#include "logbook/frmlog.h"
#include "logbook/log_record.h"
#include "shell/globals.h"

#include <QRadioButton>

namespace dovrane {

frmLogsort::frmLogsort() : Form(15, &LogsortOpen), ui(std::make_unique<Ui::frmLogsort>()) {
    ui->setupUi(this);
    for (int i = 0; i < 5; ++i) {
        optSort[size_t(i)] = findChild<QRadioButton*>(QStringLiteral("optSort_%1").arg(i));
        connect(optSort[size_t(i)], &QRadioButton::toggled, this, [i](bool on) {
            if (on) LogSortKey = i;
        });
    }
    connect(ui->cmdOK, &QPushButton::clicked, this, [this] { cmdOK_Click(); });
    connect(ui->cmdCancel, &QPushButton::clicked, this, [this] { cmdCancel_Click(); });
}

frmLogsort::~frmLogsort() = default;

void frmLogsort::Form_Load() {
    optSort[0]->setChecked(true);
    LogSortKey = 0;
}

void frmLogsort::cmdOK_Click() {
    unload();
    sortlog();
    if (frmLog* log = forms::loaded<frmLog>()) log->fillgrdlog();
}

void frmLogsort::cmdCancel_Click() { unload(); }

} // namespace dovrane
