// Acts on a window of this process once it appears (for modal windows a test opens).
#pragma once

#include "kova/Encoding.h"

#include <windows.h>

#include <functional>
#include <string>
#include <thread>

namespace vivu::test {

// Starts a thread that waits (up to 20 s) for a visible top-level window of this
// process captioned `caption`, then calls action(window) on that thread. Messages
// sent from there are handled by the window's own (modal) loop.
class WindowWatcher {
public:
    WindowWatcher(std::string caption, std::function<void(HWND)> action)
        : caption_(kova::Utf8ToWide(caption)), action_(std::move(action)), thread_([this] { Run(); }) {}
    ~WindowWatcher() { thread_.join(); }
    bool Found() const { return found_; }

private:
    void Run() {
        for (int i = 0; i < 1000 && !found_; ++i) {
            EnumWindows(
                [](HWND hwnd, LPARAM self) -> BOOL {
                    auto* watcher = reinterpret_cast<WindowWatcher*>(self);
                    DWORD process = 0;
                    GetWindowThreadProcessId(hwnd, &process);
                    wchar_t text[256] = {};
                    InternalGetWindowText(hwnd, text, 256);
                    if (process == GetCurrentProcessId() && IsWindowVisible(hwnd) && watcher->caption_ == text) {
                        watcher->window_ = hwnd;
                        watcher->found_ = true;
                        return FALSE;
                    }
                    return TRUE;
                },
                reinterpret_cast<LPARAM>(this));
            if (!found_) Sleep(20);
        }
        if (found_) {
            Sleep(100); // let the window finish its creation handler
            action_(window_);
        }
    }

    std::wstring caption_;
    std::function<void(HWND)> action_;
    HWND window_ = nullptr;
    bool found_ = false;
    std::thread thread_;
};

inline std::string ControlText(HWND control) {
    wchar_t buffer[8192] = {};
    SendMessageW(control, WM_GETTEXT, 8192, reinterpret_cast<LPARAM>(buffer));
    return kova::WideToUtf8(buffer);
}

} // namespace vivu::test
