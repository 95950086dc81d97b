// The result tree in a real tree control under Wine: items, lazy insertion,
// selection, Go to, expand all and the double-click guard.
#include "ui/ResultTree.h"

#include "ViewDocuments.h"
#include "kova/Encoding.h"
#include "view/BuildNodePath.h"
#include "view/GoToPath.h"
#include "view/ItemLabel.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

using namespace vivu;
using vivu::test::LoadModel;

namespace {

constexpr wchar_t kHostClass[] = L"KovaResultTreeTestHost";

// A top-level window holding one tree control, passing the control's
// notifications to the ResultTree as the main window does.
class TreeHost {
public:
    explicit TreeHost(int32_t insertBudget = ResultTree::kInsertBudget) : tree(insertBudget) {
        INITCOMMONCONTROLSEX init{sizeof(init), ICC_TREEVIEW_CLASSES};
        InitCommonControlsEx(&init);
        HINSTANCE instance = GetModuleHandleW(nullptr);
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof(wc);
        if (!GetClassInfoExW(instance, kHostClass, &wc)) {
            wc.lpfnWndProc = Proc;
            wc.hInstance = instance;
            wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
            wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
            wc.lpszClassName = kHostClass;
            RegisterClassExW(&wc);
        }
        // Hidden: the control lays out and hit-tests all the same, and without a window
        // manager Wine waits for a shown top-level window to be withdrawn when it is destroyed.
        window = CreateWindowExW(0, kHostClass, L"结果树测试", WS_OVERLAPPEDWINDOW, 0, 0, 480, 600, nullptr, nullptr,
                                 instance, this);
        control =
            CreateWindowExW(WS_EX_CLIENTEDGE, WC_TREEVIEWW, L"",
                            WS_CHILD | WS_VISIBLE | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_SHOWSELALWAYS,
                            0, 0, 460, 560, window, nullptr, instance, nullptr);
        tree.Bind(control);
    }
    ~TreeHost() { DestroyWindow(window); }

    ResultTree tree;
    HWND window = nullptr;
    HWND control = nullptr;
    int32_t lastSelected = -2; // the selected node at the latest TVN_SELCHANGEDW
    int doubleClicks = 0;

private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_NCCREATE) {
            SetWindowLongPtrW(hwnd, GWLP_USERDATA,
                              reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
        }
        auto* host = reinterpret_cast<TreeHost*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
        if (message == WM_NOTIFY && host) return host->Notify(*reinterpret_cast<NMHDR*>(lParam));
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }

    LRESULT Notify(const NMHDR& header) {
        if (header.hwndFrom != control) return 0;
        const auto& info = reinterpret_cast<const NMTREEVIEWW&>(header);
        switch (header.code) {
        case TVN_ITEMEXPANDINGW:
            return tree.OnItemExpanding(info);
        case TVN_SELCHANGEDW:
            if (tree.OnSelectionChanged()) lastSelected = tree.SelectedItemIndex();
            return 0;
        case NM_DBLCLK:
            ++doubleClicks;
            tree.OnDoubleClick();
            return 0;
        }
        return 0;
    }
};

struct ControlItem {
    std::string text;
    int image = -1;
    int selectedImage = -1;
    bool bold = false;
    bool expanded = false;
    int32_t index = -1; // lParam
    int children = -1;
};

ControlItem Read(HWND control, HTREEITEM handle) {
    wchar_t text[512] = {};
    TVITEMW item{};
    item.mask = TVIF_HANDLE | TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_STATE | TVIF_PARAM | TVIF_CHILDREN;
    item.hItem = handle;
    item.pszText = text;
    item.cchTextMax = 512;
    item.stateMask = TVIS_BOLD | TVIS_EXPANDED;
    ControlItem read;
    if (!SendMessageW(control, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item))) return read;
    read.text = kova::WideToUtf8(text);
    read.image = item.iImage;
    read.selectedImage = item.iSelectedImage;
    read.bold = (item.state & TVIS_BOLD) != 0;
    read.expanded = (item.state & TVIS_EXPANDED) != 0;
    read.index = static_cast<int32_t>(item.lParam);
    read.children = item.cChildren;
    return read;
}

