// The wait box: a label, 取消, and the thread the work runs on.
#include "ui/WebWaitBox.h"

#include "ui/ControlColours.h"
#include "ui/Dpi.h"
#include "ui/ModalLoop.h"

#include <utility>

namespace vivu {

namespace {

constexpr wchar_t kClassName[] = L"KovaWebWaitBox";
constexpr UINT kWorkEnded = WM_APP + 1;
constexpr int kTextId = 100;
constexpr int kClientWidth = 280, kClientHeight = 104;
constexpr DWORD kStyle = WS_POPUP | WS_CAPTION;
constexpr DWORD kExStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;

struct BoxRow {
    int id;
    ControlKind kind;
    int x, y, width, height;
    const char* caption;
};
constexpr BoxRow kRows[] = {
    {kTextId, ControlKind::Label, 16, 14, kClientWidth - 32, 28, "正在从网络加载…"},
    {IDCANCEL, ControlKind::Button, (kClientWidth - 88) / 2, 60, 88, 30, "取消"},
};

} // namespace

WebWaitBox::WebWaitBox(std::function<void()> work, std::function<void()> cancel)
    : work_(std::move(work)), cancel_(std::move(cancel)) {}

WebWaitBox::~WebWaitBox() {
    if (worker_.joinable()) worker_.join();
}

bool WebWaitBox::Run(HWND owner) {
    if (!Create(owner)) {
        work_(); // no box to wait in: block as a plain call would
        return true;
    }
    {
        const std::lock_guard lock(mutex_);
        notify_ = Handle();
    }
    try {
        worker_ = std::thread([this] { RunWork(); });
    } catch (...) {
        DestroyWindow(Handle());
        throw;
    }
    ShowWindow(Handle(), SW_SHOW);
    SetFocus(GetDlgItem(Handle(), IDCANCEL));
    // Ends when the box is gone: the work ended, or the owner was destroyed and took the box
    // with it. On a quit the box is still there; destroying it cancels the work.
    RunModalOver(owner);
    if (Handle()) DestroyWindow(Handle());
    worker_.join();
    if (failure_) std::rethrow_exception(failure_);
    return !cancelled_;
}

bool WebWaitBox::Create(HWND owner) {
    ExpectDpiOf(owner);
    RECT outer{0, 0, Scale(kClientWidth), Scale(kClientHeight)};
    AdjustWindowRectForDpi(outer, kStyle, kExStyle, Dpi());
    const int width = outer.right - outer.left, height = outer.bottom - outer.top;
    RECT ownerRect{};
    const bool centred = owner && GetWindowRect(owner, &ownerRect);
    const int left = centred ? ownerRect.left + (ownerRect.right - ownerRect.left - width) / 2 : CW_USEDEFAULT;
    const int top = centred ? ownerRect.top + (ownerRect.bottom - ownerRect.top - height) / 2 : CW_USEDEFAULT;
    if (!CreateBaseWindow(kClassName, nullptr, kExStyle, L"载入", kStyle, {left, top, left + width, top + height},
                          owner))
        return false;
    for (const BoxRow& row : kRows) CreateControl(row.kind, Handle(), row.id, 0, 0, 0, 0, row.caption, nullptr);
    HWND text = GetDlgItem(Handle(), kTextId), button = GetDlgItem(Handle(), IDCANCEL);
    SetWindowLongPtrW(text, GWL_STYLE, WS_CHILD | WS_VISIBLE | SS_CENTER | SS_CENTERIMAGE);
    SetWindowLongPtrW(button, GWL_STYLE, GetWindowLongPtrW(button, GWL_STYLE) | BS_DEFPUSHBUTTON);
    PlaceControls();
    return true;
}

void WebWaitBox::PlaceControls() {
    for (const BoxRow& row : kRows) {
        HWND control = GetDlgItem(Handle(), row.id);
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(fonts_.Get(ControlFont{}, Dpi())), FALSE);
        MoveWindow(control, Scale(row.x), Scale(row.y), Scale(row.width), Scale(row.height), TRUE);
    }
}

void WebWaitBox::OnDpiChanged(int) {
    PlaceControls();
    fonts_.KeepOnly(Dpi());
}

// On the worker thread: the work, then one message to the box if it is still there.
void WebWaitBox::RunWork() {
    try {
        work_();
    } catch (...) {
        failure_ = std::current_exception();
    }
    const std::lock_guard lock(mutex_);
    if (notify_) PostMessageW(notify_, kWorkEnded, 0, 0);
}

void WebWaitBox::Cancel() {
    if (cancelled_ || finished_) return;
    cancelled_ = true;
    // The box closes once the work has stopped, which cancel sees to.
    if (Handle()) EnableWindow(GetDlgItem(Handle(), IDCANCEL), FALSE);
    cancel_();
}

LRESULT WebWaitBox::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case kWorkEnded:
        finished_ = true;
        CloseModal(Handle());
        return 0;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDCANCEL) Cancel();
        return 0;
    case WM_CLOSE:
        Cancel();
        return 0;
    case WM_DESTROY: {
        {
            const std::lock_guard lock(mutex_);
            notify_ = nullptr;
        }
        Cancel(); // destroyed before the work ended (with its owner, or on a quit): stop it
        return 0;
    }
    case WM_CTLCOLORSTATIC:
        return PaintWith(reinterpret_cast<HDC>(wParam), SystemColours(COLOR_BTNTEXT, COLOR_BTNFACE));
    default:
        break;
    }
    return Default(message, wParam, lParam);
}

} // namespace vivu
