#include "shell/frmwelcome.h"
#include "ui_frmwelcome.h"

#include "platform/clock.h"
#include "platform/commport.h"
#include "platform/dialogs.h"
#include "resources/welcome_art.h"
#include "shell/common_tables.h"
#include "shell/frmabout.h"
#include "shell/globals.h"
#include "shell/settings_file.h"
#include "shell/show_panel.h"
#include "shell/title_clock.h"
#include "shell/unloadallforms.h"

#include <QTimer>

namespace dovrane {

namespace {

const QString kGoTitle = QStringLiteral("Go");
const QString kUnknownReceiver = QStringLiteral("Unknown receiver type \u2013 choose one in Set Up");
const QString kNoPanel = QStringLiteral("%1 is not available yet.");
const QString kNoSetUp = QStringLiteral("The set-up dialog is not available yet.");

const std::array<const char*, 5> kPanelNames{"The no-receiver panel", "The AR7030 panel", "The NRD-535 panel",
                                               "The RX-320 panel", "The NRD-545 panel"};

// The list windows the clock retitles.

struct ListTitle {
    const bool* flag;
    const char* prefix;
};
const std::array<ListTitle, 5> kListTitles{{
    {&BdxcOpen, "BDXC     LT : "},
    {&OwnOpen, "OWN     LT : "},
    {&Ilg2rxOpen, "ILG Query     LT : "},
    {&LogOpen, "Logging     LT : "},
    {&TrackingOpen, "Tracking     LT : "},
}};

} // namespace

frmWelcome::frmWelcome()
    : Form(34, &WelcomeOpen), ui(std::make_unique<Ui::frmWelcome>()), comm_(new CommPort(this)),
      showtime_(new QTimer(this)) {
    ui->setupUi(this);
    setFixedSize(size());
    Comm1 = comm_;

    const qreal dpr = devicePixelRatioF();
    ui->pic_rezeri->setPixmap(art::welcomeBackground(ui->pic_rezeri->size(), dpr));
    ui->imgSetup->setPixmap(art::welcomeButton(QStringLiteral("Set Up"), art::steelAccent(), ui->imgSetup->size(), dpr));
    ui->imgGo->setPixmap(art::welcomeButton(QStringLiteral("Go"), art::goAccent(), ui->imgGo->size(), dpr));
    ui->imgAbout->setPixmap(art::welcomeButton(QStringLiteral("About"), art::steelAccent(), ui->imgAbout->size(), dpr));
    ui->imgExit->setPixmap(art::welcomeButton(QStringLiteral("Exit"), art::exitAccent(), ui->imgExit->size(), dpr));

    connect(ui->imgGo, &ClickableLabel::clicked, this, [this] { imgGo_Click(); });
    connect(ui->imgSetup, &ClickableLabel::clicked, this, [this] { imgSetup_Click(); });
    connect(ui->imgAbout, &ClickableLabel::clicked, this, [this] { imgAbout_Click(); });
    connect(ui->imgExit, &ClickableLabel::clicked, this, [this] { imgExit_Click(); });

    showtime_->setObjectName(QStringLiteral("Showtime"));
    showtime_->setInterval(5000);
    connect(showtime_, &QTimer::timeout, this, [this] { Showtime_Timer(); });
}

frmWelcome::~frmWelcome() {
    if (Comm1 == comm_) Comm1 = nullptr;
}

frmWelcome* frmWelcome::start() {
    frmWelcome* w = forms::load<frmWelcome>();
    if (w && w->isLoaded()) w->show();
    return w;
}

void frmWelcome::Form_Load() {
    initcommontables();
    readPositionsFile();
    readSettingsFile();
    // Said once, before anything runs on what stands in place of the lines:
    // a Save in Set Up would otherwise overwrite them without the user knowing.
    const QString notice = settingsNotice();
    if (!notice.isEmpty())
        dialogs::message(notice, dialogs::Buttons::Ok, dialogs::Icon::Exclamation, QStringLiteral("Settings"));
    setlblGo(ConfiguredRxType);
    // The clock texts are there from the start, not only after the first tick.
    Showtime_Timer();
    showtime_->start();
}

void frmWelcome::Form_Unload() {
    // The window's own position goes into the file written just below.
    dovrane::storePosition(positionIndex(), leftTwips(), topTwips(), widthTwips());
    if (comm_->isOpen()) comm_->close();
    writePositionsFile();
    if (welcome::endProgram) welcome::endProgram();
}

void frmWelcome::setlblGo(int rxType) {
    const QString caption = receiverCaption(rxType);
    if (caption.isEmpty()) return;
    ui->lblGo->setText(caption);
    QPalette p = ui->lblGo->palette();
    p.setColor(QPalette::WindowText, receiverColour(rxType));
    ui->lblGo->setPalette(p);
}

void frmWelcome::imgGo_Click() {
    const int type = ConfiguredRxType;
    if (type < 0 || type >= int(welcome::panelOpeners.size())) {
        dialogs::message(kUnknownReceiver, dialogs::Buttons::Ok, dialogs::Icon::Exclamation, kGoTitle);
        return;
    }
    const auto& open = welcome::panelOpeners[size_t(type)];
    if (!open) {
        dialogs::message(kNoPanel.arg(QLatin1String(kPanelNames[size_t(type)])), dialogs::Buttons::Ok,
                         dialogs::Icon::Exclamation, kGoTitle);
        return;
    }
    // The type stays fixed for the run of the panel.
    RxType = type;
    hide();
    if (!open() && isLoaded()) show();
}

void frmWelcome::imgSetup_Click() {
    if (!welcome::setUpOpener) {
        dialogs::message(kNoSetUp, dialogs::Buttons::Ok, dialogs::Icon::Exclamation, QStringLiteral("Set Up"));
        return;
    }
    welcome::setUpOpener();
}

void frmWelcome::imgAbout_Click() {
    if (frmAbout* about = forms::load<frmAbout>()) about->showModal();
}

void frmWelcome::imgExit_Click() { unload(); }

void frmWelcome::Showtime_Timer() {
    const ClockTexts texts = clockTexts(Clock::now(), double(Settings[3]));
    LocalTimeText = texts.local;
    UtcTimeText = texts.utc;
    UtcStamp = texts.stamp;

    if (Form* panel = currentPanel()) panel->setWindowTitle(panelTitle(RxType, texts));
    for (const ListTitle& l : kListTitles) {
        if (!*l.flag) continue;
        if (Form* w = windowFor(l.flag)) w->setWindowTitle(listTitle(QLatin1String(l.prefix), texts));
    }
}

} // namespace dovrane
