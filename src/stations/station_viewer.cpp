#include "stations/station_viewer.h"
#include "lists/grid_columns.h"

#include "panels/panel_lock.h"
#include "platform/busycursor.h"
#include "platform/dialogs.h"
#include "platform/number_text.h"
#include "shell/facade.h"
#include "shell/frmloadfile.h"
#include "shell/globals.h"
#include "shell/quiet_tune.h"
#include "shell/show_panel.h"
#include "stations/column_titles.h"
#include "stations/station_record.h"
#include "stations/station_texts.h"

#include <QDir>
#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPointer>
#include <QPushButton>
#include <QStringListModel>
#include <algorithm>
#include <cmath>

namespace dovrane {

StationViewer::StationViewer(int positionIndex, bool* openFlag, Texts texts)
    : Form(positionIndex, openFlag), texts_(std::move(texts)) {
    tmrScan_.setParent(this);
    connect(&tmrScan_, &QTimer::timeout, this, [this] { tmrScan_Timer(); });
}

StationViewer::~StationViewer() = default;

void StationViewer::setupViewer(const Controls& c) {
    c_ = c;
    model_ = new QStringListModel(this);
    c_.list->setModel(model_);
    c_.list->setUniformItemSizes(true);
    c_.titles->attach(c_.list);
    c_.titles->setColumns(titleColumns(texts_.kind, false));
    c_.list->installEventFilter(this);
    c_.txtFrequencyA->installEventFilter(this);
    // The frequency box shows the highest frequency whole however narrow the
    // window is made.
    holdTextBoxWidth(c_.txtFrequencyA, QStringLiteral("00000.000"));
    connect(c_.list, &QListView::clicked, this, [this](const QModelIndex& i) { list_Click(i.row()); });
    connect(c_.txtFrequencyA, &QLineEdit::returnPressed, this, [this] { txtFrequencyA_Enter(); });
    connect(c_.cmdLoad, &QPushButton::clicked, this, [this] { cmdLoad_Click(); });
    connect(c_.cmdQuery, &QPushButton::clicked, this, [this] { cmdQuery_Click(); });
    connect(c_.cmdScan, &QPushButton::clicked, this, [this] { cmdScan_Click(); });
    connect(c_.cmdRezeri, &QPushButton::clicked, this, [] { showCurrentPanel(); });
    connect(c_.cmdExit, &QPushButton::clicked, this, [this] { cmdExit_Click(); });
}

void StationViewer::Form_Load() {
    BusyCursor busy;
    queryWindow(true);
    for (QWidget* w : std::initializer_list<QWidget*>{c_.cmdQuery, c_.cmdSort, c_.cmdScan, c_.txtScandelay})
        if (w) w->setEnabled(false);
}

void StationViewer::Form_Unload() {
    // Closed by the close box as well as by Exit: a running scan lets go of
    // the receiver first.
    stopScan();
    if (Form* q = queryWindow(false)) q->unload();
    store_.clear();
}

bool StationViewer::eventFilter(QObject* watched, QEvent* event) {
    if (watched == c_.txtFrequencyA && event->type() == QEvent::MouseButtonDblClick) {
        c_.txtFrequencyA->clear();
        return true;
    }
    if (watched == c_.list && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if ((key == Qt::Key_Return || key == Qt::Key_Enter) && c_.list->currentIndex().isValid()) {
            list_Click(c_.list->currentIndex().row());
            return true;
        }
    }
    return Form::eventFilter(watched, event);
}

QStringList StationViewer::entries() const { return model_ ? model_->stringList() : QStringList(); }

void StationViewer::setEntries(const QStringList& lines, bool resultLines) {
    model_->setStringList(lines);
    c_.titles->setColumns(titleColumns(texts_.kind, resultLines));
    c_.list->repaint();
}

void StationViewer::cmdLoad_Click() { showLoadChooser(3, texts_.subKind); }

bool StationViewer::loadList() {
    if (FileKind < 0 || FileKind >= 15) return false;
    const QString name = FileKindName[size_t(FileKind)];
    const QString path = QDir(FileKindPath[size_t(FileKind)]).filePath(name);
    StationLoad result;
    StationStore loaded;
    {
        BusyCursor busy;
        result = loadStationList(path, stationListCapacity(), loaded);
    }
    // A file that cannot be read leaves the list shown, and its name, as they were.
    if (!result.read) {
        dialogs::message(QStringLiteral("The file %1 could not be read.").arg(name), dialogs::Buttons::Ok,
                         dialogs::Icon::Exclamation, QStringLiteral("Load File"));
        return false;
    }
    {
        BusyCursor busy;
        setWindowTitle(texts_.loadingCaption);
        setEntries({});
        store_ = std::move(loaded);
        QStringList lines;
        lines.reserve(qsizetype(store_.records.size()));
        for (const QString& r : store_.records) lines << r;
        setEntries(lines);
        setWindowTitle(texts_.loadedCaption + name + QStringLiteral(" / ") + numText(double(result.loaded)) +
                       QStringLiteral(" records"));
        for (QWidget* w : std::initializer_list<QWidget*>{c_.cmdQuery, c_.cmdSort, c_.cmdScan, c_.txtScandelay})
            if (w) w->setEnabled(true);
    }
    if (result.cut)
        dialogs::message(stationtexts::listCut(result.loaded, result.leftOut, name), dialogs::Buttons::Ok, dialogs::Icon::Information,
                         QStringLiteral("Load File"));
    return true;
}

void StationViewer::cmdQuery_Click() {
    scanPos_ = 0;
    showQueryWindow();
}

void StationViewer::search(StationQuery& query) {
    BusyCursor busy;
    if (Form* q = queryWindow(false)) q->hide();
    c_.lblProgress->setText(QStringLiteral("0"));
    c_.lblProgress->setVisible(true);
    c_.lblProcent->setVisible(true);
    setEntries({});
    int shown = -1;
    auto progress = [&](int p) {
        if (p == shown) return;
        shown = p;
        c_.lblProgress->setText(QString::number(p));
        c_.lblProgress->repaint();
    };
    store_.matchIndex = searchStations(store_, texts_.kind, query, utcNowHhmm(), progress);
    QStringList lines;
    lines.reserve(qsizetype(store_.matchIndex.size()));
    for (int i : store_.matchIndex) lines << resultLine(store_.records[size_t(i)], texts_.kind);
    setEntries(lines, true);
    c_.lblProgress->setVisible(false);
    c_.lblProcent->setVisible(false);
}

void StationViewer::showWholeResult() {
    BusyCursor busy;
    QStringList lines;
    lines.reserve(qsizetype(store_.matchIndex.size()));
    for (int i : store_.matchIndex) lines << store_.records[size_t(i)];
    setEntries(lines);
}

void StationViewer::list_Click(int row) {
    const QStringList e = entries();
    if (row < 0 || row >= e.size()) return;
    QPointer<StationViewer> self(this);
    Change2FreqA(val(e[row].left(8)));
    if (self) scanPos_ = row;
}

void StationViewer::txtFrequencyA_Enter() { Change2FreqA(val(c_.txtFrequencyA->text())); }

void StationViewer::cmdExit_Click() { unload(); }

void StationViewer::setScanButtons(bool enabled) {
    for (QWidget* w : std::initializer_list<QWidget*>{c_.cmdQuery, c_.cmdSort, c_.cmdLoad, c_.cmdExit})
        if (w) w->setEnabled(enabled);
}

void StationViewer::cmdScan_Click() {
    if (!scanOn_) {
        const float delay = float(val(c_.txtScandelay->text()));
        if (delay < 1 || delay > float(texts_.maxDelay)) {
            dialogs::message(stationtexts::scanDelayOutside(texts_.maxDelay), dialogs::Buttons::Ok,
                             dialogs::Icon::Critical, stationtexts::ErrorTitle);
            return;
        }
        tmrScan_.setInterval(int(vbRound(double(delay) * 1000)));
        setScanButtons(false);
        scanOn_ = true;
        lockoffon(1);
        tmrScan_.start();
        c_.cmdScan->setText(QStringLiteral("Stop Scan"));
    } else {
        stopScan();
    }
}

void StationViewer::stopScan() {
    if (!scanOn_) return;
    tmrScan_.stop();
    scanOn_ = false;
    lockoffon(0);
    setScanButtons(true);
    c_.cmdScan->setText(QStringLiteral("Start Scan"));
}

void StationViewer::tmrScan_Timer() {
    // A tick that comes while the last one still waits for the receiver is
    // left out, so two never talk to it at once.
    if (!scanOn_ || inTick_) return;
    inTick_ = true;
    QPointer<StationViewer> self(this);
    const ScanChoice choice = nextScanEntry(entries(), scanPos_, lastFreq_);
    if (choice.index >= 0) {
        // Entries outside the receiver's limits are passed over without a box.
        tuneQuietly(choice.kHz);
        if (self) {
            c_.list->setCurrentIndex(model_->index(choice.index));
            c_.list->scrollTo(model_->index(choice.index));
            lastFreq_ = choice.kHz;
        }
    }
    if (self) inTick_ = false;
}

} // namespace dovrane
