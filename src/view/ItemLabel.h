// How one tree item looks: its label text, its image and its bold and expanded states.
#pragma once

#include "kova/Value.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace vivu {

inline constexpr std::string_view kObjectRootLabel = "{ 存取键值表 }";
inline constexpr std::string_view kArrayRootLabel = "[ 存取列表 ]";
// Follows the label of a container whose items are too deep for the tree control; the
// double-click that opens its content is the way into them.
inline constexpr std::string_view kTooDeepMark = "（层级过深，双击查看）";

// Indexes into the tree control's image list.
enum ItemImage : uint8_t { kImageValue = 0, kImageObject = 1, kImageArray = 2 };

enum ItemStateBits : uint8_t { kStateBold = 1, kStateExpanded = 2 };

// The root item's label for a document kind (11 or 12); empty for any other kind.
std::string_view RootLabel(int32_t kind);

uint8_t ItemImageOf(int32_t type);

// Containers are bold, and expanded when asked; other values have no state bits.
uint8_t ItemStateOf(int32_t type, bool expanded);

// An object member's key label: the key, with one space after it unless the value is a container.
void AppendMemberKeyLabel(std::string& out, std::string_view key, int32_t type);

// An array element's key label "[n] ", the space kept for containers too.
void AppendElementKeyLabel(std::string& out, int64_t position);

// What follows the key label: the value text, shortened by TruncateValue and in
// double quotes for texts.
void AppendValueLabel(std::string& out, int32_t type, std::string_view valueText);

// The whole label of the child at position of container: key label, then value label,
// then kTooDeepMark for a non-empty container whose items the control cannot show.
std::string ChildLabel(const kova::ValueRef& container, size_t position, bool tooDeep);

} // namespace vivu
