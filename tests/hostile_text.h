// Reproducible streams of text and doubles that a careless reader would trip over: empty and
// huge texts, blanks of every kind, signs, exponents, "inf" and "nan", group and decimal marks,
// digits of other scripts, CJK, combining and direction marks, control characters and lone
// surrogates, mixed with well-formed numbers so that the readers' success paths run too.
#pragma once

#include <QString>
#include <QStringList>

#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>

namespace quaverline {

class HostileText {
 public:
  explicit HostileText(std::uint32_t seed) : rng_(seed) {}

  // A number in [0, n).
  std::uint32_t Below(std::uint32_t n) { return std::uniform_int_distribution<std::uint32_t>(0, n - 1)(rng_); }
  bool Chance(double p) { return std::bernoulli_distribution(p)(rng_); }
  std::mt19937& Engine() { return rng_; }

  // One arbitrary text.
  QString Next() {
    const std::uint32_t mode = Below(100);
    if (mode < 4) return QString();
    if (mode < 5) return Huge();
    if (mode < 40) return NumberLike();
    if (mode < 85) return Fragments();
    return CodeUnits();
  }

  // A text that reads as a number in some locale: optional blanks, a sign of some script,
  // digits of some script, a decimal or group mark, an exponent.
  QString NumberLike() {
    static const QStringList signs = {"", "", "", "+", "-", "-", QString(QChar(0x2212)),
                                      QString(QChar(0x061C)) + "-", QString(QChar(0x200E)) + QChar(0x2212)};
    static const QStringList marks = {".", ",", QString(QChar(0x066B)), QString(QChar(0x066C)), "'",
                                      QString(QChar(0x00A0)), QString(QChar(0x202F)), " "};
    static const QStringList exponents = {"e", "E", "e+", "e-", "E-", QString::fromUtf8("اس"),
                                          QString::fromUtf8("×۱۰^")};
    static const std::array<char16_t, 5> zeros = {u'0', u'0', 0x0660, 0x06F0, 0xFF10};
    const char16_t zero = zeros[Below(zeros.size())];
    QString text = Blanks() + signs[Below(signs.size())] + Digits(zero, 1 + Below(12));
    if (Chance(0.4)) text += marks[Below(marks.size())] + Digits(zero, Below(8));
    if (Chance(0.2)) text += exponents[Below(exponents.size())] + Digits(zero, 1 + Below(4));
    return text + Blanks();
  }

  // One to six pieces from a table of troublesome texts.
  QString Fragments() {
    const QStringList& pool = Pool();
    QString text;
    const std::uint32_t pieces = 1 + Below(6);
    for (std::uint32_t i = 0; i < pieces; ++i) text += pool[Below(pool.size())];
    return text;
  }

  // Up to 24 UTF-16 code units of any kind, lone surrogates and non-characters included.
  QString CodeUnits() {
    QString text;
    const std::uint32_t length = Below(25);
    for (std::uint32_t i = 0; i < length; ++i) {
      switch (Below(7)) {
        case 0: text += QChar(char16_t(0x20 + Below(0x5F))); break;
        case 1: text += QChar(char16_t(Below(0x20))); break;
        case 2: text += QChar(char16_t(0xD800 + Below(0x800))); break;  // surrogate, usually unpaired
        case 3: text += QChar(char16_t(0x0300 + Below(0x70))); break;   // combining marks
        case 4: text += QChar(char16_t(0x2000 + Below(0x70))); break;   // spaces, direction marks
        case 5: text += QChar(char16_t(0xFFF0 + Below(0x10))); break;   // specials, non-characters
        default: text += QChar(char16_t(Below(0x10000))); break;
      }
    }
    return text;
  }

  // 100 000 characters: digits, a repeated troublesome piece or code units.
  QString Huge() {
    constexpr int kLength = 100000;
    switch (Below(3)) {
      case 0: return QString(kLength, QLatin1Char('9'));
      case 1: return QLatin1Char('1') + QString(kLength - 1, QLatin1Char('0'));
      default: {
        QString piece = Fragments();
        if (piece.isEmpty()) piece = QStringLiteral("-");
        return piece.repeated(kLength / piece.size() + 1).left(kLength);
      }
    }
  }

 private:
  QString Blanks() {
    static const QStringList blanks = {"", "", "", " ", "\t", QString(QChar(0x00A0)), QString(QChar(0x3000))};
    return blanks[Below(blanks.size())];
  }

  QString Digits(char16_t zero, std::uint32_t count) {
    QString digits;
    for (std::uint32_t i = 0; i < count; ++i) digits += QChar(char16_t(zero + Below(10)));
    return digits;
  }

