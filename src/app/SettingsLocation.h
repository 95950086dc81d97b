// Where the settings and buffer files live: beside the program, or in the user's own folder.
#pragma once

#include <string>

namespace vivu {

// The folder under %LOCALAPPDATA% that holds the files when the program's folder cannot be written.
inline constexpr char kUserDataFolderName[] = "KOVA.VivuDivezi";

struct SettingsLocation {
    std::string dir;
    std::string settingsPath;
    std::string bufferPath;
};

// True when a file can be created in dir: a real try with a temporary file that is removed again.
// Neither attributes nor permission bits tell (read-only shares, Program Files, an administrator).
bool CanCreateFilesIn(const std::string& dir);

// programDir when a file can be created there, exactly as always. Otherwise userDataDir, created
// when missing, so that a program unpacked where it may not write keeps its settings there and
// never touches its own folder. With no userDataDir, or one that cannot be written either,
// programDir, where saving then fails as it would have.
SettingsLocation ChooseSettingsLocation(const std::string& programDir, const std::string& userDataDir);

} // namespace vivu
