#include "model/numbers.h"

#include <cmath>
#include <limits>

namespace quaverline {

namespace {

bool FitsInt32(double value) {
  return value >= double(std::numeric_limits<std::int32_t>::min()) &&
         value <= double(std::numeric_limits<std::int32_t>::max());
}

}  // namespace

std::optional<double> ReadNumber(const QString& text, const QLocale& locale) {
  const QString trimmed = text.trimmed();
  if (trimmed.isEmpty()) return std::nullopt;
  QLocale strict = locale;
  strict.setNumberOptions(QLocale::RejectGroupSeparator);
  bool ok = false;
  const double value = strict.toDouble(trimmed, &ok);
  if (!ok || !std::isfinite(value)) return std::nullopt;
  return value;
}

std::optional<std::int32_t> RoundToInt32(double value) {
  // nearbyint follows the default rounding mode, round-to-nearest-even.
  const double rounded = std::nearbyint(value);
  if (!std::isfinite(rounded) || !FitsInt32(rounded)) return std::nullopt;
  return static_cast<std::int32_t>(rounded);
}

std::optional<std::int32_t> FloorToInt32(double value) {
  const double floored = std::floor(value);
  if (!std::isfinite(floored) || !FitsInt32(floored)) return std::nullopt;
  return static_cast<std::int32_t>(floored);
}

QString WholeText(std::int64_t value) { return QString::number(value); }

QString RealText(double value, const QLocale& locale) {
  QLocale plain = locale;
  plain.setNumberOptions(QLocale::OmitGroupSeparator);
  return plain.toString(value, 'g', 7);
}

}  // namespace quaverline
