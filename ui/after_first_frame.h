// Runs an action once a window's first frame has been painted, from the event loop, so that
// work which the window does not need in order to appear waits until it has appeared.
#pragma once

#include <QWidget>
#include <functional>

namespace quaverline {

void AfterFirstFrame(QWidget& window, std::function<void()> action);

}  // namespace quaverline
