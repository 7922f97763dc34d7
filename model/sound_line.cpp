#include "model/sound_line.h"

#include "model/numbers.h"

#include <cmath>

namespace quaverline {

namespace {

constexpr int kDurationChars = 4;

bool DecimalPointIsFullStop(const QLocale& locale) { return locale.decimalPoint() == QLatin1String("."); }

}  // namespace

std::optional<std::int32_t> ComputePulses(const QString& crystalText, const QString& frequencyText,
                                          const QLocale& locale) {
  const auto crystal = ReadNumber(crystalText, locale);
  const auto frequency = ReadNumber(frequencyText, locale);
  if (!crystal || !frequency) return std::nullopt;
  const double divisor = *frequency * 12;
  if (divisor == 0 || !std::isfinite(divisor)) return std::nullopt;
  return FloorToInt32(*crystal / divisor);
}

QString CodeLine(const QString& port, const QString& duration, const QString& third) {
  return QStringLiteral("Sound ") + port + QStringLiteral(" , ") + duration + QStringLiteral(" , ") + third;
}

QString KeyCodeLine(const QString& port, const QString& duration, float frequency) {
  return CodeLine(port, duration, WholeText(static_cast<std::int64_t>(std::floor(frequency))));
}

QString PlayEntry(const QString& firstNumber, const QString& duration) {
  return firstNumber + QLatin1Char('.') + duration;
}

QString PlayEntryNumber(float frequency, const QLocale& locale) {
  QString text = RealText(frequency, locale);
  if (DecimalPointIsFullStop(locale)) text.replace(QLatin1Char('.'), QLatin1Char(','));
  return text;
}

QString PlayEntryFirstNumber(const QString& entry) {
  const qsizetype p = entry.indexOf(QLatin1Char('.'));
  return p < 0 ? entry : entry.left(p);
}

std::optional<PlayEntryParts> SplitPlayEntry(const QString& entry) {
  const qsizetype p = entry.indexOf(QLatin1Char('.'));
  if (p < 0) return std::nullopt;
  return PlayEntryParts{entry.left(p), entry.mid(p + 1, kDurationChars)};
}

std::optional<double> ReadPlayEntryNumber(const QString& text, const QLocale& locale) {
  if (!DecimalPointIsFullStop(locale)) return ReadNumber(text, locale);
  QString withPoint = text;
  withPoint.replace(QLatin1Char(','), QLatin1Char('.'));
  return ReadNumber(withPoint, locale);
}

}  // namespace quaverline
