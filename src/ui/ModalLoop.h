// Running a window modally over its owner.
#pragma once

#include <windows.h>

namespace vivu {

// Disables owner, pumps messages until window is destroyed (dialog keys work:
// Tab, Enter for the default button, Esc), then enables owner and activates it.
// A WM_QUIT seen meanwhile is posted again for the outer loop. Windows run this
// way call EndModal when they are destroyed, so the loop notices at once even
// when the destruction came from a sent message.
void RunModal(HWND window, HWND owner);
void EndModal();
// Closes a window run by RunModal. Its owner is enabled and activated first: when
// the active window goes, Windows gives the activation to the next enabled window,
// which would otherwise be another program's.
void CloseModal(HWND window);

} // namespace vivu
