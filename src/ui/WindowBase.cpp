// The one window procedure behind every top-level window of the program.
#include "ui/WindowBase.h"

#include "kova/CreateString.h"
#include "kova/Encoding.h"
#include "ui/Dpi.h"
#include "ui/ModalLoop.h"

namespace vivu {

namespace {

constexpr char kOperationFailed[] = "操作失败：{1}";
constexpr char kUnknownFailure[] = "未知错误";
constexpr char kFailedTitle[] = "失败";
// WM_GETDPISCALEDSIZE: Windows 10 1703 on asks a window for its size at the dpi it is moving to.
constexpr UINT kGetDpiScaledSize = 0x02E4;

} // namespace

WindowBase::~WindowBase() {
    // The object goes first only when its window was never created or is already gone;
    // otherwise the window must not call into freed memory.
    if (window_) {
        SetWindowLongPtrW(window_, 0, 0);
        DestroyWindow(window_);
    }
}

int WindowBase::Scale(int length) const {
    return ScaleToDpi(length, dpi_);
}

void WindowBase::ExpectDpiOf(HWND owner) {
    dpi_ = owner ? WindowDpi(owner) : SystemDpi();
}

HWND WindowBase::CreateBaseWindow(const wchar_t* className, HICON icon, DWORD exStyle, std::wstring_view caption,
                                  DWORD style, const RECT& place, HWND owner) {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    if (!GetClassInfoExW(instance, className, &wc)) {
        wc.lpfnWndProc = Procedure;
        wc.cbWndExtra = sizeof(LONG_PTR); // the window object
        wc.hInstance = instance;
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
        wc.lpszClassName = className;
        wc.hIcon = icon;
        if (!RegisterClassExW(&wc)) return nullptr;
    }
    return CreateWindowExW(exStyle, className, std::wstring(caption).c_str(), style, place.left, place.top,
                           place.right - place.left, place.bottom - place.top, owner, nullptr, instance, this);
}

WindowBase* WindowBase::FromHandle(HWND window) {
    HWND root = window ? GetAncestor(window, GA_ROOT) : nullptr;
    if (!root || GetClassLongPtrW(root, GCLP_WNDPROC) != reinterpret_cast<ULONG_PTR>(&Procedure)) return nullptr;
    return reinterpret_cast<WindowBase*>(GetWindowLongPtrW(root, 0));
}

void WindowBase::RunModalOver(HWND owner) {
    modal_ = true;
    RunModal(window_, owner);
}

LRESULT WindowBase::Default(UINT message, WPARAM wParam, LPARAM lParam) const {
    if (modal_ && message == WM_CLOSE) {
        CloseModal(window_);
        return 0;
    }
    return DefWindowProcW(window_, message, wParam, lParam);
}

void WindowBase::OnDpiChanged(int) {}

void WindowBase::ShowFailure(const std::string& text, const std::string& title) {
    MessageBoxW(window_, kova::Utf8ToWide(text).c_str(), kova::Utf8ToWide(title).c_str(), MB_OK | MB_ICONEXCLAMATION);
}

void WindowBase::ReportException(std::string_view what) {
    if (reporting_ || !window_) return;
    reporting_ = true;
    try {
        ShowFailure(kova::CreateString(kOperationFailed, {std::string(what.empty() ? kUnknownFailure : what)}),
                    kFailedTitle);
    } catch (...) {
        // Out of memory while telling the user: the window keeps working all the same.
    }
    reporting_ = false;
}

void WindowBase::ReportFrom(HWND window, const char* what) {
    if (WindowBase* owner = FromHandle(window)) owner->ReportException(what ? what : "");
}

void WindowBase::MoveToSavedPlace(const RECT& place) {
    savedPlace_ = &place;
    MoveWindow(window_, place.left, place.top, place.right - place.left, place.bottom - place.top, TRUE);
    savedPlace_ = nullptr;
}

LRESULT WindowBase::OnDpiScaledSize(SIZE& size) const {
    if (!savedPlace_) return FALSE; // Windows scales the size in proportion
    size = {savedPlace_->right - savedPlace_->left, savedPlace_->bottom - savedPlace_->top};
    return TRUE;
}

void WindowBase::OnDpiMessage(int newDpi, const RECT& suggested) {
    const int oldDpi = dpi_;
    dpi_ = newDpi;
    OnDpiChanged(oldDpi);
    const RECT& target = savedPlace_ ? *savedPlace_ : suggested;
    RECT before{}, after{};
    GetClientRect(window_, &before);
    SetWindowPos(window_, nullptr, target.left, target.top, target.right - target.left, target.bottom - target.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    GetClientRect(window_, &after);
    // The controls were scaled for the new dpi but are laid out only on WM_SIZE, which a window that keeps its
    // size does not get.
    if (after.right == before.right && after.bottom == before.bottom)
        SendMessageW(window_, WM_SIZE, IsZoomed(window_) ? SIZE_MAXIMIZED : SIZE_RESTORED,
                     MAKELPARAM(after.right, after.bottom));
}

LRESULT WindowBase::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kGetDpiScaledSize) return OnDpiScaledSize(*reinterpret_cast<SIZE*>(lParam));
    if (message == WM_DPICHANGED) {
        OnDpiMessage(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
        return 0;
    }
    const LRESULT result = OnMessage(message, wParam, lParam);
    if (modal_ && message == WM_DESTROY) EndModal();
    return result;
}

LRESULT CALLBACK WindowBase::Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* created = static_cast<WindowBase*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        SetWindowLongPtrW(hwnd, 0, reinterpret_cast<LONG_PTR>(created));
        created->window_ = hwnd;
        created->dpi_ = WindowDpi(hwnd);
    }
    auto* self = reinterpret_cast<WindowBase*>(GetWindowLongPtrW(hwnd, 0));
    if (!self) return DefWindowProcW(hwnd, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(hwnd, 0, 0);
        self->window_ = nullptr;
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
    return Guarded(
        hwnd, [&] { return self->Dispatch(message, wParam, lParam); },
        [&] { return DefWindowProcW(hwnd, message, wParam, lParam); });
}

} // namespace vivu
