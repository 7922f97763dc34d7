// The sound layer's diagnostics: which backend and device opened with what format, why none
// could, and when a device was lost and opened again. Off by default; turned on with
// QT_LOGGING_RULES="quaverline.sound=true".
#pragma once

#include <QLoggingCategory>

namespace quaverline {

Q_DECLARE_LOGGING_CATEGORY(lcSound)

}  // namespace quaverline
