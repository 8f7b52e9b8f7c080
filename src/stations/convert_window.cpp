#include "stations/convert_window.h"

#include "platform/dialogs.h"
#include "shell/globals.h"
#include "stations/station_convert.h"
#include "stations/frmilgfinddbf.h"
#include "stations/station_texts.h"

#include <QAbstractButton>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QPointer>
#include <QRadioButton>

namespace dovrane {

namespace {
// Records converted per turn of the event loop; Stop is looked at before each.
constexpr int kChunk = 200;
} // namespace

void ConvertWindow::bindConverter(Controls controls) {
    controls_ = std::move(controls);
    for (int i = 0; i < int(controls_.connect.size()); ++i)
        connect(controls_.connect[size_t(i)], &QRadioButton::toggled, this, [this, i](bool on) {
            if (on) optDbconnect_Click(i);
        });
    connect(controls_.locate, &QAbstractButton::clicked, this, [this] { cmdLocate_Click(); });
    connect(controls_.convert, &QAbstractButton::clicked, this, [this] { cmdConvert_Click(); });
    connect(controls_.stop, &QAbstractButton::clicked, this, [this] { cmdStop_Click(); });
    connect(controls_.exit, &QAbstractButton::clicked, this, [this] { cmdExit_Click(); });
    chunkTimer_.setParent(this);
    chunkTimer_.setInterval(0);
    connect(&chunkTimer_, &QTimer::timeout, this, [this] { convertChunk(); });
}

void ConvertWindow::closeEvent(QCloseEvent* event) {
    if (running_) {
        // The conversion ends as Stop ends it, and the window closes then.
        event->ignore();
        cmdStop_Click();
        return;
    }
    Form::closeEvent(event);
}

void ConvertWindow::selectConnect(int index) {
    if (index < 0 || index >= int(controls_.connect.size())) return;
    controls_.connect[size_t(index)]->setChecked(true);
}

void ConvertWindow::enableConnect() { controls_.connectFrame->setEnabled(true); }

void ConvertWindow::cmdLocate_Click() {
    if (running_) return;
    selectConnect(0);
    forms::unload<frmILGfinddbf>();
    if (frmILGfinddbf* finder = forms::load<frmILGfinddbf>()) finder->showModal();
}

void ConvertWindow::cmdExit_Click() {
    if (running_) return;
    unload();
}

void ConvertWindow::setRunning(bool on) {
    running_ = on;
    for (QWidget* w : controls_.lockedWhileRunning) w->setEnabled(!on);
}

void ConvertWindow::startConverting() {
    stop_ = false;
    shownCount_ = 0;
    setRunning(true);
    chunkTimer_.start();
}

void ConvertWindow::stopConverting() {
    chunkTimer_.stop();
    running_ = false;
}

void ConvertWindow::convertChunk() {
    if (!running_) return;
    for (int n = 0; n < kChunk; ++n) {
        if (stop_ || !convertNext()) {
            chunkTimer_.stop();
            finish();
            return;
        }
        const int done = count();
        if (done != shownCount_ && done % 100 == 0) {
            shownCount_ = done;
            controls_.count->setText(QString::number(done));
            controls_.line->setText(lastLine().left(77));
            controls_.count->repaint();
            controls_.line->repaint();
        }
    }
}

void ConvertWindow::writeList(const QStringList& lines, int count, const QString& name, const QString& title) {
    controls_.line->clear();
    controls_.count->setText(QString::number(count));
    const QString folder = DataFolder + FileKindDir[3];
    QString text = stationtexts::ConversionReady;
    dialogs::Icon icon = dialogs::Icon::Information;
    if (lines.isEmpty()) {
        // A source that gave nothing (another file under the same name, a
        // stop before the first line) must not wipe a good list.
        text = stationtexts::nothingConverted(name, QFileInfo::exists(QDir(folder).filePath(name)));
        icon = dialogs::Icon::Exclamation;
    } else if (QString why; !writeStationList(folder, name, lines, &why)) {
        text = stationtexts::notWritten(name, why);
        icon = dialogs::Icon::Exclamation;
    }
    QPointer<ConvertWindow> self(this);
    dialogs::message(text, dialogs::Buttons::Ok, icon, title);
    if (!self) return;
    running_ = false;
    unload();
}

} // namespace dovrane
