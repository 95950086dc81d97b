// The result tree control `树型框_结果` fed from a ResultTreeModel.
#include "ui/ResultTree.h"

#include "kova/Encoding.h"
#include "ui/ControlColours.h"
#include "ui/TreeImages.h"
#include "ui/WindowBase.h"
#include "view/ItemLabel.h"

#include <algorithm>
#include <cstdint>
#include <string>

namespace vivu {

namespace {

// Keeps the control from drawing and laying out items while many are inserted;
// it lays out everything once at the end.
class RedrawLock {
public:
    explicit RedrawLock(HWND tree) : tree_(tree) { SendMessageW(tree_, WM_SETREDRAW, FALSE, 0); }
    ~RedrawLock() {
        SendMessageW(tree_, WM_SETREDRAW, TRUE, 0);
        InvalidateRect(tree_, nullptr, TRUE);
    }
    RedrawLock(const RedrawLock&) = delete;
    RedrawLock& operator=(const RedrawLock&) = delete;

private:
    HWND tree_;
};

} // namespace

constexpr UINT_PTR kInputSubclassId = 2;

ResultTree::~ResultTree() {
    if (tree_) {
        RemoveWindowSubclass(tree_, InputProc, kInputSubclassId);
        TreeView_SetImageList(tree_, nullptr, TVSIL_NORMAL);
    }
    if (images_) ImageList_Destroy(images_);
}

void ResultTree::Bind(HWND tree) {
    tree_ = tree;
    if (!images_) images_ = CreateTreeImages();
    TreeView_SetImageList(tree_, images_, TVSIL_NORMAL);
    SetWindowSubclass(tree_, InputProc, kInputSubclassId, reinterpret_cast<DWORD_PTR>(this));
}

LRESULT CALLBACK ResultTree::InputProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                       DWORD_PTR self) {
    auto* tree = reinterpret_cast<ResultTree*>(self);
    // The hook stays on while it runs, and stops counting as running also when what it ran failed.
    struct Running {
        int& count;
        explicit Running(int& running) : count(++running) {}
        ~Running() { --count; }
        Running(const Running&) = delete;
        Running& operator=(const Running&) = delete;
    };
    // Expanding allocates: a failure is reported by the window the tree belongs to, as any handler's.
    return WindowBase::Guarded(
        hwnd,
        [&]() -> LRESULT {
            switch (message) {
            case WM_LBUTTONDBLCLK: {
                // The control sends NM_DBLCLK, then toggles the item if it has children. Whatever
                // expansion the double-click caused has been answered once this returns; a double-click
                // that caused none must not refuse the next one.
                LRESULT result = 0;
                {
                    const Running running(tree->inputRunning_);
                    result = DefSubclassProc(hwnd, message, wParam, lParam);
                }
                tree->guard_.DoubleClickHandled();
                return result;
            }
            case WM_KEYDOWN:
                if (wParam == VK_MULTIPLY) { // the control would insert a whole subtree, however large
                    const Running running(tree->inputRunning_);
                    tree->ExpandSubtree(tree->ControlSelection());
                    return 0;
                }
                break;
            case WM_NCDESTROY:
                RemoveWindowSubclass(hwnd, InputProc, id);
                break;
            default:
                break;
            }
            return DefSubclassProc(hwnd, message, wParam, lParam);
        },
        // Only what the hook took over fails, and the control must not do it after all: its own "*" would
        // insert the whole subtree.
        [] { return LRESULT{0}; });
}

LRESULT ResultTree::OnCustomDraw(NMTVCUSTOMDRAW& draw) const {
    if (draw.nmcd.dwDrawStage == CDDS_PREPAINT) return CDRF_NOTIFYITEMDRAW;
    if (draw.nmcd.dwDrawStage != CDDS_ITEMPREPAINT || GetFocus() == tree_) return CDRF_DODEFAULT;
    // Without the focus the control paints the selection in the button face, which hardly
    // differs from the white behind it: after Go to nothing would show which node was chosen.
    const auto item = reinterpret_cast<HTREEITEM>(draw.nmcd.dwItemSpec);
    if (TreeView_GetItemState(tree_, item, TVIS_SELECTED) & TVIS_SELECTED) {
        const ControlColours selected = SystemColours(COLOR_HIGHLIGHTTEXT, COLOR_HIGHLIGHT);
        draw.clrText = selected.text;
        draw.clrTextBk = selected.back;
    }
    return CDRF_DODEFAULT;
}

void ResultTree::ClearControl() {
    if (!tree_) return;
    TreeView_SelectItem(tree_, nullptr);
    deepSelection_ = -1;
    TreeView_DeleteAllItems(tree_);
    handles_.clear();
}

