#pragma once
// The RTTY window's rules without the window: the parameter string sent to
// the NRD receivers, the texts of the file's run header, and the assembly of
// received characters into display lines.
#include <QByteArray>
#include <QString>
#include <QStringList>

namespace dovrane {

// The four-character parameter string: speed code (2), shift code, polarity code.
class RttyParameters {
public:
    // rxType 2 (NRD-535) or 4 (NRD-545); other types behave as the NRD-545.
    explicit RttyParameters(int rxType);

    const QString& text() const { return rttyparam_; }
    // Button i (0..2) of each group, as pressed.
    void baud(int i);
    void shift(int i);
    void polarity(int i);

    // The captions of the polarity buttons 0 and 1 for the model.
    QString polarityCaption(int i) const;
    // "45"/"50"/"75", "170"/"425"/"850", "Nor"/"Rev", as the file header shows them.
    QString baudText() const;
    QString shiftText() const;
    QString polarityText() const;

private:
    bool nrd535_;
    QString rttyparam_;
};

// Received characters into lines: a carriage return is dropped, a line feed
// ends the line and stays at its end, and a line is broken at 71 characters.
// Letters are shown in upper case. The result does not depend on how the
// bytes were split between reads.
class RttyLineBuilder {
public:
    static constexpr int LineLength = 71;

    // Adds received bytes; returns the lines they completed, in order.
    QStringList feed(const QByteArray& bytes);
    // The line still being received.
    const QString& line() const { return rttyline_; }
    void clear() { rttyline_.clear(); }

private:
    QString rttyline_;
};

} // namespace dovrane
