// The anchor layout on real windows, and the hook that holds a window's minimum tracking size.
#pragma once

#include "ui/LayoutManager.h"

#include <windows.h>

#include <array>
#include <functional>
#include <optional>

namespace vivu {

// The minimum tracking size the hook imposes at 96 dpi (scaled to the window's), whatever limits it was installed with.
constexpr LONG kLayoutMinTrackWidth = 800;
constexpr LONG kLayoutMinTrackHeight = 600;

class Win32LayoutHost final : public LayoutHost {
public:
    LayoutRect ClientRect(LayoutHandle window) override;
    // GetWindowRect shifted by the parent's client origin (the point (0, 0) through ScreenToClient on GetParent).
    LayoutRect ControlRect(LayoutHandle control) override;
    // SM_CXFRAME and SM_CYFRAME, at the window's dpi.
    LayoutFrame SizingFrame() override;
    int dpi = 96;
    // MoveWindow with repainting.
    void Move(LayoutHandle control, const LayoutRect& rect) override;
};

// Called for every message of the hooked window; its result is the window procedure's result.
using LayoutHookHandler = std::function<LRESULT(HWND, UINT, WPARAM, LPARAM)>;
using LayoutHookLimits = std::array<std::optional<int32_t>, 4>;

// A LayoutManager on HWNDs (an HWND converts to LayoutHandle as it is). The hook subclasses the bound window with
// this object as reference data, so it must not move or be copied.
class Win32LayoutManager : public LayoutManager {
public:
    Win32LayoutManager() : LayoutManager(host) {} // the base only keeps the address of the member
    ~Win32LayoutManager();
    Win32LayoutManager(const Win32LayoutManager&) = delete;
    Win32LayoutManager& operator=(const Win32LayoutManager&) = delete;

    HWND Window() const { return static_cast<HWND>(GetWindow()); }
    // The bound window's dpi, for the sizing frame the layout measures with.
    void SetDpi(int dpi) { host.dpi = dpi; }

    // Hooks the bound window. An omitted limit takes the stored one while a hook is installed, else 0. With a hook
    // installed, equal limits change nothing and different ones are only stored: the first handler stays. Without a
    // handler the hook runs HookMessage and then CallPrevious. False when no window is bound or hooking failed.
    bool InstallHook(LayoutHookHandler handler = {}, const LayoutHookLimits& limits = {});
    void RemoveHook();
    bool HookInstalled() const { return hookedWindow != nullptr; }
    const std::array<int32_t, 4>& HookLimits() const { return limits; }

    // For WM_GETMINMAXINFO sets the minimum tracking size to 800 × 600 at 96 dpi and yields true; false for anything
    // else.
    static bool HookMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    // The procedure the hook replaced. Only meaningful from inside the handler; 0 while no hook is installed.
    LRESULT CallPrevious(HWND window, UINT message, WPARAM wParam, LPARAM lParam) const;

private:
    static LRESULT CALLBACK HookProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                     DWORD_PTR self);
    LRESULT Dispatch(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    Win32LayoutHost host;
    HWND hookedWindow = nullptr;
    LayoutHookHandler handler;
    std::array<int32_t, 4> limits{};
};

} // namespace vivu
