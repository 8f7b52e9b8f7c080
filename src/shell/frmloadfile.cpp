#include "shell/frmloadfile.h"
#include "ui_frmloadfile.h"

#include "platform/busycursor.h"
#include "platform/dialogs.h"
#include "platform/launcher.h"
#include "shell/dial_reports.h"
#include "shell/facade.h"
#include "shell/file_kinds.h"
#include "shell/globals.h"
#include "shell/unloadallforms.h"

#include <QAbstractButton>
#include <QDir>
#include <QKeyEvent>
#include <QPointer>
#include <optional>

namespace dovrane {

namespace {

QString memoryQuestion(const QString& name) {
    return QStringLiteral("Are sure you want to load the file\n%1 in the MemMan Window\nand overwrite possible current data")
        .arg(name);
}

QString notAvailable(int kind, int subKind, const QString& name) {
    return QStringLiteral("%1 cannot be loaded:\nthe window for %2 files is not available.")
        .arg(name, fileKindData(kind, subKind));
}

// With an RX-320 the receiver sends no dial reports, so the tracking window's
// "Dial" choice cannot work once a list is loaded.
void disableTrackingDial() {
    Form* tracking = windowFor(&TrackingOpen);
    if (!tracking) return;
    if (auto* dial = tracking->findChild<QAbstractButton*>(QStringLiteral("optMousedial_1"))) dial->setEnabled(false);
}

} // namespace

frmLoadfile::frmLoadfile() : Form(11, &LoadfileOpen), ui(std::make_unique<Ui::frmLoadfile>()) {
    ui->setupUi(this);
    connect(ui->cmdOK, &QPushButton::clicked, this, [this] { cmdOK_Click(); });
    connect(ui->cmdCancel, &QPushButton::clicked, this, [this] { cmdCancel_Click(); });
    connect(ui->cmdEdit, &QPushButton::clicked, this, [this] { cmdEdit_Click(); });
    connect(ui->list, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
        ui->list->setCurrentItem(item);
        cmdOK_Click();
    });
    for (QWidget* w : std::initializer_list<QWidget*>{ui->list, ui->cmdOK, ui->cmdEdit, ui->cmdCancel})
        w->installEventFilter(this);
}

bool frmLoadfile::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            if (auto* button = qobject_cast<QAbstractButton*>(watched)) button->click();
            else cmdOK_Click();
            return true;
        }
    }
    return Form::eventFilter(watched, event);
}

frmLoadfile::~frmLoadfile() = default;

void frmLoadfile::Form_Load() {
    kind_ = FileKind;
    subKind_ = FileSubKind;
    ui->list->clear();
    ui->list->addItems(loadableFiles(kind_, subKind_, RxType));
    if (ui->list->count() > 0) ui->list->setCurrentRow(0);
}

QString frmLoadfile::chosenName() const {
    const QListWidgetItem* item = ui->list->currentItem();
    return item && item->isSelected() ? item->text() : QString();
}

void frmLoadfile::cmdOK_Click() {
    if (!isLoaded()) return;
    QPointer<frmLoadfile> self(this);
    const int kind = kind_;
    const int subKind = subKind_;
    // Taken now: the steps below may run events, and only an entry of this
    // listing may be loaded, never a name left over from an earlier choice.
    const QString name = chosenName();
    // With an NRD-535 the dial reports pause while the receiver is read and
    // the file loads; a tracking window still in Dial mode follows the dial
    // again once the load is over.
    std::optional<dialreports::Pause> reportsPaused;
    if (RxType == 2) reportsPaused.emplace();
    {
        BusyCursor busy;
        Update4RxFreq();
        if (RxType == 3 && TrackingOpen) disableTrackingDial();
    }
    if (!self || !isLoaded()) return;

    if (!name.isEmpty() && kind >= 1 && kind <= 14 && kind != 13) {
        if (!hasLoader(kind, subKind)) {
            dialogs::message(notAvailable(kind, subKind, name), dialogs::Buttons::Ok, dialogs::Icon::Exclamation,
                             QStringLiteral("Load File"));
        } else if (kind != 8 || dialogs::message(memoryQuestion(name), dialogs::Buttons::YesNoCancel,
                                                 dialogs::Icon::Question,
                                                 QStringLiteral("Load Memory File")) == dialogs::Answer::Yes) {
            // The loader reads the file of the kind's name; a file it did not
            // take leaves the kind's name as it was, so that a save goes to
            // the file the window still shows.
            const QString previous = FileKindName[size_t(kind)];
            FileKindName[size_t(kind)] = name;
            BusyCursor busy;
            if (!runLoader(kind, subKind)) FileKindName[size_t(kind)] = previous;
        }
    }
    if (self) unload();
}

void frmLoadfile::cmdCancel_Click() { unload(); }

void frmLoadfile::cmdEdit_Click() {
    const QString name = chosenName();
    if (name.isEmpty() || kind_ < 1 || kind_ > 14) return;
    const QString path = QDir(FileKindPath[size_t(kind_)]).filePath(name);
    if (!launcher::openFile(path))
        dialogs::message(QStringLiteral("No program could be found to open\n%1").arg(path), dialogs::Buttons::Ok,
                         dialogs::Icon::Exclamation, QStringLiteral("Edit"));
}

void showLoadChooser(int kind, int subKind) {
    FileKind = kind;
    FileSubKind = subKind;
    forms::unload<frmLoadfile>();
    forms::load<frmLoadfile>()->showModal();
}

} // namespace dovrane
