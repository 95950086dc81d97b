// The list of the data layer (a JSON array), positions from 1.
#pragma once

#include "kova/Collection.h"

#include <initializer_list>
#include <string>

namespace kova {

class JList : public Collection {
public:
    JList() : Collection(kTypeList) {}
    JList BaseClone() const { return *this; }

    using Collection::Exists;
    using Collection::GetBool;
    using Collection::GetInt;
    using Collection::GetList;
    using Collection::GetMap;
    using Collection::GetString;
    using Collection::GetType;
    using Collection::SetList;
    using Collection::SetString;
    using Collection::Setter;

    int32_t GetType(int position) const;
    std::string GetString(int position) const;
    int64_t GetInt(int position) const;
    bool GetBool(int position) const;
    bool GetMap(int position, JMap& receiver) const;
    bool GetList(int position, JList& receiver) const;
    // The bytes of a bytes or text element; empty otherwise.
    std::string GetBin(int position) const;
    bool Exists(int position) const;
    // Replaces the element at position (1..Count).
    bool SetString(int position, std::string_view text);
    bool Setter(int position, Value value);
    bool SetList(int position, const JList& list);

    void AppendString(std::string_view text);
    void AppendBin(std::string_view bytes);
    void Appender(Value value);
    // Inserts before position: 1 is the front, Count() + 1 the end.
    bool Insertter(int position, Value value);

    // Display texts of all elements, separated.
    std::string JoinString(std::string_view separator = "") const;
    // Elements concatenated: texts and bytes as they are (no terminator), integers
    // as 4 little-endian bytes, booleans as 4 bytes 0/1; others contribute nothing.
    std::string JoinBinary() const;
};

// A list of the given values, in order.
JList CreateStoreList(std::initializer_list<Value> values);

} // namespace kova
