// The clickable areas laid over the keyboard picture (Image1 in ui/control_table.h), in window
// pixels.
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
};

constexpr int kWhiteTop = 576, kWhiteWidth = 33, kWhiteHeight = 49;
constexpr int kBlackTop = 496, kBlackWidth = 17, kBlackHeight = 73;

// From the top of the stack to the bottom: an area hides those listed after it.
inline constexpr std::array<KeyArea, 26> kKeyAreas = {{
    {"Label32", "Ais'", 23, 725, kBlackTop, kBlackWidth, kBlackHeight},
    {"Label31", "Gis'", 21, 688, kBlackTop, kBlackWidth, kBlackHeight},
    {"Label30", "Fis'", 19, 652, kBlackTop, kBlackWidth, kBlackHeight},
    {"Label29", "Dis'", 16, 579, kBlackTop, kBlackWidth, kBlackHeight},
    {"Label28", "Cis'", 14, 541, kBlackTop, kBlackWidth, kBlackHeight},
    {"Label27", "Ais", 11, 469, kBlackTop, kBlackWidth, kBlackHeight},
    {"Label26", "B'", 24, 736, kWhiteTop, kWhiteWidth, kWhiteHeight},
    {"Label25", "A'", 22, 699, kWhiteTop, kWhiteWidth, kWhiteHeight},
    {"Label24", "G'", 20, 661, kWhiteTop, kWhiteWidth, kWhiteHeight},
    {"Label23", nullptr, 0, 0, 584, kWhiteWidth, kWhiteHeight},
    {"Label22", "F'", 18, 624, kWhiteTop, kWhiteWidth, kWhiteHeight},
    {"Label21", "E'", 17, 589, kWhiteTop, kWhiteWidth, kWhiteHeight},
    {"Label20", "D'", 15, 552, kWhiteTop, kWhiteWidth, kWhiteHeight},
    {"Label19", nullptr, 0, 471, kBlackTop, kBlackWidth, kBlackHeight},
    {"Label18", "Gis", 9, 432, kBlackTop, kBlackWidth, kBlackHeight},
    {"Label17", "Fis", 7, 398, kBlackTop, kBlackWidth, kBlackHeight},
    {"Label16", "Dis", 4, 327, kBlackTop, kBlackWidth, kBlackHeight},
    {"Label15", "Cis", 2, 288, kBlackTop, kBlackWidth, kBlackHeight},
    {"Label14", "C'", 13, 514, kWhiteTop, kWhiteWidth, kWhiteHeight},
    {"Label13", "B", 12, 480, kWhiteTop, kWhiteWidth, kWhiteHeight},
    {"Label12", "A", 10, 445, kWhiteTop, kWhiteWidth, kWhiteHeight},
    {"Label11", "G", 8, 408, kWhiteTop, kWhiteWidth, kWhiteHeight},
    {"Label10", "F", 6, 372, kWhiteTop, kWhiteWidth, kWhiteHeight},
    {"Label9", "E", 5, 336, kWhiteTop, kWhiteWidth, kWhiteHeight},
    {"Label8", "D", 3, 299, kWhiteTop, kWhiteWidth, kWhiteHeight},
    {"Label7", "C", 1, 264, kWhiteTop, kWhiteWidth, kWhiteHeight},
}};

}  // namespace quaverline
