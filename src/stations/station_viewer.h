#pragma once
// What the two station-list viewers share: one list of their own, the query
// window's search over it, a click or Enter that tunes, and the timed scan
// through the shown entries. frmIlg2rx and frmAero2rx differ only in their
// controls, their texts and the table of differences they pass here.
#include "shell/form.h"
#include "stations/station_query.h"

#include <QTimer>

class QLabel;
class QLineEdit;
class QListView;
class QPushButton;
class QStringListModel;

namespace dovrane {

class ColumnTitles;

class StationViewer : public Form {
    Q_OBJECT
public:
    struct Texts {
        StationListKind kind;
        QString loadingCaption;    // "ILG Radio"
        QString loadedCaption;     // "ILG Radio Database "
        int subKind;               // of file kind 3
        int maxDelay;              // seconds
    };
    struct Controls {
        ColumnTitles* titles;      // the header over the list
        QListView* list;
        QLineEdit* txtFrequencyA;
        QPushButton* cmdLoad;
        QPushButton* cmdQuery;
        QPushButton* cmdSort;      // nullptr in the aero viewer
        QPushButton* cmdScan;
        QLineEdit* txtScandelay;
        QPushButton* cmdRezeri;
        QPushButton* cmdExit;
        QLabel* lblProgress;
        QLabel* lblProcent;
    };

    StationViewer(int positionIndex, bool* openFlag, Texts texts);
    ~StationViewer() override;

    // The loader of the chosen file (FileKindPath(3) & FileKindName(3)); false
    // when it could not be read, which leaves the list as it was.
    bool loadList();
    // The query window's search; the query's texts come back as the search
    // left them (defaults, exchanged range).
    void search(StationQuery& query);
    // Shows the whole records of the result (after the sort).
    void showWholeResult();

    void cmdLoad_Click();
    void cmdQuery_Click();
    void cmdScan_Click();
    void tmrScan_Timer();
    void list_Click(int row);
    void txtFrequencyA_Enter();
    void cmdExit_Click();

    StationStore& store() { return store_; }
    QStringList entries() const;
    int scanPos() const { return scanPos_; }
    bool scanning() const { return scanOn_; }
    QTimer& tmrScan() { return tmrScan_; }

protected:
    void setupViewer(const Controls& c);
    void Form_Load() override;
    void Form_Unload() override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    // The query window of this viewer.
    virtual Form* queryWindow(bool loadIt) = 0;
    virtual void showQueryWindow() = 0;

private:
    // resultLines: the search's lines rather than whole records.
    void setEntries(const QStringList& lines, bool resultLines = false);
    void setScanButtons(bool enabled);
    void stopScan();

    Texts texts_;
    Controls c_{};
    QStringListModel* model_ = nullptr;
    StationStore store_;
    QTimer tmrScan_;
    int scanPos_ = 0;
    double lastFreq_ = 0;
    bool scanOn_ = false;
    bool inTick_ = false;
};

// The sort window's choice.
inline int ListSortKey = 0;

} // namespace dovrane
