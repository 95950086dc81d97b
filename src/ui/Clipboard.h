// The clipboard as Unicode text; Windows derives the ANSI form for older readers.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace vivu {

bool SetClipboardText(HWND owner, std::string_view utf8);
// Empty when the clipboard holds no text.
std::string GetClipboardText(HWND owner);

} // namespace vivu
