// The result page of the real main window: tree, node details, Go to, expand all, the view of a node.
#include "app/ProcessObjects.h"
#include "support/win/MessageBoxWatcher.h"
#include "support/win/PopupMenuReader.h"
#include "support/win/WindowWatcher.h"
#include "ui/Clipboard.h"
#include "ui/DibSurface.h"
#include "ui/MainWindow.h"
#include "view/NodePanel.h"
#include "view/ViewDocuments.h"

#include <Scintilla.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

using namespace vivu;
using vivu::test::ControlText;

namespace {

// A tree control's subclass: the number of items at each paint.
LRESULT CALLBACK RecordItemsPainted(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR seen) {
    if (message == WM_PAINT) reinterpret_cast<std::vector<UINT>*>(seen)->push_back(TreeView_GetCount(hwnd));
    return DefSubclassProc(hwnd, message, wParam, lParam);
}

class ResultPage : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = std::filesystem::temp_directory_path() /
               ("kova-result-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        std::filesystem::remove_all(dir_);
        std::filesystem::create_directories(dir_);
        objects_.programDir = dir_.string();
        objects_.Create();
        window_ = std::make_unique<MainWindow>(objects_);
        ASSERT_TRUE(window_->Create(SW_SHOWNOACTIVATE));
        objects_.mainEditor->AddText(R"({"a": {"b.c": [10, [20, 30]]}, "x\\y": null, "s": "文本", "n": 5000000000,
                                         "list": [{"k": true}], "empty": {}})");
        window_->ParseCommand();
    }
    void TearDown() override {
        DestroyWindow(window_->Handle());
        MSG quit; // the window posts WM_QUIT when destroyed; a later modal loop must not see it
        while (PeekMessageW(&quit, nullptr, 0, 0, PM_REMOVE)) {
        }
        window_.reset();
        objects_.TearDown();
        std::filesystem::remove_all(dir_);
    }
    std::string Text(MainControl id) { return ControlText(window_->Control(id)); }
    void GoTo(const std::string& path) {
        SetWindowTextW(window_->Control(MainControl::编辑框_结果_路径), kova::Utf8ToWide(path).c_str());
        window_->GoToPath();
    }
    // A key as the message loop hands it to the window, with Ctrl or Shift held; true when used.
    bool Press(WPARAM key, int modifier = 0) {
        BYTE keys[256] = {};
        keys[modifier] = modifier ? 0x80 : 0;
        SetKeyboardState(keys);
        const MSG message{window_->Control(MainControl::树型框_结果), WM_KEYDOWN, key, 0, 0, {}};
        const bool used = window_->TranslateShortcut(message);
        keys[modifier] = 0;
        SetKeyboardState(keys);
        return used;
    }
    // Ctrl+F, answered with query; gives the prompt and the text the box started with.
    std::pair<std::string, std::string> Find(const std::string& query) {
        std::pair<std::string, std::string> seen;
        test::WindowWatcher box("查找", [&](HWND w) {
            seen = {ControlText(GetDlgItem(w, 100)), ControlText(GetDlgItem(w, 101))};
            SetWindowTextW(GetDlgItem(w, 101), kova::Utf8ToWide(query).c_str());
            SendMessageW(w, WM_COMMAND, IDOK, 0);
        });
        EXPECT_TRUE(Press('F', VK_CONTROL));
        return seen;
    }
    std::filesystem::path dir_;
    ProcessObjects objects_;
    std::unique_ptr<MainWindow> window_;
};

} // namespace

