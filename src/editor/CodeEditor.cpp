// The Scintilla host: creation, the two hooked window procedures, events and text.
#include "editor/CodeEditor.h"
#include "ui/WindowBase.h"

#include <Scintilla.h>
#include <commctrl.h>

#include <algorithm>

namespace vivu {

namespace {

constexpr int kEventIds[] = {
    kEventStyleNeeded,
    kEventCharAdded,
    kEventSavePointReached,
    kEventSavePointLeft,
    kEventModifyAttemptReadOnly,
    kEventDoubleClick,
    kEventUpdateUi,
    kEventModified,
    kEventMacroRecord,
    kEventMarginClick,
    kEventNeedShown,
    kEventPainted,
    kEventUserListSelection,
    kEventDwell,
    kEventZoom,
    kEventHotSpotClick,
    kEventHotSpotDoubleClick,
    kEventCallTipClick,
    kEventAutoCompletionSelection,
    kEventIndicatorClick,
    kEventIndicatorRelease,
    kEventAutoCompletionCancelled,
    kEventAutoCompletionCharDeleted,
    kEventHotSpotReleaseClick,
    kEventLeftButtonDown,
    kEventLeftButtonUp,
    kEventRightButtonDown,
    kEventRightButtonUp,
    kEventChar,
    kEventKeyDown,
    kEventKeyUp,
    kEventSetFocus,
    kEventKillFocus,
};

int SlotOf(int eventId) {
    auto it = std::find(std::begin(kEventIds), std::end(kEventIds), eventId);
    return it == std::end(kEventIds) ? -1 : static_cast<int>(it - std::begin(kEventIds));
}

// The event a notification raises, with its arguments; false for codes outside the table.
bool EventOfNotification(const SCNotification& n, EditorEvent& e) {
    auto set = [&e](int id, std::initializer_list<intptr_t> args) {
        e.id = id;
        std::copy(args.begin(), args.end(), e.args.begin());
    };
    auto text = [&e](const char* t, Sci_Position length) {
        if (t)
            e.text = std::string_view(t, length >= 0 ? static_cast<size_t>(length) : std::char_traits<char>::length(t));
    };
    switch (n.nmhdr.code) {
    case SCN_STYLENEEDED:
        set(kEventStyleNeeded, {n.position});
        break;
    case SCN_CHARADDED:
        set(kEventCharAdded, {n.ch});
        break;
    case SCN_SAVEPOINTREACHED:
        set(kEventSavePointReached, {});
        break;
    case SCN_SAVEPOINTLEFT:
        set(kEventSavePointLeft, {});
        break;
    case SCN_MODIFYATTEMPTRO:
        set(kEventModifyAttemptReadOnly, {});
        break;
    case SCN_DOUBLECLICK:
        set(kEventDoubleClick, {n.position, n.modifiers});
        break;
    case SCN_UPDATEUI:
        set(kEventUpdateUi, {n.updated});
        break;
    case SCN_MODIFIED:
        set(kEventModified, {n.position, n.modificationType, 0, n.length, n.linesAdded, n.line, n.foldLevelNow,
                             n.foldLevelPrev, n.token, n.annotationLinesAdded});
        if (n.text) text(n.text, n.length);
        break;
    case SCN_MACRORECORD:
        set(kEventMacroRecord, {n.message, static_cast<intptr_t>(n.wParam), static_cast<intptr_t>(n.lParam)});
        break;
    case SCN_MARGINCLICK:
        set(kEventMarginClick, {n.margin, n.position, n.modifiers});
        break;
    case SCN_NEEDSHOWN:
        set(kEventNeedShown, {n.position});
        break;
    case SCN_PAINTED:
        set(kEventPainted, {});
        break;
    case SCN_USERLISTSELECTION:
        set(kEventUserListSelection, {n.listType, 0, n.position});
        text(n.text, -1);
        break;
    case SCN_DWELLSTART:
        set(kEventDwell, {n.position, n.x, n.y, 0});
        break;
    case SCN_DWELLEND:
        set(kEventDwell, {n.position, n.x, n.y, 1});
        break;
    case SCN_ZOOM:
        set(kEventZoom, {});
        break;
    case SCN_HOTSPOTCLICK:
        set(kEventHotSpotClick, {n.position, n.modifiers});
        break;
    case SCN_HOTSPOTDOUBLECLICK:
        set(kEventHotSpotDoubleClick, {n.position, n.modifiers});
        break;
    case SCN_CALLTIPCLICK:
        set(kEventCallTipClick, {});
        break;
    case SCN_AUTOCSELECTION:
        set(kEventAutoCompletionSelection, {0, n.position});
        text(n.text, -1);
        break;
    case SCN_INDICATORCLICK:
        set(kEventIndicatorClick, {n.position, n.modifiers});
        break;
    case SCN_INDICATORRELEASE:
        set(kEventIndicatorRelease, {n.position, n.modifiers});
        break;
    case SCN_AUTOCCANCELLED:
        set(kEventAutoCompletionCancelled, {});
        break;
    case SCN_AUTOCCHARDELETED:
        set(kEventAutoCompletionCharDeleted, {});
        break;
    case SCN_HOTSPOTRELEASECLICK:
        set(kEventHotSpotReleaseClick, {});
        break;
    default:
        return false;
    }
    return true;
}

bool KeyDown(int key) {
    return GetKeyState(key) < 0;
}

constexpr UINT_PTR kSubclassId = 0x4B4A; // one hook per window, ours

} // namespace

CodeEditor::CodeEditor(EditorComponent& component) : component_(component) {
    component_.Load();
}

CodeEditor::~CodeEditor() {
    Detach();
}

void CodeEditor::Detach() {
    // The windows belong to their parent and may outlive us; they must not call back into a dead object.
    if (editor_ && IsWindow(editor_)) RemoveWindowSubclass(editor_, EditorProc, kSubclassId);
    if (container_ && IsWindow(container_)) RemoveWindowSubclass(container_, ContainerProc, kSubclassId);
    direct_ = nullptr;
    directPointer_ = 0;
    editor_ = container_ = nullptr;
}

bool CodeEditor::Create(HWND parent, int x, int y, int width, int height, bool disableTabHandling) {
    Detach(); // a new creation replaces the windows of an earlier one
    component_.tabHandlingDisabled = disableTabHandling;
    HINSTANCE instance = component_.scintilla ? component_.scintilla : component_.module;
    container_ = CreateWindowExW(0, L"static", L"", WS_CHILD | WS_CLIPSIBLINGS | WS_TABSTOP | WS_VISIBLE, x, y, width,
                                 height, parent, nullptr, instance, nullptr);
    if (!container_ || !component_.scintilla) return false; // no component, no control
    editor_ = CreateWindowExW(0, L"Scintilla", L"Script", WS_CHILD | WS_CLIPCHILDREN | WS_VISIBLE, 0, 0, width, height,
                              container_, nullptr, instance, nullptr);
    if (!editor_) return false;
    auto function = SendMessageW(editor_, SCI_GETDIRECTFUNCTION, 0, 0);
    auto pointer = SendMessageW(editor_, SCI_GETDIRECTPOINTER, 0, 0);
    if (!function || !pointer) return false;
    if (!SetWindowSubclass(editor_, EditorProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this)) ||
        !SetWindowSubclass(container_, ContainerProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this)))
        return false;
    direct_ = reinterpret_cast<DirectFunction>(function);
    directPointer_ = pointer;
    SendEditorMessage(SCI_SETMODEVENTMASK, 0x7FFFF);
    return true;
}

