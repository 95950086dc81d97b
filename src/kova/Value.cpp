// Values, the key index and container storage.
#include "kova/Value.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <limits>
#include <utility>

namespace kova {

Value::Value(Value&& other) noexcept
    : type_(other.type_), scalar_(other.scalar_), text_(std::move(other.text_)),
      container_(std::move(other.container_)), document_(std::move(other.document_)),
      node_(std::exchange(other.node_, nullptr)) {}

Value& Value::operator=(const Value& other) {
    Value copy(other); // before anything of this value, which may hold other, is released
    return *this = std::move(copy);
}

Value& Value::operator=(Value&& other) noexcept {
    if (this == &other) return *this;
    Value taken(std::move(other)); // other may lie inside what this value releases
    type_ = taken.type_;
    scalar_ = taken.scalar_;
    text_ = std::move(taken.text_);
    container_ = std::move(taken.container_);
    document_ = std::move(taken.document_);
    node_ = std::exchange(taken.node_, nullptr);
    return *this;
}

Value Value::Integer(int64_t v) {
    Value value;
    value.type_ = (v >= INT32_MIN && v <= INT32_MAX) ? kTypeInt : kTypeLong;
    value.scalar_.int_ = v;
    return value;
}

Value Value::Real(double v) {
    Value value;
    value.type_ = kTypeDouble;
    value.scalar_.double_ = v;
    return value;
}

Value Value::Boolean(bool v) {
    Value value;
    value.type_ = kTypeBool;
    value.scalar_.bool_ = v;
    return value;
}

Value Value::Text(std::string text) {
    Value value;
    value.type_ = kTypeText;
    value.text_ = std::move(text);
    return value;
}

Value Value::Bytes(std::string bytes) {
    Value value;
    value.type_ = kTypeBytes;
    value.text_ = std::move(bytes);
    return value;
}

Value Value::OfContainer(int32_t type, ContainerPtr container) {
    Value value;
    value.type_ = type;
    value.container_ = container ? std::move(container) : std::make_shared<Container>();
    return value;
}

namespace {
// Leading decimal integer of a text, as far as it is one ("12abc" is 12, "x" is 0).
int64_t LeadingInteger(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    bool negative = i < text.size() && text[i] == '-';
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) ++i;
    int64_t v = 0;
    auto [end, ec] = std::from_chars(text.data() + i, text.data() + text.size(), v);
    (void)end;
    if (ec != std::errc()) return 0;
    return negative ? -v : v;
}
// A number's text as a double; out of range gives infinity or zero as strtod does.
double ReadDouble(std::string_view text) {
    double d = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), d);
    (void)end;
    if (ec != std::errc()) d = std::strtod(std::string(text).c_str(), nullptr);
    return d;
}

} // namespace

Value Value::InDocument(DocumentPtr document, const Node& node) {
    Value value;
    value.type_ = ValueRef(document, &node).Type();
    value.document_ = std::move(document);
    value.node_ = &node;
    return value;
}

int32_t Value::Type() const {
    return type_;
}

int64_t Value::AsInt() const {
    return ValueRef(*this).AsInt();
}

double Value::AsDouble() const {
    return ValueRef(*this).AsDouble();
}

bool Value::AsBool() const {
    return ValueRef(*this).AsBool();
}

Container& Value::Writable() {
    if (node_) {
        // One level is copied: the children stay in the document until they are written themselves.
        auto copy = std::make_shared<Container>();
        const ValueRef in(document_, node_);
        const Node* nodes = node_->u.block->Nodes();
        const size_t count = in.Count();
        if (type_ == kTypeMap) {
            copy->members.reserve(count);
            for (size_t i = 0; i < count; ++i)
                copy->AppendMember(std::string(in.KeyAt(i)), InDocument(document_, nodes[i]));
        } else {
            copy->items.reserve(count);
            for (size_t i = 0; i < count; ++i) copy->items.push_back(InDocument(document_, nodes[i]));
        }
        container_ = std::move(copy);
        document_.reset();
        node_ = nullptr;
    } else if (!container_) {
        container_ = std::make_shared<Container>();
    } else if (container_.use_count() > 1) {
        container_ = std::make_shared<Container>(*container_); // shallow: children stay shared until written
    }
    return *container_;
}

ValueRef::ValueRef(const Value& value) {
    if (value.node_) {
        document_ = &value.document_;
        node_ = value.node_;
    } else {
        value_ = &value;
    }
}

int32_t ValueRef::Type() const {
    if (value_) return value_->type_;
    if (!node_) return kTypeMissing;
    switch (node_->Tag()) {
    case kTagInt:
        return node_->u.integer >= INT32_MIN && node_->u.integer <= INT32_MAX ? kTypeInt : kTypeLong;
    case kTagMinusZero:
        return kTypeInt;
    case kTagNumberText:
        return kTypeDouble;
    case kTagFalse:
    case kTagTrue:
        return kTypeBool;
    case kTagText:
        return kTypeText;
    case kTagMap:
        return kTypeMap;
    case kTagList:
        return kTypeList;
    default:
        return kTypeNull;
    }
}

int64_t ValueRef::AsInt() const {
    switch (Type()) {
    case kTypeInt:
    case kTypeLong:
        return node_ ? node_->u.integer : value_->scalar_.int_;
    case kTypeDouble: {
        const double d = AsDouble();
        if (std::isnan(d)) return 0;
        if (d >= 9.2233720368547758e18) return INT64_MAX;
        if (d <= -9.2233720368547758e18) return INT64_MIN;
        return static_cast<int64_t>(d);
    }
    case kTypeBool:
        return AsBool() ? 1 : 0;
    case kTypeText:
        return LeadingInteger(Str());
    default:
        return 0;
    }
}

