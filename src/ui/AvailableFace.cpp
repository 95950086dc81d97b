// Asking GDI which font faces are installed.
#include "ui/AvailableFace.h"

#include <windows.h>

namespace vivu {

namespace {

constexpr wchar_t kStandIn[] = L"Microsoft YaHei UI";

int CALLBACK NoteOutlineFont(const LOGFONTW*, const TEXTMETRICW*, DWORD fontType, LPARAM found) {
    if (fontType & RASTER_FONTTYPE) return 1; // a bitmap font is as good as none: go on looking
    *reinterpret_cast<bool*>(found) = true;
    return 0;
}

bool Installed(std::wstring_view face) {
    if (face.empty() || face.size() >= LF_FACESIZE) return false;
    LOGFONTW query{};
    query.lfCharSet = DEFAULT_CHARSET; // any script
    face.copy(query.lfFaceName, LF_FACESIZE - 1);
    bool found = false;
    HDC screen = GetDC(nullptr);
    EnumFontFamiliesExW(screen, &query, NoteOutlineFont, reinterpret_cast<LPARAM>(&found), 0);
    ReleaseDC(nullptr, screen);
    return found;
}

} // namespace

std::wstring AvailableFace(std::wstring_view wanted) {
    if (Installed(wanted)) return std::wstring(wanted);
    if (Installed(kStandIn)) return kStandIn;
    LOGFONTW gui{};
    GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof gui, &gui);
    return gui.lfFaceName;
}

} // namespace vivu
