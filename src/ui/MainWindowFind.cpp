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
    FindPlace place;
    switch (SendMessageW(Control(MainControl::选择夹_JSON), TCM_GETCURSEL, 0, 0)) {
    case 0:
        place = FindPlace::kEditor;
        break;
    case 1:
        place = FindPlace::kTree;
        break;
    default:
        return false;
    }
    ask ? FindCommand(place) : FindAgain(place, backward);
    return true;
}

void MainWindow::FindCommand(FindPlace place) {
    std::string& query = findQueries_[static_cast<int>(place)];
    const auto entered =
        InputBox(Handle(), place == FindPlace::kTree ? kFindPrompt : kFindInEditorPrompt, kFindTitle, query);
    if (!entered) return;
    query = *entered;
    if (!query.empty()) FindNext(place, false);
}

void MainWindow::FindAgain(FindPlace place, bool backward) {
    if (findQueries_[static_cast<int>(place)].empty()) {
        FindCommand(place); // nothing to repeat yet
        return;
    }
    FindNext(place, backward);
}

void MainWindow::FindNext(FindPlace place, bool backward) {
    const std::string& query = findQueries_[static_cast<int>(place)];
    const FindDirection direction = backward ? FindDirection::kBackward : FindDirection::kForward;
    ResultTree& tree = *objects_.resultTree;
    CodeEditor& editor = *objects_.mainEditor;
    int64_t found;
    {
        const WaitCursor wait;
        if (place == FindPlace::kTree) {
            found = FindNode(tree.Model(), query, tree.SelectedItemIndex(), direction);
        } else {
            // After a find the caret ends the occurrence found: forward goes on from there, backward before it.
            const int64_t from = backward ? editor.SelectionStart() : editor.SelectionEnd();
            const size_t at = FindInText(editor.CharacterView(), query, static_cast<size_t>(from), direction);
            found = at == std::string_view::npos ? -1 : static_cast<int64_t>(at);
        }
    }
    if (found < 0) {
        ShowFailure(kova::CreateString(kFindNothingTemplate, {query}), std::string(kFindTitle));
    } else if (place == FindPlace::kTree) {
        tree.Select(static_cast<int32_t>(found)); // as Go to selects: the selection change shows the node's details
    } else {
        editor.SetSelection(found, found + static_cast<int64_t>(query.size()));
        SetFocus(editor.EditorWindow());
    }
}

} // namespace vivu
