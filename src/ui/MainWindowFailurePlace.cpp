// Where a parse failure happened, shown in the main editor once the user has read the message.
#include "editor/PlaceMark.h"
#include "ui/MainWindow.h"

namespace vivu {

void MainWindow::ShowFailurePlace(const std::string& shownText) {
    // Only the message of the last parse has a place; other failures (a missing file, no
    // connection) come with their own texts.
    const auto& failure = intake_.LastFailure();
    if (!failure || failure->message != shownText) return;
    CodeEditor& editor = *objects_.mainEditor;
    ShowPlace(editor, static_cast<int64_t>(failure->offset));
    if (IsWindowVisible(editor.EditorWindow())) SetFocus(editor.EditorWindow());
}

} // namespace vivu
