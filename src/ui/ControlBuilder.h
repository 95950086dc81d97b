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
    // The font at a window's dpi (its height is designed at 96); "微软雅黑" unless another face is named;
    // a face the system lacks gets a stand-in (AvailableFace).
    HFONT Get(ControlFont font, int dpi, std::wstring_view face = L"微软雅黑");
    // Deletes the fonts made for other dpis, once the controls have been given the new ones.
    void KeepOnly(int dpi);

private:
    struct Key {
        std::wstring face;
        int height; // at the dpi
        bool bold;
        int dpi;
        auto operator<=>(const Key&) const = default;
    };
    std::map<Key, HFONT> fonts_;
};

// Creates one control as a child of parent with the given control id. Captions
// of combo boxes and tab controls list their items separated by "\n".
HWND CreateControl(ControlKind kind, HWND parent, int controlId, int x, int y, int width, int height,
                   std::string_view caption, HFONT font);

} // namespace vivu
