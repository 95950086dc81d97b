// The main window's find in the tree: Ctrl+F asks for the text, F3 and Shift+F3 look again.
#include "kova/CreateString.h"
#include "ui/InputBox.h"
#include "ui/MainWindow.h"
#include "ui/WaitCursor.h"
#include "view/FindNode.h"

namespace vivu {

bool MainWindow::TranslateFindShortcut(const MSG& message) {
    if (message.message != WM_KEYDOWN || GetAncestor(message.hwnd, GA_ROOT) != Handle()) return false;
    if (SendMessageW(Control(MainControl::选择夹_JSON), TCM_GETCURSEL, 0, 0) != 1) return false; // the result page
    if (message.wParam == 'F' && GetKeyState(VK_CONTROL) < 0) {
        FindCommand();
        return true;
    }
    if (message.wParam == VK_F3) {
        FindAgain(GetKeyState(VK_SHIFT) < 0);
        return true;
    }
    return false;
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

} // namespace vivu
