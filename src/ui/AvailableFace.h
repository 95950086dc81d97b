// Font faces the system has, with stand-ins for those it has not.
#pragma once

#include <string>
#include <string_view>

namespace vivu {

// The face to ask for when `wanted` is meant: `wanted` itself when the system has it as an
// outline font; otherwise "Microsoft YaHei UI" (the font Windows itself shows Chinese in; a
// Windows in another language may not know it as "微软雅黑"); otherwise the face of the
// default GUI font. Left to itself, GDI maps a missing face to whatever it likes, down to a
// bitmap font that neither scales nor smooths.
std::wstring AvailableFace(std::wstring_view wanted);

} // namespace vivu
