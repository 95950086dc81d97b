// The main window's sources and its settings and buffer files, with real files and a real server.
#include "app/ProcessObjects.h"
#include "app/Settings.h"
#include "kova/File.h"
#include "kova/JList.h"
#include "support/win/MainWindowHarness.h"
#include "support/win/MessageBoxWatcher.h"
#include "support/win/WindowWatcher.h"
#include "ui/MainWindow.h"

#include <Scintilla.h>
#include <commctrl.h>
#include <gtest/gtest.h>
#include <shlobj.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

using namespace vivu;
namespace fs = std::filesystem;

namespace {

class MainWindowFiles : public test::MainWindowHarness {};

std::string ServerBase() {
    const char* base = std::getenv("KOVA_TEST_HTTP_BASE");
    return base ? base : "";
}

// Returns once the test server holds a /slow?tag=TAG request.
void WaitUntilServerWaits(const std::string& tag) {
    kova::HTTPWebClient probe;
    std::string count;
    while (probe.Get(ServerBase() + "/waiting?tag=" + tag, count) && count == "0") {
    }
}

} // namespace

TEST_F(MainWindowFiles, FirstStartWithoutSettings) {
    Open();
    EXPECT_EQ(EditorText(), "");
    EXPECT_EQ(SendMessageW(window_->Control(MainControl::组合框_数据源), CB_GETCURSEL, 0, 0), 0);
    EXPECT_EQ(SendMessageW(window_->Control(MainControl::选择框_结果_全部展开), BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_EQ(Text(MainControl::编辑框_结果), "") << "no document, no loading code";
    RECT r{};
    GetWindowRect(window_->Handle(), &r);
    EXPECT_EQ(r.right - r.left, 657);
    EXPECT_EQ(r.bottom - r.top, 468);
}

TEST_F(MainWindowFiles, FileSourceLoadsGbkAndReportsFailures) {
    Open();
    const std::string gbk = Path("数据.json");
    ASSERT_TRUE(kova::WriteFileBytes(gbk, "{\"\xC3\xFB\xD7\xD6\": [1, 2]}")); // {"名字": [1, 2]} in GBK
    SelectSource(2);
    SetText(MainControl::编辑框_文件路径, gbk);
    window_->LoadFromFile();
    EXPECT_EQ(EditorText(), "{\"名字\": [1, 2]}");
    EXPECT_EQ(objects_->model->kind, 11);
    const std::string code = Text(MainControl::编辑框_结果);
    EXPECT_NE(code.find("文件路径 ＝ “" + gbk + "”"), std::string::npos) << code;

    test::MessageBoxWatcher watcher;
    SetText(MainControl::编辑框_文件路径, Path("missing.json"));
    window_->LoadFromFile();
    EXPECT_EQ(EditorText(), "{\"名字\": [1, 2]}") << "a missing file leaves the editor alone";
    const std::string text = Path("text.json");
    ASSERT_TRUE(kova::WriteFileBytes(text, "hello"));
    SetText(MainControl::编辑框_文件路径, text);
    window_->LoadFromFile();
    EXPECT_EQ(EditorText(), "hello") << "a file that is not JSON stays in the editor";
    EXPECT_EQ(objects_->model->kind, 0);
    const std::string broken = Path("broken.json");
    ASSERT_TRUE(kova::WriteFileBytes(broken, "[1,\n2,,3]"));
    SetText(MainControl::编辑框_文件路径, broken);
    window_->LoadFromFile();
    EXPECT_EQ(objects_->mainEditor->SendEditorMessage(SCI_GETCURRENTPOS), 6) << "the caret where reading stopped";
    const auto boxes = watcher.Seen();
    ASSERT_EQ(boxes.size(), 3u);
    EXPECT_EQ(boxes[0].text, "文件不存在！请(重新)选择文件");
    EXPECT_EQ(boxes[0].title, "失败");
    EXPECT_EQ(boxes[1].text, "未知的 JSON 类型");
    EXPECT_EQ(boxes[1].title, "失败");
    EXPECT_EQ(boxes[2].text, "加载[存取列表]类型 JSON 失败\n位置：第 2 行，第 3 列");
}

// "kova-json.exe FILE" and a file dropped on the window: the file source loads it and the
// result page shows its tree; the other settings stay as restored and the buffer stays unread.
TEST_F(MainWindowFiles, FilesNamedAtStartOrDroppedAreOpened) {
    const std::string first = Path("数据 文件.json");
    const std::string second = Path("second.json");
    ASSERT_TRUE(kova::WriteFileBytes(first, "{\"名字\": [1, 2]}"));
    ASSERT_TRUE(kova::WriteFileBytes(second, "[true]"));
    ASSERT_TRUE(kova::WriteFileBytes(Path("kova.json.config.json"),
                                     R"({"Source":{"Type":"Web","Web":"http://example.test/a","File":""}})"));
    ASSERT_TRUE(kova::WriteFileBytes(Path("kova.json.buffer.dat"), "[\"buffer\"]"));
    startFile_ = first;
    Open();
    EXPECT_EQ(SendMessageW(window_->Control(MainControl::组合框_数据源), CB_GETCURSEL, 0, 0), 2);
    EXPECT_EQ(Text(MainControl::编辑框_文件路径), first);
    EXPECT_EQ(Text(MainControl::编辑框_网址), "http://example.test/a") << "restored as usual";
    EXPECT_EQ(EditorText(), "{\"名字\": [1, 2]}") << "the file, not the buffer";
    EXPECT_EQ(SendMessageW(window_->Control(MainControl::选择夹_JSON), TCM_GETCURSEL, 0, 0), 1) << "the result page";
    EXPECT_EQ(objects_->resultTree->Model().ItemCount(), 4);
    EXPECT_TRUE(GetWindowLongPtrW(window_->Handle(), GWL_EXSTYLE) & WS_EX_ACCEPTFILES);

    // What Explorer sends for two files dropped together: the first one is opened.
    const std::wstring names = kova::Utf8ToWide(second) + L'\0' + kova::Utf8ToWide(first) + L'\0';
    HGLOBAL drop = GlobalAlloc(GHND, sizeof(DROPFILES) + (names.size() + 1) * sizeof(wchar_t));
    auto* files = static_cast<DROPFILES*>(GlobalLock(drop));
    files->pFiles = sizeof(DROPFILES);
    files->fWide = TRUE;
    memcpy(files + 1, names.c_str(), (names.size() + 1) * sizeof(wchar_t));
    GlobalUnlock(drop);
    HWND back = window_->Control(MainControl::按钮_结果_返回);
    SendMessageW(window_->Handle(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(back), BN_CLICKED),
                 reinterpret_cast<LPARAM>(back));
    SendMessageW(window_->Handle(), WM_DROPFILES, reinterpret_cast<WPARAM>(drop), 0);
    EXPECT_EQ(Text(MainControl::编辑框_文件路径), second);
    EXPECT_EQ(EditorText(), "[true]");
    EXPECT_EQ(SendMessageW(window_->Control(MainControl::选择夹_JSON), TCM_GETCURSEL, 0, 0), 1);
    EXPECT_EQ(objects_->resultTree->Model().ItemCount(), 2);
    Close();

    // A file that is not there: the load button's message, and nothing else changes.
    test::MessageBoxWatcher watcher;
    startFile_ = Path("missing.json");
    Open();
    EXPECT_EQ(Text(MainControl::编辑框_文件路径), startFile_);
    EXPECT_EQ(EditorText(), "") << "the buffer is not loaded in its place";
    ASSERT_EQ(watcher.Seen().size(), 1u);
    EXPECT_EQ(watcher.Seen()[0].text, "文件不存在！请(重新)选择文件");
    EXPECT_EQ(SendMessageW(window_->Control(MainControl::选择夹_JSON), TCM_GETCURSEL, 0, 0), 0);
}

TEST_F(MainWindowFiles, WebSourceAgainstALoopbackServer) {
    const std::string base = ServerBase();
    ASSERT_FALSE(base.empty()) << "run through scripts/test, which starts the test server";
    Open();
    SelectSource(1);
    SetText(MainControl::编辑框_网址, base + "/utf8");
    window_->LoadFromWeb();
    EXPECT_NE(EditorText().find("维维迪维兹"), std::string::npos);
    EXPECT_EQ(objects_->model->kind, 11);
    EXPECT_NE(Text(MainControl::编辑框_结果).find("从网络加载 (“" + base + "/utf8”"), std::string::npos);

    test::MessageBoxWatcher watcher;
    const std::string loaded = EditorText();
    SetText(MainControl::编辑框_网址, base + "/missing");
    window_->LoadFromWeb();
    EXPECT_EQ(EditorText(), loaded) << "a failed request puts the text back";
    EXPECT_EQ(objects_->settings->GetString("//Source.Web"), base + "/missing") << "stored before the request";
    SetText(MainControl::编辑框_网址, "http://127.0.0.1:1/");
    window_->LoadFromWeb();
    EXPECT_EQ(EditorText(), loaded);
    const auto boxes = watcher.Seen();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].text, "读取数据失败！([404] Not Found)");
    EXPECT_EQ(boxes[0].title, "载入失败");
    EXPECT_EQ(boxes[1].text, "无法连接到服务器！");
}

// The request runs while a box over the window keeps it answering; 取消 ends it as a time-out
// would, without a message. Closing the window meanwhile ends it too.
TEST_F(MainWindowFiles, WebLoadCanBeCancelledFromItsBox) {
    const std::string base = ServerBase();
    ASSERT_FALSE(base.empty()) << "run through scripts/test, which starts the test server";
    Open();
    SelectSource(1);
    objects_->mainEditor->AddText("[\"mine\"]");
    objects_->webClient->SetupTimeout(0, 0); // no time-out: only the cancel can end these requests
    test::MessageBoxWatcher messages;
    std::vector<std::string> texts; // of the box's controls, read while the request runs
    HWND owner = nullptr;
    bool ownerEnabled = true, centred = false;
    std::string savedAtSessionEnd;
    SetText(MainControl::编辑框_网址, base + "/slow?tag=box");
    {
        test::WindowWatcher watcher("载入", [&](HWND box) {
            for (HWND c = GetWindow(box, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
                texts.push_back(test::ControlText(c));
            owner = GetWindow(box, GW_OWNER);
            ownerEnabled = IsWindowEnabled(owner);
            RECT b{}, o{};
            GetWindowRect(box, &b);
            GetWindowRect(owner, &o);
            centred = std::abs(b.left + b.right - o.left - o.right) <= 2 &&
                      std::abs(b.top + b.bottom - o.top - o.bottom) <= 2;
            WaitUntilServerWaits("box");
            // A session end meanwhile saves what the editor held before the load; then it is called off.
            SendMessageW(owner, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF);
            kova::ReadFileBytes(Path(kBufferFileName), savedAtSessionEnd);
            SendMessageW(owner, WM_ENDSESSION, FALSE, 0);
            SendMessageW(FindWindowExW(box, nullptr, L"Button", nullptr), BM_CLICK, 0, 0);
        });
        window_->LoadFromWeb();
    }
    EXPECT_EQ(texts, (std::vector<std::string>{"正在从网络加载…", "取消"}));
    EXPECT_EQ(owner, window_->Handle());
    EXPECT_FALSE(ownerEnabled);
    EXPECT_TRUE(centred);
    EXPECT_TRUE(IsWindowEnabled(window_->Handle()));
    EXPECT_TRUE(messages.Seen().empty()) << messages.Seen()[0].text;
    EXPECT_EQ(savedAtSessionEnd, "[\"mine\"]");
    EXPECT_EQ(EditorText(), "[\"mine\"]") << "put back, as after a time-out";

    SetText(MainControl::编辑框_网址, base + "/utf8");
    window_->LoadFromWeb();
    EXPECT_NE(EditorText().find("维维迪维兹"), std::string::npos) << "the next load works";

    const HWND main = window_->Handle();
    SetText(MainControl::编辑框_网址, base + "/slow?tag=close");
    {
        test::WindowWatcher watcher("载入", [&](HWND) {
            WaitUntilServerWaits("close");
            PostMessageW(main, WM_CLOSE, 0, 0);
        });
        window_->LoadFromWeb();
        EXPECT_TRUE(watcher.Found());
    }
    EXPECT_FALSE(IsWindow(main));
    MSG quit;
    EXPECT_TRUE(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) << "the quit is left for the outer loop";
    EXPECT_TRUE(messages.Seen().empty());
}

TEST_F(MainWindowFiles, SettingsAndContentSurviveARestart) {
    Open();
    SelectSource(1);
    SetText(MainControl::编辑框_网址, "http://example.invalid/x.json");
    SendMessageW(window_->Control(MainControl::选择框_结果_全部展开), BM_SETCHECK, BST_CHECKED, 0);
    objects_->mainEditor->AddText("{\"留\": \"下\"}");
    MoveWindow(window_->Handle(), 70, 80, 900, 700, TRUE);
    Close();
    const std::string settingsPath = Path(kSettingsFileName);
    ASSERT_TRUE(fs::exists(settingsPath));
    ASSERT_TRUE(fs::exists(Path(kBufferFileName)));

    Open();
    RECT r{};
    GetWindowRect(window_->Handle(), &r);
    EXPECT_EQ(r.left, 70);
    EXPECT_EQ(r.top, 80);
    EXPECT_EQ(r.right - r.left, 900);
    EXPECT_EQ(r.bottom - r.top, 700);
    EXPECT_EQ(SendMessageW(window_->Control(MainControl::组合框_数据源), CB_GETCURSEL, 0, 0), 1);
    EXPECT_EQ(Text(MainControl::编辑框_网址), "http://example.invalid/x.json");
    EXPECT_EQ(SendMessageW(window_->Control(MainControl::选择框_结果_全部展开), BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(EditorText(), "{\"留\": \"下\"}");
    EXPECT_EQ(objects_->model->kind, 11) << "parsed silently at start";
    EXPECT_NE(Text(MainControl::编辑框_结果).find("从网络加载"), std::string::npos);

    // Closing without changes rewrites neither file.
    const auto old = fs::file_time_type::clock::now() - std::chrono::hours(2);
    fs::last_write_time(settingsPath, old);
    fs::last_write_time(Path(kBufferFileName), old);
    Close();
    const auto recent = fs::file_time_type::clock::now() - std::chrono::hours(1);
    EXPECT_LT(fs::last_write_time(settingsPath), recent) << "settings file rewritten";
    EXPECT_LT(fs::last_write_time(Path(kBufferFileName)), recent) << "buffer file rewritten";

    // Without scintilla.dll there is no editor, and its empty text must not replace the last one.
    Open("", "", L"no-such-scintilla.dll");
    ASSERT_FALSE(objects_->mainEditor->Created());
    Close();
    std::string kept;
    ASSERT_TRUE(kova::ReadFileBytes(Path(kBufferFileName), kept));
    EXPECT_EQ(kept, "{\"留\": \"下\"}");
}

namespace {

// Every control's rectangle on the screen, in the order of the window's children.
std::vector<long> Places(HWND window) {
    std::vector<long> edges;
    EnumChildWindows(
        window,
        [](HWND child, LPARAM to) {
            RECT r{};
            GetWindowRect(child, &r);
            reinterpret_cast<std::vector<long>*>(to)->insert(reinterpret_cast<std::vector<long>*>(to)->end(),
                                                             {r.left, r.top, r.right, r.bottom});
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&edges));
    return edges;
}

// Windows answering the first move to (x, y) as a move onto a monitor of 144 dpi: the window is asked for
// its size there (WM_GETDPISCALEDSIZE; a window that does not answer is scaled in proportion), then told.
struct MoveOntoAMonitorOf144Dpi {
    static inline POINT to{};
    static inline std::vector<long> placesThen; // right after the window was told
    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam) {
        const auto& call = *reinterpret_cast<const CWPRETSTRUCT*>(lParam);
        const auto* pos = reinterpret_cast<const WINDOWPOS*>(call.lParam);
        if (code == HC_ACTION && call.message == WM_WINDOWPOSCHANGED && placesThen.empty() &&
            !(pos->flags & SWP_NOMOVE) && pos->x == to.x && pos->y == to.y) {
            SIZE size{pos->cx, pos->cy};
            if (!SendMessageW(call.hwnd, 0x02E4 /* WM_GETDPISCALEDSIZE */, 144, reinterpret_cast<LPARAM>(&size)))
                size = {pos->cx * 3 / 2, pos->cy * 3 / 2};
            const RECT suggested{pos->x, pos->y, pos->x + size.cx, pos->y + size.cy};
            SendMessageW(call.hwnd, WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));
            placesThen = Places(call.hwnd);
        }
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }
};

} // namespace

// Saved on a monitor of 144 dpi while the primary one has 96: the restore moves the window there, and it
// comes back at exactly its rectangle, laid out for 144 dpi from that moment on, and keeps it in the settings.
TEST_F(MainWindowFiles, ComesBackAtItsRectangleOnAMonitorOfAnotherDpi) {
    ASSERT_TRUE(kova::WriteFileBytes(Path(kSettingsFileName), R"({"Form":{"Position":[40,60,1220,940]}})"));
    MoveOntoAMonitorOf144Dpi::to = {40, 60};
    HHOOK hook = SetWindowsHookExW(WH_CALLWNDPROCRET, MoveOntoAMonitorOf144Dpi::Hook, nullptr, GetCurrentThreadId());
    Open();
    UnhookWindowsHookEx(hook);
    ASSERT_EQ(window_->Dpi(), 144);
    SendMessageW(window_->Handle(), WM_SIZE, SIZE_RESTORED, 0); // lays out again, and records the rectangle
    EXPECT_EQ(Places(window_->Handle()), MoveOntoAMonitorOf144Dpi::placesThen);
    Close();
    kova::JMap settings;
    ASSERT_TRUE(settings.FromJSON(kova::ReadStringFile(Path(kSettingsFileName))));
    kova::JList position;
    ASSERT_TRUE(settings.GetList("//Form.Position", position));
    EXPECT_EQ(position.ToJSON(false), "[40,60,1220,940]");
}

TEST_F(MainWindowFiles, DamagedSettingsAreKeptAside) {
    ASSERT_TRUE(kova::WriteFileBytes(Path(kSettingsFileName), "{\"Form\": broken"));
    ASSERT_TRUE(kova::WriteFileBytes(Path(kBufferFileName), "[1]"));
    Open();
    EXPECT_EQ(EditorText(), "") << "no restore at all, not even the buffer";
    Close();
    std::string kept;
    ASSERT_TRUE(kova::ReadFileBytes(Path(kBufferFileName), kept));
    EXPECT_EQ(kept, "[1]") << "a buffer never loaded is not replaced by the empty editor";
    ASSERT_TRUE(kova::ReadFileBytes(Path(kSettingsFileName) + ".bad", kept));
    EXPECT_EQ(kept, "{\"Form\": broken");
    kova::JMap fresh;
    EXPECT_TRUE(fresh.FromJSON(kova::ReadStringFile(Path(kSettingsFileName)))) << "a fresh file replaces it";
}

TEST_F(MainWindowFiles, LargeBufferIsOfferedWithAQuestion) {
    ASSERT_TRUE(kova::WriteFileBytes(Path(kSettingsFileName), "{}"));
    // Chinese characters are two bytes as GBK: 4 ASCII bytes + 524,286 × 2 = 1,048,576, the limit.
    std::string chinese;
    for (int i = 0; i < 524286; ++i) chinese += "中";
    const std::string atLimit = "[\"" + chinese + "\"]";
    const std::string overLimit = "[\"" + chinese + "a\"]"; // one byte more
    for (const int answer : {IDCANCEL, IDOK}) {
        ASSERT_TRUE(kova::WriteFileBytes(Path(kBufferFileName), overLimit));
        {
            test::MessageBoxWatcher watcher(answer);
            Open();
            const auto boxes = watcher.Seen();
            ASSERT_EQ(boxes.size(), 1u);
            EXPECT_EQ(boxes[0].text, "是否加载最近的内容？");
            EXPECT_EQ(boxes[0].title, "是否加载");
        }
        EXPECT_EQ(EditorText(), answer == IDOK ? overLimit : "") << answer;
        EXPECT_EQ(objects_->model->kind, answer == IDOK ? 12 : 0) << answer;
        Close();
    }
    ASSERT_TRUE(kova::WriteFileBytes(Path(kBufferFileName), atLimit));
    test::MessageBoxWatcher watcher;
    Open();
    EXPECT_TRUE(watcher.Seen().empty());
    EXPECT_EQ(EditorText(), atLimit);
}
