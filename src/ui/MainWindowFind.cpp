// The main window's find: Ctrl+F asks for the text, F3 and Shift+F3 look again; in the tree on the
// result page, in the editor's text on the JSON page.
#include "kova/CreateString.h"
#include "ui/InputBox.h"
#include "ui/MainWindow.h"
#include "ui/WaitCursor.h"
#include "view/FindInText.h"
#include "view/FindNode.h"

namespace vivu {

bool MainWindow::TranslateFindShortcut(const MSG& message) {
    if (message.message != WM_KEYDOWN || GetAncestor(message.hwnd, GA_ROOT) != Handle()) return false;
    const bool ask = message.wParam == 'F' && GetKeyState(VK_CONTROL) < 0;
    if (!ask && message.wParam != VK_F3) return false;
    const bool backward = GetKeyState(VK_SHIFT) < 0;
    switch (SendMessageW(Control(MainControl::选择夹_JSON), TCM_GETCURSEL, 0, 0)) {
    case 0:
        ask ? FindInEditorCommand() : FindInEditorAgain(backward);
        return true;
    case 1:
        ask ? FindCommand() : FindAgain(backward);
        return true;
    default:
        return false;
    }
}

void MainWindow::FindCommand() {
    const auto entered = InputBox(Handle(), kFindPrompt, kFindTitle, findQuery_);
    if (!entered) return;
    findQuery_ = *entered;
    if (!findQuery_.empty()) FindNext(false);
}

void MainWindow::FindAgain(bool backward) {
    if (findQuery_.empty()) {
        FindCommand(); // nothing to repeat yet
        return;
    }
    FindNext(backward);
}

void MainWindow::FindNext(bool backward) {
    ResultTree& tree = *objects_.resultTree;
    int32_t found;
    {
        const WaitCursor wait;
        found = FindNode(tree.Model(), findQuery_, tree.SelectedItemIndex(),
                         backward ? FindDirection::kBackward : FindDirection::kForward);
    }
    if (found < 0) {
        ShowFailure(kova::CreateString(kFindNothingTemplate, {findQuery_}), std::string(kFindTitle));
        return;
    }
    tree.Select(found); // as Go to selects: the selection change shows the node's details
}

void MainWindow::FindInEditorCommand() {
    const auto entered = InputBox(Handle(), kFindInEditorPrompt, kFindTitle, editorFindQuery_);
    if (!entered) return;
    editorFindQuery_ = *entered;
    if (!editorFindQuery_.empty()) FindInEditor(false);
}

void MainWindow::FindInEditorAgain(bool backward) {
    if (editorFindQuery_.empty()) {
        FindInEditorCommand();
        return;
    }
    FindInEditor(backward);
}

void MainWindow::FindInEditor(bool backward) {
    CodeEditor& editor = *objects_.mainEditor;
    size_t found;
    {
        const WaitCursor wait;
        // After a find the caret ends the occurrence found: forward goes on from there, backward before it.
        const int64_t from = backward ? editor.SelectionStart() : editor.SelectionEnd();
        found = FindInText(editor.CharacterView(), editorFindQuery_, static_cast<size_t>(from),
                           backward ? FindDirection::kBackward : FindDirection::kForward);
    }
    if (found == std::string_view::npos) {
        ShowFailure(kova::CreateString(kFindNothingTemplate, {editorFindQuery_}), std::string(kFindTitle));
        return;
    }
    editor.SetSelection(static_cast<int64_t>(found), static_cast<int64_t>(found + editorFindQuery_.size()));
    SetFocus(editor.EditorWindow());
}

} // namespace vivu
