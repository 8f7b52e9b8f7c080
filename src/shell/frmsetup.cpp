#include "shell/frmsetup.h"
#include "ui_frmsetup.h"

#include "drivers/model_tables.h"
#include "platform/busycursor.h"
#include "platform/commport.h"
#include "platform/dialogs.h"
#include "platform/one_line_text.h"
#include "shell/frmwelcome.h"
#include "shell/globals.h"
#include "platform/number_text.h"
#include "shell/settings_file.h"
#include "shell/unloadallforms.h"

#include <QButtonGroup>
#include <QFocusEvent>
#include <QPointer>
#include <QSerialPortInfo>
#include <QShortcut>
#include <algorithm>
#include <cmath>

namespace dovrane {

namespace {

void setUpClosed() { emit setUpNotifier().closed(); }

enum class Rule { Folder, Latitude, Longitude, TimeDifference, Number };
enum class Shown { AsStored, BlankSigned, Plain, TwoDigits };

const QString kDefault = QStringLiteral("Default");
const QStringList kListSize{QStringLiteral("Range is between"), QStringLiteral("1 and 30 (x 1000)")};
const QStringList kLevel{QStringLiteral("Level setting should"), QStringLiteral("be between 0 and 99")};

QString shownText(double value, Shown shown) {
    switch (shown) {
    case Shown::BlankSigned: return numText(float(value));
    case Shown::Plain: return numText(float(value)).trimmed();
    case Shown::TwoDigits: return formatPattern(value, QStringLiteral("00"));
    case Shown::AsStored: break;
    }
    return QString();
}

// An absolute path without characters that would break the settings file's
// lines or be taken for a separator from another system.
bool validFolder(const QString& folder) {
    if (!folder.startsWith(QLatin1Char('/')) || !folder.endsWith(QLatin1Char('/'))) return false;
    return !folder.contains(QLatin1Char('\\')) && !holdsControlCharacter(folder);
}

// "5", "-3.5", " 5.5" or "h:mm": the minutes count towards the whole value and
// take its sign, so "5:30" is 5.5 and "-3:30" is -3.5.
double timeDifferenceValue(const QString& text) {
    const int colon = text.indexOf(QLatin1Char(':'));
    if (colon < 0) return val(text);
    const QString hours = text.left(colon);
    const double h = val(hours);
    const double minutes = val(text.mid(colon + 1)) / 60.0;
    return hours.trimmed().startsWith(QLatin1Char('-')) ? h - minutes : h + minutes;
}

// Digits, ":", "+", "-" and "." with a blank allowed first; a colon must be
// followed by exactly two digits of minutes below 60.
bool timeDifferenceCharacters(const QString& text) {
    for (int i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c.isDigit() && c.unicode() < 128) continue;
        if (c == QLatin1Char(':') || c == QLatin1Char('+') || c == QLatin1Char('-') || c == QLatin1Char('.')) continue;
        if (c == QLatin1Char(' ') && i == 0) continue;
        return false;
    }
    const int colon = text.indexOf(QLatin1Char(':'));
    if (colon < 0) return true;
    const QString minutes = text.mid(colon + 1);
    if (minutes.size() != 2 || !minutes[0].isDigit() || !minutes[1].isDigit()) return false;
    if (minutes.toInt() > 59) return false;
    const QString hours = text.left(colon);
    return std::any_of(hours.begin(), hours.end(), [](QChar c) { return c.isDigit(); }) &&
           !hours.contains(QLatin1Char('.'));
}

bool validDevice(const QString& device) {
    return !device.isEmpty() && !holdsControlCharacter(device);
}

void tell(const QString& text, const QString& title) {
    dialogs::message(text, dialogs::Buttons::Ok, dialogs::Icon::Exclamation, title);
}

void selectOnly(QButtonGroup* group, int id) {
    if (QAbstractButton* b = group->button(id)) {
        b->setChecked(true);
        return;
    }
    // A value with no button of its own: none is shown as chosen.
    group->setExclusive(false);
    for (QAbstractButton* b : group->buttons()) b->setChecked(false);
    group->setExclusive(true);
}

int nearest(float value) {
    const double r = vbRound(double(value));
    return (r >= -1000 && r <= 1000) ? int(r) : -1;
}

} // namespace

