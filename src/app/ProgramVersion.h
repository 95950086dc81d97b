// The program's version, shown in the main window's caption, the About window and by kovajson, and
// written into both executables' version resources, the manifest, the build and the release package.
#pragma once

// Plain macros, so that the resource compiler, CMake and scripts/package can read them too.
#define VIVU_VERSION_MAJOR 1
#define VIVU_VERSION_MINOR 2
#define VIVU_VERSION_PATCH 1

#define VIVU_STRINGIZE_(text) #text
#define VIVU_VERSION_STRING_(major, minor, patch) VIVU_STRINGIZE_(major.minor.patch)
#define VIVU_VERSION_TEXT VIVU_VERSION_STRING_(VIVU_VERSION_MAJOR, VIVU_VERSION_MINOR, VIVU_VERSION_PATCH)

#ifndef RC_INVOKED
namespace vivu {

inline constexpr char kVersion[] = VIVU_VERSION_TEXT;

} // namespace vivu
#endif
