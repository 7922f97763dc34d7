// Editing the code list: "add to list", the context menu and its commands, and list playback.
#include "form_fixture.h"
#include "ui/caption_button.h"

#include <QAction>
#include <QClipboard>
#include <QLineEdit>
#include <QMenu>
#include <QRadioButton>

using namespace quaverline;

namespace {

// A list of n lines "Sound Portb.0 , 150 , <100 + i>" with entries "<100 + i>.150".
void Fill(FormFixture& f, int n) {
  for (int i = 0; i < n; ++i)
    f.form->AppendLine(QStringLiteral("Sound Portb.0 , 150 , %1").arg(100 + i), QStringLiteral("%1.150").arg(100 + i));
}

void ExpectPaired(const FormFixture& f) { QCOMPARE(f.form->List1->count(), f.form->List2->count()); }

QPoint RowCentre(const CodeListBox& list, int row) { return list.visualItemRect(list.item(row)).center(); }

}  // namespace

class ListTest : public QObject {
  Q_OBJECT
 private slots:
  void addToList();
  void rightClickOpensTheMenu_data();
  void rightClickOpensTheMenu();
  void rightClickKeepsTheSelection();
  void deleteNote_data();
  void deleteNote();
  void deleteAll();
  void changeDuration_data();
  void changeDuration();
  void changeDurationWithNothingSelected();
  void changeDurationOfAKeyLine();
  void copyToClipboard();
  void changesAreAnnounced_data();
  void changesAreAnnounced();
  void listPlayback();
};

void ListTest::addToList() {
  FormFixture f;
  f.form->List1->SelectRow(-1);
  f.form->Command3_Click();
  f.form->Option1->setChecked(true);  // the mode does not matter here
  f.form->Command3_Click();
  QCOMPARE(f.Lines(), (QStringList{"Sound Portb.0 , 150 , 666", "Sound Portb.0 , 150 , 666"}));
  QCOMPARE(f.Entries(), (QStringList{"666.150", "666.150"}));
  f.form->Text2->setText(QStringLiteral("-1000"));
  f.form->Text1->setText(QStringLiteral("x"));
  f.form->Command3_Click();
  QCOMPARE(f.Lines().last(), QStringLiteral("Sound Portb.0 , x , -667"));
  QCOMPARE(f.Entries().last(), QStringLiteral("-667.x"));
  QCOMPARE(f.form->List1->SelectedRow(), -1);
}

// The right button, the Menu key and Shift+F10 open the menu where the list has lines; from the
// keyboard it opens at the selected line.
void ListTest::rightClickOpensTheMenu_data() {
  QTest::addColumn<int>("lines");
  QTest::addColumn<int>("button");  // or 0 for the key
  QTest::addColumn<int>("key");
  QTest::addColumn<int>("modifiers");
  QTest::addColumn<bool>("opens");
  QTest::newRow("right, empty list") << 0 << int(Qt::RightButton) << 0 << 0 << false;
  QTest::newRow("right, one line") << 1 << int(Qt::RightButton) << 0 << 0 << true;
  QTest::newRow("left") << 3 << int(Qt::LeftButton) << 0 << 0 << false;
  QTest::newRow("middle") << 3 << int(Qt::MiddleButton) << 0 << 0 << false;
  QTest::newRow("Menu key, empty list") << 0 << 0 << int(Qt::Key_Menu) << 0 << false;
  QTest::newRow("Menu key, three lines") << 3 << 0 << int(Qt::Key_Menu) << 0 << true;
  QTest::newRow("Shift+F10, empty list") << 0 << 0 << int(Qt::Key_F10) << int(Qt::ShiftModifier) << false;
  QTest::newRow("Shift+F10, three lines") << 3 << 0 << int(Qt::Key_F10) << int(Qt::ShiftModifier) << true;
  QTest::newRow("F10 alone") << 3 << 0 << int(Qt::Key_F10) << 0 << false;
}

