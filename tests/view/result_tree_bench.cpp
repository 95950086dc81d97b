// Rebuild times of the result tree on generated documents, natively (the model)
// and on Windows (the model and a real tree control).
// usage: result-tree-bench [KIND:SIZE...]   KIND records (SIZE records of 8 nodes), deep (SIZE levels of
//        nesting), flat (an array of SIZE numbers); default records:125000, 1,000,001 nodes.
//        result-tree-bench --show   (Windows) shows a filled tree with a deep node selected until closed.
#include "ViewDocuments.h"
#include "view/BuildNodePath.h"
#include "view/GoToPath.h"
#include "view/ResultTreeModel.h"
#ifdef _WIN32
#include "ui/ResultTree.h"
#endif

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

template <typename F> double Seconds(F&& f) {
    const auto start = Clock::now();
    f();
    return std::chrono::duration<double>(Clock::now() - start).count();
}

std::string Document(std::string_view kind, int size) {
    if (kind == "deep") return vivu::test::DeepArrayJson(size);
    if (kind == "flat") {
        std::string json = "[";
        for (int i = 0; i < size; ++i) {
            if (i) json += ',';
            json += std::to_string(i);
        }
        return json + "]";
    }
    return vivu::test::RecordsJson(size);
}

void MeasureModel(const vivu::JsonModel& model, const std::string& name) {
    for (bool expandAll : {false, true}) {
        vivu::ResultTreeModel tree;
        double best = 1e9;
        for (int run = 0; run < 3; ++run) best = std::min(best, Seconds([&] { tree.Rebuild(model, expandAll); }));
        const int32_t last = tree.ItemCount() - 1;
        const std::string path = vivu::BuildNodePath(tree, last);
        vivu::GoToResult found;
        const double goTo = Seconds([&] { found = vivu::GoToPath(tree, path); });
        std::printf("%-16s model    expand %-3s %9d items  rebuild %7.3f s  go to last %7.4f s\n", name.c_str(),
                    expandAll ? "on" : "off", tree.ItemCount(), best, goTo);
        std::fflush(stdout);
    }
}

#ifdef _WIN32

constexpr wchar_t kHostClass[] = L"KovaResultTreeBenchHost";

// A window holding the tree control and passing its notifications on, as the main window does.
LRESULT CALLBACK HostProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        SetWindowLongPtrW(hwnd, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
    }
    auto* tree = reinterpret_cast<vivu::ResultTree*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (message == WM_NOTIFY && tree) {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        if (header->code == TVN_ITEMEXPANDINGW)
            return tree->OnItemExpanding(*reinterpret_cast<const NMTREEVIEWW*>(lParam));
        if (header->code == NM_DBLCLK) tree->OnDoubleClick();
        return 0;
    }
    if (message == WM_DESTROY) PostQuitMessage(0);
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

HWND CreateHost(vivu::ResultTree& tree, bool visible) {
    INITCOMMONCONTROLSEX init{sizeof(init), ICC_TREEVIEW_CLASSES};
    InitCommonControlsEx(&init);
    HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = HostProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = kHostClass;
    RegisterClassExW(&wc);
    HWND host = CreateWindowExW(0, kHostClass, L"结果树", WS_OVERLAPPEDWINDOW | (visible ? WS_VISIBLE : 0), 0, 0, 520,
                                640, nullptr, nullptr, instance, &tree);
    HWND control =
        CreateWindowExW(WS_EX_CLIENTEDGE, WC_TREEVIEWW, L"",
                        WS_CHILD | WS_VISIBLE | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_SHOWSELALWAYS, 4,
                        4, 496, 592, host, nullptr, instance, nullptr);
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    tree.Bind(control);
    return host;
}

void MeasureControl(const vivu::JsonModel& model, const std::string& name) {
    vivu::ResultTree tree;
    HWND host = CreateHost(tree, false);
    HWND control = tree.Control();
    for (bool expandAll : {false, true}) {
        const double rebuild = Seconds([&] { tree.Rebuild(model, expandAll); });
        const auto inControl = static_cast<long>(TreeView_GetCount(control));
        const int32_t last = tree.Model().ItemCount() - 1;
        const double select = Seconds([&] { tree.Select(last); });
        const auto afterSelect = static_cast<long>(TreeView_GetCount(control));
        const double clear = Seconds([&] { tree.Rebuild(vivu::JsonModel{}, expandAll); });
        std::printf("%-16s control  expand %-3s %9ld in control  rebuild %7.3f s  select last %7.3f s (%ld in control)"
                    "  clear %7.3f s\n",
                    name.c_str(), expandAll ? "on" : "off", inControl, rebuild, select, afterSelect, clear);
        std::fflush(stdout);
    }
    tree.Rebuild(model, false);
    tree.Select(tree.Model().ItemCount() - 1);
    const double expand = Seconds([&] { tree.ExpandAll(true); });
    const double collapse = Seconds([&] { tree.ExpandAll(false); });
    const double clear = Seconds([&] { tree.Rebuild(vivu::JsonModel{}, false); });
    std::printf("%-16s control  ExpandAll on %7.3f s  off %7.3f s  clear %7.3f s\n", name.c_str(), expand, collapse,
                clear);
    std::fflush(stdout);
    DestroyWindow(host);
}

// A small document with every kind of value, a long text and a node selected deep down.
int Show() {
    vivu::ResultTree tree;
    CreateHost(tree, true); // destroyed when the user closes it, which ends the loop below
    const std::string json =
        R"({"name":"KOVA.Json助手","version":"1.2.1","count":42,"ratio":0.75,"enabled":true,"disabled":false,)"
        R"("nothing":null,"empty":{},"tags":["json","树",[1,2]],"owner":{"uid":10086,"note":)"
        R"("这是一段很长的备注文字，用来展示超过一百二十个字节的文本在树中被截断以后的样子，后面还有更多的文字。",)"
        R"("a.b\\c":{"deep":[{"x":1}]}},"list":[{"id":1},{"id":2}]})";
    tree.Rebuild(vivu::test::LoadModel(json), false);
    const vivu::GoToResult found = vivu::GoToPath(tree.Model(), "//owner.a\\.b\\\\c.deep[1].x");
    if (found.outcome == vivu::GoToResult::kFound) tree.Select(found.item);
    SetFocus(tree.Control());
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}

#endif

} // namespace

int main(int argc, char** argv) {
    std::vector<std::string> runs(argv + 1, argv + argc);
#ifdef _WIN32
    if (!runs.empty() && runs[0] == "--show") return Show();
#endif
    if (runs.empty()) runs.push_back("records:125000");
    for (const std::string& run : runs) {
        const size_t colon = run.find(':');
        const std::string kind = run.substr(0, colon);
        const int size = colon == std::string::npos ? 0 : std::atoi(run.c_str() + colon + 1);
        vivu::JsonModel model;
        const std::string json = Document(kind, size);
        const double parse = Seconds([&] { model = vivu::test::LoadModel(json); });
        const std::string name = run;
        std::printf("%-16s parse %.3f s (%.1f MB)\n", name.c_str(), parse, json.size() / 1e6);
        MeasureModel(model, name);
#ifdef _WIN32
        MeasureControl(model, name);
#endif
    }
    return 0;
}
