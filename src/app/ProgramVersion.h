// The program's version, shown in the main window's caption, the About window and by kovajson.
#pragma once

namespace vivu {

inline constexpr char kVersion[] = "1.2.1";

} // namespace vivu
