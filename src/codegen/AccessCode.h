// The snippet that reads the selected node from the loaded document, and the table behind it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vivu {

// One row of the access table, keyed by the data library's type code of a value.
struct AccessRow {
    std::string_view declarationType; // the host language's type; also what the type box shows
    std::string_view getter;          // the root variable's typed read method
    std::string_view resultVariable;  // only for tables and lists, empty otherwise
};

// The row of typeCode; a code outside the table gives a row of empty texts.
AccessRow FindAccessRow(int32_t typeCode);

// The type box text for a node's type code: "<空>", "整数型", ..., empty outside the table.
std::string_view DeclarationTypeName(int32_t typeCode);

// The name the snippets give the document's root: "键值表" for an object root (kind 11),
// "列表" for an array root (kind 12), empty for any other kind.
std::string_view RootVariableName(int32_t rootKind);

// The lines of the snippet that reads the node at nodePath from a document of rootKind:
// ".版本 2", ".支持库 kova", for a table or list a ".局部变量" declaration of the result
// variable, then the getter call. The path goes between the quotation marks unchanged, its
// own escapes included. No lines at all when rootKind is neither 11 nor 12.
// The selection handler joins the lines with JoinCodeLines (codegen/CodeLines.h) for the
// code box and shows DeclarationTypeName(typeCode) in the type box.
std::vector<std::string> AccessCodeGenerator(int32_t rootKind, int32_t typeCode, std::string_view nodePath);

} // namespace vivu
