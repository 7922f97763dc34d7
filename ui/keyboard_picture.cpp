#include "ui/keyboard_picture.h"

#include <QFont>
#include <QPainter>
#include <array>

namespace quaverline {

using namespace picture;

namespace {

constexpr int kKeysRight = kKeysLeft + kWhiteKeyCount * kWhiteKeyWidth;
constexpr int kKeysPerOctave = 7;

// The white key after which a black key sits, within an octave (C, D, F, G, A).
constexpr std::array<int, 5> kBlackAfter = {0, 1, 3, 4, 5};

constexpr std::array<const char*, kKeysPerOctave> kWhiteNames = {"C", "D", "E", "F", "G", "A", "H"};

// Sharp name over flat name, one pair per black key of an octave.
constexpr std::array<std::array<const char*, 2>, 5> kBlackNames = {{
    {"Cis", "Des"}, {"Dis", "Es"}, {"Fis", "Ges"}, {"Gis", "As"}, {"Ais", "B"}}};

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

void DrawKeys(QPainter& p) {
  p.setPen(Qt::black);
  p.drawLine(kKeysLeft, kKeysTop, kKeysRight, kKeysTop);
  p.drawLine(kKeysLeft, kWhiteKeyBottom, kKeysRight, kWhiteKeyBottom);
  for (int i = 0; i <= kWhiteKeyCount; ++i) {
    const int x = kKeysLeft + i * kWhiteKeyWidth;
    p.drawLine(x, kKeysTop, x, kWhiteKeyBottom);
  }
  for (int octave = 0; octave * kKeysPerOctave < kWhiteKeyCount; ++octave) {
    for (const int after : kBlackAfter) {
      p.fillRect(BlackKeyCentre(octave, after) - kBlackKeyWidth / 2, kKeysTop, kBlackKeyWidth,
                 kBlackKeyBottom - kKeysTop + 1, Qt::black);
    }
  }
}

void DrawCentred(QPainter& p, int centre, int baseline, const char* name) {
  const QString text = QString::fromLatin1(name);
  const qreal width = p.fontMetrics().horizontalAdvance(text);
  p.drawText(QPointF(centre - width / 2, baseline), text);
}

void DrawNames(QPainter& p) {
  p.setFont(NameFont());
  p.setPen(Qt::black);
  // White key names in the strip between the keys and the outline.
  for (int i = 0; i < kWhiteKeyCount; ++i) {
    DrawCentred(p, kKeysLeft + i * kWhiteKeyWidth + kWhiteKeyWidth / 2, kOutlineBottom - 1,
                kWhiteNames[i % kKeysPerOctave]);
  }
  // Black key names in two lines above the outline.
  for (int octave = 0; octave * kKeysPerOctave < kWhiteKeyCount; ++octave) {
    for (std::size_t k = 0; k < kBlackAfter.size(); ++k) {
      const int centre = BlackKeyCentre(octave, kBlackAfter[k]);
      DrawCentred(p, centre, kOutlineTop - 2 - kNameLineSpacing, kBlackNames[k][0]);
      DrawCentred(p, centre, kOutlineTop - 2, kBlackNames[k][1]);
    }
  }
}

}  // namespace

QImage DrawKeyboardPicture() {
  QImage image(kPictureWidth, kPictureHeight, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter p(&image);
  p.setPen(Qt::black);
  p.drawRect(kOutlineLeft, kOutlineTop, kOutlineRight - kOutlineLeft, kOutlineBottom - kOutlineTop);
  DrawKeys(p);
  DrawNames(p);
  return image;
}

}  // namespace quaverline
