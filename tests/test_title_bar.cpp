// The window's own title bar, for desktops that leave it to the program: the title and a close
// button only, above the menu bar; the client area stays as it is.
#include "form_fixture.h"
#include "ui/title_bar.h"

#include <QMenuBar>

using namespace quaverline;

class TestTitleBar : public QObject {
  Q_OBJECT
 private slots:
  void sitsAboveTheMenuBar() {
    FormFixture f;
    Form1& form = *f.form;
    const QSize before = form.size();
    form.UseOwnTitleBar();
    QVERIFY(form.windowFlags() & Qt::FramelessWindowHint);
    QCOMPARE(form.size(), before + QSize(0, TitleBar::kHeight));
    QCOMPARE(form.titleBar->geometry(), QRect(0, 0, before.width(), TitleBar::kHeight));
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QCOMPARE(form.menuBar()->y(), TitleBar::kHeight);
    QCOMPARE(form.centralWidget()->size(), QSize(791, 685));
    QCOMPARE(form.centralWidget()->mapTo(&form, QPoint()).y(), before.height() - 685 + TitleBar::kHeight);
  }

  // Only the close button acts; where other title bars have minimise and maximise, nothing does.
  void closesOnlyFromItsCloseButton_data() {
    QTest::addColumn<int>("fromRight");
    QTest::addColumn<int>("ends");
    QTest::newRow("close button") << 15 << 1;
    QTest::newRow("where maximise would be") << 38 << 0;
    QTest::newRow("where minimise would be") << 61 << 0;
  }
  void closesOnlyFromItsCloseButton() {
    QFETCH(int, fromRight);
    QFETCH(int, ends);
    FormFixture f;
    Form1& form = *f.form;
    form.UseOwnTitleBar();
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QTest::mouseClick(form.titleBar, Qt::LeftButton, {}, QPoint(form.width() - fromRight, TitleBar::kHeight / 2));
    QCOMPARE(f.ends, ends);
    QCOMPARE(form.windowState(), Qt::WindowNoState);
  }

  // Drawn as the active window's while the window is active, dimmed once another one is, and
  // again when it comes back.
  void followsTheWindowsActivation() {
    FormFixture f;
    Form1& form = *f.form;
    form.UseOwnTitleBar();
    form.show();
    form.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    QTRY_VERIFY(form.titleBar->DrawnActive());
    QWidget other;
    other.show();
    other.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&other));
    QTRY_VERIFY(!form.titleBar->DrawnActive());
    form.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    QTRY_VERIFY(form.titleBar->DrawnActive());
  }

  // A line along the whole window's edge, in a colour unlike the window's own, so that it stands
  // out from a light background.
  void edgeAroundTheWindow() {
    FormFixture f;
    Form1& form = *f.form;
    form.UseOwnTitleBar();
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    const QImage image = form.grab().toImage();
    const QColor edge = form.palette().color(QPalette::Shadow);
    QVERIFY(edge != form.palette().color(QPalette::Window));
    const int w = image.width() - 1, h = image.height() - 1;
    for (const QPoint& at : {QPoint(w / 2, 0), QPoint(0, h / 2), QPoint(w, h / 2), QPoint(w / 2, h), QPoint(0, h)})
      QCOMPARE(image.pixelColor(at).rgb(), edge.rgb());
  }
};

QTEST_MAIN(TestTitleBar)
#include "test_title_bar.moc"
