// Lists.
#include "kova/JList.h"

#include "kova/JMap.h"
#include "kova/JsonText.h"

namespace kova {

int32_t JList::GetType(int position) const {
    return FindAt(position).Type();
}

std::string JList::GetString(int position) const {
    const ValueRef v = FindAt(position);
    return v ? DisplayText(v) : std::string();
}

int64_t JList::GetInt(int position) const {
    return FindAt(position).AsInt();
}

bool JList::GetBool(int position) const {
    return FindAt(position).AsBool();
}

bool JList::GetMap(int position, JMap& receiver) const {
    return receiver.ShareFrom(FindAt(position));
}

bool JList::GetList(int position, JList& receiver) const {
    return receiver.ShareFrom(FindAt(position));
}

std::string JList::GetBin(int position) const {
    const ValueRef v = FindAt(position);
    return v.Type() == kTypeBytes || IsTextType(v.Type()) ? std::string(v.Str()) : std::string();
}

bool JList::Exists(int position) const {
    return static_cast<bool>(FindAt(position));
}

bool JList::SetString(int position, std::string_view text) {
    return Setter(position, Value::Text(std::string(text)));
}

bool JList::Setter(int position, Value value) {
    Value* slot = FindForWriteAt(position);
    if (!slot) return false;
    *slot = std::move(value);
    return true;
}

bool JList::SetList(int position, const JList& list) {
    return Setter(position, list.AsValue());
}

void JList::AppendString(std::string_view text) {
    Appender(Value::Text(std::string(text)));
}

void JList::AppendBin(std::string_view bytes) {
    Appender(Value::Bytes(std::string(bytes)));
}

void JList::Appender(Value value) {
    Writable().items.push_back(std::move(value));
}

bool JList::Insertter(int position, Value value) {
    auto& items = Writable().items;
    if (position < 1 || position > static_cast<int64_t>(items.size()) + 1) return false;
    items.insert(items.begin() + (position - 1), std::move(value));
    return true;
}

std::string JList::JoinString(std::string_view separator) const {
    std::string joined;
    bool first = true;
    const ValueRef root = Root();
    for (size_t i = 0; i < root.Count(); ++i) {
        if (!first) joined += separator;
        first = false;
        joined += DisplayText(root.At(i));
    }
    return joined;
}

std::string JList::JoinBinary() const {
    std::string joined;
    const ValueRef root = Root();
    for (size_t i = 0; i < root.Count(); ++i) {
        const ValueRef item = root.At(i);
        switch (item.Type()) {
        case kTypeText:
        case kTypeWideText:
        case kTypeBytes:
            joined += item.Str();
            break;
        case kTypeInt:
        case kTypeLong:
        case kTypeBool: {
            uint32_t v = static_cast<uint32_t>(item.AsInt());
            for (int k = 0; k < 4; ++k) joined += static_cast<char>((v >> (8 * k)) & 0xFF);
            break;
        }
        default:
            break;
        }
    }
    return joined;
}

JList CreateStoreList(std::initializer_list<Value> values) {
    JList list;
    for (const auto& v : values) list.Appender(v);
    return list;
}

} // namespace kova
