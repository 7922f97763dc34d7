// The note table: two octaves of named semitones and the rest entry.
#pragma once

#include <QString>
#include <array>
#include <cstdint>

namespace quaverline {

struct NoteEntry {
  QString NoteName;          // as the melody text spells it; empty for the rest entry
  float Freq = 0.0f;         // hertz
  float Freq2 = 0.0f;        // kept equal to Freq
  std::int32_t LengthMs = 0; // how long the melody holds this entry
};

// Entry 0 is the rest; entries 1 to 24 are "C" to "B'".
constexpr int kNoteCount = 24;
using NoteTable = std::array<NoteEntry, kNoteCount + 1>;

constexpr std::int32_t kNoteLengthMs = 300;
constexpr std::int32_t kRestLengthMs = 100;

// German sharp names; "B" is B natural and the apostrophe marks the upper octave.
inline constexpr std::array<const char*, kNoteCount> kNoteNames = {
    "C",  "Cis",  "D",  "Dis",  "E",  "F",  "Fis",  "G",  "Gis",  "A",  "Ais",  "B",
    "C'", "Cis'", "D'", "Dis'", "E'", "F'", "Fis'", "G'", "Gis'", "A'", "Ais'", "B'"};

// Frequency of semitone ix (1 = C, 10 = A) in octave Oktav; octaves below -3 count as -3.
double FrequencyOf(std::int32_t ix, double Oktav);

// Index of the note named exactly Name (case matters), or 0, the rest entry.
std::int32_t GetIndex(const NoteTable& notes, const QString& Name);

// Fills every entry: names, single-precision frequencies of octave 1, lengths.
void FillNoteTable(NoteTable& notes);

}  // namespace quaverline