void ListTest::rightClickOpensTheMenu() {
  QFETCH(int, lines);
  QFETCH(int, button);
  QFETCH(int, key);
  QFETCH(int, modifiers);
  QFETCH(bool, opens);
  FormFixture f;
  f.form->show();
  QVERIFY(QTest::qWaitForWindowExposed(f.form.get()));
  Fill(f, lines);
  CodeListBox& list = *f.form->List1;
  if (lines > 0) list.SelectRow(lines - 1);
  if (button)
    QTest::mouseClick(list.viewport(), Qt::MouseButton(button), {}, QPoint(20, 200));
  else
    QTest::keyClick(&list, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
  QCOMPARE(f.form->mnupop->isVisible(), opens);
  if (opens && !button) {
    const QRect line = list.visualItemRect(list.item(lines - 1)).translated(list.viewport()->mapToGlobal(QPoint()));
    const QPoint corner = f.form->mnupop->geometry().topLeft();
    QVERIFY2(corner.y() >= line.top() && corner.y() <= line.bottom() + 2 && corner.x() >= line.left() &&
                 corner.x() < line.right(),
             qPrintable(QStringLiteral("menu at %1,%2").arg(corner.x()).arg(corner.y())));
  }
  // From the keyboard the first command is chosen at once, so that a screen reader says it.
  if (opens) QCOMPARE(f.form->mnupop->activeAction(), button ? nullptr : f.form->mnuDuration);
  if (lines > 0 && (!button || button == Qt::RightButton)) QCOMPARE(list.SelectedRow(), lines - 1);
  f.form->mnupop->hide();
}

void ListTest::rightClickKeepsTheSelection() {
  FormFixture f;
  f.form->show();
  QVERIFY(QTest::qWaitForWindowExposed(f.form.get()));
  Fill(f, 4);
  CodeListBox& list = *f.form->List1;
  QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, RowCentre(list, 1));
  QCOMPARE(list.SelectedRow(), 1);
  QTest::mouseClick(list.viewport(), Qt::RightButton, {}, RowCentre(list, 3));
  QVERIFY(f.form->mnupop->isVisible());
  QCOMPARE(list.SelectedRow(), 1);
  f.form->mnupop->hide();
  // The menu's commands act on the line selected before the right click.
  f.form->mnudelnote->trigger();
  QCOMPARE(f.Lines(), (QStringList{"Sound Portb.0 , 150 , 100", "Sound Portb.0 , 150 , 102", "Sound Portb.0 , 150 , 103"}));
}

void ListTest::deleteNote_data() {
  QTest::addColumn<int>("lines");
  QTest::addColumn<int>("selected");
  QTest::addColumn<QStringList>("left");  // third numbers left, in order
  QTest::addColumn<int>("selectedAfter");
  QTest::newRow("middle of three") << 3 << 1 << QStringList{"100", "102"} << 1;
  QTest::newRow("last of three") << 3 << 2 << QStringList{"100", "101"} << 1;
  QTest::newRow("first of three") << 3 << 0 << QStringList{"101", "102"} << 0;
  QTest::newRow("the only line") << 1 << 0 << QStringList{} << -1;
  QTest::newRow("nothing selected") << 3 << -1 << QStringList{"100", "101", "102"} << -1;
}

void ListTest::deleteNote() {
  QFETCH(int, lines);
  QFETCH(int, selected);
  QFETCH(QStringList, left);
  QFETCH(int, selectedAfter);
  FormFixture f;
  Fill(f, lines);
  f.form->List1->SelectRow(selected);
  f.form->mnudelnote_click();
  QStringList expectedLines, expectedEntries;
  for (const QString& n : left) {
    expectedLines << QStringLiteral("Sound Portb.0 , 150 , ") + n;
    expectedEntries << n + QStringLiteral(".150");
  }
  QCOMPARE(f.Lines(), expectedLines);
  QCOMPARE(f.Entries(), expectedEntries);
  QCOMPARE(f.form->List1->SelectedRow(), selectedAfter);
}

void ListTest::deleteAll() {
  FormFixture f;
  Fill(f, 5);
  f.form->List1->SelectRow(2);
  f.form->mnudelall->trigger();
  QCOMPARE(f.form->List1->count(), 0);
  ExpectPaired(f);
  QCOMPARE(f.form->List1->SelectedRow(), -1);
}

void ListTest::changeDuration_data() {
  QTest::addColumn<QString>("port");
  QTest::addColumn<QString>("answer");
  QTest::addColumn<QString>("line");
  QTest::addColumn<QString>("entry");
  QTest::newRow("new duration") << "Portb.0" << "300" << "Sound Portb.0 , 300 , 102" << "102.300";
  QTest::newRow("port changed since") << "Portd.5" << "300" << "Sound Portd.5 , 300 , 102" << "102.300";
  QTest::newRow("cancel gives an empty duration") << "Portb.0" << "" << "Sound Portb.0 ,  , 102" << "102.";
  QTest::newRow("answer used as typed") << "Portb.0" << " abc " << "Sound Portb.0 ,  abc  , 102" << "102. abc ";
}

void ListTest::changeDuration() {
  QFETCH(QString, port);
  QFETCH(QString, answer);
  QFETCH(QString, line);
  QFETCH(QString, entry);
  FormFixture f;
  Fill(f, 5);
  f.form->Text3->setText(port);
  f.form->Text1->setText(QStringLiteral("999"));  // not read: the answer is the duration
  f.form->List1->SelectRow(2);
  f.answer = answer;
  f.form->mnuDuration->trigger();
  QCOMPARE(f.prompts, (QStringList{"Please input new duration for selected Code:", "QUAVERLINE"}));
  QCOMPARE(f.listsWhileAsking, 4);  // the line is out of the list while the dialog is open
  QCOMPARE(f.form->List1->count(), 5);
  ExpectPaired(f);
  QCOMPARE(f.Lines().at(2), line);
  QCOMPARE(f.Entries().at(2), entry);
  QCOMPARE(f.Lines().at(1), QStringLiteral("Sound Portb.0 , 150 , 101"));
  QCOMPARE(f.Lines().at(3), QStringLiteral("Sound Portb.0 , 150 , 103"));
  QCOMPARE(f.form->List1->SelectedRow(), 2);
}