void ResultTree::Rebuild(const JsonModel& model, bool expandAll) {
    if (!tree_) return;
    RedrawLock lock(tree_);
    ClearControl();
    handles_.clear(); // before the model changes: a notification may ask for an item meanwhile
    model_.Rebuild(model, expandAll);
    expandAll_ = expandAll;
    Refill();
}

int32_t ResultTree::SelectedItemIndex() const {
    const int32_t selected = ControlSelection();
    return deepSelection_ >= 0 && selected >= 0 && model_.ShownItem(deepSelection_) == selected ? deepSelection_
                                                                                                : selected;
}

int32_t ResultTree::ControlSelection() const {
    if (!tree_) return -1;
    HTREEITEM selected = TreeView_GetSelection(tree_);
    if (!selected) return -1;
    TVITEMW item{};
    item.mask = TVIF_HANDLE | TVIF_PARAM;
    item.hItem = selected;
    if (!TreeView_GetItem(tree_, &item)) return -1;
    return static_cast<int32_t>(item.lParam);
}

bool ResultTree::Select(int32_t item) {
    if (!model_.IsItem(item) || !Handle(0)) return false;
    const int32_t before = SelectedItemIndex();
    const int32_t shown = model_.ShownItem(item);
    InsertChain(shown);
    const int32_t parent = model_.Record(shown).parent;
    if (parent >= 0) TreeView_EnsureVisible(tree_, Handle(parent));
    TreeView_EnsureVisible(tree_, Handle(shown));
    deepSelection_ = item != shown ? item : -1;
    selecting_ = true;
    if (TreeView_GetSelection(tree_) != Handle(shown)) {
        TreeView_SelectItem(tree_, Handle(shown));
    } else if (item != before) {
        AnnounceSelection();
    }
    selecting_ = false;
    return true;
}

void ResultTree::OnDoubleClick() {
    guard_.DoubleClicked();
    if (deepSelection_ < 0) return;
    deepSelection_ = -1;
    AnnounceSelection();
}

void ResultTree::AnnounceSelection() {
    NMTREEVIEWW info{};
    info.hdr.hwndFrom = tree_;
    info.hdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(tree_));
    info.hdr.code = TVN_SELCHANGEDW;
    info.action = TVC_UNKNOWN;
    info.itemNew.mask = TVIF_HANDLE | TVIF_PARAM;
    info.itemNew.hItem = TreeView_GetSelection(tree_);
    info.itemNew.lParam = ControlSelection();
    info.itemOld = info.itemNew;
    SendMessageW(GetParent(tree_), WM_NOTIFY, info.hdr.idFrom, reinterpret_cast<LPARAM>(&info));
}

void ResultTree::ExpandSubtree(int32_t item) {
    if (!model_.IsItem(item) || !Handle(item) || !model_.HasChildItems(item) || !model_.CanExpand(item)) return;
    {
        RedrawLock lock(tree_);
        RemoveChildren(item); // inserted collapsed before: put back expanded
        InsertChildren(item, true);
    }
    TreeView_Expand(tree_, Handle(item), TVE_EXPAND);
}

void ResultTree::RemoveChildren(int32_t item) {
    const int32_t end = model_.SubtreeEnd(item);
    // The control takes each child's descendants with it.
    for (int32_t i = model_.FirstChild(item); i >= 0; i = model_.NextSibling(i)) {
        if (HTREEITEM handle = Handle(i)) TreeView_DeleteItem(tree_, handle);
    }
    std::erase_if(handles_, [&](const auto& entry) { return entry.first > item && entry.first < end; });
}

void ResultTree::ExpandAll(bool on) {
    if (!tree_) return;
    const int32_t remembered = std::max(SelectedItemIndex(), 0);
    expandAll_ = on;
    {
        RedrawLock lock(tree_);
        ClearControl();
        Refill();
    }
    Select(remembered);
}

LRESULT ResultTree::OnItemExpanding(const NMTREEVIEWW& info) {
    if (!guard_.AllowExpansion()) return TRUE;
    const int32_t item = static_cast<int32_t>(info.itemNew.lParam);
    // The item is not expanded yet, so the control takes its new children without laying anything out.
    if ((info.action & (TVE_COLLAPSE | TVE_EXPAND)) == TVE_EXPAND && Handle(item) == info.itemNew.hItem) {
        InsertChildren(item, expandAll_);
    }
    return FALSE;
}

HTREEITEM ResultTree::Handle(int32_t item) const {
    const auto found = handles_.find(item);
    return found != handles_.end() ? found->second : nullptr;
}

void ResultTree::Refill() {
    handles_.clear();
    if (model_.ItemCount() == 0) return;
    InsertItem(0, true); // the root is always expanded
    InsertChildren(0, expandAll_);
}

