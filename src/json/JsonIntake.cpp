// Parsing, loading and rewriting the editor's JSON.
#include "json/JsonIntake.h"

#include "kova/Encoding.h"
#include "kova/JsonText.h"
#include "json/TextPosition.h"

#include <new>

namespace vivu {

int32_t DetectRootKind(std::string_view bytes) {
    for (char c : bytes) {
        if (c == '\r' || c == '\n' || c == '\t' || c == ' ') continue;
        if (c == '[') return kRootArray;
        if (c == '{') return kRootObject;
        return kRootNone;
    }
    return kRootNone;
}

std::string JsonIntake::ReadEditorText(std::string_view targetEncoding) {
    // Room for the reader's padding, so the text is not copied again to make it.
    std::string bytes = editor_.GetText(editor_.GetLength() + 1 + kova::kJsonReadPadding);
    if (kova::CanonicalEncodingName(targetEncoding) == "UTF-8") return bytes; // the editor holds UTF-8
    return kova::ConvertStringEncoding(bytes, "UTF-8", targetEncoding);
}

bool JsonIntake::ParseJson(std::string& error, bool showMessage) {
    std::string bytes = ReadEditorText("UTF-8");
    model_.kind = DetectRootKind(bytes);
    lastFailure_.reset();
    bool ok = false;
    // The document keeps the text it was read from (its strings are decoded in place), so it takes this copy.
    if (model_.kind == kRootArray || model_.kind == kRootObject) {
        kova::Collection& root = model_.kind == kRootArray ? static_cast<kova::Collection&>(model_.array)
                                                           : static_cast<kova::Collection&>(model_.object);
        ok = root.TakeJSON(std::move(bytes));
        if (!ok) {
            // The text went to the reader; the editor still holds it, and only failures pay for reading it again.
            const size_t offset = root.LastErrorOffset();
            error = std::string(model_.kind == kRootArray ? kArrayLoadFailed : kObjectLoadFailed) + "\n" +
                    PositionLine(PositionOfOffset(ReadEditorText("UTF-8"), offset));
            lastFailure_ = ParseFailure{error, offset};
        }
    } else {
        error = kUnknownJsonType;
    }
    if (!ok) {
        model_.kind = kRootNone;
        if (showMessage) reporter_.ShowFailure(error, kLoadFailedTitle);
    }
    return ok;
}

bool JsonIntake::LoadEditorText(std::string_view text, std::string& error, bool parse) {
    editor_.BeginUndoAction();
    editor_.ClearAll();
    editor_.AddText(text);
    editor_.EndUndoAction();
    return parse ? ParseJson(error, false) : true;
}

void JsonIntake::RewriteJson(int mode) {
    std::string error;
    if (!ParseJson(error, true)) return;
    const bool pretty = (mode & 1) == 0;
    const size_t sizeHint = static_cast<size_t>(editor_.GetLength());
    std::string text;
    try {
        // The written text reads back as this very document, so it is not parsed again;
        // the document's offsets move to where its values stand in the new text.
        if (model_.kind == kRootObject)
            text = model_.object.RewriteJSON(pretty, sizeHint, kMaxEditorBytes);
        else if (model_.kind == kRootArray)
            text = model_.array.RewriteJSON(pretty, sizeHint, kMaxEditorBytes);
        else
            return;
    } catch (const std::bad_alloc&) {
        // Keep the user's text when memory runs out.
        text = std::string();
        ParseJson(error, false); // offsets back in step with the unchanged text
        reporter_.ShowFailure(kOutOfMemory, kLoadFailedTitle);
        return;
    }
    if (text.empty()) { // even "{}" is longer: the text outgrew the editor
        ParseJson(error, false);
        reporter_.ShowFailure(kTextTooLong, kLoadFailedTitle);
        return;
    }
    LoadEditorText(text, error, false);
}

} // namespace vivu
