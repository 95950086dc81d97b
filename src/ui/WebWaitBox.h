// The box shown while a web request runs: "正在从网络加载…" and 取消, modal over the main window.
#pragma once

#include "ui/ControlBuilder.h"
#include "ui/WindowBase.h"

#include <windows.h>

#include <exception>
#include <functional>
#include <mutex>
#include <thread>

namespace vivu {

// Runs a blocking piece of work on a thread of its own while the box, owned by and centred on
// the owner, keeps messages flowing. The work must touch no window: the owner's state changes
// after Run returns, on this thread. cancel runs on this thread when the user presses 取消 (or
// Esc, or closes the box), when the owner goes away and when the program is told to quit; it
// must make the work return soon. The box stays until the work has returned.
class WebWaitBox final : public WindowBase {
public:
    WebWaitBox(std::function<void()> work, std::function<void()> cancel);
    ~WebWaitBox() override;

    // Once. Returns after the work has returned and its thread has ended: true when it was not
    // cancelled. What the work threw is thrown here.
    bool Run(HWND owner);

private:
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnDpiChanged(int oldDpi) override;
    bool Create(HWND owner);
    void PlaceControls();
    void RunWork();
    void Cancel();

    std::function<void()> work_;
    std::function<void()> cancel_;
    FontCache fonts_;
    bool finished_ = false;  // the work reported its end to the box
    bool cancelled_ = false; // cancel has run
    std::mutex mutex_;       // guards notify_
    HWND notify_ = nullptr;  // where the work reports its end; null once the box is gone
    std::exception_ptr failure_;
    std::thread worker_;
};

} // namespace vivu
