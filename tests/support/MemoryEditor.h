// An in-memory editor with an undo history, for testing the JSON operations natively.
#pragma once

#include "editor/TextEditor.h"
#include "json/JsonIntake.h"

#include <string>
#include <utility>
#include <vector>

namespace vivu::test {

class MemoryEditor : public TextEditor {
public:
    std::string text;
    size_t caret = 0;

    int64_t GetLength() override { return static_cast<int64_t>(text.size()); }
    std::string GetText(int64_t bufferSize) override {
        return bufferSize <= 0 ? std::string() : text.substr(0, static_cast<size_t>(bufferSize - 1));
    }
    void ClearAll() override {
        Remember();
        text.clear();
        caret = 0;
    }
    void AddText(std::string_view added) override {
        Remember();
        text.insert(caret, added);
        caret += added.size();
    }
    void BeginUndoAction() override {
        if (group_++ == 0) groupStart_ = history_.size();
    }
    void EndUndoAction() override {
        if (--group_ == 0 && history_.size() > groupStart_ + 1) // keep only the state before the group
            history_.erase(history_.begin() + static_cast<std::ptrdiff_t>(groupStart_) + 1, history_.end());
    }
    bool Undo() {
        if (history_.empty()) return false;
        text = std::move(history_.back());
        history_.pop_back();
        caret = text.size();
        return true;
    }

private:
    void Remember() { history_.push_back(text); }
    std::vector<std::string> history_;
    int group_ = 0;
    size_t groupStart_ = 0;
};

class RecordingReporter : public FailureReporter {
public:
    std::vector<std::pair<std::string, std::string>> shown; // text, title
    void ShowFailure(const std::string& text, const std::string& title) override { shown.emplace_back(text, title); }
};

} // namespace vivu::test
