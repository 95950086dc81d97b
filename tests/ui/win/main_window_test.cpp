// The real main window under Wine: captions, controls, toolbar commands, parsing.
#include "app/ProcessObjects.h"
#include "kova/File.h"
#include "support/win/MessageBoxWatcher.h"
#include "support/win/PopupMenuReader.h"
#include "support/win/WindowWatcher.h"
#include "ui/Clipboard.h"
#include "ui/DibSurface.h"
#include "ui/Dpi.h"
#include "ui/MainWindow.h"

#include <Scintilla.h>
#include <array>
#include <atomic>
#include <commctrl.h>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <map>
#include <new>
#include <sstream>
#include <stdexcept>

using namespace vivu;

namespace {

// Running out of memory, on demand: the next allocation of the thread that asks fails, once.
std::atomic<DWORD> threadToFail{0};

} // namespace

namespace vivu::test {
void FailNextAllocation() {
    threadToFail = GetCurrentThreadId();
}
} // namespace vivu::test

// Takes memory where the runtime's own operator new does, so its operator delete frees it.
void* operator new(std::size_t size) {
    DWORD self = GetCurrentThreadId();
    if (threadToFail.compare_exchange_strong(self, 0)) throw std::bad_alloc();
    if (void* memory = std::malloc(size ? size : 1)) return memory;
    throw std::bad_alloc();
}

namespace {

std::string WindowText(HWND hwnd) {
    wchar_t buffer[512] = {};
    GetWindowTextW(hwnd, buffer, 512);
    return kova::WideToUtf8(buffer);
}

// The program declares itself per-monitor dpi aware in its manifest; the tests run the same way.
void BecomePerMonitorAware() {
    using SetContextFn = BOOL(WINAPI*)(HANDLE);
    const FARPROC set = GetProcAddress(GetModuleHandleW(L"user32.dll"), "SetProcessDpiAwarenessContext");
    if (set) reinterpret_cast<SetContextFn>(reinterpret_cast<void*>(set))(reinterpret_cast<HANDLE>(-4));
}

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        BecomePerMonitorAware();
        // One folder per process: the run at 144 dpi is a second process of this program.
        dir_ =
            std::filesystem::temp_directory_path() / ("kova-main-window-test-" + std::to_string(GetCurrentProcessId()));
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
    // The tooltip asks the toolbar for the button's text, as it does when the mouse rests on it.
    TBBUTTON keyName{};
    SendMessageW(toolbar, TB_GETBUTTON, 4, reinterpret_cast<LPARAM>(&keyName));
    wchar_t tip[256] = {};
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof(tool);
    tool.hwnd = toolbar;
    tool.uId = static_cast<UINT_PTR>(keyName.idCommand);
    tool.lpszText = tip;
    SendMessageW(reinterpret_cast<HWND>(SendMessageW(toolbar, TB_GETTOOLTIPS, 0, 0)), TTM_GETTEXTW, 256,
                 reinterpret_cast<LPARAM>(&tool));
    EXPECT_EQ(kova::WideToUtf8(tip), "把指定的名称转为KOVA的表达式主键名");
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
        EXPECT_EQ(boxes[0].text, "加载[存取列表]类型 JSON 失败\n位置：第 1 行，第 6 列");
    }
    EXPECT_EQ(CurrentPage(MainControl::选择夹_JSON), 0) << "a failed parse leaves the page";
    EXPECT_EQ(objects_.model->kind, 0);
    SetEditorText("{\"中文\": [1, 2]}");
    window_->ParseCommand();
    EXPECT_EQ(CurrentPage(MainControl::选择夹_JSON), 1);
    EXPECT_EQ(objects_.model->kind, 11);
    EXPECT_FALSE(IsWindowVisible(window_->Control(MainControl::标签_编辑框))) << "page 0 is hidden";
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

