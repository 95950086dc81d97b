// The result tree control `树型框_结果` fed from a ResultTreeModel.
#pragma once

#include "view/DoubleClickGuard.h"
#include "view/ResultTreeModel.h"
#include "json/JsonModel.h"

#include <windows.h>

#include <commctrl.h>

#include <cstdint>
#include <span>
#include <unordered_map>
#include <vector>

namespace vivu {

// Items reach the control only when they can be seen: the root with its children
// at first, the children of an item when it is first expanded, and with expand
// all the items below, up to an insert budget at a time (containers past the budget
// go in collapsed and fill when opened). None deeper than kDeepestShownDepth ever
// goes in. The model covers every node all the time, so paths, Go to and ExpandAll
// do not depend on what the control holds. Each control item's lParam is its item index.
class ResultTree {
public:
    // Items one insertion expands at most; a control's cost grows faster than its item count.
    static constexpr int32_t kInsertBudget = 50'000;

    explicit ResultTree(int32_t insertBudget = kInsertBudget) : insertBudget_(insertBudget) {}
    ~ResultTree();
    ResultTree(const ResultTree&) = delete;
    ResultTree& operator=(const ResultTree&) = delete;

    // Remembers the tree control and gives it the item images. Once, before anything else.
    void Bind(HWND tree);
    HWND Control() const { return tree_; }

    // Replaces every item by the document in model: deletes the old items and keeps
    // the control from drawing until the new ones are in place.
    void Rebuild(const JsonModel& model, bool expandAll = true);

    ResultTreeModel& Model() { return model_; }
    const ResultTreeModel& Model() const { return model_; }

    // The selected node: the control's selected item, or the deeper item Select chose
    // below it. -1 when nothing is selected.
    int32_t SelectedItemIndex() const;
    // Makes item visible (its parent first) and selects it, inserting the items on
    // the way. An item deeper than the control shows is selected as the item Go to and
    // Find reached, while the control selects its ancestor at kDeepestShownDepth; when
    // that one was selected already the control says nothing, so the parent is sent
    // TVN_SELCHANGEDW as the control would send it. False when there is no such item.
    bool Select(int32_t item);
    // Expands item and the containers below it as far as the insert budget goes (the
    // keypad's "*" on the selected item). Containers past the budget stay collapsed.
    void ExpandSubtree(int32_t item);
    // Expands (on) or collapses every object and array item but the root, then
    // shows and selects the item selected before, or the root when there was none.
    // The control is refilled rather than told item by item, which is far faster.
    void ExpandAll(bool on);

    // NM_DBLCLK from the control. The double-click is on the control's selected item:
    // a deeper item Select chose gives way to it, and the parent is told.
    void OnDoubleClick();
    // TVN_SELCHANGEDW from the control, before anything asks for the selected node. A
    // selection the user makes replaces the deeper item Select chose.
    void OnSelectionChanged() {
        if (!selecting_) deepSelection_ = -1;
    }
    // NM_CUSTOMDRAW from the control; the window procedure returns the result. Paints the
    // selected item highlighted also while the control does not have the focus.
    LRESULT OnCustomDraw(NMTVCUSTOMDRAW& draw) const;
    // TVN_ITEMEXPANDINGW from the control; the window procedure returns the result
    // (TRUE refuses the expansion or collapse).
    LRESULT OnItemExpanding(const NMTREEVIEWW& info);

    // The control's item for an item index; null while it is not inserted.
    HTREEITEM Handle(int32_t item) const;

private:
    // The control's own handling of a double-click and of the keypad's "*", taken over.
    static LRESULT CALLBACK InputProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                      DWORD_PTR self);
    // The item index of the control's selected item; -1 for none.
    int32_t ControlSelection() const;
    // Sends the parent TVN_SELCHANGEDW for the control's selected item, whose node changed.
    void AnnounceSelection();
    // Removes the selection (without it the control would select a neighbour of
    // each deleted item, and the window would show its details) and every item.
    void ClearControl();
    // Replaces the control's items by the root and what lies open below it.
    void Refill();
    // Inserts one item, expanded or not, as the last child of its parent's control item.
    void InsertItem(int32_t item, bool expanded);
    // Inserts the children of item when they are not there yet, in pre-order: the
    // items in open (ascending item indexes) expanded with their children, and with
    // expandAll the other containers too while the budget lasts.
    void InsertChildren(int32_t item, bool expandAll, std::span<const int32_t> open = {});
    // Takes every item below item out of the control.
    void RemoveChildren(int32_t item);
    // Inserts what lies on the way from the root to item, expanded.
    void InsertChain(int32_t item);

    HWND tree_ = nullptr;
    HIMAGELIST images_ = nullptr;
    ResultTreeModel model_;
    DoubleClickGuard guard_;
    int32_t insertBudget_;
    bool expandAll_ = true;                          // containers inserted from now on are expanded
    std::unordered_map<int32_t, HTREEITEM> handles_; // of the items in the control, by item index
    int32_t deepSelection_ = -1;                     // an item below the control's selected item, which Select chose
    bool selecting_ = false;                         // Select is changing the control's selection
    int inputRunning_ = 0;                           // the input hook is on the stack: it stays on
};

} // namespace vivu
