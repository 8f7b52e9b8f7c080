// The fixed tables and the file kinds.
#include "shell/common_tables.h"
#include "shell/globals.h"
#include "support/test_env.h"

namespace dovrane::test {
namespace {

using CommonTablesTest = AppTest;

TEST_F(CommonTablesTest, StepsAndRegions) {
    initcommontables();
    EXPECT_EQ(StepTable[0], QStringLiteral("0.001"));
    EXPECT_EQ(StepTable[12], QStringLiteral("5"));
    EXPECT_EQ(StepTable[15], QStringLiteral("12.5"));
    EXPECT_EQ(StepTable[18], QStringLiteral("100"));
    EXPECT_TRUE(StepTable[19].isEmpty());
    EXPECT_TRUE(StepTable[20].isEmpty());
    EXPECT_EQ(RegionCodes[0], QStringLiteral("NA"));
    EXPECT_EQ(RegionCodes[3], QStringLiteral("EU"));
    EXPECT_EQ(RegionCodes[8], QStringLiteral("PA"));
}

TEST_F(CommonTablesTest, FileKindTable) {
    initcommontables();
    struct Row {
        int kind;
        const char *dir, *prefix, *mask, *name;
    };
    const Row rows[] = {
        {0, "", "", "", ""},
        {1, "BDXC/", "BDX_", "BDX_*TOE.TXT;ADX_*TOW.TXT;ILG_*TOW.TXT", ""},
        {3, "RX2DB/", "", "*.FTL", ""},
        {4, "LOG/", "LOG_", "LOG_*.TXT", "log_xyzxyzxyzxyz.txt"},
        {5, "RX2DB/", "", "*.FTL", ""},
        {8, "MEM/", "MEM_", "MEM_#*.TXT", "mem_#xyzxyzxyzxy.txt"},
        {10, "F320/", "", "*.320", ""},
        {13, "RTTY/", "RTY_", "RTY_*.TXT", "rty_xyzxyzxyzxyz.txt"},
        {14, "PAN/", "PAN_", "PAN_*.TXT", ""},
    };
    for (const Row& r : rows) {
        EXPECT_EQ(FileKindDir[size_t(r.kind)], QLatin1String(r.dir)) << "kind " << r.kind;
        EXPECT_EQ(FileKindPrefix[size_t(r.kind)], QLatin1String(r.prefix)) << "kind " << r.kind;
        EXPECT_EQ(FileKindMask[size_t(r.kind)], QLatin1String(r.mask)) << "kind " << r.kind;
        EXPECT_EQ(FileKindDefaultName[size_t(r.kind)], QLatin1String(r.name)) << "kind " << r.kind;
    }
    for (int k = 1; k <= 14; ++k) {
        EXPECT_TRUE(FileKindDir[size_t(k)].endsWith(QLatin1Char('/'))) << "kind " << k;
        EXPECT_FALSE(FileKindDir[size_t(k)].contains(QLatin1Char('\\'))) << "kind " << k;
        // The save chooser accepts a last "." at position 17 at most.
        const QString name = FileKindDefaultName[size_t(k)];
        if (!name.isEmpty()) {
            EXPECT_EQ(name.lastIndexOf(QLatin1Char('.')) + 1, 17) << "kind " << k;
        }
    }
}

TEST_F(CommonTablesTest, MasksAndNamesPerReceiverAndSubKind) {
    EXPECT_EQ(fileKindMaskFor(8, 0, 2), QStringLiteral("MEM_2*.TXT"));
    EXPECT_EQ(fileKindMaskFor(8, 0, 4), QStringLiteral("MEM_4*.TXT"));
    EXPECT_EQ(fileKindDefaultNameFor(8, 2), QStringLiteral("mem_2xyzxyzxyzxy.txt"));
    EXPECT_EQ(fileKindDefaultNameFor(8, 0), QStringLiteral("mem_0xyzxyzxyzxy.txt"));
    EXPECT_EQ(fileKindMaskFor(3, 1, 0), QStringLiteral("ILG*.FTL"));
    EXPECT_EQ(fileKindMaskFor(3, 2, 0), QStringLiteral("AERO*.FTL"));
    EXPECT_EQ(fileKindMaskFor(3, 0, 0), QStringLiteral("*.FTL"));
    EXPECT_EQ(fileKindMaskFor(4, 1, 3), QStringLiteral("LOG_*.TXT"));
    EXPECT_TRUE(fileKindMaskFor(15, 0, 0).isEmpty());
    EXPECT_TRUE(fileKindDefaultNameFor(-1, 0).isEmpty());
}

TEST_F(CommonTablesTest, FileKindPathsFollowTheDataFolder) {
    initcommontables();
    DataFolder = QStringLiteral("/srv/radio/");
    setFileKindPaths();
    EXPECT_TRUE(FileKindPath[0].isEmpty());
    EXPECT_EQ(FileKindPath[1], QStringLiteral("/srv/radio/BDXC/"));
    EXPECT_EQ(FileKindPath[8], QStringLiteral("/srv/radio/MEM/"));
    EXPECT_EQ(FileKindPath[14], QStringLiteral("/srv/radio/PAN/"));
}

TEST_F(CommonTablesTest, ReceiverCaptionsAndColours) {
    const std::tuple<int, const char*, QColor> rows[] = {
        {0, "No RX", QColor(170, 170, 170)}, {1, "AR7030", QColor(144, 144, 255)},
        {2, "NRD535", QColor(255, 128, 128)}, {3, "RX320", QColor(128, 192, 128)},
        {4, "NRD545", QColor(255, 0, 0)},
    };
    for (const auto& [type, caption, colour] : rows) {
        EXPECT_EQ(receiverCaption(type), QLatin1String(caption));
        EXPECT_EQ(receiverColour(type), colour) << "type " << type;
    }
    EXPECT_TRUE(receiverCaption(5).isEmpty());
    EXPECT_TRUE(receiverCaption(-1).isEmpty());
}

} // namespace
} // namespace dovrane::test
