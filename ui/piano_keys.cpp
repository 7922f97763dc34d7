#include "ui/piano_keys.h"

#include "ui/key_area_widget.h"

#include <QAccessible>
#include <QKeyEvent>
#include <QPainter>
#include <algorithm>

namespace quaverline {

int KeyAtNativeScanCode(quint32 nativeScanCode) {
#ifdef Q_OS_WIN
  const int scanCode = int(nativeScanCode);
#else
  const int scanCode = int(nativeScanCode) - 8;  // evdev key codes as X11 and Wayland report them
#endif
  for (int k = 0; k < int(kKeyAreas.size()); ++k)
    if (kKeyAreas[k].noteName && kKeyAreas[k].scanCode == scanCode) return k;
  return -1;
}

PianoKeys::PianoKeys(QWidget* parent) : QWidget(parent) {
  // Tab only: a click on a key must leave the focus where it was.
  setFocusPolicy(Qt::TabFocus);
  setAttribute(Qt::WA_NoSystemBackground);
}

void PianoKeys::SetKeys(const std::array<KeyAreaWidget*, kPianoKeyCount>& keys) {
  keys_ = keys;
}

void PianoKeys::SetCurrentPitch(int pitch) {
  pitch = std::clamp(pitch, 0, kPianoKeyCount - 1);
  if (pitch == current_) return;
  current_ = pitch;
  update();
  if (hasFocus()) TellFocus();
}

void PianoKeys::keyPressEvent(QKeyEvent* event) {
  // Shortcuts with Ctrl or Alt stay the window's.
  if (event->modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier)) {
    QWidget::keyPressEvent(event);
    return;
  }
  switch (event->key()) {
    case Qt::Key_Left: SetCurrentPitch(current_ - 1); return;
    case Qt::Key_Right: SetCurrentPitch(current_ + 1); return;
    case Qt::Key_Home: SetCurrentPitch(0); return;
    case Qt::Key_End: SetCurrentPitch(kPianoKeyCount - 1); return;
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter:
      // A held key plays once, as a held mouse button does.
      if (!event->isAutoRepeat()) emit Play(kKeysByPitch[current_]);
      return;
    default: break;
  }
  const int area = KeyAtNativeScanCode(event->nativeScanCode());
  if (area < 0) {
    QWidget::keyPressEvent(event);
    return;
  }
  if (event->isAutoRepeat()) return;
  SetCurrentPitch(kKeyAreas[area].noteIndex - 1);
  emit Play(area);
}

void PianoKeys::paintEvent(QPaintEvent*) {
  if (!hasFocus() || !keys_[current_]) return;
  // A ring in the highlight colour with a thin line inside it that stands out from the key itself,
  // in logical pixels, so that it grows with the screen's scale.
  QPainter painter(this);
  const KeyArea& area = kKeyAreas[kKeysByPitch[current_]];
  const QRectF key = QRectF(keys_[current_]->geometry()).adjusted(1, 1, -1, -1);
  painter.setPen(QPen(palette().color(QPalette::Highlight), 2, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
  painter.drawRect(key);
  painter.setPen(QPen(IsWhiteKey(area) ? Qt::black : Qt::white, 1));
  painter.drawRect(key.adjusted(1.5, 1.5, -1.5, -1.5));
}

void PianoKeys::focusInEvent(QFocusEvent* event) {
  QWidget::focusInEvent(event);
  update();
  // After the piano's own focus event, which Qt sends once this returns: a screen reader presents
  // the newer of two focus events and drops the other.
  QMetaObject::invokeMethod(this, [this] { if (hasFocus()) TellFocus(); }, Qt::QueuedConnection);
}

void PianoKeys::focusOutEvent(QFocusEvent* event) {
  QWidget::focusOutEvent(event);
  update();
}

// Screen readers follow the focused key, not the piano as a whole.
void PianoKeys::TellFocus() {
  if (!keys_[current_]) return;
  QAccessibleEvent focus(keys_[current_], QAccessible::Focus);
  QAccessible::updateAccessibility(&focus);
}

}  // namespace quaverline
