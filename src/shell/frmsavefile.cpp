#include "shell/frmsavefile.h"
#include "ui_frmsavefile.h"

#include "platform/busycursor.h"
#include "platform/dialogs.h"
#include "platform/text_file.h"
#include "shell/common_tables.h"
#include "shell/file_kinds.h"
#include "shell/globals.h"
#include "shell/unloadallforms.h"

#include <QDir>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPointer>

namespace dovrane {

namespace {

const QString kSaveFailed = QStringLiteral("Something went wrong while\nsaving your data to a file ! ! !\nPLEASE TRY AGAIN");

void tell(const QString& text, const QString& title) {
    dialogs::message(text, dialogs::Buttons::Ok, dialogs::Icon::Exclamation, title);
}

} // namespace

frmSavefile::frmSavefile() : Form(26, &SavefileOpen), ui(std::make_unique<Ui::frmSavefile>()) {
    ui->setupUi(this);
    connect(ui->cmdOK, &QPushButton::clicked, this, [this] { cmdOK_Click(); });
    connect(ui->cmdCancel, &QPushButton::clicked, this, [this] { cmdCancel_Click(); });
    for (QWidget* w : std::initializer_list<QWidget*>{ui->cmbSavefile, ui->cmbSavefile->lineEdit(), ui->cmdOK,
                                                      ui->cmdCancel})
        if (w) w->installEventFilter(this);
}

frmSavefile::~frmSavefile() = default;

bool frmSavefile::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            if (auto* button = qobject_cast<QPushButton*>(watched)) button->click();
            else cmdOK_Click();
            return true;
        }
    }
    return Form::eventFilter(watched, event);
}

void frmSavefile::Form_Load() {
    kind_ = FileKind;
    ui->cmbSavefile->clear();
    // The real names: on a file system that tells letter cases apart, a name
    // shown in another case would be a different file.
    if (kind_ >= 0 && kind_ <= 14) ui->cmbSavefile->addItems(filesInFolder(FileKindPath[size_t(kind_)]));
    ui->cmbSavefile->setCurrentIndex(-1);
    ui->cmbSavefile->setEditText(fileKindDefaultNameFor(kind_, RxType));
}

void frmSavefile::cmdOK_Click() {
    if (!isLoaded()) return;
    QPointer<frmSavefile> self(this);
    const int kind = kind_;
    const QString name = ui->cmbSavefile->currentText();

    if (!hasWriter(kind)) {
        tell(QStringLiteral("The window for %1 files is not available,\nso nothing was saved.").arg(fileKindData(kind, 0)),
             QStringLiteral("Save File"));
        if (self) unload();
        return;
    }
    // The kind's current name changes only once the new one has passed every
    // test: other saves of the kind write to whatever name it holds.
    if (!validSaveName(kind, name)) {
        tell(kSaveFailed, QStringLiteral("Error 2"));
        if (self) unload();
        return;
    }
    if (kind != 13 && !checkfileexists(kind, name, true)) {
        tell(kSaveFailed, QStringLiteral("Error 1"));
        if (self) unload();
        return;
    }

    const QString previous = FileKindName[size_t(kind)];
    FileKindName[size_t(kind)] = name;
    QDir().mkpath(FileKindPath[size_t(kind)]);
    bool written = false;
    clearLastWriteError();
    {
        BusyCursor busy;
        written = runWriter(kind).value_or(false);
    }
    // Why it failed, where the file layer knows (characters the file cannot hold).
    const QString reason = lastWriteError();
    if (!written) FileKindName[size_t(kind)] = previous;
    if (self) unload();
    if (!written)
        tell(reason.isEmpty() ? kSaveFailed : kSaveFailed + QStringLiteral("\n\n") + reason, QStringLiteral("Error 3"));
    else if (kind != 7 && kind != 13)
        tell(QStringLiteral("The data is now saved\nto the file %1").arg(name), QStringLiteral("Save File"));
}

void frmSavefile::cmdCancel_Click() { unload(); }

void showSaveChooser(int kind) {
    FileKind = kind;
    forms::unload<frmSavefile>();
    forms::load<frmSavefile>()->showModal();
}

} // namespace dovrane
