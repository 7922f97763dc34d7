// The piano as one control: a single Tab stop over the keys with one key at a time focused (the
// arrow keys move it), Space or Return to play that key, and the computer's letter rows to play
// any key by its place on the keyboard. The key areas lie inside it; a mouse click on them plays
// as before and never takes the focus.
#pragma once

#include "ui/key_table.h"

#include <QWidget>
#include <array>

namespace quaverline {

class KeyAreaWidget;

// The key area (index into kKeyAreas) that the computer key with this native scan code plays, or
// -1. Native scan codes are the PC's on Windows and X11/evdev key codes elsewhere.
int KeyAtNativeScanCode(quint32 nativeScanCode);

class PianoKeys : public QWidget {
  Q_OBJECT
 public:
  explicit PianoKeys(QWidget* parent);

  // The 24 key areas, children of the piano, in the order of kKeysByPitch.
  void SetKeys(const std::array<KeyAreaWidget*, kPianoKeyCount>& keys);
  KeyAreaWidget* Key(int pitch) const { return keys_.at(pitch); }

  // The focused key, 0 (the lowest) to 23.
  int CurrentPitch() const { return current_; }
  void SetCurrentPitch(int pitch);

 signals:
  // A key played from the keyboard: its area in kKeyAreas.
  void Play(int area);

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;

 private:
  void TellFocus();

  std::array<KeyAreaWidget*, kPianoKeyCount> keys_{};
  int current_ = 0;
};

}  // namespace quaverline
