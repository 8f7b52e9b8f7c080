#pragma once
// Limits and setting texts of the receiver in use, filled by its panel's load.
#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>

namespace dovrane {

inline double FreqMin = 0;
inline double FreqMax = 0;
inline int16_t MaxMemNr = 0;
inline std::array<QString, 6> AttTexts;
inline std::array<QString, 10> ModeTexts;
inline std::array<QString, 11> AgcTexts;
inline QStringList BwTexts;   // bounds set by the panel
inline std::array<QString, 3> NbTexts;
inline std::array<QString, 3> YesNoTexts;
inline std::array<QString, 86> PbsTexts;

void initnorxtables();
void initar7030tables();
void initnrd535tables();
void initrx320tables();
void initnrd545tables();

// Empties BwTexts and gives it entries 0..upper, as each panel does before
// calling its builder.
void redimBwTexts(int upper);
// The text at index i of a table, "?" when i lies outside it.
QString tableText(const QStringList& table, int i);
template <size_t N> QString tableText(const std::array<QString, N>& table, int i) {
    return i >= 0 && size_t(i) < N ? table[size_t(i)] : QStringLiteral("?");
}

void resetModelTables();

} // namespace dovrane
