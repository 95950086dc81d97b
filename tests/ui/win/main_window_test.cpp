// The real main window under Wine: captions, controls, toolbar commands, parsing.
#include "app/ProcessObjects.h"
#include "support/win/MessageBoxWatcher.h"
#include "ui/Clipboard.h"
#include "ui/MainWindow.h"

#include <commctrl.h>
#include <filesystem>
#include <gtest/gtest.h>

using namespace vivu;

namespace {

std::string WindowText(HWND hwnd) {
    wchar_t buffer[512] = {};
    GetWindowTextW(hwnd, buffer, 512);
    return kova::WideToUtf8(buffer);
}

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = std::filesystem::temp_directory_path() / "kova-main-window-test";
        std::filesystem::remove_all(dir_);
        std::filesystem::create_directories(dir_);
        objects_.programDir = dir_.string();
        objects_.Create();
        window_ = std::make_unique<MainWindow>(objects_);
        ASSERT_TRUE(window_->Create(SW_SHOWNOACTIVATE));
        Pump();
    }
    void TearDown() override {
        DestroyWindow(window_->Handle());
        Pump();
        window_.reset();
        objects_.TearDown();
        std::filesystem::remove_all(dir_);
    }
    static void Pump() {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) continue;
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    std::string EditorText() { return objects_.mainEditor->GetText(objects_.mainEditor->GetLength() + 1); }
    void SetEditorText(const std::string& text) {
        objects_.mainEditor->ClearAll();
        objects_.mainEditor->AddText(text);
    }
    int CurrentPage(MainControl tab) {
        return static_cast<int>(SendMessageW(window_->Control(tab), TCM_GETCURSEL, 0, 0));
    }

    std::filesystem::path dir_;
    ProcessObjects objects_;
    std::unique_ptr<MainWindow> window_;
};

} // namespace

TEST_F(MainWindowTest, CaptionsAndControls) {
    EXPECT_EQ(WindowText(window_->Handle()), "KOVA.Json助手1.2.1");
    EXPECT_EQ(WindowText(window_->Control(MainControl::标签_标题)), "KOVA.VivuDivezi");
    EXPECT_EQ(WindowText(window_->Control(MainControl::选择框_结果_全部展开)), "全部展开");
    EXPECT_EQ(WindowText(window_->Control(MainControl::标签1)), "表达式：");
    for (const auto& row : MainWindowRows()) EXPECT_NE(window_->Control(row.id), nullptr) << static_cast<int>(row.id);
    EXPECT_FALSE(IsWindowEnabled(window_->Control(MainControl::按钮_添加窗口)));
    HWND combo = window_->Control(MainControl::组合框_数据源);
    EXPECT_EQ(SendMessageW(combo, CB_GETCOUNT, 0, 0), 3);
    EXPECT_EQ(SendMessageW(combo, CB_GETCURSEL, 0, 0), 0) << "starts on 剪切板";
    EXPECT_EQ(CurrentPage(MainControl::选择夹_JSON), 0);
    EXPECT_TRUE(objects_.mainEditor->Created());
    RECT frame{};
    GetWindowRect(window_->Handle(), &frame);
    EXPECT_EQ(frame.left, 50);
    EXPECT_EQ(frame.top, 50);
}

TEST_F(MainWindowTest, ToolbarButtonsCarryTheirCaptionsInOrder) {
    HWND toolbar = window_->Control(MainControl::工具条_左);
    const char* expected[] = {"解析", "", "格式化", "压缩", "主键名", "", "复制", "粘贴", "清空", "", "撤销", "重复"};
    ASSERT_EQ(SendMessageW(toolbar, TB_BUTTONCOUNT, 0, 0), static_cast<LRESULT>(std::size(expected)));
    for (int i = 0; i < static_cast<int>(std::size(expected)); ++i) {
        TBBUTTON button{};
        SendMessageW(toolbar, TB_GETBUTTON, i, reinterpret_cast<LPARAM>(&button));
        wchar_t text[64] = {};
        if (!(button.fsStyle & BTNS_SEP))
            SendMessageW(toolbar, TB_GETBUTTONTEXTW, button.idCommand, reinterpret_cast<LPARAM>(text));
        EXPECT_EQ(kova::WideToUtf8(text), expected[i]) << i;
    }
}