// Every item in the control, parents before children, siblings in order.
std::vector<HTREEITEM> PreOrder(HWND control) {
    std::vector<HTREEITEM> items;
    std::vector<HTREEITEM> pending;
    for (HTREEITEM h = TreeView_GetRoot(control); h; h = TreeView_GetNextSibling(control, h)) pending.push_back(h);
    std::reverse(pending.begin(), pending.end());
    while (!pending.empty()) {
        HTREEITEM h = pending.back();
        pending.pop_back();
        items.push_back(h);
        std::vector<HTREEITEM> children;
        for (HTREEITEM c = TreeView_GetChild(control, h); c; c = TreeView_GetNextSibling(control, c))
            children.push_back(c);
        pending.insert(pending.end(), children.rbegin(), children.rend());
    }
    return items;
}

bool Expanded(HWND control, HTREEITEM handle) {
    return (TreeView_GetItemState(control, handle, TVIS_EXPANDED) & TVIS_EXPANDED) != 0;
}

void DoubleClick(HWND control, HTREEITEM handle) {
    RECT text{};
    std::memcpy(&text, &handle, sizeof handle); // TVM_GETITEMRECT takes the item in the rectangle
    ASSERT_TRUE(SendMessageW(control, TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&text)));
    const LPARAM at = MAKELPARAM((text.left + text.right) / 2, (text.top + text.bottom) / 2);
    SendMessageW(control, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
    SendMessageW(control, WM_LBUTTONUP, 0, at);
}

// Pre-order items: 0 root, 1 s, 2 n, 3 t, 4 o, 5 x, 6 a, 7 [1], 8 [2], 9 e, 10 长
constexpr const char* kDocument =
    R"({"s":"文本","n":null,"t":true,"o":{"x":1.5},"a":[{},[]],"e":[],"长":"一二三四五六七八九十一二三四五六七八九十)"
    R"(一二三四五六七八九十一二三四五六七八九十一二三四五六七八九十一二三四五六七八九十一二三"})";

} // namespace

TEST(ResultTreeWin, FillsTheControlWithLabelsImagesAndStates) {
    TreeHost host;
    host.tree.Rebuild(LoadModel(kDocument), true);
    const struct {
        const char* text;
        int image;
        bool bold, expanded;
        int children;
    } expected[] = {
        {"{ 存取键值表 }", kImageObject, true, true, 1},
        {"s \"文本\"", kImageValue, false, false, 0},
        {"n ", kImageValue, false, false, 0},
        {"t 真", kImageValue, false, false, 0},
        {"o", kImageObject, true, true, 1},
        {"x 1.5", kImageValue, false, false, 0},
        {"a", kImageArray, true, true, 1},
        {"[1] ", kImageObject, true, true, 0},
        {"[2] ", kImageArray, true, true, 0},
        {"e", kImageArray, true, true, 0},
        {"长 \"一二三四五六七八九十一二三四五六七八九十一二三四五六七八九十一二三四五六七八九十"
         "一二三四五六七八九十一二三四五六七八九十...\"",
         kImageValue, false, false, 0},
    };
    const std::vector<HTREEITEM> items = PreOrder(host.control);
    ASSERT_EQ(items.size(), std::size(expected));
    for (size_t i = 0; i < items.size(); ++i) {
        SCOPED_TRACE("item " + std::to_string(i));
        const ControlItem read = Read(host.control, items[i]);
        EXPECT_EQ(read.text, expected[i].text);
        EXPECT_EQ(read.image, expected[i].image);
        EXPECT_EQ(read.selectedImage, expected[i].image);
        EXPECT_EQ(read.bold, expected[i].bold);
        EXPECT_EQ(read.expanded, expected[i].expanded);
        EXPECT_EQ(read.children, expected[i].children);
        EXPECT_EQ(read.index, static_cast<int32_t>(i));
        EXPECT_EQ(host.tree.Handle(static_cast<int32_t>(i)), items[i]);
    }
    HIMAGELIST images = TreeView_GetImageList(host.control, TVSIL_NORMAL);
    ASSERT_NE(images, nullptr);
    EXPECT_EQ(ImageList_GetImageCount(images), 3);
    int width = 0, height = 0;
    ImageList_GetIconSize(images, &width, &height);
    EXPECT_EQ(width, 16);
    EXPECT_EQ(height, 16);
}

