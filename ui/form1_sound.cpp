// The sound buttons, the note timer and the melody that every key plays through.
#include "audio/playback.h"
#include "ui/form1.h"
#include "ui/playback_wait.h"

#include <QCoreApplication>
#include <QLineEdit>
#include <QListWidget>

namespace quaverline {

namespace {

QStringList Items(const QListWidget& list) {
  QStringList items;
  items.reserve(list.count());
  for (int i = 0; i < list.count(); ++i) items << list.item(i)->text();
  return items;
}

}  // namespace

// The playback handlers hold the note timer: a key's tick that falls due meanwhile takes effect
// after playback and cannot cut its tones.
void Form1::Command1_Click() {
  const NoteTimerHold hold(Timer1);
  PlayToneOnSpeaker(sound_, pulses, Text1->text(), locale);
}

void Form1::Command2_Click() {
  const NoteTimerHold hold(Timer1);
  PlayToneOnSoundcard(sound_, wave, pulses, Text1->text(), locale, stopflag);
}

void Form1::Command5_Click() {
  const NoteTimerHold hold(Timer1);
  PlayListOnSpeaker(sound_, Items(*List2), locale);
}

void Form1::Command6_Click() {
  const NoteTimerHold hold(Timer1);
  PlayListOnSoundcard(sound_, wave, Items(*List2), locale, stopflag);
}

void Form1::Timer1_Timer() {
  StopSound(sound_);
  Timer1.SetEnabled(false);
}

void Form1::Melody(const QString& Melo) { quaverline::Melody(Melo, notes, *this); }

void Form1::StartNote(double frequency, std::int32_t lengthMs) {
  if (SynthesizeTone(wave, frequency, frequency)) PlayWave(sound_, wave, SND_ASYNC | SND_LOOP, lengthMs);
}

void Form1::ArmTimer(std::int32_t intervalMs) {
  Timer1.SetInterval(intervalMs);
  Timer1.SetEnabled(true);
}

void Form1::WaitForTimer() {
  // Sleeps in the event loop: the window stays responsive and an idle note costs no processor.
  while (Timer1.Enabled()) {
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    // After playback held the timer, the clicks and keys it held back come first, as they would
    // to a thread that had been blocked; then the tick, unless one of them set the timer again.
    if (Timer1.HasKeptTick()) {
      DeliverHeldInput(*heldInput_);
      Timer1.DeliverKeptTick();
    }
  }
}

void Form1::mnuBeenden_Click() { EndProgram(); }

void Form1::EndProgram() {
  hide();
  StopSound(sound_);
  // No sound thread may still run and log while the process tears itself down.
  sound_.Shutdown();
  ExitProcess();
}

}  // namespace quaverline
