// The language menu: every switch sets all changing captions and both check marks, in order.
#include "ui/caption_button.h"
#include "ui/code_list_box.h"
#include "ui/form1.h"
#include "ui/key_area_widget.h"
#include "ui/key_table.h"
#include "ui/option_group.h"
#include "ui/piano_keys.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QRadioButton>

namespace quaverline {

void Form1::mnuEnglish_Click() { ApplyLanguage(Language::English); }

void Form1::mnuGerman_Click() { ApplyLanguage(Language::German); }

Language Form1::WindowLanguage() const { return mnuGerman->isChecked() ? Language::German : Language::English; }

void Form1::ApplyLanguage(Language language) {
  for (int step = 0; step < int(kCaptions.size()); ++step) {
    if (step == kCaptionsBeforeCheckMarks) {
      mnuEnglish->setChecked(language == Language::English);
      mnuGerman->setChecked(language == Language::German);
    }
    SetCaption(kCaptions[step].target, QString::fromUtf8(CaptionText(kCaptions[step], language)));
  }
  SetAccessibleNames(language);
}

// The fields are named by their labels; the rest speaks the window's language.
void Form1::SetAccessibleNames(Language language) {
  List1->setAccessibleName(QString::fromUtf8(InLanguage(kCodeListName, language)));
  Piano->setAccessibleName(QString::fromUtf8(InLanguage(kPianoName, language)));
  Options->setAccessibleName(QString::fromUtf8(InLanguage(kOptionsName, language)));
  Piano->setAccessibleDescription(QString::fromUtf8(InLanguage(kPianoHelp, language)));
  for (int k = 0; k < int(kKeyAreas.size()); ++k) {
    const KeyArea& area = kKeyAreas[k];
    if (area.noteName)
      keyAreas[k]->setAccessibleName(QString::fromUtf8(language == Language::English ? area.english : area.german));
  }
}

void Form1::SetCaption(CaptionTarget target, const QString& text) {
  switch (target) {
    case CaptionTarget::mnuBeenden: mnuBeenden->setText(text); break;
    case CaptionTarget::mnuLang: mnuLang->setTitle(text); break;
    case CaptionTarget::mnuEnglish: mnuEnglish->setText(text); break;
    case CaptionTarget::mnuGerman: mnuGerman->setText(text); break;
    case CaptionTarget::mnuDuration: mnuDuration->setText(text); break;
    case CaptionTarget::mnucopy: mnucopy->setText(text); break;
    case CaptionTarget::Command1: Command1->setText(text); break;
    case CaptionTarget::Command2: Command2->setText(text); break;
    case CaptionTarget::Command5: Command5->setText(text); break;
    case CaptionTarget::Command6: Command6->setText(text); break;
    case CaptionTarget::Label33: Label33->setText(text); break;
    case CaptionTarget::Option1: Option1->setText(text); break;
    case CaptionTarget::Option2: Option2->setText(text); break;
  }
}

}  // namespace quaverline
