// A nested message loop for modal windows.
#include "ui/ModalLoop.h"

namespace vivu {

namespace {
// Set on a modal window whose owner RunModal disabled, so the owner is enabled again exactly once.
constexpr wchar_t kDisabledOwner[] = L"VivuModalDisabledOwner";
} // namespace

void RunModal(HWND window, HWND owner) {
    const bool ownerWasEnabled = owner && IsWindowEnabled(owner);
    if (ownerWasEnabled) {
        EnableWindow(owner, FALSE);
        SetPropW(window, kDisabledOwner, owner);
    }
    MSG message;
    while (IsWindow(window)) {
        const BOOL got = GetMessageW(&message, nullptr, 0, 0);
        if (got <= 0) {
            if (got == 0) PostQuitMessage(static_cast<int>(message.wParam));
            break;
        }
        if (IsDialogMessageW(window, &message)) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    if (ownerWasEnabled) {
        if (IsWindow(window)) RemovePropW(window, kDisabledOwner);
        if (!IsWindowEnabled(owner)) EnableWindow(owner, TRUE);
        SetActiveWindow(owner);
    }
}

void EndModal() {
    PostMessageW(nullptr, WM_NULL, 0, 0);
}

void CloseModal(HWND window) {
    if (HWND owner = static_cast<HWND>(RemovePropW(window, kDisabledOwner))) {
        EnableWindow(owner, TRUE);
        // The owner takes the activation while this window still stands; nothing is left for Windows to hand
        // on when it goes (Wine hands it to the owner only from popup windows).
        if (GetActiveWindow() == window) SetActiveWindow(owner);
    }
    DestroyWindow(window);
}

} // namespace vivu