void ListTest::changeDurationWithNothingSelected() {
  FormFixture f;
  Fill(f, 2);
  f.form->List1->SelectRow(-1);
  f.form->mnuduration_click();
  QVERIFY(f.prompts.isEmpty());
  QCOMPARE(f.form->List1->count(), 2);
  // An entry whose first number cannot be read keeps its line instead of losing it.
  f.form->AppendLine(QStringLiteral("Sound x , y , z"), QStringLiteral("z.y"));
  f.form->List1->SelectRow(2);
  f.form->mnuduration_click();
  QVERIFY(f.prompts.isEmpty());
  QCOMPARE(f.Lines().at(2), QStringLiteral("Sound x , y , z"));
  ExpectPaired(f);
}

void ListTest::changeDurationOfAKeyLine() {
  FormFixture f;
  f.ClickKey("F");
  f.form->List1->SelectRow(0);
  f.answer = QStringLiteral("75");
  f.form->mnuduration_click();
  QCOMPARE(f.Lines(), QStringList{"Sound Portb.0 , 75 , 349"});
  QCOMPARE(f.Entries(), QStringList{"349.75"});  // the pulse value rounded down
}

void ListTest::copyToClipboard() {
  FormFixture f;
  f.form->AppendLine(QStringLiteral("Sound Portb.0 , 150 , 666"), QStringLiteral("666.150"));
  f.form->AppendLine(QStringLiteral("Sound Portb.0 , 200 , 444"), QStringLiteral("444.200"));
  f.form->List1->SelectRow(1);
  f.form->mnucopy->trigger();
  QCOMPARE(QGuiApplication::clipboard()->text(),
           QStringLiteral("Sound Portb.0 , 150 , 666\r\nSound Portb.0 , 200 , 444\r\n"));
  QCOMPARE(f.form->List1->count(), 2);
  QCOMPARE(f.form->List1->SelectedRow(), 1);
  f.form->mnudelall_click();
  f.form->mnucopy_click();
  QCOMPARE(QGuiApplication::clipboard()->text(), QString());
}

// What a screen reader is told after each command, in the window's language.
void ListTest::changesAreAnnounced_data() {
  QTest::addColumn<QString>("command");
  QTest::addColumn<int>("lines");
  QTest::addColumn<bool>("german");
  QTest::addColumn<QString>("told");
  QTest::newRow("add to list") << "add" << 0 << false << "Sound Portb.0 , 150 , 666";
  QTest::newRow("change duration") << "duration" << 3 << false << "Sound Portb.0 , 75 , 101";
  QTest::newRow("copy one line") << "copy" << 1 << false << "1 line copied to the clipboard";
  QTest::newRow("copy three lines") << "copy" << 3 << false << "3 lines copied to the clipboard";
  QTest::newRow("copy, German") << "copy" << 3 << true << "3 Zeilen in die Zwischenablage kopiert";
  QTest::newRow("delete note") << "delete" << 3 << false << "deleted: Sound Portb.0 , 150 , 101";
  QTest::newRow("delete note, German") << "delete" << 3 << true << "gelöscht: Sound Portb.0 , 150 , 101";
  QTest::newRow("delete all") << "all" << 3 << false << "all lines deleted";
  QTest::newRow("delete all, German") << "all" << 3 << true << "alle Zeilen gelöscht";
}

void ListTest::changesAreAnnounced() {
  QFETCH(QString, command);
  QFETCH(int, lines);
  QFETCH(bool, german);
  QFETCH(QString, told);
  FormFixture f;
  if (german) f.form->mnuGerman_Click();
  Fill(f, lines);
  if (lines > 1) f.form->List1->SelectRow(1);
  f.answer = QStringLiteral("75");
  const QMap<QString, QAction*> actions = {{"duration", f.form->mnuDuration}, {"copy", f.form->mnucopy},
                                          {"delete", f.form->mnudelnote}, {"all", f.form->mnudelall}};
  if (command == QLatin1String("add"))
    f.form->Command3->click();
  else
    actions[command]->trigger();
  QCOMPARE(f.Announced(), told);
}

void ListTest::listPlayback() {
  FormFixture f;
  f.form->AppendLine(QStringLiteral("a"), QStringLiteral("666.150"));
  f.form->AppendLine(QStringLiteral("b"), QStringLiteral("bad"));
  f.form->AppendLine(QStringLiteral("c"), QStringLiteral("1333.300"));
  f.form->Command5_Click();
  QCOMPARE(int(f.sound.calls.size()), 2);  // the first note and its silence, then the bad entry ends it
  QCOMPARE(f.sound.calls[0].kind, SoundCall::Beep);
  QCOMPARE(f.sound.calls[0].frequency, 666);
  f.sound.calls.clear();
  f.form->Command6_Click();
  QCOMPARE(int(f.sound.calls.size()), 3);
  QCOMPARE(f.sound.calls[0].frameCount, 66);
  QCOMPARE(f.form->stopflag, 1);
  QVERIFY(!f.sound.looping);
  QCOMPARE(f.form->List1->count(), 3);  // playback reads the list and leaves it alone
}

QTEST_MAIN(ListTest)
#include "test_list.moc"
