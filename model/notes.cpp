#include "model/notes.h"

#include <cmath>

namespace quaverline {

double FrequencyOf(std::int32_t ix, double Oktav) {
  double o = Oktav;
  if (o <= -3) o = -3;
  const double base = 13.75 * std::pow(2.0, o + 3);
  const double r = std::pow(2.0, 1.0 / 12);
  const std::int32_t exponent = ix + 2;
  return std::pow(r, exponent) * base;
}

std::int32_t GetIndex(const NoteTable& notes, const QString& Name) {
  for (std::int32_t i = 1; i <= kNoteCount; ++i) {
    if (notes[i].NoteName == Name) return i;
  }
  return 0;
}

void FillNoteTable(NoteTable& notes) {
  notes = NoteTable{};
  for (int i = 1; i <= kNoteCount; ++i) notes[i].NoteName = QString::fromLatin1(kNoteNames[i - 1]);
  for (int i = 1; i <= kNoteCount; ++i) {
    notes[i].LengthMs = kNoteLengthMs;
    notes[i].Freq = static_cast<float>(FrequencyOf(i, 1));
    notes[i].Freq2 = notes[i].Freq;
  }
  notes[0].LengthMs = kRestLengthMs;
}

}  // namespace quaverline
