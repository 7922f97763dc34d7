// The drawn keyboard against the key areas laid over it, and the drawn window icon.
#include "form_fixture.h"
#include "ui/control_table.h"
#include "ui/key_table.h"
#include "ui/keyboard_picture.h"
#include "ui/window_icon.h"

#include <QtTest>

using namespace quaverline;

namespace {

// A picture point where the stretched picture puts it in the window.
QPointF ToWindow(const QPointF& pic) {
  const QRect& image = places::Image1;
  return {image.left() + pic.x() * image.width() / picture::kPictureWidth,
          image.top() + pic.y() * image.height() / picture::kPictureHeight};
}

bool IsDark(QRgb c) { return qGray(c) < 96; }
bool IsWhite(QRgb c) { return qRed(c) > 240 && qGreen(c) > 240 && qBlue(c) > 240; }

int DarkCount(const QImage& img, const QRect& r) {
  int n = 0;
  for (int y = r.top(); y <= r.bottom(); ++y)
    for (int x = r.left(); x <= r.right(); ++x) n += IsDark(img.pixel(x, y));
  return n;
}

// Groups of columns (Horizontal) or rows (Vertical) of r that hold ink, counting blanks shorter
// than minGap as part of a group.
int InkGroups(const QImage& img, const QRect& r, Qt::Orientation along, int minGap) {
  const bool horizontal = along == Qt::Horizontal;
  const int first = horizontal ? r.left() : r.top();
  const int last = horizontal ? r.right() : r.bottom();
  int groups = 0;
  int blank = minGap;
  for (int i = first; i <= last; ++i) {
    const QRect slice = horizontal ? QRect(i, r.top(), 1, r.height()) : QRect(r.left(), i, r.width(), 1);
    if (DarkCount(img, slice) == 0) {
      ++blank;
      continue;
    }
    groups += blank >= minGap;
    blank = 0;
  }
  return groups;
}

// The runs of at least minLength pixels in row y, right of the code list, whose pixels all pass.
template <typename Pass>
std::vector<std::pair<int, int>> Runs(const QImage& img, int y, Pass pass, qreal minLength) {
  std::vector<std::pair<int, int>> runs;
  int start = -1;
  for (int x = int((places::Line1.x1() + 1) * img.devicePixelRatio()); x <= img.width(); ++x) {
    const bool in = x < img.width() && pass(img.pixel(x, y));
    if (in && start < 0) start = x;
    if (!in && start >= 0) {
      if (x - start >= minLength) runs.emplace_back(start, x - 1);
      start = -1;
    }
  }
  return runs;
}

bool AnyAreaAt(const QPointF& window) {
  for (const KeyArea& a : kKeyAreas)
    if (QRectF(a.left, a.top, a.width, a.height).contains(window)) return true;
  return false;
}

}  // namespace

class TestKeyboardPicture : public QObject {
  Q_OBJECT

  QImage picture_;
  QImage window_;

 private slots:
  void initTestCase() {
    picture_ = DrawKeyboardPicture();
    FormFixture f;
    f.form->show();
    QVERIFY(QTest::qWaitForWindowExposed(f.form.get()));
    window_ = f.form->centralWidget()->grab().toImage();
  }

  void sizeAndFormat() {
    QCOMPARE(picture_.size(), QSize(picture::kPictureWidth, picture::kPictureHeight));
    QVERIFY(!picture_.hasAlphaChannel());
    QCOMPARE(picture_.depth(), 32);
  }

