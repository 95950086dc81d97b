// The result tree without a window: items placed by the Spans of the containers and
// read from the document when first asked for.
#include "view/ResultTreeModel.h"

#include "kova/Value.h"
#include "view/ItemCode.h"
#include "view/ItemLabel.h"

#include <algorithm>

namespace vivu {

namespace {

kova::ValueRef RootOf(const JsonModel& model) {
    if (model.kind == kRootObject) return model.object.Root();
    if (model.kind == kRootArray) return model.array.Root();
    return kova::ValueRef();
}

bool IsNonEmptyContainer(const kova::ValueRef& value) {
    return kova::IsContainerType(value.Type()) && value.Count() > 0;
}

} // namespace

void ResultTreeModel::Rebuild(const JsonModel& model, bool expandAll) {
    itemCount_ = 0;
    spans_.clear();
    lastPlace_ = {};
    spans_.shrink_to_fit(); // the next document may be far smaller
    keyNumbers_.clear();
    kept_.clear();
    keys_.Clear();
    document_ = kova::Value();
    expandAll_ = expandAll;
    rootKind_ = model.kind;
    const kova::ValueRef root = RootOf(model);
    if (!root) return;
    document_ = model.kind == kRootObject ? model.object.AsValue() : model.array.AsValue();
    MeasureDocument(kova::ValueRef(document_));
    KeptItem& top = kept_[0];
    top.record = {-1, 0, kRootItemCode, 1};
    top.subtreeEnd = itemCount_;
    top.span = 0;
    top.value = Document();
}

void ResultTreeModel::MeasureDocument(const kova::ValueRef& root) {
    const kova::Node* rootNode = root.DocumentNode();
    if (rootNode) spans_.reserve(root.DocumentOwner()->NodeCount() / 4);
    struct Frame {
        kova::ValueRef container;
        bool isMap;
        int32_t span;
        size_t next; // the next member or element
        size_t count;
    };
    spans_.push_back({0, 0, -1, 0});
    std::vector<Frame> stack{{root, root.Type() == kova::kTypeMap, 0, 0, root.Count()}};
    int32_t item = 1;
    while (!stack.empty()) {
        Frame& top = stack.back();
        if (top.next >= top.count) {
            spans_[top.span].end = item;
            stack.pop_back();
            continue;
        }
        const size_t at = top.next++;
        const kova::ValueRef value = top.container.At(at);
        if (top.isMap) {
            // The document numbers its keys in the order it met them, which is this order too:
            // only a key met for the first time costs a look-up.
            const kova::Node* node = rootNode ? value.DocumentNode() : nullptr;
            if (!node) {
                keys_.RegisterKey(top.container.KeyAt(at));
            } else {
                const uint32_t id = node->KeyId();
                if (id >= keyNumbers_.size()) keyNumbers_.resize(id + 1, 0);
                if (!keyNumbers_[id]) keyNumbers_[id] = keys_.RegisterKey(top.container.KeyAt(at)) - kKeyCodeBase;
            }
        }
        if (IsNonEmptyContainer(value)) {
            const int32_t span = static_cast<int32_t>(spans_.size());
            spans_.push_back({item, 0, top.span, static_cast<uint32_t>(at)});
            stack.push_back({value, value.Type() == kova::kTypeMap, span, 0, value.Count()}); // top invalid now
        }
        ++item;
    }
    itemCount_ = item;
}

int32_t ResultTreeModel::ChildCode(const kova::ValueRef& container, size_t position) const {
    if (container.Type() != kova::kTypeMap) return IndexCode(static_cast<int64_t>(position) + 1);
    const kova::Node* node = keyNumbers_.empty() ? nullptr : container.At(position).DocumentNode();
    if (node && node->KeyId() < keyNumbers_.size()) return kKeyCodeBase + keyNumbers_[node->KeyId()];
    return keys_.CodeOf(container.KeyAt(position));
}

const ResultTreeModel::KeptItem& ResultTreeModel::Kept(int32_t item) const {
    if (auto found = kept_.find(item); found != kept_.end()) return found->second;
    // The last container starting at or before item, then up to the one item lies in.
    int32_t span = static_cast<int32_t>(
        std::upper_bound(spans_.begin(), spans_.end(), item, [](int32_t i, const Span& s) { return i < s.item; }) -
        spans_.begin() - 1);
    int32_t parentSpan;
    size_t position;
    int32_t ownSpan = -1;
    if (spans_[span].item == item) {
        ownSpan = span;
        parentSpan = spans_[span].parent;
        position = spans_[span].position;
    } else {
        const Place& last = lastPlace_;
        int32_t before = -1; // the last container child of the parent before item
        if (span == last.found && (last.before < 0 || item >= spans_[last.before].end) &&
            item < spans_[last.parent].end) {
            // A sibling of the item placed last: no walk up, which costs the depth after a deep subtree.
            before = last.before;
            span = last.parent;
        } else {
            lastPlace_.found = span;
            while (item >= spans_[span].end) {
                before = span;
                span = spans_[span].parent;
            }
            lastPlace_.parent = span;
            lastPlace_.before = before;
        }
        parentSpan = span;
        position = before < 0 ? static_cast<size_t>(item - spans_[span].item - 1)
                              : spans_[before].position + 1 + static_cast<size_t>(item - spans_[before].end);
    }
    // Ancestors not kept yet, nearest first; the root always is.
    std::vector<int32_t> missing;
    for (int32_t s = parentSpan; !kept_.count(spans_[s].item); s = spans_[s].parent) missing.push_back(s);
    for (auto s = missing.rbegin(); s != missing.rend(); ++s) {
        const int32_t parentItem = spans_[spans_[*s].parent].item;
        Keep(spans_[*s].item, kept_.at(parentItem), parentItem, spans_[*s].position, *s);
    }
    const int32_t parentItem = spans_[parentSpan].item;
    return Keep(item, kept_.at(parentItem), parentItem, position, ownSpan);
}

const ResultTreeModel::KeptItem& ResultTreeModel::Keep(int32_t item, const KeptItem& parent, int32_t parentItem,
                                                       size_t position, int32_t span) const {
    KeptItem kept;
    kept.value = parent.value.At(position);
    kept.record = {parentItem, parent.record.depth + 1, ChildCode(parent.value, position),
                   kova::IsContainerType(kept.value.Type()) ? 1 : 0};
    kept.subtreeEnd = span >= 0 ? spans_[span].end : item + 1;
    kept.span = span;
    kept.position = static_cast<uint32_t>(position);
    return kept_.emplace(item, kept).first->second;
}

bool ResultTreeModel::ReadItemRecord(int32_t item, ItemRecord& record) const {
    if (!IsItem(item)) return false;
    record = Record(item);
    return true;
}

std::string ResultTreeModel::Label(int32_t item) const {
    const KeptItem& kept = Kept(item);
    if (item == 0) return std::string(RootLabel(rootKind_));
    return ChildLabel(Kept(kept.record.parent).value, kept.position, kept.record.depth == kDeepestShownDepth);
}

uint8_t ResultTreeModel::Image(int32_t item) const {
    return ItemImageOf(item == 0 ? rootKind_ : Kept(item).value.Type());
}

uint8_t ResultTreeModel::State(int32_t item) const {
    if (item == 0) return ItemStateOf(rootKind_, true);
    const KeptItem& kept = Kept(item);
    return ItemStateOf(kept.value.Type(), expandAll_ && kept.record.depth < kDeepestShownDepth);
}

int32_t ResultTreeModel::NextSibling(int32_t item) const {
    const int32_t parent = Record(item).parent;
    if (parent < 0) return -1;
    const int32_t next = SubtreeEnd(item);
    return next < SubtreeEnd(parent) ? next : -1;
}

int32_t ResultTreeModel::SpanAfter(int32_t span) const {
    const int32_t end = spans_[span].end;
    return static_cast<int32_t>(std::lower_bound(spans_.begin() + span + 1, spans_.end(), end,
                                                 [](const Span& s, int32_t i) { return s.item < i; }) -
                                spans_.begin());
}

int32_t ResultTreeModel::ChildItem(const KeptItem& parent, int32_t parentItem, size_t position) const {
    // Past each container child before position by its Span, past each other child by one.
    int32_t item = parentItem + 1;
    size_t at = 0;
    for (int32_t s = parent.span + 1;
         s < static_cast<int32_t>(spans_.size()) && spans_[s].parent == parent.span && spans_[s].position < position;
         s = SpanAfter(s)) {
        item = spans_[s].end;
        at = spans_[s].position + 1;
    }
    return item + static_cast<int32_t>(position - at);
}

int32_t ResultTreeModel::ChildAt(int32_t item, size_t position) const {
    if (!IsItem(item)) return -1;
    const KeptItem& parent = Kept(item);
    if (position >= parent.value.Count()) return -1;
    const int32_t child = ChildItem(parent, item, position);
    Kept(child);
    return child;
}

int32_t ResultTreeModel::MemberNamed(int32_t item, std::string_view key) const {
    if (!IsItem(item)) return -1;
    const int position = Kept(item).value.FindMember(key);
    return position < 0 ? -1 : ChildAt(item, static_cast<size_t>(position));
}

int32_t ResultTreeModel::ShownItem(int32_t item) const {
    for (int32_t depth = Record(item).depth; depth > kDeepestShownDepth; --depth) item = Record(item).parent;
    return item;
}

std::vector<int32_t> ResultTreeModel::ExpandableItems() const {
    std::vector<int32_t> items;
    if (!ItemCount()) return items;
    struct Frame {
        kova::ValueRef container;
        size_t next;
    };
    std::vector<Frame> stack{{Document(), 0}};
    int32_t item = 0;
    while (!stack.empty()) {
        Frame& top = stack.back();
        if (top.next >= top.container.Count()) {
            stack.pop_back();
            continue;
        }
        const kova::ValueRef value = top.container.At(top.next++);
        ++item;
        if (!kova::IsContainerType(value.Type())) continue;
        // The stack holds the ancestors: its size is the depth.
        if (static_cast<int32_t>(stack.size()) < kDeepestShownDepth) items.push_back(item);
        stack.push_back({value, 0}); // top invalid now
    }
    return items;
}

} // namespace vivu