void CodeEditor::SetEventHandler(int eventId, EditorEventHandler handler) {
    const int slot = SlotOf(eventId);
    if (slot >= 0) handlers_[slot] = std::move(handler);
}

void CodeEditor::Move(std::optional<int> left, std::optional<int> top, std::optional<int> width,
                      std::optional<int> height) {
    if (!container_) return;
    RECT r{};
    GetWindowRect(container_, &r);
    MapWindowPoints(HWND_DESKTOP, GetParent(container_), reinterpret_cast<POINT*>(&r), 2);
    MoveWindow(container_, left.value_or(r.left), top.value_or(r.top), width.value_or(r.right - r.left),
               height.value_or(r.bottom - r.top), TRUE);
}

LRESULT CodeEditor::SendToContainer(UINT message, WPARAM wParam, LPARAM lParam) {
    return container_ ? SendMessageW(container_, message, wParam, lParam) : 0;
}

intptr_t CodeEditor::SendEditorMessage(unsigned message, uintptr_t wParam, intptr_t lParam) {
    if (observer_) observer_(message, wParam, lParam);
    return direct_ ? direct_(directPointer_, message, wParam, lParam) : 0;
}

int64_t CodeEditor::GetLength() {
    return SendEditorMessage(SCI_GETLENGTH);
}

