// The window's style: Fusion, with the menu bar's overflow icons fetched only when drawn, so that
// building the window loads no image-format plugin.
#include "form_fixture.h"
#include "process_maps.h"
#include "ui/window_style.h"

#include <QImageReader>
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

  void drawsAsFusion() {
    WindowStyle style;
    QCOMPARE(style.baseStyle()->name(), QStringLiteral("fusion"));
  }
};

QTEST_MAIN(TestWindowStyle)
#include "test_window_style.moc"
