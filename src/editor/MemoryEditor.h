// An editor that only holds text in memory: for running the JSON operations without a window.
#pragma once

#include "editor/TextEditor.h"

#include <string>
#include <vector>

namespace vivu {

// Keeps an undo history like the real editor, unless told not to: a command-line run
// has no undo, and a history would hold another copy of a large text.
class MemoryEditor : public TextEditor {
public:
    explicit MemoryEditor(bool keepUndo = true) : keepUndo_(keepUndo) {}

    std::string text;
    size_t caret = 0;

    int64_t GetLength() override { return static_cast<int64_t>(text.size()); }
    std::string GetText(int64_t bufferSize) override;
    void ClearAll() override;
    void AddText(std::string_view added) override;
    void BeginUndoAction() override;
    void EndUndoAction() override;
    // Restores the text before the last change (or group of changes); false when there is none.
    bool Undo();

private:
    void Remember();

    bool keepUndo_;
    std::vector<std::string> history_;
    int group_ = 0;
    size_t groupStart_ = 0;
};

} // namespace vivu
