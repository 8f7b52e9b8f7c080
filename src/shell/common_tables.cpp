#include "shell/common_tables.h"
#include "shell/globals.h"

#include <array>

namespace dovrane {

namespace {

struct KindRow {
    const char* dir;
    const char* prefix;
    const char* mask;
    const char* defaultName;
};

// Sub-folders end in "/" so that DataFolder & dir & name is a path.
constexpr std::array<KindRow, 15> kKinds{{
    {"", "", "", ""},                                                   // 0 database source
    {"BDXC/", "BDX_", "BDX_*TOE.TXT;ADX_*TOW.TXT;ILG_*TOW.TXT", ""},     // 1 BDXC list
    {"OWN/", "OWN_", "OWN_*.TXT", ""},                                   // 2 own list
    {"RX2DB/", "", "*.FTL", ""},                                         // 3 station-database list
    {"LOG/", "LOG_", "LOG_*.TXT", "log_xyzxyzxyzxyz.txt"},               // 4 log
    {"RX2DB/", "", "*.FTL", ""},                                         // 5 tracking list
    {"SAN/", "SAN_", "SAN_*.TXT", "san_xyzxyzxyzxyz.txt"},               // 6 spectrum scan
    {"PAN/", "PAN_", "PAN_*.TXT", "pan_xyzxyzxyzxyz.txt"},               // 7 propagation
    {"MEM/", "MEM_", "MEM_#*.TXT", "mem_#xyzxyzxyzxy.txt"},              // 8 memory cells
    {"FSP/", "FSP_", "FSP_*.TXT", "fsp_xyzxyzxyzxyz.txt"},               // 9 scratchpad
    {"F320/", "", "*.320", ""},                                          // 10 .320 list
    {"SFL/", "SFL_", "SFL_*.TXT", "sfl_xyzxyzxyzxyz.txt"},               // 11 scan list
    {"SFP/", "SFP_", "SFP_*.TXT", "sfp_xyzxyzxyzxyz.txt"},               // 12 scan pairs
    {"RTTY/", "RTY_", "RTY_*.TXT", "rty_xyzxyzxyzxyz.txt"},              // 13 RTTY text
    {"PAN/", "PAN_", "PAN_*.TXT", ""},                                   // 14 propagation to print
}};

constexpr std::array<const char*, 9> kRegions{"NA", "CA", "SA", "EU", "AF", "ME", "AS", "AU", "PA"};

constexpr std::array<const char*, 19> kSteps{"0.001", "0.002", "0.005", "0.01", "0.02", "0.05", "0.1",
                                             "0.2",   "0.5",   "1",     "2",    "3",    "5",    "9",
                                             "10",    "12.5",  "25",    "50",   "100"};

struct ReceiverRow {
    const char* caption;
    int r, g, b;
};
constexpr std::array<ReceiverRow, 5> kReceivers{{
    {"No RX", 170, 170, 170},
    {"AR7030", 144, 144, 255},
    {"NRD535", 255, 128, 128},
    {"RX320", 128, 192, 128},
    {"NRD545", 255, 0, 0},
}};

QString withRxDigit(const char* text, int rxType) {
    QString s = QString::fromLatin1(text);
    if (rxType >= 0 && rxType <= 9) s.replace(QLatin1Char('#'), QString::number(rxType));
    return s;
}

} // namespace

void initcommontables() {
    for (size_t i = 0; i < RegionCodes.size(); ++i) RegionCodes[i] = QString::fromLatin1(kRegions[i]);
    for (QString& s : StepTable) s.clear();
    for (size_t i = 0; i < kSteps.size(); ++i) StepTable[i] = QString::fromLatin1(kSteps[i]);
    for (size_t k = 0; k < kKinds.size(); ++k) {
        FileKindDir[k] = QString::fromLatin1(kKinds[k].dir);
        FileKindPrefix[k] = QString::fromLatin1(kKinds[k].prefix);
        FileKindMask[k] = QString::fromLatin1(kKinds[k].mask);
        FileKindDefaultName[k] = QString::fromLatin1(kKinds[k].defaultName);
    }
}

QString fileKindMaskFor(int kind, int subKind, int rxType) {
    if (kind < 0 || kind >= int(kKinds.size())) return QString();
    if (kind == 3) {
        if (subKind == 1) return QStringLiteral("ILG*.FTL");
        if (subKind == 2) return QStringLiteral("AERO*.FTL");
    }
    return withRxDigit(kKinds[size_t(kind)].mask, rxType);
}

QString fileKindDefaultNameFor(int kind, int rxType) {
    if (kind < 0 || kind >= int(kKinds.size())) return QString();
    return withRxDigit(kKinds[size_t(kind)].defaultName, rxType);
}

void setFileKindPaths() {
    if (FileKindDir[1].isEmpty()) initcommontables();
    for (int k = 1; k <= 14; ++k) FileKindPath[size_t(k)] = DataFolder + FileKindDir[size_t(k)];
}

QString receiverCaption(int rxType) {
    if (rxType < 0 || rxType >= int(kReceivers.size())) return QString();
    return QString::fromLatin1(kReceivers[size_t(rxType)].caption);
}

QColor receiverColour(int rxType) {
    if (rxType < 0 || rxType >= int(kReceivers.size())) return QColor();
    const ReceiverRow& r = kReceivers[size_t(rxType)];
    return QColor(r.r, r.g, r.b);
}

} // namespace dovrane