  static const QStringList& Pool() {
    static const QStringList pool = [] {
      QStringList texts = {
          "", " ", "  ", "\t", "\n", "\r\n", "+", "-", "--", "+-", "e", "E", "e+", "e-", "e5", "E-3",
          "1e999", "-1e999", "1e-999", "1e308", "4.9e-324", "inf", "-inf", "+inf", "INF", "Infinity", "nan",
          "NaN", "-nan", "0x10", "1_000", "1,000", "1.000", "1 000", "1'000", "1,000.5", "1.000,5", ".", ",",
          "..", ",,", "0", "00", "1", "9", "150", "666", "1000", "8000000", "88200", "88199", "2147483647",
          "2147483648", "-2147483648", "-2147483649", "4294967296", "0.0001", "0.5", "-0.5", "12000", "-150",
          "Portb.0", "abc", "$", "%", "\xC3\x9F", "\xF0\x9F\x98\x80"};
      for (const char* utf8 : {"٫", "٬", "٠", "٦٦٦", "۱۲۳", "١٫٥", "１２３", "一二三", "千", "−", "اس", "×۱۰^"})
        texts << QString::fromUtf8(utf8);
      for (char16_t unit : {0x0000, 0x0001, 0x007F, 0x00A0, 0x202F, 0x2009, 0x3000, 0x0301, 0x0308, 0x20DD, 0x200E,
                            0x200F, 0x202E, 0x061C, 0x200B, 0xFEFF, 0xFFFD, 0xFFFF, 0xD800, 0xDBFF, 0xDC00, 0xDFFF})
        texts << QString(QChar(unit));
      return texts;
    }();
    return pool;
  }

  std::mt19937 rng_;
};

// Doubles by kind, for the tone synthesis.
enum class DoubleKind { Special, Denormal, Huge, Negative, NearZero, Near88200, Near8_82, RandomBits, Ordinary };
inline constexpr std::array kDoubleKinds = {DoubleKind::Special,   DoubleKind::Denormal,  DoubleKind::Huge,
                                            DoubleKind::Negative,  DoubleKind::NearZero,  DoubleKind::Near88200,
                                            DoubleKind::Near8_82,  DoubleKind::RandomBits, DoubleKind::Ordinary};

inline const char* DoubleKindName(DoubleKind kind) {
  switch (kind) {
    case DoubleKind::Special: return "NaN, infinities, zeros, extremes";
    case DoubleKind::Denormal: return "denormals";
    case DoubleKind::Huge: return "huge";
    case DoubleKind::Negative: return "negative";
    case DoubleKind::NearZero: return "near 0";
    case DoubleKind::Near88200: return "near 88200";
    case DoubleKind::Near8_82: return "near 8.82";
    case DoubleKind::RandomBits: return "random bit patterns";
    case DoubleKind::Ordinary: return "ordinary 0..100000";
  }
  return "?";
}

inline double HostileDouble(HostileText& gen, DoubleKind kind) {
  using Limits = std::numeric_limits<double>;
  std::mt19937& rng = gen.Engine();
  auto uniform = [&rng](double low, double high) { return std::uniform_real_distribution<double>(low, high)(rng); };
  auto steps = [&gen](double from) {
    // A few representable neighbours either way.
    double value = from;
    const int count = int(gen.Below(9)) - 4;
    for (int i = 0; i < std::abs(count); ++i) value = std::nextafter(value, count < 0 ? -Limits::infinity() : Limits::infinity());
    return value;
  };
  const double sign = gen.Chance(0.5) ? 1.0 : -1.0;
  switch (kind) {
    case DoubleKind::Special: {
      const std::array<double, 13> specials = {
          Limits::quiet_NaN(),  -Limits::quiet_NaN(), Limits::signaling_NaN(), std::bit_cast<double>(0x7FF8DEADBEEF0001ull),
          Limits::infinity(),   -Limits::infinity(),  0.0,                     -0.0,
          Limits::max(),        -Limits::max(),       Limits::min(),           Limits::denorm_min(),
          -Limits::denorm_min()};
      return specials[gen.Below(specials.size())];
    }
    case DoubleKind::Denormal:
      return sign * std::bit_cast<double>(((std::uint64_t(rng()) << 20) ^ rng()) & 0x000FFFFFFFFFFFFFull);
    case DoubleKind::Huge: return sign * std::pow(10.0, uniform(6, 308.2));
    case DoubleKind::Negative: return gen.Chance(0.5) ? -uniform(0, 100000) : -std::pow(10.0, uniform(-320, 308));
    case DoubleKind::NearZero:
      // 44100 / 2^31 is where the period stops fitting 32 bits.
      switch (gen.Below(3)) {
        case 0: return sign * std::pow(10.0, uniform(-320, -3));
        case 1: return steps(44100.0 / 2147483648.0);
        default: return uniform(1.5e-5, 3e-5);
      }
    case DoubleKind::Near88200: return gen.Chance(0.5) ? uniform(88199, 88201) : steps(88200.0);
    case DoubleKind::Near8_82:
      // 44100 / 5000.5 is where the frame count reaches the 5000-frame cap.
      return gen.Chance(0.5) ? uniform(8.8, 8.84) : steps(gen.Chance(0.5) ? 8.82 : 44100.0 / 5000.5);
    case DoubleKind::RandomBits: return std::bit_cast<double>(std::uint64_t(rng()) << 32 | rng());
    case DoubleKind::Ordinary: return uniform(0, 100000);
  }
  return 0;
}

}  // namespace quaverline
