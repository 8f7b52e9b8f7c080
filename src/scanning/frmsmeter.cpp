#include "scanning/frmsmeter.h"
#include "ui_frmsmeter.h"

// level_sample.h keeps the driver objects behind forward declarations.
#include "drivers/ar7030/clsar7030.h"
#include "drivers/nrd535/clsnrd535.h"
#include "drivers/nrd545/clsnrd545.h"
#include "drivers/rx320/clsrx320.h"
#include "platform/canvas.h"
#include "scanning/level_sample.h"
#include "shell/globals.h"
#include "shell/run_notice.h"
#include "shell/unloadallforms.h"

#include <QPointer>
#include <QTimer>
#include <cmath>

namespace dovrane {

namespace {
constexpr int kIntervalMs = 1000;
const QString kStopped = QStringLiteral("The S meter has stopped");
const QString kTitle = QStringLiteral("S meter");
int stripX(float level) { return int(std::lround(10.0 * (double(level) - 1))); }
} // namespace

frmSmeter::frmSmeter() : Form(29, &SmeterOpen), ui(std::make_unique<Ui::frmSmeter>()) {
    ui->setupUi(this);
    registerWindow(&SmeterOpen, this);
    timer_ = new QTimer(this);
    timer_->setObjectName(QStringLiteral("tmrSmeter"));
    timer_->setInterval(kIntervalMs);
    timer_->setTimerType(Qt::PreciseTimer);
    connect(timer_, &QTimer::timeout, this, [this] { tmrSmeter_Timer(); });
    connect(ui->cmdStart, &QPushButton::clicked, this, [this] { cmdStart_Click(); });
    connect(ui->cmdStop, &QPushButton::clicked, this, [this] { cmdStop_Click(); });
    connect(ui->cmdCls, &QPushButton::clicked, this, [this] { cmdCls_Click(); });
    connect(ui->cmdExit, &QPushButton::clicked, this, [this] { cmdExit_Click(); });
    ui->picSurface->setBackColor(WindowBack);
    ui->picSmeter->setBackColor(PictureBack);
    ui->picShistogram->setBackColor(PictureBack);
    ui->picSurface->setCanvasSize(240, 188);
    ui->picSmeter->setCanvasSize(201, 17);
    ui->picShistogram->setCanvasSize(217, 65);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, WindowBack);
    setPalette(pal);
    for (QLabel* l : {ui->lbl_sinpo_0, ui->lbl_sinpo_2, ui->lbl_sinpo_4}) {
        QPalette p = l->palette();
        p.setColor(QPalette::Window, Zone);
        l->setPalette(p);
        l->setAutoFillBackground(true);
    }
}

frmSmeter::~frmSmeter() = default;

Canvas* frmSmeter::picSmeter() const { return ui->picSmeter; }
Canvas* frmSmeter::picShistogram() const { return ui->picShistogram; }
Canvas* frmSmeter::surface() const { return ui->picSurface; }

void frmSmeter::Form_Load() {
    ui->picSmeter->clear();
    ui->picShistogram->clear();
    drawScale();
    run_.open(true);
    prev_ = cur_ = 9;
}

void frmSmeter::Form_Unload() {
    // Closed by its frame during a run: the run's panel changes are given
    // back as Stop gives them back.
    run_.close([this] { stopControls(); });
}

void frmSmeter::drawScale() {
    Canvas* c = ui->picSurface;
    c->clear(WindowBack);
    c->line(16, 104, 216, 104, Scale);
    for (int i = 0; i <= 20; ++i) {
        c->line(16 + 10 * i, 104, 16 + 10 * i, 96, Scale);
        c->line(16 + 10 * i, 79, 16 + 10 * i, 71, Scale);
    }
    for (int j = 0; j <= 5; ++j) c->line(16 + 40 * j, 104, 16 + 40 * j, 112, Scale);
    c->fillBox(16, 130, 36, 148, Zone);
    c->fillBox(66, 130, 96, 148, Zone);
    c->fillBox(146, 130, 216, 148, Zone);
    c->line(16, 130, 216, 130, Scale);
    c->line(216, 130, 216, 148, Scale);
    c->line(216, 148, 16, 148, Scale);
    c->line(16, 148, 16, 130, Scale);
}

void frmSmeter::drawBin(int b) {
    const int n = histogram_.count(b);
    if (n > 0) ui->picShistogram->fillBox(10 * b - 4, 63, 10 * b, 63 - n, Bar);
}

void frmSmeter::cmdStart_Click() {
    histogram_.clear();
    // Bars of an earlier run would stand taller than the new counts.
    ui->picShistogram->clear();
    for (QPushButton* b : {ui->cmdExit, ui->cmdCls, ui->cmdStart}) b->setEnabled(false);
    // A receiver that does not answer here is told of once, with the run.
    if (!run_.sampler()->beginRun()) run_.notice().failed();
    run_.begin();
    running_ = true;
    timer_->start();
}

void frmSmeter::stopControls() {
    running_ = false;
    timer_->stop();
    for (QPushButton* b : {ui->cmdExit, ui->cmdCls, ui->cmdStart}) b->setEnabled(true);
}

void frmSmeter::cmdStop_Click() {
    // Stop, then tell: a notice the run held comes up over a stopped window.
    run_.stop([this] { stopControls(); });
}

void frmSmeter::cmdCls_Click() {
    histogram_.clear();
    ui->picShistogram->fillBox(0, 0, 217, 65, PictureBack);
    ui->picSmeter->fillBox(0, 0, 201, 17, PictureBack);
}

void frmSmeter::cmdExit_Click() { unload(); }

void frmSmeter::tmrSmeter_Timer() {
    if (inTick_ || !running_ || !run_.sampler()) return;
    inTick_ = true;
    timer_->stop();
    QPointer<frmSmeter> self(this);
    float level = cur_;
    if (RxType != 0) {
        const std::optional<float> sample = run_.onRunDevice([this] { return run_.sampler()->sample(); });
        if (!self) return;
        inTick_ = false;
        if (!running_ || !isLoaded()) return;
        if (!sample) {
            // A reading the receiver did not give is neither shown nor counted.
            if (run_.failed()) {
                // One message, after the tick, that names the receiver and the recorder.
                run_.stopWith([this] { stopControls(); }, kStopped, kTitle);
            } else {
                timer_->start();
            }
            return;
        }
        run_.answered();
        level = *sample;
    }
    inTick_ = false;
    prev_ = cur_;
    cur_ = SmeterHistogram::clampLevel(level);
    Canvas* strip = ui->picSmeter;
    strip->fillBox(stripX(prev_), 2, stripX(prev_) + 1, 12, PictureBack);
    strip->fillBox(stripX(cur_), 2, stripX(cur_) + 1, 12, Bar);
    const SmeterHistogram::Change change = histogram_.add(cur_);
    if (change.lost) {
        ui->picShistogram->fillBox(10 * change.lost - 4, 63, 10 * change.lost, 0, PictureBack);
        drawBin(change.lost);
    }
    if (change.gained) drawBin(change.gained);
    timer_->start();
}

} // namespace dovrane
