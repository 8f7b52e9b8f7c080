// The station-list work a user waits for: converting the broadcast table,
// loading a list, one query over it, and tracking's gathering around a
// frequency. Each figure is printed beside its limit.
#include "platform/dbase_table.h"
#include "platform/number_text.h"
#include "shell/common_tables.h"
#include "shell/globals.h"
#include "stations/dbase_writer.h"
#include "stations/station_convert.h"
#include "stations/station_query.h"
#include "stations/station_record.h"
#include "stations/tracking_core.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <cstdio>

using namespace dovrane;

namespace {

constexpr int Records = 30000;

bool report(const char* what, double ms, double limitMs) {
    const bool within = ms <= limitMs;
    std::printf("%-44s %9.2f ms   limit %7.1f ms   %s\n", what, ms, limitMs, within ? "ok" : "over");
    return within;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    initcommontables();
    Settings[7] = 30;
    QTemporaryDir dir;
    bool ok = true;

    const char* langs[] = {"English", "French", "German", "Arabic", "Spanish"};
    std::vector<test::DbfRow> rows;
    rows.reserve(Records);
    for (int i = 0; i < Records; ++i) {
        test::DbfRow r;
        const int start = (i * 37) % 24;
        r.values = {QByteArray::number(150 + (i * 7919) % 26000) + ".5",
                    QStringLiteral("%1-%2").arg(start * 100, 4, 10, QLatin1Char('0')).arg(((start + 2) % 24) * 100, 4, 10, QLatin1Char('0')).toLatin1(),
                    i % 10 == 0 ? "E" : "", "Station " + QByteArray::number(i % 500), "EU", langs[i % 5], "250",
                    "5130N", "00012W", "", "", "", "EU", "", "", "", "", "", "Country", "Location"};
        rows.push_back(std::move(r));
    }
    const QByteArray table = test::makeDbf(test::broadcastFields(), rows);

    QElapsedTimer t;
    t.start();
    DbaseTable dbf;
    QStringList lines;
    if (!dbf.openData(table)) return 2;
    BroadcastConversion conv(dbf, IlgIncludes{true, false, false, false});
    while (conv.convertNext()) {
    }
    lines = conv.sortedLines();
    QString why;
    if (!writeStationList(dir.path(), QStringLiteral("ILGSDATA.ftl"), lines, &why)) return 2;
    ok &= report("convert a table of 30,000 records", double(t.nsecsElapsed()) / 1e6, 2000);

    StationStore store;
    t.restart();
    const StationLoad load = loadStationList(dir.filePath(QStringLiteral("ILGSDATA.ftl")), stationListCapacity(), store);
    ok &= report("load a list of 30,000 records", double(t.nsecsElapsed()) / 1e6, 200);
    if (load.loaded != Records) return 2;

    StationQuery q;
    q.frequency = true;
    q.from = QStringLiteral("3");
    q.to = QStringLiteral("22");
    q.language = true;
    q.languageText = QStringLiteral("eng");
    q.onAir = true;
    q.area = true;
    q.areaText = QStringLiteral("eu");
    t.restart();
    const std::vector<int> found = searchStations(store, StationListKind::Broadcast, q, 1230);
    ok &= report("query 30,000 records", double(t.nsecsElapsed()) / 1e6, 20);

    t.restart();
    const int index = trackLookup(store.records, 9500);
    const std::vector<QString> near = gatherTracking(store.records, index, 9500, 2, false, 1230);
    ok &= report("gather around a frequency in 30,000 lines", double(t.nsecsElapsed()) / 1e6, 5);
    std::printf("(%d records converted, %zu found, %zu gathered)\n", int(lines.size()), found.size(), near.size());
    return ok ? 0 : 1;
}
