// What the JSON operations need of an editor: its whole text in and out.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace vivu {

// Text is UTF-8. Every change goes through the editor's undo history.
class TextEditor {
public:
    virtual ~TextEditor() = default;

    // Document length in bytes.
    virtual int64_t GetLength() = 0;
    // The text, at most bufferSize - 1 bytes (callers pass GetLength() + 1).
    virtual std::string GetText(int64_t bufferSize) = 0;
    virtual void ClearAll() = 0;
    // Inserts at the caret.
    virtual void AddText(std::string_view text) = 0;
    // Groups the changes in between into one undo step.
    virtual void BeginUndoAction() = 0;
    virtual void EndUndoAction() = 0;
};

} // namespace vivu
