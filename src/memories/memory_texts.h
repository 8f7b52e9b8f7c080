#pragma once
// The messages of the memory manager and the cell editor.
#include "drivers/memory_record.h"
#include "drivers/model_tables.h"

#include <QString>

namespace dovrane::memtext {

inline const QString NoData = QStringLiteral("No data loaded in the\nMemMan Window");
inline const QString NoDataSort = QStringLiteral("No data loaded in the\nMemory Management Window");
inline const QString ChangeErrorTitle = QStringLiteral("Change Mem error");
inline const QString SaveErrorTitle = QStringLiteral("Save file error");
inline const QString SortEmptyTitle = QStringLiteral("No memory data to sort");
inline const QString SortQuestion =
    QStringLiteral("You want to sort the contents\nof the Memory Management\nwindow on frequency ?");
inline const QString SortTitle = QStringLiteral("Sort Memory data ");
inline const QString Sorted = QStringLiteral("Memory data is now sorted");
inline const QString SortedTitle = QStringLiteral("Memory data");
inline const QString ClsQuestion =
    QStringLiteral("Do you want to save the \ndata in the MemMan Window\nbefore clearing the Window");
inline const QString ClsTitle = QStringLiteral("Clearing MemMan Window");
inline const QString ExitQuestion = QStringLiteral("Do you want to save the contents\nof the Memory Management window");
inline const QString ExitTitle = QStringLiteral("Exit");
inline const QString InputError = QStringLiteral("Input Error");
inline const QString RangeErrorTitle = QStringLiteral(" \u00CBrror");

inline const QString FetchQuestion =
    QStringLiteral("Do you want to capture the receiver\nmemory and replace possible data in\nthe MemMan Window");
inline const QString FetchTitle = QStringLiteral("Fetch RX memory");
inline const QString Fetched = QStringLiteral("Rx memory is now loaded\nin the MemMan Window");
inline const QString FetchedTitle = QStringLiteral("Fetch Rx ready");
inline const QString FillQuestion =
    QStringLiteral("Are sure you want to overwrite the Receiver\nmemorycells  %1  to  %2\nwith the data from the MemMan Window");
inline const QString FillTitle = QStringLiteral("Fill Receiver Memory");
inline const QString Filled = QStringLiteral("MemMan data is now \nloaded in the Rx memory");
inline const QString FilledTitle = QStringLiteral("Fill Rx ready");
inline const QString NothingFilled = QStringLiteral("No memory cell was written:\nthe receiver's channels are as they were.");
inline const QString NoReceiverFill = QStringLiteral("No memory cell was written:\nno receiver is connected.");

// Where the receiver's own use of a channel, or its limits, change the result.
inline const QString StatusChannelFetched =
    QStringLiteral("Channel %1 is the program's status channel:\nevery status read overwrites it");
inline const QString StatusChannelFill = QStringLiteral(
    "Channel %1 is the program's status channel:\nthe next status read overwrites what is written there.\nFill it anyway ?\n(No fills the other cells and leaves this one)");
inline const QString StatusChannelLeft = QStringLiteral("Channel %1, the status channel, was left as it was.");
inline const QString StatusChannelTitle = QStringLiteral("Status channel");
inline const QString NotCleared =
    QStringLiteral("%1 vacant cell(s) left as they were in the receiver:\nthe NRD-545 cannot clear a channel");
inline const QString Refused = QStringLiteral("%1 cell(s) not written:\ntheir record does not suit this receiver");
inline const QString RefusedForOption =
    QStringLiteral("%1 cell(s) not written:\ntheir record needs the option \"%2\",\nwhich the set-up says this receiver lacks");
inline const QString UnreadSkipped = QStringLiteral("%1 unread cell(s) not written:\n%2");
inline const QString EmptySkipped =
    QStringLiteral("%1 empty cell(s) not written,\ntheir channels are left as they were:\n%2");
inline const QString FetchLost =
    QStringLiteral("The receiver stopped answering at cell %1.\nCells %1 to %2 are marked unread.");
inline const QString FetchNothing =
    QStringLiteral("No memory cell was read:\nthe MemMan Window is left as it was.");
// After the notice that the receiver does not answer.
inline const QString FillLost = QStringLiteral("Cell(s) %1 were not written.");
inline const QString FillUnconfirmed = QStringLiteral("Cell(s) %1 were sent, but not confirmed.");
inline const QString SaveUnread = QStringLiteral(
    "Cell(s) %1 were not read from the receiver:\nthe file keeps them as empty cells,\nwhich Fill passes over.\nSave anyway ?");
inline const QString SaveUnreadTitle = QStringLiteral("Unread cells");
inline const QString ScanStopped = QStringLiteral("The memory scan has stopped");
inline const QString FetchStoppedTitle = QStringLiteral("Fetch RX memory");
inline const QString FillStoppedTitle = QStringLiteral("Fill Receiver Memory");
inline const QString Unread = QStringLiteral("unread");
inline const QString StatusChannelTip = QStringLiteral("The program's status channel: every status read overwrites it");
inline const QString NothingToPrintTitle = QStringLiteral("Nothing to Print");
inline const QString PrintRangeErrorTitle = QStringLiteral("\u00CBrror");
inline const QString PrintQuestion =
    QStringLiteral("You want to print the contents\nof memorycells  %1  to  %2\nincluding the filled-in alpha tags");
inline const QString PrintTitle = QStringLiteral("Memories to Printer");
inline const QString Unreadable = QStringLiteral("The file %1\ncould not be read.");
inline const QString LoadTitle = QStringLiteral("Load File");
inline const QString LoadMemoryTitle = QStringLiteral("Load Memory File");
inline const QString NotRecords =
    QStringLiteral("%1 line(s) of the file %2\nwere not memory records:\ntheir cells are left empty.");
inline const QString NoRecords = QStringLiteral(
    "The file %2 holds no memory records:\n%1 line(s) were not memory records.\nThe MemMan Window is left as it was.");
// The first lines of a box about a record the receiver cannot take.
inline const QString NotSuited = QStringLiteral("The record of memory cell %1\ndoes not suit this receiver:");
inline const QString NeedsOption =
    QStringLiteral("The record of memory cell %1\nneeds the option \"%2\",\nwhich the set-up says this receiver lacks:");
inline const QString NothingChanged = QStringLiteral("nothing was changed");
inline const QString NotSetTitle = QStringLiteral("Receiver is not changed");
inline const QString ScanPassesOver = QStringLiteral("the scan passes over every\ncell that does not suit it");
inline const QString ScanTitle = QStringLiteral("Memory Scan");
inline const QString MemoryNotChangedTitle = QStringLiteral("Receiver memory is not changed");

// Why the record of a cell does not go to the receiver (check as
// checkRecord gave it), followed by what comes of it.
inline QString recordRefusal(const RecordCheck& check, int cell, const QString& outcome = NothingChanged) {
    const QString nnn = QStringLiteral("%1").arg(cell, 3, 10, QLatin1Char('0'));
    const QString why = check.fit == RecordFit::LacksOption ? NeedsOption.arg(nnn, optionName(check.option))
                                                            : NotSuited.arg(nnn);
    return why + QLatin1Char('\n') + outcome;
}

} // namespace dovrane::memtext
