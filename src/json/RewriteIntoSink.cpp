// Format and compress straight into a sink.
#include "json/RewriteIntoSink.h"

#include "editor/MemoryEditor.h"
#include "json/JsonIntake.h"

#include <new>
#include <utility>

namespace vivu {

namespace {

class KeepFirstFailure : public FailureReporter {
public:
    void ShowFailure(const std::string& text, const std::string&) override {
        if (!message) message = text;
    }
    std::optional<std::string> message;
};

// Exactly what the window does, through an editor.
std::optional<std::string> RewriteInEditor(std::string text, int mode, kova::JsonSink& sink) {
    MemoryEditor editor{false};
    JsonModel model;
    KeepFirstFailure reporter;
    JsonIntake intake{editor, model, reporter};
    std::string unused;
    intake.LoadEditorText(text, unused, false);
    text = std::string();
    intake.RewriteJson(mode);
    if (!reporter.message) sink.Take(editor.text);
    return reporter.message;
}

} // namespace

std::optional<std::string> RewriteIntoSink(std::string text, int mode, kova::JsonSink& sink,
                                           const std::function<std::string()>& again) {
    JsonModel model;
    model.kind = DetectRootKind(text);
    const size_t textBytes = text.size();
    bool parsed = false;
    if (model.kind == kRootObject) parsed = model.object.TakeJSON(std::move(text));
    if (model.kind == kRootArray) parsed = model.array.TakeJSON(std::move(text));
    if (!parsed) return RewriteInEditor(again(), mode, sink); // its message says where the text breaks
    const kova::ValueRef root = model.kind == kRootObject ? model.object.Root() : model.array.Root();
    kova::JsonWriteOptions options;
    options.pretty = (mode & 1) == 0;
    // Compact text is never longer than the text read (spaces go, escapes never grow);
    // pretty text adds its layout and a space after each colon.
    size_t longest = textBytes;
    if (options.pretty) longest += kova::PrettyLayoutBytes(root) + root.DocumentOwner()->NodeCount();
    if (longest <= kMaxEditorBytes) {
        kova::WriteJsonText(root, options, sink);
        return std::nullopt;
    }
    // Near the editor's limit the whole text decides, as in the window.
    options.maxBytes = kMaxEditorBytes;
    std::string written;
    try {
        written = kova::WriteJsonText(root, options);
    } catch (const std::bad_alloc&) {
        return std::string(kOutOfMemory);
    }
    if (written.empty()) return std::string(kTextTooLong);
    sink.Take(written);
    return std::nullopt;
}

} // namespace vivu
