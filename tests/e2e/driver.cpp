// e2e-driver.exe: reads and pokes the windows of a running kova-json.exe from outside,
// one command per run, for the end-to-end journeys in tests/e2e/run.
//
// Windows are named by their exact caption, controls by their control id (0 is the
// window itself). Text goes out as UTF-8. Exit status 0 on success, 1 on a failed
// command (with the reason on stderr), 2 on a usage error.
#include "RemoteMemory.h"

#include <windows.h>

#include <Scintilla.h>
#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

namespace {

using e2e::RemoteMemory;

std::string ToUtf8(std::wstring_view wide) {
    if (wide.empty()) return {};
    const int n =
        WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), out.data(), n, nullptr, nullptr);
    return out;
}

// Raw bytes to stdout: a pipe to the shell, so no console conversion applies.
void Out(std::string_view bytes) {
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}
void OutLine(std::string_view bytes) {
    Out(bytes);
    Out("\n");
}

[[noreturn]] void Fail(const std::string& why) {
    DWORD written = 0;
    const std::string line = "e2e-driver: " + why + "\n";
    WriteFile(GetStdHandle(STD_ERROR_HANDLE), line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    ExitProcess(1);
}

std::wstring WindowText(HWND hwnd) {
    wchar_t buffer[1024] = {};
    InternalGetWindowText(hwnd, buffer, 1024);
    return buffer;
}

std::wstring ClassName(HWND hwnd) {
    wchar_t buffer[64] = {};
    GetClassNameW(hwnd, buffer, 64);
    return buffer;
}

// A visible top-level window with exactly this caption.
HWND FindTop(const std::wstring& title) {
    struct Search {
        const std::wstring* title;
        HWND found;
    } search{&title, nullptr};
    EnumWindows(
        [](HWND hwnd, LPARAM p) -> BOOL {
            auto* s = reinterpret_cast<Search*>(p);
            if (IsWindowVisible(hwnd) && WindowText(hwnd) == *s->title) {
                s->found = hwnd;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND WaitTop(const std::wstring& title, double seconds) {
    for (DWORD start = GetTickCount();;) {
        if (HWND hwnd = FindTop(title)) return hwnd;
        if (GetTickCount() - start > seconds * 1000) Fail("no window \"" + ToUtf8(title) + "\"");
        Sleep(50);
    }
}

// The first descendant of parent matching id (any id when 0) and class (any when empty);
// visible ones are preferred, as tab pages keep hidden twins of nothing here but editors do.
HWND FindDescendant(HWND parent, int id, const std::wstring& cls = {}) {
    struct Search {
        int id;
        const std::wstring* cls;
        HWND visible, any;
    } search{id, &cls, nullptr, nullptr};
    EnumChildWindows(
        parent,
        [](HWND hwnd, LPARAM p) -> BOOL {
            auto* s = reinterpret_cast<Search*>(p);
            if (s->id != 0 && GetDlgCtrlID(hwnd) != s->id) return TRUE;
            if (!s->cls->empty() && ClassName(hwnd) != *s->cls) return TRUE;
            if (!s->any) s->any = hwnd;
            if (IsWindowVisible(hwnd)) {
                s->visible = hwnd;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.visible ? search.visible : search.any;
}

HWND Control(const std::wstring& title, const std::wstring& idText) {
    HWND top = WaitTop(title, 10);
    const int id = _wtoi(idText.c_str());
    if (id == 0) return top;
    HWND control = FindDescendant(top, id);
    if (!control) Fail("no control " + ToUtf8(idText) + " in \"" + ToUtf8(title) + "\"");
    return control;
}

std::string ControlText(HWND control) {
    DWORD_PTR length = 0;
    SendMessageTimeoutW(control, WM_GETTEXTLENGTH, 0, 0, SMTO_NORMAL, 5000, &length);
    std::wstring text(length + 1, L'\0');
    DWORD_PTR copied = 0;
    SendMessageTimeoutW(control, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()), SMTO_NORMAL, 5000,
                        &copied);
    text.resize(copied);
    return ToUtf8(text);
}

void PrintCenter(HWND reference, RECT r) {
    MapWindowPoints(reference, HWND_DESKTOP, reinterpret_cast<POINT*>(&r), 2);
    OutLine(std::to_string((r.left + r.right) / 2) + " " + std::to_string((r.top + r.bottom) / 2));
}

// The main editor is a Scintilla control; its text is UTF-8 bytes.
std::string EditorText(HWND top) {
    HWND editor = FindDescendant(top, 0, L"Scintilla");
    if (!editor || !IsWindowVisible(editor)) Fail("no visible editor");
    const auto length = static_cast<size_t>(SendMessageW(editor, SCI_GETLENGTH, 0, 0));
    RemoteMemory buffer(editor, length + 1);
    if (!buffer.Ok()) Fail("cannot reach the editor's process");
    SendMessageW(editor, SCI_GETTEXT, length + 1, buffer.Param());
    std::string text(length, '\0');
    if (length && !buffer.Read(text.data(), length)) Fail("cannot read the editor text");
    return text;
}

struct TreeItem {
    HTREEITEM handle;
    int depth;
    std::wstring label;
    UINT state;
};

// Every item in display order, walked without recursion.
std::vector<TreeItem> TreeItems(HWND tree) {
    RemoteMemory memory(tree, sizeof(TVITEMW) + 2048 * sizeof(wchar_t));
    if (!memory.Ok()) Fail("cannot reach the tree's process");
    std::vector<TreeItem> items;
    auto next = [tree](HTREEITEM item, UINT how) {
        return reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, how, reinterpret_cast<LPARAM>(item)));
    };
    HTREEITEM item = next(nullptr, TVGN_ROOT);
    int depth = 0;
    while (item) {
        TVITEMW tv{};
        tv.mask = TVIF_TEXT | TVIF_STATE | TVIF_HANDLE;
        tv.hItem = item;
        tv.stateMask = TVIS_SELECTED | TVIS_EXPANDED | TVIS_BOLD;
        tv.pszText = static_cast<wchar_t*>(memory.Address(sizeof(TVITEMW)));
        tv.cchTextMax = 2048;
        memory.Write(&tv, sizeof(tv));
        SendMessageW(tree, TVM_GETITEMW, 0, memory.Param());
        std::wstring label(2048, L'\0');
        memory.Read(&tv, sizeof(tv));
        memory.Read(label.data(), label.size() * sizeof(wchar_t), sizeof(TVITEMW));
        label.resize(wcsnlen(label.c_str(), label.size()));
        items.push_back({item, depth, label, tv.state});
        // Pre-order: first child, else next sibling, else the next sibling of an ancestor.
        if (HTREEITEM child = next(item, TVGN_CHILD)) {
            item = child;
            ++depth;
            continue;
        }
        while (item && !next(item, TVGN_NEXT)) {
            item = next(item, TVGN_PARENT);
            --depth;
        }
        if (item) item = next(item, TVGN_NEXT);
    }
    return items;
}

const TreeItem& FindItem(const std::vector<TreeItem>& items, const std::wstring& label) {
    for (const auto& item : items)
        if (item.label == label) return item;
    Fail("no tree item \"" + ToUtf8(label) + "\"");
}

// A message box: a dialog with the message in its static control 0xFFFF.
HWND FindMessageBox() {
    HWND found = nullptr;
    EnumWindows(
        [](HWND hwnd, LPARAM p) -> BOOL {
            if (IsWindowVisible(hwnd) && ClassName(hwnd) == L"#32770") {
                HWND message = GetDlgItem(hwnd, 0xFFFF);
                if (message && GetWindowTextLengthW(message) > 0) {
                    *reinterpret_cast<HWND*>(p) = hwnd;
                    return FALSE;
                }
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

std::optional<std::string> ClipboardText() {
    for (int attempt = 0; attempt < 50; ++attempt) {
        if (OpenClipboard(nullptr)) {
            std::optional<std::string> text;
            if (HANDLE memory = GetClipboardData(CF_UNICODETEXT)) {
                if (const auto* data = static_cast<const wchar_t*>(GlobalLock(memory))) {
                    text = ToUtf8(std::wstring_view(data, wcsnlen(data, GlobalSize(memory) / sizeof(wchar_t))));
                    GlobalUnlock(memory);
                }
            }
            CloseClipboard();
            return text;
        }
        Sleep(20);
    }
    Fail("the clipboard stays locked");
}

void SetClipboard(const std::wstring& text) {
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
    memcpy(GlobalLock(memory), text.c_str(), (text.size() + 1) * sizeof(wchar_t));
    GlobalUnlock(memory);
    for (int attempt = 0; attempt < 50; ++attempt) {
        if (OpenClipboard(nullptr)) {
            EmptyClipboard();
            const bool ok = SetClipboardData(CF_UNICODETEXT, memory) != nullptr;
            CloseClipboard();
            if (!ok) Fail("SetClipboardData failed");
            return;
        }
        Sleep(20);
    }
    Fail("the clipboard stays locked");
}

int Usage() {
    fputs("usage: e2e-driver COMMAND ARGS...\n"
          "  wait TITLE [SECONDS]          a visible window with this caption\n"
          "  gone TITLE [SECONDS]          no such window any more\n"
          "  text TITLE ID                 text of a control (0: the window)\n"
          "  settext TITLE ID TEXT         replace it\n"
          "  click TITLE ID                post BM_CLICK to a button\n"
          "  center TITLE ID               screen point at the middle of a control\n"
          "  visible|enabled|checked|combo|tab TITLE ID   state of a control\n"
          "  rect TITLE                    left top width height of a window\n"
          "  toolbar TITLE CAPTION         screen point of the toolbar button with this caption\n"
          "  editor TITLE                  text of the visible Scintilla editor\n"
          "  caret TITLE                   the editor's caret position and its place mark there (0/1)\n"
          "  selection TITLE               the editor's selection: start end, then the selected text\n"
          "  tab-page TITLE ID PAGE        choose a tab control's page with its arrow keys\n"
          "  menu [SECONDS]                wait for a popup menu to open\n"
          "  tree TITLE ID                 items as: depth flags(S selected, E expanded, B bold) label\n"
          "  tree-item TITLE ID LABEL      screen point of the item's label\n"
          "  clip-get | clip-set TEXT      clipboard text\n"
          "  msgbox [SECONDS] [BUTTON]     wait for a message box, print title and text, press BUTTON (1)\n"
          "  nomsgbox                      fail when a message box is showing\n"
          "  hit X Y                       control id and class of the window at a screen point\n"
          "  close TITLE                   post WM_CLOSE\n",
          stderr);
    return 2;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) return Usage();
    const std::wstring command = argv[1];
    std::vector<std::wstring> args(argv + 2, argv + argc);
    auto need = [&](size_t n) {
        if (args.size() < n) ExitProcess(Usage());
    };
    auto seconds = [&](size_t i, double fallback) { return args.size() > i ? _wtof(args[i].c_str()) : fallback; };

    if (command == L"wait") {
        need(1);
        WaitTop(args[0], seconds(1, 30));
    } else if (command == L"gone") {
        need(1);
        for (DWORD start = GetTickCount(); FindTop(args[0]);) {
            if (GetTickCount() - start > seconds(1, 30) * 1000) Fail("\"" + ToUtf8(args[0]) + "\" is still open");
            Sleep(50);
        }
    } else if (command == L"text") {
        need(2);
        OutLine(ControlText(Control(args[0], args[1])));
    } else if (command == L"settext") {
        need(3);
        SendMessageW(Control(args[0], args[1]), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(args[2].c_str()));
    } else if (command == L"click") {
        need(2);
        PostMessageW(Control(args[0], args[1]), BM_CLICK, 0, 0);
    } else if (command == L"center") {
        need(2);
        HWND control = Control(args[0], args[1]);
        RECT r{};
        GetClientRect(control, &r);
        PrintCenter(control, r);
    } else if (command == L"visible") {
        need(2);
        OutLine(IsWindowVisible(Control(args[0], args[1])) ? "1" : "0");
    } else if (command == L"enabled") {
        need(2);
        OutLine(IsWindowEnabled(Control(args[0], args[1])) ? "1" : "0");
    } else if (command == L"checked") {
        need(2);
        OutLine(std::to_string(SendMessageW(Control(args[0], args[1]), BM_GETCHECK, 0, 0)));
    } else if (command == L"combo") {
        need(2);
        OutLine(std::to_string(SendMessageW(Control(args[0], args[1]), CB_GETCURSEL, 0, 0)));
    } else if (command == L"tab") {
        need(2);
        OutLine(std::to_string(SendMessageW(Control(args[0], args[1]), TCM_GETCURSEL, 0, 0)));
    } else if (command == L"rect") {
        need(1);
        RECT r{};
        GetWindowRect(WaitTop(args[0], 10), &r);
        OutLine(std::to_string(r.left) + " " + std::to_string(r.top) + " " + std::to_string(r.right - r.left) + " " +
                std::to_string(r.bottom - r.top));
    } else if (command == L"toolbar") {
        need(2);
        HWND top = WaitTop(args[0], 10);
        std::vector<HWND> toolbars;
        EnumChildWindows(
            top,
            [](HWND hwnd, LPARAM p) -> BOOL {
                if (ClassName(hwnd) == TOOLBARCLASSNAMEW) reinterpret_cast<std::vector<HWND>*>(p)->push_back(hwnd);
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&toolbars));
        for (HWND toolbar : toolbars) {
            RemoteMemory memory(toolbar, 1024);
            const auto count = static_cast<int>(SendMessageW(toolbar, TB_BUTTONCOUNT, 0, 0));
            for (int i = 0; i < count; ++i) {
                TBBUTTON button{};
                SendMessageW(toolbar, TB_GETBUTTON, i, memory.Param());
                memory.Read(&button, sizeof(button));
                if (button.fsStyle & BTNS_SEP) continue;
                wchar_t caption[128] = {};
                memory.Write(caption, sizeof(caption));
                SendMessageW(toolbar, TB_GETBUTTONTEXTW, button.idCommand, memory.Param());
                memory.Read(caption, sizeof(caption) - sizeof(wchar_t));
                if (args[1] != caption) continue;
                RECT r{};
                SendMessageW(toolbar, TB_GETITEMRECT, i, memory.Param());
                memory.Read(&r, sizeof(r));
                PrintCenter(toolbar, r);
                return 0;
            }
        }
        Fail("no toolbar button \"" + ToUtf8(args[1]) + "\"");
    } else if (command == L"editor") {
        need(1);
        Out(EditorText(WaitTop(args[0], 10)));
    } else if (command == L"caret") {
        need(1);
        HWND editor = FindDescendant(WaitTop(args[0], 10), 0, L"Scintilla");
        const LRESULT caret = SendMessageW(editor, SCI_GETCURRENTPOS, 0, 0);
        OutLine(std::to_string(caret) + " " + std::to_string(SendMessageW(editor, SCI_INDICATORVALUEAT, 8, caret)));
    } else if (command == L"selection") {
        need(1);
        HWND editor = FindDescendant(WaitTop(args[0], 10), 0, L"Scintilla");
        const auto start = static_cast<size_t>(SendMessageW(editor, SCI_GETSELECTIONSTART, 0, 0));
        const auto end = static_cast<size_t>(SendMessageW(editor, SCI_GETSELECTIONEND, 0, 0));
        OutLine(std::to_string(start) + " " + std::to_string(end) + " " +
                EditorText(WaitTop(args[0], 10)).substr(start, end - start));
    } else if (command == L"tab-page") {
        need(3);
        // The main tab control's headers lie under the title row: its own arrow keys choose the page.
        HWND tabs = Control(args[0], args[1]);
        const auto page = _wtoi(args[2].c_str());
        for (int i = 0; i < 8 && SendMessageW(tabs, TCM_GETCURSEL, 0, 0) != page; ++i)
            SendMessageW(tabs, WM_KEYDOWN, SendMessageW(tabs, TCM_GETCURSEL, 0, 0) < page ? VK_RIGHT : VK_LEFT, 0);
    } else if (command == L"menu") {
        for (DWORD start = GetTickCount();
             !FindWindowW(L"#32768", nullptr) || !IsWindowVisible(FindWindowW(L"#32768", nullptr));) {
            if (GetTickCount() - start > seconds(0, 10) * 1000) Fail("no popup menu");
            Sleep(50);
        }
    } else if (command == L"tree") {
        need(2);
        for (const auto& item : TreeItems(Control(args[0], args[1]))) {
            std::string flags;
            if (item.state & TVIS_SELECTED) flags += 'S';
            if (item.state & TVIS_EXPANDED) flags += 'E';
            if (item.state & TVIS_BOLD) flags += 'B';
            OutLine(std::to_string(item.depth) + " " + (flags.empty() ? "-" : flags) + " " + ToUtf8(item.label));
        }
    } else if (command == L"tree-item") {
        need(3);
        HWND tree = Control(args[0], args[1]);
        const TreeItem& item = FindItem(TreeItems(tree), args[2]);
        RemoteMemory memory(tree, sizeof(RECT));
        RECT r{};
        memcpy(&r, &item.handle, sizeof(item.handle)); // TVM_GETITEMRECT takes the item in the rectangle
        memory.Write(&r, sizeof(r));
        if (!SendMessageW(tree, TVM_GETITEMRECT, TRUE, memory.Param())) Fail("tree item not visible");
        memory.Read(&r, sizeof(r));
        PrintCenter(tree, r);
    } else if (command == L"clip-get") {
        auto text = ClipboardText();
        if (!text) Fail("no text on the clipboard");
        OutLine(*text);
    } else if (command == L"clip-set") {
        need(1);
        SetClipboard(args[0]);
    } else if (command == L"msgbox") {
        HWND box = nullptr;
        for (DWORD start = GetTickCount(); !(box = FindMessageBox());) {
            if (GetTickCount() - start > seconds(0, 30) * 1000) Fail("no message box");
            Sleep(50);
        }
        Sleep(100); // let it finish painting before it goes
        OutLine(ToUtf8(WindowText(box)) + "|" + ControlText(GetDlgItem(box, 0xFFFF)));
        const int button = args.size() > 1 ? _wtoi(args[1].c_str()) : IDOK;
        HWND control = GetDlgItem(box, button);
        if (!control) Fail("the message box has no button " + std::to_string(button));
        PostMessageW(control, BM_CLICK, 0, 0);
        for (DWORD start = GetTickCount(); IsWindow(box) && IsWindowVisible(box);) {
            if (GetTickCount() - start > 10000) Fail("the message box stays open");
            Sleep(20);
        }
    } else if (command == L"nomsgbox") {
        if (HWND box = FindMessageBox())
            Fail("message box \"" + ToUtf8(WindowText(box)) + "\": " + ControlText(GetDlgItem(box, 0xFFFF)));
    } else if (command == L"hit") {
        need(2);
        HWND hwnd = WindowFromPoint(POINT{_wtoi(args[0].c_str()), _wtoi(args[1].c_str())});
        if (!hwnd) Fail("no window there");
        OutLine(std::to_string(GetDlgCtrlID(hwnd)) + " " + ToUtf8(ClassName(hwnd)));
    } else if (command == L"close") {
        need(1);
        PostMessageW(WaitTop(args[0], 10), WM_CLOSE, 0, 0);
    } else {
        return Usage();
    }
    return 0;
}
