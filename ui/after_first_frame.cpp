#include "ui/after_first_frame.h"

#include <QEvent>
#include <QTimer>

namespace quaverline {

namespace {

class FirstPaintWatch : public QObject {
 public:
  FirstPaintWatch(QWidget& window, std::function<void()> action) : QObject(&window), action_(std::move(action)) {
    window.installEventFilter(this);
  }

  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint) {
      watched->removeEventFilter(this);
      // Queued behind the paint, so the frame is flushed to the screen first.
      QTimer::singleShot(0, watched, std::move(action_));
      deleteLater();
    }
    return false;
  }

 private:
  std::function<void()> action_;
};

}  // namespace

void AfterFirstFrame(QWidget& window, std::function<void()> action) { new FirstPaintWatch(window, std::move(action)); }

}  // namespace quaverline
