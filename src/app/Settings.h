// The settings file and the buffer file beside the program.
#pragma once

#include "kova/JMap.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace vivu {

inline constexpr char kSettingsFileName[] = "kova.json.config.json";
inline constexpr char kBufferFileName[] = "kova.json.buffer.dat";
inline constexpr char kDamagedSettingsSuffix[] = ".bad";
// A buffer longer than this (measured as GBK) is loaded only after asking.
inline constexpr int64_t kBufferQuestionLimit = 1048576;
inline constexpr char kBufferQuestion[] = "是否加载最近的内容？";
inline constexpr char kBufferQuestionTitle[] = "是否加载";
// Shown at close when a file beside the program could not be written; {1} lists them, one per line.
inline constexpr char kSaveFailed[] = "无法写入以下文件，本次的设置和编辑框内容没有保存（原有的文件没有改变）：\r\n{1}";
inline constexpr char kSaveFailedTitle[] = "保存失败";

// The settings map as the file holds it: pretty, keys sorted, non-ASCII as is.
// The same map always gives the same text.
std::string SettingsText(const kova::JMap& settings);

enum class SettingsLoad {
    Loaded,
    NotLoaded, // missing, empty, or (kept aside) damaged: the map is empty
};

// Loads the file into settings. A file that is there but is not a JSON object is
// renamed to "<path>.bad" so that closing the program does not overwrite it; unless
// moveDamagedAside is false, for a file the close never writes.
SettingsLoad LoadSettings(const std::string& path, kova::JMap& settings, bool moveDamagedAside = true);

// Writes the settings file only when its text changed. False when a write failed.
bool SaveSettings(const std::string& path, const kova::JMap& settings);

// Writes the buffer file only when its bytes differ from the editor's.
bool SaveBuffer(const std::string& path, std::string_view editorBytes);

struct WindowRect {
    int left, top, width, height;
    bool operator==(const WindowRect&) const = default;
};

// A part of the virtual screen, such as a monitor's work area; right and bottom lie outside it.
struct ScreenArea {
    int left, top, right, bottom;
};

// The window rectangle stored under "//Form.Position", made to fit the work area that
// workAreaNear gives for it (at least 200 × 150, at most the area, moved inside it), so
// that a window closed on a second monitor opens there again. Nothing when there is
// no list of exactly four numbers.
std::optional<WindowRect> RestoredRect(const kova::JMap& settings,
                                       const std::function<ScreenArea(const WindowRect&)>& workAreaNear);

// The combo box index for a stored source type ("Web" 1, "File" 2, otherwise 0).
int SourceIndexOfType(std::string_view type);

} // namespace vivu
