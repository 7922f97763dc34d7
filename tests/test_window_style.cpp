// The window's style: Fusion, with the menu bar's overflow icons fetched only when drawn, so that
// building the window loads no image-format plugin.
#include "form_fixture.h"
#include "process_maps.h"
#include "ui/caption_button.h"
#include "ui/piano_keys.h"
#include "ui/window_style.h"

#include <algorithm>
#include <cstdlib>

#include <QImageReader>
#include <QLineEdit>
#include <QMenuBar>
#include <QStyleFactory>
#include <QTest>

using namespace quaverline;

class TestWindowStyle : public QObject {
  Q_OBJECT

 private slots:
  // First of all, as a plugin once loaded stays for the life of the process.
  void buildingTheWindowLoadsNoImagePlugin() {
    {
      FormFixture fixture;
      fixture.form->show();
      QVERIFY(QTest::qWaitForWindowExposed(fixture.form.get()));
      QVERIFY(!MappedInProcess("imageformats"));
    }
    // Shows that the check above can see a plugin when one is loaded.
    if (!QImageReader::supportedImageFormats().contains("gif")) QSKIP("no image-format plugins installed");
    QImageReader reader(QStringLiteral(":/no-such-image.gif"));
    reader.setDecideFormatFromContent(true);
    (void)reader.canRead();
    QVERIFY(MappedInProcess("imageformats"));
  }

  void iconsAreFusionsOnceDrawn_data() {
    QTest::addColumn<int>("icon");
    QTest::newRow("overflow, horizontal") << int(QStyle::SP_ToolBarHorizontalExtensionButton);
    QTest::newRow("overflow, vertical") << int(QStyle::SP_ToolBarVerticalExtensionButton);
    QTest::newRow("warning") << int(QStyle::SP_MessageBoxWarning);
    QTest::newRow("arrow") << int(QStyle::SP_ArrowUp);
  }

  void iconsAreFusionsOnceDrawn() {
    QFETCH(int, icon);
    const auto which = QStyle::StandardPixmap(icon);
    WindowStyle style;
    std::unique_ptr<QStyle> fusion(QStyleFactory::create(QStringLiteral("Fusion")));
    const QIcon ours = style.standardIcon(which);
    const QIcon theirs = fusion->standardIcon(which);
    QCOMPARE(ours.isNull(), theirs.isNull());
    QCOMPARE(ours.availableSizes(), theirs.availableSizes());
    for (const int size : {16, 32}) {
      QCOMPARE(ours.actualSize(QSize(size, size)), theirs.actualSize(QSize(size, size)));
      QCOMPARE(ours.pixmap(size).toImage(), theirs.pixmap(size).toImage());
      QCOMPARE(ours.pixmap(size, QIcon::Disabled).toImage(), theirs.pixmap(size, QIcon::Disabled).toImage());
    }
    const QIcon copy = ours;  // copies share the fetched icon or fetch their own
    QCOMPARE(copy.pixmap(24).toImage(), theirs.pixmap(24).toImage());
  }

  // The focus is drawn as a ring at least two pixels wide: between the control grabbed without and
  // with the focus, the pixels that change markedly go round the focused box one and a half times
  // or more (a one-pixel line goes round it once).
  void focusIsVisible_data() {
    QTest::addColumn<QString>("control");
    QTest::newRow("button") << "Command3";
    QTest::newRow("coloured button") << "Command1";
    QTest::newRow("empty code list") << "List1";
    QTest::newRow("menu bar after Alt") << "menu bar";
    QTest::newRow("piano key") << "Piano";
  }

  void focusIsVisible() {
    QFETCH(QString, control);
    FormFixture f;
    Form1& form = *f.form;
    form.show();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    form.Text1->setFocus();
    const QMap<QString, QWidget*> controls = {{"Command3", form.Command3}, {"Command1", form.Command1},
                                              {"List1", form.List1}, {"menu bar", form.menuBar()},
                                              {"Piano", form.Piano}};
    QWidget* target = controls[control];
    const QRect place(target->mapTo(&form, QPoint()), target->size());
    const QImage before = form.grab(place).toImage();
    QRect box = target->rect();
    if (target == form.menuBar()) {
      QTest::keyClick(&form, Qt::Key_Alt, Qt::AltModifier);
      QTRY_VERIFY(form.menuBar()->hasFocus());
      box = form.menuBar()->actionGeometry(form.mnuBeenden);
    } else {
      form.setAttribute(Qt::WA_KeyboardFocusChange);  // as Tab sets it, for Fusion's own focus
      target->setFocus(Qt::TabFocusReason);
      if (target == form.Piano) box = form.Piano->Key(0)->geometry();
    }
    QApplication::processEvents();
    const QImage after = form.grab(place).toImage();
    int changed = 0;
    for (int y = 0; y < before.height(); ++y)
      for (int x = 0; x < before.width(); ++x) {
        const QColor a = before.pixelColor(x, y), b = after.pixelColor(x, y);
        const int difference = std::max({std::abs(a.red() - b.red()), std::abs(a.green() - b.green()),
                                         std::abs(a.blue() - b.blue())});
        if (difference >= 64) ++changed;
      }
    const int perimeter = 2 * (box.width() + box.height());
    QVERIFY2(changed * 2 >= perimeter * 3, qPrintable(QStringLiteral("%1 pixels changed, box %2 x %3")
                                                          .arg(changed).arg(box.width()).arg(box.height())));
  }

  void drawsAsFusion() {
    WindowStyle style;
    QCOMPARE(style.baseStyle()->name(), QStringLiteral("fusion"));
  }
};

QTEST_MAIN(TestWindowStyle)
#include "test_window_style.moc"
