#include "timer/rtty_text.h"

namespace dovrane {

namespace {
const char* const kBaud[3] = {"45", "50", "75"};
const char* const kSpeed535[3] = {"65", "50", "00"};
const char* const kShift[3] = {"170", "425", "850"};
} // namespace

RttyParameters::RttyParameters(int rxType)
    : nrd535_(rxType == 2), rttyparam_(nrd535_ ? QStringLiteral("5010") : QStringLiteral("5011")) {}

void RttyParameters::baud(int i) {
    if (i < 0 || i > 2) return;
    rttyparam_.replace(0, 2, QLatin1String(nrd535_ ? kSpeed535[i] : kBaud[i]));
}

void RttyParameters::shift(int i) {
    if (i < 0 || i > 2) return;
    rttyparam_[2] = QLatin1Char(char('0' + i));
}

void RttyParameters::polarity(int i) {
    if (i < 0 || i > 1) return;
    rttyparam_[3] = QLatin1Char(char('0' + i));
}

QString RttyParameters::polarityCaption(int i) const {
    // Normal polarity is code 0 on the NRD-535 and code 1 on the NRD-545.
    const bool normal = nrd535_ ? i == 0 : i == 1;
    return normal ? QStringLiteral("Nor.") : QStringLiteral("Rev.");
}

QString RttyParameters::baudText() const {
    const QString code = rttyparam_.left(2);
    for (int i = 0; i < 3; ++i)
        if (code == QLatin1String(nrd535_ ? kSpeed535[i] : kBaud[i])) return QLatin1String(kBaud[i]);
    return code;
}

QString RttyParameters::shiftText() const {
    const int i = rttyparam_[2].unicode() - '0';
    return i >= 0 && i <= 2 ? QLatin1String(kShift[i]) : QString(rttyparam_[2]);
}

QString RttyParameters::polarityText() const {
    return polarityCaption(rttyparam_[3].unicode() - '0').left(3);
}

QStringList RttyLineBuilder::feed(const QByteArray& bytes) {
    QStringList done;
    for (const char b : bytes) {
        if (b == '\r') continue;
        QChar c = QChar::fromLatin1(b);
        // Upper case only where Latin-1 has the capital, so every line can be stored.
        const QChar upper = c.toUpper();
        if (upper.unicode() <= 0xFF) c = upper;
        rttyline_ += c;
        if (b == '\n' || rttyline_.size() >= LineLength) {
            done << rttyline_;
            rttyline_.clear();
        }
    }
    return done;
}

} // namespace dovrane