void ResultTree::InsertItem(int32_t item, bool expanded) {
    const int32_t parent = model_.Record(item).parent;
    const std::wstring label = kova::Utf8ToWide(model_.Label(item));
    TVINSERTSTRUCTW insert{};
    insert.hParent = parent >= 0 ? Handle(parent) : TVI_ROOT;
    // Windows finds the last child by walking the siblings: children go in last to first, each at the front.
    insert.hInsertAfter = TVI_FIRST;
    TVITEMW& tv = insert.item;
    tv.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM | TVIF_STATE | TVIF_CHILDREN;
    tv.pszText = const_cast<wchar_t*>(label.c_str());
    tv.iImage = model_.Image(item);
    tv.iSelectedImage = tv.iImage;
    tv.lParam = item;
    tv.state = ((model_.State(item) & kStateBold) ? TVIS_BOLD : 0) | (expanded ? TVIS_EXPANDED : 0);
    tv.stateMask = TVIS_BOLD | TVIS_EXPANDED;
    // The button shows before the children are inserted; an empty object or array gets
    // none, and neither does a container whose children are too deep for the control.
    tv.cChildren = model_.HasChildItems(item) && model_.CanExpand(item) ? 1 : 0;
    handles_[item] = TreeView_InsertItem(tree_, &insert);
}

void ResultTree::InsertChildren(int32_t item, bool expandAll, std::span<const int32_t> open) {
    const int32_t first = model_.FirstChild(item);
    if (first < 0 || Handle(first) || !model_.CanExpand(item)) return; // children go in all at once
    // Under Wine a subclassed control costs a server round trip per message, 25 times the
    // insertion itself: the input hook comes off while items go in, unless it is what runs.
    struct InputHookOff {
        ResultTree& tree;
        const bool off;
        explicit InputHookOff(ResultTree& t) : tree(t), off(t.inputRunning_ == 0) {
            if (off) RemoveWindowSubclass(tree.tree_, InputProc, kInputSubclassId);
        }
        ~InputHookOff() {
            if (off) SetWindowSubclass(tree.tree_, InputProc, kInputSubclassId, reinterpret_cast<DWORD_PTR>(&tree));
        }
    } hookOff(*this);
    // Which items go in and which of them open is decided in document order, as far as the budget goes.
    struct Planned {
        int32_t item;
        bool expanded;
    };
    std::vector<Planned> plan;
    const int32_t end = model_.SubtreeEnd(item);
    int32_t budget = insertBudget_;
    size_t nextOpen = 0;
    for (int32_t i = first; i < end; --budget) {
        const bool onTheWay = nextOpen < open.size() && open[nextOpen] == i;
        if (onTheWay) ++nextOpen;
        const bool expanded = model_.CanExpand(i) && (onTheWay || (expandAll && budget > 0));
        plan.push_back({i, expanded});
        // Below an expanded item go on with its first child, otherwise skip its subtree.
        i = expanded ? i + 1 : model_.SubtreeEnd(i);
    }
    // Each planned item's next sibling in the plan (pre-order: an item's children come right after it).
    constexpr size_t kNone = SIZE_MAX;
    std::vector<size_t> nextSibling(plan.size(), kNone);
    std::vector<size_t> lastAtDepth; // by depth below item: the plan index of the latest item there
    const int32_t topDepth = model_.Record(first).depth;
    for (size_t k = 0; k < plan.size(); ++k) {
        const size_t depth = static_cast<size_t>(model_.Record(plan[k].item).depth - topDepth);
        if (lastAtDepth.size() > depth) {
            nextSibling[lastAtDepth[depth]] = k;
            lastAtDepth.resize(depth + 1);
            lastAtDepth[depth] = k;
        } else {
            lastAtDepth.push_back(k);
        }
    }
    // Parents go in before their children, siblings last to first (the stack gives them back reversed).
    std::vector<size_t> pending;
    for (size_t k = 0; k != kNone; k = nextSibling[k]) pending.push_back(k);
    while (!pending.empty()) {
        const size_t k = pending.back();
        pending.pop_back();
        InsertItem(plan[k].item, plan[k].expanded);
        if (plan[k].expanded && k + 1 < plan.size() && model_.Record(plan[k + 1].item).parent == plan[k].item)
            for (size_t child = k + 1; child != kNone; child = nextSibling[child]) pending.push_back(child);
    }
}

void ResultTree::InsertChain(int32_t item) {
    std::vector<int32_t> open; // ancestors of item that are not in the control, deepest first
    int32_t top = model_.Record(item).parent;
    for (int32_t at = item; at > 0 && !Handle(at); at = model_.Record(at).parent) {
        top = model_.Record(at).parent;
        if (at != item) open.push_back(at);
    }
    if (top < 0 || Handle(item)) return;
    std::reverse(open.begin(), open.end()); // pre-order meets them in ascending order
    RedrawLock lock(tree_);
    InsertChildren(top, expandAll_, open);
}

} // namespace vivu
