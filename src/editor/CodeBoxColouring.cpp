// Applying the code box tokenizer's formats to a rich edit control.
#include "editor/CodeBoxColouring.h"

#include "editor/CodeBoxStyle.h"
#include "kova/Encoding.h"
#include "ui/AvailableFace.h"
#include "ui/ControlColours.h"

#include <richedit.h>

#include <algorithm>
#include <cwchar>
#include <string>

namespace vivu {

namespace {

constexpr wchar_t kCodeBoxFace[] = L"YaHei Consolas Hybrid";
constexpr LONG kCodeBoxTwips = 9 * 20; // 9 points

// What the system is asked once per colouring: the face it has for the code box's, and
// whether the theme's window text stands in for every colour (high contrast).
struct CodeBoxLook {
    std::wstring face = AvailableFace(kCodeBoxFace);
    bool systemColours = HighContrastOn();
};

CHARFORMAT2W CodeBoxCharFormat(const CodeBoxLook& look, uint32_t colour, bool bold) {
    CHARFORMAT2W format{};
    format.cbSize = sizeof format;
    // Every attribute is named in the mask so that nothing of an earlier format survives.
    format.dwMask = CFM_FACE | CFM_SIZE | CFM_OFFSET | CFM_COLOR | CFM_BOLD | CFM_ITALIC | CFM_UNDERLINE |
                    CFM_STRIKEOUT | CFM_PROTECTED;
    // Without CFE_AUTOCOLOR crTextColor counts; with it the box draws in the theme's window text.
    format.dwEffects = (bold ? CFE_BOLD : 0) | (look.systemColours ? CFE_AUTOCOLOR : 0);
    format.yHeight = kCodeBoxTwips;
    format.yOffset = 0;
    format.crTextColor = colour;
    wcsncpy(format.szFaceName, look.face.c_str(), LF_FACESIZE - 1);
    return format;
}

void SetCharFormat(HWND box, WPARAM scope, const CHARFORMAT2W& format) {
    SendMessageW(box, EM_SETCHARFORMAT, scope, reinterpret_cast<LPARAM>(&format));
}

// Holds painting and notifications off and puts back the selection and scroll position,
// also when the colouring stops half-way.
class FrozenBox {
public:
    explicit FrozenBox(HWND box) : box_(box) {
        SendMessageW(box_, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&selection_));
        SendMessageW(box_, EM_GETSCROLLPOS, 0, reinterpret_cast<LPARAM>(&scroll_));
        eventMask_ = SendMessageW(box_, EM_SETEVENTMASK, 0, 0);
        SendMessageW(box_, WM_SETREDRAW, FALSE, 0);
    }
    ~FrozenBox() {
        // The selection first: setting it scrolls the caret into view, the scroll position undoes that.
        SendMessageW(box_, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&selection_));
        SendMessageW(box_, EM_SETSCROLLPOS, 0, reinterpret_cast<LPARAM>(&scroll_));
        SendMessageW(box_, EM_SETEVENTMASK, 0, eventMask_);
        SendMessageW(box_, WM_SETREDRAW, TRUE, 0);
        InvalidateRect(box_, nullptr, TRUE);
    }
    FrozenBox(const FrozenBox&) = delete;
    FrozenBox& operator=(const FrozenBox&) = delete;

private:
    HWND box_;
    CHARRANGE selection_{};
    POINT scroll_{};
    LRESULT eventMask_ = 0;
};

void ApplyFormat(HWND box, const CodeBoxFormat& format, const CodeBoxLook& look) {
    CHARRANGE range{LONG(format.start), LONG(format.start + format.length)};
    SendMessageW(box, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
    SetCharFormat(box, SCF_SELECTION, CodeBoxCharFormat(look, format.colour, format.bold));
}

} // namespace

std::string CodeBoxText(HWND box) {
    GETTEXTLENGTHEX lengthQuery{GTL_USECRLF | GTL_PRECISE | GTL_NUMCHARS, 1200};
    const LRESULT length = SendMessageW(box, EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&lengthQuery), 0);
    if (length <= 0) return {};
    std::wstring text(size_t(length) + 1, L'\0');
    GETTEXTEX textQuery{};
    textQuery.cb = DWORD(text.size() * sizeof(wchar_t));
    textQuery.flags = GT_USECRLF;
    textQuery.codepage = 1200; // UTF-16
    const LRESULT copied =
        SendMessageW(box, EM_GETTEXTEX, reinterpret_cast<WPARAM>(&textQuery), reinterpret_cast<LPARAM>(text.data()));
    text.resize(copied > 0 ? std::min(size_t(copied), size_t(length)) : 0);
    return kova::WideToUtf8(text);
}

void FormatRange(HWND box, const CodeBoxFormat& format) {
    ApplyFormat(box, format, CodeBoxLook{});
}

void ColouriseCodeBox(HWND box) noexcept {
    try {
        FrozenBox frozen(box);
        const CodeBoxLook look;
        const CHARFORMAT2W plain = CodeBoxCharFormat(look, kCodeBoxDefaultColour, false);
        SetCharFormat(box, SCF_DEFAULT, plain);
        // The default format does not reach text that carries formats of its own, such as
        // the last snippet's colours inherited by the new text.
        SetCharFormat(box, SCF_ALL, plain);
        for (const CodeBoxFormat& format : TokenizeCodeBox(CodeBoxText(box))) ApplyFormat(box, format, look);
    } catch (...) {
    }
}

} // namespace vivu
