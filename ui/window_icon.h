// The window's icon: a yellow-and-white loudspeaker cone with sound lines to its right.
#pragma once

#include <QIcon>
#include <QImage>

namespace quaverline {

// The icon drawn at size x size pixels on a transparent background.
QImage DrawWindowIcon(int size);

// The icon at the sizes that title bars and task bars ask for; needs a QGuiApplication.
QIcon WindowIcon();

}  // namespace quaverline