// The source page and the loading code follow the combo box; 返回 brings the loading code back.
TEST_F(MainWindowTest, SourceComboSelectsThePageAndTheLoadingCode) {
    SetEditorText("[1]");
    window_->ParseCommand();
    HWND back = window_->Control(MainControl::按钮_结果_返回);
    SendMessageW(window_->Handle(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(back), BN_CLICKED),
                 reinterpret_cast<LPARAM>(back));
    EXPECT_NE(WindowText(window_->Control(MainControl::编辑框_结果)).find("列表.从JSON载入 (JSON"), std::string::npos);
    HWND combo = window_->Control(MainControl::组合框_数据源);
    SendMessageW(combo, CB_SETCURSEL, 2, 0);
    SendMessageW(window_->Handle(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(combo), CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(combo));
    EXPECT_EQ(CurrentPage(MainControl::选择夹_来源), 2);
    EXPECT_TRUE(IsWindowVisible(window_->Control(MainControl::编辑框_文件路径)));
    EXPECT_FALSE(IsWindowVisible(window_->Control(MainControl::编辑框_网址)));
    EXPECT_NE(WindowText(window_->Control(MainControl::编辑框_结果)).find("读入文本文件"), std::string::npos);
}

// A double-click in the address, path or code box selects all of it, not one word.
TEST_F(MainWindowTest, DoubleClickSelectsTheWholeBox) {
    for (MainControl id : {MainControl::编辑框_网址, MainControl::编辑框_文件路径, MainControl::编辑框_结果}) {
        HWND box = window_->Control(id);
        SetWindowTextW(box, L"first second third");
        SendMessageW(box, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(4, 4));
        DWORD from = 1, to = 0;
        SendMessageW(box, EM_GETSEL, reinterpret_cast<WPARAM>(&from), reinterpret_cast<LPARAM>(&to));
        EXPECT_EQ(from, 0u) << static_cast<int>(id);
        EXPECT_GE(to, 18u) << static_cast<int>(id); // the rich edit box counts its closing paragraph mark too
    }
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

TEST_F(MainWindowTest, ToolbarClicksReachTheirCommands) {
    HWND toolbar = window_->Control(MainControl::工具条_左);
    auto click = [&](const std::string& caption) {
        const int count = static_cast<int>(SendMessageW(toolbar, TB_BUTTONCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) {
            TBBUTTON button{};
            SendMessageW(toolbar, TB_GETBUTTON, i, reinterpret_cast<LPARAM>(&button));
            wchar_t text[64] = {};
            if (button.fsStyle & BTNS_SEP) continue;
            SendMessageW(toolbar, TB_GETBUTTONTEXTW, button.idCommand, reinterpret_cast<LPARAM>(text));
            if (kova::WideToUtf8(text) != caption) continue;
            SendMessageW(window_->Handle(), WM_COMMAND, MAKEWPARAM(button.idCommand, BN_CLICKED),
                         reinterpret_cast<LPARAM>(toolbar));
            return true;
        }
        return false;
    };
    SetEditorText("{\"甲\": [1, 2]}");
    objects_.mainEditor->SendEditorMessage(SCI_SETSEL, 2, 5);
    ASSERT_TRUE(click("复制"));
    EXPECT_EQ(GetClipboardText(window_->Handle()), "{\"甲\": [1, 2]}") << "the whole text, not the selection";
    ASSERT_TRUE(click("压缩"));
    EXPECT_EQ(EditorText(), "{\"甲\":[1,2]}");
    ASSERT_TRUE(click("清空"));
    EXPECT_EQ(EditorText(), "");
    ASSERT_TRUE(click("撤销"));
    EXPECT_EQ(EditorText(), "{\"甲\":[1,2]}");
    ASSERT_TRUE(click("重复"));
    EXPECT_EQ(EditorText(), "");
    ASSERT_TRUE(click("撤销"));
    ASSERT_TRUE(click("解析"));
    EXPECT_EQ(objects_.model->kind, 11);
    EXPECT_EQ(CurrentPage(MainControl::选择夹_JSON), 1);
}

TEST_F(MainWindowTest, EditorMenuListsItsItemsAndEachSendsItsCommand) {
    HWND editor = objects_.mainEditor->EditorWindow();
    RECT frame{};
    GetWindowRect(editor, &frame);
    const POINT cursor{frame.left + 40, frame.top + 30};
    const test::PopupMenuSeen menu = test::RightClickMenu(editor, cursor);
    const char* expected[] = {"撤销(&Z)", "重复(&Y)", "", "剪切(&X)", "复制(&C)", "粘贴(&V)", "删除(&D)"};
    ASSERT_EQ(menu.items.size(), std::size(expected));
    for (size_t i = 0; i < std::size(expected); ++i) EXPECT_EQ(menu.items[i].caption, expected[i]) << i;
    EXPECT_EQ(menu.topLeft.x, cursor.x + 3);
    EXPECT_EQ(menu.topLeft.y, cursor.y + 3);

    auto choose = [&](const std::string& caption) {
        for (const auto& item : menu.items)
            if (item.caption == caption) SendMessageW(window_->Handle(), WM_COMMAND, item.id, 0);
    };
    SetEditorText("abcdef");
    objects_.mainEditor->SendEditorMessage(SCI_SETSEL, 0, 3);
    choose("剪切(&X)");
    EXPECT_EQ(EditorText(), "def");
    EXPECT_EQ(GetClipboardText(window_->Handle()), "abc");
    choose("撤销(&Z)");
    EXPECT_EQ(EditorText(), "abcdef");
    choose("重复(&Y)");
    EXPECT_EQ(EditorText(), "def");
    objects_.mainEditor->SendEditorMessage(SCI_SETSEL, 0, 1);
    choose("复制(&C)");
    EXPECT_EQ(GetClipboardText(window_->Handle()), "d");
    objects_.mainEditor->SendEditorMessage(SCI_SETSEL, 3, 3);
    choose("粘贴(&V)");
    EXPECT_EQ(EditorText(), "defd");
    objects_.mainEditor->SendEditorMessage(SCI_SETSEL, 0, 2);
    choose("删除(&D)");
    EXPECT_EQ(EditorText(), "fd");
}

namespace {

RECT RectInParent(HWND control) {
    RECT r{};
    GetWindowRect(control, &r);
    MapWindowPoints(HWND_DESKTOP, GetParent(control), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

} // namespace

TEST_F(MainWindowTest, ResizingMovesAndStretchesTheControls) {
    HWND window = window_->Handle();
    SetWindowPos(window, nullptr, 0, 0, 900, 700, SWP_NOMOVE | SWP_NOZORDER);
    Pump();
    std::map<MainControl, RECT> before;
    for (const auto& row : MainWindowRows()) before[row.id] = RectInParent(window_->Control(row.id));
    RECT editorBefore = RectInParent(objects_.mainEditor->ContainerWindow());
    SetWindowPos(window, nullptr, 0, 0, 1100, 800, SWP_NOMOVE | SWP_NOZORDER);
    Pump();
    auto change = [&](MainControl id) {
        const RECT a = before[id], b = RectInParent(window_->Control(id));
        return std::array<long, 4>{b.left - a.left, b.top - a.top, (b.right - b.left) - (a.right - a.left),
                                   (b.bottom - b.top) - (a.bottom - a.top)};
    };
    using C = MainControl;
    using Move = std::array<long, 4>; // dx, dy, dwidth, dheight
    for (C id : {C::工具条_右, C::按钮_网址_转到, C::按钮_文件_选择, C::按钮_文件_重载, C::按钮_结果_路径_转到,
                 C::按钮_结果_复制, C::选择框_结果_全部展开, C::编辑框_结果_类型})
        EXPECT_EQ(change(id), (Move{200, 0, 0, 0})) << static_cast<int>(id) << " moves right";
    for (C id : {C::编辑框_网址, C::编辑框_文件路径, C::编辑框_结果_路径, C::标签_工具条_顶边, C::标签_工具条_底边})
        EXPECT_EQ(change(id), (Move{0, 0, 200, 0})) << static_cast<int>(id) << " widens";
    for (C id : {C::选择夹_JSON, C::标签_编辑框, C::标签_树形框_背景, C::树型框_结果})
        EXPECT_EQ(change(id), (Move{0, 0, 200, 100})) << static_cast<int>(id) << " grows both ways";
    EXPECT_EQ(change(C::编辑框_结果_内容), (Move{200, 0, 0, 100})) << "the content box moves right and lengthens";
    EXPECT_EQ(change(C::编辑框_结果), (Move{0, 100, 200, 0})) << "the code box moves down and keeps its height";
    EXPECT_EQ(change(C::按钮_代码_复制), (Move{200, 100, 0, 0}));
    for (C id : {C::工具条_左, C::组合框_数据源, C::按钮_剪切板_粘贴, C::按钮_结果_返回})
        EXPECT_EQ(change(id), (Move{0, 0, 0, 0})) << static_cast<int>(id) << " stays";
    const RECT editorAfter = RectInParent(objects_.mainEditor->ContainerWindow());
    EXPECT_EQ(editorAfter.right - editorBefore.right, 200) << "the editor fills its frame";
    EXPECT_EQ(editorAfter.bottom - editorBefore.bottom, 100);
}

TEST_F(MainWindowTest, WindowCannotBeMadeSmallerThan800By600) {
    HWND window = window_->Handle();
    SetWindowPos(window, nullptr, 0, 0, 300, 200, SWP_NOMOVE | SWP_NOZORDER);
    RECT frame{};
    GetWindowRect(window, &frame);
    EXPECT_EQ(frame.right - frame.left, 800);
    EXPECT_EQ(frame.bottom - frame.top, 600);
    SetWindowPos(window, nullptr, 0, 0, 1000, 500, SWP_NOMOVE | SWP_NOZORDER);
    GetWindowRect(window, &frame);
    EXPECT_EQ(frame.right - frame.left, 1000);
    EXPECT_EQ(frame.bottom - frame.top, 600);
}

namespace {

// Where the 144-dpi run of this test program writes what it measured; empty in the ordinary run.
std::wstring DpiReportPath() {
    wchar_t path[MAX_PATH] = {};
    return GetEnvironmentVariableW(L"KOVA_DPI_REPORT", path, MAX_PATH) ? path : L"";
}

void SetClientSize(HWND window, int width, int height) {
    RECT outer{}, client{};
    GetWindowRect(window, &outer);
    GetClientRect(window, &client);
    SetWindowPos(window, nullptr, 0, 0, width + (outer.right - outer.left) - client.right,
                 height + (outer.bottom - outer.top) - client.bottom, SWP_NOMOVE | SWP_NOZORDER);
}

// Every control's rectangle in its parent, the main font's height and the minimum window size, as numbers.
std::vector<long> Measure(MainWindow& window, int clientWidth, int clientHeight) {
    SetClientSize(window.Handle(), clientWidth, clientHeight);
    std::vector<long> numbers;
    for (const auto& row : MainWindowRows()) {
        const RECT r = RectInParent(window.Control(row.id));
        // A drop-down list is as high as its font makes it.
        numbers.insert(numbers.end(), {r.left, r.top, r.right, row.kind == ControlKind::ComboList ? r.top : r.bottom});
    }
    LOGFONTW font{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(window.Control(MainControl::标签1), WM_GETFONT, 0, 0)),
               sizeof(font), &font);
    MINMAXINFO limits{};
    SendMessageW(window.Handle(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&limits));
    numbers.insert(numbers.end(), {font.lfHeight, limits.ptMinTrackSize.x, limits.ptMinTrackSize.y});
    return numbers;
}

// Runs this test again in a process that sees 144 dpi (the prefix's LogPixels, read once per process).
std::vector<long> MeasureAt144Dpi(const std::filesystem::path& report) {
    HKEY desktop = nullptr;
    RegCreateKeyExW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &desktop,
                    nullptr);
    DWORD old = 0, size = sizeof(old);
    const bool hadOld = RegQueryValueExW(desktop, L"LogPixels", nullptr, nullptr, reinterpret_cast<BYTE*>(&old),
                                         &size) == ERROR_SUCCESS;
    const DWORD dpi = 144;
    RegSetValueExW(desktop, L"LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dpi), sizeof(dpi));
    SetEnvironmentVariableW(L"KOVA_DPI_REPORT", report.wstring().c_str());
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring command = L"\"" + std::wstring(self) + L"\" --gtest_filter=MainWindowTest.ScalesWithTheDpi";
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    if (CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
        // Messages keep flowing meanwhile: the other process may send to this one's windows and wait.
        while (MsgWaitForMultipleObjects(1, &process.hProcess, FALSE, 120000, QS_ALLINPUT) == WAIT_OBJECT_0 + 1) {
            MSG msg;
            while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
        }
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    SetEnvironmentVariableW(L"KOVA_DPI_REPORT", nullptr);
    if (hadOld)
        RegSetValueExW(desktop, L"LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&old), sizeof(old));
    else
        RegDeleteValueW(desktop, L"LogPixels");
    RegCloseKey(desktop);
    std::vector<long> numbers; // the fixture of the run at 144 dpi empties its own folder: the report lies outside
    std::ifstream in(report);
    for (long n; in >> n;) numbers.push_back(n);
    in.close();
    std::filesystem::remove(report);
    return numbers;
}

} // namespace

// At 144 dpi every control sits at one and a half times its place at 96 dpi, in a window whose
// client is one and a half times as large; fonts and the minimum window size grow alike.
TEST_F(MainWindowTest, ScalesWithTheDpi) {
    const std::wstring reportPath = DpiReportPath();
    if (!reportPath.empty()) { // the run at 144 dpi
        std::ofstream out{std::filesystem::path(reportPath)};
        out << WindowDpi(window_->Handle()) << ' ';
        for (long n : Measure(*window_, 1230, 915)) out << n << ' ';
        return;
    }
    ASSERT_EQ(WindowDpi(window_->Handle()), 96);
    const std::vector<long> at96 = Measure(*window_, 820, 610);
    const std::vector<long> at144 = MeasureAt144Dpi(std::filesystem::temp_directory_path() / "kova-dpi-report.txt");
    ASSERT_EQ(at144.size(), at96.size() + 1) << "the run at 144 dpi reported nothing";
    ASSERT_EQ(at144[0], 144) << "Wine did not take LogPixels";
    // Within 2 pixels: the window's frame, which the anchors measure from, does not grow exactly by half.
    for (size_t i = 0; i < at96.size(); ++i)
        EXPECT_NEAR(at144[i + 1], at96[i] * 3 / 2.0, 2.0)
            << "number " << i << " (4 per control, then font and minimum)";
}

// Moved to a monitor of 144 dpi, the window lays itself out as one started there.
TEST_F(MainWindowTest, FollowsAMoveToAMonitorOfAnotherDpi) {
    const std::vector<long> at96 = Measure(*window_, 820, 610);
    RECT r{};
    GetWindowRect(window_->Handle(), &r);
    const RECT suggested{r.left, r.top, r.left + (r.right - r.left) * 3 / 2, r.top + (r.bottom - r.top) * 3 / 2};
    SendMessageW(window_->Handle(), WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));
    EXPECT_EQ(window_->Dpi(), 144);
    const std::vector<long> at144 = Measure(*window_, 1230, 915);
    for (size_t i = 0; i < at96.size(); ++i)
        EXPECT_NEAR(at144[i], at96[i] * 3 / 2.0, 2.0) << "number " << i << " (4 per control, then font and minimum)";
}

// Windows does not wait for the window to close at the end of a session: the text is saved when it asks.
TEST_F(MainWindowTest, TheEndOfASessionSavesOnce) {
    SetEditorText("{\"kept\": 1}");
    const std::filesystem::path buffer = objects_.bufferPath;
    std::filesystem::remove(buffer);
    EXPECT_EQ(SendMessageW(window_->Handle(), WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF), TRUE);
    ASSERT_TRUE(std::filesystem::exists(buffer));
    std::filesystem::remove(buffer);
    SendMessageW(window_->Handle(), WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
    EXPECT_FALSE(std::filesystem::exists(buffer)) << "saved a second time";
    // Called off: the user goes on, and closing saves again.
    SendMessageW(window_->Handle(), WM_QUERYENDSESSION, 0, 0);
    SendMessageW(window_->Handle(), WM_ENDSESSION, FALSE, 0);
    std::filesystem::remove(buffer);
    DestroyWindow(window_->Handle());
    EXPECT_TRUE(std::filesystem::exists(buffer));
}

// A handler that fails is reported; the text and the document stay, and the window goes on.
TEST_F(MainWindowTest, AFailingHandlerIsReported) {
    SetEditorText("[1, 2]");
    window_->ParseCommand();
    objects_.mainEditor->SetMessageObserver([](unsigned message, uintptr_t, intptr_t) {
        if (message == SCI_GETLENGTH) throw std::runtime_error("editor gone");
    });
    HWND toolbar = window_->Control(MainControl::工具条_左);
    TBBUTTON format{};
    SendMessageW(toolbar, TB_GETBUTTON, 2, reinterpret_cast<LPARAM>(&format)); // 格式化
    test::MessageBoxWatcher watcher;
    SendMessageW(window_->Handle(), WM_COMMAND, format.idCommand, reinterpret_cast<LPARAM>(toolbar));
    const auto boxes = watcher.Seen();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text + boxes[0].title, "操作失败：editor gone失败");
    objects_.mainEditor->SetMessageObserver(nullptr);
    EXPECT_EQ(EditorText(), "[1, 2]");
    EXPECT_EQ(objects_.model->kind, 12);
    window_->RunToolbarCommand("压缩");
    EXPECT_EQ(EditorText(), "[1,2]");

    // The editor's, the tab strip's and the result tree's own procedures report their failures alike.
    const auto reported = [&watcher](const std::function<void()>& act) {
        const size_t before = watcher.Seen().size();
        act();
        const auto shown = watcher.Seen(); // one per notification that failed
        return shown.size() > before ? shown[before].text : "no box";
    };
    const auto fail = [](const char* what) {
        return [what](auto&&...) -> intptr_t { throw std::runtime_error(what); };
    };
    CodeEditor& editor = *objects_.mainEditor;
    editor.SetEventHandler(kEventKeyUp, fail("key"));
    EXPECT_EQ(reported([&] { SendMessageW(editor.EditorWindow(), WM_KEYUP, 'A', 0); }), "操作失败：key");
    editor.SetEventHandler(kEventModified, fail("modified"));
    EXPECT_EQ(reported([&] { editor.AddText(" "); }), "操作失败：modified");
    TabStripHandlers failing;
    failing.pinToggled = fail("pin");
    objects_.tabStrip->SetHandlers(failing);
    const StripRect pin = objects_.tabStrip->GetTab(1).pin.rect;
    const LPARAM onPin = MAKELPARAM(pin.left + pin.width / 2, pin.top + pin.height / 2);
    EXPECT_EQ(
        reported([&] { SendMessageW(window_->Control(MainControl::画板_选择夹), WM_LBUTTONDOWN, MK_LBUTTON, onPin); }),
        "操作失败：pin");
    window_->ParseCommand();
    objects_.resultTree->Select(0);
    EXPECT_EQ(reported([&] {
                  test::FailNextAllocation();
                  SendMessageW(window_->Control(MainControl::树型框_结果), WM_KEYDOWN, VK_MULTIPLY, 0);
              }),
              "操作失败：std::bad_alloc")
        << "keypad * expands the tree, and allocates";
}

// A save that fails at close is told too, and the program still ends; the buffer stays whole.
TEST_F(MainWindowTest, AFailedSaveAtCloseIsToldAndTheProgramStillEnds) {
    SetEditorText("[1,2]");
    SendMessageW(window_->Handle(), WM_QUERYENDSESSION, 0, 0); // saves [1,2]
    SendMessageW(window_->Handle(), WM_ENDSESSION, FALSE, 0);
    SetEditorText("[3]");
    objects_.mainEditor->SetMessageObserver([](unsigned message, uintptr_t, intptr_t) {
        if (message == SCI_GETTEXT) throw std::bad_alloc();
    });
    test::MessageBoxWatcher closing;
    DestroyWindow(window_->Handle());
    ASSERT_EQ(closing.Seen().size(), 1u);
    EXPECT_EQ(closing.Seen()[0].title, "失败");
    MSG quit;
    EXPECT_TRUE(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) << "the message loop would go on";
    std::string kept;
    ASSERT_TRUE(kova::ReadFileBytes(objects_.bufferPath, kept));
    EXPECT_EQ(kept, "[1,2]");
    objects_.mainEditor->SetMessageObserver(nullptr);
}

// The toolbar row is one surface: the gap between the toolbars and the rule below them look as the toolbars
// do. Nothing of the source tabs' headers shows, and the source page's frame is closed below.
TEST_F(MainWindowTest, ToolbarRowIsEvenAndSourceHeadersAreHidden) {
    const RECT a = RectInParent(window_->Control(MainControl::工具条_左));
    const RECT b = RectInParent(window_->Control(MainControl::工具条_右));
    const LONG rule = RectInParent(window_->Control(MainControl::标签_工具条_底边)).top;
    HWND sources = window_->Control(MainControl::选择夹_来源);
    RECT header{};
    ASSERT_TRUE(SendMessageW(sources, TCM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&header)));
    int odd = 0; // pixels of row y, from x to before to, that differ from the one at reference
    auto row = [&odd](HWND control, LONG y, LONG from, LONG to, LONG reference) {
        DibSurface shot;
        shot.Resize(to, y + 1);
        HDC dc = GetDC(control);
        BitBlt(shot.Dc(), 0, 0, to, y + 1, dc, 0, 0, SRCCOPY);
        ReleaseDC(control, dc);
        GdiFlush();
        for (LONG x = from; x < to; ++x) odd += shot.Pixel(x, y) != shot.Pixel(reference, y);
    };
    HWND page = window_->Control(MainControl::选择夹_JSON);
    for (LONG y = a.top; y < rule; ++y) row(page, y, a.right, b.left, a.right - 3); // the left toolbar's end is blank
    row(page, rule, a.left + 1, b.right - 1, (a.right + b.left) / 2);
    const LONG width = RectInParent(sources).right - RectInParent(sources).left;
    row(sources, header.top - 1, 2, width - 2, width - 3);
    EXPECT_EQ(odd, 0);
    MapWindowPoints(sources, HWND_DESKTOP, reinterpret_cast<POINT*>(&header), 2);
    for (LONG y = header.top; y < header.bottom; ++y)
        EXPECT_NE(WindowFromPoint({(header.left + header.right) / 2, y}), sources) << "header seen at " << y;
}

TEST_F(MainWindowTest, OverlappingControlsShowTheOneInFront) {
    auto frontAt = [](HWND control) {
        const RECT r = RectInParent(control);
        const POINT centre{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
        return ChildWindowFromPointEx(GetParent(control), centre, CWP_SKIPINVISIBLE);
    };
    SetEditorText("[1, 2]");
    window_->ParseCommand();
    ASSERT_EQ(CurrentPage(MainControl::选择夹_JSON), 1);
    HWND tree = window_->Control(MainControl::树型框_结果);
    EXPECT_EQ(frontAt(tree), tree) << "the tree, not its frame label";
    HWND copy = window_->Control(MainControl::按钮_代码_复制);
    ShowWindow(copy, SW_SHOW);
    EXPECT_EQ(frontAt(copy), copy) << "the hover copy button, not the code box";
}

namespace {

// System colours as a dark high-contrast theme sets them (Wine cannot switch high contrast on),
// put back when the test ends, however it ends.
class DarkSystemColours {
public:
    DarkSystemColours() {
        for (size_t i = 0; i < std::size(kIndexes); ++i) saved_[i] = GetSysColor(kIndexes[i]);
        const COLORREF dark[] = {RGB(255, 255, 0), RGB(0, 0, 0), RGB(0, 255, 0), RGB(16, 16, 16)};
        SetSysColors(static_cast<int>(std::size(kIndexes)), kIndexes, dark);
    }
    DarkSystemColours(const DarkSystemColours&) = delete;
    DarkSystemColours& operator=(const DarkSystemColours&) = delete;
    ~DarkSystemColours() { SetSysColors(static_cast<int>(std::size(kIndexes)), kIndexes, saved_); }

private:
    static constexpr INT kIndexes[] = {COLOR_BTNTEXT, COLOR_BTNFACE, COLOR_WINDOWTEXT, COLOR_WINDOW};
    COLORREF saved_[std::size(kIndexes)]{};
};

// The text and background colours a window's WM_CTLCOLORSTATIC handler gives one of its controls.
std::pair<COLORREF, COLORREF> StaticColours(HWND window, HWND control) {
    HDC dc = CreateCompatibleDC(nullptr);
    SetTextColor(dc, RGB(1, 2, 3));
    SetBkColor(dc, RGB(4, 5, 6));
    SendMessageW(window, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(control));
    const std::pair<COLORREF, COLORREF> colours{GetTextColor(dc), GetBkColor(dc)};
    DeleteDC(dc);
    return colours;
}

} // namespace

// Labels on the button face write in the button text colour, so a dark theme does not leave
// them black on black; the design's own colours stay where it names them.
TEST_F(MainWindowTest, LabelsTakeTheirTextColourFromTheSystemToo) {
    const DarkSystemColours dark;
    const std::pair<COLORREF, COLORREF> onButtonFace{GetSysColor(COLOR_BTNTEXT), GetSysColor(COLOR_BTNFACE)};
    std::map<std::string, std::pair<COLORREF, COLORREF>> seen;
    HWND main = window_->Handle();
    seen["标题"] = StaticColours(main, window_->Control(MainControl::标签_标题));
    seen["表达式"] = StaticColours(main, window_->Control(MainControl::标签1));
    seen["内容"] = StaticColours(main, window_->Control(MainControl::编辑框_结果_内容));
    {
        test::WindowWatcher view("查看", [&](HWND w) {
            seen["查看"] = StaticColours(w, GetDlgItem(w, 100));
            SendMessageW(w, WM_CLOSE, 0, 0);
        });
        test::WindowWatcher input("格式化主键名", [&](HWND w) {
            seen["主键名"] = StaticColours(w, GetDlgItem(w, 100));
            SendMessageW(w, WM_COMMAND, IDOK, 0);
        });
        window_->RunToolbarCommand("主键名");
    }
    const std::pair<std::string, std::pair<COLORREF, COLORREF>> expected[] = {
        {"标题", onButtonFace}, {"表达式", onButtonFace}, {"内容", {RGB(64, 64, 64), RGB(255, 255, 255)}},
        {"查看", onButtonFace}, {"主键名", onButtonFace},
    };
    for (const auto& [what, colours] : expected) EXPECT_EQ(seen[what], colours) << what;
}
