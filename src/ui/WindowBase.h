// What every top-level window of the program shares: the object attached to its
// handle, one place where a failed handler is reported, and its dots per inch.
#pragma once

#include <windows.h>

#include <exception>

#include <string>
#include <string_view>

namespace vivu {

class WindowBase {
public:
    WindowBase(const WindowBase&) = delete;
    WindowBase& operator=(const WindowBase&) = delete;

    HWND Handle() const { return window_; }
    // The window's dots per inch; before it exists, those of the monitor it is meant for.
    int Dpi() const { return dpi_; }
    // A length designed at 96 dots per inch, at the window's.
    int Scale(int length) const;

    // The window object a handle belongs to: the window itself or one of its descendants.
    // Null for windows of other classes.
    static WindowBase* FromHandle(HWND window);

    // Tells the user that a handler failed ("操作失败：{1}"), instead of going on as if
    // nothing happened. Failures while the box is open are not stacked on it.
    void ReportException(std::string_view what);

    // Runs handler for a message of window (a control's subclass, for instance); when it
    // throws, the failure is reported by the window it belongs to and fallback() is returned.
    // Nothing may unwind through the system's code that called us.
    template <typename Handler, typename Fallback>
    static LRESULT Guarded(HWND window, Handler&& handler, Fallback&& fallback) noexcept {
        try {
            return handler();
        } catch (const std::exception& e) {
            ReportFrom(window, e.what());
        } catch (...) {
            ReportFrom(window, {});
        }
        return fallback();
    }

protected:
    WindowBase() = default;
    virtual ~WindowBase();

    // Registers the class once, with room for this object in the window's extra bytes, and
    // creates the window with this object attached from its first message (WM_NCCREATE) on.
    // dpi is what the geometry was scaled for; the window's own dpi replaces it once it exists.
    HWND CreateBaseWindow(const wchar_t* className, HICON icon, DWORD exStyle, std::wstring_view caption, DWORD style,
                          const RECT& place, HWND owner);
    // The dpi a window created on owner's monitor (or the primary one) will have.
    void ExpectDpiOf(HWND owner);
    // Moves the window to place, which is in pixels of the monitor it lands on (a rectangle saved at an
    // earlier run). When that monitor has another dpi, Windows answers the move with WM_GETDPISCALEDSIZE and
    // WM_DPICHANGED: the window takes the monitor's dpi but stays at place, rather than at the size Windows
    // scales the old one to.
    void MoveToSavedPlace(const RECT& place);

    // Runs the window modally over owner (RunModal). While it runs, closing the window goes
    // through CloseModal and its destruction ends the loop: no window writes that itself.
    void RunModalOver(HWND owner);

    virtual LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) = 0;
    LRESULT Default(UINT message, WPARAM wParam, LPARAM lParam) const;
    // The window moved to a monitor of another dpi (Dpi() already holds the new value): fonts and
    // controls follow it here; the base then moves the window to the rectangle Windows suggests (or keeps
    // the saved place it is moving to) and lays it out with a WM_SIZE, also when its size stays.
    virtual void OnDpiChanged(int oldDpi);
    // The message box that reports a failure.
    virtual void ShowFailure(const std::string& text, const std::string& title);

private:
    static LRESULT CALLBACK Procedure(HWND, UINT, WPARAM, LPARAM);
    static void ReportFrom(HWND window, const char* what);
    LRESULT Dispatch(UINT message, WPARAM wParam, LPARAM lParam);

    // Windows' answer to a move to another dpi: the new size asked for, then the dpi changed.
    LRESULT OnDpiScaledSize(SIZE& size) const;
    void OnDpiMessage(int newDpi, const RECT& suggested);

    HWND window_ = nullptr;
    int dpi_ = 96;
    const RECT* savedPlace_ = nullptr; // while MoveToSavedPlace moves the window there
    bool reporting_ = false;
    bool modal_ = false;
};

} // namespace vivu
