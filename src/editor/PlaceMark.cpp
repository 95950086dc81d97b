// Caret, scrolling and a red box on one character, gone with the next change of the text.
#include "editor/PlaceMark.h"

#include <Scintilla.h>

#include <algorithm>

namespace vivu {

void ShowPlace(CodeEditor& editor, int64_t position) {
    const int64_t length = editor.GetLength();
    position = std::clamp<int64_t>(position, 0, length);
    editor.SendEditorMessage(SCI_INDICSETSTYLE, kPlaceIndicator, INDIC_STRAIGHTBOX);
    editor.SendEditorMessage(SCI_INDICSETFORE, kPlaceIndicator, RGB(230, 0, 0));
    editor.SendEditorMessage(SCI_INDICSETALPHA, kPlaceIndicator, 90);
    editor.SendEditorMessage(SCI_INDICSETOUTLINEALPHA, kPlaceIndicator, 255);
    editor.SendEditorMessage(SCI_SETINDICATORCURRENT, kPlaceIndicator);
    editor.SendEditorMessage(SCI_INDICATORCLEARRANGE, 0, length);
    // Reading stops at the character it could not take, or past the end when the text ran out.
    int64_t start = position;
    int64_t end = editor.SendEditorMessage(SCI_POSITIONAFTER, position);
    if (end <= start) {
        start = editor.SendEditorMessage(SCI_POSITIONBEFORE, position);
        end = position;
    }
    if (end > start) editor.SendEditorMessage(SCI_INDICATORFILLRANGE, start, end - start);
    editor.SendEditorMessage(SCI_GOTOPOS, position); // scrolls the caret into view
    editor.SendEditorMessage(SCI_SCROLLCARET);
    if (end <= start) return;
    // Any insertion or deletion ends the mark, and with it the listening.
    editor.SetEventHandler(kEventModified, [&editor](const EditorEvent& event) -> intptr_t {
        if (event.args[1] & (SC_MOD_INSERTTEXT | SC_MOD_DELETETEXT)) {
            editor.SetEventHandler(kEventModified, nullptr); // before the clearing, which raises the event again
            editor.SendEditorMessage(SCI_SETINDICATORCURRENT, kPlaceIndicator);
            editor.SendEditorMessage(SCI_INDICATORCLEARRANGE, 0, editor.GetLength());
        }
        return 0;
    });
}

} // namespace vivu
