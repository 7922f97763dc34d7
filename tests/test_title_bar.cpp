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
};

QTEST_MAIN(TestTitleBar)
#include "test_title_bar.moc"
