// What the main window does with a large document, step by step, with the real editor and
// tree controls: load a file into the editor, "解析" to the tree, select the largest node
// (the node panel's texts) and open it (the view editor's text). Prints the time of each
// step and the process memory after parsing.
// usage: window-bench FILE [nowrap] [directwrite] [threads] [edit]
//   nowrap: the main editor without line wrapping; directwrite: both editors draw with DirectWrite
//   instead of GDI; threads: both editors lay a line out on as many threads as there are processors
//   (Scintilla does so only with DirectWrite: GDI's measuring is not thread-safe); edit: the content box
//   and the plain view's box are Windows' edit boxes, as they were before
#include "editor/EditorStyle.h"
#include "kova/Encoding.h"
#include "kova/File.h"
#include "ui/ControlBuilder.h"
#include "ui/ResultTree.h"
#include "view/EditBoxText.h"
#include "view/FindInText.h"
#include "view/FindNode.h"
#include "view/NodePanel.h"
#include "view/NodeTextRange.h"
#include "json/JsonIntake.h"

#include <windows.h>

#include <Scintilla.h>
#include <commctrl.h>
#include <psapi.h>

#include <chrono>
#include <cstdio>
#include <thread>

namespace {

class PrintingReporter : public vivu::FailureReporter {
public:
    void ShowFailure(const std::string& text, const std::string& title) override {
        std::printf("failure: %s (%s)\n", text.c_str(), title.c_str());
    }
};

using Clock = std::chrono::steady_clock;

void Step(const char* name, Clock::time_point start, const char* extra = "") {
    std::printf("%-44s %8.2f s %s\n", name, std::chrono::duration<double>(Clock::now() - start).count(), extra);
}

void PrintMemory(const char* when, size_t fileBytes) {
    PROCESS_MEMORY_COUNTERS_EX counters{};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters), sizeof counters);
    std::printf("%-44s %8.0f MB working set (%.1f x the file), peak %.0f MB\n", when, counters.WorkingSetSize / 1e6,
                double(counters.WorkingSetSize) / fileBytes, counters.PeakWorkingSetSize / 1e6);
}

