// The input box: prompt, edit box, OK and Cancel.
#include "ui/InputBox.h"

#include "kova/Encoding.h"
#include "ui/ControlBuilder.h"
#include "ui/ControlColours.h"
#include "ui/Dpi.h"
#include "ui/ModalLoop.h"
#include "ui/WindowBase.h"

namespace vivu {

namespace {

constexpr wchar_t kClassName[] = L"KovaInputBox";
constexpr int kPromptId = 100, kEditId = 101;
constexpr int kClientWidth = 420, kClientHeight = 150;
constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU;
constexpr DWORD kExStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;

struct InputRow {
    int id;
    ControlKind kind;
    int x, y, width, height;
};
constexpr InputRow kRows[] = {
    {kPromptId, ControlKind::Label, 12, 10, 396, 56},
    {kEditId, ControlKind::Edit, 12, 72, 396, 26},
    {IDOK, ControlKind::Button, 236, 110, 80, 28},
    {IDCANCEL, ControlKind::Button, 328, 110, 80, 28},
};

class InputWindow final : public WindowBase {
public:
    std::optional<std::string> Run(HWND owner, std::string_view prompt, std::string_view title,
                                   std::string_view initialText) {
        ExpectDpiOf(owner);
        RECT outer{0, 0, Scale(kClientWidth), Scale(kClientHeight)};
        AdjustWindowRectForDpi(outer, kStyle, kExStyle, Dpi());
        RECT ownerRect{};
        if (owner) GetWindowRect(owner, &ownerRect);
        const int width = outer.right - outer.left, height = outer.bottom - outer.top;
        const int left = owner ? ownerRect.left + (ownerRect.right - ownerRect.left - width) / 2 : CW_USEDEFAULT;
        const int top = owner ? ownerRect.top + (ownerRect.bottom - ownerRect.top - height) / 2 : CW_USEDEFAULT;
        if (!CreateBaseWindow(kClassName, nullptr, kExStyle, kova::Utf8ToWide(title), kStyle,
                              {left, top, left + width, top + height}, owner))
            return std::nullopt;
        const std::string_view captions[] = {prompt, initialText, "确定", "取消"};
        for (size_t i = 0; i < std::size(kRows); ++i) {
            const InputRow& row = kRows[i];
            CreateControl(row.kind, Handle(), row.id, Scale(row.x), Scale(row.y), Scale(row.width), Scale(row.height),
                          captions[i], fonts_.Get(ControlFont{}, Dpi()));
        }
        HWND edit = GetDlgItem(Handle(), kEditId), ok = GetDlgItem(Handle(), IDOK);
        SetWindowLongPtrW(GetDlgItem(Handle(), kPromptId), GWL_STYLE, WS_CHILD | WS_VISIBLE | SS_LEFT);
        SetWindowLongPtrW(ok, GWL_STYLE, GetWindowLongPtrW(ok, GWL_STYLE) | BS_DEFPUSHBUTTON);
        SendMessageW(edit, EM_SETSEL, 0, -1);
        ShowWindow(Handle(), SW_SHOW);
        SetFocus(edit);
        RunModalOver(owner);
        return std::move(result_);
    }

private:
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        switch (message) {
        case WM_COMMAND:
            if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
                if (LOWORD(wParam) == IDOK) {
                    HWND edit = GetDlgItem(Handle(), kEditId);
                    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(edit)) + 1, L'\0');
                    text.resize(GetWindowTextW(edit, text.data(), static_cast<int>(text.size())));
                    result_ = kova::WideToUtf8(text);
                }
                CloseModal(Handle());
                return 0;
            }
            break;
        case WM_CTLCOLORSTATIC:
            return PaintWith(reinterpret_cast<HDC>(wParam), SystemColours(COLOR_BTNTEXT, COLOR_BTNFACE));
        default:
            break;
        }
        return Default(message, wParam, lParam);
    }

    void OnDpiChanged(int) override {
        for (const InputRow& row : kRows) {
            HWND control = GetDlgItem(Handle(), row.id);
            SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(fonts_.Get(ControlFont{}, Dpi())), FALSE);
            MoveWindow(control, Scale(row.x), Scale(row.y), Scale(row.width), Scale(row.height), TRUE);
        }
        fonts_.KeepOnly(Dpi());
    }

    std::optional<std::string> result_;
    FontCache fonts_;
};

} // namespace

std::optional<std::string> InputBox(HWND owner, std::string_view prompt, std::string_view title,
                                    std::string_view initialText) {
    InputWindow window;
    return window.Run(owner, prompt, title, initialText);
}

} // namespace vivu
