// Opens a window's right-click menu for real and reads it back: a timer that the
// menu's own modal loop dispatches finds the popup, reads its items and ends it.
#pragma once

#include "kova/Encoding.h"

#include <windows.h>

#include <string>
#include <vector>

namespace vivu::test {

struct PopupMenuItem {
    std::string caption; // empty for a separator
    UINT id = 0;
    bool enabled = true;
};

struct PopupMenuSeen {
    std::vector<PopupMenuItem> items;
    POINT topLeft{-1, -1}; // where the menu opened, in screen coordinates
};

inline void ReadPopupMenu(HWND popup, PopupMenuSeen& seen) {
    auto menu = reinterpret_cast<HMENU>(SendMessageW(popup, MN_GETHMENU, 0, 0));
    const int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        wchar_t text[128] = {};
        MENUITEMINFOW info{};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_STRING | MIIM_STATE;
        info.dwTypeData = text;
        info.cch = 128;
        GetMenuItemInfoW(menu, i, TRUE, &info);
        seen.items.push_back(
            {(info.fType & MFT_SEPARATOR) ? "" : kova::WideToUtf8(text), info.wID, !(info.fState & MFS_DISABLED)});
    }
    RECT frame{};
    GetWindowRect(popup, &frame);
    seen.topLeft = {frame.left, frame.top};
}

inline HWND OpenPopupMenu() {
    HWND popup = FindWindowW(L"#32768", nullptr);
    return popup && IsWindowVisible(popup) ? popup : nullptr;
}

// Runs open, which opens a menu from this thread, and reads the menu inside its modal loop
// with a timer of window's, then ends it.
template <typename Open> PopupMenuSeen ReadMenuOpenedBy(HWND window, Open open) {
    struct Reader {
        static void CALLBACK OnTimer(HWND window, UINT, UINT_PTR id, DWORD) {
            HWND popup = OpenPopupMenu();
            if (!popup) return;
            KillTimer(window, id);
            ReadPopupMenu(popup, *reinterpret_cast<PopupMenuSeen*>(id));
            EndMenu();
        }
    };
    PopupMenuSeen seen;
    SetTimer(window, reinterpret_cast<UINT_PTR>(&seen), 50, Reader::OnTimer);
    open();
    KillTimer(window, reinterpret_cast<UINT_PTR>(&seen));
    return seen;
}

// Sends a right-button press and release to `target` with the cursor at `cursor`
// and returns the menu that opened (no items when none did). From the target's own
// thread a timer reads the menu inside its modal loop; from another thread the
// clicks are posted and the menu is read and dismissed from here.
inline PopupMenuSeen RightClickMenu(HWND target, POINT cursor) {
    SetCursorPos(cursor.x, cursor.y);
    POINT client = cursor;
    ScreenToClient(target, &client);
    const LPARAM at = MAKELPARAM(client.x, client.y);
    if (GetWindowThreadProcessId(target, nullptr) == GetCurrentThreadId()) {
        return ReadMenuOpenedBy(target, [&] {
            SendMessageW(target, WM_RBUTTONDOWN, MK_RBUTTON, at);
            SendMessageW(target, WM_RBUTTONUP, 0, at);
        });
    }
    PopupMenuSeen seen;
    PostMessageW(target, WM_RBUTTONDOWN, MK_RBUTTON, at);
    PostMessageW(target, WM_RBUTTONUP, 0, at);
    HWND popup = nullptr;
    for (int i = 0; i < 250 && !(popup = OpenPopupMenu()); ++i) Sleep(20);
    if (!popup) return seen;
    ReadPopupMenu(popup, seen);
    PostMessageW(popup, WM_KEYDOWN, VK_ESCAPE, 0);
    for (int i = 0; i < 250 && OpenPopupMenu(); ++i) Sleep(20);
    return seen;
}

} // namespace vivu::test
