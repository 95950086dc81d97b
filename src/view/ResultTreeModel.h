// The result tree without a window: one record, label, image and state per node
// of the parsed document, in pre-order, and the KeyRegistry their ItemCodes use.
#pragma once

#include "kova/Value.h"
#include "view/KeyRegistry.h"
#include "json/JsonModel.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vivu {

// Windows' tree control takes only about 255 levels and draws deeper items wrongly, so
// none deeper than this goes into it (the root item has depth 0; a few levels are kept in
// hand). A container at this depth shows kTooDeepMark and no children; the items below it
// stay in the model, where paths, Go to and Find reach them.
inline constexpr int32_t kDeepestShownDepth = 250;

// Items are numbered by item index from 0 (the root item) in creation order.
struct ItemRecord {
    int32_t parent = -1; // -1 for the root item
    int32_t depth = 0;   // 0 for the root item
    int32_t itemCode = 0;
    int32_t hasChildren = 0; // 1 for an object or array, even an empty one
};

class ResultTreeModel {
public:
    // Replaces every item by the document in model; a model of kind none gives no
    // items. Labels are copied, so the model may change afterwards. Empties the
    // KeyRegistry first and registers every member key as its item is added.
    void Rebuild(const JsonModel& model, bool expandAll = true);

    int32_t ItemCount() const { return static_cast<int32_t>(records_.size()); }
    bool IsItem(int32_t item) const { return item >= 0 && item < ItemCount(); }
    // False when there is no such item.
    bool ReadItemRecord(int32_t item, ItemRecord& record) const;

    // Unchecked accessors: item must satisfy IsItem.
    const ItemRecord& Record(int32_t item) const { return records_[item]; }
    std::string_view Label(int32_t item) const;
    uint8_t Image(int32_t item) const { return looks_[item].image; }
    uint8_t State(int32_t item) const { return looks_[item].state; } // ItemStateBits
    // The item index after the item's last descendant.
    int32_t SubtreeEnd(int32_t item) const { return looks_[item].subtreeEnd; }
    bool HasChildItems(int32_t item) const { return SubtreeEnd(item) > item + 1; }
    // -1 when there is none.
    int32_t FirstChild(int32_t item) const { return HasChildItems(item) ? item + 1 : -1; }
    int32_t NextSibling(int32_t item) const;

    // An object or array, even an empty one, that the tree control may show expanded:
    // one above kDeepestShownDepth.
    bool CanExpand(int32_t item) const {
        return Record(item).hasChildren == 1 && Record(item).depth < kDeepestShownDepth;
    }
    // The item the tree control shows for item: item itself, or its ancestor at
    // kDeepestShownDepth when item lies deeper.
    int32_t ShownItem(int32_t item) const;

    // The items below the root that CanExpand, in pre-order: what expand all expands or
    // collapses. The root item always stays expanded.
    std::vector<int32_t> ExpandableItems() const;

    // The document the items were made from, item 0 its root; empty without items. Held
    // here because the model may take another document before the next rebuild.
    kova::ValueRef Document() const { return ItemCount() ? kova::ValueRef(document_) : kova::ValueRef(); }

    KeyRegistry& Keys() { return keys_; }
    const KeyRegistry& Keys() const { return keys_; }

private:
    struct ItemLook {
        size_t labelStart = 0; // into labels_; the label ends where the next one starts
        int32_t subtreeEnd = 0;
        uint8_t image = 0;
        uint8_t state = 0;
    };

    // Adds the items below the root item with an explicit stack, so documents nest
    // deeper than the call stack allows; items come out in pre-order all the same.
    void AddChildren(const kova::ValueRef& root, bool expandAll);
    // Starts an item whose label the caller appends to labels_ next.
    int32_t AddItem(int32_t parent, int32_t type, int32_t code, int32_t depth, bool expanded);

    std::vector<ItemRecord> records_;
    std::vector<ItemLook> looks_;
    std::string labels_; // every label, one after the other
    KeyRegistry keys_;
    kova::Value document_; // shares the model's storage, never copies it
};

} // namespace vivu