struct frmSetUp::Field {
    QLineEdit* edit;
    Rule rule;
    int index;               // Settings index of a number
    double lo, hi;
    Shown shown;
    QString defaultText;
    QStringList message;
    QString title;
    bool focusBack;
};

frmSetUp::frmSetUp() : Form(28, &SetUpOpen), ui(std::make_unique<Ui::frmSetUp>()) {
    ui->setupUi(this);

    optRxtype = {ui->optRxtype_0, ui->optRxtype_1, ui->optRxtype_2, ui->optRxtype_3, ui->optRxtype_4};
    optCom = {ui->optCom_0, ui->optCom_1, ui->optCom_2, ui->optCom_3, ui->optCom_4};
    optRxtargetarea = {ui->optRxtargetarea_0, ui->optRxtargetarea_1, ui->optRxtargetarea_2,
                       ui->optRxtargetarea_3, ui->optRxtargetarea_4, ui->optRxtargetarea_5,
                       ui->optRxtargetarea_6, ui->optRxtargetarea_7, ui->optRxtargetarea_8};
    chkNRDoptions = {ui->chkNRDoptions_0, ui->chkNRDoptions_1, ui->chkNRDoptions_2, ui->chkNRDoptions_3};
    chkMute = {ui->chkMute_0, ui->chkMute_1};
    txtARoptions = {ui->txtARoptions_0, ui->txtARoptions_1, ui->txtARoptions_2, ui->txtARoptions_3};
    txtFreqcorr = {ui->txtFreqcorr_0, ui->txtFreqcorr_1};
    txtAgctc = {ui->txtAgctc_0, ui->txtAgctc_1, ui->txtAgctc_2};
    txtNrbc = {ui->txtNrbc_0, ui->txtNrbc_1};
    fraRx = {ui->fraRx_0, ui->fraRx_1, ui->fraRx_2, ui->fraRx_3, ui->fraRx_4};

    auto group = [this](auto& buttons) {
        auto* g = new QButtonGroup(this);
        for (int i = 0; i < int(buttons.size()); ++i) g->addButton(buttons[size_t(i)], i);
        return g;
    };
    grpRxtype = group(optRxtype);
    grpCom = group(optCom);
    grpRxtargetarea = group(optRxtargetarea);
    connect(grpRxtype, &QButtonGroup::idToggled, this, [this](int id, bool on) {
        if (on) optRxtype_Click(id);
    });
    connect(grpCom, &QButtonGroup::idToggled, this, [this](int id, bool on) {
        if (on) optCom_Click(id);
    });
    connect(grpRxtargetarea, &QButtonGroup::idToggled, this, [](int id, bool on) {
        if (on) Settings[2] = float(id);
    });

    for (int i = 0; i < 4; ++i)
        connect(chkNRDoptions[size_t(i)], &QCheckBox::toggled, this, [i](bool on) { Settings[size_t(10 + i)] = on ? 1 : 0; });
    for (int i = 0; i < 2; ++i)
        connect(chkMute[size_t(i)], &QCheckBox::toggled, this, [i](bool on) { Settings[size_t(18 + i)] = on ? 1 : 0; });
    connect(ui->chkDisableLLLR, &QCheckBox::toggled, this, [](bool on) { Settings[22] = on ? 1 : 0; });
    connect(ui->chkDisableLL, &QCheckBox::toggled, this, [](bool on) { Settings[30] = on ? 1 : 0; });

    const QStringList filter{QStringLiteral("Filter number should be"), QStringLiteral("within the range 1 to 6")};
    const QStringList correction{QStringLiteral("Frequency error correction"), QStringLiteral("should be within the range"),
                                 QStringLiteral("+ 1000 to - 1000 Hz")};
    const QStringList agc{QStringLiteral("AGC time constant factor"), QStringLiteral("should be between 1 and 9")};
    const QStringList nrbc{QStringLiteral("Noise reduction or Beat Canceller effect"),
                           QStringLiteral("should be between 0 and 255")};
    const QString folderDefault = defaultDataFolder();

    fields_ = {
        {ui->txtDirpath, Rule::Folder, 0, 0, 0, Shown::AsStored, folderDefault,
         {QStringLiteral("Invalid path"), QStringLiteral("Example ") + folderDefault}, kDefault, true},
        {ui->txtRxlatitude, Rule::Latitude, 0, 0, 0, Shown::AsStored, DefaultLatitude,
         {QStringLiteral("Invalid Latitude"), QStringLiteral("Example: ") + DefaultLatitude}, kDefault, true},
        {ui->txtRxlongitude, Rule::Longitude, 0, 0, 0, Shown::AsStored, DefaultLongitude,
         {QStringLiteral("Invalid Longitude"), QStringLiteral("Example: ") + DefaultLongitude}, kDefault, true},
        {ui->txtLt2utc, Rule::TimeDifference, 3, -13, 13, Shown::BlankSigned, QStringLiteral("0"),
         {QStringLiteral("Range is between"), QStringLiteral("+13 and -13 h")}, QStringLiteral("Default 1"), true},
        {ui->txtDimbdxc, Rule::Number, 4, 1, 30, Shown::BlankSigned, QStringLiteral("2"), kListSize, kDefault, true},
        {ui->txtDimown, Rule::Number, 5, 1, 30, Shown::BlankSigned, QStringLiteral("1"), kListSize, kDefault, true},
        {ui->txtDimlog, Rule::Number, 6, 1, 30, Shown::BlankSigned, QStringLiteral("1"), kListSize, kDefault, true},
        {ui->txtDimilg, Rule::Number, 7, 1, 30, Shown::BlankSigned, QStringLiteral("15"), kListSize, kDefault, true},
    };
    for (int i = 0; i < 4; ++i)
        fields_.push_back({txtARoptions[size_t(i)], Rule::Number, 14 + i, 1, 6, Shown::BlankSigned,
                           QStringLiteral("1"), filter, kDefault, false});
    for (int i = 0; i < 2; ++i)
        fields_.push_back({txtFreqcorr[size_t(i)], Rule::Number, 20 + i, -1000, 1000, Shown::BlankSigned,
                           QStringLiteral("0"), correction, kDefault, true});
    const std::array<const char*, 3> agcDefaults{"1", "3", "9"};
    for (int i = 0; i < 3; ++i)
        fields_.push_back({txtAgctc[size_t(i)], Rule::Number, 23 + i, 1, 9, Shown::Plain,
                           QString::fromLatin1(agcDefaults[size_t(i)]), agc, kDefault, false});
    const std::array<const char*, 2> nrbcDefaults{"50", "20"};
    for (int i = 0; i < 2; ++i)
        fields_.push_back({txtNrbc[size_t(i)], Rule::Number, 26 + i, 0, 255, Shown::Plain,
                           QString::fromLatin1(nrbcDefaults[size_t(i)]), nrbc, kDefault, false});
    fields_.push_back({ui->txtLevelL, Rule::Number, 28, 0, 99, Shown::TwoDigits, QStringLiteral("0"), kLevel, kDefault, true});
    fields_.push_back({ui->txtLevelR, Rule::Number, 29, 0, 99, Shown::TwoDigits, QStringLiteral("0"), kLevel, kDefault, true});
    fields_.push_back({ui->txtLevel, Rule::Number, 31, 0, 99, Shown::TwoDigits, QStringLiteral("0"), kLevel, kDefault, true});

    for (Field& f : fields_) f.edit->installEventFilter(this);

    // The device behind each COM number, offered from the ports the system knows.
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts())
        ui->cmbComDevice->addItem(info.systemLocation());
    ui->cmbComDevice->setInsertPolicy(QComboBox::NoInsert);
    // An editable combo box keeps the focus itself and passes keys to its line edit.
    ui->cmbComDevice->installEventFilter(this);
    connect(ui->cmbComDevice, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (index >= 0 && !checking_) commitPortDevice();
        showDeviceStart();
    });

    // Escape closes the window as its Close button does, as in any dialog.
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, [this] { cmdClose_Click(); });

    connect(ui->cmdSave, &QPushButton::clicked, this, [this] { cmdSave_Click(); });
    connect(ui->cmdClose, &QPushButton::clicked, this, [this] { cmdClose_Click(); });
    connect(ui->cmdReload, &QPushButton::clicked, this, [this] { cmdReload_Click(); });
}

