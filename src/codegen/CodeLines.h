// Joining generated code lines the way the code box and the clipboard expect them.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vivu {

// Generated code uses Windows line ends.
inline constexpr std::string_view kCodeLineBreak = "\r\n";

// The lines joined with CR LF, with no line break after the last one; empty for no lines.
std::string JoinCodeLines(const std::vector<std::string>& lines);

} // namespace vivu
