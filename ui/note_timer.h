// The window's timer: ticks every Interval milliseconds while it is enabled. An interval of 0
// never ticks, and changing the interval or enabling it starts the count afresh.
#pragma once

#include <QObject>
#include <QTimer>

namespace quaverline {

class NoteTimer : public QObject {
  Q_OBJECT
 public:
  explicit NoteTimer(QObject* parent = nullptr);

  int Interval() const { return interval_; }
  bool Enabled() const { return enabled_; }
  void SetInterval(int milliseconds);
  void SetEnabled(bool enabled);

 signals:
  void Timer();

 private:
  void Restart();

  QTimer timer_;
  int interval_ = 0;
  bool enabled_ = true;
};

}  // namespace quaverline
