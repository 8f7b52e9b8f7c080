#include "scanning/frmsmeter.h"
#include "ui_frmsmeter.h"

#include "platform/canvas.h"
#include "platform/dialogs.h"
#include "platform/number_text.h"
#include "drivers/ar7030/clsar7030.h"
#include "drivers/nrd535/clsnrd535.h"
#include "drivers/nrd545/clsnrd545.h"
#include "drivers/rx320/clsrx320.h"
#include "scanning/level_sample.h"
#include "shell/globals.h"
#include "shell/show_panel.h"

#include <QPointer>
#include <QTimer>

namespace dovrane {

namespace {

const QColor kWindowBack(255, 255, 192);
const QColor kScale(0, 255, 0);
const QColor kZone(255, 255, 0);
const QString kNoAnswer = QStringLiteral("The receiver does not answer\nThe S meter has stopped");

void setBack(QWidget* w, const QColor& c) {
    QPalette p = w->palette();
    p.setColor(QPalette::Window, c);
    w->setPalette(p);
    w->setAutoFillBackground(true);
}

int markerX(float level) { return int(vbRound(10.0 * (double(level) - 1))); }

} // namespace

const QColor frmSmeter::Erase(255, 255, 127);
const QColor frmSmeter::Bar(0, 192, 0);

frmSmeter::frmSmeter() : Form(29, &SmeterOpen), ui(std::make_unique<Ui::frmSmeter>()) {
    ui->setupUi(this);
    tmrSmeter_ = new QTimer(this);
    tmrSmeter_->setObjectName(QStringLiteral("tmrSmeter"));
    tmrSmeter_->setTimerType(Qt::PreciseTimer);
    tmrSmeter_->setInterval(1000);
    connect(tmrSmeter_, &QTimer::timeout, this, [this] { tmrSmeter_Timer(); });
    connect(ui->cmdStart, &QPushButton::clicked, this, [this] { cmdStart_Click(); });
    connect(ui->cmdStop, &QPushButton::clicked, this, [this] { cmdStop_Click(); });
    connect(ui->cmdCls, &QPushButton::clicked, this, [this] { cmdCls_Click(); });
    connect(ui->cmdExit, &QPushButton::clicked, this, [this] { cmdExit_Click(); });
    // "1", "3" and "5" stand on the zone colour, "2" and "4" on the window's.
    for (int i = 0; i < 5; ++i)
        setBack(findChild<QWidget*>(QStringLiteral("lbl_sinpo_%1").arg(i)), i % 2 == 0 ? kZone : kWindowBack);
}

frmSmeter::~frmSmeter() = default;

Canvas* frmSmeter::marker() const { return ui->picSmeter; }
Canvas* frmSmeter::histogramPicture() const { return ui->picShistogram; }

void frmSmeter::Form_Load() {
    ui->picScale->setBackColor(kWindowBack);
    ui->picScale->setCanvasSize(232, 200);
    ui->picSmeter->setCanvasSize(201, 17);
    ui->picShistogram->setCanvasSize(217, 65);
    ui->picSmeter->setBackColor(Erase);
    ui->picShistogram->setBackColor(Erase);
    ui->picSmeter->clear(Erase);
    ui->picShistogram->clear(Erase);
    drawScale();
    sampler_ = std::make_unique<LevelSampler>();
    interlock_ = std::make_unique<MeasurementInterlock>(MeasurementTool::Smeter);
    hist_ = SmeterHistogram();
}

void frmSmeter::Form_Unload() {
    // A close mid-run gives back the attenuator frame and the receiver.
    tmrSmeter_->stop();
    running_ = false;
    run_.end();
    sampler_.reset();
    interlock_.reset();
}

void frmSmeter::drawScale() {
    Canvas* c = ui->picScale;
    c->clear(kWindowBack);
    c->line(16, 104, 216, 104, kScale);
    for (int i = 0; i <= 20; ++i) {
        c->line(16 + 10 * i, 104, 16 + 10 * i, 96, kScale);
        c->line(16 + 10 * i, 79, 16 + 10 * i, 71, kScale);
    }
    for (int j = 0; j <= 5; ++j) c->line(16 + 40 * j, 104, 16 + 40 * j, 112, kScale);
    c->fillBox(16, 130, 36, 148, kZone);
    c->fillBox(66, 130, 96, 148, kZone);
    c->fillBox(146, 130, 216, 148, kZone);
    c->line(16, 130, 216, 130, kScale);
    c->line(216, 130, 216, 148, kScale);
    c->line(216, 148, 16, 148, kScale);
    c->line(16, 148, 16, 130, kScale);
}

void frmSmeter::cmdStart_Click() {
    hist_.clearCounts();
    // Old bars would stand above counts that start again from zero.
    ui->picShistogram->clear(Erase);
    for (QPushButton* b : {ui->cmdExit, ui->cmdCls, ui->cmdStart}) b->setEnabled(false);
    if (sampler_) sampler_->beginRun();
    run_.begin();
    failures_ = 0;
    running_ = true;
    tmrSmeter_->start();
}

void frmSmeter::drawBin(int b) {
    Canvas* c = ui->picShistogram;
    c->fillBox(10 * b - 4, 63, 10 * b, 0, Erase);
    if (hist_.count(b) > 0) c->fillBox(10 * b - 4, 63, 10 * b, 63 - hist_.count(b), Bar);
}

void frmSmeter::tmrSmeter_Timer() {
    if (!running_) return;
    QPointer<frmSmeter> self(this);
    std::optional<float> reading;
    if (RxType == 0) reading = hist_.cur();   // no receiver: the marker stands still
    else if (sampler_) reading = sampler_->sample();
    if (!self || !isLoaded() || !running_) return;
    if (reading) {
        failures_ = 0;
    } else if (++failures_ >= 3) {
        cmdStop_Click();
        QTimer::singleShot(0, this, [] {
            dialogs::message(kNoAnswer, dialogs::Buttons::Ok, dialogs::Icon::Exclamation, QStringLiteral("S meter"));
        });
        return;
    }
    const SmeterHistogram::Tick t = hist_.tick(reading);
    Canvas* m = ui->picSmeter;
    m->fillBox(markerX(t.prev), 2, markerX(t.prev) + 1, 12, Erase);
    m->fillBox(markerX(t.cur), 2, markerX(t.cur) + 1, 12, Bar);
    if (t.removedBin) drawBin(t.removedBin);
    if (t.addedBin) drawBin(t.addedBin);
}

void frmSmeter::cmdStop_Click() {
    for (QPushButton* b : {ui->cmdExit, ui->cmdCls, ui->cmdStart}) b->setEnabled(true);
    tmrSmeter_->stop();
    running_ = false;
    run_.end();
}

void frmSmeter::cmdCls_Click() {
    hist_.clearCounts();
    ui->picShistogram->fillBox(0, 0, 217, 65, Erase);
    ui->picSmeter->fillBox(0, 0, 201, 17, Erase);
}

void frmSmeter::cmdExit_Click() { unload(); }

} // namespace dovrane
