// The editor text the format (mode 0) or compress (mode 1) command leaves for a text,
// computed with the same operations the window uses.
#pragma once

#include "editor/MemoryEditor.h"
#include "support/RecordingReporter.h"
#include "json/JsonIntake.h"

#include <string>
#include <string_view>

namespace vivu::test {

inline std::string RewrittenText(std::string_view text, int mode) {
    MemoryEditor editor;
    JsonModel model;
    RecordingReporter reporter;
    JsonIntake intake(editor, model, reporter);
    std::string error;
    intake.LoadEditorText(text, error, false);
    intake.RewriteJson(mode);
    return editor.text;
}

} // namespace vivu::test
