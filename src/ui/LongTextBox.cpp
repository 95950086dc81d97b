// The Scintilla control dressed as a plain multi-line edit box.
#include "ui/LongTextBox.h"

#include "kova/Encoding.h"
#include "ui/Dpi.h"

#include <Scintilla.h>
#include <commctrl.h>

#include <cstdlib>
#include <iterator>
#include <string>

namespace vivu {

namespace {

constexpr UINT_PTR kSubclassId = 0x4C54; // one hook per window, ours

struct MenuItem {
    const char* caption;
    unsigned message;
};
// The view editor's menu: the same commands under the same names.
constexpr MenuItem kMenu[] = {
    {"撤销", SCI_UNDO},  {"重复", SCI_REDO}, {nullptr, 0},        {"复制", SCI_COPY},
    {"粘贴", SCI_PASTE}, {"剪切", SCI_CUT},  {"删除", SCI_CLEAR},
};

LRESULT Send(HWND box, unsigned message, WPARAM wParam = 0, LPARAM lParam = 0) {
    return SendMessageW(box, message, wParam, lParam);
}

// The colours an edit box in this place would paint with, asked of the parent as the edit box asks.
void TakeParentColours(HWND box) {
    HDC dc = CreateCompatibleDC(nullptr);
    SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    SetBkColor(dc, GetSysColor(COLOR_WINDOW));
    SendMessageW(GetParent(box), WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(box));
    const COLORREF text = GetTextColor(dc), back = GetBkColor(dc);
    DeleteDC(dc);
    if (Send(box, SCI_STYLEGETFORE, STYLE_DEFAULT) == static_cast<LRESULT>(text) &&
        Send(box, SCI_STYLEGETBACK, STYLE_DEFAULT) == static_cast<LRESULT>(back))
        return;
    Send(box, SCI_STYLESETFORE, STYLE_DEFAULT, text);
    Send(box, SCI_STYLESETBACK, STYLE_DEFAULT, back);
    Send(box, SCI_STYLECLEARALL);
}

void TakeFont(HWND box, HFONT font) {
    LOGFONTW face{};
    if (!font || !GetObjectW(font, sizeof face, &face)) return;
    const std::string name = kova::WideToUtf8(face.lfFaceName);
    Send(box, SCI_STYLESETFONT, STYLE_DEFAULT, reinterpret_cast<LPARAM>(name.c_str()));
    // Scintilla sizes fonts in points at its window's dpi; LOGFONT heights are pixels.
    const int pixels = std::abs(face.lfHeight);
    Send(box, SCI_STYLESETSIZEFRACTIONAL, STYLE_DEFAULT, MulDiv(pixels, 72 * SC_FONT_SIZE_MULTIPLIER, WindowDpi(box)));
    Send(box, SCI_STYLESETWEIGHT, STYLE_DEFAULT, face.lfWeight ? face.lfWeight : FW_NORMAL);
    Send(box, SCI_STYLECLEARALL);
}

void ShowMenu(HWND box, LPARAM at) {
    POINT point{static_cast<short>(LOWORD(at)), static_cast<short>(HIWORD(at))};
    if (at == -1) { // from the keyboard: at the caret
        const LRESULT caret = Send(box, SCI_GETCURRENTPOS);
        point = {static_cast<LONG>(Send(box, SCI_POINTXFROMPOSITION, 0, caret)),
                 static_cast<LONG>(Send(box, SCI_POINTYFROMPOSITION, 0, caret))};
        ClientToScreen(box, &point);
    }
    HMENU menu = CreatePopupMenu();
    for (size_t i = 0; i < std::size(kMenu); ++i) {
        if (kMenu[i].caption)
            AppendMenuW(menu, MF_STRING, i + 1, kova::Utf8ToWide(kMenu[i].caption).c_str());
        else
            AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    }
    const int chosen = TrackPopupMenu(menu, TPM_RIGHTBUTTON | TPM_RETURNCMD, point.x, point.y, 0, box, nullptr);
    DestroyMenu(menu);
    if (chosen > 0) Send(box, kMenu[chosen - 1].message);
}

LRESULT CALLBACK BoxProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR font) {
    switch (message) {
    case WM_SETTEXT: {
        const auto* wide = reinterpret_cast<const wchar_t*>(lParam);
        const std::string text = wide ? kova::WideToUtf8(wide) : std::string();
        TakeParentColours(box);
        Send(box, SCI_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
        Send(box, SCI_EMPTYUNDOBUFFER); // as an edit box: the new text is where undo stops
        return TRUE;
    }
    case WM_PAINT: // the colours may have changed since (a new system theme): asked again, as an edit box does
        TakeParentColours(box);
        break;
    case WM_SETFONT:
        SetWindowSubclass(box, BoxProc, kSubclassId, wParam);
        TakeFont(box, reinterpret_cast<HFONT>(wParam));
        if (LOWORD(lParam)) InvalidateRect(box, nullptr, TRUE);
        return 0;
    case WM_GETFONT:
        return static_cast<LRESULT>(font);
    case WM_CONTEXTMENU:
        ShowMenu(box, lParam);
        return 0;
    case WM_NCDESTROY:
        RemoveWindowSubclass(box, BoxProc, kSubclassId);
        break;
    default:
        break;
    }
    return DefSubclassProc(box, message, wParam, lParam);
}

} // namespace

void MakeLongTextBox(HWND scintilla) {
    Send(scintilla, SCI_SETCODEPAGE, SC_CP_UTF8);
    Send(scintilla, SCI_SETMODEVENTMASK, 0); // nobody listens to its changes
    Send(scintilla, SCI_SETWRAPMODE, SC_WRAP_WORD);
    Send(scintilla, SCI_SETHSCROLLBAR, 0);
    Send(scintilla, SCI_SETMARGINWIDTHN, 1, 0);
    Send(scintilla, SCI_SETSELBACK, 1, GetSysColor(COLOR_HIGHLIGHT));
    Send(scintilla, SCI_SETSELFORE, 1, GetSysColor(COLOR_HIGHLIGHTTEXT));
    Send(scintilla, SCI_USEPOPUP, SC_POPUP_NEVER);
    SetWindowSubclass(scintilla, BoxProc, kSubclassId, 0);
    TakeParentColours(scintilla);
}

} // namespace vivu