TEST(ResultTreeWin, CollapsedItemsGetTheirChildrenWhenFirstExpanded) {
    TreeHost host;
    // 0 root, 1 o, 2 a, 3 b, 4 e, 5 v
    host.tree.Rebuild(LoadModel(R"({"o":{"a":{"b":1}},"e":{},"v":1})"), false);
    ASSERT_EQ(PreOrder(host.control).size(), 4u);
    HTREEITEM o = host.tree.Handle(1);
    ASSERT_NE(o, nullptr);
    EXPECT_TRUE(Expanded(host.control, host.tree.Handle(0)));
    EXPECT_FALSE(Expanded(host.control, o));
    EXPECT_EQ(Read(host.control, o).children, 1); // shows a button with nothing inserted below it
    EXPECT_EQ(Read(host.control, host.tree.Handle(4)).children, 0);
    EXPECT_EQ(TreeView_GetChild(host.control, o), nullptr);

    EXPECT_TRUE(TreeView_Expand(host.control, o, TVE_EXPAND));
    EXPECT_TRUE(Expanded(host.control, o));
    HTREEITEM a = TreeView_GetChild(host.control, o);
    ASSERT_NE(a, nullptr);
    const ControlItem read = Read(host.control, a);
    EXPECT_EQ(read.text, "a");
    EXPECT_EQ(read.index, 2);
    EXPECT_TRUE(read.bold);
    EXPECT_FALSE(read.expanded);
    EXPECT_EQ(host.tree.Handle(3), nullptr);
    EXPECT_EQ(PreOrder(host.control).size(), 5u);

    // Collapsing and expanding again inserts nothing twice.
    TreeView_Expand(host.control, o, TVE_COLLAPSE);
    TreeView_Expand(host.control, o, TVE_EXPAND);
    EXPECT_EQ(PreOrder(host.control).size(), 5u);
}

TEST(ResultTreeWin, SelectingAnItemInsertsTheWayToIt) {
    TreeHost host;
    host.tree.Rebuild(LoadModel(test::RecordsJson(1000)), false);
    const int32_t ok = host.tree.Model().ItemCount() - 1; // //[1000].owner.ok
    const int32_t owner = ok - 1, record = ok - 7;
    EXPECT_EQ(host.tree.Handle(ok), nullptr);
    ASSERT_TRUE(host.tree.Select(ok));
    EXPECT_EQ(host.tree.SelectedItemIndex(), ok);
    EXPECT_EQ(host.lastSelected, ok);
    EXPECT_EQ(Read(host.control, TreeView_GetSelection(host.control)).text, "ok 真");
    EXPECT_TRUE(Expanded(host.control, host.tree.Handle(record)));
    EXPECT_TRUE(Expanded(host.control, host.tree.Handle(owner)));
    EXPECT_EQ(host.tree.Handle(2), nullptr); // other records keep their children to themselves
    EXPECT_EQ(PreOrder(host.control).size(), 1u + 1000 + 4 + 1);

    EXPECT_FALSE(host.tree.Select(host.tree.Model().ItemCount()));
    EXPECT_EQ(host.tree.SelectedItemIndex(), ok);
}

// Deep enough that deleting the chain in one go would exhaust the stack under Wine, were it all in the control.
constexpr int kDeepNesting = 30'000;

