// Values of the data layer: scalars, texts, tables and lists built by the program or read
// from a parsed document, and ValueRef, the one way to read either.
#pragma once

#include "kova/Document.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace kova {

// Type codes as the framework numbers them.
enum TypeCode : int32_t {
    kTypeMissing = -1, // no value at that key, position or path
    kTypeNull = 0,
    kTypeInt = 1,  // fits 32 bits
    kTypeLong = 2, // fits 64 bits
    kTypeDouble = 3,
    kTypeFloat = 4,
    kTypeBool = 5,
    kTypeText = 6,
    kTypeDateTime = 7,
    kTypeBytes = 8,
    kTypeMap = 11,
    kTypeList = 12,
    kTypeWideText = 96,
};

inline bool IsContainerType(int32_t type) {
    return type == kTypeMap || type == kTypeList;
}
inline bool IsTextType(int32_t type) {
    return type == kTypeText || type == kTypeWideText;
}

struct Container;
using ContainerPtr = std::shared_ptr<Container>;

// A value the program holds. Tables and lists are either its own storage
// (shared until written, see Writable) or a container of a parsed document,
// which is read in place and copied, one level at a time, only when written.
class Value {
public:
    Value() = default; // null
    Value(const Value&) = default;
    // A moved-from table or list is an empty one: nothing of the source's storage or document stays.
    Value(Value&& other) noexcept;
    // Safe when other lies inside this value's own storage (a table replaced by one of its members).
    Value& operator=(const Value& other);
    Value& operator=(Value&& other) noexcept;

    static Value Integer(int64_t v);
    static Value Real(double v);
    static Value Boolean(bool v);
    static Value Text(std::string text);
    static Value Bytes(std::string bytes);
    static Value OfContainer(int32_t type, ContainerPtr container);
    // A value of a parsed document; the value keeps the document alive.
    static Value InDocument(DocumentPtr document, const Node& node);

    int32_t Type() const;
    int64_t AsInt() const;
    double AsDouble() const;
    bool AsBool() const;

    // The program's own storage of a table or list (null for a document's container).
    const ContainerPtr& Children() const { return container_; }
    ContainerPtr& Children() { return container_; }
    // Storage of this table or list that only this value holds: a document's
    // container is copied one level deep, shared storage is copied.
    Container& Writable();
    // A document value nothing else refers to: every value below it is reached once, from here.
    bool AloneInItsDocument() const { return node_ && document_.use_count() == 1; }

private:
    friend class ValueRef;

    int32_t type_ = kTypeNull;
    union {
        int64_t int_;
        double double_;
        bool bool_;
    } scalar_{};
    std::string text_;
    ContainerPtr container_;
    DocumentPtr document_; // with node_: a value of a parsed document
    const Node* node_ = nullptr;
};

// A value read where it lies: in a parsed document or in the program's storage.
// Valid while what it refers to is neither written nor released.
class ValueRef {
public:
    ValueRef() = default; // nothing there
    ValueRef(const Value& value);
    // A node of the document that owner holds.
    ValueRef(const DocumentPtr& owner, const Node* node) : document_(&owner), node_(node) {}

    explicit operator bool() const { return document_ || value_; }
    int32_t Type() const;
    int64_t AsInt() const;        // integers; doubles truncated; booleans 0/1; texts parsed
    double AsDouble() const;      // numbers; otherwise 0
    bool AsBool() const;          // booleans; numbers non-zero; texts "true"/"真"
    std::string_view Str() const; // text, bytes, or a number's kept source text
    // A number read from a document other than a plain integer: written back as it was read.
    bool KeepsSourceText() const;
    // Where the value begins in the text it was read from or last written to.
    uint32_t Offset() const { return node_ ? node_->offset : Node::kNoOffset; }

    // Members of a table or elements of a list, in order.
    size_t Count() const;
    ValueRef At(size_t i) const;
    std::string_view KeyAt(size_t i) const; // of a table's member
    // Position of a table's member, or -1.
    int FindMember(std::string_view key) const;

    // The document node, when the value is in a document (null otherwise), and that document.
    const Node* DocumentNode() const { return node_; }
    const DocumentPtr& DocumentOwner() const { return *document_; }
    // The program's value, when the value is not in a document (null otherwise).
    const Value* ProgramValue() const { return value_; }

private:
    const DocumentPtr* document_ = nullptr;
    const Node* node_ = nullptr;
    const Value* value_ = nullptr;
};

struct Member {
    std::string key;
    Value value;
};

// Open-addressing index from key to member position, for O(1) lookups in
// large tables. Small tables are scanned instead, which is faster there.
class KeyIndex {
public:
    static constexpr size_t kMinMembers = 12;

    int Find(const std::vector<Member>& members, std::string_view key) const;
    void Add(const std::vector<Member>& members, uint32_t position);
    void Clear() {
        slots_.clear();
        used_ = 0;
    }
    bool Empty() const { return slots_.empty(); }

private:
    void Rebuild(const std::vector<Member>& members);
    std::vector<uint32_t> slots_; // member position + 1; 0 = free
    size_t used_ = 0;
};

// The program's own storage of a table or list, shared between the values that
// refer to it and copied before it is written (see Value::Writable).
struct Container {
    std::vector<Member> members; // a table's members in insertion order
    std::vector<Value> items;    // a list's elements
    KeyIndex index;

    Container() = default;
    Container(const Container&) = default;
    Container& operator=(const Container&) = delete;
    // Releases nested containers with an explicit stack: documents nest deeper than the call stack allows.
    ~Container();

    int FindMember(std::string_view key) const;
    // Adds a member, or replaces the value of an existing one in its place.
    Value& SetMember(std::string_view key, Value value);
    void AppendMember(std::string key, Value value); // caller knows the key is new
    void Clear();
};

} // namespace kova
