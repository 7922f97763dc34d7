// Reading numbers from what the user types and writing numbers back, in the user's locale.
#pragma once

#include <QLocale>
#include <QString>
#include <cstdint>
#include <optional>

namespace quaverline {

// Reads text as a finite number the way the locale writes numbers. Surrounding blanks are
// allowed; empty text, anything else (group separators included) and "inf"/"nan" are errors.
std::optional<double> ReadNumber(const QString& text, const QLocale& locale);

// Nearest whole number, ties to even; no value when it lies outside 32 signed bits.
std::optional<std::int32_t> RoundToInt32(double value);

// Rounded toward negative infinity; no value when it lies outside 32 signed bits.
std::optional<std::int32_t> FloorToInt32(double value);

// Plain decimal digits with a leading "-" when negative: no blank, no grouping.
QString WholeText(std::int64_t value);

// At most seven significant digits, no trailing zeros, the locale's decimal separator.
QString RealText(double value, const QLocale& locale);

}  // namespace quaverline
