#include "stations/frmilgfinddbf.h"
#include "ui_frmilgfinddbf.h"

#include "shell/globals.h"
#include "stations/frmconvertaero.h"
#include "stations/frmconvertilg.h"

#include <QDir>
#include <QEvent>
#include <QFileSystemModel>
#include <QScrollBar>
#include <QStorageInfo>
#include <QTimer>

namespace dovrane {

frmILGfinddbf::frmILGfinddbf() : Form(7, &ILGfinddbfOpen), ui(std::make_unique<Ui::frmILGfinddbf>()) {
    ui->setupUi(this);
    dirs_ = new QFileSystemModel(this);
    dirs_->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Drives);
    dirs_->setRootPath(QString());
    ui->dirILG->setModel(dirs_);
    for (int c = 1; c < dirs_->columnCount(); ++c) ui->dirILG->hideColumn(c);

    // Linux has no drive letters: the mounted volumes take their place.
    QStringList roots{QDir::homePath()};
    for (const QStorageInfo& v : QStorageInfo::mountedVolumes())
        if (v.isValid() && v.isReady() && !roots.contains(v.rootPath())) roots << v.rootPath();
    ui->drvILG->addItems(roots);

    connect(ui->drvILG, &QComboBox::currentIndexChanged, this, [this] { drvILG_Change(); });
    connect(ui->dirILG->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) {
                if (!current.isValid()) return;
                // The user's own pick stands where it was picked.
                const QString path = QDir::cleanPath(dirs_->filePath(current));
                if (path == folder_) return;
                folder_ = path;
                flbILG_PathChange();
            });
    // The model lists each folder on a thread of its own and sorts it afterwards: every listing that comes
    // in moves the rows, which would leave the tree collapsed or scrolled away from the folder it lists.
    connect(dirs_, &QFileSystemModel::directoryLoaded, this, [this] { revealLater(); });
    connect(dirs_, &QAbstractItemModel::rowsInserted, this, [this] { revealLater(); });
    connect(dirs_, &QAbstractItemModel::layoutChanged, this, [this] { revealLater(); });
    connect(ui->dirILG->verticalScrollBar(), &QAbstractSlider::actionTriggered, this, [this] { revealing_ = false; });
    ui->dirILG->installEventFilter(this);
    ui->dirILG->viewport()->installEventFilter(this);
    connect(ui->cmdOK, &QPushButton::clicked, this, [this] { cmdOK_Click(); });
    connect(ui->cmdCancel, &QPushButton::clicked, this, [this] { cmdCancel_Click(); });
    connect(ui->flbILG, &QListWidget::itemDoubleClicked, this, [this] { cmdOK_Click(); });
}

frmILGfinddbf::~frmILGfinddbf() = default;

void frmILGfinddbf::Form_Load() {
    if (FindSourceKind == 2) {
        setWindowTitle(QStringLiteral("Find Aero*.txt"));
        patterns_ = {QStringLiteral("aerolist.txt")};
    } else {
        setWindowTitle(QStringLiteral("Find ILG*.dbf"));
        patterns_ = {QStringLiteral("ilgsdata.dbf"), QStringLiteral("ilgadata.dbf")};
    }
    ui->cmdOK->setEnabled(false);
    const QString start = !FileKindPath[0].isEmpty() && QDir(FileKindPath[0]).exists() ? FileKindPath[0]
                                                                                         : QDir::homePath();
    setFolder(start);
}

void frmILGfinddbf::drvILG_Change() { setFolder(ui->drvILG->currentText()); }

void frmILGfinddbf::setFolder(const QString& folder) {
    const QString clean = QDir::cleanPath(QDir(folder).absolutePath());
    if (clean == folder_) return;
    folder_ = clean;
    revealing_ = true;
    reveal();
    flbILG_PathChange();
}

void frmILGfinddbf::reveal() {
    if (!revealing_) return;
    const QModelIndex index = dirs_->index(folder_);
    if (!index.isValid()) return;
    for (QModelIndex p = index.parent(); p.isValid(); p = p.parent()) ui->dirILG->expand(p);
    if (ui->dirILG->currentIndex() != index) ui->dirILG->setCurrentIndex(index);
    ui->dirILG->scrollTo(index);
}

void frmILGfinddbf::revealLater() {
    if (!revealing_ || revealQueued_) return;
    revealQueued_ = true;
    QTimer::singleShot(0, this, [this] {
        revealQueued_ = false;
        reveal();
    });
}

bool frmILGfinddbf::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::Wheel:
    case QEvent::KeyPress: revealing_ = false; break;
    case QEvent::Resize:
        if (watched == ui->dirILG->viewport()) revealLater();
        break;
    default: break;
    }
    return Form::eventFilter(watched, event);
}

void frmILGfinddbf::flbILG_PathChange() {
    ui->flbILG->clear();
    // QDir's name filters ignore case, so "ILGADATA.DBF" is found as well.
    ui->flbILG->addItems(QDir(folder_).entryList(patterns_, QDir::Files | QDir::Readable, QDir::Name));
    ui->cmdOK->setEnabled(ui->flbILG->count() > 0);
}

QStringList frmILGfinddbf::files() const {
    QStringList out;
    for (int i = 0; i < ui->flbILG->count(); ++i) out << ui->flbILG->item(i)->text();
    return out;
}

void frmILGfinddbf::selectFile(const QString& name) {
    const auto items = ui->flbILG->findItems(name, Qt::MatchFixedString);
    if (!items.isEmpty()) ui->flbILG->setCurrentItem(items.first());
}

void frmILGfinddbf::cmdOK_Click() {
    FileKind = 0;
    FileKindPath[0] = folder_.endsWith(QLatin1Char('/')) ? folder_ : folder_ + QLatin1Char('/');
    const QListWidgetItem* item = ui->flbILG->currentItem();
    FileKindName[0] = item && item->isSelected() ? item->text() : QString();
    const QString lower = FileKindName[0].toLower();
    // Closed first: the converter's connect may show a message of its own.
    unload();
    if (FindSourceKind == 1) {
        if (frmConvertILG* conv = forms::loaded<frmConvertILG>()) {
            conv->enableConnect();
            if (lower == QLatin1String("ilgadata.dbf")) conv->selectConnect(1);
            else if (lower == QLatin1String("ilgsdata.dbf")) conv->selectConnect(2);
        }
    } else if (FindSourceKind == 2) {
        if (frmConvertAero* conv = forms::loaded<frmConvertAero>()) {
            conv->enableConnect();
            if (lower == QLatin1String("aerolist.txt")) conv->selectConnect(1);
        }
    }
}

void frmILGfinddbf::cmdCancel_Click() { unload(); }

} // namespace dovrane
