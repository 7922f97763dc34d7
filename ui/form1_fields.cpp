// Start-up, and the code line that follows every edit of the four fields.
#include "model/numbers.h"
#include "model/sound_line.h"
#include "ui/form1.h"

#include <QLabel>
#include <QLineEdit>

namespace quaverline {

void Form1::Form_Load() {
  RefreshSoundLine();
  FillNoteTable(notes);
}

void Form1::RefreshSoundLine() {
  const auto computed = ComputePulses(Text4->text(), Text2->text(), locale);
  if (!computed) return;  // keep the last line that could be computed
  pulses = *computed;
  Text5->setText(CodeLine(Text3->text(), Text1->text(), WholeText(pulses)));
  Label6->setText(WholeText(pulses));
}

void Form1::Text1_Change() { RefreshSoundLine(); }
void Form1::Text2_Change() { RefreshSoundLine(); }
void Form1::Text3_Change() { RefreshSoundLine(); }
void Form1::Text4_Change() { RefreshSoundLine(); }

}  // namespace quaverline
