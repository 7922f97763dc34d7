// What assistive technology sees of the piano: one group holding 24 push buttons, each with a
// press action and the name of its key, the focused key reported as focused.
#pragma once

namespace quaverline {

// Once per process, before the window is shown.
void InstallPianoAccessibility();

}  // namespace quaverline
