// Getters and setters by key, position and path.
#include "kova/Collection.h"

#include "kova/Encoding.h"
#include "kova/JList.h"
#include "kova/JMap.h"
#include "kova/JsonText.h"
#include "kova/NodePath.h"

namespace kova {

namespace {

// The value a segment names inside a table or list, or nothing.
ValueRef Step(const ValueRef& at, const PathSegment& segment) {
    if (segment.kind == PathSegment::Key) {
        const int found = at.FindMember(segment.text);
        return found < 0 ? ValueRef() : at.At(found);
    }
    if (at.Type() != kTypeList) return ValueRef();
    const int64_t position = SegmentPosition(segment.text);
    if (position < 1 || position > static_cast<int64_t>(at.Count())) return ValueRef();
    return at.At(position - 1);
}

// Like Step, for writing into storage made writable: a missing member is
// created, and a position one past the end appends.
Value* StepForWrite(Container& c, const PathSegment& segment) {
    if (segment.kind == PathSegment::Key) {
        int found = c.FindMember(segment.text);
        return found >= 0 ? &c.members[found].value : &c.SetMember(segment.text, Value());
    }
    int64_t position = SegmentPosition(segment.text);
    if (position < 1 || position > static_cast<int64_t>(c.items.size()) + 1) return nullptr;
    if (position == static_cast<int64_t>(c.items.size()) + 1) c.items.emplace_back();
    return &c.items[position - 1];
}

} // namespace

bool Collection::FromJSON(std::string_view json, std::string_view sourceEncoding) {
    if (!sourceEncoding.empty() && CanonicalEncodingName(sourceEncoding) != "UTF-8")
        return TakeJSON(ConvertStringEncoding(json, sourceEncoding, "UTF-8"));
    return TakeJSON(std::string(json));
}

bool Collection::TakeJSON(std::string&& json) {
    Value root;
    if (!ParseJsonText(std::move(json), root, &errorOffset_) || root.Type() != type_) return false;
    root_ = std::move(root);
    errorOffset_ = 0;
    return true;
}

std::string Collection::ToJSON(bool pretty, bool escapeUnicode, int keyOrder, int decimals, size_t maxBytes) const {
    return WriteJsonText(Root(), JsonWriteOptions{pretty, escapeUnicode, keyOrder, decimals, maxBytes});
}

std::string Collection::RewriteJSON(bool pretty, size_t sizeHint, size_t maxBytes) {
    JsonWriteOptions options;
    options.pretty = pretty;
    options.maxBytes = maxBytes;
    options.sizeHint = sizeHint;
    // A document shared with copies, or values of it set into more than one place, cannot
    // take one offset per place: then the text is read back into a document of its own.
    options.rebaseOffsets = root_.AloneInItsDocument();
    std::string text = WriteJsonText(Root(), options);
    if (!options.rebaseOffsets && !text.empty()) {
        std::string copy;
        copy.reserve(text.size() + kJsonReadPadding);
        copy = text;
        Value reread;
        if (ParseJsonText(std::move(copy), reread) && reread.Type() == type_) root_ = std::move(reread);
    }
    return text;
}

ValueRef Collection::Find(std::string_view key) const {
    if (!IsPathText(key)) {
        const int found = Root().FindMember(key);
        return found < 0 ? ValueRef() : Root().At(found);
    }
    std::vector<PathSegment> segments;
    if (!ParseNodePath(key, segments)) return ValueRef();
    ValueRef at = Root();
    for (const auto& segment : segments) {
        at = Step(at, segment);
        if (!at) break;
    }
    return at;
}

ValueRef Collection::FindAt(int64_t position) const {
    if (position < 1 || position > static_cast<int64_t>(Root().Count())) return ValueRef();
    return Root().At(position - 1);
}

Value* Collection::FindForWrite(std::string_view key) {
    if (!IsPathText(key)) {
        if (type_ != kTypeMap) return nullptr;
        Container& c = Writable();
        int found = c.FindMember(key);
        return found >= 0 ? &c.members[found].value : &c.SetMember(key, Value());
    }
    std::vector<PathSegment> segments;
    if (!ParseNodePath(key, segments)) return nullptr;
    const int32_t firstType = segments[0].kind == PathSegment::Key ? kTypeMap : kTypeList;
    if (firstType != type_) return nullptr; // a table has no positions and a list no keys
    Value* at = StepForWrite(Writable(), segments[0]);
    for (size_t i = 1; i < segments.size() && at; ++i) {
        // The container the segment needs replaces a missing value or one of another kind.
        const int32_t wanted = segments[i].kind == PathSegment::Key ? kTypeMap : kTypeList;
        if (at->Type() != wanted) *at = Value::OfContainer(wanted, nullptr);
        at = StepForWrite(at->Writable(), segments[i]);
    }
    return at;
}

Value* Collection::FindForWriteAt(int64_t position) {
    if (position < 1 || position > static_cast<int64_t>(Root().Count())) return nullptr;
    return &Writable().items[position - 1];
}

int32_t Collection::GetType(std::string_view key) const {
    return Find(key).Type();
}

std::string Collection::GetString(std::string_view key) const {
    const ValueRef v = Find(key);
    return v ? DisplayText(v) : std::string();
}

int64_t Collection::GetInt(std::string_view key) const {
    return Find(key).AsInt();
}

bool Collection::GetBool(std::string_view key) const {
    return Find(key).AsBool();
}

bool Collection::GetMap(std::string_view key, JMap& receiver) const {
    return receiver.ShareFrom(Find(key));
}

bool Collection::GetList(std::string_view key, JList& receiver) const {
    return receiver.ShareFrom(Find(key));
}

bool Collection::ShareFrom(const ValueRef& found) {
    if (found.Type() != type_) {
        Clear();
        return false;
    }
    if (const Node* node = found.DocumentNode()) {
        // Read in place: the receiver keeps the owner's document alive.
        root_ = Value::InDocument(found.DocumentOwner(), *node);
    } else {
        root_ = *found.ProgramValue();
    }
    return true;
}

bool Collection::Exists(std::string_view key) const {
    return static_cast<bool>(Find(key));
}

bool Collection::SetString(std::string_view key, std::string_view text) {
    return Setter(key, Value::Text(std::string(text)));
}

bool Collection::Setter(std::string_view key, Value value) {
    Value* slot = FindForWrite(key);
    if (!slot) return false;
    *slot = std::move(value);
    return true;
}

bool Collection::SetList(std::string_view key, const JList& list) {
    return Setter(key, list.AsValue());
}

int Collection::Count() const {
    return static_cast<int>(Root().Count());
}

void Collection::Clear() {
    root_ = Value::OfContainer(type_, nullptr);
}

} // namespace kova
