// Choosing the folder of the settings and buffer files by trying to write there.
#include "app/SettingsLocation.h"

#include "app/Settings.h"
#include "kova/File.h"

#include <filesystem>
#include <random>
#include <system_error>

namespace vivu {

namespace {

std::filesystem::path FsPath(const std::string& utf8) {
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

SettingsLocation In(const std::string& dir) {
    return {dir, kova::PathJoin(dir, kSettingsFileName), kova::PathJoin(dir, kBufferFileName)};
}

} // namespace

bool CanCreateFilesIn(const std::string& dir) {
    // A name no one else uses, so the probe never replaces or removes a file that was there.
    static std::mt19937_64 random{std::random_device{}()};
    const std::string probe = kova::PathJoin(dir, ".kova-json-write-test-" + std::to_string(random()) + ".tmp");
    if (!kova::WriteFileBytes(probe, "")) return false;
    std::error_code error;
    std::filesystem::remove(FsPath(probe), error);
    return true;
}

SettingsLocation ChooseSettingsLocation(const std::string& programDir, const std::string& userDataDir) {
    if (CanCreateFilesIn(programDir) || userDataDir.empty()) return In(programDir);
    std::error_code error;
    std::filesystem::create_directories(FsPath(userDataDir), error);
    return CanCreateFilesIn(userDataDir) ? In(userDataDir) : In(programDir);
}

} // namespace vivu
