#include "ui/screen_fit.h"

#include "ui/form1.h"
#include "ui/window_fit.h"
#include "ui/window_frame.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWindow>

namespace quaverline {

namespace {

constexpr auto kFramedCheckEvery = std::chrono::milliseconds(25);
constexpr int kFramedChecks = 80;  // two seconds

}  // namespace

ScreenFit::ScreenFit(Form1& window) : QObject(&window), window_(window) {
  frame_ = DesktopFrame(window, window.titleBar != nullptr);
  window.winId();
  connect(window.windowHandle(), &QWindow::screenChanged, this, [this](QScreen* screen) {
    Follow(screen);
    Fit();
  });
  Follow(window.windowHandle()->screen());
  Fit();
  if (QGuiApplication::platformName() == QLatin1String("xcb")) {
    framedCheck_.setInterval(kFramedCheckEvery);
    connect(&framedCheck_, &QTimer::timeout, this, &ScreenFit::CentreOnceFramed);
    window.installEventFilter(this);
  }
}

bool ScreenFit::eventFilter(QObject* watched, QEvent* event) {
  if (watched == &window_ && event->type() == QEvent::Show && !framedCheck_.isActive()) {
    checks_ = 0;
    framedCheck_.start();
  }
  return false;
}

void ScreenFit::CentreOnceFramed() {
  const QRect frame = window_.frameGeometry();
  const bool framed = frame.size() != window_.size();
  if (!framed && ++checks_ < kFramedChecks) return;
  framedCheck_.stop();
  if (!framed || !screen_) return;  // no window manager: the window itself is centred already
  const QRect inside = window_.geometry();
  const QMargins drawn(inside.left() - frame.left(), inside.top() - frame.top(), frame.right() - inside.right(),
                       frame.bottom() - inside.bottom());
  if (drawn != frame_) {
    frame_ = drawn;
    Fit();
  }
  const QRect area = Area();
  const QSize outer = window_.size().grownBy(frame_);
  const QPoint corner = area.topLeft() +
                        QPoint((area.width() - outer.width()) / 2, (area.height() - outer.height()) / 2);
  if ((window_.frameGeometry().topLeft() - corner).manhattanLength() > 1) window_.move(corner);
}

void ScreenFit::Follow(QScreen* screen) {
  if (screen_) disconnect(screen_, nullptr, this, nullptr);
  screen_ = screen;
  if (!screen_) return;
  connect(screen_, &QScreen::geometryChanged, this, &ScreenFit::Fit);
  connect(screen_, &QScreen::availableGeometryChanged, this, &ScreenFit::Fit);
}

QRect ScreenFit::Area() const {
  const bool wayland = QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
  return WorkArea(screen_->geometry(), screen_->availableGeometry(), wayland);
}

void ScreenFit::Fit() {
  if (screen_) window_.FitToWorkArea(Area(), frame_);
}

}  // namespace quaverline
