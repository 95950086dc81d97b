// The input box: prompt, edit box, OK and Cancel.
#include "ui/InputBox.h"

#include "kova/Encoding.h"
#include "ui/ControlBuilder.h"
#include "ui/ModalLoop.h"

namespace vivu {

namespace {

constexpr wchar_t kClassName[] = L"KovaInputBox";
constexpr int kPromptId = 100, kEditId = 101;

struct InputState {
    std::optional<std::string> result;
    HWND edit = nullptr;
};

LRESULT CALLBACK InputProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* state = reinterpret_cast<InputState*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    switch (message) {
    case WM_NCCREATE:
        SetWindowLongPtrW(hwnd, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
        break;
    case WM_COMMAND:
        if (state && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
            if (LOWORD(wParam) == IDOK) {
                std::wstring text(static_cast<size_t>(GetWindowTextLengthW(state->edit)) + 1, L'\0');
                text.resize(GetWindowTextW(state->edit, text.data(), static_cast<int>(text.size())));
                state->result = kova::WideToUtf8(text);
            }
            DestroyWindow(hwnd);
            return 0;
        }
        break;
    case WM_CLOSE:
        DestroyWindow(hwnd);
        return 0;
    case WM_DESTROY:
        EndModal();
        return 0;
    case WM_CTLCOLORSTATIC:
        SetBkColor(reinterpret_cast<HDC>(wParam), GetSysColor(COLOR_BTNFACE));
        return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
    default:
        break;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

} // namespace

std::optional<std::string> InputBox(HWND owner, std::string_view prompt, std::string_view title,
                                    std::string_view initialText) {
    RegisterWindowClass(kClassName, InputProc);

    InputState state;
    RECT outer{0, 0, 420, 150};
    AdjustWindowRectEx(&outer, WS_CAPTION | WS_SYSMENU, FALSE, WS_EX_DLGMODALFRAME);
    RECT ownerRect{};
    if (owner) GetWindowRect(owner, &ownerRect);
    const int width = outer.right - outer.left, height = outer.bottom - outer.top;
    const int left = owner ? ownerRect.left + (ownerRect.right - ownerRect.left - width) / 2 : CW_USEDEFAULT;
    const int top = owner ? ownerRect.top + (ownerRect.bottom - ownerRect.top - height) / 2 : CW_USEDEFAULT;
    HWND window = CreateWindowExW(WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT, kClassName,
                                  kova::Utf8ToWide(title).c_str(), WS_POPUP | WS_CAPTION | WS_SYSMENU, left, top, width,
                                  height, owner, nullptr, GetModuleHandleW(nullptr), &state);
    if (!window) return std::nullopt;
    FontCache fonts;
    HFONT font = fonts.Get(ControlFont{});
    CreateControl(ControlKind::Label, window, kPromptId, 12, 10, 396, 56, prompt, font);
    SetWindowLongPtrW(GetDlgItem(window, kPromptId), GWL_STYLE, WS_CHILD | WS_VISIBLE | SS_LEFT);
    state.edit = CreateControl(ControlKind::Edit, window, kEditId, 12, 72, 396, 26, initialText, font);
    SendMessageW(state.edit, EM_SETSEL, 0, -1);
    HWND ok = CreateControl(ControlKind::Button, window, IDOK, 236, 110, 80, 28, "确定", font);
    SetWindowLongPtrW(ok, GWL_STYLE, GetWindowLongPtrW(ok, GWL_STYLE) | BS_DEFPUSHBUTTON);
    CreateControl(ControlKind::Button, window, IDCANCEL, 328, 110, 80, 28, "取消", font);
    ShowWindow(window, SW_SHOW);
    SetFocus(state.edit);
    RunModal(window, owner);
    return state.result;
}

} // namespace vivu
