// The hourglass while an action keeps the window busy, as Windows programs show it.
#pragma once

#include <windows.h>

namespace vivu {

// The window takes no messages while the action runs, so nothing sets the cursor back
// before this object does; the next mouse move over a window sets its own anyway.
class WaitCursor {
public:
    WaitCursor() : previous_(SetCursor(LoadCursorW(nullptr, IDC_WAIT))) {}
    ~WaitCursor() { SetCursor(previous_); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;

private:
    HCURSOR previous_;
};

} // namespace vivu
