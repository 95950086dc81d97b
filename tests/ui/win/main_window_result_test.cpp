// The result page of the real main window: tree, node details, Go to, expand all, the view of a node.
#include "app/ProcessObjects.h"
#include "support/win/MessageBoxWatcher.h"
#include "support/win/WindowWatcher.h"
#include "ui/DibSurface.h"
#include "ui/MainWindow.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <filesystem>

using namespace vivu;
using vivu::test::ControlText;

namespace {

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
    window_->ParseCommand();
    for (MainControl box : {MainControl::编辑框_结果_路径, MainControl::编辑框_结果_类型, MainControl::编辑框_结果_内容,
                            MainControl::编辑框_结果})
        EXPECT_EQ(Text(box), "") << "a new document starts with empty boxes " << static_cast<int>(box);
}

TEST_F(ResultPage, GoToFailuresAreReported) {
    GoTo("//s");
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
    GoTo("//a");
    std::string shown;
    bool plainVisible = true;
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
}