  // The whole window as drawn, at the screen's pixel ratio: every key area lies on its own key.
  // The keys are found in the pixels alone, in two rows across the keyboard: the white keys as
  // the wide light gaps between the lines, the black keys as the wide dark runs.
  void keyAreaLiesOnItsKey_data() {
    QTest::addColumn<int>("area");
    for (int i = 0; i < int(kKeyAreas.size()); ++i)
      if (kKeyAreas[i].noteName) QTest::newRow(kKeyAreas[i].noteName) << i;
  }
  void keyAreaLiesOnItsKey() {
    QFETCH(int, area);
    const KeyArea& a = kKeyAreas[area];
    const qreal dpr = window_.devicePixelRatio();
    const auto whiteKeys = Runs(window_, 600 * dpr, [](QRgb c) { return qGray(c) >= 200; }, 25 * dpr);
    const auto blackKeys = Runs(window_, 530 * dpr, [](QRgb c) { return qGray(c) < 96; }, 10 * dpr);
    QCOMPARE(whiteKeys.size(), 14u);
    QCOMPARE(blackKeys.size(), 10u);
    // The note's place in the octave: C D E F G A B are white, the five between them black.
    const int semitone = a.noteIndex - 1, octave = semitone / 12, inOctave = semitone % 12;
    constexpr std::array<int, 12> kOrdinal = {0, 0, 1, 1, 2, 3, 2, 4, 3, 5, 4, 6};
    const bool black = QList<int>{1, 3, 6, 8, 10}.contains(inOctave);
    const auto [from, to] = black ? blackKeys[octave * 5 + kOrdinal[inOctave]] : whiteKeys[octave * 7 + kOrdinal[inOctave]];
    // The area without a rim of three pixels, in device pixels.
    const QRect inner(QPoint(int((a.left + 3) * dpr), int((a.top + 3) * dpr)),
                      QPoint(int((a.left + a.width - 3) * dpr) - 1, int((a.top + a.height - 3) * dpr) - 1));
    QVERIFY2(inner.left() >= from && inner.right() <= to,
             qPrintable(QStringLiteral("area %1..%2, key %3..%4").arg(inner.left()).arg(inner.right()).arg(from).arg(to)));
    for (int y = inner.top(); y <= inner.bottom(); ++y)
      for (int x = inner.left(); x <= inner.right(); ++x)
        if (black ? !IsDark(window_.pixel(x, y)) : qGray(window_.pixel(x, y)) < 200)
          QFAIL(qPrintable(QStringLiteral("not the key's colour at %1,%2").arg(x).arg(y)));
  }

  // Above 1x the keyboard is drawn at the screen's resolution: across the white keys there is
  // only white and the solid black of the lines, none of the grey of a stretched bitmap.
  void keyboardIsSharp() {
    const qreal dpr = window_.devicePixelRatio();
    if (dpr == 1) QSKIP("at 1x the picture is stretched as it always was");
    const int y = int(600 * dpr);
    int grey = 0;
    for (int x = int((places::Line1.x1() + 1) * dpr); x < window_.width(); ++x) {
      const int g = qGray(window_.pixel(x, y));
      grey += g > 48 && g < 230;
    }
    QCOMPARE(grey, 0);
  }

  // Points on the upper part of white keys, between black keys, in picture pixels.
  void upperWhiteKeyIsPictureOnly_data() {
    QTest::addColumn<QPointF>("point");
    QTest::newRow("C") << QPointF(80, 60);
    QTest::newRow("D") << QPointF(115, 50);
    QTest::newRow("E") << QPointF(149, 70);
    QTest::newRow("F") << QPointF(170, 60);
    QTest::newRow("H") << QPointF(275, 85);
    QTest::newRow("E'") << QPointF(359, 60);
    QTest::newRow("H'") << QPointF(478, 50);
  }
  void upperWhiteKeyIsPictureOnly() {
    QFETCH(QPointF, point);
    QVERIFY(IsWhite(picture_.pixel(point.toPoint())));
    QVERIFY(!AnyAreaAt(ToWindow(point)));
  }

  void marginsAreWhite() {
    for (int y = 0; y < picture_.height(); ++y) {
      for (int x = 0; x < picture_.width(); ++x) {
        if (x >= picture::kOutlineLeft && x <= picture::kOutlineRight) continue;
        if (!IsWhite(picture_.pixel(x, y))) QFAIL(qPrintable(QStringLiteral("%1,%2").arg(x).arg(y)));
      }
    }
  }

