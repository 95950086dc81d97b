// The "查看" window: one text, plain or in a JSON editor, for reading and copying.
#pragma once

#include "app/ProcessObjects.h"

#include <windows.h>

#include <string>

namespace vivu {

// Stores the request (text and mode) and shows the window modally over owner;
// returns when it is closed. styled shows the text in the view editor.
void OpenView(ProcessObjects& objects, HWND owner, std::string text, bool styled);

} // namespace vivu
