// What assistive technology sees of the window's own controls: the piano as one group holding 24
// push buttons, each with a press action and the name of its key, the focused key reported as
// focused; the option pair as a group; the announcer as a notification.
#pragma once

namespace quaverline {

// Once per process, before the window is shown.
void InstallAccessibleRoles();

}  // namespace quaverline
