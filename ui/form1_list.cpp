// Editing the code list: "add to list", the context menu and its four commands.
#include "model/numbers.h"
#include "model/sound_line.h"
#include "ui/announcements.h"
#include "ui/announcer.h"
#include "ui/code_list_box.h"
#include "ui/form1.h"

#include <QClipboard>
#include <QCursor>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <algorithm>

namespace quaverline {

void Form1::AppendLine(const QString& line, const QString& entry) { InsertLine(List1->count(), line, entry); }

void Form1::InsertLine(int index, const QString& line, const QString& entry) {
  List1->insertItem(index, line);
  List2->insertItem(index, entry);
}

void Form1::RemoveLine(int index) {
  delete List1->takeItem(index);
  delete List2->takeItem(index);
}

void Form1::ClearLines() {
  List1->clear();
  List2->clear();
}

void Form1::Command3_Click() {
  AppendLine(Text5->text(), PlayEntry(WholeText(pulses), Text1->text()));
  announcer->Announce(Text5->text());
}

void Form1::List1_MouseUp(Qt::MouseButton Button) {
  if (Button == Qt::RightButton && List1->count() > 0) mnupop->popup(QCursor::pos());
}

void Form1::List1_MenuKey() {
  // Where the right click would open the menu, and below the line the commands act on.
  if (List1->count() == 0) return;
  QListWidgetItem* line = List1->item(std::max(List1->SelectedRow(), 0));
  List1->scrollToItem(line);
  mnupop->popup(List1->viewport()->mapToGlobal(List1->visualItemRect(line).bottomLeft()));
  // Opened from the keyboard, the menu starts on its first command, which a screen reader says.
  mnupop->setActiveAction(mnuDuration);
}

void Form1::mnuduration_click() {
  const int i = List1->SelectedRow();
  if (i < 0) return;
  // The pulse value stays; only the duration is asked for. An entry whose first number cannot
  // be read is left as it is rather than lost.
  const auto first = ReadPlayEntryNumber(PlayEntryFirstNumber(List2->item(i)->text()), locale);
  const auto floored = first ? FloorToInt32(*first) : std::nullopt;
  if (!floored) return;
  const QString P = WholeText(*floored);
  RemoveLine(i);
  const QString A = InputBox(QString::fromUtf8(kDurationPrompt), QString::fromUtf8(kDialogTitle));
  const QString line = CodeLine(Text3->text(), A, P);
  InsertLine(i, line, PlayEntry(P, A));
  List1->SelectRow(i < List1->count() ? i : List1->count() - 1);
  announcer->Announce(line);
}

void Form1::mnucopy_click() {
  QString text;
  for (int i = 0; i < List1->count(); ++i) text += List1->item(i)->text() + QStringLiteral("\r\n");
  QClipboard* clipboard = QGuiApplication::clipboard();
  clipboard->clear();
  clipboard->setText(text);
  announcer->Announce(CopiedMessage(List1->count(), WindowLanguage()));
}

void Form1::mnudelnote_click() {
  int i = List1->SelectedRow();
  if (i < 0) return;
  const QString line = List1->item(i)->text();
  RemoveLine(i);
  if (i > List1->count() - 1) i = List1->count() - 1;
  List1->SelectRow(i);
  announcer->Announce(DeletedMessage(line, WindowLanguage()));
}

void Form1::mnudelall_click() {
  ClearLines();
  announcer->Announce(QString::fromUtf8(InLanguage(kAllLinesDeleted, WindowLanguage())));
}

}  // namespace quaverline
