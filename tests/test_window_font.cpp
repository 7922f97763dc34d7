// The popup menus and the duration dialog are windows of their own; they use the window's font.
#include "form_fixture.h"
#include "ui/window_font.h"

#include <QFontInfo>
#include <QInputDialog>
#include <QMenu>

using namespace quaverline;

class TestWindowFont : public QObject {
  Q_OBJECT
 private slots:
  void initTestCase() { UseWindowFontEverywhere(); }

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
