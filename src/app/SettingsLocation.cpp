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
    const std::string settings = kova::PathJoin(dir, kSettingsFileName), buffer = kova::PathJoin(dir, kBufferFileName);
    return {dir, settings, buffer, settings, buffer};
}

std::string PresentOr(const std::string& path, const std::string& otherwise) {
    return kova::FileExists(path) ? path : otherwise;
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
    const SettingsLocation beside = In(programDir);
    // A first run as administrator leaves files the user cannot replace in a folder they can write.
    if ((CanCreateFilesIn(programDir) && kova::CanReplaceFile(beside.settingsPath) &&
         kova::CanReplaceFile(beside.bufferPath)) ||
        userDataDir.empty())
        return beside;
    std::error_code error;
    std::filesystem::create_directories(FsPath(userDataDir), error);
    if (!CanCreateFilesIn(userDataDir)) return beside;
    SettingsLocation user = In(userDataDir);
    user.settingsReadPath = PresentOr(user.settingsPath, beside.settingsPath);
    user.bufferReadPath = PresentOr(user.bufferPath, beside.bufferPath);
    return user;
}

} // namespace vivu
