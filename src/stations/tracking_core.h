#pragma once
// Station tracking without its window: the lookup of the followed frequency
// in a sorted station list, the gathering of the stations near it, the page
// rows with their colours, and distance and bearing from the receiver.
#include <QString>
#include <vector>

namespace dovrane {

// The separator between the stations at or below the frequency and those above.
QString trackingSeparator();

// The last line from index 1 whose frequency is not above kHz (a binary
// search over a list in ascending frequency); -1 when the list holds fewer
// than three lines.
int trackLookup(const std::vector<QString>& records, double kHz);

// Entries the display list keeps: seven pages of 25 rows that overlap by one.
inline constexpr int TrackShownCapacity = 7 * 24 + 1;

// The stations within catchKHz (strictly) of kHz among the 250 lines on each
// side of index, with the separator before the first one above kHz; with
// hitsOnly only those on the air at now (hhmm).
std::vector<QString> gatherTracking(const std::vector<QString>& records, int index, double kHz, double catchKHz,
                                    bool hitsOnly, int now);
// Page buttons that have lines: floor(last entry / 24) + 1, at most 7; 0 for none.
int trackingPages(int entries);

enum class TrackAlternate { LatLon = 0, DisDir = 1, Country = 2, Location = 3 };
enum class TrackColour { Off, OnAir, Aimed };

struct TrackRow {
    QString text;         // empty for a row past the end of the list
    TrackColour colour = TrackColour::Off;
};

// Row r (0..24) of page p: the entry with its columns 78-89 replaced by the
// alternate, and its colour ("All": yellow when on the air, green when also
// aimed at the receiver's area; "Hits": yellow above 10 kHz, green when aimed).
TrackRow trackingRow(const std::vector<QString>& shown, int page, int row, bool hits, TrackAlternate alt, int now,
                     int rxArea, const QString& rxLatitude, const QString& rxLongitude);
// Whether a line is aimed at region code rxArea (0..8): by its target field
// or by its area flag.
bool aimedAt(const QString& line, int rxArea);

// A coordinate text "DDMMN"/"DDDMME" in degrees; false when it cannot be read.
bool parseCoordinate(const QString& text, bool latitude, double* degrees);
// Great-circle distance in km (1.852 km per arc minute) and initial bearing in
// degrees (0 <= b < 360) from point 1 to point 2.
void greatCircle(double lat1, double lon1, double lat2, double lon2, double* km, double* bearing);
// "00000 km 000": distance and bearing from the receiver to the station of the
// record (columns 78-82 and 84-89); twelve blanks when either position
// cannot be read.
QString calcdistbearing(const QString& record, const QString& rxLatitude, const QString& rxLongitude);

} // namespace dovrane
