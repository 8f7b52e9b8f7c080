#include "scanning/frmpropagation.h"
#include "ui_frmpropagation.h"

// level_sample.h keeps the driver objects behind forward declarations.
#include "drivers/ar7030/clsar7030.h"
#include "drivers/nrd535/clsnrd535.h"
#include "drivers/nrd545/clsnrd545.h"
#include "drivers/rx320/clsrx320.h"
#include "panels/frmar7030.h"
#include "panels/frmnrd535.h"
#include "panels/frmnrd545.h"
#include "platform/busycursor.h"
#include "platform/canvas.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/one_line_text.h"
#include "platform/text_file.h"
#include "scanning/level_sample.h"
#include "shell/facade.h"
#include "shell/file_kinds.h"
#include "shell/frmloadfile.h"
#include "shell/frmsavefile.h"
#include "shell/globals.h"
#include "shell/run_notice.h"
#include "shell/show_panel.h"
#include "shell/unloadallforms.h"

#include <QFile>
#include <QFileInfo>
#include <QPointer>
#include <QTimer>
#include <algorithm>
#include <cmath>
#include <limits>

namespace dovrane {

namespace {

constexpr int kIntervalMs = 850;

const QString kTitle = QStringLiteral("Propagation");
const QString kSavedText = QStringLiteral("The Propagation data is now\nsaved to the file ");
const QString kExitText = QStringLiteral("Do you want to save data\nfrom the Propagation window");
const QString kNextHourText =
    QStringLiteral("Click in YES to add data of next hour\nClick in NO to get data of next hour only");
const QString kWriteFailed =
    QStringLiteral("The Propagation data could not be written\nto the file %1\n%2\nThe recording has stopped.");
const QString kRecordingStopped = QStringLiteral("The recording has stopped.");
const QString kUnreadable = QStringLiteral("The file %1\ncould not be read.");

// The base line of graph g (0 minute, 1 hour, 2 day).
int baseLine(int g) { return 149 + 130 * g; }
// A level as drawn: 4 pixels a unit, held inside its graph.
int levelAt(int g, double level) {
    return levelscale::levelY(std::clamp(level, 0.0, 25.0), baseLine(g), 4);
}
int hourX(int minute, int second) { return int(std::lround(80 + 8 * minute + second / 7.5)); }
int dayX(int hour, int minute) { return int(std::nearbyint(80 + 20 * hour + minute / 3.0)); }

} // namespace

const std::array<QColor, 4> frmPropagation::FileColours{
    QColor(0, 0, 255), QColor(0, 255, 0), QColor(255, 0, 255), QColor(255, 0, 0)};

frmPropagation::frmPropagation() : Form(21, &PropagationOpen), ui(std::make_unique<Ui::frmPropagation>()) {
    ui->setupUi(this);
    registerWindow(&PropagationOpen, this);
    lblPropfiles = {ui->lblPropfiles_0, ui->lblPropfiles_1, ui->lblPropfiles_2, ui->lblPropfiles_3};
    // The station is line 3 of the file: a pasted line break becomes a blank.
    keepOnOneLine(ui->txtStation);
    timer_ = new QTimer(this);
    timer_->setObjectName(QStringLiteral("tmrPropagation"));
    timer_->setInterval(kIntervalMs);
    timer_->setTimerType(Qt::PreciseTimer);
    connect(timer_, &QTimer::timeout, this, [this] { tmrPropagation_Timer(); });
    connect(ui->cmdStart, &QPushButton::clicked, this, [this] { cmdStart_Click(); });
    connect(ui->cmdStop, &QPushButton::clicked, this, [this] { cmdStop_Click(); });
    connect(ui->cmdCls, &QPushButton::clicked, this, [this] { cmdCls_Click(); });
    connect(ui->cmdsaveas, &QPushButton::clicked, this, [this] { cmdsaveas_Click(); });
    connect(ui->cmdLoad, &QPushButton::clicked, this, [this] { cmdLoad_Click(); });
    connect(ui->cmdRezeri, &QPushButton::clicked, this, [this] { cmdRezeri_Click(); });
    connect(ui->cmdExit, &QPushButton::clicked, this, [this] { cmdExit_Click(); });
    ui->picSurface->setBackColor(Back);
    ui->picSurface->setCanvasSize(632, 453);
    QFont small = font();
    small.setPointSize(7);
    ui->picSurface->setDrawFont(small);
}

frmPropagation::~frmPropagation() = default;

Canvas* frmPropagation::surface() const { return ui->picSurface; }
bool frmPropagation::recording() const { return running_; }

void frmPropagation::Form_Load() {
    run_.open(true);
    drawGraphs();
}

void frmPropagation::Form_Unload() {
    // A window closed while it records leaves no file open, no frame
    // disabled and no receiver held.
    run_.close([this] {
        stopControls();
        closeFile();
    });
}

void frmPropagation::drawGraphs() {
    Canvas* c = ui->picSurface;
    c->clear(Back);
    const QColor ink = Qt::black;
    static const char* const titles[] = {"1 min", "1 hr", "1 day"};
    static const char* const ends[] = {"60", "60", "24"};
    static const char* const labels[] = {"+72", "+48", "+24", "  S9", "  S5", "  S1"};
    for (int g = 0; g < 3; ++g) {
        const int b = 150 + 130 * g;
        c->line(80, b, 560, b, ink);
        c->line(79, b - 90, 79, b, ink);
        c->text(580, b - 70, QLatin1String(titles[g]), ink);
        c->text(77, b + 6, QStringLiteral("0"), ink);
        c->text(556, b + 6, QLatin1String(ends[g]), ink);
        for (int k = 0; k <= 6; ++k) c->line(80 + 80 * k, b, 80 + 80 * k, b + 5, ink);
        for (int k = 0; k <= 5; ++k) c->line(74, b - 84 + 16 * k, 79, b - 84 + 16 * k, ink);
        for (int k = 0; k < 6; ++k) c->text(48, b - 90 + 16 * k, QLatin1String(labels[k]), ink);
    }
    for (int x = 84; x <= 556; x += 8) {
        c->setPixel(x, 82, ink);
        c->setPixel(x, 114, ink);
    }
}

void frmPropagation::setRunButtons(bool enabled) {
    for (QPushButton* b : {ui->cmdStart, ui->cmdCls, ui->cmdRezeri, ui->cmdsaveas, ui->cmdLoad, ui->cmdExit})
        b->setEnabled(enabled);
}

void frmPropagation::cmdCls_Click() {
    drawGraphs();
    run_.renewSampler();
    ui->lblFrequency->clear();
    ui->lblDate->clear();
    ui->txtStation->clear();
    for (QLabel* l : lblPropfiles) l->clear();
}

void frmPropagation::cmdStart_Click() {
    // The run counts from the click, not from the end of the receiver reads.
    const QDateTime now = Clock::utcNow();
    const qint64 steadyNow = Clock::steadyMs();
    cmdCls_Click();
    // A receiver that does not answer these reads is told of once, with the run.
    if (!Update2RxFreq()) run_.notice().failed();
    if (RxType >= 1 && RxType <= 4) {
        if (PanelHandlers* panel = openPanel()) ui->lblFrequency->setText(panel->frequencyText());
    }
    if (!run_.sampler()->beginRun()) run_.notice().failed();
    run_.begin();
    ui->lblDate->setText(propStartText(now));
    setRunButtons(false);
    recorder_.start(now, steadyNow);
    running_ = true;
    timer_->start();
}

void frmPropagation::tmrPropagation_Timer() {
    if (inTick_ || !isLoaded() || !run_.sampler()) return;
    inTick_ = true;
    // No tick runs inside another: a box shown while the receiver is read
    // lets events run, and the timer waits until this one is done.
    timer_->stop();
    const QDateTime utc = Clock::utcNow();
    const qint64 steady = Clock::steadyMs();
    QPointer<frmPropagation> self(this);
    std::optional<float> level = run_.onRunDevice([this] { return run_.sampler()->sample(); });
    if (!self) return;
    // Stop (or the window's close) may have come while the receiver was read.
    if (!isLoaded() || !running_) {
        inTick_ = false;
        return;
    }
    bool silent = false;
    if (level) {
        PropLevel = *level;
        run_.answered();
    } else {
        silent = run_.failed();
    }
    const PropTickResult result = recorder_.tick(utc, steady, level);
    drawTick(utc, level, result);
    std::optional<QString> writeFailed;
    if (file_.isOpen()) {
        for (const QString& line : result.lines) {
            const QString path = file_.path();
            const qint64 before = QFileInfo(path).size();
            QString error;
            if (file_.appendLine(line, &error)) continue;
            const QString name = FileKindName[PropKind];
            file_.close();
            // A disk that filled in the middle of the line leaves part of
            // it, which a reader would take for a minute of zeros: the file
            // keeps the whole lines written before.
            if (QFileInfo(path).size() > before) QFile::resize(path, before);
            ui->lblSaveas->clear();
            writeFailed = kWriteFailed.arg(name, error);
            break;
        }
    }
    inTick_ = false;
    if (writeFailed) {
        // That message is the one: it says the recording has stopped.
        run_.stop([this] { stopControls(); });
        QTimer::singleShot(0, this, [text = *writeFailed] {
            dialogs::message(text, dialogs::Buttons::Ok, dialogs::Icon::Exclamation, kTitle);
        });
    } else if (silent) {
        QString text = kRecordingStopped;
        if (file_.isOpen()) text += QLatin1Char('\n') + kSavedText + FileKindName[PropKind];
        run_.stopWith(
            [this] {
                stopControls();
                closeFile();
            },
            text, kTitle);
    } else {
        timer_->start();
    }
}

void frmPropagation::drawTick(const QDateTime& utc, std::optional<float> level, const PropTickResult& result) {
    Canvas* c = ui->picSurface;
    const int s = utc.time().second();
    if (level) {
        c->line(88 + 8 * s, 149, 88 + 8 * s, 49, Back);
        c->line(80 + 8 * s, 149, 80 + 8 * s, levelAt(0, *level), Trace);
        if (s == 59) c->line(80, 149, 80, 49, Back);
    }
    for (const PropQuarter& q : result.quarters) {
        const int x = hourX(q.minute, q.second);
        c->line(x + 2, 279, x + 2, 179, Back);
        if (!q.empty) c->line(x, levelAt(1, q.range.min), x, levelAt(1, q.range.max), Trace);
        if (q.minute == 59 && q.second == 46) c->line(80, 279, 80, 179, Back);
    }
    for (const PropDaySample& d : result.days) {
        const int x = dayX(d.hour, d.minute);
        c->line(x + 2, 409, x + 2, 309, Back);
        if (!d.empty) c->line(x, levelAt(2, d.range.min), x, levelAt(2, d.range.max), Trace);
        if (d.hour == 23 && d.minute == 55) c->line(80, 409, 80, 309, Back);
    }
}

bool frmPropagation::closeFile() {
    if (!file_.isOpen()) return false;
    file_.close();
    ui->lblSaveas->clear();
    return true;
}

void frmPropagation::tellSaved(const QString& name) {
    const QString text = kSavedText + name;
    QTimer::singleShot(0, this,
                       [text] { dialogs::message(text, dialogs::Buttons::Ok, dialogs::Icon::Exclamation, kTitle); });
}

void frmPropagation::stopControls() {
    running_ = false;
    timer_->stop();
    setRunButtons(true);
}

void frmPropagation::cmdStop_Click() {
    // Stop, then tell: the file is closed and the run has given everything
    // back before either box comes up.
    bool saved = false;
    run_.stop([this, &saved] {
        stopControls();
        saved = closeFile();
    });
    if (saved) tellSaved(FileKindName[PropKind]);
}

void frmPropagation::cmdsaveas_Click() { showSaveChooser(PropKind); }

void frmPropagation::cmdLoad_Click() { showLoadChooser(PropKind); }

void frmPropagation::cmdRezeri_Click() { showCurrentPanel(); }

void frmPropagation::cmdExit_Click() {
    timer_->stop();
    switch (dialogs::message(kExitText, dialogs::Buttons::YesNoCancel, dialogs::Icon::Question,
                             QStringLiteral("Exit"))) {
    case dialogs::Answer::Yes: cmdsaveas_Click(); break;
    case dialogs::Answer::No: unload(); break;
    default: break;
    }
}

bool frmPropagation::savepropfile() {
    QString frequency;
    if (RxType >= 1 && RxType <= 4) {
        Form* panel = currentPanel();
        if (auto* p = qobject_cast<frmAR7030*>(panel)) p->RxUpdatefull();
        else if (auto* p = qobject_cast<frmNRD535*>(panel)) p->RxUpdatefull();
        else if (auto* p = qobject_cast<frmNRD545*>(panel)) p->RxUpdatefull();
        if (PanelHandlers* handlers = openPanel()) frequency = handlers->frequencyText();
    }
    if (!isLoaded()) return false;
    ui->lblFrequency->setText(frequency);
    const QString name = FileKindName[PropKind];
    const QString path = FileKindPath[PropKind] + name;
    const QString start = propStartText(Clock::utcNow());
    // The header replaces any file of that name whole; the minute lines are
    // then added to the file kept open.
    if (!writeLines(path, {start, frequency, ui->txtStation->text()})) return false;
    QString error;
    if (!file_.open(path, &error)) {
        dialogs::message(kWriteFailed.arg(name, error), dialogs::Buttons::Ok, dialogs::Icon::Exclamation, kTitle);
        ui->lblSaveas->clear();
        return false;
    }
    ui->lblSaveas->setText(propShortName(name));
    ui->lblDate->setText(start);
    return true;
}

bool frmPropagation::loadpropfile() {
    BusyCursor busy;
    const QString name = FileKindName[PropKind];
    // A file that cannot be read takes no name label and no colour, and a
    // recording being saved goes on into its own file.
    const std::optional<PropFile> file = readPropFile(FileKindPath[PropKind] + name);
    if (!file) {
        dialogs::message(kUnreadable.arg(name), dialogs::Buttons::Ok, dialogs::Icon::Exclamation,
                         QStringLiteral("Load File"));
        return false;
    }
    PropFileSlot = PropFileSlot % 4 + 1;
    const QColor colour = FileColours[PropFileSlot - 1];
    QLabel* tag = lblPropfiles[PropFileSlot - 1];
    QPalette pal = tag->palette();
    pal.setColor(QPalette::WindowText, colour);
    tag->setPalette(pal);
    tag->setText(propShortName(name));
    closeFile();

    for (QWidget* w : std::initializer_list<QWidget*>{ui->lblDate, ui->lblFrequency, ui->txtStation}) {
        QPalette p = w->palette();
        p.setColor(QPalette::WindowText, colour);
        p.setColor(QPalette::Text, colour);
        w->setPalette(p);
    }
    ui->lblDate->setText(file->start);
    ui->lblFrequency->setText(file->frequency);
    ui->txtStation->setText(file->station);
    if (file->minutes.isEmpty()) return true;

    Canvas* c = ui->picSurface;
    const PropMinute& first = file->minutes.front();
    QPoint hourMin(80 + 8 * first.minute, levelAt(1, first.groups[0].min));
    QPoint hourMax(80 + 8 * first.minute, levelAt(1, first.groups[0].max));
    QPoint dayMinAt(dayX(first.hour, first.minute), levelAt(2, first.groups[0].min));
    QPoint dayMaxAt(dayX(first.hour, first.minute), levelAt(2, first.groups[0].max));
    constexpr float inf = std::numeric_limits<float>::infinity();
    float dayMin = inf, dayMax = -inf;
    for (int i = 0; i < file->minutes.size(); ++i) {
        const PropMinute& line = file->minutes[i];
        const int m = line.minute, h = line.hour;
        for (int k = 0; k < 4; ++k) {
            const float a = line.groups[k].min, b = line.groups[k].max;
            if (i > 0) {
                dayMin = std::min(dayMin, a);
                dayMax = std::max(dayMax, b);
            }
            const int x = 80 + 8 * m + 2 * k;
            const QPoint toMin(x, levelAt(1, a)), toMax(x, levelAt(1, b));
            c->line(hourMin.x(), hourMin.y(), toMin.x(), toMin.y(), colour);
            c->line(hourMax.x(), hourMax.y(), toMax.x(), toMax.y(), colour);
            hourMin = toMin;
            hourMax = toMax;
            if (m == 59 && k == 3) {
                hourMin.setX(80);
                hourMax.setX(80);
            }
            if (i > 0 && m % 6 == 1) {
                const int dx = (h == 23 && m == 55) ? 80 : dayX(h, m);
                const QPoint dMin(dayX(h, m), levelAt(2, dayMin)), dMax(dayX(h, m), levelAt(2, dayMax));
                c->line(dayMinAt.x(), dayMinAt.y(), dMin.x(), dMin.y(), colour);
                c->line(dayMaxAt.x(), dayMaxAt.y(), dMax.x(), dMax.y(), colour);
                dayMinAt = QPoint(dx, dMin.y());
                dayMaxAt = QPoint(dx, dMax.y());
                dayMin = inf;
                dayMax = -inf;
            }
            if (m == 59 && k == 3) {
                const dialogs::Answer answer = dialogs::message(kNextHourText, dialogs::Buttons::YesNoCancel,
                                                                dialogs::Icon::Information, QStringLiteral("Next hour"));
                if (answer == dialogs::Answer::Cancel || !isLoaded()) return true;
                if (answer == dialogs::Answer::No) c->fillBox(80, 179, 560, 279, Back);
            }
        }
    }
    return true;
}

bool savepropfile() {
    frmPropagation* w = forms::loaded<frmPropagation>();
    return w && w->savepropfile();
}

bool loadpropfile() {
    frmPropagation* w = forms::loaded<frmPropagation>();
    return w && w->loadpropfile();
}

} // namespace dovrane
