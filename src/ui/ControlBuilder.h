// Creates controls from template rows and keeps the fonts they use.
#pragma once

#include "ui/WindowTemplate.h"

#include <windows.h>

#include <map>
#include <string>
#include <string_view>
#include <utility>

namespace vivu {

class FontCache {
public:
    FontCache() = default;
    FontCache(const FontCache&) = delete;
    FontCache& operator=(const FontCache&) = delete;
    ~FontCache();
    // "微软雅黑" unless another face is named.
    HFONT Get(ControlFont font, std::wstring_view face = L"微软雅黑");

private:
    std::map<std::pair<std::wstring, std::pair<int, bool>>, HFONT> fonts_;
};

// Registers a top-level window class with the arrow cursor and the dialog background.
void RegisterWindowClass(const wchar_t* name, WNDPROC procedure, HICON icon = nullptr);

// Creates one control as a child of parent with the given control id. Captions
// of combo boxes and tab controls list their items separated by "\n".
HWND CreateControl(ControlKind kind, HWND parent, int controlId, int x, int y, int width, int height,
                   std::string_view caption, HFONT font);

} // namespace vivu
