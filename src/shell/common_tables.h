#pragma once
// The program's fixed tables: region codes, tuning steps and the file kinds,
// plus the caption and colour that name each receiver type.
#include <QColor>
#include <QString>

namespace dovrane {

// Fills RegionCodes, StepTable and the file-kind table (FileKindDir,
// FileKindPrefix, FileKindMask, FileKindDefaultName). Kind 0 and the entries a
// kind does not use stay empty.
void initcommontables();

// The pattern a chooser lists for a kind, worked out from the fixed table so a
// chooser opened for one receiver never leaves its digit behind for the next:
// kind 8 gets the receiver-type digit in place of "#", kind 3 the pattern of
// its sub-kind (1 "ILG*.FTL", 2 "AERO*.FTL", otherwise "*.FTL").
QString fileKindMaskFor(int kind, int subKind, int rxType);
// The name a save chooser proposes for a kind; kind 8 gets the receiver-type digit.
QString fileKindDefaultNameFor(int kind, int rxType);

// FileKindPath(1..14) := DataFolder & FileKindDir(k). Fixed for the run.
void setFileKindPaths();

// The welcome window's receiver label: caption and text colour per receiver
// type 0..4; an empty caption for any other value.
QString receiverCaption(int rxType);
QColor receiverColour(int rxType);

} // namespace dovrane
