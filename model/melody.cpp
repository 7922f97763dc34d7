#include "model/melody.h"

#include "model/text_utils.h"

namespace quaverline {

void Melody(const QString& Melo, const NoteTable& notes, MelodyHost& host) {
  const QString blank = QStringLiteral(" ");
  QString rest = ReplaceVB5(Melo, QStringLiteral("\r\n"), blank);
  for (;;) {
    // Without a blank left, bite hands back the whole rest: this is the last token.
    const bool last = !rest.contains(blank);
    const QString token = bite(rest, blank);
    const std::int32_t i = GetIndex(notes, token);
    if (i > 0) host.StartNote(static_cast<double>(notes[i].Freq), notes[i].LengthMs);
    host.ArmTimer(notes[i].LengthMs);
    host.WaitForTimer();
    if (last || host.StopFlag() == 1) return;
  }
}

}  // namespace quaverline
