// Win32 classes and styles for each kind of control.
#include "ui/ControlBuilder.h"

#include "kova/Encoding.h"
#include "ui/AvailableFace.h"
#include "ui/Dpi.h"
#include "ui/LongTextBox.h"

#include <commctrl.h>
#include <richedit.h>

#include <string>

namespace vivu {

FontCache::~FontCache() {
    for (auto& [key, font] : fonts_) DeleteObject(font);
}

HFONT FontCache::Get(ControlFont font, int dpi, std::wstring_view face) {
    Key key{std::wstring(face), ScaleToDpi(font.height, dpi), font.bold, dpi};
    auto found = fonts_.find(key);
    if (found != fonts_.end()) return found->second;
    LOGFONTW lf{};
    lf.lfHeight = key.height;
    lf.lfWeight = font.bold ? FW_BOLD : FW_NORMAL;
    lf.lfCharSet = GB2312_CHARSET;
    lf.lfQuality = CLEARTYPE_QUALITY;
    AvailableFace(face).copy(lf.lfFaceName, LF_FACESIZE - 1);
    HFONT created = CreateFontIndirectW(&lf);
    fonts_.emplace(std::move(key), created);
    return created;
}

void FontCache::KeepOnly(int dpi) {
    std::erase_if(fonts_, [dpi](const auto& entry) {
        if (entry.first.dpi == dpi) return false;
        DeleteObject(entry.second);
        return true;
    });
}

namespace {

std::wstring_view ClassOf(ControlKind kind) {
    switch (kind) {
    case ControlKind::Label:
    case ControlKind::Rule:
    case ControlKind::Canvas:
        return L"STATIC";
    case ControlKind::Button:
    case ControlKind::IconButton:
    case ControlKind::CheckBox:
        return L"BUTTON";
    case ControlKind::Edit:
    case ControlKind::MultiLineEdit:
        return L"EDIT";
    case ControlKind::ComboList:
        return WC_COMBOBOXW;
    case ControlKind::Tab:
        return WC_TABCONTROLW;
    case ControlKind::Toolbar:
        return TOOLBARCLASSNAMEW;
    case ControlKind::TreeView:
        return WC_TREEVIEWW;
    case ControlKind::RichEdit:
        return L"RichEdit20W";
    case ControlKind::LongTextEdit:
        return L"Scintilla";
    }
    return L"STATIC";
}

DWORD StyleOf(ControlKind kind) {
    const DWORD child = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;
    switch (kind) {
    case ControlKind::Label:
        return child | SS_LEFT | SS_CENTERIMAGE | SS_NOTIFY;
    case ControlKind::Rule:
        return child | SS_ETCHEDHORZ;
    case ControlKind::Canvas:
        return child | SS_OWNERDRAW | SS_NOTIFY;
    case ControlKind::Button:
        return child | WS_TABSTOP | BS_PUSHBUTTON;
    case ControlKind::IconButton:
        return child | WS_TABSTOP | BS_PUSHBUTTON | BS_ICON;
    case ControlKind::CheckBox:
        return child | WS_TABSTOP | BS_AUTOCHECKBOX;
    case ControlKind::Edit:
        return child | WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL;
    case ControlKind::MultiLineEdit:
        return child | WS_TABSTOP | WS_BORDER | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN;
    case ControlKind::LongTextEdit:
        return child | WS_TABSTOP | WS_BORDER | WS_VSCROLL; // the control shows its scroll bar itself
    case ControlKind::ComboList:
        return child | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST;
    case ControlKind::Tab:
        return child | WS_CLIPCHILDREN | TCS_FOCUSNEVER;
    case ControlKind::Toolbar:
        return child | TBSTYLE_FLAT | TBSTYLE_TOOLTIPS | CCS_NORESIZE | CCS_NOPARENTALIGN | CCS_NODIVIDER;
    case ControlKind::TreeView:
        return child | WS_TABSTOP | WS_BORDER | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_SHOWSELALWAYS;
    case ControlKind::RichEdit:
        return child | WS_TABSTOP | WS_BORDER | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_NOHIDESEL;
    }
    return child;
}

// Items of a combo box or tab control, separated by "\n".
template <typename F> void ForEachItem(std::string_view caption, F&& f) {
    for (size_t start = 0; start <= caption.size();) {
        size_t end = caption.find('\n', start);
        if (end == std::string_view::npos) end = caption.size();
        f(caption.substr(start, end - start));
        start = end + 1;
    }
}

} // namespace

HWND CreateControl(ControlKind kind, HWND parent, int controlId, int x, int y, int width, int height,
                   std::string_view caption, HFONT font) {
    const bool itemList = kind == ControlKind::ComboList || kind == ControlKind::Tab;
    const std::wstring title = itemList ? std::wstring() : kova::Utf8ToWide(caption);
    // A drop-down list's height includes its opened list.
    const int windowHeight = kind == ControlKind::ComboList ? height + 160 : height;
    HWND control = CreateWindowExW(0, std::wstring(ClassOf(kind)).c_str(), title.c_str(), StyleOf(kind), x, y, width,
                                   windowHeight, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(controlId)),
                                   GetModuleHandleW(nullptr), nullptr);
    if (kind == ControlKind::LongTextEdit) {
        if (control) MakeLongTextBox(control);
        // Without scintilla.dll the edit box it stands for.
        else
            return CreateControl(ControlKind::MultiLineEdit, parent, controlId, x, y, width, height, caption, font);
    }
    if (!control) return nullptr;
    if (font) SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    if (kind == ControlKind::ComboList) {
        ForEachItem(caption, [control](std::string_view item) {
            SendMessageW(control, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(kova::Utf8ToWide(item).c_str()));
        });
        SendMessageW(control, CB_SETCURSEL, 0, 0);
    } else if (kind == ControlKind::Tab) {
        int index = 0;
        ForEachItem(caption, [control, &index](std::string_view item) {
            std::wstring text = kova::Utf8ToWide(item);
            TCITEMW tab{};
            tab.mask = TCIF_TEXT;
            tab.pszText = text.data();
            SendMessageW(control, TCM_INSERTITEMW, index++, reinterpret_cast<LPARAM>(&tab));
        });
    } else if (kind == ControlKind::Toolbar) {
        SendMessageW(control, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    } else if (kind == ControlKind::RichEdit) {
        SendMessageW(control, EM_SETEVENTMASK, 0, ENM_CHANGE);
    }
    return control;
}

} // namespace vivu
