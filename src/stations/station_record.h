#pragma once
// The line of a converted station list, as the viewers, the query and the
// tracking window read it: 126 characters in memory, columns counted from 1.
#include <QString>

namespace dovrane {

inline constexpr int StationRecordLength = 126;

// A line cut to 126 characters or padded with blanks.
QString fitRecord(const QString& line);
// Text cut to width, then padded with blanks to width.
QString fitField(const QString& text, int width);
// Columns first..last (counted from 1) of a line; blanks past its end.
QString columns(const QString& line, int first, int last);
// The frequency in kHz: the number value of columns 1-8.
double recordFrequency(const QString& line);
// Whether a schedule of columns 10-13 (start) and 15-18 (end), both hhmm, is
// on the air at now (hhmm): start < end when start <= now <= end; over
// midnight (start > end) when now >= start or now <= end; never when equal.
bool onAirAt(const QString& line, int now);
// UTC now as the number hhmm, from the last five characters of UtcTimeText.
int utcNowHhmm();

} // namespace dovrane
