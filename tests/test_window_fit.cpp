// The fixed-size window on a work area smaller than it: uniformly smaller, every control and key
// inside; on a larger one at 100 %.
#include "form_fixture.h"
#include "ui/backdrop.h"
#include "ui/caption_button.h"
#include "ui/window_fit.h"

#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QRadioButton>

using namespace quaverline;

class TestWindowFit : public QObject {
  Q_OBJECT
 private slots:
  void scaleForWorkArea_data() {
    QTest::addColumn<QSize>("workArea");
    QTest::addColumn<QSize>("window");
    QTest::addColumn<double>("scale");
    // Frame: 4 px borders, a 38 px title bar.
    QTest::newRow("1080p at 150 % with a top bar") << QSize(1280, 688) << QSize(791, 706) << 646.0 / 706;
    QTest::newRow("too narrow") << QSize(700, 1000) << QSize(791, 706) << 692.0 / 791;
    QTest::newRow("room to spare") << QSize(1920, 1040) << QSize(791, 706) << 1.0;
    QTest::newRow("exactly fits") << QSize(799, 748) << QSize(791, 706) << 1.0;
    QTest::newRow("a pixel short") << QSize(799, 747) << QSize(791, 706) << 705.0 / 706;
    QTest::newRow("absurdly small") << QSize(100, 80) << QSize(791, 706) << 0.25;
  }
  void scaleForWorkArea() {
    QFETCH(QSize, workArea);
    QFETCH(QSize, window);
    QFETCH(double, scale);
    QVERIFY2(qAbs(FitScale(workArea, window) - scale) < 1e-9,
             qPrintable(QString::number(FitScale(workArea, window), 'g', 10)));
  }

  void scaledPlacesKeepTheirNeighbours_data() {
    QTest::addColumn<QRect>("place");
    QTest::addColumn<double>("scale");
    QTest::addColumn<QRect>("scaled");
    QTest::newRow("white key F") << QRect(372, 576, 33, 49) << 0.5 << QRect(186, 288, 17, 25);
    QTest::newRow("next white key") << QRect(405, 576, 33, 49) << 0.5 << QRect(203, 288, 16, 25);
    QTest::newRow("1 px rule") << QRect(8, 128, 513, 1) << 0.4 << QRect(3, 51, 205, 1);
  }
  void scaledPlacesKeepTheirNeighbours() {
    QFETCH(QRect, place);
    QFETCH(double, scale);
    QFETCH(QRect, scaled);
    QCOMPARE(ScaledRect(place, scale), scaled);
  }

  void everyControlAndKeyInsideTheWorkArea_data() {
    QTest::addColumn<QRect>("workArea");
    QTest::addColumn<bool>("smaller");
    QTest::newRow("1280 x 688 below a top bar") << QRect(0, 32, 1280, 688) << true;
    QTest::newRow("1920 x 1040") << QRect(0, 40, 1920, 1040) << false;
  }
  void everyControlAndKeyInsideTheWorkArea() {
    QFETCH(QRect, workArea);
    QFETCH(bool, smaller);
    FormFixture f;
    Form1& form = *f.form;
    form.FitToWorkArea(workArea);
    QWidget* client = form.centralWidget();
    const double scale = client->width() / 791.0;
    if (smaller) {
      QVERIFY(scale < 1);
    } else {
      QCOMPARE(client->size(), QSize(791, 685));
    }
    // The window's place is that of its frame: a title bar as tall as GNOME's, then the menu bar
    // and the client area.
    const QRect withTitleBar(form.pos(), form.size() + QSize(0, 37));
    QVERIFY2(workArea.contains(withTitleBar), qPrintable(QStringLiteral("%1,%2 %3x%4")
        .arg(withTitleBar.x()).arg(withTitleBar.y()).arg(withTitleBar.width()).arg(withTitleBar.height())));
    QCOMPARE(form.size(), QSize(client->width(), client->height() + form.menuBar()->sizeHint().height()));

    QWidget* controls[] = {form.List1, form.Frame1, form.Text1, form.Text2, form.Text3, form.Text4, form.Text5,
                           form.Label1, form.Label2, form.Label3, form.Label4, form.Label5, form.Label33,
                           form.Command1, form.Command2, form.Command3, form.Command5, form.Command6,
                           form.Option1, form.Option2};
    for (QWidget* control : controls) {
      const QRect place(control->mapTo(client, QPoint()), control->size());
      QVERIFY2(client->rect().contains(place), qPrintable(control->objectName() + control->metaObject()->className()));
    }
    int keys = 0;
    for (size_t k = 0; k < kKeyAreas.size(); ++k) {
      const KeyArea& area = kKeyAreas[k];
      if (!area.noteName) continue;
      ++keys;
      const QRect place(form.keyAreas[k]->mapTo(client, QPoint()), form.keyAreas[k]->size());
      QVERIFY2(client->rect().contains(place), area.noteName);
      // The same spot of the keyboard as at 100 %.
      const QPointF unscaled = QPointF(place.center()) / scale;
      QVERIFY2(QRectF(area.left, area.top, area.width, area.height).contains(unscaled), area.noteName);
      QCOMPARE(f.WidgetAt(place.center()), form.keyAreas[k]);
    }
    QCOMPARE(keys, 24);
  }
};

QTEST_MAIN(TestWindowFit)
#include "test_window_fit.moc"