  // Lines that must be drawn through from end to end, in picture pixels.
  void lineIsDrawn_data() {
    using namespace picture;
    QTest::addColumn<QLine>("line");
    const int keysRight = kKeysLeft + kWhiteKeyCount * kWhiteKeyWidth;
    QTest::newRow("outline top") << QLine(kOutlineLeft, kOutlineTop, kOutlineRight, kOutlineTop);
    QTest::newRow("outline bottom") << QLine(kOutlineLeft, kOutlineBottom, kOutlineRight, kOutlineBottom);
    QTest::newRow("outline left") << QLine(kOutlineLeft, kOutlineTop, kOutlineLeft, kOutlineBottom);
    QTest::newRow("outline right") << QLine(kOutlineRight, kOutlineTop, kOutlineRight, kOutlineBottom);
    QTest::newRow("keys top") << QLine(kKeysLeft, kKeysTop, keysRight, kKeysTop);
    QTest::newRow("keys bottom") << QLine(kKeysLeft, kWhiteKeyBottom, keysRight, kWhiteKeyBottom);
    for (int i = 0; i <= kWhiteKeyCount; ++i) {
      const int x = kKeysLeft + i * kWhiteKeyWidth;
      QTest::addRow("key line %d", i) << QLine(x, kKeysTop, x, kWhiteKeyBottom);
    }
  }
  void lineIsDrawn() {
    QFETCH(QLine, line);
    const QPoint step(line.dx() != 0, line.dy() != 0);
    for (QPoint p = line.p1(); p != line.p2() + step; p += step)
      QVERIFY2(IsDark(picture_.pixel(p)), qPrintable(QStringLiteral("%1,%2").arg(p.x()).arg(p.y())));
  }

  // Every key's name is printed: one group of ink columns per name, one group of ink rows per line
  // of names, in the strip below the white keys and in the strip above the outline.
  void namesArePrinted_data() {
    using namespace picture;
    QTest::addColumn<QRect>("strip");
    QTest::addColumn<int>("names");
    QTest::addColumn<int>("lines");
    const int keysRight = kKeysLeft + kWhiteKeyCount * kWhiteKeyWidth;
    QTest::newRow("white") << QRect(QPoint(kKeysLeft + 1, kWhiteKeyBottom + 1),
                                    QPoint(keysRight - 1, kOutlineBottom - 1)) << kWhiteKeyCount << 1;
    QTest::newRow("black") << QRect(QPoint(0, 0), QPoint(kPictureWidth - 1, kOutlineTop - 1)) << 10 << 2;
  }
  void namesArePrinted() {
    QFETCH(QRect, strip);
    QFETCH(int, names);
    QFETCH(int, lines);
    // Letters of one name stand closer than five columns; lines of names are at least two rows apart.
    QCOMPARE(InkGroups(picture_, strip, Qt::Horizontal, 5), names);
    QCOMPARE(InkGroups(picture_, strip, Qt::Vertical, 2), lines);
  }

  void icon_data() {
    QTest::addColumn<int>("size");
    for (const int size : {16, 32, 48, 256}) QTest::newRow(qPrintable(QString::number(size))) << size;
  }
  void icon() {
    QFETCH(int, size);
    const QImage img = DrawWindowIcon(size).convertToFormat(QImage::Format_ARGB32);
    QCOMPARE(img.size(), QSize(size, size));
    int yellow = 0, white = 0, opaque = 0;
    for (int y = 0; y < size; ++y) {
      for (int x = 0; x < size; ++x) {
        const QRgb c = img.pixel(x, y);
        if (qAlpha(c) < 255) continue;
        ++opaque;
        yellow += qRed(c) > 220 && qGreen(c) > 160 && qBlue(c) < 80;
        white += IsWhite(c);
      }
    }
    QVERIFY(opaque * 5 > size * size);
    QVERIFY(yellow * 50 > size * size);
    QVERIFY(white * 100 > size * size);
    for (const QPoint corner : {QPoint(0, 0), QPoint(size - 1, 0), QPoint(0, size - 1), QPoint(size - 1, size - 1)})
      QCOMPARE(qAlpha(img.pixel(corner)), 0);
    if (size <= 64) QVERIFY(WindowIcon().availableSizes().contains(QSize(size, size)));
  }
};

QTEST_MAIN(TestKeyboardPicture)
#include "test_keyboard_picture.moc"