frmSetUp::~frmSetUp() = default;

void frmSetUp::Form_Load() {
    closing_ = false;
    loadStep();
}

void frmSetUp::loadStep() {
    ui->txtDirpath->setText(ConfiguredDataFolder);
    ui->txtRxlatitude->setText(RxLatitude);
    ui->txtRxlongitude->setText(RxLongitude);

    selectOnly(grpRxtype, ConfiguredRxType);
    selectOnly(grpCom, nearest(Settings[1]) - 1);
    selectOnly(grpRxtargetarea, nearest(Settings[2]));
    showPortDevice();

    for (Field& f : fields_)
        if (f.rule == Rule::TimeDifference || f.rule == Rule::Number)
            f.edit->setText(shownText(double(Settings[size_t(f.index)]), f.shown));

    for (int i = 0; i < int(fraRx.size()); ++i) fraRx[size_t(i)]->setVisible(i == ConfiguredRxType);

    for (int i = 0; i < 4; ++i) chkNRDoptions[size_t(i)]->setChecked(nearest(Settings[size_t(10 + i)]) == 1);
    for (int i = 0; i < 2; ++i) chkMute[size_t(i)]->setChecked(nearest(Settings[size_t(18 + i)]) == 1);
    ui->chkDisableLLLR->setChecked(nearest(Settings[22]) == 1);
    ui->chkDisableLL->setChecked(nearest(Settings[30]) == 1);
}

