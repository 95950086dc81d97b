// Where windows go when there is more than one monitor.
#pragma once

#include "app/Settings.h"

#include <windows.h>

namespace vivu {

// The work area (the monitor less the taskbar) of the monitor that holds most of the
// rectangle, or of the nearest one when it lies on none.
ScreenArea WorkAreaNear(const WindowRect& rect);

// Screen coordinates of the point offset from the top-left corner of the monitor the owner
// is on (the nearest one; the primary one without an owner): a window placed by fixed
// offsets opens beside its owner, not always on the primary monitor.
POINT OnOwnersMonitor(HWND owner, POINT offset);

} // namespace vivu
