// The melody interpreter: plays note names separated by blanks, note by note.
#pragma once

#include "model/notes.h"

#include <QString>
#include <cstdint>

namespace quaverline {

// What the interpreter needs of the window that runs it.
class MelodyHost {
 public:
  virtual ~MelodyHost() = default;
  // Synthesises one period of the frequency and starts it looping on the sound card for the
  // note's length.
  virtual void StartNote(double frequency, std::int32_t lengthMs) = 0;
  // Arms the note timer with this interval and enables it.
  virtual void ArmTimer(std::int32_t intervalMs) = 0;
  // Lets the window handle events until the note timer has been disabled by its tick.
  virtual void WaitForTimer() = 0;
  // 1 once a sound-card button has played: the melody ends after the current token.
  virtual std::int32_t StopFlag() const = 0;
};

// Line breaks (CR LF) count as blanks; a name not in the table, in the wrong case, or empty
// (two blanks in a row) is a rest.
void Melody(const QString& Melo, const NoteTable& notes, MelodyHost& host);

}  // namespace quaverline
