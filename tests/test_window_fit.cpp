// The fixed-size window on a work area smaller than it: uniformly smaller, every control and key
// inside; on a larger one at 100 %.
#include "form_fixture.h"
#include "ui/backdrop.h"
#include "ui/caption_button.h"
#include "ui/title_bar.h"
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
    const double fitted = FitScale(workArea, window, kFrameAllowance);
    QVERIFY2(qAbs(fitted - scale) < 1e-9, qPrintable(QString::number(fitted, 'g', 10)));
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

  // Wayland reports the whole screen as its work area; a desktop's top bar takes part of it.
  void workAreaLeavesRoomForATopBar_data() {
    QTest::addColumn<QRect>("available");
    QTest::addColumn<bool>("wayland");
    QTest::addColumn<QRect>("area");
    const QRect screen(0, 0, 1280, 720);
    QTest::newRow("Wayland, the whole screen") << screen << true << QRect(0, 32, 1280, 688);
    QTest::newRow("Wayland, a work area reported") << QRect(0, 0, 1280, 680) << true << QRect(0, 0, 1280, 680);
    QTest::newRow("X11, the whole screen") << screen << false << screen;
  }
  void workAreaLeavesRoomForATopBar() {
    QFETCH(QRect, available);
    QFETCH(bool, wayland);
    QFETCH(QRect, area);
    QCOMPARE(WorkArea(QRect(0, 0, 1280, 720), available, wayland), area);
  }

  void everyControlAndKeyInsideTheWorkArea_data() {
    QTest::addColumn<QRect>("workArea");
    QTest::addColumn<QMargins>("frame");
    QTest::addColumn<bool>("ownTitleBar");
    QTest::addColumn<bool>("smaller");
    QTest::newRow("1280 x 688 below a top bar") << QRect(0, 32, 1280, 688) << kFrameAllowance << false << true;
    QTest::newRow("1920 x 1040") << QRect(0, 40, 1920, 1040) << kFrameAllowance << false << false;
    QTest::newRow("own title bar, 1280 x 720 less a top bar") << QRect(0, 32, 1280, 688) << QMargins() << true << true;
    QTest::newRow("own title bar, 1920 x 1048") << QRect(0, 32, 1920, 1048) << QMargins() << true << false;
    QTest::newRow("a window manager's 37 px title bar") << QRect(0, 0, 1280, 720) << QMargins(0, 37, 0, 0) << false << true;
  }
  void everyControlAndKeyInsideTheWorkArea() {
    QFETCH(QRect, workArea);
    QFETCH(QMargins, frame);
    QFETCH(bool, ownTitleBar);
    QFETCH(bool, smaller);
    FormFixture f;
    Form1& form = *f.form;
    if (ownTitleBar) form.UseOwnTitleBar();
    form.FitToWorkArea(workArea, frame);
    QWidget* client = form.centralWidget();
    const double scale = client->width() / 791.0;
    // Uniformly: not a client area cut short below a layout scaled for more room than there is.
    QVERIFY2(qAbs(client->height() - 685 * scale) <= 1, qPrintable(QStringLiteral("%1 x %2").arg(client->width()).arg(client->height())));
    if (smaller) {
      QVERIFY(scale < 1);
    } else {
      QCOMPARE(client->size(), QSize(791, 685));
    }
    // The window inside its frame, and the frame inside the work area.
    const QRect framed(form.geometry().topLeft() - QPoint(frame.left(), frame.top()), form.size().grownBy(frame));
    QVERIFY2(workArea.contains(framed), qPrintable(QStringLiteral("%1,%2 %3x%4")
        .arg(framed.x()).arg(framed.y()).arg(framed.width()).arg(framed.height())));
    const int above = form.menuBar()->sizeHint().height() + (ownTitleBar ? TitleBar::kHeight : 0);
    QCOMPARE(form.size(), QSize(client->width(), client->height() + above));
    if (ownTitleBar) QCOMPARE(form.titleBar->width(), form.width());

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

  // Fitted again when the screen changes, the window takes the scale afresh from the layout as
  // built: back at 100 % every place and font is the table's, and two fits to one area agree.
  void fitsAgainFromTheLayoutAsBuilt() {
    FormFixture f;
    Form1& form = *f.form;
    QList<QWidget*> controls = form.centralWidget()->findChildren<QWidget*>();
    QList<QRect> built;
    QList<int> pixels;
    for (QWidget* control : controls) {
      built << control->geometry();
      pixels << control->font().pixelSize();
    }
    const QRect small(0, 32, 1280, 600), large(0, 0, 1920, 1040);
    form.FitToWorkArea(small, kFrameAllowance);
    const double scale = form.centralWidget()->width() / 791.0;
    QCOMPARE(form.Label33->font().pixelSize(), qRound(16 * scale));  // fonts set on a control follow
    QCOMPARE(form.Label5->font().pixelSize(), qRound(11 * scale));
    QList<QRect> once;
    for (QWidget* control : controls) once << control->geometry();
    form.FitToWorkArea(small, kFrameAllowance);
    for (int i = 0; i < controls.size(); ++i) QCOMPARE(controls[i]->geometry(), once[i]);
    form.FitToWorkArea(large, kFrameAllowance);
    QCOMPARE(form.centralWidget()->size(), QSize(791, 685));
    for (int i = 0; i < controls.size(); ++i) {
      QCOMPARE(controls[i]->geometry(), built[i]);
      QCOMPARE(controls[i]->font().pixelSize(), pixels[i]);
    }
  }
};

QTEST_MAIN(TestWindowFit)
#include "test_window_fit.moc"
