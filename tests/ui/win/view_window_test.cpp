// The content view window and the key-name dialog, opened for real and driven from a second thread.
#include "app/ProcessObjects.h"
#include "support/win/PopupMenuReader.h"
#include "support/win/WindowWatcher.h"
#include "ui/Clipboard.h"
#include "ui/MainWindow.h"
#include "ui/ViewWindow.h"

#include <Scintilla.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include <filesystem>

using namespace vivu;
using vivu::test::ControlText;
using vivu::test::WindowWatcher;

namespace {

constexpr int kViewEditId = 101, kViewCopyId = 102, kViewCloseId = 103, kViewLabelId = 100;

class ViewWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        objects_.programDir = std::filesystem::temp_directory_path().string();
        objects_.Create();
        owner_ = CreateWindowExW(0, L"static", L"owner", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200, nullptr, nullptr,
                                 GetModuleHandleW(nullptr), nullptr);
    }
    void TearDown() override {
        DestroyWindow(owner_);
        objects_.TearDown();
    }
    ProcessObjects objects_;
    HWND owner_ = nullptr;
};

RECT ChildRect(HWND window, int id) {
    RECT r{};
    HWND child = GetDlgItem(window, id);
    GetWindowRect(child, &r);
    MapWindowPoints(HWND_DESKTOP, window, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

} // namespace

TEST_F(ViewWindowTest, PlainModeShowsCopiesAndCloses) {
    std::string shown, copied;
    RECT copyBefore{}, copyAfter{}, closeAfter{}, editBefore{}, editAfter{};
    RECT client{};
    {
        WindowWatcher watcher("查看", [&](HWND window) {
            shown = ControlText(GetDlgItem(window, kViewEditId));
            SendMessageW(window, WM_COMMAND, kViewCopyId, 0);
            copyBefore = ChildRect(window, kViewCopyId);
            editBefore = ChildRect(window, kViewEditId);
            SetWindowPos(window, nullptr, 0, 0, 766, 502, SWP_NOMOVE | SWP_NOZORDER);
            copyAfter = ChildRect(window, kViewCopyId);
            closeAfter = ChildRect(window, kViewCloseId);
            editAfter = ChildRect(window, kViewEditId);
            GetClientRect(window, &client);
            SendMessageW(window, WM_COMMAND, kViewCloseId, 0);
        });
        OpenView(objects_, owner_, "a\\.b\\\\c 中文", false);
        EXPECT_TRUE(watcher.Found());
    }
    EXPECT_EQ(shown, "a\\.b\\\\c 中文");
    EXPECT_EQ(GetClipboardText(owner_), "a\\.b\\\\c 中文");
    // Enlarging keeps the buttons in the bottom corners and grows the text area.
    EXPECT_EQ(copyAfter.left, copyBefore.left);
    EXPECT_GT(copyAfter.top, copyBefore.top);
    EXPECT_GT(closeAfter.right, client.right - 70);
    EXPECT_GT(editAfter.right - editAfter.left, editBefore.right - editBefore.left);
    EXPECT_GT(editAfter.bottom - editAfter.top, editBefore.bottom - editBefore.top);
    EXPECT_TRUE(IsWindowEnabled(owner_)) << "the owner is enabled again";
}

namespace {
LRESULT CALLBACK CountActivations(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR count) {
    if (message == WM_ACTIVATE && LOWORD(wParam) != WA_INACTIVE) ++*reinterpret_cast<int*>(count);
    return DefSubclassProc(hwnd, message, wParam, lParam);
}
} // namespace

// Closing hands the activation straight back to the owner: Windows would otherwise give it to the
// next enabled window, another program's, and the main window would drop behind it.
TEST_F(ViewWindowTest, ClosingActivatesTheOwnerAndNoOtherWindow) {
    HWND other = CreateWindowExW(0, L"static", L"other", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 400, 0, 200, 100, nullptr,
                                 nullptr, GetModuleHandleW(nullptr), nullptr);
    int otherActivations = 0;
    SetWindowSubclass(other, CountActivations, 1, reinterpret_cast<DWORD_PTR>(&otherActivations));
    ShowWindow(owner_, SW_SHOW);
    SetActiveWindow(owner_);
    otherActivations = 0;
    {
        WindowWatcher watcher("查看", [&](HWND window) { SendMessageW(window, WM_COMMAND, kViewCloseId, 0); });
        OpenView(objects_, owner_, "text", false);
        EXPECT_TRUE(watcher.Found());
    }
    EXPECT_EQ(GetActiveWindow(), owner_);
    EXPECT_EQ(otherActivations, 0) << "another window was activated on the way back";
    RemoveWindowSubclass(other, CountActivations, 1);
    DestroyWindow(other);
}

TEST_F(ViewWindowTest, StyledModeUsesTheViewEditorAndShowsOnlyTheLatestText) {
    std::string shown;
    bool editVisible = true;
    {
        WindowWatcher watcher("查看", [&](HWND window) {
            editVisible = IsWindowVisible(GetDlgItem(window, kViewEditId));
            CodeEditor& editor = *objects_.viewEditor;
            shown = editor.GetText(editor.GetLength() + 1);
            SendMessageW(window, WM_COMMAND, kViewCopyId, 0);
            SendMessageW(window, WM_CLOSE, 0, 0);
        });
        OpenView(objects_, owner_, "{\r\n    \"名\": [1]\r\n}", true);
    }
    EXPECT_FALSE(editVisible);
    EXPECT_EQ(shown, "{\r\n    \"名\": [1]\r\n}");
    EXPECT_EQ(GetClipboardText(owner_), "{\r\n    \"名\": [1]\r\n}") << "Chinese arrives as shown";
    {
        WindowWatcher watcher("查看", [&](HWND window) {
            CodeEditor& editor = *objects_.viewEditor;
            shown = editor.GetText(editor.GetLength() + 1);
            EXPECT_EQ(editor.SendEditorMessage(SCI_CANUNDO), 0);
            SendMessageW(window, WM_CLOSE, 0, 0);
        });
        OpenView(objects_, owner_, "[2]", true);
    }
    EXPECT_EQ(shown, "[2]") << "a second opening shows the second text only";
}

TEST_F(ViewWindowTest, EditorMenuListsItsItemsAndEachSendsItsCommand) {
    test::PopupMenuSeen menu;
    std::string afterCut, afterUndo, afterPaste, afterDelete, copied;
    POINT cursor{};
    {
        WindowWatcher watcher("查看", [&](HWND window) {
            CodeEditor& editor = *objects_.viewEditor;
            RECT frame{};
            GetWindowRect(editor.EditorWindow(), &frame);
            cursor = {frame.left + 50, frame.top + 40};
            menu = test::RightClickMenu(editor.EditorWindow(), cursor);
            auto choose = [&](const std::string& caption) {
                for (const auto& item : menu.items)
                    if (item.caption == caption) SendMessageW(window, WM_COMMAND, item.id, 0);
            };
            auto text = [&] { return editor.GetText(editor.GetLength() + 1); };
            editor.SendEditorMessage(SCI_SETSEL, 0, 2);
            choose("剪切");
            afterCut = text();
            choose("撤销");
            choose("撤销"); // finds nothing more: the text shown is where the history starts
            afterUndo = text();
            editor.SendEditorMessage(SCI_SETSEL, 1, 3);
            choose("复制");
            copied = GetClipboardText(window);
            editor.SendEditorMessage(SCI_SETSEL, 5, 5);
            choose("粘贴");
            afterPaste = text();
            editor.SendEditorMessage(SCI_SETSEL, 0, 1);
            choose("删除");
            afterDelete = text();
            SendMessageW(window, WM_CLOSE, 0, 0);
        });
        OpenView(objects_, owner_, "[123]", true);
    }
    const char* expected[] = {"撤销", "重复", "", "复制", "粘贴", "剪切", "删除"};
    ASSERT_EQ(menu.items.size(), std::size(expected));
    for (size_t i = 0; i < std::size(expected); ++i) EXPECT_EQ(menu.items[i].caption, expected[i]) << i;
    EXPECT_EQ(menu.topLeft.x, cursor.x + 3);
    EXPECT_EQ(menu.topLeft.y, cursor.y + 3);
    EXPECT_EQ(afterCut, "23]");
    EXPECT_EQ(afterUndo, "[123]");
    EXPECT_EQ(copied, "12");
    EXPECT_EQ(afterPaste, "[123]12");
    EXPECT_EQ(afterDelete, "123]12");
}

TEST(KeyNameDialog, EscapesTheEnteredKeyAndShowsIt) {
    const auto dir = std::filesystem::temp_directory_path() / "kova-key-name-test";
    std::filesystem::create_directories(dir);
    ProcessObjects objects;
    objects.programDir = dir.string();
    objects.Create();
    {
        MainWindow window(objects);
        ASSERT_TRUE(window.Create(SW_SHOWNOACTIVATE));
        std::string prompt, shown;
        WindowWatcher view("查看", [&](HWND w) {
            shown = ControlText(GetDlgItem(w, kViewEditId));
            SendMessageW(w, WM_COMMAND, kViewCloseId, 0);
        });
        WindowWatcher input("格式化主键名", [&](HWND w) {
            prompt = ControlText(GetDlgItem(w, 100));
            SetWindowTextW(GetDlgItem(w, 101), L"a.b\\c");
            SendMessageW(w, WM_COMMAND, IDOK, 0);
        });
        window.RunToolbarCommand("主键名");
        EXPECT_EQ(prompt, R"(要格式化的主键名称。譬如："\"、"."等会被转换为"\\"、"\."。转换后可以用于KOVA寻址表达式)");
        // Cancelling does nothing.
        WindowWatcher cancel("格式化主键名", [&](HWND w) { SendMessageW(w, WM_COMMAND, IDCANCEL, 0); });
        window.RunToolbarCommand("主键名");
        DestroyWindow(window.Handle());
        MSG quit; // the window posts WM_QUIT when destroyed
        while (PeekMessageW(&quit, nullptr, 0, 0, PM_REMOVE)) {
        }
        EXPECT_EQ(shown, "a\\.b\\\\c");
    }
    objects.TearDown();
    std::filesystem::remove_all(dir);
}
