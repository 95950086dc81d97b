// JSON text of values: the strict reader, the writer and the display text of scalars.
#pragma once

#include "kova/Value.h"

#include <string>
#include <string_view>

namespace kova {

// Strict JSON (RFC 8259) in UTF-8 into a value, without recursion. Integers that
// fit 32 bits become kTypeInt, 64 bits kTypeLong, other numbers kTypeDouble
// (keeping their text, which the writer writes back as it was read). Of duplicate
// keys the last value wins, at the first key's place. On failure errorOffset
// (when given) receives the byte offset where reading stopped.
bool ParseJsonText(std::string json, Value& root, size_t* errorOffset = nullptr);

// Bytes the reader appends to the text it keeps: a text with that much spare capacity is not copied.
inline constexpr size_t kJsonReadPadding = 4;

struct JsonWriteOptions {
    bool pretty = false;
    bool escapeUnicode = false;
    int keyOrder = 0;    // 0 document order, 1 ascending, 2 descending
    int decimals = 0;    // 0 shortest round trip
    size_t maxBytes = 0; // 0 no limit
    size_t sizeHint = 0; // the expected length, reserved ahead
    // Offsets of document values are set to where they stand in the written text.
    bool rebaseOffsets = false;
    // 0 writes everything; otherwise writing stops at about that length and the text
    // is cut there, at a character boundary: a beginning to show of a text too long to show.
    size_t truncateAt = 0;
};

// Empty when the text would be longer than options.maxBytes. Pretty text grows
// with the square of the nesting depth, so that case is refused before writing.
std::string WriteJsonText(const ValueRef& value, const JsonWriteOptions& options);

// Takes written text piece by piece, so that a large text is never held whole.
class JsonSink {
public:
    virtual ~JsonSink() = default;
    virtual void Take(std::string_view piece) = 0;
};
// The same text handed to sink in pieces of about a megabyte as it is written; only
// pretty, escapeUnicode, keyOrder and decimals of the options apply.
void WriteJsonText(const ValueRef& value, const JsonWriteOptions& options, JsonSink& sink);

// The bytes of line breaks and indentation the pretty text of value holds (found
// without writing it): the pretty text is the compact one, these bytes and one
// space after the colon of each member longer.
size_t PrettyLayoutBytes(const ValueRef& value);

// A number as JSON writes it: a number read from a document as it was read (with
// decimals > 0 its double in fixed form), the program's integers in decimal, its
// doubles in the shortest form that reads back (with ".0" when that form looks like
// an integer), non-finite doubles as "null".
std::string NumberText(const ValueRef& number, int decimals = 0);
void AppendNumberText(std::string& out, const ValueRef& number, int decimals = 0);

// The text a getter shows for a value (see Collection::GetString).
std::string DisplayText(const ValueRef& value);

} // namespace kova
