#include "audio/sound_log.h"

namespace quaverline {

// Messages go out at info level and below, so none is shown unless the rules ask for them.
Q_LOGGING_CATEGORY(lcSound, "quaverline.sound", QtWarningMsg)

}  // namespace quaverline
