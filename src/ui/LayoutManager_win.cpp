// Win32 side of the anchor layout: reading and moving windows, and the minimum-size hook.
#include "ui/LayoutManager_win.h"

#include "ui/Dpi.h"
#include "ui/WindowBase.h"

#include <commctrl.h>

namespace vivu {

namespace {

HWND ToHwnd(LayoutHandle handle) {
    return static_cast<HWND>(handle);
}

LayoutRect FromRect(const RECT& r) {
    return {r.left, r.top, r.right, r.bottom};
}

// One subclass per manager, so two managers on one window do not replace each other.
UINT_PTR SubclassId(const Win32LayoutManager* manager) {
    return reinterpret_cast<UINT_PTR>(manager);
}

} // namespace

LayoutRect Win32LayoutHost::ClientRect(LayoutHandle window) {
    RECT r{};
    if (!GetClientRect(ToHwnd(window), &r)) return {};
    return FromRect(r);
}

LayoutRect Win32LayoutHost::ControlRect(LayoutHandle control) {
    RECT r{};
    if (!GetWindowRect(ToHwnd(control), &r)) return {};
    POINT origin{0, 0};
    ScreenToClient(GetParent(ToHwnd(control)), &origin);
    return FromRect(r).Offset(origin.x, origin.y);
}

LayoutFrame Win32LayoutHost::SizingFrame() {
    return {SystemMetricForDpi(SM_CXFRAME, dpi), SystemMetricForDpi(SM_CYFRAME, dpi)};
}

void Win32LayoutHost::Move(LayoutHandle control, const LayoutRect& rect) {
    // A destroyed control fails here quietly, like any other.
    MoveWindow(ToHwnd(control), rect.left, rect.top, rect.Width(), rect.Height(), TRUE);
}

Win32LayoutManager::~Win32LayoutManager() {
    // A subclass left behind would call into freed memory on the window's next message.
    RemoveHook();
}

bool Win32LayoutManager::InstallHook(LayoutHookHandler newHandler, const LayoutHookLimits& newLimits) {
    std::array<int32_t, 4> wanted{};
    for (std::size_t i = 0; i < wanted.size(); ++i) wanted[i] = newLimits[i].value_or(HookInstalled() ? limits[i] : 0);
    if (HookInstalled()) {
        limits = wanted;
        return true;
    }
    limits = wanted;
    const HWND window = Window();
    if (!window) return false;
    if (!SetWindowSubclass(window, HookProc, SubclassId(this), reinterpret_cast<DWORD_PTR>(this))) return false;
    hookedWindow = window;
    handler = std::move(newHandler);
    return true;
}

void Win32LayoutManager::RemoveHook() {
    if (!hookedWindow) return;
    RemoveWindowSubclass(hookedWindow, HookProc, SubclassId(this));
    hookedWindow = nullptr;
    handler = nullptr;
}

bool Win32LayoutManager::HookMessage(HWND window, UINT message, WPARAM, LPARAM lParam) {
    if (message != WM_GETMINMAXINFO) return false;
    const WindowBase* base = WindowBase::FromHandle(window);
    const int dpi = base ? base->Dpi() : WindowDpi(window);
    if (auto* info = reinterpret_cast<MINMAXINFO*>(lParam))
        info->ptMinTrackSize = {ScaleToDpi(kLayoutMinTrackWidth, dpi), ScaleToDpi(kLayoutMinTrackHeight, dpi)};
    return true;
}

LRESULT Win32LayoutManager::CallPrevious(HWND window, UINT message, WPARAM wParam, LPARAM lParam) const {
    if (!hookedWindow) return 0;
    return DefSubclassProc(window, message, wParam, lParam);
}

LRESULT Win32LayoutManager::Dispatch(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    // A copy, so a handler that removes the hook does not destroy itself while it runs.
    if (const LayoutHookHandler current = handler) return current(window, message, wParam, lParam);
    HookMessage(window, message, wParam, lParam);
    return CallPrevious(window, message, wParam, lParam);
}

LRESULT CALLBACK Win32LayoutManager::HookProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                              DWORD_PTR self) {
    auto* manager = reinterpret_cast<Win32LayoutManager*>(self);
    const LRESULT result = WindowBase::Guarded(
        window, [&] { return manager->Dispatch(window, message, wParam, lParam); },
        [&] { return DefSubclassProc(window, message, wParam, lParam); });
    // The window is going away: unhook now, while the subclass can still be removed.
    if (message == WM_NCDESTROY) manager->RemoveHook();
    return result;
}

} // namespace vivu
