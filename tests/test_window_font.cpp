// The popup menus and the duration dialog are windows of their own; they use the window's font.
#include "form_fixture.h"
#include "ui/window_font.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QInputDialog>
#include <QMenu>

using namespace quaverline;

class TestWindowFont : public QObject {
  Q_OBJECT
 private slots:
  void initTestCase() { UseWindowFontEverywhere(); }

  // The window's fonts are scaled with the window; a bitmap face comes in a few sizes only (on
  // Windows, MS Sans Serif is one).
  void fontsAreOutlineFacesAtTheirSize_data() {
    QTest::addColumn<int>("pixels");
    QTest::addColumn<bool>("bold");
    QTest::newRow("controls") << kFontPixels << false;
    QTest::newRow("code line") << kFontPixels << true;
    QTest::newRow("help text") << kHelpFontPixels << true;
  }
  void fontsAreOutlineFacesAtTheirSize() {
    QFETCH(int, pixels);
    QFETCH(bool, bold);
    const QFontInfo info(WindowFont(pixels, bold));
    QVERIFY2(QFontDatabase::isSmoothlyScalable(info.family()), qPrintable(info.family()));
    QCOMPARE(info.pixelSize(), pixels);
    QCOMPARE(info.bold(), bold);
  }

  void ownWindowsUseTheWindowsFont_data() {
    QTest::addColumn<QString>("window");
    QTest::newRow("list's popup menu") << "pop";
    QTest::newRow("language menu") << "language";
    QTest::newRow("duration dialog") << "dialog";
  }
  void ownWindowsUseTheWindowsFont() {
    QFETCH(QString, window);
    FormFixture f;
    QInputDialog dialog(f.form.get());
    QWidget* own = window == "pop" ? static_cast<QWidget*>(f.form->mnupop)
                   : window == "language" ? static_cast<QWidget*>(f.form->mnuLang)
                                          : &dialog;
    const QFontInfo mine(own->font()), windows(f.form->List1->font());
    QCOMPARE(mine.family(), windows.family());
    QCOMPARE(mine.pixelSize(), windows.pixelSize());
    QCOMPARE(mine.fixedPitch(), false);
  }
};

QTEST_MAIN(TestWindowFont)
#include "test_window_font.moc"
