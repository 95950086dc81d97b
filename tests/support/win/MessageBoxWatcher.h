// Answers the message boxes a test provokes and remembers what they said.
#pragma once

#include "kova/Encoding.h"

#include <windows.h>

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace vivu::test {

// While alive, a background thread closes every message box of this process
// (pressing OK, or the button given) after reading its title and text.
class MessageBoxWatcher {
public:
    struct Box {
        std::string title;
        std::string text;
    };

    explicit MessageBoxWatcher(int answer = IDOK) : answer_(answer), thread_([this] { Run(); }) {}
    ~MessageBoxWatcher() {
        stop_ = true;
        thread_.join();
    }

    std::vector<Box> Seen() {
        std::lock_guard lock(mutex_);
        return seen_;
    }

private:
    void Run() {
        while (!stop_) {
            EnumWindows(
                [](HWND hwnd, LPARAM self) -> BOOL {
                    reinterpret_cast<MessageBoxWatcher*>(self)->Check(hwnd);
                    return TRUE;
                },
                reinterpret_cast<LPARAM>(this));
            Sleep(20);
        }
    }

    void Check(HWND hwnd) {
        wchar_t className[32] = {};
        GetClassNameW(hwnd, className, 32);
        DWORD process = 0;
        GetWindowThreadProcessId(hwnd, &process);
        if (std::wstring(className) != L"#32770" || process != GetCurrentProcessId() || !IsWindowVisible(hwnd)) return;
        // Wait until the box is complete: its message is the static control with id 0xFFFF.
        HWND message = GetDlgItem(hwnd, 0xFFFF);
        if (!message || GetWindowTextLengthW(message) == 0) return;
        Sleep(50);
        Box box{Text(hwnd), Text(message)};
        {
            std::lock_guard lock(mutex_);
            seen_.push_back(box);
        }
        // Sent, not posted: a posted answer could reach the next box if it gets this one's handle.
        DWORD_PTR ignored = 0;
        SendMessageTimeoutW(hwnd, WM_COMMAND, answer_, 0, SMTO_NORMAL, 5000, &ignored);
    }

    static std::string Text(HWND hwnd) {
        wchar_t buffer[1024] = {};
        SendMessageTimeoutW(hwnd, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(buffer), SMTO_ABORTIFHUNG, 500, nullptr);
        return kova::WideToUtf8(buffer);
    }

    const int answer_;
    std::atomic<bool> stop_{false};
    std::mutex mutex_;
    std::vector<Box> seen_;
    std::thread thread_;
};

} // namespace vivu::test