TEST(ResultTreeWin, GoToADeepItemSelectsItsDeepestShownAncestor) {
    TreeHost host;
    host.tree.Rebuild(LoadModel(R"({"top":)" + test::DeepObjectJson(kDeepNesting) + "}"), true);
    const int32_t deepest = kDeepNesting, cut = kDeepestShownDepth; // in a chain an item's index is its depth
    const std::string path = BuildNodePath(host.tree.Model(), deepest);
    EXPECT_EQ(path.size(), std::string("//top").size() + 2 * (kDeepNesting - 1));

    const GoToResult found = GoToPath(host.tree.Model(), path);
    ASSERT_EQ(found.outcome, GoToResult::kFound);
    ASSERT_TRUE(host.tree.Select(found.item));
    EXPECT_EQ(host.tree.SelectedItemIndex(), deepest);
    EXPECT_EQ(host.lastSelected, deepest);
    EXPECT_EQ(BuildNodePath(host.tree.Model(), host.tree.SelectedItemIndex()), path);
    HTREEITEM shown = TreeView_GetSelection(host.control);
    EXPECT_EQ(shown, host.tree.Handle(cut));
    EXPECT_EQ(Read(host.control, shown).text, "k" + std::string(kTooDeepMark));
    EXPECT_EQ(Read(host.control, shown).children, 0);
    // Neither opening it, the keypad's "*" nor expand all puts anything below it.
    TreeView_Expand(host.control, shown, TVE_EXPAND);
    SendMessageW(host.control, WM_KEYDOWN, VK_MULTIPLY, 0);
    host.tree.ExpandAll(true);
    EXPECT_EQ(PreOrder(host.control).size(), static_cast<size_t>(cut + 1));
    EXPECT_EQ(host.tree.SelectedItemIndex(), deepest);

    // The control's selection stays on the cut item; the selected node still changes, and the parent hears of it.
    host.tree.Select(cut);
    EXPECT_EQ(host.lastSelected, cut);
    host.tree.Select(deepest - 1);
    EXPECT_EQ(host.lastSelected, deepest - 1);
    host.tree.OnDoubleClick();
    EXPECT_EQ(host.lastSelected, cut) << "a double-click opens the item clicked";
    host.tree.Select(deepest);
    TreeView_SelectItem(host.control, host.tree.Handle(1));
    TreeView_SelectItem(host.control, host.tree.Handle(cut)); // expand all put in new items
    EXPECT_EQ(host.lastSelected, cut) << "a selection the user makes replaces the deep node";

    // A path that names nothing leaves the selection alone.
    EXPECT_EQ(GoToPath(host.tree.Model(), "//top.k.x").outcome, GoToResult::kNotFound);
    EXPECT_EQ(host.tree.SelectedItemIndex(), cut);

    // The deep chain goes away with the next rebuild.
    host.tree.Rebuild(LoadModel(R"({"k":1})"), false);
    EXPECT_EQ(PreOrder(host.control).size(), 2u);
}

TEST(ResultTreeWin, DestroyingTheControlWithADeepChainInIt) {
    auto host = std::make_unique<TreeHost>();
    host->tree.Rebuild(LoadModel(test::DeepArrayJson(kDeepNesting)), true);
    ASSERT_TRUE(host->tree.Select(kDeepNesting - 1));
    EXPECT_EQ(host->tree.SelectedItemIndex(), kDeepNesting - 1);
    host.reset(); // the process survives the control's teardown
    SUCCEED();
}

TEST(ResultTreeWin, ExpandAllExpandsOrCollapsesEveryContainerButTheRoot) {
    TreeHost host;
    host.tree.Rebuild(LoadModel(kDocument), false);
    const ResultTreeModel& model = host.tree.Model();
    ASSERT_EQ(host.tree.SelectedItemIndex(), -1);

    host.tree.ExpandAll(true);
    EXPECT_EQ(PreOrder(host.control).size(), static_cast<size_t>(model.ItemCount()));
    for (int32_t item : model.ExpandableItems()) {
        if (model.HasChildItems(item)) {
            EXPECT_TRUE(Expanded(host.control, host.tree.Handle(item))) << item;
        }
    }
    EXPECT_EQ(host.tree.SelectedItemIndex(), 0); // nothing was selected: the root is
    EXPECT_EQ(host.lastSelected, 0);

    ASSERT_TRUE(host.tree.Select(5)); // o.x
    host.lastSelected = -2;
    host.tree.ExpandAll(false);
    EXPECT_EQ(host.lastSelected, -2) << "the same node again: nothing new for the parent";
    EXPECT_TRUE(Expanded(host.control, host.tree.Handle(0)));
    EXPECT_FALSE(Expanded(host.control, host.tree.Handle(6)));
    // The selected item is shown again, which opens its parent.
    EXPECT_EQ(host.tree.SelectedItemIndex(), 5);
    EXPECT_TRUE(Expanded(host.control, host.tree.Handle(4)));
}

