#include "scanning/frmspectrum.h"
#include "ui_frmspectrum.h"

#include "drivers/model_tables.h"
#include "shell/facade.h"
#include "platform/busycursor.h"
#include "platform/canvas.h"
#include "platform/dialogs.h"
#include "platform/number_text.h"
#include "platform/text_file.h"
#include "scanning/frmspectrumlimits.h"
#include "drivers/ar7030/clsar7030.h"
#include "drivers/nrd535/clsnrd535.h"
#include "drivers/nrd545/clsnrd545.h"
#include "drivers/rx320/clsrx320.h"
#include "scanning/level_sample.h"
#include "shell/file_kinds.h"
#include "shell/frmloadfile.h"
#include "shell/frmsavefile.h"
#include "shell/globals.h"
#include "shell/quiet_tune.h"
#include "shell/run_notice.h"
#include "shell/show_panel.h"

#include <QPointer>
#include <QTimer>

namespace dovrane {

namespace {

constexpr int kKind = 6;
const QColor kGreen(0, 255, 0);
const QColor kTuneButton(255, 255, 128);
const QColor kTuneActive(0, 255, 255);
const QString kInputError = QStringLiteral("Input ERROR");
const QString kErrorTitle = QStringLiteral("Error");
const QString kExitText = QStringLiteral("Do you want to save data\nfrom the Spectrum window");
const QString kStopped = QStringLiteral("The spectrum scan has stopped");
const QString kUnreadable = QStringLiteral("The file %1\ncould not be read.");
const QString kIncomplete = QStringLiteral("The file %1\nis not a complete spectrum file.");
const QString kNothingToSave = QStringLiteral("No spectrum has been scanned or loaded,\nso there is nothing to save");

void setBack(QWidget* w, const QColor& c) {
    QPalette p = w->palette();
    p.setColor(QPalette::Button, c);
    p.setColor(QPalette::Window, c);
    w->setPalette(p);
    w->setAutoFillBackground(true);
}

} // namespace

const QColor frmSpectrum::Background(255, 255, 192);
// QBColor 9, 10, 13, 12.
const std::array<QColor, 4> frmSpectrum::FileColours{QColor(0, 0, 255), QColor(0, 255, 0), QColor(255, 0, 255),
                                                     QColor(255, 0, 0)};

frmSpectrum::frmSpectrum()
    : Form(30, &SpectrumOpen), ui(std::make_unique<Ui::frmSpectrum>()),
      scan_(noticedSample(run_.sampler(), run_.notice()), noticedTune(run_.notice())) {
    ui->setupUi(this);
    lblDBname = {ui->lblDBname_0, ui->lblDBname_1, ui->lblDBname_2, ui->lblDBname_3};
    tmrSpectrum_ = new QTimer(this);
    tmrSpectrum_->setObjectName(QStringLiteral("tmrSpectrum"));
    tmrSpectrum_->setTimerType(Qt::PreciseTimer);
    connect(tmrSpectrum_, &QTimer::timeout, this, [this] { tmrSpectrum_Timer(); });
    connect(ui->cmdStart, &QPushButton::clicked, this, [this] { cmdStart_Click(); });
    connect(ui->cmdStop, &QPushButton::clicked, this, [this] { cmdStop_Click(); });
    connect(ui->cmdContinue, &QPushButton::clicked, this, [this] { cmdContinue_Click(); });
    connect(ui->cmdTunerx, &QPushButton::clicked, this, [this] { cmdTunerx_Click(); });
    connect(ui->cmdCls, &QPushButton::clicked, this, [this] { cmdCls_Click(); });
    connect(ui->cmdsaveas, &QPushButton::clicked, this, [this] { cmdsaveas_Click(); });
    connect(ui->cmdLoad, &QPushButton::clicked, this, [this] { cmdLoad_Click(); });
    connect(ui->cmdRezeri, &QPushButton::clicked, this, [this] { cmdRezeri_Click(); });
    connect(ui->cmdExit, &QPushButton::clicked, this, [this] { cmdExit_Click(); });
    ui->picSpectrum->setMouseTracking(true);
    connect(ui->picSpectrum, &Canvas::mouseMoved, this, [this](QPoint p) { graphMouseMove(p); });
    connect(ui->picSpectrum, &Canvas::mousePressed, this, [this](QPoint p, Qt::MouseButton) { graphMouseDown(p); });
}

frmSpectrum::~frmSpectrum() = default;

Canvas* frmSpectrum::canvas() const { return ui->picSpectrum; }

void frmSpectrum::Form_Load() {
    tuneMode_ = false;
    running_ = false;
    ui->picSpectrum->setBackColor(Background);
    ui->picSpectrum->setCanvasSize(640, 470);
    setBack(this, Background);
    drawFrame();
    setButtons(true, false, false, false, false, false, true, true, true);
    run_.open(true, {kKind,
                     [] {
                         frmSpectrum* w = forms::loaded<frmSpectrum>();
                         return w && w->loadspectrumfile();
                     },
                     [] {
                         frmSpectrum* w = forms::loaded<frmSpectrum>();
                         return w && w->savespectrumfile();
                     }});
}

void frmSpectrum::Form_Unload() {
    // Closing the window mid-run gives back what the run took.
    if (SpectrumlimitsOpen) forms::unload<frmSpectrumlimits>();
    run_.close([this] {
        tmrSpectrum_->stop();
        running_ = false;
        tuneMode_ = false;
        lockTuneMode(false);
    });
}

void frmSpectrum::drawFrame() {
    Canvas* c = ui->picSpectrum;
    c->clear(Background);
    const QColor black(0, 0, 0);
    c->line(69, 401, 571, 401, black);
    c->line(69, 401, 69, 136, black);
    c->line(571, 401, 571, 136, black);
    for (int i = 0; i <= 10; ++i) {
        c->line(69, 388 - 24 * i, 60, 388 - 24 * i, black);
        c->line(571, 388 - 24 * i, 580, 388 - 24 * i, black);
        c->line(70 + 50 * i, 401, 70 + 50 * i, 410, black);
    }
    const char* labels[] = {"  S1", "  S5", "  S9", "+24", "+48", "+72"};
    for (int i = 0; i < 6; ++i) c->text(35, 382 - 48 * i, QLatin1String(labels[i]), black);
}

void frmSpectrum::setButtons(bool start, bool stop, bool cont, bool tunerx, bool cls, bool saveas, bool load,
                             bool rezeri, bool exit) {
    ui->cmdStart->setEnabled(start);
    ui->cmdStop->setEnabled(stop);
    ui->cmdContinue->setEnabled(cont);
    ui->cmdTunerx->setEnabled(tunerx);
    ui->cmdCls->setEnabled(cls);
    ui->cmdsaveas->setEnabled(saveas);
    ui->cmdLoad->setEnabled(load);
    ui->cmdRezeri->setEnabled(rezeri);
    ui->cmdExit->setEnabled(exit);
}

void frmSpectrum::lockTuneMode(bool lock) {
    if (lock == tuneLocked_) return;
    lockforms(lock);
    tuneLocked_ = lock;
}

void frmSpectrum::cmdStart_Click() {
    // A receiver that does not answer the attenuator read is told of once:
    // in the run's own message, or as it is when no run comes of this Start.
    if (run_.sampler() && !run_.sampler()->beginRun()) run_.notice().failed();
    ui->cmdContinue->setEnabled(false);
    QPointer<frmSpectrum> self(this);
    frmSpectrumlimits* dlg = forms::load<frmSpectrumlimits>();
    if (dlg && dlg->isLoaded()) dlg->showModal();
    if (self && !running_) run_.notice().release();
}

bool frmSpectrum::applyLimits(const std::array<QString, 4>& texts, bool loop, bool keepHighest) {
    const SpectrumLimits lim{val(texts[0]), val(texts[1]), val(texts[2])};
    // Checked before anything is cleared: a refused OK leaves the scan, its
    // values and its graph as they were.
    if (!lim.valid(FreqMin, FreqMax)) {
        dialogs::message(kInputError, dialogs::Buttons::Ok, dialogs::Icon::Exclamation, kErrorTitle);
        return false;
    }
    ui->lblTimedate->setText(UtcTimeText + QStringLiteral(" UTC"));
    scan_.setup(lim, loop, keepHighest);
    scan_.setDelay(double(float(val(texts[3]))));
    ui->picSpectrum->fillBox(70, 400, 570, 130, Background);
    for (QLabel* l : lblDBname) l->clear();
    ui->lblFreqlow->setText(texts[0]);
    ui->lblFreqhigh->setText(texts[1]);
    ui->lblFreqstep->setText(QStringLiteral("Step: ") + texts[2] + QStringLiteral(" kHz"));
    return true;
}

void frmSpectrum::preparespectrumscan() {
    // Limits a refused OK left behind are never scanned.
    if (!scan_.limits().valid(FreqMin, FreqMax)) return;
    if (!scan_.loop()) {
        ui->lblKeepgoing->setText(QStringLiteral("Single run"));
    } else {
        ui->lblKeepgoing->setText(QStringLiteral("Continuous loop"));
        ui->lblKeephighest->setText(scan_.keepHighest() ? QStringLiteral("Highest measured value")
                                                        : QStringLiteral("Latest mesured value"));
    }
    setButtons(false, true, false, false, false, false, false, false, false);
    if (!run_.active()) run_.begin();
    running_ = true;
    // Every run dwells as its scan says, whether OK, "Continue" or a run
    // resumed over a loaded file started it.
    tmrSpectrum_->setInterval(scan_.delayMs());
    tmrSpectrum_->start();
    scan_.begin();
}

void frmSpectrum::tmrSpectrum_Timer() {
    if (!running_) return;
    QPointer<frmSpectrum> self(this);
    const SpectrumScan::Tick t = run_.onRunDevice([this] { return scan_.tick(); });
    if (!self || !isLoaded() || !running_) return;
    Canvas* c = ui->picSpectrum;
    if (t.measured) {
        const int x = spectrumX(t.freq, scan_.limits());
        const int y = spectrumY(t.level);
        c->fillBox(68, 125, 572, 134, Background);
        c->fillBox(x - 1, 125, x + 1, 134, kGreen);
        if (!scan_.keepHighest()) c->line(x, 400, x, 136, Background);
        c->line(x, 400, x, y, Qt::black);
    }
    if (t.failed) {
        // One message, after the tick, that names the receiver and the scan.
        run_.stopWith([this] { stopControls(); }, kStopped, QStringLiteral("Spectrum"));
        return;
    }
    if (t.finished) {
        // A single run has measured its last step.
        run_.stop([this] {
            tmrSpectrum_->stop();
            running_ = false;
            setButtons(true, true, false, true, true, true, true, true, false);
        });
        return;
    }
    if (t.wrapped) ui->lblTimedate->setText(UtcTimeText + QStringLiteral(" UTC"));
    ui->lblFreq->setText(numText(t.next));
}

void frmSpectrum::stopControls() {
    tmrSpectrum_->stop();
    running_ = false;
    tuneMode_ = false;
    lockTuneMode(false);
    ui->lblFreq1->clear();
    setButtons(true, true, scan_.continueAllowed() && scan_.limits().valid(FreqMin, FreqMax), true, true, true, true,
               true, true);
    setBack(ui->cmdTunerx, kTuneButton);
}

void frmSpectrum::cmdStop_Click() {
    // Stop, then tell: a notice the run held comes up over a stopped window.
    run_.stop([this] { stopControls(); });
}

void frmSpectrum::cmdContinue_Click() {
    ui->lblTimedate->setText(UtcTimeText + QStringLiteral("UTC"));
    preparespectrumscan();
}

void frmSpectrum::cmdTunerx_Click() {
    tuneMode_ = true;
    setBack(ui->cmdTunerx, kTuneActive);
    lockTuneMode(true);
    setButtons(false, true, false, false, false, false, false, false, false);
}

void frmSpectrum::graphMouseMove(QPoint at) {
    const int X = at.x(), Y = at.y();
    if (tuneMode_ && scan_.limits().valid(FreqMin, FreqMax) && X >= 70 && X <= 570 && Y >= 136 && Y <= 400)
        ui->lblFreq1->setText(numText(spectrumMouseFreq(X, scan_.limits())));
    else
        ui->lblFreq1->clear();
}

void frmSpectrum::graphMouseDown(QPoint at) {
    const int X = at.x(), Y = at.y();
    if (!tuneMode_ || !scan_.limits().valid(FreqMin, FreqMax) || !(X > 70 && X < 570 && Y > 130 && Y < 400)) return;
    const double f = spectrumClickFreq(X, scan_.limits());
    ui->lblFreq->setText(numText(f));
    Canvas* c = ui->picSpectrum;
    c->fillBox(70, 440, 570, 450, Background);
    c->fillBox(X - 1, 440, X + 1, 450, kGreen);
    Change2FreqA(f);
}

void frmSpectrum::cmdCls_Click() {
    ui->picSpectrum->fillBox(70, 400, 570, 120, Background);
    for (QLabel* l : lblDBname) l->clear();
    for (QLabel* l : {ui->lblTimedate, ui->lblKeepgoing, ui->lblKeephighest, ui->lblFreqlow, ui->lblFreqhigh,
                      ui->lblFreq, ui->lblFreq1})
        l->clear();
    ui->lblFreqstep->setText(QStringLiteral("Step:  kHz"));
}

void frmSpectrum::cmdsaveas_Click() {
    // A file of limits the loader refuses is no spectrum: none is written.
    if (!scan_.limits().valid(FreqMin, FreqMax)) {
        dialogs::message(kNothingToSave, dialogs::Buttons::Ok, dialogs::Icon::Exclamation, QStringLiteral("Save As"));
        return;
    }
    showSaveChooser(kKind);
}

void frmSpectrum::cmdLoad_Click() { showLoadChooser(kKind); }

void frmSpectrum::cmdRezeri_Click() { showCurrentPanel(); }

void frmSpectrum::cmdExit_Click() {
    switch (dialogs::message(kExitText, dialogs::Buttons::YesNoCancel, dialogs::Icon::Question,
                             QStringLiteral("Exit"))) {
    case dialogs::Answer::Yes: cmdsaveas_Click(); break;
    case dialogs::Answer::No: unload(); break;
    default: break;
    }
}

bool frmSpectrum::savespectrumfile() {
    if (!scan_.limits().valid(FreqMin, FreqMax)) return false;
    BusyCursor busy;
    SpectrumFile f;
    f.title = ui->lblTimedate->text();
    f.limits = scan_.limits();
    // Only the steps measured; a fresh scan writes its first value.
    f.last = std::max(scan_.measuredTop(), 0);
    f.values = scan_.values();
    QString error;
    if (!writeLines(FileKindPath[kKind] + FileKindName[kKind], spectrumFileLines(f), &error)) return false;
    return true;
}

bool frmSpectrum::loadspectrumfile() {
    const QString path = FileKindPath[kKind] + FileKindName[kKind];
    SpectrumReadError err = SpectrumReadError::None;
    std::optional<SpectrumFile> f;
    {
        BusyCursor busy;
        f = readSpectrumFile(path, &err);
    }
    if (!f) {
        dialogs::message((err == SpectrumReadError::Unreadable ? kUnreadable : kIncomplete).arg(FileKindName[kKind]),
                         dialogs::Buttons::Ok, dialogs::Icon::Exclamation, kErrorTitle);
        return false;
    }
    if (!f->limits.valid(FreqMin, FreqMax)) {
        // Limits that cannot be drawn are not drawn, and a file refused
        // takes neither a name label nor a colour from the files drawn.
        dialogs::message(kInputError, dialogs::Buttons::Ok, dialogs::Icon::Exclamation, kErrorTitle);
        return false;
    }
    SpecFileSlot = SpecFileSlot % 4 + 1;
    const QColor colour = FileColours[size_t(SpecFileSlot - 1)];
    QLabel* label = lblDBname[size_t(SpecFileSlot - 1)];
    QPalette p = label->palette();
    p.setColor(QPalette::WindowText, colour);
    label->setPalette(p);
    QString name = FileKindName[kKind];
    if (name.size() > 8) name = name.mid(4, name.size() - 8);
    label->setText(name + QStringLiteral("   ") + f->title);
    ui->lblFreqlow->setText(numText(f->limits.lower));
    ui->lblFreqhigh->setText(numText(f->limits.upper));
    ui->lblFreqstep->setText(QStringLiteral("Step: ") + numText(f->limits.step) + QStringLiteral(" kHz"));
    // The loaded file becomes the present data, so "Save As" writes it whole.
    scan_.adopt(f->limits, f->values, f->last);
    ui->lblTimedate->setText(f->title);
    Canvas* c = ui->picSpectrum;
    int px = 70, py = 400;
    for (int i = 0; i <= f->last; ++i) {
        const int x = spectrumX(f->limits.freqOf(i), f->limits);
        const int y = spectrumY(f->values[size_t(i)]);
        if (x >= 70 && x <= 570) c->line(px, py, x, y, colour);
        px = x;
        py = y;
    }
    setButtons(true, true, false, true, true, true, true, true, ui->cmdExit->isEnabled());
    return true;
}

} // namespace dovrane
