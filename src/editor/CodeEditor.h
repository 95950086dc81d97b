// One Scintilla control in a container window: events, text and messages.
#pragma once

#include "editor/EditorComponent.h"
#include "editor/TextEditor.h"

#include <windows.h>

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace vivu {

// Event ids of SetEventHandler: Scintilla notifications and raw mouse and keyboard messages.
enum EditorEventId : int {
    kEventStyleNeeded = 10000,
    kEventCharAdded = 10101,
    kEventSavePointReached = 10200,
    kEventSavePointLeft = 10300,
    kEventModifyAttemptReadOnly = 10400,
    kEventDoubleClick = 20102,
    kEventUpdateUi = 10501,
    kEventModified = 10613,
    kEventMacroRecord = 30103,
    kEventMarginClick = 20203,
    kEventNeedShown = 40100,
    kEventPainted = 40200,
    kEventUserListSelection = 50100,
    kEventDwell = 20300,
    kEventZoom = 40300,
    kEventHotSpotClick = 20400,
    kEventHotSpotDoubleClick = 20500,
    kEventCallTipClick = 20700,
    kEventAutoCompletionSelection = 30200,
    kEventIndicatorClick = 20800,
    kEventIndicatorRelease = 20900,
    kEventAutoCompletionCancelled = 30300,
    kEventAutoCompletionCharDeleted = 10700,
    kEventHotSpotReleaseClick = 20600,
    kEventLeftButtonDown = 90001,
    kEventLeftButtonUp = 90002,
    kEventRightButtonDown = 90003,
    kEventRightButtonUp = 90004,
    kEventChar = 90005,
    kEventKeyDown = 90006,
    kEventKeyUp = 90007,
    kEventSetFocus = 90008,
    kEventKillFocus = 90009,
};

// The arguments of one event, in the order its table lists them; text for the
// events that carry one (UTF-8). The text is the control's own, valid while the handler
// runs: a load of a hundred megabytes is not copied for a handler that does not read it.
struct EditorEvent {
    int id = 0;
    std::array<intptr_t, 10> args{};
    std::string_view text;
};

// For raw messages a result of exactly 1 consumes the message; for
// notifications the result answers the WM_NOTIFY. A handler may replace or remove itself.
using EditorEventHandler = std::function<intptr_t(const EditorEvent&)>;

class CodeEditor : public TextEditor {
public:
    explicit CodeEditor(EditorComponent& component);
    CodeEditor(const CodeEditor&) = delete;
    CodeEditor& operator=(const CodeEditor&) = delete;
    ~CodeEditor() override;

    // Creates the container window over parent and the control inside it. True
    // when both exist, the direct access was obtained and both windows are hooked.
    bool Create(HWND parent, int x = 0, int y = 0, int width = 400, int height = 350, bool disableTabHandling = false);
    bool Created() const { return direct_ != nullptr; }

    void SetEventHandler(int eventId, EditorEventHandler handler);
    HWND ContainerWindow() const { return container_; }
    HWND EditorWindow() const { return editor_; }

    // Moves the container within its parent; omitted values keep their current ones.
    void Move(std::optional<int> left, std::optional<int> top, std::optional<int> width, std::optional<int> height);
    LRESULT SendToContainer(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    // Any Scintilla message. Does nothing and answers 0 when the control does not exist.
    intptr_t SendEditorMessage(unsigned message, uintptr_t wParam = 0, intptr_t lParam = 0);

    // TextEditor
    int64_t GetLength() override;
    std::string GetText(int64_t bufferSize) override;
    void ClearAll() override;
    void AddText(std::string_view text) override;
    void BeginUndoAction() override;
    void EndUndoAction() override;

    void SetKeywords(int set, std::string_view words);
    void StyleSetFont(int style, std::string_view face);
    void SetUtf8(bool on);
    bool IsUtf8();
    // Scintilla's lexers are chosen by number (120 is JSON) and come from Lexilla.
    void SetLexer(int lexerNumber);
    void Undo() { SendEditorMessage(2176); }
    // The whole text where the control keeps it, without a copy; valid until the text changes.
    std::string_view CharacterView();
    // Selects from anchor to caret (byte positions) and scrolls the caret into view.
    void SetSelection(int64_t anchor, int64_t caret);
    int64_t SelectionStart();
    int64_t SelectionEnd();
    // Whether the text changed since the last SetSavePoint: an undo back to it is no change.
    bool Modified();
    void SetSavePoint();
    void Redo() { SendEditorMessage(2011); }

    // Sees every message sent to the control through this object (tests check the set-up order).
    void SetMessageObserver(std::function<void(unsigned, uintptr_t, intptr_t)> observer) {
        observer_ = std::move(observer);
    }

private:
    static LRESULT CALLBACK EditorProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR self);
    static LRESULT CALLBACK ContainerProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR self);
    LRESULT OnEditorMessage(HWND, UINT, WPARAM, LPARAM);
    LRESULT OnContainerMessage(HWND, UINT, WPARAM, LPARAM);
    bool HandleTabKey(UINT message, WPARAM wParam);
    intptr_t Raise(const EditorEvent& event, bool* handled);
    void Detach();

    using DirectFunction = intptr_t (*)(intptr_t, unsigned, uintptr_t, intptr_t);

    EditorComponent& component_;
    DirectFunction direct_ = nullptr;
    intptr_t directPointer_ = 0;
    HWND container_ = nullptr;
    HWND editor_ = nullptr;
    std::array<EditorEventHandler, 33> handlers_;
    std::function<void(unsigned, uintptr_t, intptr_t)> observer_;
};

} // namespace vivu
