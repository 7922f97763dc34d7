#include "ui/screen_fit.h"

#include "ui/form1.h"
#include "ui/window_fit.h"
#include "ui/window_frame.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWindow>

namespace quaverline {

ScreenFit::ScreenFit(Form1& window) : QObject(&window), window_(window) {
  frame_ = DesktopFrame(window, window.titleBar != nullptr);
  window.winId();
  connect(window.windowHandle(), &QWindow::screenChanged, this, [this](QScreen* screen) {
    Follow(screen);
    Fit();
  });
  Follow(window.windowHandle()->screen());
  Fit();
}

void ScreenFit::Follow(QScreen* screen) {
  if (screen_) disconnect(screen_, nullptr, this, nullptr);
  screen_ = screen;
  if (!screen_) return;
  connect(screen_, &QScreen::geometryChanged, this, &ScreenFit::Fit);
  connect(screen_, &QScreen::availableGeometryChanged, this, &ScreenFit::Fit);
}

void ScreenFit::Fit() {
  if (!screen_) return;
  const bool wayland = QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
  window_.FitToWorkArea(WorkArea(screen_->geometry(), screen_->availableGeometry(), wayland), frame_);
}

}  // namespace quaverline