double ValueRef::AsDouble() const {
    switch (Type()) {
    case kTypeInt:
    case kTypeLong:
        return static_cast<double>(AsInt());
    case kTypeDouble:
        if (value_) return value_->scalar_.double_;
        return ReadDouble(Str());
    default:
        return 0;
    }
}

bool ValueRef::AsBool() const {
    switch (Type()) {
    case kTypeBool:
        return node_ ? node_->Tag() == kTagTrue : value_->scalar_.bool_;
    case kTypeInt:
    case kTypeLong:
        return AsInt() != 0;
    case kTypeDouble:
        return AsDouble() != 0;
    case kTypeText:
        return Str() == "true" || Str() == "真";
    default:
        return false;
    }
}

std::string_view ValueRef::Str() const {
    if (value_) return value_->text_;
    if (node_ && (node_->Tag() == kTagText || node_->Tag() == kTagNumberText)) return (*document_)->Text(*node_);
    if (node_ && node_->Tag() == kTagMinusZero) return "-0";
    return {};
}

bool ValueRef::KeepsSourceText() const {
    return node_ && (node_->Tag() == kTagNumberText || node_->Tag() == kTagMinusZero); // not the program's numbers
}

size_t ValueRef::Count() const {
    const int32_t type = Type();
    if (!IsContainerType(type)) return 0;
    if (node_) return node_->u.block->count;
    const Container* c = value_->container_.get();
    if (!c) return 0;
    return type == kTypeMap ? c->members.size() : c->items.size();
}

ValueRef ValueRef::At(size_t i) const {
    if (node_) return ValueRef(*document_, node_->u.block->Nodes() + i);
    const Container& c = *value_->container_;
    return Type() == kTypeMap ? ValueRef(c.members[i].value) : ValueRef(c.items[i]);
}

std::string_view ValueRef::KeyAt(size_t i) const {
    if (node_) return (*document_)->Key(node_->u.block->Nodes()[i].KeyId());
    return value_->container_->members[i].key;
}

int ValueRef::FindMember(std::string_view key) const {
    if (Type() != kTypeMap) return -1;
    if (node_) return (*document_)->FindMember(*node_->u.block, key);
    const Container* c = value_->container_.get();
    return c ? c->FindMember(key) : -1;
}

int KeyIndex::Find(const std::vector<Member>& members, std::string_view key) const {
    if (slots_.empty()) return -1;
    size_t mask = slots_.size() - 1;
    for (size_t slot = std::hash<std::string_view>{}(key)&mask;; slot = (slot + 1) & mask) {
        uint32_t entry = slots_[slot];
        if (entry == 0) return -1;
        if (members[entry - 1].key == key) return static_cast<int>(entry - 1);
    }
}

void KeyIndex::Add(const std::vector<Member>& members, uint32_t position) {
    if ((used_ + 1) * 2 > slots_.size()) {
        Rebuild(members); // includes position
        return;
    }
    size_t mask = slots_.size() - 1;
    size_t slot = std::hash<std::string_view>{}(members[position].key) & mask;
    while (slots_[slot] != 0) slot = (slot + 1) & mask;
    slots_[slot] = position + 1;
    ++used_;
}

void KeyIndex::Rebuild(const std::vector<Member>& members) {
    size_t capacity = 32;
    while (capacity < members.size() * 2 + 2) capacity *= 2;
    slots_.assign(capacity, 0);
    used_ = 0;
    size_t mask = capacity - 1;
    for (uint32_t i = 0; i < members.size(); ++i) {
        size_t slot = std::hash<std::string_view>{}(members[i].key) & mask;
        while (slots_[slot] != 0) slot = (slot + 1) & mask;
        slots_[slot] = i + 1;
        ++used_;
    }
}

Container::~Container() {
    // Move every nested container that only we hold onto a work list, so that
    // no destructor below runs another one recursively.
    std::vector<ContainerPtr> pending;
    auto collect = [&pending](Container& c) {
        for (auto& m : c.members)
            if (m.value.Children()) pending.push_back(std::move(m.value.Children()));
        for (auto& v : c.items)
            if (v.Children()) pending.push_back(std::move(v.Children()));
    };
    collect(*this);
    while (!pending.empty()) {
        ContainerPtr next = std::move(pending.back());
        pending.pop_back();
        if (next.use_count() == 1) collect(*next);
    }
}

int Container::FindMember(std::string_view key) const {
    if (!index.Empty()) return index.Find(members, key);
    for (size_t i = 0; i < members.size(); ++i)
        if (members[i].key == key) return static_cast<int>(i);
    return -1;
}

Value& Container::SetMember(std::string_view key, Value value) {
    int found = FindMember(key);
    if (found >= 0) {
        members[found].value = std::move(value);
        return members[found].value;
    }
    AppendMember(std::string(key), std::move(value));
    return members.back().value;
}

void Container::AppendMember(std::string key, Value value) {
    members.push_back(Member{std::move(key), std::move(value)});
    if (!index.Empty() || members.size() >= KeyIndex::kMinMembers)
        index.Add(members, static_cast<uint32_t>(members.size() - 1));
}

void Container::Clear() {
    Container emptied;
    std::swap(members, emptied.members);
    std::swap(items, emptied.items);
    index.Clear();
    // emptied's destructor releases the old content without recursion
}

} // namespace kova
