// The main window. It owns all of the program's state and handles every event; its code is
// split by concern over the form1_*.cpp files.
#pragma once

#include "audio/sound_platform.h"
#include "audio/wave_image.h"
#include "model/melody.h"
#include "model/notes.h"
#include "ui/captions.h"
#include "ui/note_timer.h"

#include <QLocale>
#include <QMainWindow>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>

class QAction;
class QFrame;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QRadioButton;

namespace quaverline {

class Announcer;
class Backdrop;
class CaptionButton;
class CodeListBox;
class InputCounter;
class KeyAreaWidget;
class OptionGroup;
class PianoKeys;
class TitleBar;
class TreeLayout;

class Form1 : public QMainWindow, private MelodyHost {
  Q_OBJECT
 public:
  explicit Form1(SoundPlatform& sound, QWidget* parent = nullptr);
  ~Form1() override;

  // Sizes the window for the work area and the desktop's frame around it: the layout at 100 %, or
  // uniformly smaller where the window with its title bar and frame would not fit; always from
  // the layout as built, so it may be called again when the screen changes. Centres the framed
  // window there before it is shown, and later only where it would no longer be inside.
  void FitToWorkArea(const QRect& area, const QMargins& frame);
  // Puts a title bar of the window's own, with a close button only, above the menu bar, and a thin
  // edge around the window, for a desktop that leaves drawing them to the program. Called once,
  // before the window is fitted and shown.
  void UseOwnTitleBar();

  // The duration dialog: returns the text typed, empty on Cancel. Replaceable for tests.
  std::function<QString(const QString& prompt, const QString& title)> InputBox;
  // Leaves the process at once. Replaceable for tests.
  std::function<void()> ExitProcess;

  // State.
  NoteTable notes;
  std::int32_t pulses = 0;
  std::int32_t stopflag = 0;
  WaveImage wave{};
  QLocale locale;

  // Controls.
  Backdrop* backdrop = nullptr;
  TitleBar* titleBar = nullptr;  // only where the desktop draws none
  CodeListBox* List1 = nullptr;
  QListWidget* List2 = nullptr;
  QFrame* Frame1 = nullptr;
  QLineEdit* Text1 = nullptr;
  QLineEdit* Text2 = nullptr;
  QLineEdit* Text3 = nullptr;
  QLineEdit* Text4 = nullptr;
  QLineEdit* Text5 = nullptr;
  QLabel* Label1 = nullptr;
  QLabel* Label2 = nullptr;
  QLabel* Label3 = nullptr;
  QLabel* Label4 = nullptr;
  QLabel* Label5 = nullptr;
  QLabel* Label6 = nullptr;
  QLabel* Label33 = nullptr;
  CaptionButton* Command1 = nullptr;
  CaptionButton* Command2 = nullptr;
  CaptionButton* Command3 = nullptr;
  CaptionButton* Command5 = nullptr;
  CaptionButton* Command6 = nullptr;
  QRadioButton* Option1 = nullptr;
  QRadioButton* Option2 = nullptr;
  OptionGroup* Options = nullptr;  // holds Option1 and Option2
  QFrame* Line2 = nullptr;
  std::array<KeyAreaWidget*, 26> keyAreas{};  // in the order of kKeyAreas
  PianoKeys* Piano = nullptr;                  // the keys as one control, holding their areas
  NoteTimer Timer1;
  Announcer* announcer = nullptr;  // what screen readers are told, never drawn

  // Menus.
  QAction* mnuBeenden = nullptr;
  QMenu* mnuLang = nullptr;
  QAction* mnuEnglish = nullptr;
  QAction* mnuGerman = nullptr;
  QMenu* mnupop = nullptr;
  QAction* mnuDuration = nullptr;
  QAction* mnustrich = nullptr;
  QAction* mnucopy = nullptr;
  QAction* mnustrich2 = nullptr;
  QAction* mnudelnote = nullptr;
  QAction* mnudelall = nullptr;

  // Start-up and the code line.
  void Form_Load();
  void RefreshSoundLine();
  void Text1_Change();
  void Text2_Change();
  void Text3_Change();
  void Text4_Change();

  // Sound.
  void Command1_Click();
  void Command2_Click();
  void Command5_Click();
  void Command6_Click();
  void Timer1_Timer();
  void Melody(const QString& Melo);

  // Keys: the click on area k of kKeyAreas.
  void KeyArea_Click(int k);

  // The code list.
  void Command3_Click();
  void List1_MouseUp(Qt::MouseButton Button);
  // The Menu key or Shift+F10 in the list: the context menu at the selected line.
  void List1_MenuKey();
  void mnuduration_click();
  void mnucopy_click();
  void mnudelnote_click();
  void mnudelall_click();

  // Menu bar.
  void mnuBeenden_Click();
  // The window goes, the sound stops and the process exits; no other handler runs.
  void EndProgram();
  void mnuEnglish_Click();
  void mnuGerman_Click();

  // The list pair: every change of the code list goes through these, List1 first.
  void AppendLine(const QString& line, const QString& entry);
  void InsertLine(int index, const QString& line, const QString& entry);
  void RemoveLine(int index);
  void ClearLines();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  // Window building.
  void BuildMenus();
  void BuildControls();
  void BuildFrameControls();
  void BuildKeyAreas();
  void SetTabOrder();
  void ConnectHandlers();

  void ApplyLanguage(Language language);
  Language WindowLanguage() const;
  void SetCaption(CaptionTarget target, const QString& text);
  void SetAccessibleNames(Language language);

  // MelodyHost.
  void StartNote(double frequency, std::int32_t lengthMs) override;
  void ArmTimer(std::int32_t intervalMs) override;
  void WaitForTimer() override;
  std::int32_t StopFlag() const override { return stopflag; }

  SoundPlatform& sound_;
  InputCounter* heldInput_ = nullptr;
  std::unique_ptr<TreeLayout> layout_;  // the client area as built, for every fit
};

}  // namespace quaverline