TEST(ResultTreeWin, ExpandAllStopsExpandingAtTheBudget) {
    constexpr int32_t kBudget = 100;
    TreeHost host(kBudget);
    // 3 nodes per record: [n], id, t (empty); the root's children are all inserted whatever the budget.
    std::string json = "[";
    const int records = kBudget; // 3 * records items, far over the budget
    for (int n = 1; n <= records; ++n) json += std::string(n > 1 ? "," : "") + R"({"id":1,"t":[]})";
    json += "]";
    host.tree.Rebuild(LoadModel(json), true);
    const ResultTreeModel& model = host.tree.Model();
    const int32_t lastRecord = model.ItemCount() - 3;
    EXPECT_TRUE(Expanded(host.control, host.tree.Handle(1)));
    EXPECT_NE(host.tree.Handle(2), nullptr);
    EXPECT_NE(host.tree.Handle(lastRecord), nullptr);
    EXPECT_FALSE(Expanded(host.control, host.tree.Handle(lastRecord)));
    EXPECT_EQ(host.tree.Handle(lastRecord + 1), nullptr);
    const size_t inControl = PreOrder(host.control).size();
    EXPECT_LE(inControl, static_cast<size_t>(1 + records + kBudget));

    // Opening a container past the budget fills it, expanded as expand all asks.
    EXPECT_TRUE(TreeView_Expand(host.control, host.tree.Handle(lastRecord), TVE_EXPAND));
    EXPECT_EQ(Read(host.control, host.tree.Handle(lastRecord + 1)).text, "id 1");
    EXPECT_TRUE(Read(host.control, host.tree.Handle(lastRecord + 2)).expanded);

    // The keypad's "*" expands the selected item's subtree within the same budget.
    host.tree.Rebuild(LoadModel(json), false);
    ASSERT_TRUE(host.tree.Select(0));
    SendMessageW(host.control, WM_KEYDOWN, VK_MULTIPLY, 0);
    EXPECT_TRUE(Expanded(host.control, host.tree.Handle(1)));
    EXPECT_EQ(Read(host.control, host.tree.Handle(2)).text, "id 1");
    EXPECT_FALSE(Expanded(host.control, host.tree.Handle(lastRecord)));
    EXPECT_LE(PreOrder(host.control).size(), static_cast<size_t>(1 + records + kBudget));
}

TEST(ResultTreeWin, ADoubleClickRefusesExactlyOneExpansion) {
    TreeHost host;
    // 0 root, 1 o, 2 x, 3 p, 4 y, 5 v
    host.tree.Rebuild(LoadModel(R"({"o":{"x":1},"p":{"y":2},"v":3})"), false);
    HTREEITEM o = host.tree.Handle(1), p = host.tree.Handle(3);

    // On an object the double-click's own toggle is refused; the next expansion passes.
    DoubleClick(host.control, o);
    EXPECT_EQ(host.doubleClicks, 1);
    EXPECT_FALSE(Expanded(host.control, o));
    EXPECT_TRUE(TreeView_Expand(host.control, o, TVE_EXPAND));
    EXPECT_TRUE(Expanded(host.control, o));

    // On a value nothing toggles, so nothing is refused afterwards.
    DoubleClick(host.control, host.tree.Handle(5));
    EXPECT_EQ(host.doubleClicks, 2);
    EXPECT_TRUE(TreeView_Expand(host.control, p, TVE_EXPAND));
    EXPECT_TRUE(Expanded(host.control, p));
    EXPECT_EQ(Read(host.control, TreeView_GetChild(host.control, p)).text, "y 2");
}

TEST(ResultTreeWin, RebuildReplacesEveryItem) {
    TreeHost host;
    host.tree.Rebuild(LoadModel(kDocument), true);
    host.tree.Select(5);
    host.tree.Rebuild(LoadModel(R"([1,[2]])"), true);
    std::vector<std::string> texts;
    for (HTREEITEM h : PreOrder(host.control)) texts.push_back(Read(host.control, h).text);
    EXPECT_EQ(texts, (std::vector<std::string>{"[ 存取列表 ]", "[1] 1", "[2] ", "[1] 2"}));
    EXPECT_EQ(host.tree.SelectedItemIndex(), -1);
    host.tree.Rebuild(JsonModel{}, true);
    EXPECT_TRUE(PreOrder(host.control).empty());
    EXPECT_FALSE(host.tree.Select(0));
}