TEST_F(ResultPage, SelectingANodeShowsItsDetails) {
    ResultTree& tree = *objects_.resultTree;
    ASSERT_GT(tree.Model().ItemCount(), 10);
    GoTo("//a.b\\.c[2].[1]");
    EXPECT_EQ(Text(MainControl::编辑框_结果_路径), "//a.b\\.c[2].[1]");
    EXPECT_EQ(Text(MainControl::编辑框_结果_类型), "整数型");
    EXPECT_EQ(Text(MainControl::编辑框_结果_内容), "20");
    EXPECT_EQ(Text(MainControl::编辑框_结果), ".版本 2\r\n.支持库 kova\r\n键值表.取整数 (“//a.b\\.c[2].[1]”)");

    GoTo("//a");
    EXPECT_EQ(Text(MainControl::编辑框_结果_类型), "存取键值表");
    EXPECT_EQ(Text(MainControl::编辑框_结果_内容),
              "{\r\n    \"b.c\": [\r\n        10,\r\n        [\r\n            20,\r\n"
              "            30\r\n        ]\r\n    ]\r\n}");
    EXPECT_NE(Text(MainControl::编辑框_结果).find(".局部变量 结果键值表, 存取键值表"), std::string::npos);

    GoTo("//x\\\\y");
    EXPECT_EQ(Text(MainControl::编辑框_结果_类型), "<空>");
    GoTo("n");
    EXPECT_EQ(Text(MainControl::编辑框_结果_路径), "//n") << "a plain key reaches a top-level member";
    EXPECT_EQ(Text(MainControl::编辑框_结果_类型), "长整数型");
    GoTo("//list[1].k");
    EXPECT_EQ(Text(MainControl::编辑框_结果_路径), "//list[1].k");
    EXPECT_EQ(Text(MainControl::编辑框_结果_类型), "逻辑型");

    tree.Select(0);
    EXPECT_EQ(Text(MainControl::编辑框_结果_路径), "//list[1].k") << "the root keeps the last path";
    EXPECT_EQ(Text(MainControl::编辑框_结果_类型), "") << "the root item has no type, content or code";
    EXPECT_EQ(Text(MainControl::编辑框_结果_内容), "");
    EXPECT_EQ(Text(MainControl::编辑框_结果), "");

    // Go to leaves the focus in the path box; the tree still shows which node it chose.
    GoTo("//s");
    SetFocus(window_->Control(MainControl::编辑框_结果_路径));
    HWND control = window_->Control(MainControl::树型框_结果);
    EXPECT_TRUE(GetWindowLongPtrW(control, GWL_STYLE) & TVS_SHOWSELALWAYS);
    RECT label{}, client{};
    ASSERT_TRUE(TreeView_GetItemRect(control, TreeView_GetSelection(control), &label, TRUE));
    GetClientRect(control, &client);
    DibSurface shot;
    shot.Resize(client.right, client.bottom);
    SendMessageW(control, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(shot.Dc()), PRF_CLIENT | PRF_ERASEBKGND);
    GdiFlush();
    EXPECT_EQ(shot.Pixel(label.left + 1, (label.top + label.bottom) / 2), GetSysColor(COLOR_HIGHLIGHT));

    objects_.mainEditor->ClearAll();
    objects_.mainEditor->AddText("[1]");
    std::vector<UINT> itemsPainted; // the tree paints empty before the rebuild, and never the last document
    SetWindowSubclass(control, RecordItemsPainted, 1, reinterpret_cast<DWORD_PTR>(&itemsPainted));
    window_->ParseCommand();
    RemoveWindowSubclass(control, RecordItemsPainted, 1);
    EXPECT_EQ(itemsPainted, std::vector<UINT>{0});
    for (MainControl box : {MainControl::编辑框_结果_路径, MainControl::编辑框_结果_类型, MainControl::编辑框_结果_内容,
                            MainControl::编辑框_结果})
        EXPECT_EQ(Text(box), "") << "a new document starts with empty boxes " << static_cast<int>(box);
    SendMessageW(window_->Control(MainControl::选择框_结果_全部展开), BM_CLICK, 0, 0); // selects the root
    EXPECT_EQ(Text(MainControl::编辑框_结果_路径), "") << "no path of the last document";
}

