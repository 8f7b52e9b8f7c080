#include "stations/frmtracking.h"
#include "ui_frmtracking.h"

#include "drivers/ar7030/clsar7030.h"
#include "drivers/model_tables.h"
#include "drivers/nrd535/clsnrd535.h"
#include "drivers/nrd545/clsnrd545.h"
#include "drivers/rx_link.h"
#include "lists/grid_columns.h"
#include "panels/panel_lock.h"
#include "platform/busycursor.h"
#include "platform/commport.h"
#include "platform/dialogs.h"
#include "platform/number_text.h"
#include "shell/dial_reports.h"
#include "shell/facade.h"
#include "shell/frmloadfile.h"
#include "shell/globals.h"
#include "shell/unloadallforms.h"
#include "stations/station_query.h"
#include "stations/station_record.h"
#include "stations/station_texts.h"
#include "platform/text_file.h"

#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QLineEdit>
#include <QPointer>
#include <cmath>

namespace dovrane {

namespace {

const QColor kOff{255, 255, 192};      // &HC0FFFF
const QColor kOnAir{255, 255, 0};      // &HFFFF
const QColor kAimed{0, 255, 0};        // &HFF00

QColor colourOf(TrackColour c) {
    switch (c) {
    case TrackColour::OnAir: return kOnAir;
    case TrackColour::Aimed: return kAimed;
    default: return kOff;
    }
}

} // namespace

frmTracking::frmTracking() : Form(32, &TrackingOpen), ui(std::make_unique<Ui::frmTracking>()) {
    ui->setupUi(this);
    // The followed frequency as the panels write it, to the hertz, and a
    // step as fine as the panels' finest, stay whole however narrow the
    // window is made.
    holdTextBoxWidth(ui->txtFrequencyA, QStringLiteral("00000.000"));
    holdTextBoxWidth(ui->txtFreqstep, QStringLiteral("0.000"));
    registerWindow(&TrackingOpen, this);
    lblBingo = {ui->lblBingo_0,  ui->lblBingo_1,  ui->lblBingo_2,  ui->lblBingo_3,  ui->lblBingo_4,
                ui->lblBingo_5,  ui->lblBingo_6,  ui->lblBingo_7,  ui->lblBingo_8,  ui->lblBingo_9,
                ui->lblBingo_10, ui->lblBingo_11, ui->lblBingo_12, ui->lblBingo_13, ui->lblBingo_14,
                ui->lblBingo_15, ui->lblBingo_16, ui->lblBingo_17, ui->lblBingo_18, ui->lblBingo_19,
                ui->lblBingo_20, ui->lblBingo_21, ui->lblBingo_22, ui->lblBingo_23, ui->lblBingo_24};
    cmdShow = {ui->cmdShow_0, ui->cmdShow_1, ui->cmdShow_2, ui->cmdShow_3, ui->cmdShow_4, ui->cmdShow_5, ui->cmdShow_6};
    optMousedial = {ui->optMousedial_0, ui->optMousedial_1};
    optHitsall = {ui->optHitsall_0, ui->optHitsall_1};
    optAlternates = {ui->optAlternates_0, ui->optAlternates_1, ui->optAlternates_2, ui->optAlternates_3};

    for (int r = 0; r < int(lblBingo.size()); ++r)
        connect(static_cast<ClickableLabel*>(lblBingo[size_t(r)]), &ClickableLabel::clicked, this,
                [this, r] { lblBingo_Click(r); });
    for (int p = 0; p < int(cmdShow.size()); ++p)
        connect(cmdShow[size_t(p)], &QPushButton::clicked, this, [this, p] { cmdShow_Click(p); });
    for (int i = 0; i < 2; ++i)
        connect(optMousedial[size_t(i)], &QRadioButton::toggled, this, [this, i](bool on) {
            if (on) optMousedial_Click(i);
        });
    auto regather = [this](bool on) {
        if (on) gather(hitsSelected());
    };
    for (QRadioButton* b : optHitsall) connect(b, &QRadioButton::toggled, this, regather);
    for (QRadioButton* b : optAlternates) connect(b, &QRadioButton::toggled, this, regather);
    connect(ui->spnFreqstep, &SpinButton::SpinDown, this, [this] { spnFreqstep_SpinDown(); });
    connect(ui->spnFreqstep, &SpinButton::SpinUp, this, [this] { spnFreqstep_SpinUp(); });
    connect(ui->cmdLoad, &QPushButton::clicked, this, [this] { cmdLoad_Click(); });
    connect(ui->cmdExit, &QPushButton::clicked, this, [this] { cmdExit_Click(); });
    connect(ui->txtFrequencyA, &QLineEdit::returnPressed, this, [this] { txtFrequencyA_Enter(); });
    ui->txtFrequencyA->installEventFilter(this);
    tmrDial7030_.setParent(this);
    tmrDial7030_.setInterval(250);
    connect(&tmrDial7030_, &QTimer::timeout, this, [this] { tmrDial7030_Timer(); });
}

// Destroyed in Dial mode (the program ends without the window closing first):
// the receiver stops its reports and is let go all the same.
frmTracking::~frmTracking() { leaveDial(); }

void frmTracking::Form_Load() {
    if (RxType == int(RxModel::Ar7030) && Comm1) ar7030_ = std::make_unique<clsAR7030>(*Comm1);
    if (RxType == int(RxModel::Nrd535) && Comm1) nrd_ = new clsNRD535(*Comm1, Comm1);
    if (RxType == int(RxModel::Nrd545) && Comm1) nrd_ = new clsNRD545(*Comm1, Comm1);
    tmrDial7030_.stop();
    setStepControlsVisible(true);
    ui->spnFreqstep->setEnabled(false);
    for (QWidget* w : std::initializer_list<QWidget*>{ui->fraMousedial, ui->fraAlternates, ui->fraHitsall})
        w->setEnabled(false);
    blankRows();
    updatetrackingHandler = [] {
        if (frmTracking* t = forms::loaded<frmTracking>()) t->updatetracking();
    };
    Update4RxFreq();
}

void frmTracking::Form_Unload() {
    // The close box cleans up as Exit does: the receiver stops its reports
    // and is let go, and nothing calls into this window any more.
    leaveDial();
    tmrDial7030_.stop();
    TrackingActive = false;
    updatetrackingHandler = nullptr;
    ar7030_.reset();
    delete nrd_.data();
    records_.clear();
    shown_.clear();
}

bool frmTracking::eventFilter(QObject* watched, QEvent* event) {
    if (watched == ui->txtFrequencyA && event->type() == QEvent::MouseButtonDblClick) {
        ui->txtFrequencyA->clear();
        return true;
    }
    return Form::eventFilter(watched, event);
}

bool frmTracking::hitsSelected() const { return optHitsall[0]->isChecked(); }

TrackAlternate frmTracking::alternate() const {
    for (int i = 0; i < 4; ++i)
        if (optAlternates[size_t(i)]->isChecked()) return TrackAlternate(i);
    return TrackAlternate::LatLon;
}

void frmTracking::setStepControlsVisible(bool on) {
    ui->lblFreqstep->setVisible(on);
    ui->txtFreqstep->setVisible(on);
    ui->spnFreqstep->setVisible(on);
}

void frmTracking::blankRows() {
    for (QLabel* l : lblBingo) {
        setBackground(l, kOff);
        if (!l->text().isEmpty()) l->clear();
    }
}

void frmTracking::cmdLoad_Click() { showLoadChooser(5); }

bool frmTracking::loadtrackingfile() {
    const QString name = FileKindName[5];
    const StationLoad result = loadList(name);
    // Told once the busy pointer is gone, as the viewers tell it. A file
    // that cannot be read leaves the list that is tracked as it was.
    if (!result.read)
        dialogs::message(QStringLiteral("The file %1 could not be read.").arg(name), dialogs::Buttons::Ok,
                         dialogs::Icon::Exclamation, QStringLiteral("Load File"));
    else if (result.cut)
        dialogs::message(stationtexts::listCut(result.loaded, result.leftOut, name), dialogs::Buttons::Ok,
                         dialogs::Icon::Information, QStringLiteral("Load File"));
    return result.read;
}

StationLoad frmTracking::loadList(const QString& name) {
    BusyCursor busy;
    StationStore store;
    const StationLoad result = loadStationList(QDir(FileKindPath[5]).filePath(name), stationListCapacity(), store);
    if (!result.read) return result;
    records_.clear();
    setWindowTitle(QStringLiteral("Tracking"));
    blankRows();
    ui->lblCatchrange->hide();
    ui->txtCatchrange->hide();

    records_ = std::move(store.records);
    TrackFreq = val(ui->txtFrequencyA->text());
    updatetracking();

    ui->lblCatchrange->show();
    ui->txtCatchrange->show();
    ui->spnFreqstep->setEnabled(true);
    for (QWidget* w : std::initializer_list<QWidget*>{ui->fraMousedial, ui->fraAlternates, ui->fraHitsall})
        w->setEnabled(true);

    const QString upper = name.toUpper();
    // Both aero lists carry neither times nor positions, so they get the
    // aero choices alike.
    if (upper.startsWith(QLatin1String("AERO")) && upper.endsWith(QLatin1String(".FTL"))) {
        ui->txtFreqstep->setText(QStringLiteral("3"));
        optHitsall[1]->setChecked(true);
        ui->fraHitsall->setEnabled(false);
        optAlternates[0]->setChecked(true);
        ui->fraAlternates->setEnabled(false);
    } else if (upper == QLatin1String("ILGSDATA.FTL") || upper == QLatin1String("ILGADATA.FTL")) {
        ui->txtFreqstep->setText(upper == QLatin1String("ILGSDATA.FTL") ? QStringLiteral("5") : QStringLiteral("9"));
        ui->fraHitsall->setEnabled(true);
        optHitsall[0]->setChecked(true);
        ui->fraAlternates->setEnabled(true);
        optAlternates[1]->setChecked(true);
    }
    optMousedial[0]->setChecked(true);
    setStepControlsVisible(true);
    TrackingActive = true;
    return result;
}

void frmTracking::updatetracking() {
    trackIndex_ = trackLookup(records_, TrackFreq);
    if (trackIndex_ < 0) return;
    blankRows();
    gather(hitsSelected());
}

void frmTracking::filltrackinghits() { gather(true); }
void frmTracking::filltrackingall() { gather(false); }
void frmTracking::filltrackingalthits(int page) { showPage(page, true); }
void frmTracking::filltrackingaltall(int page) { showPage(page, false); }

void frmTracking::gather(bool hits) {
    shown_.clear();
    for (QPushButton* b : cmdShow) {
        b->setEnabled(false);
        b->setText(QString());
    }
    if (trackIndex_ < 0) return;
    QString c = ui->txtCatchrange->text();
    c.replace(QLatin1Char(','), QLatin1Char('.'));
    shown_ = gatherTracking(records_, trackIndex_, TrackFreq, val(c), hits, utcNowHhmm());
    const int pages = trackingPages(int(shown_.size()));
    for (int p = 0; p < pages; ++p) {
        cmdShow[size_t(p)]->setEnabled(true);
        cmdShow[size_t(p)]->setText(QString::number(p + 1));
    }
    showPage(0, hits);
}

void frmTracking::showPage(int page, bool hits) {
    const int now = utcNowHhmm();
    const int area = int(vbRound(double(Settings[2])));
    for (int r = 0; r < int(lblBingo.size()); ++r) {
        const TrackRow row = trackingRow(shown_, page, r, hits, alternate(), now, area, RxLatitude, RxLongitude);
        QLabel* l = lblBingo[size_t(r)];
        setBackground(l, colourOf(row.colour));
        if (l->text() != row.text) l->setText(row.text);
    }
}

void frmTracking::cmdShow_Click(int index) { showPage(index, hitsSelected()); }

void frmTracking::step(bool up) {
    ui->spnFreqstep->setEnabled(false);
    QPointer<frmTracking> self(this);
    const double stepHz = vbRound(val(ui->txtFreqstep->text()) * 1000);
    const double fHz = vbInt(val(ui->txtFrequencyA->text()) * 1000 + 0.49);
    double f = (up ? fHz + stepHz : fHz - stepHz) / 1000;
    if (!up && f < FreqMin) f = FreqMin;
    if (up && f > FreqMax) f = FreqMax;
    Change2FreqA(f);
    if (self) ui->spnFreqstep->setEnabled(true);
}

void frmTracking::spnFreqstep_SpinDown() { step(false); }
void frmTracking::spnFreqstep_SpinUp() { step(true); }

void frmTracking::txtFrequencyA_Enter() { Change2FreqA(val(ui->txtFrequencyA->text())); }

void frmTracking::optMousedial_Click(int index) {
    QPointer<frmTracking> self(this);
    if (index == 1) {
        const bool answered = Update2RxFreq().has_value();
        if (!self) return;
        switch (RxModel(RxType)) {
        case RxModel::Ar7030:
            // A receiver that does not answer now would stall every tick.
            if (!answered) return dialFailed();
            dialRx_ = RxType;
            tmrDial7030_.start();
            break;
        case RxModel::Nrd535:
        case RxModel::Nrd545:
            if (!answered) return dialFailed();
            dialRx_ = RxType;
            lockoffon(1);
            if (!self) return;
            // A failed write counts as any driver's does: the user is told once.
            if (!nrd_ || !nrd_->DialReports(1)) return dialFailed();
            // Followed at once, or once a load or an RTTY run that has the
            // receiver's input to itself is over.
            dialreports::setWanted(true);
            break;
        default:
            break;
        }
        setStepControlsVisible(false);
        TrackFreq = val(ui->txtFrequencyA->text());
        updatetracking();
    } else {
        leaveDial();
        setStepControlsVisible(true);
    }
}

void frmTracking::leaveDial() {
    const int rx = dialRx_;
    dialRx_ = 0;
    if (rx == int(RxModel::Ar7030)) {
        tmrDial7030_.stop();
    } else if (rx == int(RxModel::Nrd535) || rx == int(RxModel::Nrd545)) {
        dialreports::setWanted(false);
        if (nrd_) nrd_->DialReports(0);
        lockoffon(0);
    }
}

void frmTracking::dialFailed() {
    // One box for the fault: the receiver's own notice, taken over, with the
    // end of Dial mode added. It comes after the tick or click that met the
    // fault. With no notice waiting the fault was told before.
    const std::optional<QString> device = takeRxNotice();
    if (optMousedial[0]->isChecked()) leaveDial();
    else optMousedial[0]->setChecked(true);   // runs the Mouse step, which leaves Dial
    if (device)
        QTimer::singleShot(0, this, [text = rxNoticeText(*device) + QStringLiteral("\n\n") + stationtexts::BackToMouse] {
            dialogs::message(text, dialogs::Buttons::Ok, dialogs::Icon::Exclamation, QStringLiteral("Error"));
        });
}

void frmTracking::cmdExit_Click() {
    leaveDial();
    records_.clear();
    unload();
}

void frmTracking::tmrDial7030_Timer() {
    // A tick that comes while the last read still waits is left out.
    if (inTick_ || !ar7030_) return;
    inTick_ = true;
    QPointer<frmTracking> self(this);
    Form* panel = windowFor(&AR7030Open);
    if (panel) panel->setEnabled(false);
    const double old = TrackFreq;
    const std::optional<double> f = ar7030_->FrequencyA();
    if (panel && windowFor(&AR7030Open) == panel) panel->setEnabled(true);
    if (!self) return;
    if (!f) {
        inTick_ = false;
        dialFailed();
        return;
    }
    if (*f != old) {
        TrackFreq = *f;
        // The panel's handler shows it everywhere and, with a list loaded,
        // runs the lookup itself.
        if (PanelHandlers* p = openPanel()) p->frequencyAChanged(*f);
        else dovrane::updatetracking();
    }
    if (self) inTick_ = false;
}

void frmTracking::lblBingo_Click(int index) {
    if (!LoginputOpen) return;
    Form* log = windowFor(&LoginputOpen);
    if (!log) return;
    const QString line = lblBingo[size_t(index)]->text();
    // A blank row or the separator holds no station.
    if (line.trimmed().isEmpty() || line.startsWith(QLatin1Char('='))) return;
    const std::pair<const char*, QString> boxes[] = {{"txtLoginput_5", line.mid(51, 3)},
                                                     {"txtLoginput_6", line.mid(19, 20)},
                                                     {"txtLoginput_7", line.mid(77, 12)}};
    for (const auto& [name, text] : boxes)
        if (QWidget* box = log->findChild<QWidget*>(QLatin1String(name))) box->setProperty("text", text);
}

bool loadtrackingfile() {
    frmTracking* t = forms::loaded<frmTracking>();
    return t && t->loadtrackingfile();
}

} // namespace dovrane
