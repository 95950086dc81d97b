// Values of the data layer: scalars, texts and the shared storage of tables and lists.
#pragma once

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

class Value {
public:
    Value() = default; // null

    static Value Integer(int64_t v);
    static Value Real(double v);
    static Value Boolean(bool v);
    static Value Text(std::string text);
    static Value Bytes(std::string bytes);
    // A number read from a document. sourceText is kept when the number cannot
    // be written back from its binary value with the same digits.
    static Value Number(double v, std::string sourceText);
    static Value OfContainer(int32_t type, ContainerPtr container);

    int32_t Type() const { return type_; }
    int64_t AsInt() const;                           // integers; doubles truncated; booleans 0/1; texts parsed
    double AsDouble() const;                         // numbers; otherwise 0
    bool AsBool() const;                             // booleans; numbers non-zero; texts "true"/"真"
    const std::string& Str() const { return text_; } // text, bytes, or a number's kept source text
    bool KeepsSourceText() const { return keepsText_; }
    const ContainerPtr& Children() const { return container_; }
    ContainerPtr& Children() { return container_; }

private:
    int32_t type_ = kTypeNull;
    bool keepsText_ = false;
    union {
        int64_t int_;
        double double_;
        bool bool_;
    } scalar_{};
    std::string text_;
    ContainerPtr container_;
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

// Storage shared between a table or list and the values that refer to it.
// Shared storage is copied before it is written (see MakeWritable).
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
    Value& SetMember(std::string&& key, Value value);
    void AppendMember(std::string key, Value value); // caller knows the key is new
    void Clear();
};

// Makes ptr the only owner of its storage (copying it when shared) and returns it.
Container& MakeWritable(ContainerPtr& ptr);

} // namespace kova
