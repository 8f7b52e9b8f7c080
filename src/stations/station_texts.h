#pragma once
// The station-database windows' message texts.
#include <QString>

namespace dovrane::stationtexts {

inline const QString CouldNotConnect = QStringLiteral("Could not connect to database\nCheck path and/or filename");
inline const QString ErrorTitle = QStringLiteral("Error");
inline const QString ConversionReady = QStringLiteral("Conversion ready");

inline QString notWritten(const QString& name, const QString& why) {
    return QStringLiteral("The station list %1 could not be written:\n%2").arg(name, why);
}

inline QString scanDelayOutside(int maxSeconds) {
    return QStringLiteral("Scan delay outside range.\nSelect value between 1 and %1 sec.").arg(maxSeconds);
}

inline QString listCut(int loaded, const QString& name) {
    return QStringLiteral("%1 holds more records than the list can take:\nthe first %2 records were loaded.")
        .arg(name)
        .arg(loaded);
}

} // namespace dovrane::stationtexts
