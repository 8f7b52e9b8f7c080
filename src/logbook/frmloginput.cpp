#include "logbook/frmloginput.h"
#include "ui_frmloginput.h"

#include "logbook/frmlog.h"
#include "logbook/log_record.h"
#include "platform/busycursor.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/one_line_text.h"
#include "shell/facade.h"
#include "shell/globals.h"
#include "platform/date_text.h"
#include "platform/text_file.h"

#include <QApplication>
#include <QLineEdit>

namespace dovrane {

namespace {

const QString kReplaceText = QStringLiteral("You are sure you want to replace the\ncurrent record by current Rx setting\n");
const QString kTitle = QStringLiteral("Log input");
const QString kBadFrequency = QStringLiteral("The frequency %1 does not fit the log:\nit takes 0 to 99999.999 kHz.");
const QString kBadText = QStringLiteral("\"%1\"\nholds characters the log file cannot keep.");

void tell(const QString& text) { dialogs::message(text, dialogs::Buttons::Ok, dialogs::Icon::Exclamation, kTitle); }

void logWindowChanged() {
    if (frmLog* log = forms::loaded<frmLog>()) log->entryWindowChanged();
}

} // namespace

frmLoginput::frmLoginput() : Form(14, &LoginputOpen), ui(std::make_unique<Ui::frmLoginput>()) {
    ui->setupUi(this);
    for (int f = 0; f < LogFields; ++f) {
        txtLoginput[size_t(f)] = findChild<QLineEdit*>(QStringLiteral("txtLoginput_%1").arg(f));
        txtLoginput[size_t(f)]->setMaxLength(logField(f).width);
        // A record is one line of the log file: a pasted line break becomes a
        // blank in the texts. The frequency is a number, and refuses it at OK.
        if (f != LogFieldFrequency) keepOnOneLine(txtLoginput[size_t(f)]);
    }
    connect(ui->cmdOK, &QPushButton::clicked, this, [this] { cmdOK_Click(); });
    connect(ui->cmdCancel, &QPushButton::clicked, this, [this] { cmdCancel_Click(); });
    connect(ui->cmdGetcurrentsetting, &QPushButton::clicked, this, [this] { cmdGetcurrentsetting_Click(); });
}

frmLoginput::~frmLoginput() = default;

QLineEdit* frmLoginput::box(int field) const { return txtLoginput[size_t(field)]; }

void frmLoginput::setBox(int field, const QString& text) {
    if (field >= 0 && field < LogFields) txtLoginput[size_t(field)]->setText(text);
}

void frmLoginput::Form_Load() {}

void frmLoginput::Form_Unload() {
    // The open flag is cleared once this step is over; closed by its title
    // bar, the window tells the log afterwards.
    QMetaObject::invokeMethod(qApp, [] { logWindowChanged(); }, Qt::QueuedConnection);
}

void frmLoginput::clearBoxes() {
    for (QLineEdit* b : txtLoginput) b->clear();
}

void frmLoginput::startAdd() {
    LogAddMode = true;
    setWindowTitle(QStringLiteral("Input Record ") + logNumberText(LogLast + 1));
    clearBoxes();
    logWindowChanged();
}

void frmLoginput::startChange() {
    LogAddMode = false;
    setWindowTitle(QStringLiteral("Change record ") + logNumberText(LogSelected));
    clearBoxes();
    if (LogSelected >= 0 && LogSelected < int(LogRecords.size()))
        for (int f = 0; f < LogFields; ++f) {
            QString t = LogRecords[size_t(LogSelected)][size_t(f)];
            while (t.endsWith(QLatin1Char(' '))) t.chop(1);
            txtLoginput[size_t(f)]->setText(t);
        }
    logWindowChanged();
}

void frmLoginput::cmdOK_Click() {
    int filled = 0;
    for (QLineEdit* b : txtLoginput)
        if (!b->text().isEmpty()) ++filled;
    if (filled == 0 && LogAddMode) {
        unload();
        logWindowChanged();
        return;
    }
    LogRecord record;
    for (int f = 0; f < LogFields; ++f) {
        const QString text = txtLoginput[size_t(f)]->text();
        if (!unstorableCharacters(text).isEmpty() || holdsControlCharacter(text)) {
            tell(kBadText.arg(text));
            txtLoginput[size_t(f)]->setFocus();
            return;
        }
        record[size_t(f)] = text;
    }
    record[LogFieldStart] = logTimeText(record[LogFieldStart]);
    record[LogFieldEnd] = logTimeText(record[LogFieldEnd]);
    const std::optional<QString> freq = logFrequencyText(record[LogFieldFrequency]);
    if (!freq) {
        tell(kBadFrequency.arg(record[LogFieldFrequency]));
        txtLoginput[LogFieldFrequency]->setFocus();
        return;
    }
    record[LogFieldFrequency] = *freq;

    if (LogAddMode) {
        LogRecords.push_back(record);
    } else {
        if (LogSelected < 0 || LogSelected >= int(LogRecords.size())) {
            unload();
            logWindowChanged();
            return;
        }
        LogRecords[size_t(LogSelected)] = record;
    }
    LogLast = int(LogRecords.size()) - 1;
    clearBoxes();
    unload();
    logWindowChanged();
    if (frmLog* log = forms::loaded<frmLog>()) log->fillgrdlog();
}

void frmLoginput::cmdCancel_Click() {
    clearBoxes();
    unload();
    logWindowChanged();
}

void frmLoginput::cmdGetcurrentsetting_Click() {
    if (!txtLoginput[LogFieldFrequency]->text().isEmpty() &&
        dialogs::message(kReplaceText, dialogs::Buttons::YesNoCancel, dialogs::Icon::Question,
                         QStringLiteral("Replace")) != dialogs::Answer::Yes)
        return;
    ui->cmdGetcurrentsetting->setEnabled(false);
    // UTC now, as the title clock's stamp gives it ("yyyymmdd hhmm").
    const QString stamp = formatDatePattern(Clock::utcNow(), QStringLiteral("yyyymmdd hhmm"));
    txtLoginput[LogFieldDate]->setText(stamp.left(8));
    txtLoginput[LogFieldStart]->setText(stamp.right(4));
    Update4RxFreq();
    if (RxType >= 1 && RxType <= 4)
        if (PanelHandlers* panel = openPanel()) txtLoginput[LogFieldFrequency]->setText(panel->frequencyText());
    txtLoginput[LogFieldRxSetting]->setText(ConvertRx2mfa());
    ui->cmdGetcurrentsetting->setEnabled(true);
}

} // namespace dovrane
