// The texts the language menu switches, in the order both languages set them.
#pragma once

#include <array>

namespace quaverline {

enum class Language { English, German };

enum class CaptionTarget {
  mnuBeenden,
  mnuLang,
  mnuEnglish,
  mnuGerman,
  mnuDuration,
  mnucopy,
  Command1,
  Command2,
  Command5,
  Command6,
  Label33,
  Option1,
  Option2,
};

struct Caption {
  CaptionTarget target;
  const char* atStart;  // UTF-8
  const char* english;
  const char* german;
};

extern const char* const kEnglishHelp;
extern const char* const kGermanHelp;

// The check marks of the two language items come between mnuGerman and mnuDuration.
constexpr int kCaptionsBeforeCheckMarks = 4;

extern const std::array<Caption, 13> kCaptions;

const char* CaptionText(const Caption& caption, Language language);

// Texts that are the same in both languages.
inline constexpr const char* kWindowTitle = "Quaverline - MERODYNE v 1.2";
inline constexpr const char* kAddToList = "add to list";
inline constexpr const char* kDeleteNote = "delete note";
inline constexpr const char* kDeleteAll = "delete all";
inline constexpr const char* kPopMenu = "pop";
inline constexpr const char* kDurationPrompt = "Please input new duration for selected Code:";
inline constexpr const char* kDialogTitle = "QUAVERLINE";

// What assistive technology calls controls that no caption of theirs names; these follow the
// language. The piano's keys have theirs in ui/key_table.h.
struct AccessibleText {
  const char* english;
  const char* german;
};
inline constexpr AccessibleText kCodeListName{"Code list", "Code-Liste"};
inline constexpr AccessibleText kPianoName{"Piano", "Klaviatur"};
inline constexpr AccessibleText kOptionsName{"Notes", "Noten"};
inline constexpr AccessibleText kPianoHelp{
    "Left and Right choose a key, Space plays it. The letter rows play by their place: "
    "Z to M the lower octave, Q to U the upper one.",
    "Links und Rechts wählen eine Taste, die Leertaste spielt sie. Die Buchstabenreihen spielen "
    "nach ihrer Lage: Y bis M die untere Oktave, Q bis U die obere."};

inline const char* InLanguage(const AccessibleText& text, Language language) {
  return language == Language::English ? text.english : text.german;
}

}  // namespace quaverline