std::string CodeEditor::GetText(int64_t bufferSize) {
    if (bufferSize <= 1 || !direct_) return std::string();
    std::string text(static_cast<size_t>(bufferSize), '\0');
    const intptr_t copied =
        SendEditorMessage(SCI_GETTEXT, static_cast<uintptr_t>(bufferSize), reinterpret_cast<intptr_t>(text.data()));
    text.resize(static_cast<size_t>(std::clamp<int64_t>(copied, 0, bufferSize - 1)));
    return text;
}

void CodeEditor::ClearAll() {
    SendEditorMessage(SCI_CLEARALL);
}

void CodeEditor::AddText(std::string_view text) {
    SendEditorMessage(SCI_ADDTEXT, text.size(), reinterpret_cast<intptr_t>(text.data()));
}

void CodeEditor::BeginUndoAction() {
    SendEditorMessage(SCI_BEGINUNDOACTION);
}

void CodeEditor::EndUndoAction() {
    SendEditorMessage(SCI_ENDUNDOACTION);
}

void CodeEditor::SetKeywords(int set, std::string_view words) {
    const std::string terminated(words);
    SendEditorMessage(SCI_SETKEYWORDS, set, reinterpret_cast<intptr_t>(terminated.c_str()));
}

void CodeEditor::StyleSetFont(int style, std::string_view face) {
    const std::string terminated(face); // UTF-8: the control runs in UTF-8 mode
    SendEditorMessage(SCI_STYLESETFONT, style, reinterpret_cast<intptr_t>(terminated.c_str()));
}

void CodeEditor::SetUtf8(bool on) {
    SendEditorMessage(SCI_SETCODEPAGE, on ? SC_CP_UTF8 : 0);
}

bool CodeEditor::IsUtf8() {
    return SendEditorMessage(SCI_GETCODEPAGE) == SC_CP_UTF8;
}

std::string_view CodeEditor::CharacterView() {
    // Moves the gap to the end, which is where it stays after the text is put in whole.
    const auto* text = reinterpret_cast<const char*>(SendEditorMessage(SCI_GETCHARACTERPOINTER));
    return text ? std::string_view(text, static_cast<size_t>(GetLength())) : std::string_view();
}

void CodeEditor::SetSelection(int64_t anchor, int64_t caret) {
    SendEditorMessage(SCI_SETSEL, static_cast<uintptr_t>(anchor), static_cast<intptr_t>(caret));
}

int64_t CodeEditor::SelectionStart() {
    return SendEditorMessage(SCI_GETSELECTIONSTART);
}

int64_t CodeEditor::SelectionEnd() {
    return SendEditorMessage(SCI_GETSELECTIONEND);
}

bool CodeEditor::Modified() {
    return SendEditorMessage(SCI_GETMODIFY) != 0;
}

void CodeEditor::SetSavePoint() {
    SendEditorMessage(SCI_SETSAVEPOINT);
}

void CodeEditor::SetLexer(int lexerNumber) {
    void* lexer = component_.CreateLexer(lexerNumber);
    SendEditorMessage(SCI_SETILEXER, 0, reinterpret_cast<intptr_t>(lexer));
}

intptr_t CodeEditor::Raise(const EditorEvent& event, bool* handled) {
    const int slot = SlotOf(event.id);
    *handled = slot >= 0 && handlers_[slot];
    if (!*handled) return 0;
    const EditorEventHandler handler = handlers_[slot]; // alive until it returns, even if it removes itself
    return handler(event);
}

