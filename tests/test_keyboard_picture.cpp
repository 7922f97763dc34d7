// The drawn keyboard against the key areas laid over it, and the drawn window icon.
#include "ui/key_table.h"
#include "ui/keyboard_picture.h"
#include "ui/window_icon.h"

#include <QtTest>

using namespace quaverline;

namespace {

// A window rectangle mapped into the picture, the way the stretched picture lies under it.
QRectF ToPicture(const QRectF& window) {
  const qreal sx = qreal(kPictureWidth) / kImageWidth;
  const qreal sy = qreal(kPictureHeight) / kImageHeight;
  return {(window.left() - kImageLeft) * sx, (window.top() - kImageTop) * sy, window.width() * sx,
          window.height() * sy};
}

QPointF ToWindow(const QPointF& pic) {
  return {kImageLeft + pic.x() * kImageWidth / kPictureWidth,
          kImageTop + pic.y() * kImageHeight / kPictureHeight};
}

// The whole pixels inside a mapped rectangle.
QRect InnerPixels(const QRectF& r) {
  const int left = int(std::ceil(r.left())), top = int(std::ceil(r.top()));
  return QRect(QPoint(left, top), QPoint(int(std::floor(r.right())) - 1, int(std::floor(r.bottom())) - 1));
}

bool IsDark(QRgb c) { return qGray(c) < 96; }
bool IsWhite(QRgb c) { return qRed(c) > 240 && qGreen(c) > 240 && qBlue(c) > 240; }

int DarkCount(const QImage& img, const QRect& r) {
  int n = 0;
  for (int y = r.top(); y <= r.bottom(); ++y)
    for (int x = r.left(); x <= r.right(); ++x) n += IsDark(img.pixel(x, y));
  return n;
}

// Longest horizontal run of dark pixels in any row of r: key separators are one pixel wide.
int LongestDarkRun(const QImage& img, const QRect& r) {
  int longest = 0;
  for (int y = r.top(); y <= r.bottom(); ++y) {
    int run = 0;
    for (int x = r.left(); x <= r.right(); ++x) {
      run = IsDark(img.pixel(x, y)) ? run + 1 : 0;
      longest = std::max(longest, run);
    }
  }
  return longest;
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

bool AnyAreaAt(const QPointF& window) {
  for (const KeyArea& a : kKeyAreas)
    if (QRectF(a.left, a.top, a.width, a.height).contains(window)) return true;
  return false;
}

}  // namespace

class TestKeyboardPicture : public QObject {
  Q_OBJECT

  QImage picture_;

 private slots:
  void initTestCase() { picture_ = DrawKeyboardPicture(); }

  void sizeAndFormat() {
    QCOMPARE(picture_.size(), QSize(kPictureWidth, kPictureHeight));
    QVERIFY(!picture_.hasAlphaChannel());
    QCOMPARE(picture_.depth(), 32);
  }

  void keyAreaLiesOnItsKey_data() {
    QTest::addColumn<int>("area");
    for (int i = 0; i < int(kKeyAreas.size()); ++i)
      if (kKeyAreas[i].noteName) QTest::newRow(kKeyAreas[i].noteName) << i;
  }
  void keyAreaLiesOnItsKey() {
    QFETCH(int, area);
    const KeyArea& a = kKeyAreas[area];
    const QRectF mapped = ToPicture(QRectF(a.left, a.top, a.width, a.height));
    const QPoint centre = mapped.center().toPoint();
    const QRect inner = InnerPixels(mapped);
    QVERIFY(QRect(QPoint(), picture_.size()).contains(inner));
    if (a.width == kBlackWidth) {
      QVERIFY(IsDark(picture_.pixel(centre)));
      // Nearly all of the area is on the black key, not on the white keys beside it.
      QVERIFY2(DarkCount(picture_, inner) * 10 >= inner.width() * inner.height() * 9,
               qPrintable(QStringLiteral("mapped to %1..%2").arg(mapped.left()).arg(mapped.right())));
    } else {
      QVERIFY(IsWhite(picture_.pixel(centre)));
      QVERIFY2(LongestDarkRun(picture_, inner) <= 1, "a black key reaches into the area");
      QVERIFY(inner.bottom() <= picture::kWhiteKeyBottom);
    }
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
