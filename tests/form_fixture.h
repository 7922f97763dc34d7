// A main window wired to a recording sound layer, with the dialog and the program's end replaced
// by stand-ins, and clicks routed the way the window system routes them.
#pragma once

#include "recording_sound.h"
#include "ui/announcer.h"
#include "ui/code_list_box.h"
#include "ui/key_area_widget.h"
#include "ui/form1.h"
#include "ui/key_table.h"
#include "ui/window_style.h"

#include <QAccessible>
#include <QApplication>
#include <QListWidget>
#include <QTest>
#include <chrono>
#include <memory>

namespace quaverline {

// Records the wall-clock time of every call as well, for the timer-driven note.
class TimedRecording : public RecordingSound {
 public:
  using Clock = std::chrono::steady_clock;
  bool StartLoop(const LoopImage& image, std::int32_t lengthMs) override {
    wallTimes.push_back(Clock::now());
    return RecordingSound::StartLoop(image, lengthMs);
  }
  void StopLoop() override {
    wallTimes.push_back(Clock::now());
    RecordingSound::StopLoop();
  }
  std::vector<Clock::time_point> wallTimes;  // one per start or stop
};

struct FormFixture {
  explicit FormFixture(const QLocale& locale = QLocale(QLocale::English, QLocale::UnitedStates)) {
    QApplication::setStyle(new WindowStyle);
    form = std::make_unique<Form1>(sound);
    form->locale = locale;
    form->InputBox = [this](const QString& prompt, const QString& title) {
      prompts << prompt << title;
      listsWhileAsking = form->List1->count();
      return answer;
    };
    form->ExitProcess = [this] { ++ends; };
  }

  // The widget that a click at this client-area point reaches, and the click itself.
  QWidget* WidgetAt(QPoint point) const {
    QWidget* backdrop = form->centralWidget();
    QWidget* target = backdrop->childAt(point);
    return target ? target : backdrop;
  }
  void ClickAt(QPoint point, Qt::MouseButton button = Qt::LeftButton) const {
    QWidget* target = WidgetAt(point);
    QTest::mouseClick(target, button, {}, target->mapFrom(form->centralWidget(), point));
  }
  void ClickKey(const char* noteName) const {
    for (const KeyArea& area : kKeyAreas)
      if (area.noteName && QByteArray(area.noteName) == noteName) {
        ClickAt(QPoint(area.left + area.width / 2, area.top + area.height / 2));
        return;
      }
    QFAIL("no such key");
  }

  QStringList Lines() const { return Items(*form->List1); }
  // The status message screen readers were told last.
  QString Announced() const {
    return QAccessible::queryAccessibleInterface(form->announcer)->text(QAccessible::Name);
  }
  QStringList Entries() const { return Items(*form->List2); }
  static QStringList Items(const QListWidget& list) {
    QStringList items;
    for (int i = 0; i < list.count(); ++i) items << list.item(i)->text();
    return items;
  }

  TimedRecording sound;
  std::unique_ptr<Form1> form;
  QString answer;
  QStringList prompts;
  int listsWhileAsking = -1;
  int ends = 0;
};

}  // namespace quaverline