void frmSetUp::Form_Unload() {
    // Closing by the window's close box or by Close moves no focus: the value
    // still being typed is checked here so that it is not lost.
    commitFocusedField();
    closing_ = true;
    // The tables first: the windows told next show their texts.
    followOptionTexts();
    setUpClosed();
}

void frmSetUp::optRxtype_Click(int index) {
    ConfiguredRxType = index;
    // The welcome window shows the receiver type that its Go will start.
    if (frmWelcome* welcome = forms::loaded<frmWelcome>()) welcome->setlblGo(index);
    for (int i = 0; i < int(fraRx.size()); ++i) fraRx[size_t(i)]->setVisible(i == index);
}

void frmSetUp::optCom_Click(int index) {
    Settings[1] = float(index + 1);
    showPortDevice();
}

void frmSetUp::showPortDevice() {
    const int port = nearest(Settings[1]);
    const QSignalBlocker block(ui->cmbComDevice);
    ui->cmbComDevice->setEnabled(port >= 1 && port <= 5);
    ui->cmbComDevice->setCurrentIndex(-1);
    ui->cmbComDevice->setEditText(port >= 1 && port <= 5 ? serialDeviceForPort(DataFolder, port) : QString());
    showDeviceStart();
}

void frmSetUp::showDeviceStart() {
    // A device path longer than the box shows from its start, where the
    // paths differ ("/dev/serial/by-id/usb-..."); the whole path is the tip.
    if (QLineEdit* e = ui->cmbComDevice->lineEdit()) e->setCursorPosition(0);
    ui->cmbComDevice->setToolTip(ui->cmbComDevice->currentText());
}

bool frmSetUp::commitPortDevice() {
    const int port = nearest(Settings[1]);
    if (port < 1 || port > 5) return true;
    const QString device = ui->cmbComDevice->currentText().trimmed();
    const QString stored = serialDeviceForPort(DataFolder, port);
    if (device == stored) return true;
    checking_ = true;
    bool ok = true;
    QString error;
    if (!validDevice(device)) {
        showPortDevice();
        tell(QStringLiteral("Invalid device\nExample /dev/ttyUSB0"), kDefault);
        ok = false;
    } else if (!setSerialDeviceForPort(DataFolder, port, device, &error)) {
        showPortDevice();
        tell(QStringLiteral("The device of COM %1 could not be stored in\n%2serialports.ini\n%3")
                 .arg(port)
                 .arg(DataFolder, error),
             QStringLiteral("Error"));
        ok = false;
    }
    checking_ = false;
    return ok;
}

frmSetUp::Field* frmSetUp::fieldFor(QObject* widget) {
    for (Field& f : fields_)
        if (f.edit == widget) return &f;
    return nullptr;
}

bool frmSetUp::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusOut && !checking_ && !closing_ && isLoaded()) {
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        // Switching to another window or opening a menu is not leaving the field.
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) {
            if (Field* f = fieldFor(watched))
                checkField(*f);
            else if (watched == ui->cmbComDevice)
                commitPortDevice();
        }
    }
    return Form::eventFilter(watched, event);
}

