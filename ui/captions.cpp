#include "ui/captions.h"

namespace quaverline {

const char* const kEnglishHelp =
    "Played notes will be changed and listed in the BASCOM Code on the left side. The duration of "
    "the notes can be changed in the textfield above. This programm will use this duration for "
    "every note. Later, you can right-click on the list on the left side. Then you're able to "
    "change the duration of the selected codeline or copy the whole list to the clipboard to paste "
    "it into BASCOM. Have fun!!! ";

const char* const kGermanHelp =
    "Die gespielten Noten werden in den für BASCOM gebräuchlichen Code umgewandelt und gelistet. "
    "Oberhalb kann man das Intervall der Noten eingeben, welches sich für alle Noten auswirkt. "
    "Später braucht man nur mit einem Rechtsklick auf der Liste links die einzelnen Intervalle der "
    "Noten zu bearbeiten um die Melodie zu vervollständigen. Außerdem kann die Liste in die "
    "Zwischenablage kopiert werden um sie so in BASCOM einzufügen! Viel Spaß!!!";

const std::array<Caption, 13> kCaptions = {{
    {CaptionTarget::mnuBeenden, "End", "End", "Beenden"},
    {CaptionTarget::mnuLang, "Language", "Language", "Sprache"},
    {CaptionTarget::mnuEnglish, "English", "English", "Englisch"},
    {CaptionTarget::mnuGerman, "German", "German", "Deutsch"},
    {CaptionTarget::mnuDuration, "Duration", "change duration", "Intervall bearbeiten"},
    {CaptionTarget::mnucopy, "copy list to clipboard", "copy list to clipboard",
     "Liste in die Zwischenablage kopieren"},
    {CaptionTarget::Command1, "Play on PC-Speaker", "Play on PC-Speaker", "Abspielen auf PC-Lautsprecher"},
    {CaptionTarget::Command2, "Play on Soundcard", "Play on Soundcard", "Abspielen auf Soundkarte"},
    {CaptionTarget::Command5, "Play List on PC-Speaker", "Play list on PC-Speaker",
     "Abspielen der Liste auf PC-Lautsprecher"},
    {CaptionTarget::Command6, "Play List on Soundcard", "Play list on Soundcard",
     "Abspielen der Liste auf Soundkarte"},
    {CaptionTarget::Label33, kEnglishHelp, kEnglishHelp, kGermanHelp},
    {CaptionTarget::Option1, "only listen to the notes", "only listen to the notes", "Nur anhören"},
    {CaptionTarget::Option2, "add notes to the list", "add notes to the list", "Noten zur Liste hinzufügen"},
}};

const char* CaptionText(const Caption& caption, Language language) {
  return language == Language::English ? caption.english : caption.german;
}

}  // namespace quaverline
