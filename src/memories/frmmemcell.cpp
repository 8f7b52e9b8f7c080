#include "memories/frmmemcell.h"
#include "ui_frmmemcell.h"

#include "drivers/ar7030/ar7030_convert.h"
#include "drivers/ar7030/clsar7030.h"
#include "drivers/memory_record.h"
#include "drivers/model_tables.h"
#include "drivers/nrd/nrd_codec.h"
#include "drivers/nrd535/clsnrd535.h"
#include "drivers/nrd545/clsnrd545.h"
#include "drivers/rx320/rx320_state.h"
#include "drivers/rx_link.h"
#include "memories/frmmemman.h"
#include "memories/memory_cell.h"
#include "memories/memory_image.h"
#include "memories/memory_texts.h"
#include "memories/memory_transfer.h"
#include "panels/frmar7030.h"
#include "platform/commport.h"
#include "platform/dialogs.h"
#include "platform/number_text.h"
#include "platform/one_line_text.h"
#include "shell/facade.h"
#include "shell/frmsetup.h"
#include "shell/globals.h"
#include "shell/run_notice.h"
#include "shell/unloadallforms.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalBlocker>
#include <algorithm>

namespace dovrane {

namespace {

constexpr int kPosition = 16;

// Adds the entries first..last of a table that the model fills, each with its
// index, so a choice is always an entry of the table (never a typed text).
template <class Table> void addEntries(QComboBox* c, const Table& table, int first, int last) {
    for (int i = first; i <= last; ++i) {
        const QString t = tableText(table, i);
        if (!t.isEmpty() && t != QLatin1String("?")) c->addItem(t, i);
    }
}

// The entries of the codes the receiver takes, its options as set up.
template <class Table> void addCodes(QComboBox* c, const Table& table, const CodeRange& codes) {
    for (int i = codes.lo; i <= codes.hi; ++i)
        if (takesCode(codes, i)) addEntries(c, table, i, i);
}

// Selects the entry of index i; none when the table has no such entry.
void selectIndex(QComboBox* c, int i) { c->setCurrentIndex(c->findData(i)); }

int chosen(const QComboBox* c) { return c->currentIndex() < 0 ? -1 : c->currentData().toInt(); }

int field(const QString& r, int first, int last) {
    const QString f = recordColumns(r, first, last);
    for (QChar ch : f)
        if (!ch.isDigit()) return -1;
    return f.isEmpty() ? -1 : f.toInt();
}

bool askYes(const QString& text, const QString& title) {
    return dialogs::message(text, dialogs::Buttons::YesNoCancel, dialogs::Icon::Question, title) ==
           dialogs::Answer::Yes;
}

void inform(const QString& text, const QString& title) {
    dialogs::message(text, dialogs::Buttons::Ok, dialogs::Icon::Information, title);
}

} // namespace

frmMemcell::frmMemcell() : Form(kPosition, &MemcellOpen), ui(std::make_unique<Ui::frmMemcell>()) {
    ui->setupUi(this);
    registerWindow(&MemcellOpen, this);
    connect(ui->cmdToMMWorRM_0, &QPushButton::clicked, this, [this] { cmdToMMWorRM_Click(0); });
    connect(ui->cmdToMMWorRM_1, &QPushButton::clicked, this, [this] { cmdToMMWorRM_Click(1); });
    connect(ui->cmdCancel, &QPushButton::clicked, this, [this] { cmdCancel_Click(); });
    connect(ui->cmbMode, &QComboBox::currentIndexChanged, this, [this] { cmbMode_Change(); });
    // The tag ends the cell's line in the memory file: a pasted line break
    // becomes a blank.
    keepOnOneLine(ui->txtMemtag);
    connect(&setUpNotifier(), &SetUpNotifier::closed, this, [this] {
        if (isLoaded()) followOptions();
    });
}

frmMemcell::~frmMemcell() = default;

void frmMemcell::Form_Load() {
    job_ = MemcellMode;
    if (Comm1) {
        if (RxType == 1) AR7030A = std::make_unique<clsAR7030>(*Comm1);
        if (RxType == 2) NRD535A = std::make_unique<clsNRD535>(*Comm1);
        if (RxType == 4) NRD545A = std::make_unique<clsNRD545>(*Comm1);
    }
    loading_ = true;
    filledMode_ = filledFilter_ = -1;
    fillLists();
    ui->cmbCellnr->setCurrentIndex(std::clamp(CurMemNr, 0, int(MaxMemNr)));
    loadedCell_ = CurMemNr;
    loadedRecord_ = job_ == 2 ? QString() : MemImage.record(loadedCell_);
    if (job_ == 2) fillFromReceiver();
    else fillFromImage(loadedRecord_, MemImage.tag(loadedCell_));
    ui->cmbCellnr->setEnabled(job_ == 2 || job_ == 3);
    loading_ = false;
}

void frmMemcell::Form_Unload() {
    AR7030A.reset();
    NRD535A.reset();
    NRD545A.reset();
}

void frmMemcell::fillLists() {
    for (int n = 0; n <= MaxMemNr; ++n) ui->cmbCellnr->addItem(cellText(n), n);
    const bool ar = RxType == 1, nrd = RxType == 2 || RxType == 4;
    // Every code the model's channels hold and the receiver takes, so that
    // the editor offers what a fetched channel can hold and nothing a record
    // of the model cannot, nor a code of an option the receiver lacks.
    if (const ModelCodes* codes = RxType != 0 ? modelCodes(RxType) : nullptr) {
        addCodes(ui->cmbMode, ModeTexts, cellModeCodes(RxType));
        addCodes(ui->cmbBandwidth, BwTexts, codes->filter);
        addCodes(ui->cmbAttenuator, AttTexts, codes->channelAttenuator);
        addCodes(ui->cmbAgcspeed, AgcTexts, codes->channelAgc);
        addCodes(ui->cmbScanyn, YesNoTexts, codes->channelScan);
        if (codes->channelPassband.has()) addEntries(ui->cmbPBS, PbsTexts, 0, 84);
    }
    ui->cmbAttenuator->setEnabled(nrd);
    ui->cmbAgcspeed->setEnabled(nrd || RxType == 3);
    ui->cmbPBS->setEnabled(ar);
    ui->cmbSqlBfo->setEnabled(ar);
    ui->cmbScanyn->setEnabled(ar);
    ui->cmbMode->setEnabled(RxType != 0);
    ui->cmbBandwidth->setEnabled(RxType != 0);
    ui->cmdToMMWorRM_1->setEnabled(ar || nrd);
    if (ar) rebuildSqlBfo(field(MemImage.record(CurMemNr), 17, 17));
}

void frmMemcell::followOptions() {
    const ModelCodes* codes = RxType != 0 ? modelCodes(RxType) : nullptr;
    if (!codes) return;
    // A choice stays while the receiver takes it; a field left empty for
    // want of an option shows what it was filled with once it can.
    auto refill = [](QComboBox* c, const auto& table, const CodeRange& range, int filled) {
        const int keep = c->currentIndex() >= 0 ? chosen(c) : filled;
        const QSignalBlocker block(c);
        c->clear();
        addCodes(c, table, range);
        selectIndex(c, keep);
    };
    refill(ui->cmbMode, ModeTexts, cellModeCodes(RxType), filledMode_);
    refill(ui->cmbBandwidth, BwTexts, codes->filter, filledFilter_);
}

void frmMemcell::rebuildSqlBfo(int mode) {
    ui->cmbSqlBfo->clear();
    if (mode == 4 || mode == 5) {
        ui->lblSqlBfo->setText(QStringLiteral("BFO"));
        addEntries(ui->cmbSqlBfo, PbsTexts, 0, 84);
    } else {
        ui->lblSqlBfo->setText(QStringLiteral("Sql"));
        for (int i = 0; i <= 99; ++i) ui->cmbSqlBfo->addItem(QStringLiteral("%1").arg(i, 2, 10, QLatin1Char('0')), i);
    }
}

void frmMemcell::cmbMode_Change() {
    if (RxType != 1 || loading_) return;
    const int mode = chosen(ui->cmbMode);
    rebuildSqlBfo(mode);
    ui->cmbSqlBfo->setCurrentIndex(ui->cmbSqlBfo->findText((mode == 4 || mode == 5) ? QStringLiteral(" 0.0k")
                                                                                      : QStringLiteral("00")));
}

void frmMemcell::showPassband(int b) {
    ui->cmbPBS->setCurrentIndex(b < 0 ? -1 : ui->cmbPBS->findText(b2fs(b)));
    pbsKept_ = {ui->cmbPBS->currentText(), b};
}

void frmMemcell::showSqlBfo(int mode, int b) {
    rebuildSqlBfo(mode);
    const QString text = b < 0 ? QString() : ((mode == 4 || mode == 5) ? b2fs(b) : b2sql(b));
    ui->cmbSqlBfo->setCurrentIndex(ui->cmbSqlBfo->findText(text));
    sqlBfoKept_ = {ui->cmbSqlBfo->currentText(), b};
}

void frmMemcell::fillFromImage(const QString& r, const QString& tag) {
    ui->txtFrequency->setText(cellFrequencyText(r));
    filledMode_ = field(r, 17, 17);
    filledFilter_ = field(r, 19, 20);
    selectIndex(ui->cmbMode, filledMode_);
    selectIndex(ui->cmbBandwidth, filledFilter_);
    ui->txtMemtag->setText(QString(tag).remove(QRegularExpression(QStringLiteral("\\s+$"))));
    if (RxType == 1) {
        showPassband(field(r, 26, 28));
        showSqlBfo(field(r, 17, 17), field(r, 30, 32));
        selectIndex(ui->cmbScanyn, field(r, 34, 34));
    } else if (RxType == 2 || RxType == 4) {
        selectIndex(ui->cmbAttenuator, field(r, 22, 22));
        selectIndex(ui->cmbAgcspeed, field(r, 24, 24));
    } else if (RxType == 3) {
        selectIndex(ui->cmbAgcspeed, field(r, 24, 24));
    }
}

void frmMemcell::fillFromReceiver() {
    ui->txtMemtag->clear();
    if (RxType == 1 && AR7030A) {
        if (frmAR7030* p = forms::loaded<frmAR7030>()) p->RxUpdatefull();
        if (PanelHandlers* p = openPanel()) ui->txtFrequency->setText(p->frequencyText());
        const int mode = AR7030A->Mode().value_or(-1);
        selectIndex(ui->cmbMode, mode);
        selectIndex(ui->cmbBandwidth, AR7030A->Bandwidth().value_or(-1));
        showPassband(AR7030A->PassBandShift().value_or(-1));
        const int b = (mode == 4 || mode == 5) ? AR7030A->Beatfreqosc().value_or(-1) : AR7030A->Squelch().value_or(-1);
        showSqlBfo(mode, b);
        selectIndex(ui->cmbScanyn, 0);
    } else if ((RxType == 2 && NRD535A) || (RxType == 4 && NRD545A)) {
        const std::optional<QString> s = NRD535A ? NRD535A->RxStatus() : NRD545A->RxStatus();
        if (!s || s->size() < 13) return;
        ui->txtFrequency->setText(s->mid(4, 5) + QLatin1Char('.') + s->mid(9, 3));
        filledMode_ = field(*s, 4, 4);
        filledFilter_ = field(*s, 3, 3);
        selectIndex(ui->cmbMode, filledMode_);
        selectIndex(ui->cmbBandwidth, filledFilter_);
        selectIndex(ui->cmbAttenuator, field(*s, 2, 2));
        selectIndex(ui->cmbAgcspeed, field(*s, 13, 13));
    } else if (RxType == 3) {
        if (PanelHandlers* p = openPanel()) ui->txtFrequency->setText(p->frequencyText());
        selectIndex(ui->cmbMode, Rx320Mode);
        selectIndex(ui->cmbBandwidth, Rx320Bw);
        selectIndex(ui->cmbAgcspeed, Rx320Agc);
    }
}

CellFields frmMemcell::fields() const {
    CellFields f;
    f.cell = chosen(ui->cmbCellnr);
    f.frequency = ui->txtFrequency->text();
    f.mode = chosen(ui->cmbMode);
    f.bandwidth = chosen(ui->cmbBandwidth);
    f.attenuator = chosen(ui->cmbAttenuator);
    f.agc = chosen(ui->cmbAgcspeed);
    f.scan = chosen(ui->cmbScanyn);
    if (RxType == 1) {
        // A byte the user left alone goes back as it was: the texts are
        // rounded to 0.1 kHz and to whole percent, the bytes are finer.
        const QString pbs = ui->cmbPBS->currentText();
        f.passband = pbs == pbsKept_.text && pbsKept_.byte >= 0 ? pbsKept_.byte : (pbs.isEmpty() ? -1 : fs2b(pbs));
        const QString q = ui->cmbSqlBfo->currentText();
        if (q == sqlBfoKept_.text && sqlBfoKept_.byte >= 0) f.sqlBfo = sqlBfoKept_.byte;
        else if (q.isEmpty()) f.sqlBfo = -1;
        else f.sqlBfo = (f.mode == 4 || f.mode == 5) ? fs2b(q) : sql2b(q);
    }
    return f;
}

void frmMemcell::cmdToMMWorRM_Click(int index) {
    const CellFields f = fields();
    if (f.cell < 0) return;
    CurMemNr = f.cell;
    const QString nnn = cellText(CurMemNr);
    QString record = vacantRecord(CurMemNr);
    QString tag;
    if (job_ != 4) {
        // Only a record of this model is built, so nothing else is asked
        // about, let alone sent.
        CellProblem problem = CellProblem::None;
        const std::optional<QString> built = buildCellRecord(RxType, f, MaxMemNr, &problem);
        if (!built) {
            // Fields taken from a record that does not suit the receiver stay
            // empty where its codes mean nothing here; a value out of its range
            // is the user's to mend, whatever record it came from.
            const RecordCheck loaded = checkRecord(loadedRecord_, RxType);
            if (index == 1 && job_ != 2 && problem == CellProblem::NotChosen && loaded.fit != RecordFit::Fits)
                dialogs::message(memtext::recordRefusal(loaded, loadedCell_), dialogs::Buttons::Ok, dialogs::Icon::Exclamation,
                                 memtext::MemoryNotChangedTitle);
            else
                dialogs::message(memtext::InputError, dialogs::Buttons::Ok, dialogs::Icon::Exclamation,
                                 memtext::RangeErrorTitle);
            return;
        }
        record = *built;
        tag = ui->txtMemtag->text();
    }
    const bool empty = job_ == 4;
    if (index == 0) {
        const QString q = empty ? QStringLiteral("You want to empty the MemMan\nWindow cell %1").arg(nnn)
                                : QStringLiteral("You want to fill the MemMan\nWindow row %1 with the\nsettings shown").arg(nnn);
        if (!askYes(q, QStringLiteral("Adapt MemMan Window"))) return;
    } else {
        const QString q = empty ? QStringLiteral("You want to empty the receiver\nmemory cell %1").arg(nnn)
                                : QStringLiteral("You want to fill the receiver\nmemory cell %1 with the\nsettings shown").arg(nnn);
        if (!askYes(q, QStringLiteral("Adapt Receiver Memory"))) return;
        bool taken = false;
        if (AR7030A) taken = AR7030A->Memory(CurMemNr, record);
        else if (NRD535A) taken = NRD535A->Memory(CurMemNr, record);
        else if (NRD545A) taken = NRD545A->Memory(CurMemNr, record);
        // The write gets no answer: the cell counts as written once the
        // receiver answers a question after it.
        if (taken && !receiverAnswers(AR7030A.get(), NRD535A.get(), NRD545A.get())) {
            dialogs::message(takeRxNoticeText() + QStringLiteral("\n\n") + memtext::FillUnconfirmed.arg(nnn),
                             dialogs::Buttons::Ok, dialogs::Icon::Exclamation, memtext::MemoryNotChangedTitle);
            return;
        }
        if (!taken) {
            QString why = QStringLiteral("The receiver did not take\nmemory cell %1:\nnothing was changed").arg(nnn);
            if (NRD545A && !nrd::memoryCommand545(CurMemNr, record))
                why += QStringLiteral("\n(the NRD-545 cannot clear a channel)");
            dialogs::message(why, dialogs::Buttons::Ok, dialogs::Icon::Exclamation,
                             memtext::MemoryNotChangedTitle);
            return;
        }
    }
    MemImage.setRecord(CurMemNr, record);
    MemImage.setTag(CurMemNr, tag);
    MemImage.setModified(true);
    if (frmMemman* m = forms::loaded<frmMemman>()) m->formatmemx2list(CurMemNr);
    if (index == 0)
        inform(QStringLiteral("MemMan Window row\n%1 is now updated").arg(nnn), QStringLiteral("MemMan Window changed"));
    else
        inform(QStringLiteral("Receiver memory cell\n%1 is now updated").arg(nnn),
               QStringLiteral("Receiver memory is changed"));
}

void frmMemcell::cmdCancel_Click() { unload(); }

} // namespace dovrane