// Tab inserts one tab, or exactly tab-width spaces, in place of the selection.
// The key press is consumed so the control does not indent on its own as well.
bool CodeEditor::HandleTabKey(UINT message, WPARAM wParam) {
    if ((message != WM_KEYDOWN && message != WM_CHAR) || wParam != (message == WM_KEYDOWN ? VK_TAB : '\t'))
        return false;
    if (component_.tabHandlingDisabled || KeyDown(VK_CONTROL) || KeyDown(VK_MENU) || KeyDown(VK_SHIFT)) return false;
    if (SendMessageW(editor_, SCI_GETFOCUS, 0, 0) != 1) return false;
    if (message == WM_CHAR) return true; // the key-down already inserted
    SendMessageW(editor_, SCI_REPLACESEL, 0, reinterpret_cast<LPARAM>(""));
    if (SendMessageW(editor_, SCI_GETUSETABS, 0, 0) == 1) {
        SendMessageW(editor_, SCI_ADDTEXT, 1, reinterpret_cast<LPARAM>("\t"));
    } else {
        const std::string spaces(
            static_cast<size_t>(std::max<LRESULT>(0, SendMessageW(editor_, SCI_GETTABWIDTH, 0, 0))), ' ');
        SendMessageW(editor_, SCI_ADDTEXT, spaces.size(), reinterpret_cast<LPARAM>(spaces.c_str()));
    }
    return true;
}

LRESULT CodeEditor::OnEditorMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (HandleTabKey(message, wParam)) return 0;
    EditorEvent event;
    switch (message) {
    case WM_CONTEXTMENU:
        return 0; // the owner shows its own menu on right-button release
    case WM_LBUTTONDOWN:
        event.id = kEventLeftButtonDown;
        break;
    case WM_LBUTTONUP:
        event.id = kEventLeftButtonUp;
        break;
    case WM_RBUTTONDOWN:
        event.id = kEventRightButtonDown;
        break;
    case WM_RBUTTONUP:
        event.id = kEventRightButtonUp;
        break;
    case WM_KEYDOWN:
        event.id = kEventKeyDown;
        break;
    case WM_KEYUP:
        event.id = kEventKeyUp;
        break;
    case WM_CHAR:
        event.id = kEventChar;
        break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS: {
        bool handled = false;
        event.id = message == WM_SETFOCUS ? kEventSetFocus : kEventKillFocus;
        Raise(event, &handled);
        return DefSubclassProc(hwnd, message, wParam, lParam);
    }
    default:
        return DefSubclassProc(hwnd, message, wParam, lParam);
    }
    event.args[0] = static_cast<intptr_t>(wParam);
    if (message != WM_CHAR) event.args[1] = lParam;
    bool handled = false;
    if (Raise(event, &handled) == 1 && handled) return 1;
    return DefSubclassProc(hwnd, message, wParam, lParam);
}

LRESULT CodeEditor::OnContainerMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_SIZE && editor_) {
        RECT client{};
        GetClientRect(hwnd, &client);
        MoveWindow(editor_, 0, 0, client.right, client.bottom, TRUE);
    } else if (message == WM_NOTIFY && lParam) {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        EditorEvent event;
        if (header->hwndFrom == editor_ &&
            EventOfNotification(*reinterpret_cast<const SCNotification*>(lParam), event)) {
            bool handled = false;
            return Raise(event, &handled);
        }
    } else if (message == WM_NCDESTROY) {
        // The parent is going away with both windows.
        const LRESULT result = DefSubclassProc(hwnd, message, wParam, lParam);
        Detach();
        return result;
    }
    return DefSubclassProc(hwnd, message, wParam, lParam);
}

// A failing handler is reported by the window the editor belongs to, as any other handler's failure.
LRESULT CALLBACK CodeEditor::EditorProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                        DWORD_PTR self) {
    return WindowBase::Guarded(
        hwnd, [&] { return reinterpret_cast<CodeEditor*>(self)->OnEditorMessage(hwnd, message, wParam, lParam); },
        [&] { return DefSubclassProc(hwnd, message, wParam, lParam); });
}

LRESULT CALLBACK CodeEditor::ContainerProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                           DWORD_PTR self) {
    return WindowBase::Guarded(
        hwnd, [&] { return reinterpret_cast<CodeEditor*>(self)->OnContainerMessage(hwnd, message, wParam, lParam); },
        [&] { return DefSubclassProc(hwnd, message, wParam, lParam); });
}

} // namespace vivu
