// The in-memory editor.
#include "editor/MemoryEditor.h"

#include <utility>

namespace vivu {

std::string MemoryEditor::GetText(int64_t bufferSize) {
    return bufferSize <= 0 ? std::string() : text.substr(0, static_cast<size_t>(bufferSize - 1));
}

void MemoryEditor::ClearAll() {
    Remember();
    text.clear();
    text.shrink_to_fit(); // a large old text should not stay allocated under the new one
    caret = 0;
}

void MemoryEditor::AddText(std::string_view added) {
    Remember();
    text.insert(caret, added);
    caret += added.size();
}

void MemoryEditor::BeginUndoAction() {
    if (group_++ == 0) groupStart_ = history_.size();
}

void MemoryEditor::EndUndoAction() {
    if (--group_ == 0 && history_.size() > groupStart_ + 1) // keep only the state before the group
        history_.erase(history_.begin() + static_cast<std::ptrdiff_t>(groupStart_) + 1, history_.end());
}

bool MemoryEditor::Undo() {
    if (history_.empty()) return false;
    text = std::move(history_.back());
    history_.pop_back();
    caret = text.size();
    return true;
}

void MemoryEditor::Remember() {
    if (keepUndo_) history_.push_back(text);
}

} // namespace vivu