void Pump() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) return 64;
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_TREEVIEW_CLASSES};
    InitCommonControlsEx(&controls);
    HWND window = CreateWindowExW(0, L"static", L"bench", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 900, 700, nullptr,
                                  nullptr, GetModuleHandleW(nullptr), nullptr);
    HWND treeControl = CreateWindowExW(0, WC_TREEVIEWW, L"", WS_CHILD | WS_VISIBLE | TVS_HASBUTTONS | TVS_HASLINES, 450,
                                       0, 440, 660, window, nullptr, GetModuleHandleW(nullptr), nullptr);
    vivu::EditorComponent component;
    vivu::CodeEditor editor(component);
    vivu::CreateJsonEditor(editor, window, nullptr);
    editor.Move(0, 0, 440, 660);
    vivu::JsonModel model;
    PrintingReporter reporter;
    vivu::JsonIntake intake(editor, model, reporter);
    vivu::ResultTree tree;
    tree.Bind(treeControl);
    std::string error;

    auto start = Clock::now();
    std::string text;
    if (!kova::ReadFileBytes(kova::WideToUtf8(argv[1]), text)) return 1;
    const size_t fileBytes = text.size();
    auto option = [argc, argv](const wchar_t* name) {
        for (int i = 2; i < argc; ++i)
            if (std::wstring(argv[i]) == name) return true;
        return false;
    };
    auto setUp = [&](vivu::CodeEditor& e) {
        if (option(L"directwrite")) e.SendEditorMessage(SCI_SETTECHNOLOGY, SC_TECHNOLOGY_DIRECTWRITE);
        if (option(L"threads")) e.SendEditorMessage(SCI_SETLAYOUTTHREADS, std::thread::hardware_concurrency());
    };
    setUp(editor);
    std::printf("technology %d, layout threads %d\n", int(editor.SendEditorMessage(SCI_GETTECHNOLOGY)),
                int(editor.SendEditorMessage(SCI_GETLAYOUTTHREADS)));
    if (option(L"nowrap")) editor.SendEditorMessage(SCI_SETWRAPMODE, SC_WRAP_NONE);
    intake.LoadEditorText(text, error, false);
    text = std::string();
    Step("file into the editor", start);
    start = Clock::now();
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    Step("its first paint", start);
    start = Clock::now();
    Pump();
    Step("the editor's work in idle time (wrapping)", start);
    PrintMemory("after the load", fileBytes);

    start = Clock::now();
    if (!intake.ParseJson(error, true)) return 1;
    Step("parse", start);
    start = Clock::now();
    tree.Rebuild(model, false);
    Pump();
    Step("tree (expand all off)", start);
    PrintMemory("after parse and tree", fileBytes);
    start = Clock::now();
    const int32_t nowhere = vivu::FindNode(tree.Model(), "no such text anywhere", -1);
    Step("find: every node read, nothing found", start, nowhere < 0 ? "" : "(found?)");
    start = Clock::now();
    const size_t notInText = vivu::FindInText(editor.CharacterView(), "no such text anywhere", 0);
    Step("find in the editor: the whole text, nothing found", start,
         notInText == std::string_view::npos ? "" : "(found?)");
    // 在编辑器中显示 of the whole document and of its last node: the text range, then selected and painted
    // (scrolling to the end of a one-line document lays the whole line out).
    for (const int32_t item : {0, tree.Model().ItemCount() - 1}) {
        start = Clock::now();
        const auto range = vivu::ItemTextRange(tree.Model(), item, model, editor.CharacterView());
        Step(item ? "在编辑器中显示 of the last node: its range" : "在编辑器中显示 of the root: its range", start,
             range ? "" : "(no range?)");
        start = Clock::now();
        if (range) editor.SetSelection(static_cast<int64_t>(range->end), static_cast<int64_t>(range->start));
        RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        Step("  selected, scrolled to and painted", start);
    }

    // The node with the most descendants below the root: what a user double-clicks to see it all.
    const vivu::ResultTreeModel& items = tree.Model();
    int32_t largest = -1;
    for (int32_t i = 1; i < items.ItemCount(); i = items.SubtreeEnd(i))
        if (largest < 0 || items.SubtreeEnd(i) - i > items.SubtreeEnd(largest) - largest) largest = i;
    if (largest < 0) return 0;
    start = Clock::now();
    tree.Select(largest);
    vivu::CurrentNode current;
    const auto panel = vivu::NodePanel(items, model, largest, current);
    Step("select the largest node (panel texts)", start);
    std::printf("  node %d with %d items, content box text %.1f MB\n", largest, items.SubtreeEnd(largest) - largest,
                panel ? panel->content.size() / 1e6 : 0.0);

    // The content box and the plain view's box as the windows make them (edit: Windows' edit box, as before).
    const vivu::ControlKind textBox =
        option(L"edit") ? vivu::ControlKind::MultiLineEdit : vivu::ControlKind::LongTextEdit;
    vivu::FontCache fonts;
    auto intoTextBox = [&](const std::string& text, int width, int height) {
        HWND box = vivu::CreateControl(textBox, window, 1, 0, 0, width, height, "", fonts.Get({}, 96));
        SetWindowTextW(box, kova::Utf8ToWide(text).c_str());
        RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        DestroyWindow(box);
    };
    start = Clock::now();
    if (panel) intoTextBox(panel->content, 274, 212);
    Step("its content box, painted", start);

    start = Clock::now();
    const vivu::NodeContentText content = vivu::NodeContent(items, model, largest, current);
    Step("its content for the view", start);
    start = Clock::now();
    vivu::CodeEditor viewEditor(component);
    if (content.isJson) {
        vivu::CreateJsonEditor(viewEditor, window, nullptr);
        setUp(viewEditor);
        viewEditor.AddText(content.text);
        RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        Step("into the view editor, painted", start);
    } else {
        intoTextBox(vivu::EditBoxText(content.text), 539, 315);
        Step("into the plain view's box, painted", start);
    }
    PrintMemory("at the end", fileBytes);
    DestroyWindow(window);
    return 0;
}
