// What tables (JMap) and lists (JList) share: JSON text, typed getters and
// setters by key, position or path.
#pragma once

#include "kova/Value.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace kova {

class JMap;
class JList;

// Options of ToJSON.
enum KeyOrder { kKeyOrderNone = 0, kKeyOrderAscending = 1, kKeyOrderDescending = 2 };

// A reference-counted, copy-on-write container: copies and values handed out
// by GetMap/GetList share storage until one of them is written. Every key
// argument that begins with "//" is a path (see NodePath.h); other keys name
// a member of a table directly. A list takes positions from 1.
class Collection {
public:
    // Parses strict JSON. Succeeds only when the root is of this collection's
    // kind; the content is replaced only on success. source: "UTF-8" or "GBK".
    bool FromJSON(std::string_view json, std::string_view sourceEncoding = "UTF-8");
    // The same for UTF-8 text the document may keep: no copy of it is made.
    bool TakeJSON(std::string&& json);
    // Where parsing stopped and why, after a FromJSON that failed.
    size_t LastErrorOffset() const { return errorOffset_; }

    // pretty: CR LF line breaks and 4-space indentation. escapeUnicode: non-ASCII
    // as \uXXXX. decimals: 0 writes doubles in the shortest text that reads back
    // to the same double; n > 0 writes n digits after the point. maxBytes (0: no
    // limit): an empty text instead of one longer than that.
    std::string ToJSON(bool pretty, bool escapeUnicode = false, int keyOrder = kKeyOrderNone, int decimals = 0,
                       size_t maxBytes = 0) const;

    // kTypeMissing when nothing is there.
    int32_t GetType(std::string_view key) const;
    // Display text: integers in decimal, booleans "真"/"假", null empty, texts as
    // they are, doubles as in JSON, tables and lists as compact JSON.
    std::string GetString(std::string_view key) const;
    int64_t GetInt(std::string_view key) const;
    bool GetBool(std::string_view key) const;
    // True with the value in receiver; false with receiver emptied when the
    // value is missing or of another kind.
    bool GetMap(std::string_view key, JMap& receiver) const;
    bool GetList(std::string_view key, JList& receiver) const;
    bool Exists(std::string_view key) const;

    // Setting by path creates the tables (and lists, for a "[n]" segment that
    // appends) on the way; a value in the way that is not a container is replaced.
    bool SetString(std::string_view key, std::string_view text);
    bool Setter(std::string_view key, Value value);
    bool SetList(std::string_view key, const JList& list);

    int Count() const;
    void Clear();

    // The value itself, for readers that walk a whole document; empty when nothing is there.
    ValueRef Find(std::string_view key) const;
    // This table or list, for readers that walk it.
    ValueRef Root() const { return ValueRef(root_); }
    // This table or list as a value, e.g. to store it inside another one.
    const Value& AsValue() const { return root_; }

    // Writes text that reads back as this table or list (compact or pretty as in
    // ToJSON) and makes the offsets of a parsed document's values point into that
    // text, so the document stays in step with an editor that now holds it: every
    // value where it stands, each place its own. A document this collection alone
    // reads keeps its values; otherwise (copies share it, the program set values)
    // the collection becomes the text read back, as the editor would read it.
    // sizeHint: the expected length. Empty when longer than maxBytes.
    std::string RewriteJSON(bool pretty, size_t sizeHint, size_t maxBytes);

protected:
    explicit Collection(int32_t type) : type_(type), root_(Value::OfContainer(type, nullptr)) {}
    ValueRef FindAt(int64_t position) const;
    Value* FindForWrite(std::string_view key);
    Value* FindForWriteAt(int64_t position);
    // Refers to found when it is of this collection's kind; emptied and false otherwise.
    bool ShareFrom(const ValueRef& found);
    Container& Writable() { return root_.Writable(); }

    int32_t type_;
    Value root_;
    size_t errorOffset_ = 0;

    friend class JMap;
    friend class JList;
};

} // namespace kova
