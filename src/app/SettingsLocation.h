// Where the settings and buffer files live: beside the program, or in the user's own folder.
#pragma once

#include <string>

namespace vivu {

// The folder under %LOCALAPPDATA% that holds the files when the program's folder cannot be written.
inline constexpr char kUserDataFolderName[] = "KOVA.VivuDivezi";

struct SettingsLocation {
    std::string dir; // where both files are saved
    std::string settingsPath;
    std::string bufferPath;
    // Where each is read at start: its saved place, or beside the program while the user's folder has
    // none yet. Reading never changes a file outside dir.
    std::string settingsReadPath;
    std::string bufferReadPath;
};

// True when a file can be created in dir: a real try with a temporary file that is removed again.
// Neither attributes nor permission bits tell (read-only shares, Program Files, an administrator).
bool CanCreateFilesIn(const std::string& dir);

// programDir when a file can be created there and neither file there is one that cannot be replaced
// (read-only, or left by another account), exactly as always. Otherwise userDataDir, created when
// missing, so that the program never touches its own folder: each file is read from there when
// present, else from beside the program. With no userDataDir, or one that cannot be written either,
// programDir, where saving then fails as it would have.
SettingsLocation ChooseSettingsLocation(const std::string& programDir, const std::string& userDataDir);

} // namespace vivu