TEST_F(MainWindowTest, FormatCompressUndoClear) {
    SetEditorText("\r\n{\"a\": 1, \"b\": [2, 3]}");
    window_->RunToolbarCommand("格式化");
    EXPECT_EQ(EditorText(), "{\r\n    \"a\": 1,\r\n    \"b\": [\r\n        2,\r\n        3\r\n    ]\r\n}");
    window_->RunToolbarCommand("压缩");
    EXPECT_EQ(EditorText(), "{\"a\":1,\"b\":[2,3]}");
    window_->RunToolbarCommand("撤销");
    EXPECT_EQ(EditorText(), "{\r\n    \"a\": 1,\r\n    \"b\": [\r\n        2,\r\n        3\r\n    ]\r\n}");
    window_->RunToolbarCommand("重复");
    EXPECT_EQ(EditorText(), "{\"a\":1,\"b\":[2,3]}");
    window_->RunToolbarCommand("清空");
    EXPECT_EQ(EditorText(), "");
    window_->RunToolbarCommand("撤销");
    EXPECT_EQ(EditorText(), "{\"a\":1,\"b\":[2,3]}") << "clearing can be undone";
    window_->RunToolbarCommand("no such command");
    EXPECT_EQ(EditorText(), "{\"a\":1,\"b\":[2,3]}");
}

TEST_F(MainWindowTest, ParseShowsTheResultPageOrTheFailure) {
    SetEditorText("[1, 2");
    {
        test::MessageBoxWatcher watcher;
        window_->ParseCommand();
        const auto boxes = watcher.Seen();
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].title, "加载失败");
        EXPECT_EQ(boxes[0].text, "加载[存取列表]类型 JSON 失败");
    }
    EXPECT_EQ(CurrentPage(MainControl::选择夹_JSON), 0) << "a failed parse leaves the page";
    EXPECT_EQ(objects_.model->kind, 0);
    SetEditorText("{\"中文\": [1, 2]}");
    window_->ParseCommand();
    EXPECT_EQ(CurrentPage(MainControl::选择夹_JSON), 1);
    EXPECT_EQ(objects_.model->kind, 11);
    EXPECT_FALSE(IsWindowVisible(window_->Control(MainControl::标签_编辑框))) << "page 0 is hidden";
}

// The tree and its frame label share one rectangle: the tree must be the one seen and clicked.
TEST_F(MainWindowTest, ResultTreeLiesAboveItsFrame) {
    SetEditorText("{\"a\": 1}");
    window_->ParseCommand();
    HWND tree = window_->Control(MainControl::树型框_结果);
    RECT r{};
    GetWindowRect(tree, &r);
    POINT centre{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    HWND page = GetParent(tree);
    ScreenToClient(page, &centre);
    EXPECT_EQ(ChildWindowFromPointEx(page, centre, CWP_SKIPINVISIBLE), tree);
}

TEST_F(MainWindowTest, CopyAndPasteGoThroughTheClipboard) {
    SetEditorText("{\"名\":\"值😀\"}");
    window_->RunToolbarCommand("复制");
    EXPECT_EQ(GetClipboardText(window_->Handle()), "{\"名\":\"值😀\"}");
    ASSERT_TRUE(SetClipboardText(window_->Handle(), "[\"粘贴\"]"));
    EXPECT_TRUE(window_->PasteFromClipboard());
    EXPECT_EQ(EditorText(), "[\"粘贴\"]");
    EXPECT_EQ(objects_.model->kind, 12);
    ASSERT_TRUE(SetClipboardText(window_->Handle(), "not json"));
    test::MessageBoxWatcher watcher;
    EXPECT_FALSE(window_->PasteFromClipboard());
    EXPECT_EQ(EditorText(), "not json") << "the text stays in the editor";
    const auto boxes = watcher.Seen();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].title, "失败");
    EXPECT_EQ(boxes[0].text, "未知的 JSON 类型");
}

TEST_F(MainWindowTest, SourceComboSelectsThePage) {
    HWND combo = window_->Control(MainControl::组合框_数据源);
    SendMessageW(combo, CB_SETCURSEL, 2, 0);
    SendMessageW(window_->Handle(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(combo), CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(combo));
    EXPECT_EQ(CurrentPage(MainControl::选择夹_来源), 2);
    EXPECT_TRUE(IsWindowVisible(window_->Control(MainControl::编辑框_文件路径)));
    EXPECT_FALSE(IsWindowVisible(window_->Control(MainControl::编辑框_网址)));
}

TEST_F(MainWindowTest, F5Parses) {
    SetEditorText("[true]");
    MSG message{};
    message.hwnd = objects_.mainEditor->EditorWindow();
    message.message = WM_KEYDOWN;
    message.wParam = VK_F5;
    EXPECT_TRUE(window_->TranslateShortcut(message));
    EXPECT_EQ(objects_.model->kind, 12);
    EXPECT_EQ(CurrentPage(MainControl::选择夹_JSON), 1);
}
