// A small modal dialog asking for one line of text.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

namespace vivu {

// The entered text, or nothing when the user cancelled. The box starts with initialText, selected.
std::optional<std::string> InputBox(HWND owner, std::string_view prompt, std::string_view title,
                                    std::string_view initialText = {});

} // namespace vivu
