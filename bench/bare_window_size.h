// The size of the bare windows the program's start-up is compared with: Quaverline's client
// area plus its menu bar, whose height the start-up probe prints for both.
#pragma once

#include "ui/control_table.h"

#include <QSize>

// The menu bar's height with the Fusion style and the window's font.
constexpr int kMenuBarHeight = 18;
constexpr QSize kBareWindowSize{quaverline::places::kClientWidth, quaverline::places::kClientHeight + kMenuBarHeight};
