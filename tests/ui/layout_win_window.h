// Real windows for the layout tests under Wine: a top-level test window and child controls in it.
#pragma once

#include "layout_print.h"
#include "ui/LayoutManager.h"

#include <windows.h>

namespace layout_test {

// What the test window's own procedure answers to kProbeMessage, so a test can tell it was reached.
constexpr UINT kProbeMessage = WM_APP + 1;
constexpr LRESULT kProbeAnswer = 0x1234;

inline LRESULT CALLBACK TestWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kProbeMessage) return kProbeAnswer;
    return DefWindowProcW(window, message, wParam, lParam);
}

// An overlapped, resizable top-level window, hidden (nothing here needs it on screen), destroyed at scope end.
class TestWindow {
public:
    TestWindow(int x, int y, int width, int height) {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof(wc);
        wc.lpfnWndProc = TestWindowProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        wc.lpszClassName = kClass;
        RegisterClassExW(&wc); // a second registration fails harmlessly
        handle = CreateWindowExW(0, kClass, L"layout test", WS_OVERLAPPEDWINDOW, x, y, width, height, nullptr, nullptr,
                                 GetModuleHandleW(nullptr), nullptr);
    }
    ~TestWindow() {
        if (IsWindow(handle)) DestroyWindow(handle);
    }
    TestWindow(const TestWindow&) = delete;
    TestWindow& operator=(const TestWindow&) = delete;

    HWND Handle() const { return handle; }

private:
    static constexpr wchar_t kClass[] = L"VivuLayoutTestWindow";
    HWND handle = nullptr;
};

inline HWND CreateChild(HWND parent, const wchar_t* windowClass, const wchar_t* text, int x, int y, int width,
                        int height, DWORD extraStyle = 0) {
    return CreateWindowExW(0, windowClass, text, WS_CHILD | WS_VISIBLE | extraStyle, x, y, width, height, parent,
                           nullptr, GetModuleHandleW(nullptr), nullptr);
}

// A control's rectangle in its parent's client coordinates, read the way the layout does not read it.
inline vivu::LayoutRect RectInParent(HWND control) {
    RECT r{};
    GetWindowRect(control, &r);
    MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&r), 2);
    return {r.left, r.top, r.right, r.bottom};
}

inline SIZE OuterSize(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    return {r.right - r.left, r.bottom - r.top};
}

inline SIZE ClientSize(HWND window) {
    RECT r{};
    GetClientRect(window, &r);
    return {r.right, r.bottom};
}

} // namespace layout_test
