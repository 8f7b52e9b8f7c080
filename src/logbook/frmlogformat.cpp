#include "logbook/frmlogformat.h"
#include "ui_frmlogformat.h"

#include "logbook/frmlog.h"
#include "logbook/log_record.h"
#include "platform/dialogs.h"
#include "platform/number_text.h"
#include "shell/globals.h"

#include <QCheckBox>

namespace dovrane {

frmLogFormat::frmLogFormat() : Form(13, &LogFormatOpen), ui(std::make_unique<Ui::frmLogFormat>()) {
    ui->setupUi(this);
    for (int i = 0; i < LogFields; ++i) {
        chkLogformat[size_t(i)] = findChild<QCheckBox*>(QStringLiteral("chkLogformat_%1").arg(i));
        connect(chkLogformat[size_t(i)], &QCheckBox::toggled, this, [this, i] { chkLogformat_Click(i); });
    }
    connect(ui->cmdOK, &QPushButton::clicked, this, [this] { cmdOK_Click(); });
    connect(ui->cmdSave, &QPushButton::clicked, this, [this] { cmdSave_Click(); });
}

frmLogFormat::~frmLogFormat() = default;

QString frmLogFormat::lengthText() const { return ui->lblLoglength->text(); }

void frmLogFormat::Form_Load() {
    LogGridFormat = normalLogGridFormat(LogGridFormat);
    const QString format = LogGridFormat;
    for (int i = 0; i < LogFields; ++i) chkLogformat[size_t(i)]->setChecked(format[i] == QLatin1Char('1'));
    chkLogformat_Click(0);
}

void frmLogFormat::chkLogformat_Click(int index) {
    LogGridFormat = normalLogGridFormat(LogGridFormat);
    LogGridFormat[index] = chkLogformat[size_t(index)]->isChecked() ? QLatin1Char('1') : QLatin1Char('0');
    ui->lblLoglength->setText(formatPattern(double(logFormatLength(LogGridFormat) % 1000), QStringLiteral("000")));
}

void frmLogFormat::cmdOK_Click() {
    unload();
    if (frmLog* log = forms::loaded<frmLog>()) {
        log->fillloggridheader();
        log->fillgrdlog();
    }
}

void frmLogFormat::cmdSave_Click() {
    QString error;
    if (!writeLogGridFormat(DataFolder, LogGridFormat, &error))
        dialogs::message(QStringLiteral("The screen format could not be saved:\n%1").arg(error), dialogs::Buttons::Ok,
                         dialogs::Icon::Exclamation, QStringLiteral("Log Screen Format"));
}

} // namespace dovrane
