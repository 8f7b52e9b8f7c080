#include "scanning/frmprop2prt2.h"
#include "ui_frmprop2prt2.h"

// level_sample.h keeps the driver objects behind forward declarations.
#include "drivers/ar7030/clsar7030.h"
#include "drivers/nrd535/clsnrd535.h"
#include "drivers/nrd545/clsnrd545.h"
#include "drivers/rx320/clsrx320.h"
#include "platform/busycursor.h"
#include "platform/canvas.h"
#include "platform/dialogs.h"
#include "platform/printing.h"
#include "platform/text_file.h"
#include "scanning/level_sample.h"
#include "scanning/propagation_file.h"
#include "shell/frmloadfile.h"
#include "shell/globals.h"
#include "shell/unloadallforms.h"

#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <algorithm>

namespace dovrane {

namespace {

constexpr int kBaseY = 528;     // level 0
constexpr int kEndX = 713;      // nothing is drawn from here on
constexpr int kMinutesADay = 24 * 60;

// The graph's rows, as Cls clears them: a level is drawn where the scale puts
// it (a flat group lowered below 0 reaches under the base line, so that it
// shows), and only one that would leave this band is held at its edge.
constexpr int kGraphTopY = 350;
constexpr int kGraphBottomY = 530;

int levelAt(double level) {
    return std::clamp(levelscale::levelY(level, kBaseY, 8), kGraphTopY, kGraphBottomY);
}

} // namespace

frmProp2prt2::frmProp2prt2() : Form(42, &Prop2prt2Open), ui(std::make_unique<Ui::frmProp2prt2>()) {
    ui->setupUi(this);
    registerWindow(&Prop2prt2Open, this);
    txtdat_ = {ui->txtdat_0, ui->txtdat_1, ui->txtdat_2,  ui->txtdat_3,  ui->txtdat_4,  ui->txtdat_5,
               ui->txtdat_6, ui->txtdat_7, ui->txtdat_8, ui->txtdat_9, ui->txtdat_10, ui->txtdat_11};
    connect(ui->cmdLoad, &QPushButton::clicked, this, [this] { cmdLoad_Click(); });
    connect(ui->cmdCls, &QPushButton::clicked, this, [this] { cmdCls_Click(); });
    connect(ui->cmdPrint, &QPushButton::clicked, this, [this] { cmdPrint_Click(); });
    connect(ui->cmdExit, &QPushButton::clicked, this, [this] { cmdExit_Click(); });
    ui->Picture1->setBackColor(Qt::white);
    ui->Picture1->setCanvasSize(816, 920);
    QFont pageFont = ui->Picture1->font();
    // Pixel sizes, so the printed page keeps the proportions of the screen's.
    pageFont.setPixelSize(11);
    ui->Picture1->setFont(pageFont);
    QFont title = pageFont;
    title.setPixelSize(21);
    title.setBold(true);
    ui->lblTitle->setFont(title);
    QFont small = ui->Picture1->drawFont();
    small.setPixelSize(9);
    ui->Picture1->setDrawFont(small);
}

frmProp2prt2::~frmProp2prt2() = default;

Canvas* frmProp2prt2::page() const { return ui->Picture1; }

void frmProp2prt2::Form_Load() {
    // Without the file the fields stay empty for the user to fill in.
    const std::array<QString, 9> fields =
        readProp2prtIni(findCaseInsensitive(DataFolder, QStringLiteral("prop2prt.ini")));
    for (int i = 0; i < 9; ++i) txtdat_[i + 3]->setText(fields[i]);
    ui->Picture1->clear(Qt::white);
    drawGrid();
}

void frmProp2prt2::drawGrid() {
    Canvas* c = ui->Picture1;
    c->line(112, 352, 112, 528, Qt::black);
    for (int k = 0; k < 6; ++k) c->line(104, 360 + 32 * k, 712, 360 + 32 * k, Qt::black);
}

bool frmProp2prt2::loadprop2prtfile() {
    BusyCursor busy;
    const QString name = FileKindName[Prop2prtKind];
    const std::optional<PropFile> file = readPropFile(FileKindPath[Prop2prtKind] + name);
    if (!file) {
        dialogs::message(QStringLiteral("The file %1\ncould not be read.").arg(name), dialogs::Buttons::Ok,
                         dialogs::Icon::Exclamation, QStringLiteral("Load File"));
        return false;
    }
    txtdat_[2]->setText(file->start);
    txtdat_[1]->setText(file->frequency);
    txtdat_[0]->setText(file->station);
    if (file->minutes.isEmpty()) return true;
    Canvas* c = ui->Picture1;
    const PropMinute& first = file->minutes.front();
    for (int i = 0; i < file->minutes.size(); ++i) {
        const PropMinute& line = file->minutes[i];
        // Minutes after midnight go on to the right of those before it.
        int m = (line.hour - first.hour) * 60 + (line.minute - first.minute);
        m = ((m % kMinutesADay) + kMinutesADay) % kMinutesADay;
        for (int k = 0; k < 4; ++k) {
            float lo = line.groups[k].min;
            const float hi = line.groups[k].max;
            if (i > 0 && lo == hi) lo -= 0.2f;
            const int x = 120 + 4 * m + k;
            if (x >= kEndX) continue;
            c->line(x, levelAt(hi), x, levelAt(lo), Qt::black);
            if (i > 0 && k == 0 && line.minute % 10 == 0) {
                c->line(x, 528, x, 352, Qt::black);
                c->text(x - 16, 540, line.time, Qt::black);
            }
        }
    }
    return true;
}

void frmProp2prt2::cmdCls_Click() {
    for (int i = 0; i < 3; ++i) txtdat_[i]->clear();
    Canvas* c = ui->Picture1;
    c->fillBox(90, 536, 730, 560, Qt::white);
    for (int k = 0; k <= 4; ++k) c->fillBox(110, 361 + 32 * k, 720, 391 + 32 * k, Qt::white);
    c->fillBox(110, 350, 720, 359, Qt::white);
    c->fillBox(110, 521, 720, 530, Qt::white);
    // The level axis and the grid belong to the page, not to the data: the
    // boxes above cross the axis, so both are drawn again.
    drawGrid();
}

void frmProp2prt2::composePage(QPainter& painter, const QRect& area) {
    // The page as large as fits on one sheet: its picture, then the text of
    // each of its labels and boxes in place (as text, not pixels, so the
    // printout stays sharp and searchable). The buttons are not on the page.
    Canvas* p = ui->Picture1;
    const double scale = std::min(area.width() / double(p->width()), area.height() / double(p->height()));
    painter.save();
    painter.translate(area.topLeft());
    painter.scale(scale, scale);
    painter.drawImage(QRect(QPoint(0, 0), p->image().size()), p->image());
    painter.setPen(Qt::black);
    for (QWidget* child : p->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        QString text;
        int align = Qt::AlignLeft | Qt::AlignVCenter;
        if (auto* label = qobject_cast<QLabel*>(child)) {
            text = label->text();
            align = int(label->alignment());
        } else if (auto* box = qobject_cast<QLineEdit*>(child)) {
            text = box->text();
        }
        if (text.isEmpty() || child->isHidden()) continue;
        painter.setFont(child->font());
        painter.drawText(child->geometry(), align | Qt::TextDontClip | Qt::TextSingleLine, text);
    }
    painter.restore();
}

void frmProp2prt2::cmdPrint_Click() {
    printWithDialog(this, [this](QPainter& painter, const QRect& area) { composePage(painter, area); });
}

bool frmProp2prt2::printToPdfFile(const QString& path) {
    return printToPdf(path, [this](QPainter& painter, const QRect& area) { composePage(painter, area); });
}

void frmProp2prt2::cmdLoad_Click() { showLoadChooser(Prop2prtKind); }

void frmProp2prt2::cmdExit_Click() { unload(); }

bool loadprop2prtfile() {
    frmProp2prt2* w = forms::loaded<frmProp2prt2>();
    return w && w->loadprop2prtfile();
}

} // namespace dovrane
