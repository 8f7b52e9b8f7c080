#include "scanning/frmprop2prt2.h"
#include "ui_frmprop2prt2.h"

#include "platform/busycursor.h"
#include "platform/canvas.h"
#include "platform/dialogs.h"
#include "platform/number_text.h"
#include "platform/printing.h"
#include "platform/text_file.h"
#include "scanning/propagation_record.h"
#include "shell/file_kinds.h"
#include "shell/frmloadfile.h"
#include "shell/globals.h"

#include <QLabel>
#include <QLineEdit>
#include <QPainter>

namespace dovrane {

namespace {
constexpr int kKind = 14;
const QColor kBlack(0, 0, 0);
const QColor kWhite(255, 255, 255);
const QString kUnreadable = QStringLiteral("The file %1\ncould not be read.");
} // namespace

frmProp2prt2::frmProp2prt2() : Form(42, &Prop2prt2Open), ui(std::make_unique<Ui::frmProp2prt2>()) {
    ui->setupUi(this);
    for (int i = 0; i < 12; ++i) txtdat[size_t(i)] = findChild<QLineEdit*>(QStringLiteral("txtdat_%1").arg(i));
    connect(ui->cmdLoad, &QPushButton::clicked, this, [this] { cmdLoad_Click(); });
    connect(ui->cmdCls, &QPushButton::clicked, this, [this] { cmdCls_Click(); });
    connect(ui->cmdPrint, &QPushButton::clicked, this, [this] { cmdPrint_Click(); });
    connect(ui->cmdExit, &QPushButton::clicked, this, [this] { cmdExit_Click(); });
}

frmProp2prt2::~frmProp2prt2() = default;

Canvas* frmProp2prt2::page() const { return ui->Picture1; }

void frmProp2prt2::Form_Load() {
    // A missing "prop2prt.ini" leaves the fields empty; lines past the
    // ninth have no field.
    const QStringList lines = readProp2prtIni(DataFolder + QStringLiteral("prop2prt.ini"));
    for (int i = 0; i < lines.size() && i < 9; ++i) txtdat[size_t(i + 3)]->setText(lines[i]);
    ui->Picture1->setBackColor(kWhite);
    ui->Picture1->setCanvasSize(816, 920);
    ui->Picture1->clear(kWhite);
    drawGrid();
    registerLoader(kKind, 0, [] {
        if (frmProp2prt2* w = forms::loaded<frmProp2prt2>()) w->loadprop2prtfile();
    });
}

void frmProp2prt2::Form_Unload() { registerLoader(kKind, 0, nullptr); }

void frmProp2prt2::drawGrid() {
    Canvas* c = ui->Picture1;
    c->line(112, 352, 112, 528, kBlack);
    for (int y = 360; y <= 520; y += 32) c->line(104, y, 712, y, kBlack);
}

void frmProp2prt2::loadprop2prtfile() {
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
    txtdat[2]->setText(f.date);
    txtdat[1]->setText(f.frequency);
    txtdat[0]->setText(f.station);
    Canvas* c = ui->Picture1;
    const PrintPlot plot = printPlot(f.minutes);
    for (const PrintPlot::Bar& b : plot.bars)
        c->line(b.x, int(vbRound(b.yTop)), b.x, int(vbRound(b.yBottom)), kBlack);
    for (const PrintPlot::Mark& m : plot.marks) {
        c->line(m.x, 528, m.x, 352, kBlack);
        c->text(m.x - 16, 540, m.time, kBlack);
    }
}

void frmProp2prt2::cmdCls_Click() {
    for (int i = 0; i < 3; ++i) txtdat[size_t(i)]->clear();
    Canvas* c = ui->Picture1;
    c->fillBox(90, 536, 730, 560, kWhite);
    for (int k = 0; k <= 4; ++k) c->fillBox(110, 361 + 32 * k, 720, 391 + 32 * k, kWhite);
    c->fillBox(110, 350, 720, 359, kWhite);
    c->fillBox(110, 521, 720, 530, kWhite);
    // The boxes cross the level axis; it stays on the page.
    drawGrid();
}

void frmProp2prt2::composePage(QPainter& painter, const QRect& pageRect) {
    Canvas* p = ui->Picture1;
    const double scale = std::min(double(pageRect.width()) / p->width(), double(pageRect.height()) / p->height());
    painter.save();
    painter.translate(pageRect.topLeft());
    painter.scale(scale, scale);
    // The picture, then every field and text on it as text, so the printed
    // page reads as the window shows it; the buttons are not part of it.
    painter.drawImage(QPoint(0, 0), p->image());
    painter.setPen(Qt::black);
    for (QWidget* child : p->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
        QString text;
        int align = Qt::AlignLeft | Qt::AlignVCenter;
        if (auto* label = qobject_cast<QLabel*>(child)) {
            text = label->text();
            align = int(label->alignment());
        } else if (auto* edit = qobject_cast<QLineEdit*>(child)) {
            text = edit->text();
        }
        if (text.isEmpty() || child->isHidden()) continue;
        // Sized in the picture's pixels, so the text scales with the page.
        QFont font = child->font();
        font.setPixelSize(QFontInfo(child->font()).pixelSize());
        painter.setFont(font);
        painter.drawText(child->geometry(), align, text);
    }
    painter.restore();
}

void frmProp2prt2::cmdPrint_Click() {
    printWithDialog(this, [this](QPainter& painter, const QRect& r) { composePage(painter, r); });
}

void frmProp2prt2::cmdLoad_Click() { showLoadChooser(kKind); }

void frmProp2prt2::cmdExit_Click() { unload(); }

} // namespace dovrane
