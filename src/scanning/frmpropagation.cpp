#include "scanning/frmpropagation.h"
#include "ui_frmpropagation.h"

#include "platform/busycursor.h"
#include "platform/canvas.h"
#include "platform/clock.h"
#include "platform/date_text.h"
#include "platform/number_text.h"
#include "platform/dialogs.h"
#include "platform/text_file.h"
#include "drivers/ar7030/clsar7030.h"
#include "drivers/nrd535/clsnrd535.h"
#include "drivers/nrd545/clsnrd545.h"
#include "drivers/rx320/clsrx320.h"
#include "scanning/level_sample.h"
#include "shell/facade.h"
#include "shell/file_kinds.h"
#include "shell/frmloadfile.h"
#include "shell/frmsavefile.h"
#include "shell/globals.h"
#include "shell/show_panel.h"

#include <QPointer>
#include <QTimer>
#include <algorithm>

namespace dovrane {

namespace {

constexpr int kKind = 7;
const QString kSaved = QStringLiteral("The Propagation data is now\nsaved to the file ");
const QString kExitText = QStringLiteral("Do you want to save data\nfrom the Propagation window");
const QString kNextHour =
    QStringLiteral("Click in YES to add data of next hour\nClick in NO to get data of next hour only");
const QString kNoAnswer = QStringLiteral("The receiver does not answer\nThe recording has stopped");
const QString kWriteFailed = QStringLiteral("The propagation file could not be written\n%1\nThe recording has stopped");
const QString kUnreadable = QStringLiteral("The file %1\ncould not be read.");
const std::array<QColor, 4> kSlotColours{QColor(0, 0, 255), QColor(0, 255, 0), QColor(255, 0, 255),
                                         QColor(255, 0, 0)};
// The count of loads, kept for the whole program run.
int g_propFileSlot = 0;

// A level as drawn: within the graph's own strip.
double drawn(float level) { return std::clamp(double(level), 0.0, 25.0); }

int yOf(int base, float level) { return int(vbRound(base - 4 * drawn(level))); }

QString shortName(const QString& name) { return name.size() > 8 ? name.mid(4, name.size() - 8) : name; }

void setTextColour(QWidget* w, const QColor& c) {
    QPalette p = w->palette();
    p.setColor(QPalette::WindowText, c);
    p.setColor(QPalette::Text, c);
    w->setPalette(p);
}

} // namespace

const QColor frmPropagation::Background(255, 255, 192);
const QColor frmPropagation::Trace(0, 192, 0);

frmPropagation::frmPropagation() : Form(21, &PropagationOpen), ui(std::make_unique<Ui::frmPropagation>()) {
    ui->setupUi(this);
    lblPropfiles = {ui->lblPropfiles_0, ui->lblPropfiles_1, ui->lblPropfiles_2, ui->lblPropfiles_3};
    tmrPropagation_ = new QTimer(this);
    tmrPropagation_->setObjectName(QStringLiteral("tmrPropagation"));
    tmrPropagation_->setTimerType(Qt::PreciseTimer);
    tmrPropagation_->setInterval(850);
    connect(tmrPropagation_, &QTimer::timeout, this, [this] { tmrPropagation_Timer(); });
    connect(ui->cmdStart, &QPushButton::clicked, this, [this] { cmdStart_Click(); });
    connect(ui->cmdStop, &QPushButton::clicked, this, [this] { cmdStop_Click(); });
    connect(ui->cmdCls, &QPushButton::clicked, this, [this] { cmdCls_Click(); });
    connect(ui->cmdsaveas, &QPushButton::clicked, this, [this] { cmdsaveas_Click(); });
    connect(ui->cmdLoad, &QPushButton::clicked, this, [this] { cmdLoad_Click(); });
    connect(ui->cmdRezeri, &QPushButton::clicked, this, [this] { cmdRezeri_Click(); });
    connect(ui->cmdExit, &QPushButton::clicked, this, [this] { cmdExit_Click(); });
}

frmPropagation::~frmPropagation() = default;

Canvas* frmPropagation::canvas() const { return ui->picPropagation; }

void frmPropagation::Form_Load() {
    sampler_ = std::make_unique<LevelSampler>();
    interlock_ = std::make_unique<MeasurementInterlock>(MeasurementTool::Propagation);
    ui->picPropagation->setBackColor(Background);
    ui->picPropagation->setCanvasSize(632, 453);
    drawGraphs();
    registerLoader(kKind, 0, [] {
        if (frmPropagation* w = forms::loaded<frmPropagation>()) w->loadpropfile();
    });
    registerWriter(kKind, [] {
        frmPropagation* w = forms::loaded<frmPropagation>();
        return w && w->savepropfile();
    });
}

void frmPropagation::Form_Unload() {
    // A close mid-run gives back the panel and the receiver and closes the file.
    tmrPropagation_->stop();
    recording_ = false;
    run_.end();
    closeFile();
    sampler_.reset();
    interlock_.reset();
    registerLoader(kKind, 0, nullptr);
    registerWriter(kKind, nullptr);
}

void frmPropagation::drawGraphs() {
    Canvas* c = ui->picPropagation;
    c->clear(Background);
    const QColor black(0, 0, 0);
    const char* titles[] = {"1 min", "1 hr", "1 day"};
    const char* ends[] = {"60", "60", "24"};
    const char* labels[] = {"+72", "+48", "+24", "  S9", "  S5", "  S1"};
    for (int g = 0; g < 3; ++g) {
        const int b = 150 + 130 * g;
        c->line(80, b, 560, b, black);
        c->line(79, b - 90, 79, b, black);
        c->text(580, b - 70, QLatin1String(titles[g]), black);
        c->text(77, b + 6, QStringLiteral("0"), black);
        c->text(556, b + 6, QLatin1String(ends[g]), black);
        for (int k = 0; k <= 6; ++k) c->line(80 + 80 * k, b, 80 + 80 * k, b + 5, black);
        for (int k = 0; k <= 5; ++k) c->line(74, b - 84 + 16 * k, 79, b - 84 + 16 * k, black);
        for (int k = 0; k < 6; ++k) c->text(48, b - 90 + 16 * k, QLatin1String(labels[k]), black);
    }
    for (int x = 84; x <= 556; x += 8) {
        c->setPixel(x, 82, black);
        c->setPixel(x, 114, black);
    }
}

void frmPropagation::closeFile() {
    if (!file_.isOpen()) return;
    file_.close();
    ui->lblSaveas->clear();
}

void frmPropagation::cmdStart_Click() {
    cmdCls_Click();
    Update4RxFreq();
    if (PanelHandlers* panel = openPanel()) ui->lblFrequency->setText(panel->frequencyText());
    if (sampler_) sampler_->beginRun();
    run_.begin();
    const QDateTime utc = Clock::utcNow();
    ui->lblDate->setText(formatDatePattern(utc, QStringLiteral("d mmm yyyy  hh:mm")) + QStringLiteral(" UTC"));
    for (QPushButton* b : {ui->cmdStart, ui->cmdCls, ui->cmdRezeri, ui->cmdsaveas, ui->cmdLoad, ui->cmdExit})
        b->setEnabled(false);
    failures_ = 0;
    recorder_.start(utc);
    recording_ = true;
    tmrPropagation_->start();
}

void frmPropagation::tmrPropagation_Timer() {
    if (!recording_) return;
    // The tick belongs to the instant it starts, before the receiver is read.
    const QDateTime utc = Clock::utcNow();
    QPointer<frmPropagation> self(this);
    std::optional<float> level;
    if (RxType == 0) level = lastLevel_;   // no receiver: the level stands still
    else if (sampler_) level = sampler_->sample();
    if (!self || !isLoaded() || !recording_) return;
    if (level) {
        lastLevel_ = *level;
        failures_ = 0;
    } else if (++failures_ >= 3) {
        stopWithMessage(kNoAnswer);
        return;
    }
    const PropagationRecorder::Tick t = recorder_.tick(utc, level);
    Canvas* c = ui->picPropagation;
    const int s = t.second;
    c->line(88 + 8 * s, 149, 88 + 8 * s, 49, Background);
    if (t.level) c->line(80 + 8 * s, 149, 80 + 8 * s, yOf(149, *t.level), Trace);
    if (s == 59) c->line(80, 149, 80, 49, Background);
    for (const PropagationRecorder::QuarterBar& q : t.quarters) {
        const int x = 80 + 8 * q.minute + 2 * q.quarter;
        c->line(x + 2, 279, x + 2, 179, Background);
        c->line(x, yOf(279, q.span.min), x, yOf(279, q.span.max), Trace);
        if (q.minute == 59 && q.quarter == 3) c->line(80, 279, 80, 179, Background);
    }
    for (const PropagationRecorder::DayBar& d : t.days) {
        const int x = int(vbRound(80 + 20 * d.hour + d.minute / 3.0));
        c->line(x + 2, 409, x + 2, 309, Background);
        c->line(x, yOf(409, d.span.min), x, yOf(409, d.span.max), Trace);
        if (d.hour == 23 && d.minute == 55) c->line(80, 409, 80, 309, Background);
    }
    if (!file_.isOpen()) return;
    for (const QString& line : t.lines) {
        QString error;
        if (!file_.appendLine(line, &error)) {
            // One message, and no line is lost silently after it.
            closeFile();
            stopWithMessage(kWriteFailed.arg(error));
            return;
        }
    }
}

void frmPropagation::stopWithMessage(const QString& text) {
    cmdStop_Click();
    QTimer::singleShot(0, this, [text] {
        dialogs::message(text, dialogs::Buttons::Ok, dialogs::Icon::Exclamation, QStringLiteral("Propagation"));
    });
}

void frmPropagation::cmdStop_Click() {
    tmrPropagation_->stop();
    recording_ = false;
    for (QPushButton* b : {ui->cmdStart, ui->cmdCls, ui->cmdRezeri, ui->cmdsaveas, ui->cmdLoad, ui->cmdExit})
        b->setEnabled(true);
    if (file_.isOpen()) {
        closeFile();
        dialogs::message(kSaved + FileKindName[kKind], dialogs::Buttons::Ok, dialogs::Icon::Exclamation,
                         QStringLiteral("Propagation"));
    }
    run_.end();
}

void frmPropagation::cmdCls_Click() {
    drawGraphs();
    // A fresh driver object, as a new window would have.
    sampler_ = std::make_unique<LevelSampler>();
    ui->lblFrequency->clear();
    ui->lblDate->clear();
    ui->txtStation->clear();
    for (QLabel* l : lblPropfiles) l->clear();
}

void frmPropagation::cmdsaveas_Click() { showSaveChooser(kKind); }

void frmPropagation::cmdLoad_Click() { showLoadChooser(kKind); }

void frmPropagation::cmdRezeri_Click() { showCurrentPanel(); }

void frmPropagation::cmdExit_Click() {
    tmrPropagation_->stop();
    switch (dialogs::message(kExitText, dialogs::Buttons::YesNoCancel, dialogs::Icon::Question,
                             QStringLiteral("Exit"))) {
    case dialogs::Answer::Yes: cmdsaveas_Click(); break;
    case dialogs::Answer::No: unload(); break;
    default:
        if (recording_) tmrPropagation_->start();
        break;
    }
}

bool frmPropagation::savepropfile() {
    Update4RxFreq();
    const QString freq = openPanel() ? openPanel()->frequencyText() : QString();
    ui->lblFrequency->setText(freq);
    const QString header =
        formatDatePattern(Clock::utcNow(), QStringLiteral("d mmm yyyy  hh:mm")) + QStringLiteral(" UTC");
    const QString path = FileKindPath[kKind] + FileKindName[kKind];
    // Only one file is open at a time.
    closeFile();
    QString error;
    if (!writeLines(path, {header, freq, ui->txtStation->text()}, &error) || !file_.open(path, &error)) return false;
    ui->lblSaveas->setText(shortName(FileKindName[kKind]));
    ui->lblDate->setText(header);
    return true;
}

void frmPropagation::loadpropfile() {
    g_propFileSlot = g_propFileSlot % 4 + 1;
    const QColor colour = kSlotColours[size_t(g_propFileSlot - 1)];
    QLabel* label = lblPropfiles[size_t(g_propFileSlot - 1)];
    setTextColour(label, colour);
    label->setText(shortName(FileKindName[kKind]));
    closeFile();
    std::optional<QStringList> lines;
    {
        BusyCursor busy;
        lines = readLines(FileKindPath[kKind] + FileKindName[kKind]);
    }
    if (!lines) {
        dialogs::message(kUnreadable.arg(FileKindName[kKind]), dialogs::Buttons::Ok, dialogs::Icon::Exclamation,
                         QStringLiteral("Load File"));
        return;
    }
    const PropFile f = parsePropLines(*lines);
    for (QWidget* w : std::initializer_list<QWidget*>{ui->lblDate, ui->lblFrequency, ui->txtStation})
        setTextColour(w, colour);
    ui->lblDate->setText(f.date);
    ui->lblFrequency->setText(f.frequency);
    ui->txtStation->setText(f.station);
    Canvas* c = ui->picPropagation;
    PropTraces traces;
    for (const PropMinute& m : f.minutes) {
        bool hourEnds = false;
        for (const PropTraces::Segment& s : traces.add(m, &hourEnds)) c->line(s.x1, s.y1, s.x2, s.y2, colour);
        if (!hourEnds) continue;
        const dialogs::Answer a =
            dialogs::message(kNextHour, dialogs::Buttons::YesNoCancel, dialogs::Icon::Information,
                             QStringLiteral("Next hour"));
        if (!isLoaded()) return;
        if (a == dialogs::Answer::No) c->fillBox(80, 179, 560, 279, Background);
        else if (a != dialogs::Answer::Yes) break;
    }
}

} // namespace dovrane
