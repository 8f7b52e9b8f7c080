#pragma once
// Station tracking: follows the receiver's frequency through a station list
// and shows the stations listed near it, which are on the air and which aim
// at the listener's area, with their position, distance and bearing,
// country or location.
#include "shell/form.h"
#include "stations/station_query.h"
#include "stations/tracking_core.h"

#include <QPointer>
#include <QTimer>
#include <array>
#include <memory>
#include <vector>

class QLabel;
class QPushButton;
class QRadioButton;
namespace Ui { class frmTracking; }

namespace dovrane {

class clsAR7030;
class NrdDriver;

class frmTracking : public Form {
    Q_OBJECT
public:
    frmTracking();
    ~frmTracking() override;

    // False when the file could not be read (the list stays as it was).
    bool loadtrackingfile();
    void updatetracking();
    void filltrackinghits();
    void filltrackingall();
    void filltrackingalthits(int page);
    void filltrackingaltall(int page);

    void cmdLoad_Click();
    void cmdExit_Click();
    void cmdShow_Click(int index);
    void optMousedial_Click(int index);
    void spnFreqstep_SpinDown();
    void spnFreqstep_SpinUp();
    void tmrDial7030_Timer();
    void txtFrequencyA_Enter();
    void lblBingo_Click(int index);

    QLabel* bingo(int r) const { return lblBingo.at(size_t(r)); }
    QPushButton* showButton(int p) const { return cmdShow.at(size_t(p)); }
    const std::vector<QString>& records() const { return records_; }
    const std::vector<QString>& shown() const { return shown_; }
    int trackIndex() const { return trackIndex_; }
    QTimer& tmrDial7030() { return tmrDial7030_; }

protected:
    void Form_Load() override;
    void Form_Unload() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    StationLoad loadList(const QString& name);
    void gather(bool hits);
    void showPage(int page, bool hits);
    void blankRows();
    void step(bool up);
    void leaveDial();
    void dialFailed();
    void setStepControlsVisible(bool on);
    bool hitsSelected() const;
    TrackAlternate alternate() const;

    std::unique_ptr<Ui::frmTracking> ui;
    std::array<QLabel*, 25> lblBingo{};
    std::array<QPushButton*, 7> cmdShow{};
    std::array<QRadioButton*, 2> optMousedial{};
    std::array<QRadioButton*, 2> optHitsall{};
    std::array<QRadioButton*, 4> optAlternates{};
    std::unique_ptr<clsAR7030> ar7030_;
    // An NRD's driver, a child of the port it talks to.
    QPointer<NrdDriver> nrd_;
    QTimer tmrDial7030_;
    std::vector<QString> records_;
    std::vector<QString> shown_;
    int trackIndex_ = -1;
    int dialRx_ = 0;        // the receiver type whose Dial mode is on, 0 for none
    bool inTick_ = false;
};

// The loader of tracking lists (kind 5).
bool loadtrackingfile();

} // namespace dovrane
