// The result tree without a window: the items of the parsed document in pre-order, read
// from the document when asked for, and the KeyRegistry their ItemCodes use.
#pragma once

#include "kova/Value.h"
#include "view/KeyRegistry.h"
#include "json/JsonModel.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace vivu {

// Windows' tree control takes only about 255 levels and draws deeper items wrongly, so
// none deeper than this goes into it (the root item has depth 0; a few levels are kept in
// hand). A container at this depth shows kTooDeepMark and no children; the items below it
// stay in the model, where paths, Go to and Find reach them.
inline constexpr int32_t kDeepestShownDepth = 250;

// Items are numbered by item index from 0 (the root item) in pre-order.
struct ItemRecord {
    int32_t parent = -1; // -1 for the root item
    int32_t depth = 0;   // 0 for the root item
    int32_t itemCode = 0;
    int32_t hasChildren = 0; // 1 for an object or array, even an empty one
};

// Every value of the document is an item, but only the items asked for (the children of
// what the tree control opened, what Go to and Find reached, and their ancestors) are
// kept; the others cost nothing until then. What the model keeps for the whole document
// is one small entry per non-empty object or array, which places any item index.
class ResultTreeModel {
public:
    // Replaces every item by the document in model; a model of kind none gives no
    // items. The document is held, so the model may change afterwards. Empties the
    // KeyRegistry first and registers every member key in document order.
    void Rebuild(const JsonModel& model, bool expandAll = true);

    int32_t ItemCount() const { return itemCount_; }
    bool IsItem(int32_t item) const { return item >= 0 && item < ItemCount(); }
    // False when there is no such item.
    bool ReadItemRecord(int32_t item, ItemRecord& record) const;

    // Unchecked accessors: item must satisfy IsItem.
    const ItemRecord& Record(int32_t item) const { return Kept(item).record; }
    std::string Label(int32_t item) const;
    uint8_t Image(int32_t item) const;
    uint8_t State(int32_t item) const; // ItemStateBits
    // The item index after the item's last descendant.
    int32_t SubtreeEnd(int32_t item) const { return Kept(item).subtreeEnd; }
    bool HasChildItems(int32_t item) const { return SubtreeEnd(item) > item + 1; }
    // -1 when there is none.
    int32_t FirstChild(int32_t item) const { return HasChildItems(item) ? item + 1 : -1; }
    int32_t NextSibling(int32_t item) const;
    // The child of item at position (from 0) among its members or elements; -1 when
    // there is none. Only the child is read, not the siblings before it.
    int32_t ChildAt(int32_t item, size_t position) const;
    // The member of an object item with exactly that key; -1 when there is none.
    int32_t MemberNamed(int32_t item, std::string_view key) const;
    // Where item stands among its parent's members or elements, from 0.
    size_t Position(int32_t item) const { return Kept(item).position; }
    // The value of an item, read in the document.
    kova::ValueRef Value(int32_t item) const { return Kept(item).value; }

    // An object or array, even an empty one, that the tree control may show expanded:
    // one above kDeepestShownDepth.
    bool CanExpand(int32_t item) const {
        return Record(item).hasChildren == 1 && Record(item).depth < kDeepestShownDepth;
    }
    // The item the tree control shows for item: item itself, or its ancestor at
    // kDeepestShownDepth when item lies deeper.
    int32_t ShownItem(int32_t item) const;

    // The items below the root that CanExpand, in pre-order: what expand all expands or
    // collapses. The root item always stays expanded. Reads the whole document.
    std::vector<int32_t> ExpandableItems() const;

    // The document the items were made from, item 0 its root; empty without items. Held
    // here because the model may take another document before the next rebuild.
    kova::ValueRef Document() const { return ItemCount() ? kova::ValueRef(document_) : kova::ValueRef(); }
    // The ItemCode of the child at position of container, a value of the document.
    int32_t ChildCode(const kova::ValueRef& container, size_t position) const;

    KeyRegistry& Keys() { return keys_; }
    const KeyRegistry& Keys() const { return keys_; }

private:
    // A non-empty object or array, in pre-order: the items of its subtree and its place.
    struct Span {
        int32_t item;
        int32_t end;       // the item after its last descendant
        int32_t parent;    // the Span of its parent container; -1 for the root
        uint32_t position; // among its parent's children, from 0
    };
    struct KeptItem {
        ItemRecord record;
        int32_t subtreeEnd = 0;
        int32_t span = -1;     // its Span when it is a non-empty container
        uint32_t position = 0; // among its parent's children
        kova::ValueRef value;
    };

    // The item, read from the document and kept when it was not yet.
    const KeptItem& Kept(int32_t item) const;
    // Keeps the child at position of the kept parent, with its Span or -1.
    const KeptItem& Keep(int32_t item, const KeptItem& parent, int32_t parentItem, size_t position, int32_t span) const;
    // The item index of the child at position of a kept container.
    int32_t ChildItem(const KeptItem& parent, int32_t parentItem, size_t position) const;
    // The Span after the last one of span's subtree.
    int32_t SpanAfter(int32_t span) const;
    // Lists the Spans and registers the keys, in one walk of the document.
    void MeasureDocument(const kova::ValueRef& root);

    int32_t itemCount_ = 0;
    bool expandAll_ = true;
    int32_t rootKind_ = 0;
    std::vector<Span> spans_;                            // the root's first
    std::vector<int32_t> keyNumbers_;                    // by the document's key number: the KeyRegistry's, 0 not yet
    mutable std::unordered_map<int32_t, KeptItem> kept_; // by item index
    // Where the last value that is no non-empty container was placed: the last Span starting
    // before it, the Span it lies in and that one's last container child before it.
    struct Place {
        int32_t found = -1, parent = -1, before = -1;
    };
    mutable Place lastPlace_;
    KeyRegistry keys_;
    kova::Value document_; // shares the model's storage, never copies it
};

} // namespace vivu
