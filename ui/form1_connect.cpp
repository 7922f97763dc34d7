// Wiring of every control and menu item to its handler.
#include "ui/caption_button.h"
#include "ui/code_list_box.h"
#include "ui/form1.h"
#include "ui/key_area_widget.h"
#include "ui/key_table.h"
#include "ui/piano_keys.h"

#include <QAction>
#include <QLineEdit>
#include <QMenu>

namespace quaverline {

void Form1::ConnectHandlers() {
  connect(Text1, &QLineEdit::textChanged, this, &Form1::Text1_Change);
  connect(Text2, &QLineEdit::textChanged, this, &Form1::Text2_Change);
  connect(Text3, &QLineEdit::textChanged, this, &Form1::Text3_Change);
  connect(Text4, &QLineEdit::textChanged, this, &Form1::Text4_Change);

  connect(Command1, &QPushButton::clicked, this, &Form1::Command1_Click);
  connect(Command2, &QPushButton::clicked, this, &Form1::Command2_Click);
  connect(Command3, &QPushButton::clicked, this, &Form1::Command3_Click);
  connect(Command5, &QPushButton::clicked, this, &Form1::Command5_Click);
  connect(Command6, &QPushButton::clicked, this, &Form1::Command6_Click);
  connect(&Timer1, &NoteTimer::Timer, this, &Form1::Timer1_Timer);

  for (int k = 0; k < int(keyAreas.size()); ++k)
    if (kKeyAreas[k].noteName)
      connect(keyAreas[k], &KeyAreaWidget::Click, this, [this, k] { KeyArea_Click(k); });
  // A key played from the keyboard is a click on it.
  connect(Piano, &PianoKeys::Play, this, &Form1::KeyArea_Click);

  connect(List1, &CodeListBox::MouseUp, this, &Form1::List1_MouseUp);
  connect(List1, &CodeListBox::MenuKey, this, &Form1::List1_MenuKey);
  connect(mnuDuration, &QAction::triggered, this, &Form1::mnuduration_click);
  connect(mnucopy, &QAction::triggered, this, &Form1::mnucopy_click);
  connect(mnudelnote, &QAction::triggered, this, &Form1::mnudelnote_click);
  connect(mnudelall, &QAction::triggered, this, &Form1::mnudelall_click);

  connect(mnuBeenden, &QAction::triggered, this, &Form1::mnuBeenden_Click);
  connect(mnuEnglish, &QAction::triggered, this, &Form1::mnuEnglish_Click);
  connect(mnuGerman, &QAction::triggered, this, &Form1::mnuGerman_Click);
}

}  // namespace quaverline
