#include "ui/keyboard_picture.h"

#include "ui/key_table.h"

#include <QFont>
#include <QPainter>
#include <array>
#include <cmath>

namespace quaverline {

using namespace picture;

namespace {

constexpr int kKeysRight = kKeysLeft + kWhiteKeyCount * kWhiteKeyWidth;
constexpr int kKeysPerOctave = 7;

// The white key after which a black key sits, within an octave (C, D, F, G, A).
constexpr std::array<int, 5> kBlackAfter = {0, 1, 3, 4, 5};

// Pixel size of the names: capitals about six pixels high, which the window stretches to nine.
// No name has a descender, so a baseline may sit right above a line.
constexpr int kNamePixelSize = 9;
constexpr int kNameLineSpacing = 10;

QFont NameFont() {
  QFont font(QStringLiteral("Liberation Sans"));
  font.setStyleHint(QFont::SansSerif);
  font.setPixelSize(kNamePixelSize);
  return font;
}

// The black key whose centre lies on the line after white key `after` of `octave`.
int BlackKeyCentre(int octave, int after) {
  return kKeysLeft + (octave * kKeysPerOctave + after + 1) * kWhiteKeyWidth;
}

// Picture pixels mapped onto whole pixels of an image drawn `scale` times as large, so that every
// line and key edge is sharp; lines keep one width throughout.
class Grid {
 public:
  Grid(QPainter& p, qreal sx, qreal sy)
      : p_(p), sx_(sx), sy_(sy), lineWidth_(std::max(1, int(std::lround(sx)))),
        lineHeight_(std::max(1, int(std::lround(sy)))) {}

  int X(int x) const { return int(std::lround(x * sx_)); }
  int Y(int y) const { return int(std::lround(y * sy_)); }

  // Both ends of a line are drawn, as a one-pixel pen draws them in the unscaled picture.
  void VerticalLine(int x, int top, int bottom) { p_.fillRect(X(x), Y(top), lineWidth_, Y(bottom) + lineHeight_ - Y(top), Qt::black); }
  void HorizontalLine(int left, int right, int y) { p_.fillRect(X(left), Y(y), X(right) + lineWidth_ - X(left), lineHeight_, Qt::black); }
  // The pixels from (left, top) up to, not including, (right, bottom).
  void Fill(int left, int top, int right, int bottom) { p_.fillRect(X(left), Y(top), X(right) - X(left), Y(bottom) - Y(top), Qt::black); }

 private:
  QPainter& p_;
  qreal sx_, sy_;
  int lineWidth_, lineHeight_;
};

void DrawKeys(Grid& g) {
  g.VerticalLine(kOutlineLeft, kOutlineTop, kOutlineBottom);
  g.VerticalLine(kOutlineRight, kOutlineTop, kOutlineBottom);
  g.HorizontalLine(kOutlineLeft, kOutlineRight, kOutlineTop);
  g.HorizontalLine(kOutlineLeft, kOutlineRight, kOutlineBottom);
  g.HorizontalLine(kKeysLeft, kKeysRight, kKeysTop);
  g.HorizontalLine(kKeysLeft, kKeysRight, kWhiteKeyBottom);
  for (int i = 0; i <= kWhiteKeyCount; ++i) g.VerticalLine(kKeysLeft + i * kWhiteKeyWidth, kKeysTop, kWhiteKeyBottom);
  for (int octave = 0; octave * kKeysPerOctave < kWhiteKeyCount; ++octave) {
    for (const int after : kBlackAfter) {
      const int left = BlackKeyCentre(octave, after) - kBlackKeyWidth / 2;
      g.Fill(left, kKeysTop, left + kBlackKeyWidth, kBlackKeyBottom + 1);
    }
  }
}

void DrawCentred(QPainter& p, int centre, int baseline, const QString& text) {
  const qreal width = p.fontMetrics().horizontalAdvance(text);
  p.drawText(QPointF(centre - width / 2, baseline), text);
}

// The names are laid out in picture pixels and drawn through the painter's scale, so that they
// are rendered at the image's own resolution.
void DrawNames(QPainter& p, qreal sx, qreal sy) {
  p.save();
  p.scale(sx, sy);
  p.setFont(NameFont());
  p.setPen(Qt::black);
  // From the lowest key up: a white key's name in the strip between the keys and the outline, a
  // black key's sharp name over its flat name above the outline, centred on the line it sits on.
  int whiteKeys = 0;
  for (const int k : kKeysByPitch) {
    const QString name = QString::fromUtf8(kKeyAreas[k].drawnName);
    if (IsWhiteKey(kKeyAreas[k])) {
      DrawCentred(p, kKeysLeft + whiteKeys++ * kWhiteKeyWidth + kWhiteKeyWidth / 2, kOutlineBottom - 1, name);
    } else {
      const int centre = kKeysLeft + whiteKeys * kWhiteKeyWidth;
      DrawCentred(p, centre, kOutlineTop - 2 - kNameLineSpacing, name.section(QLatin1Char(' '), 0, 0));
      DrawCentred(p, centre, kOutlineTop - 2, name.section(QLatin1Char(' '), 1, 1));
    }
  }
  p.restore();
}

}  // namespace

QImage DrawKeyboardPicture(qreal scaleX, qreal scaleY) {
  QImage image(int(std::lround(kPictureWidth * scaleX)), int(std::lround(kPictureHeight * scaleY)),
               QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter p(&image);
  Grid grid(p, scaleX, scaleY);
  DrawKeys(grid);
  DrawNames(p, scaleX, scaleY);
  return image;
}

}  // namespace quaverline
