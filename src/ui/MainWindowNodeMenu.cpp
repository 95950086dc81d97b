// The result tree's popup menu: a node's path, key, content or access code to the clipboard, and
// the node's text selected in the editor.
#include "kova/Encoding.h"
#include "ui/Clipboard.h"
#include "ui/MainWindow.h"
#include "ui/WaitCursor.h"
#include "view/NodeTextRange.h"

namespace vivu {

namespace {

constexpr int kNodeMenuFirstId = 2100; // after the editor menu's ids

} // namespace

bool MainWindow::TranslateNodeMenuKey(const MSG& message) {
    if (message.hwnd != Control(MainControl::树型框_结果)) return false;
    const bool keyDown = message.message == WM_KEYDOWN || message.message == WM_SYSKEYDOWN;
    const bool opens =
        keyDown && (message.wParam == VK_APPS || (message.wParam == VK_F10 && GetKeyState(VK_SHIFT) < 0));
    if (opens) ShowNodeMenuAtSelection();
    // Windows turns the menu key's release into a WM_CONTEXTMENU as well: the menu is open already.
    return opens || (message.message == WM_KEYUP && message.wParam == VK_APPS);
}

bool MainWindow::ShowNodeMenuAtPointer() {
    HWND tree = Control(MainControl::树型框_结果);
    POINT screen{};
    GetCursorPos(&screen);
    TVHITTESTINFO hit{};
    hit.pt = screen;
    ScreenToClient(tree, &hit.pt);
    HTREEITEM item = TreeView_HitTest(tree, &hit);
    if (!item || !(hit.flags & TVHT_ONITEM)) return false;
    if (TreeView_GetSelection(tree) != item) TreeView_SelectItem(tree, item); // the details follow, as for a click
    ShowNodeMenu(screen);
    return true;
}

void MainWindow::ShowNodeMenuAtSelection() {
    HWND tree = Control(MainControl::树型框_结果);
    HTREEITEM selected = TreeView_GetSelection(tree);
    RECT label{};
    if (!selected || !TreeView_GetItemRect(tree, selected, &label, TRUE)) return;
    POINT below{label.left, label.bottom};
    ClientToScreen(tree, &below);
    ShowNodeMenu(below);
}

void MainWindow::ShowNodeMenu(POINT screen) {
    const ResultTree& tree = *objects_.resultTree;
    const int32_t item = tree.SelectedItemIndex();
    if (!tree.Model().IsItem(item)) return;
    const auto entries = NodeMenuEntries();
    HMENU menu = CreatePopupMenu();
    for (size_t i = 0; i < entries.size(); ++i) {
        if (entries[i].separatorBefore) AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
        const UINT state = NodeCommandEnabled(tree.Model(), item, entries[i].command) ? MF_ENABLED : MF_GRAYED;
        AppendMenuW(menu, MF_STRING | state, kNodeMenuFirstId + i, kova::Utf8ToWide(entries[i].caption).c_str());
    }
    const int chosen = TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON, screen.x, screen.y, 0, Handle(), nullptr);
    DestroyMenu(menu);
    const int index = chosen - kNodeMenuFirstId;
    if (index >= 0 && index < static_cast<int>(entries.size())) RunNodeCommand(entries[index].command);
}

void MainWindow::RunNodeCommand(NodeCommand command) {
    if (command == NodeCommand::kShowInEditor) {
        ShowNodeInEditor();
        return;
    }
    const WaitCursor wait; // the content of a large node takes a while to write
    const ResultTree& tree = *objects_.resultTree;
    if (!NodeCommandEnabled(tree.Model(), tree.SelectedItemIndex(), command)) return;
    SetClipboardText(Handle(), NodeCopyText(tree.Model(), *objects_.model, tree.SelectedItemIndex(), command));
}

void MainWindow::ShowNodeInEditor() {
    CodeEditor& editor = *objects_.mainEditor;
    const ResultTree& tree = *objects_.resultTree;
    // Offsets hold for the text the tree was made from and for its rewrites, which set the save point.
    std::optional<TextRange> range;
    if (!editor.Modified())
        range = ItemTextRange(tree.Model(), tree.SelectedItemIndex(), locatable_, editor.CharacterView());
    if (!range) {
        ShowFailure(std::string(kTextChangedMessage), std::string(kLocateFailedTitle));
        return;
    }
    ShowTabPage(MainControl::选择夹_JSON, 0);
    RefreshLoadingCode(); // as 返回 leaves the code box
    // The caret at the start: of a long node, its beginning is what comes into view.
    editor.SetSelection(static_cast<int64_t>(range->end), static_cast<int64_t>(range->start));
    SetFocus(editor.EditorWindow());
}

void MainWindow::RewriteEditorText(int mode) {
    CodeEditor& editor = *objects_.mainEditor;
    const bool inStep = locatable_.kind != kRootNone && !editor.Modified(); // still the tree's text
    intake_.RewriteJson(mode);
    if (!inStep || objects_.model->kind == kRootNone) return;
    locatable_ = *objects_.model; // the tree's document read again, its offsets moved into the new text
    editor.SetSavePoint();
}

} // namespace vivu