bool frmSetUp::commitFocusedField() {
    if (checking_ || closing_) return true;
    QWidget* focused = focusWidget();
    if (!focused) return true;
    if (Field* f = fieldFor(focused)) return checkField(*f);
    if (focused == ui->cmbComDevice->lineEdit() || focused == ui->cmbComDevice) return commitPortDevice();
    return true;
}

bool frmSetUp::checkField(Field& f) {
    // Each value is a line of the settings file, and a number read up to a
    // line break would be taken without what follows it: a line break or
    // other control character is refused as any text the field cannot take.
    if (holdsControlCharacter(f.edit->text())) {
        refuse(f, f.rule == Rule::TimeDifference ? QStringLiteral("Default 2") : f.title);
        return false;
    }
    switch (f.rule) {
    case Rule::Folder: {
        QString text = f.edit->text();
        if (!text.isEmpty() && !text.endsWith(QLatin1Char('/'))) {
            text += QLatin1Char('/');
            f.edit->setText(text);
        }
        ConfiguredDataFolder = text;
        if (validFolder(text)) return true;
        break;
    }
    case Rule::Latitude:
        RxLatitude = f.edit->text();
        if (validLatitude(RxLatitude)) return true;
        break;
    case Rule::Longitude:
        RxLongitude = f.edit->text();
        if (validLongitude(RxLongitude)) return true;
        break;
    case Rule::TimeDifference:
        return checkTimeDifference(f);
    case Rule::Number: {
        const double value = val(f.edit->text());
        Settings[size_t(f.index)] = float(value);
        if (value >= f.lo && value <= f.hi) return true;
        break;
    }
    }
    refuse(f, f.title);
    return false;
}

bool frmSetUp::checkTimeDifference(Field& f) {
    const QString text = f.edit->text();
    double value = timeDifferenceValue(text);
    // Time zones differ from UTC by whole or half hours.
    if (value != std::floor(value)) value = std::floor(value) + 0.5;
    Settings[3] = float(value);
    if (text.isEmpty() || value < f.lo || value > f.hi) {
        refuse(f, QStringLiteral("Default 1"));
        return false;
    }
    if (!timeDifferenceCharacters(text)) {
        refuse(f, QStringLiteral("Default 2"));
        return false;
    }
    return true;
}

void frmSetUp::refuse(Field& f, const QString& title) {
    checking_ = true;
    f.edit->setText(f.defaultText);
    switch (f.rule) {
    case Rule::Folder: ConfiguredDataFolder = f.defaultText; break;
    case Rule::Latitude: RxLatitude = f.defaultText; break;
    case Rule::Longitude: RxLongitude = f.defaultText; break;
    case Rule::TimeDifference:
    case Rule::Number: Settings[size_t(f.index)] = float(val(f.defaultText)); break;
    }
    tell(f.message.join(QLatin1Char('\n')), title);
    if (f.focusBack && isLoaded() && !closing_) f.edit->setFocus(Qt::OtherFocusReason);
    checking_ = false;
}

void frmSetUp::cmdSave_Click() {
    if (!isLoaded()) return;
    // A refused value has just been replaced by its default and the user told
    // so: let them see it before anything is written.
    if (!commitFocusedField()) return;
    QString error;
    bool written = false;
    {
        BusyCursor busy;
        written = writeSettingsFile(&error);
    }
    if (!written) {
        tell(QStringLiteral("The settings could not be saved to\n%1\n%2").arg(configFilePath(SettingsFileName), error),
             QStringLiteral("Save INI"));
        return;
    }
    unload();
    tell(QStringLiteral("New INI data is now saved"), QStringLiteral("Save INI"));
}

void frmSetUp::cmdClose_Click() { unload(); }

void frmSetUp::cmdReload_Click() {
    if (!isLoaded()) return;
    commitFocusedField();
    loadStep();
    place();
}

void showSetUpDialog() { forms::load<frmSetUp>()->showModal(); }

SetUpNotifier& setUpNotifier() {
    static SetUpNotifier notifier;
    return notifier;
}

void showSetUpWindow() {
    frmSetUp* w = forms::load<frmSetUp>();
    w->show();
    w->raise();
    w->activateWindow();
}

} // namespace dovrane
