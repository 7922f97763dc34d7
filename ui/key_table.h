// The piano's keys: the clickable areas laid over the keyboard picture (Image1 in
// ui/control_table.h) in window pixels, and for each key what it plays, what the picture prints on
// it, what a screen reader calls it and which computer key plays it.
#pragma once

#include <array>

namespace quaverline {

struct KeyArea {
  const char* name;      // the label's name, e.g. "Label10"
  const char* noteName;  // handed to the melody; nullptr for an area without action
  int noteIndex;         // entry in the note table; 0 for an area without action
  int left;
  int top;
  int width;
  int height;
  const char* drawnName;  // printed on the key in the picture; a black key's two names by a blank
  int octave;             // 1 the lower, 2 the upper
  // The computer key that plays it, by its place on the keyboard: the PC scan code (set 1), which
  // Windows reports as is and X11/Wayland (evdev) as the key code less 8.
  int scanCode;
  const char* english;  // accessible names, UTF-8
  const char* german;
};

constexpr int kWhiteTop = 576, kWhiteWidth = 33, kWhiteHeight = 49;
constexpr int kBlackTop = 496, kBlackWidth = 17, kBlackHeight = 73;

// Lower octave: the bottom letter row Z X C V B N M for the white keys, the row above it for the
// black ones. Upper octave: the top letter row Q W E R T Y U, the digits above it.
// From the top of the stack to the bottom: an area hides those listed after it.
inline constexpr std::array<KeyArea, 26> kKeyAreas = {{
    {"Label32", "Ais'", 23, 725, kBlackTop, kBlackWidth, kBlackHeight, "Ais B", 2, 0x08,
     "Ais B (A sharp, B flat), upper octave", "Ais B, obere Oktave"},
    {"Label31", "Gis'", 21, 688, kBlackTop, kBlackWidth, kBlackHeight, "Gis As", 2, 0x07,
     "Gis As (G sharp, A flat), upper octave", "Gis As, obere Oktave"},
    {"Label30", "Fis'", 19, 652, kBlackTop, kBlackWidth, kBlackHeight, "Fis Ges", 2, 0x06,
     "Fis Ges (F sharp, G flat), upper octave", "Fis Ges, obere Oktave"},
    {"Label29", "Dis'", 16, 579, kBlackTop, kBlackWidth, kBlackHeight, "Dis Es", 2, 0x04,
     "Dis Es (D sharp, E flat), upper octave", "Dis Es, obere Oktave"},
    {"Label28", "Cis'", 14, 541, kBlackTop, kBlackWidth, kBlackHeight, "Cis Des", 2, 0x03,
     "Cis Des (C sharp, D flat), upper octave", "Cis Des, obere Oktave"},
    {"Label27", "Ais", 11, 469, kBlackTop, kBlackWidth, kBlackHeight, "Ais B", 1, 0x24,
     "Ais B (A sharp, B flat), lower octave", "Ais B, untere Oktave"},
    {"Label26", "B'", 24, 736, kWhiteTop, kWhiteWidth, kWhiteHeight, "H", 2, 0x16,
     "H (B), upper octave", "H, obere Oktave"},
    {"Label25", "A'", 22, 699, kWhiteTop, kWhiteWidth, kWhiteHeight, "A", 2, 0x15,
     "A, upper octave", "A, obere Oktave"},
    {"Label24", "G'", 20, 661, kWhiteTop, kWhiteWidth, kWhiteHeight, "G", 2, 0x14,
     "G, upper octave", "G, obere Oktave"},
    {"Label23", nullptr, 0, 0, 584, kWhiteWidth, kWhiteHeight, nullptr, 0, 0, nullptr, nullptr},
    {"Label22", "F'", 18, 624, kWhiteTop, kWhiteWidth, kWhiteHeight, "F", 2, 0x13,
     "F, upper octave", "F, obere Oktave"},
    {"Label21", "E'", 17, 589, kWhiteTop, kWhiteWidth, kWhiteHeight, "E", 2, 0x12,
     "E, upper octave", "E, obere Oktave"},
    {"Label20", "D'", 15, 552, kWhiteTop, kWhiteWidth, kWhiteHeight, "D", 2, 0x11,
     "D, upper octave", "D, obere Oktave"},
    {"Label19", nullptr, 0, 471, kBlackTop, kBlackWidth, kBlackHeight, nullptr, 0, 0, nullptr, nullptr},
    {"Label18", "Gis", 9, 432, kBlackTop, kBlackWidth, kBlackHeight, "Gis As", 1, 0x23,
     "Gis As (G sharp, A flat), lower octave", "Gis As, untere Oktave"},
    {"Label17", "Fis", 7, 398, kBlackTop, kBlackWidth, kBlackHeight, "Fis Ges", 1, 0x22,
     "Fis Ges (F sharp, G flat), lower octave", "Fis Ges, untere Oktave"},
    {"Label16", "Dis", 4, 327, kBlackTop, kBlackWidth, kBlackHeight, "Dis Es", 1, 0x20,
     "Dis Es (D sharp, E flat), lower octave", "Dis Es, untere Oktave"},
    {"Label15", "Cis", 2, 288, kBlackTop, kBlackWidth, kBlackHeight, "Cis Des", 1, 0x1F,
     "Cis Des (C sharp, D flat), lower octave", "Cis Des, untere Oktave"},
    {"Label14", "C'", 13, 514, kWhiteTop, kWhiteWidth, kWhiteHeight, "C", 2, 0x10,
     "C, upper octave", "C, obere Oktave"},
    {"Label13", "B", 12, 480, kWhiteTop, kWhiteWidth, kWhiteHeight, "H", 1, 0x32,
     "H (B), lower octave", "H, untere Oktave"},
    {"Label12", "A", 10, 445, kWhiteTop, kWhiteWidth, kWhiteHeight, "A", 1, 0x31,
     "A, lower octave", "A, untere Oktave"},
    {"Label11", "G", 8, 408, kWhiteTop, kWhiteWidth, kWhiteHeight, "G", 1, 0x30,
     "G, lower octave", "G, untere Oktave"},
    {"Label10", "F", 6, 372, kWhiteTop, kWhiteWidth, kWhiteHeight, "F", 1, 0x2F,
     "F, lower octave", "F, untere Oktave"},
    {"Label9", "E", 5, 336, kWhiteTop, kWhiteWidth, kWhiteHeight, "E", 1, 0x2E,
     "E, lower octave", "E, untere Oktave"},
    {"Label8", "D", 3, 299, kWhiteTop, kWhiteWidth, kWhiteHeight, "D", 1, 0x2D,
     "D, lower octave", "D, untere Oktave"},
    {"Label7", "C", 1, 264, kWhiteTop, kWhiteWidth, kWhiteHeight, "C", 1, 0x2C,
     "C, lower octave", "C, untere Oktave"},
}};

constexpr int kPianoKeyCount = 24;

// The areas that play, from the lowest note to the highest: indices into kKeyAreas.
constexpr std::array<int, kPianoKeyCount> KeysByPitch() {
  std::array<int, kPianoKeyCount> order{};
  for (int k = 0; k < int(kKeyAreas.size()); ++k)
    if (kKeyAreas[k].noteName) order[kKeyAreas[k].noteIndex - 1] = k;
  return order;
}
inline constexpr std::array<int, kPianoKeyCount> kKeysByPitch = KeysByPitch();

constexpr bool IsWhiteKey(const KeyArea& area) { return area.width == kWhiteWidth; }

}  // namespace quaverline
