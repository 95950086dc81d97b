// Reading, checking and writing the settings and buffer files.
#include "app/Settings.h"

#include "kova/File.h"
#include "kova/JList.h"

#include <cstdio>

namespace vivu {

std::string SettingsText(const kova::JMap& settings) {
    return settings.ToJSON(true, false, kova::kKeyOrderAscending, 2);
}

SettingsLoad LoadSettings(const std::string& path, kova::JMap& settings, bool moveDamagedAside) {
    settings.Clear();
    std::string bytes;
    if (!kova::ReadFileBytes(path, bytes)) return SettingsLoad::NotLoaded;
    if (settings.FromJSON(kova::ReadStringFile(path))) return SettingsLoad::Loaded;
    // Whatever the user or a crash left there is kept for them to look at.
    if (moveDamagedAside && !bytes.empty()) {
        const std::string aside = path + kDamagedSettingsSuffix;
        std::remove(aside.c_str());
        if (std::rename(path.c_str(), aside.c_str()) != 0) kova::WriteFileBytes(aside, bytes);
    }
    return SettingsLoad::NotLoaded;
}

bool SaveSettings(const std::string& path, const kova::JMap& settings) {
    const std::string text = SettingsText(settings);
    std::string existing;
    if (kova::ReadFileBytes(path, existing) && existing == text) return true;
    return kova::WriteStringFile(path, text, "UTF-8");
}

bool SaveBuffer(const std::string& path, std::string_view editorBytes) {
    std::string existing;
    const bool present = kova::ReadFileBytes(path, existing);
    if (present && existing == editorBytes) return true;
    return kova::WriteFileBytes(path, editorBytes);
}

std::optional<WindowRect> RestoredRect(const kova::JMap& settings,
                                       const std::function<ScreenArea(const WindowRect&)>& workAreaNear) {
    kova::JList position;
    if (!settings.GetList("//Form.Position", position) || position.Count() != 4) return std::nullopt;
    WindowRect r{static_cast<int>(position.GetInt(1)), static_cast<int>(position.GetInt(2)),
                 static_cast<int>(position.GetInt(3)), static_cast<int>(position.GetInt(4))};
    r.width = r.width > 200 ? r.width : 200;
    r.height = r.height > 150 ? r.height : 150;
    const ScreenArea area = workAreaNear(r);
    const int areaWidth = area.right - area.left, areaHeight = area.bottom - area.top;
    if (r.width > areaWidth) r.width = areaWidth;
    if (r.height > areaHeight) r.height = areaHeight;
    if (r.left < area.left)
        r.left = area.left;
    else if (r.left > area.right - r.width)
        r.left = area.right - r.width;
    if (r.top < area.top)
        r.top = area.top;
    else if (r.top > area.bottom - r.height)
        r.top = area.bottom - r.height;
    return r;
}

int SourceIndexOfType(std::string_view type) {
    if (type == "Web") return 1;
    if (type == "File") return 2;
    return 0;
}

} // namespace vivu
