// How one tree item looks: its label text, its image and its bold and expanded states.
#include "view/ItemLabel.h"

#include "kova/JsonText.h"
#include "kova/Value.h"
#include "view/TruncateValue.h"

#include <charconv>

namespace vivu {

std::string_view RootLabel(int32_t kind) {
    if (kind == kova::kTypeMap) return kObjectRootLabel;
    if (kind == kova::kTypeList) return kArrayRootLabel;
    return {};
}

uint8_t ItemImageOf(int32_t type) {
    if (type == kova::kTypeMap) return kImageObject;
    if (type == kova::kTypeList) return kImageArray;
    return kImageValue;
}

uint8_t ItemStateOf(int32_t type, bool expanded) {
    if (!kova::IsContainerType(type)) return 0;
    return expanded ? kStateBold | kStateExpanded : kStateBold;
}

void AppendMemberKeyLabel(std::string& out, std::string_view key, int32_t type) {
    out += key;
    if (!kova::IsContainerType(type)) out += ' ';
}

void AppendElementKeyLabel(std::string& out, int64_t position) {
    char digits[16];
    const auto end = std::to_chars(digits, digits + sizeof digits, position).ptr;
    out += '[';
    out.append(digits, end);
    out += "] ";
}

void AppendValueLabel(std::string& out, int32_t type, std::string_view valueText) {
    const bool quoted = kova::IsTextType(type);
    if (quoted) out += '"';
    const size_t cut = TruncationPoint(valueText);
    if (cut == std::string_view::npos) {
        out += valueText;
    } else {
        out += valueText.substr(0, cut);
        out += kTruncationMark;
    }
    if (quoted) out += '"';
}

std::string ChildLabel(const kova::ValueRef& container, size_t position, bool tooDeep) {
    const kova::ValueRef value = container.At(position);
    const int32_t type = value.Type();
    std::string label;
    if (container.Type() == kova::kTypeMap) {
        AppendMemberKeyLabel(label, container.KeyAt(position), type);
    } else {
        AppendElementKeyLabel(label, static_cast<int64_t>(position) + 1);
    }
    if (kova::IsContainerType(type)) {
        if (tooDeep && value.Count() > 0) label += kTooDeepMark;
    } else if (kova::IsTextType(type)) {
        AppendValueLabel(label, type, value.Str()); // no copy of a long text just to cut it
    } else {
        AppendValueLabel(label, type, kova::DisplayText(value));
    }
    return label;
}

} // namespace vivu
