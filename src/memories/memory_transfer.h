#pragma once
// Moving memory channels between the image and the receiver: the fetch of
// channels 0..last, the fill of a range of cells, and the setting of the
// receiver to one cell (Set R2M). Talks to the receiver through a driver
// object of its own, of the model the program runs with.
//
// A fetch or fill lets events run between channels (the window repaints its
// progress, other windows go on), and stops when the receiver stops
// answering: the cells not read are marked unread, and nothing that was not
// read is ever written back.
//
// A channel write gets no answer from any of the receivers, so a fill, a
// cell sent from the editor and Set R2M count as done only once the receiver
// has answered a question after the writes.
#include <QList>
#include <QString>
#include <functional>
#include <map>
#include <memory>

namespace dovrane {

class CommPort;
class MemoryImage;
class clsAR7030;
class clsNRD535;
class clsNRD545;
class clsRX320;

class MemoryTransfer {
public:
    MemoryTransfer(int rxType, CommPort& port);
    ~MemoryTransfer();
    MemoryTransfer(const MemoryTransfer&) = delete;
    MemoryTransfer& operator=(const MemoryTransfer&) = delete;

    // What the window does between channels: show the cell being moved and
    // let events run; alive() is asked after every wait and ends the run
    // (quietly) once the window has gone.
    struct Hooks {
        std::function<void(int cell)> progress;
        std::function<bool()> alive;
    };

    struct Result {
        int moved = 0;          // cells read, or written
        bool lost = false;      // the receiver stopped answering
        // The first cell not moved when lost or stopped: a fill never sent it
        // (or its write could not go out) nor any cell after it.
        int stoppedAt = -1;
        // A fill that lost the receiver: the cells sent after its last
        // answer, which may or may not be in the receiver.
        QList<int> unconfirmed;
        // The cell a fill was told to leave as it is, -1 for none.
        int left = -1;
        bool stopped = false;   // the window went away in the middle
        int notCleared = 0;     // NRD-545: vacant cells the receiver cannot clear
        int refused = 0;        // records that do not suit this receiver
        // Of those, the records of this model refused for an option the
        // receiver lacks, by the option's Settings index.
        std::map<int, int> lackingOption;
        QList<int> unreadSkipped;  // unread cells, never written
        QList<int> emptySkipped;   // cells never filled, never written
    };

    // Reads channels 0..last into image; last is clamped to the image. The
    // image is made anew (every cell and tag empty) when the first channel
    // has been read: a fetch that reads nothing leaves it as it was. Lost or
    // stopped part-way, the cells from stoppedAt to last are marked unread.
    Result fetch(MemoryImage& image, int last, const Hooks& hooks);
    // Writes cells from..to (from <= to) of image. A cell that holds nothing
    // (never filled, or unread) is not written: only a vacant record clears
    // a channel. A receiver already known to be silent is asked before the
    // first write; the writes are followed by a question every few seconds
    // and after the last one, and the run stops at the first one unanswered.
    // Cell `leave` (the status channel, at the user's word) is not written.
    Result fill(const MemoryImage& image, int from, int to, const Hooks& hooks, int leave = -1);
    // What Set R2M made of a record.
    enum class SetResult {
        Sent,       // the receiver was set to it, and answered after
        Passed,     // nothing to set: an empty or vacant cell, or one outside the tuning limits
        NotOfModel, // not a record this receiver takes (checkRecord says why): nothing was sent
        NotTaken,   // the receiver did not take it, or gave no answer after
    };
    // Sets the receiver to record (Set R2M) and shows it on the panel. Only a
    // record of this receiver's model is sent (isRecordOf, the check of Fill).
    SetResult setR2M(const QString& record);

    int rxType() const { return rxType_; }

    // A short question to the receiver (the RX-320: its signal level); true
    // when it answered.
    bool answers();

private:
    int rxType_;
    std::unique_ptr<clsAR7030> AR7030A;
    std::unique_ptr<clsNRD535> NRD535A;
    std::unique_ptr<clsNRD545> NRD545A;
    std::unique_ptr<clsRX320> RX320A;
};


} // namespace dovrane
