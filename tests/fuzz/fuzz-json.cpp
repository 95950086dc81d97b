// JSON reader and writer: whatever parses writes back to text that parses to the same document,
// through the data layer, the tables and lists, and the editor's format and compress.
#include "editor/MemoryEditor.h"
#include "fuzz/FuzzCheck.h"
#include "kova/JList.h"
#include "kova/JMap.h"
#include "kova/JsonText.h"
#include "kova/NodePath.h"
#include "support/RecordingReporter.h"
#include "json/JsonIntake.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

using namespace kova;

namespace {

std::string Write(const Value& v, bool pretty, bool escapeUnicode = false, int keyOrder = 0, int decimals = 0) {
    return WriteJsonText(v, JsonWriteOptions{pretty, escapeUnicode, keyOrder, decimals});
}

// Parses text that the writer produced; it must parse.
Value Reparse(std::string_view text) {
    Value v;
    size_t offset = 0;
    const bool ok = ParseJsonText(std::string(text), v, &offset);
    if (!ok) std::fprintf(stderr, "written text does not parse at %zu:\n%.*s\n", offset, int(text.size()), text.data());
    FUZZ_CHECK(ok);
    return v;
}

bool IsAscii(std::string_view text) {
    for (unsigned char c : text)
        if (c >= 0x80) return false;
    return true;
}

// Compact and pretty texts of one document read back to the same compact text, and writing is
// stable from the second round on.
void CheckRoundTrips(const Value& root) {
    const std::string compact = Write(root, false);
    const std::string pretty = Write(root, true);
    FUZZ_CHECK(Write(Reparse(compact), false) == compact);
    const Value fromPretty = Reparse(pretty);
    FUZZ_CHECK(Write(fromPretty, false) == compact);
    FUZZ_CHECK(Write(fromPretty, true) == pretty);
    FUZZ_CHECK(compact.find_first_of("\r\n") == std::string::npos);

    const std::string escaped = Write(root, false, true);
    FUZZ_CHECK(IsAscii(escaped));
    FUZZ_CHECK(Write(Reparse(escaped), false) == compact);

    // Sorted keys: another order of the same members, so the same length, and sorting is stable.
    const std::string sorted = Write(root, false, false, kKeyOrderAscending);
    FUZZ_CHECK(sorted.size() == compact.size());
    FUZZ_CHECK(Write(Reparse(sorted), false) == sorted);
    Reparse(Write(root, true, false, kKeyOrderDescending));

    // Fixed decimals change numbers but must still give JSON.
    Reparse(Write(root, false, false, 0, 1 + static_cast<int>(compact.size() % 17)));
}

// After a rewrite every value's offset is where a fresh parse of the written text puts it.
void CheckRewriteOffsets(Collection& parsed, bool pretty) {
    const std::string text = parsed.RewriteJSON(pretty, 0, 0);
    const Value again = Reparse(text);
    std::vector<std::pair<ValueRef, ValueRef>> pending{{parsed.Root(), ValueRef(again)}};
    while (!pending.empty()) {
        const auto [rewritten, fresh] = pending.back();
        pending.pop_back();
        FUZZ_CHECK(rewritten.Offset() == fresh.Offset());
        FUZZ_CHECK(rewritten.Count() == fresh.Count());
        for (size_t i = 0; i < fresh.Count(); ++i) pending.emplace_back(rewritten.At(i), fresh.At(i));
    }
}

// The tables and lists take only their own kind of root, and read members back by path.
void CheckCollections(std::string_view text, const Value& root) {
    JMap map;
    JList list;
    const bool isMap = map.FromJSON(text);
    const bool isList = list.FromJSON(text);
    FUZZ_CHECK(isMap == (root.Type() == kTypeMap));
    FUZZ_CHECK(isList == (root.Type() == kTypeList));
    const std::string compact = Write(root, false);
    if (isMap) {
        FUZZ_CHECK(map.ToJSON(false) == compact);
        FUZZ_CHECK(map.GetString("//") == "");
        for (const std::string& key : map.GetKeys()) {
            // A key with no bracket reads back through its escaped path.
            const bool escapable = !key.empty() && key.find_first_of("[]") == std::string::npos;
            const ValueRef byPath = escapable ? map.Find("//" + EscapeKeyName(key)) : ValueRef();
            if (escapable) FUZZ_CHECK(byPath);
            // A key that itself begins with "//" is taken as a path when given as it is.
            if (key.rfind("//", 0) == 0) continue;
            const ValueRef direct = map.Find(key);
            FUZZ_CHECK(direct);
            if (escapable) FUZZ_CHECK(byPath.DocumentNode() == direct.DocumentNode());
            FUZZ_CHECK(map.GetString(key) == DisplayText(direct));
        }
    }
    if (isList) {
        FUZZ_CHECK(list.ToJSON(false) == compact);
        for (int i = 1; i <= list.Count(); ++i) {
            FUZZ_CHECK(list.GetType("//[" + std::to_string(i) + "]") == list.GetType(i));
            FUZZ_CHECK(list.GetString(i) == DisplayText(list.Find("//[" + std::to_string(i) + "]")));
        }
        FUZZ_CHECK(list.GetType("//[" + std::to_string(list.Count() + 1) + "]") == kTypeMissing);
    }
    // Some inputs rewrite a document shared with a copy, or with an element set into a second place.
    JList copy;
    JMap element;
    if (isList && text.size() % 3 == 0) copy = list.BaseClone();
    if (isList && text.size() % 3 == 1 && list.GetMap(1, element)) list.Appender(element.AsValue());
    if (isMap || isList) CheckRewriteOffsets(isMap ? static_cast<Collection&>(map) : list, text.size() % 2 == 0);
}

// Format and compress in the editor leave exactly the writer's texts, and nothing on failure.
void CheckEditorRewrite(std::string_view text, bool parses, const Value& root) {
    vivu::MemoryEditor editor;
    vivu::test::RecordingReporter reporter;
    vivu::JsonModel model;
    vivu::JsonIntake intake(editor, model, reporter);
    editor.text.assign(text);

    const int32_t kind = vivu::DetectRootKind(text);
    const bool expectOk = parses && kind != vivu::kRootNone && root.Type() == kind;
    intake.RewriteJson(0);
    if (!expectOk) {
        FUZZ_CHECK(editor.text == text);
        FUZZ_CHECK(model.kind == vivu::kRootNone);
        FUZZ_CHECK(reporter.shown.size() == 1);
        return;
    }
    FUZZ_CHECK(reporter.shown.empty());
    FUZZ_CHECK(model.kind == kind);
    FUZZ_CHECK(editor.text == Write(root, true));
    intake.RewriteJson(1);
    FUZZ_CHECK(reporter.shown.empty());
    FUZZ_CHECK(editor.text == Write(root, false));
    FUZZ_CHECK(editor.Undo()); // back to the formatted text in one step
    FUZZ_CHECK(editor.text == Write(root, true));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    Value root;
    size_t offset = SIZE_MAX;
    const bool parses = ParseJsonText(std::string(text), root, &offset);
    if (parses) {
        CheckRoundTrips(root);
        CheckCollections(text, root);
    } else {
        FUZZ_CHECK(offset <= size);
    }
    CheckEditorRewrite(text, parses, root);

    // The same bytes read as GBK: whatever parses then must also write back.
    JMap gbkMap;
    if (gbkMap.FromJSON(text, "GBK")) CheckRoundTrips(gbkMap.AsValue());
    return 0;
}
