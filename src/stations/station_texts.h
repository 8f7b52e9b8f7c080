#pragma once
// The station-database windows' message texts.
#include <QString>
#include <QStringList>

namespace dovrane::stationtexts {

inline const QString CouldNotConnect = QStringLiteral("Could not connect to database\nCheck path and/or filename");
inline const QString ErrorTitle = QStringLiteral("Error");
inline const QString BackToMouse = QStringLiteral("Tracking has gone back to Mouse mode.");
inline const QString ConversionReady = QStringLiteral("Conversion ready");

inline QString notWritten(const QString& name, const QString& why) {
    return QStringLiteral("The station list %1 could not be written:\n%2").arg(name, why);
}

inline QString lacksFields(const QString& table, const QStringList& fields) {
    return QStringLiteral("The table %1 lacks the fields the conversion reads:\n%2\n\nNothing was converted.")
        .arg(table, fields.join(QStringLiteral(", ")));
}

// A conversion that gave no line leaves the list file alone.
inline QString nothingConverted(const QString& name, bool listKept) {
    return listKept ? QStringLiteral("No station line was converted.\n%1 was kept as it was.").arg(name)
                    : QStringLiteral("No station line was converted.\n%1 was not written.").arg(name);
}

inline QString scanDelayOutside(int maxSeconds) {
    return QStringLiteral("Scan delay outside range.\nSelect value between 1 and %1 sec.").arg(maxSeconds);
}

inline QString listCut(int loaded, int leftOut, const QString& name) {
    return QStringLiteral("%1 holds more records than the list can take:\nthe first %2 records were loaded, %3 %4 left out.")
        .arg(name)
        .arg(loaded)
        .arg(leftOut)
        .arg(leftOut == 1 ? QStringLiteral("was") : QStringLiteral("were"));
}

} // namespace dovrane::stationtexts
