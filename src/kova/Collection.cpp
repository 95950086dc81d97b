// Getters and setters by key, position and path.
#include "kova/Collection.h"

#include "kova/Encoding.h"
#include "kova/JList.h"
#include "kova/JMap.h"
#include "kova/JsonText.h"
#include "kova/NodePath.h"

namespace kova {

namespace {

// The value a segment names inside a container of the given type, or null.
const Value* Step(int32_t type, const Container* c, const PathSegment& segment) {
    if (!c) return nullptr;
    if (segment.kind == PathSegment::Key) {
        if (type != kTypeMap) return nullptr;
        int found = c->FindMember(segment.text);
        return found < 0 ? nullptr : &c->members[found].value;
    }
    if (type != kTypeList) return nullptr;
    int64_t position = SegmentPosition(segment.text);
    if (position < 1 || position > static_cast<int64_t>(c->items.size())) return nullptr;
    return &c->items[position - 1];
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
    std::string converted;
    if (!sourceEncoding.empty() && CanonicalEncodingName(sourceEncoding) != "UTF-8") {
        converted = ConvertStringEncoding(json, sourceEncoding, "UTF-8");
        json = converted;
    }
    Value root;
    if (!ParseJsonText(json, root, &errorOffset_) || root.Type() != type_) return false;
    data_ = std::move(root.Children());
    errorOffset_ = 0;
    return true;
}

std::string Collection::ToJSON(bool pretty, bool escapeUnicode, int keyOrder, int decimals, size_t maxBytes) const {
    return WriteJsonText(AsValue(), JsonWriteOptions{pretty, escapeUnicode, keyOrder, decimals, maxBytes});
}

const Value* Collection::Find(std::string_view key) const {
    if (!IsPathText(key)) {
        if (type_ != kTypeMap) return nullptr;
        int found = data_->FindMember(key);
        return found < 0 ? nullptr : &data_->members[found].value;
    }
    std::vector<PathSegment> segments;
    if (!ParseNodePath(key, segments)) return nullptr;
    int32_t type = type_;
    const Container* c = data_.get();
    const Value* at = nullptr;
    for (const auto& segment : segments) {
        at = Step(type, c, segment);
        if (!at) return nullptr;
        type = at->Type();
        c = at->Children().get();
    }
    return at;
}

const Value* Collection::FindAt(int64_t position) const {
    if (position < 1 || position > static_cast<int64_t>(data_->items.size())) return nullptr;
    return &data_->items[position - 1];
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
        at = StepForWrite(MakeWritable(at->Children()), segments[i]);
    }
    return at;
}

Value* Collection::FindForWriteAt(int64_t position) {
    if (position < 1 || position > static_cast<int64_t>(data_->items.size())) return nullptr;
    return &Writable().items[position - 1];
}

int32_t Collection::GetType(std::string_view key) const {
    const Value* v = Find(key);
    return v ? v->Type() : kTypeMissing;
}

std::string Collection::GetString(std::string_view key) const {
    const Value* v = Find(key);
    return v ? DisplayText(*v) : std::string();
}

int64_t Collection::GetInt(std::string_view key) const {
    const Value* v = Find(key);
    return v ? v->AsInt() : 0;
}

bool Collection::GetBool(std::string_view key) const {
    const Value* v = Find(key);
    return v && v->AsBool();
}

bool Collection::GetMap(std::string_view key, JMap& receiver) const {
    const Value* v = Find(key);
    if (!v || v->Type() != kTypeMap) {
        receiver.Clear();
        return false;
    }
    receiver.Share(v->Children());
    return true;
}

bool Collection::GetList(std::string_view key, JList& receiver) const {
    const Value* v = Find(key);
    if (!v || v->Type() != kTypeList) {
        receiver.Clear();
        return false;
    }
    receiver.Share(v->Children());
    return true;
}

bool Collection::Exists(std::string_view key) const {
    return Find(key) != nullptr;
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
    return static_cast<int>(type_ == kTypeMap ? data_->members.size() : data_->items.size());
}

void Collection::Clear() {
    if (data_.use_count() > 1)
        data_ = std::make_shared<Container>();
    else
        data_->Clear();
}

} // namespace kova
