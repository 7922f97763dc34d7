// The BASCOM Sound statement: its pulse count, the code line the user copies and the hidden
// play entry that list playback and the duration change read back.
#pragma once

#include <QLocale>
#include <QString>
#include <cstdint>
#include <optional>

namespace quaverline {

// crystal / (frequency * 12), rounded down. No value when either text is not a number, the
// frequency is 0 or the count does not fit 32 signed bits.
std::optional<std::int32_t> ComputePulses(const QString& crystalText, const QString& frequencyText,
                                          const QLocale& locale);

// "Sound " + port + " , " + duration + " , " + third, every piece copied as it is.
QString CodeLine(const QString& port, const QString& duration, const QString& third);

// A key's code line: the third number is the note frequency rounded down.
QString KeyCodeLine(const QString& port, const QString& duration, float frequency);

// first number + "." + duration.
QString PlayEntry(const QString& firstNumber, const QString& duration);

// A key's frequency as the first number of a play entry.
//
// Readers split an entry at its first ".", so the number itself must not contain one. Where the
// locale's decimal separator is "." the fraction is therefore marked with "," instead, and
// ReadPlayEntryNumber reads "," back as the decimal mark in such a locale. Elsewhere the locale's
// own separator is used. Either way all seven significant digits survive the round trip.
QString PlayEntryNumber(float frequency, const QLocale& locale);

// The text before the first "." (the whole entry when it has none).
QString PlayEntryFirstNumber(const QString& entry);

struct PlayEntryParts {
  QString frequency;  // before the first "."
  QString duration;   // after it, cut to four characters
};

// Splits at the first "."; no value when the entry has none.
std::optional<PlayEntryParts> SplitPlayEntry(const QString& entry);

// Reads a play entry's first number (see PlayEntryNumber for the decimal mark).
std::optional<double> ReadPlayEntryNumber(const QString& text, const QLocale& locale);

}  // namespace quaverline
