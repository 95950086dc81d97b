// Parsing the editor's text into the document, putting text into the editor,
// and rewriting it formatted or compressed.
#pragma once

#include "editor/TextEditor.h"
#include "json/JsonModel.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vivu {

// Shows a failure to the user (a message box with an exclamation icon).
class FailureReporter {
public:
    virtual ~FailureReporter() = default;
    virtual void ShowFailure(const std::string& text, const std::string& title) = 0;
};

inline constexpr char kUnknownJsonType[] = "未知的 JSON 类型";
inline constexpr char kObjectLoadFailed[] = "加载[存取键值表]类型 JSON 失败";
inline constexpr char kArrayLoadFailed[] = "加载[存取列表]类型 JSON 失败";
inline constexpr char kLoadFailedTitle[] = "加载失败";
inline constexpr char kOutOfMemory[] = "内存不足，无法完成此操作。编辑框中的内容没有改变。";
inline constexpr char kTextTooLong[] = "结果文本太长，编辑框容纳不下。编辑框中的内容没有改变。";
// The editor keeps positions in 32 bits: a longer text cannot go in.
inline constexpr size_t kMaxEditorBytes = 0x7FFFFFFF;

// 11 when the first byte that is not CR, LF, TAB or space is "{", 12 for "[",
// otherwise (also for an empty or blank text) 0.
int32_t DetectRootKind(std::string_view bytes);

// A parse failure the reader could place: the message shown and the byte offset in the
// editor's text where reading stopped.
struct ParseFailure {
    std::string message;
    size_t offset = 0;
};

class JsonIntake {
public:
    JsonIntake(TextEditor& editor, JsonModel& model, FailureReporter& reporter)
        : editor_(editor), model_(model), reporter_(reporter) {}

    // The editor's whole text, converted to targetEncoding ("UTF-8" or "GBK").
    std::string ReadEditorText(std::string_view targetEncoding = "UTF-8");

    // Parses the editor text into the model; kind is set before loading and back
    // to 0 on failure. error is written only on failure: a text the reader refused
    // gets a second line with the line and column where it stopped. With showMessage
    // the failure is shown under the title "加载失败".
    bool ParseJson(std::string& error, bool showMessage = false);

    // The last parse's failure when the reader placed it; nothing after a parse that
    // succeeded or found no JSON kind. The window marks the place once the message is read.
    const std::optional<ParseFailure>& LastFailure() const { return lastFailure_; }

    // Replaces the editor's text (one undo step) and, when asked, parses it silently.
    bool LoadEditorText(std::string_view text, std::string& error, bool parse = true);

    // Mode 0 formats (pretty), mode 1 compresses. A text that does not parse is
    // reported and left as it is.
    void RewriteJson(int mode = 0);

private:
    TextEditor& editor_;
    JsonModel& model_;
    FailureReporter& reporter_;
    std::optional<ParseFailure> lastFailure_;
};

} // namespace vivu