TEST_F(ResultPage, GoToFailuresAreReported) {
    HWND path = window_->Control(MainControl::编辑框_结果_路径);
    SetWindowTextW(path, L"//s");
    EXPECT_TRUE(window_->TranslateShortcut({path, WM_KEYDOWN, VK_RETURN, 0, 0, {}})) << "Enter there is 转到";
    test::MessageBoxWatcher watcher;
    GoTo("//");
    GoTo("//a.missing");
    GoTo("//[1]");
    GoTo("");
    const auto boxes = watcher.Seen();
    ASSERT_EQ(boxes.size(), 3u) << "an empty path does nothing";
    EXPECT_EQ(boxes[0].text, "无法解析的路径格式");
    EXPECT_EQ(boxes[0].title, "无法跳转");
    EXPECT_EQ(boxes[1].text, "无法跳转到指定的路径！");
    EXPECT_EQ(boxes[2].text, "无法跳转到指定的路径！") << "an index on a table document";
    EXPECT_EQ(Text(MainControl::编辑框_结果_类型), "文本型") << "the selection stays on //s";
}

TEST_F(ResultPage, DoubleClickOpensTheNodeInTheViewWindow) {
    // With the mouse, on an open object and on the root: each opens its content and stays open.
    std::string shown;
    ResultTree& tree = *objects_.resultTree;
    HWND control = window_->Control(MainControl::树型框_结果);
    ASSERT_TRUE(TreeView_Expand(control, tree.Handle(1), TVE_EXPAND)); // //a
    for (const int32_t item : {1, 0}) {
        tree.Select(item);
        test::WindowWatcher view("查看", [&](HWND w) {
            shown = objects_.viewEditor->GetText(objects_.viewEditor->GetLength() + 1);
            SendMessageW(w, WM_CLOSE, 0, 0);
        });
        RECT label{};
        TreeView_GetItemRect(control, tree.Handle(item), &label, TRUE);
        SendMessageW(control, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(label.left + 2, label.top + 2));
        EXPECT_TRUE(TreeView_GetItemState(control, tree.Handle(item), TVIS_EXPANDED) & TVIS_EXPANDED) << item;
    }
    EXPECT_EQ(shown.substr(0, 15), "{\r\n    \"a\": {\r\n") << "the root shows the whole document, styled";

    bool plainVisible = true;
    GoTo("//a");
    {
        test::WindowWatcher view("查看", [&](HWND w) {
            plainVisible = IsWindowVisible(GetDlgItem(w, 101));
            shown = objects_.viewEditor->GetText(objects_.viewEditor->GetLength() + 1);
            SendMessageW(w, WM_CLOSE, 0, 0);
        });
        window_->OpenSelectedNode();
    }
    EXPECT_FALSE(plainVisible) << "an object opens styled";
    EXPECT_NE(shown.find("\"b.c\""), std::string::npos);
    GoTo("//s");
    {
        test::WindowWatcher view("查看", [&](HWND w) {
            plainVisible = IsWindowVisible(GetDlgItem(w, 101));
            shown = ControlText(GetDlgItem(w, 101));
            SendMessageW(w, WM_CLOSE, 0, 0);
        });
        window_->OpenSelectedNode();
    }
    EXPECT_TRUE(plainVisible) << "a text opens plain";
    EXPECT_EQ(shown, "文本");

    // A text of a megabyte on one line: the content box shows its start, the plain view all of it.
    std::string longText;
    while (longText.size() < 1000000) longText += "长文本 long text, ";
    objects_.mainEditor->ClearAll();
    objects_.mainEditor->AddText("{\"long\": \"" + longText + "\"}");
    window_->ParseCommand();
    GoTo("//long");
    auto wholeText = [](HWND control) {
        std::wstring text(static_cast<size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
        text.resize(GetWindowTextW(control, text.data(), static_cast<int>(text.size())));
        return kova::WideToUtf8(text);
    };
    const std::string boxed = wholeText(window_->Control(MainControl::编辑框_结果_内容));
    const std::string mark = "\r\n…"; // kContentCutMark with the box's line break
    const size_t kept = boxed.size() - mark.size();
    EXPECT_GT(kept, 60000u);
    EXPECT_LE(kept, kContentBoxLimit);
    EXPECT_TRUE(boxed == longText.substr(0, kept) + mark) << "the text's start and the mark";
    EXPECT_EQ(SendMessageW(window_->Control(MainControl::编辑框_结果_内容), SCI_STYLEGETFORE, STYLE_DEFAULT, 0),
              RGB(64, 64, 64))
        << "dark grey, as the window paints the box";
    {
        test::WindowWatcher view("查看", [&](HWND w) {
            shown = wholeText(GetDlgItem(w, 101));
            SendMessageW(w, WM_CLOSE, 0, 0);
        });
        window_->OpenSelectedNode();
    }
    EXPECT_TRUE(shown == longText) << shown.size() << " bytes shown";
}

// Below the deepest item the tree control shows, Go to and Find select that item and show the node they reached.
TEST_F(ResultPage, NodesDeeperThanTheTreeShows) {
    std::string json, path = "//k"; // 279 objects inside each other, then "leaf" at depth 280 and arrays to 300
    for (int i = 0; i < 279; ++i) json += R"({"k":)";
    json += R"({"leaf":"深处","more":)" + test::DeepArrayJson(21) + "}" + std::string(279, '}');
    for (int i = 1; i < 279; ++i) path += ".k";
    objects_.mainEditor->ClearAll();
    objects_.mainEditor->AddText(json);
    window_->ParseCommand();
    HWND control = window_->Control(MainControl::树型框_结果);
    for (const bool find : {false, true}) {
        objects_.resultTree->Select(0);
        if (find) {
            Find("深处");
        } else {
            GoTo(path + ".leaf");
        }
        EXPECT_EQ(Text(MainControl::编辑框_结果_路径), path + ".leaf");
        EXPECT_EQ(Text(MainControl::编辑框_结果_类型), "文本型");
        EXPECT_EQ(Text(MainControl::编辑框_结果_内容), "深处");
        // Down to depth 279 an item's index is its depth.
        EXPECT_EQ(TreeView_GetSelection(control), objects_.resultTree->Handle(250));
    }
    EXPECT_EQ(TreeView_GetCount(control), 251u) << "the root and one item a level down to depth 250";

    std::string shown; // a double-click opens the item at depth 250, not the deeper node
    test::WindowWatcher view("查看", [&](HWND w) {
        shown = objects_.viewEditor->GetText(objects_.viewEditor->GetLength() + 1);
        SendMessageW(w, WM_CLOSE, 0, 0);
    });
    window_->OpenSelectedNode();
    EXPECT_NE(shown.find("\"leaf\": \"深处\""), std::string::npos);
    EXPECT_EQ(Text(MainControl::编辑框_结果_路径), path.substr(0, 3 + 2 * 249)) << "and shows its details";
}

TEST_F(ResultPage, ParseOfInvalidTextKeepsThePage) {
    GoTo("//s");
    objects_.mainEditor->ClearAll();
    objects_.mainEditor->AddText("{broken");
    test::MessageBoxWatcher watcher;
    window_->ParseCommand();
    EXPECT_EQ(watcher.Seen().size(), 1u);
    EXPECT_EQ(Text(MainControl::编辑框_结果_类型), "文本型") << "the details stay";
    EXPECT_GT(objects_.resultTree->Model().ItemCount(), 10) << "the tree keeps the old document";
    SendMessageW(window_->Control(MainControl::选择框_结果_全部展开), BM_CLICK, 0, 0);
    EXPECT_EQ(Text(MainControl::编辑框_结果_类型), "文本型") << "全部展开 selects the node again, never none";
    EXPECT_EQ(Text(MainControl::编辑框_结果_内容), "文本");
}

// Ctrl+F asks, F3 and Shift+F3 go on with the same text; keys and shown values match,
// ASCII letters in any case, also inside containers the tree control never received.
TEST_F(ResultPage, FindSelectsMatchesInDocumentOrder) {
    ResultTree& tree = *objects_.resultTree;
    ASSERT_EQ(tree.Handle(5), nullptr) << "//a is collapsed: [2].[1] was never inserted";
    const auto [prompt, initial] = Find("0");
    EXPECT_EQ(prompt, "查找键名或值中的文本（不区分大小写）：");
    EXPECT_EQ(initial, "");
    EXPECT_EQ(Text(MainControl::编辑框_结果_路径), "//a.b\\.c[1]");
    EXPECT_EQ(Text(MainControl::编辑框_结果_内容), "10");
    for (const char* next : {"//a.b\\.c[2].[1]", "//a.b\\.c[2].[2]", "//n", "//a.b\\.c[1]"}) {
        EXPECT_TRUE(Press(VK_F3));
        EXPECT_EQ(Text(MainControl::编辑框_结果_路径), next) << "F3 after the last one wraps to the first";
    }
    EXPECT_TRUE(Press(VK_F3, VK_SHIFT));
    EXPECT_EQ(Text(MainControl::编辑框_结果_路径), "//n") << "Shift+F3 before the first wraps to the last";

    EXPECT_EQ(Find("真").second, "0") << "the box starts with the last text";
    EXPECT_EQ(Text(MainControl::编辑框_结果_路径), "//list[1].k") << "a boolean as the content box shows it";
    EXPECT_EQ(Text(MainControl::编辑框_结果_类型), "逻辑型");
    EXPECT_NE(Text(MainControl::编辑框_结果).find("“//list[1].k”"), std::string::npos) << "and its code";
    Find("B.C");
    EXPECT_EQ(Text(MainControl::编辑框_结果_路径), "//a.b\\.c") << "a key, letters in any case";
    EXPECT_EQ(tree.SelectedItemIndex(), 2);

    test::MessageBoxWatcher watcher;
    Find("zzz");
    ASSERT_EQ(watcher.Seen().size(), 1u);
    EXPECT_EQ(watcher.Seen()[0].text, "找不到“zzz”");
    EXPECT_EQ(watcher.Seen()[0].title, "查找");
    EXPECT_EQ(tree.SelectedItemIndex(), 2) << "the selection stays";

    // On the JSON page the same keys find in the editor's text, after the caret and round.
    SendMessageW(window_->Control(MainControl::选择夹_JSON), TCM_SETCURSEL, 0, 0);
    CodeEditor& editor = *objects_.mainEditor;
    const std::string text = editor.GetText(editor.GetLength() + 1);
    const auto [editorPrompt, editorInitial] = Find("N");
    EXPECT_EQ(editorPrompt, "查找编辑器中的文本（不区分大小写）：");
    EXPECT_EQ(editorInitial, "") << "the tree's text is its own";
    const int64_t null = static_cast<int64_t>(text.find("null")), key = static_cast<int64_t>(text.find("\"n\"") + 1);
    EXPECT_EQ(editor.SelectionStart(), null);
    EXPECT_EQ(editor.SelectionEnd(), null + 1);
    for (const int64_t next : {key, null}) {
        EXPECT_TRUE(Press(VK_F3));
        EXPECT_EQ(editor.SelectionStart(), next) << "F3 after the last one wraps to the first";
    }
    EXPECT_TRUE(Press(VK_F3, VK_SHIFT));
    EXPECT_EQ(editor.SelectionStart(), key) << "Shift+F3 before the first wraps to the last";
    Find("zzz");
    ASSERT_EQ(watcher.Seen().size(), 2u);
    EXPECT_EQ(watcher.Seen()[1].text, "找不到“zzz”");
    EXPECT_EQ(editor.SelectionStart(), key) << "the selection stays";
}

// The tree's popup menu: its items, each copy item read back from the clipboard, and 在编辑器中显示
// selecting the node's text, also after 格式化, until the text is edited.
TEST_F(ResultPage, TheNodeMenuCopiesAndShowsTheNodeInTheEditor) {
    HWND tree = window_->Control(MainControl::树型框_结果);
    auto menuOf = [&](const std::string& path) {
        GoTo(path);
        const test::PopupMenuSeen seen =
            test::ReadMenuOpenedBy(window_->Handle(), [&] { EXPECT_TRUE(Press(VK_F10, VK_SHIFT)); });
        std::string items;
        for (const auto& item : seen.items)
            items += item.caption + (item.enabled || item.caption.empty() ? "|" : " (off)|");
        RECT label{};
        TreeView_GetItemRect(tree, TreeView_GetSelection(tree), &label, TRUE);
        MapWindowPoints(tree, HWND_DESKTOP, reinterpret_cast<POINT*>(&label), 2);
        EXPECT_EQ(seen.topLeft.y, label.bottom) << "below the selected item's label";
        return items;
    };
    EXPECT_EQ(menuOf("//list[1].k"), "复制路径|复制键名|复制内容|复制存取代码||在编辑器中显示|");
    EXPECT_EQ(menuOf("//list[1]"), "复制路径|复制键名 (off)|复制内容|复制存取代码||在编辑器中显示|");
    objects_.resultTree->Select(0);
    EXPECT_EQ(menuOf(""), "复制路径 (off)|复制键名 (off)|复制内容|复制存取代码 (off)||在编辑器中显示|");
    window_->RunNodeCommand(NodeCommand::kCopyContent);
    EXPECT_EQ(GetClipboardText(window_->Handle()).substr(0, 15), "{\r\n    \"a\": {\r\n") << "the root's pretty text";

    GoTo("//x\\\\y");
    const std::pair<NodeCommand, std::string> copies[] = {
        {NodeCommand::kCopyPath, "//x\\\\y"},
        {NodeCommand::kCopyKey, "x\\y"},
        {NodeCommand::kCopyContent, ""},
        {NodeCommand::kCopyAccessCode, Text(MainControl::编辑框_结果)}};
    for (const auto& [command, copied] : copies) {
        SetClipboardText(window_->Handle(), "before");
        window_->RunNodeCommand(command);
        EXPECT_EQ(GetClipboardText(window_->Handle()), copied);
    }

    CodeEditor& editor = *objects_.mainEditor;
    auto selected = [&] {
        const std::string text = editor.GetText(editor.GetLength() + 1);
        return text.substr(editor.SelectionStart(), editor.SelectionEnd() - editor.SelectionStart());
    };
    GoTo("//a.b\\.c");
    window_->RunNodeCommand(NodeCommand::kShowInEditor);
    EXPECT_EQ(SendMessageW(window_->Control(MainControl::选择夹_JSON), TCM_GETCURSEL, 0, 0), 0);
    EXPECT_EQ(GetFocus(), editor.EditorWindow());
    EXPECT_EQ(selected(), "[10, [20, 30]]");
    window_->RunToolbarCommand("格式化");
    window_->RunNodeCommand(NodeCommand::kShowInEditor);
    EXPECT_EQ(selected(), "[\r\n            10,\r\n            [\r\n                20,\r\n                30\r\n"
                          "            ]\r\n        ]");
    test::MessageBoxWatcher watcher;
    editor.AddText(" ");
    window_->RunNodeCommand(NodeCommand::kShowInEditor);
    ASSERT_EQ(watcher.Seen().size(), 1u);
    EXPECT_EQ(watcher.Seen()[0].text, "编辑器中的文本在解析后已被修改，请重新解析。");
    EXPECT_EQ(watcher.Seen()[0].title, "无法定位");
    editor.Undo(); // back to the text the offsets belong to
    window_->RunNodeCommand(NodeCommand::kShowInEditor);
    EXPECT_EQ(watcher.Seen().size(), 1u);
    EXPECT_EQ(selected().substr(0, 3), "[\r\n");
}

// A search reads every node of a million-node document, never-opened containers too (its time is in BENCHMARKS.md).
TEST_F(ResultPage, FindInAMillionNodes) {
    objects_.mainEditor->ClearAll();
    objects_.mainEditor->AddText(test::RecordsJson(125'000));
    window_->ParseCommand();
    ResultTree& tree = *objects_.resultTree;
    ASSERT_EQ(tree.Model().ItemCount(), 1'000'001);
    Find("名字124999"); // the key "name" of the last record but one
    EXPECT_EQ(Text(MainControl::编辑框_结果_路径), "//[124999].name");
    EXPECT_TRUE(Press(VK_F3)); // every node once, and on round to the same one
    EXPECT_EQ(Text(MainControl::编辑框_结果_路径), "//[124999].name");
}
