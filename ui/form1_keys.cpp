// A click on a piano key: the note sounds, then (unless only listening) its lines are added.
#include "model/sound_line.h"
#include "ui/announcer.h"
#include "ui/form1.h"
#include "ui/key_table.h"

#include <QLineEdit>
#include <QRadioButton>

namespace quaverline {

void Form1::KeyArea_Click(int k) {
  const KeyArea& area = kKeyAreas.at(k);
  if (!area.noteName) return;
  stopflag = 0;
  Melody(QString::fromUtf8(area.noteName));
  if (Option1->isChecked()) return;
  // Read after the note: edits made while it sounded count.
  const QString port = Text3->text();
  const QString duration = Text1->text();
  const float frequency = notes[area.noteIndex].Freq;
  const QString line = KeyCodeLine(port, duration, frequency);
  AppendLine(line, PlayEntry(PlayEntryNumber(frequency, locale), duration));
  announcer->Announce(line);
}

}  // namespace quaverline
