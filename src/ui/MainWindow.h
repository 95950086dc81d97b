// The main window: built from its template, one handler per control event.
#pragma once

#include "app/ProcessObjects.h"
#include "app/Session.h"
#include "app/SessionWindow.h"
#include "ui/ControlBuilder.h"
#include "ui/MainWindowTemplate.h"
#include "ui/WindowBase.h"
#include "view/NodeMenu.h"
#include "json/JsonIntake.h"

#include <windows.h>

#include <commctrl.h>
#include <shellapi.h>

#include <array>
#include <memory>
#include <string>

namespace vivu {

class MainWindow : public WindowBase, public FailureReporter, public SessionWindow {
public:
    explicit MainWindow(ProcessObjects& objects);
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;
    ~MainWindow() override;

    // Creates the window (its creation handler runs inside) and shows it.
    bool Create(int showCommand);
    HWND Control(MainControl id) const;
    // Keyboard shortcuts the message loop hands over before dispatching; true when used.
    bool TranslateShortcut(const MSG& message);

    // The toolbar's commands, dispatched by the button caption.
    void RunToolbarCommand(std::string_view caption);
    void ParseCommand();
    bool PasteFromClipboard();
    // Asks for a key name and shows it escaped for paths.
    void KeyNameDialog();

    // The result page.
    void NodeDetails();
    void GoToPath();
    void OpenSelectedNode();

    // JSON sources.
    void ChooseFile();
    // True when the file was read and parsed.
    bool LoadFromFile();
    // Fetches the address with a box up that keeps the window answering and offers 取消, which ends
    // the request as a time-out would, without the message.
    void LoadFromWeb();

    // Opening a file the Windows way (MainWindowOpen.cpp): from the command line
    // (ProcessObjects::startFile) and by dropping it on the window.
    void OpenFile(const std::string& path);
    void OnDropFiles(HDROP drop);

    // Find (MainWindowFind.cpp): Ctrl+F asks, F3 and Shift+F3 repeat; on the result page in the
    // tree, on the JSON page in the editor's text, each remembering its own last text.
    enum class FindPlace { kTree, kEditor };
    void FindCommand(FindPlace place);
    void FindAgain(FindPlace place, bool backward);

    // The result tree's popup menu (MainWindowNodeMenu.cpp). A right-click first selects the
    // item under the pointer; the menu key and Shift+F10 open the menu below the selected item.
    // True when the pointer was on an item.
    bool ShowNodeMenuAtPointer();
    void ShowNodeMenuAtSelection();
    void RunNodeCommand(NodeCommand command);
    // Selects the selected node's text in the main editor, or says the text changed since the parse.
    void ShowNodeInEditor();
    // 格式化 (mode 0) and 压缩 (1); the tree's nodes are found in the rewritten text as before.
    void RewriteEditorText(int mode);

    // The loading snippet for the current source and document into the code box.
    void RefreshLoadingCode();

    // The settings and buffer files: the session decides, the window carries it out (MainWindowSettings.cpp).
    void RecordStatusAndRectangle();
    void RecordRectangle();
    ScreenArea WorkAreaOf(const WindowRect& rect) override;
    void PlaceWindow(const std::optional<WindowRect>& rect, bool maximised) override;
    SourceBoxes ReadSourceBoxes() override;
    void ShowSourceBoxes(const SourceBoxes& boxes) override;
    void LoadFileSource() override;
    bool Ask(const std::string& text, const std::string& title) override;

    // A message box owned by this window, for failures of the intake and of handlers.
    void ShowFailure(const std::string& text, const std::string& title) override;

private:
    static LRESULT CALLBACK ForwardingProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR self);
    LRESULT OnMessage(UINT, WPARAM, LPARAM) override;

    void OnCreate();
    void BuildControls();
    void SetUpToolbars();
    void SetToolbarImages();
    void OnDpiChanged(int oldDpi) override;
    void CreateEditorMenu();
    void OnCommand(int id, int code, HWND from);
    LRESULT OnNotify(NMHDR& header);
    void ShowToolbarTip(NMTBGETINFOTIPW& tip) const;
    // The source tabs never show their headers: the combo box chooses the page.
    void HideSourceTabHeaders();
    // Runs the source page's frame on where the selected header joined it.
    void CloseSourcePageFrame(HDC dc);
    // Paints the gap between the two toolbars in their own colour.
    void PaintToolbarRow(HDC dc);
    LRESULT OnControlColour(HDC dc, HWND control);
    void OnResized();
    void OnMouseMoved(MainControl over);
    void ShowTabPage(MainControl tab, int page);
    void ShowEditorMenu();
    void FitEditor();
    void SetText(MainControl id, std::string_view text);
    std::string Text(MainControl id) const;
    int Placement() const;
    void SetSourceIndex(int index);
    bool TranslateFindShortcut(const MSG& message);
    bool TranslateNodeMenuKey(const MSG& message);
    void FindNext(FindPlace place, bool backward);
    void ShowNodeMenu(POINT screen);
    // After the message text was shown: puts the caret where the parse it reports stopped.
    void ShowFailurePlace(const std::string& shownText);

    ProcessObjects& objects_;
    JsonIntake intake_;
    Session session_;
    HMENU editorMenu_ = nullptr;
    std::array<HIMAGELIST, 2> toolbarImages_{};
    std::array<HICON, 4> buttonIcons_{};
    bool startMaximised_ = false;
    bool created_ = false;        // the creation handler has finished
    bool loadingFromWeb_ = false; // a web request is under way: the wait box is up
    int sourceHeadersTop_ = 0;    // where the source tabs' headers begin, cut off below
    std::array<HWND, 64> controls_{};
    FontCache fonts_;
    std::string findQueries_[2]; // the last text searched for, by FindPlace
    // The document the tree's nodes are found in the editor's text by: the one the tree was made
    // from, or that one rewritten by 格式化/压缩. The editor's save point marks its text.
    JsonModel locatable_;
};

} // namespace vivu
