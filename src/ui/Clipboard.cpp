// Clipboard text in and out.
#include "ui/Clipboard.h"

#include "kova/Encoding.h"

#include <cstring>

namespace vivu {

namespace {
// The clipboard may be held by another program for a moment.
bool OpenWithRetry(HWND owner) {
    for (int attempt = 0; attempt < 10; ++attempt) {
        if (OpenClipboard(owner)) return true;
        Sleep(20);
    }
    return false;
}
} // namespace

bool SetClipboardText(HWND owner, std::string_view utf8) {
    const std::wstring wide = kova::Utf8ToWide(utf8);
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (wide.size() + 1) * sizeof(wchar_t));
    if (!memory) return false;
    void* data = GlobalLock(memory);
    std::memcpy(data, wide.c_str(), (wide.size() + 1) * sizeof(wchar_t));
    GlobalUnlock(memory);
    if (!OpenWithRetry(owner)) {
        GlobalFree(memory);
        return false;
    }
    EmptyClipboard();
    const bool ok = SetClipboardData(CF_UNICODETEXT, memory) != nullptr;
    if (!ok) GlobalFree(memory);
    CloseClipboard();
    return ok;
}

std::string GetClipboardText(HWND owner) {
    if (!IsClipboardFormatAvailable(CF_UNICODETEXT) || !OpenWithRetry(owner)) return std::string();
    std::string text;
    if (HANDLE memory = GetClipboardData(CF_UNICODETEXT)) {
        if (const auto* data = static_cast<const wchar_t*>(GlobalLock(memory))) {
            const size_t capacity = GlobalSize(memory) / sizeof(wchar_t);
            text = kova::WideToUtf8(std::wstring_view(data, wcsnlen(data, capacity)));
            GlobalUnlock(memory);
        }
    }
    CloseClipboard();
    return text;
}

} // namespace vivu
