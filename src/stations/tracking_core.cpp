#include "stations/tracking_core.h"
#include "platform/number_text.h"
#include "shell/globals.h"
#include "stations/station_record.h"

#include <algorithm>
#include <cmath>

namespace dovrane {

namespace {
constexpr double kPi = 3.14159265358979323846;
constexpr double kRad = kPi / 180.0;
} // namespace

QString trackingSeparator() {
    QString s;
    for (int i = 0; i < 25; ++i) s += i == 0 ? QStringLiteral("=") : QStringLiteral(" =");
    return fitRecord(s);
}

int trackLookup(const std::vector<QString>& records, double kHz) {
    const int last = int(records.size()) - 1;
    if (last < 2) return -1;
    int lo = 1, hi = last;
    // Looks at least once, so a list of three lines can give its last line.
    do {
        const int mid = int(vbRound((lo + hi) / 2.0));
        if (kHz >= recordFrequency(records[size_t(mid)])) lo = mid;
        else hi = mid;
    } while (lo + 1 < hi);
    return lo;
}

std::vector<QString> gatherTracking(const std::vector<QString>& records, int index, double kHz, double catchKHz,
                                    bool hitsOnly, int now) {
    std::vector<QString> shown;
    if (index < 0) return shown;
    const int last = int(records.size()) - 1;
    bool separator = false;
    for (int k = -250; k <= 250; ++k) {
        const int i = index + k;
        if (i < 0 || i > last) continue;
        const QString& line = records[size_t(i)];
        const double f = recordFrequency(line);
        if (!(std::fabs(f - kHz) < catchKHz)) continue;
        if (hitsOnly && !onAirAt(line, now)) continue;
        if (f > kHz && !separator) {
            separator = true;
            if (int(shown.size()) < TrackShownCapacity) shown.push_back(trackingSeparator());
        }
        if (int(shown.size()) < TrackShownCapacity) shown.push_back(line);
    }
    return shown;
}

int trackingPages(int entries) {
    if (entries <= 0) return 0;
    return std::min((entries - 1) / 24 + 1, 7);
}

bool aimedAt(const QString& line, int rxArea) {
    if (rxArea < 0 || rxArea >= int(RegionCodes.size())) return false;
    const QString& code = RegionCodes[size_t(rxArea)];
    const QString target = columns(line, 43, 50);
    for (int p = 0; p < 7; ++p)
        if (target.mid(p, 2) == code) return true;
    return columns(line, 91, 99).at(rxArea) == QLatin1Char('1');
}

TrackRow trackingRow(const std::vector<QString>& shown, int page, int row, bool hits, TrackAlternate alt, int now,
                     int rxArea, const QString& rxLatitude, const QString& rxLongitude) {
    TrackRow out;
    const int e = page * 24 + row;
    if (e < 0 || e >= int(shown.size())) return out;
    QString line = shown[size_t(e)];
    if (!line.startsWith(QLatin1Char('='))) {
        QString a;
        switch (alt) {
        case TrackAlternate::LatLon: a = columns(line, 78, 89); break;
        case TrackAlternate::DisDir: a = calcdistbearing(line, rxLatitude, rxLongitude); break;
        case TrackAlternate::Country: a = columns(line, 101, 112); break;
        case TrackAlternate::Location: a = columns(line, 114, 125); break;
        }
        line = fitRecord(line).replace(77, 12, a);
    }
    out.text = line;
    if (hits) {
        if (recordFrequency(line) > 10) out.colour = TrackColour::OnAir;
        if (aimedAt(line, rxArea)) out.colour = TrackColour::Aimed;
    } else if (onAirAt(line, now)) {
        out.colour = aimedAt(line, rxArea) ? TrackColour::Aimed : TrackColour::OnAir;
    }
    return out;
}

bool parseCoordinate(const QString& text, bool latitude, double* degrees) {
    const QString t = text.trimmed().toUpper();
    if (t.size() < 3) return false;
    const QChar h = t.back();
    double sign = 1;
    if (latitude) {
        if (h != QLatin1Char('N') && h != QLatin1Char('S')) return false;
        if (h == QLatin1Char('S')) sign = -1;
    } else {
        if (h != QLatin1Char('E') && h != QLatin1Char('W')) return false;
        if (h == QLatin1Char('W')) sign = -1;
    }
    const QString digits = t.left(t.size() - 1);
    if (digits.size() > (latitude ? 4 : 5)) return false;
    for (QChar c : digits)
        if (!c.isDigit() || c.unicode() > '9') return false;
    const int minutes = digits.right(2).toInt();
    const int deg = digits.left(digits.size() - 2).toInt();
    if (minutes > 59) return false;
    const double v = deg + minutes / 60.0;
    if (v > (latitude ? 90.0 : 180.0)) return false;
    *degrees = v * sign;
    return true;
}

void greatCircle(double lat1, double lon1, double lat2, double lon2, double* km, double* bearing) {
    const double p1 = lat1 * kRad, p2 = lat2 * kRad;
    double dl = std::remainder(lon2 - lon1, 360.0) * kRad;   // the short way, across the date line too
    const double dp = p2 - p1;
    const double h = std::sin(dp / 2) * std::sin(dp / 2) + std::cos(p1) * std::cos(p2) * std::sin(dl / 2) * std::sin(dl / 2);
    const double angle = 2 * std::atan2(std::sqrt(h), std::sqrt(std::max(0.0, 1 - h)));
    *km = angle / kRad * 60.0 * 1.852;
    const double y = std::sin(dl) * std::cos(p2);
    const double x = std::cos(p1) * std::sin(p2) - std::sin(p1) * std::cos(p2) * std::cos(dl);
    double b = (std::fabs(x) < 1e-15 && std::fabs(y) < 1e-15) ? 0.0 : std::atan2(y, x) / kRad;
    if (b < 0) b += 360;
    if (b >= 360) b -= 360;
    *bearing = b;
}

QString calcdistbearing(const QString& record, const QString& rxLatitude, const QString& rxLongitude) {
    double lat1, lon1, lat2, lon2;
    if (!parseCoordinate(rxLatitude, true, &lat1) || !parseCoordinate(rxLongitude, false, &lon1) ||
        !parseCoordinate(columns(record, 78, 82), true, &lat2) || !parseCoordinate(columns(record, 84, 89), false, &lon2))
        return QString(12, QLatin1Char(' '));
    double km, bearing;
    greatCircle(lat1, lon1, lat2, lon2, &km, &bearing);
    int b = int(vbRound(bearing));
    if (b >= 360) b -= 360;
    return formatPattern(vbRound(km), QStringLiteral("00000")) + QStringLiteral(" km ") +
           formatPattern(b, QStringLiteral("000"));
}

} // namespace dovrane
