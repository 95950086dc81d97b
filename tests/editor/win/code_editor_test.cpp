// A real Scintilla control in a real window: text, set-up order, lexer, keys, menus.
#include "editor/EditorStyle.h"

#include <Scintilla.h>
#include <gtest/gtest.h>

#include <tuple>
#include <vector>

using namespace vivu;

namespace {

class CodeEditorTest : public ::testing::Test {
protected:
    void SetUp() override {
        window_ = CreateWindowExW(0, L"static", L"editor test", WS_OVERLAPPEDWINDOW, 0, 0, 600, 400, nullptr, nullptr,
                                  GetModuleHandleW(nullptr), nullptr);
        ASSERT_TRUE(window_);
        label_ = CreateWindowExW(0, L"static", L"", WS_CHILD | WS_VISIBLE, 8, 8, 500, 300, window_, nullptr,
                                 GetModuleHandleW(nullptr), nullptr);
        ASSERT_TRUE(label_);
    }
    void TearDown() override { DestroyWindow(window_); }

    void Pump() {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }

    std::string Text(CodeEditor& editor) { return editor.GetText(editor.GetLength() + 1); }

    HWND window_ = nullptr;
    HWND label_ = nullptr;
    EditorComponent component_;
};

} // namespace

TEST_F(CodeEditorTest, Utf8TextRoundTrips) {
    CodeEditor editor(component_);
    CreateJsonEditor(editor, label_, nullptr);
    ASSERT_TRUE(editor.Created());
    EXPECT_TRUE(editor.IsUtf8());
    EXPECT_EQ(Text(editor), "");
    EXPECT_EQ(editor.GetText(1), "");
    const std::string text = "{\"名字\":\"中文 😀 ünïcödé\",\r\n\"n\":1}";
    editor.AddText(text);
    EXPECT_EQ(editor.GetLength(), static_cast<int64_t>(text.size()));
    EXPECT_EQ(Text(editor), text);
    editor.ClearAll();
    EXPECT_EQ(Text(editor), "");
    editor.Undo();
    EXPECT_EQ(Text(editor), text) << "clearing goes through the undo history";
}

TEST_F(CodeEditorTest, UndoRightAfterCreationDoesNothing) {
    CodeEditor editor(component_);
    CreateJsonEditor(editor, label_, nullptr);
    editor.Undo();
    EXPECT_EQ(Text(editor), "");
    EXPECT_EQ(editor.SendEditorMessage(SCI_CANUNDO), 0);
}

TEST_F(CodeEditorTest, SetUpMessagesGoOutInOrder) {
    CodeEditor editor(component_);
    std::vector<std::tuple<unsigned, uintptr_t, intptr_t>> sent;
    editor.SetMessageObserver([&sent](unsigned m, uintptr_t w, intptr_t l) { sent.emplace_back(m, w, l); });
    CreateJsonEditor(editor, label_, nullptr);
    ASSERT_TRUE(editor.Created());
    // Pointer arguments (lexer, font name, keywords) are compared by message and wParam only.
    const std::vector<std::tuple<unsigned, uintptr_t, intptr_t>> expected = {
        {SCI_SETMODEVENTMASK, 0x7FFFF, 0}, {SCI_SETCODEPAGE, 65001, 0},         {SCI_SETILEXER, 0, -1},
        {SCI_SETHSCROLLBAR, 0, 0},         {SCI_SETVSCROLLBAR, 1, 0},           {SCI_SETWRAPMODE, 2, 0},
        {SCI_STYLESETFONT, 32, -1},        {SCI_STYLESETSIZE, 32, 10},          {SCI_SETEXTRAASCENT, 2, 0},
        {SCI_SETEXTRADESCENT, 2, 0},       {SCI_SETCARETPERIOD, 500, 0},        {SCI_SETCARETWIDTH, 2, 0},
        {SCI_SETCARETLINEVISIBLE, 1, 0},   {SCI_SETCARETLINEBACK, 0xCBFED1, 0}, {SCI_SETMOUSEDWELLTIME, 500, 0},
        {SCI_CALLTIPSETBACK, 0xE1FFFF, 0}, {SCI_CALLTIPSETFORE, 0, 0},          {SCI_CALLTIPSETFOREHLT, 0xFF0000, 0},
        {SCI_SETSELBACK, 1, 0x800000},     {SCI_SETSELFORE, 1, 0xFFFFFF},       {SCI_EMPTYUNDOBUFFER, 0, 0},
        {SCI_SETTABWIDTH, 4, 0},           {SCI_SETINDENTATIONGUIDES, 1, 0},    {SCI_STYLESETFORE, 37, 0x808080},
        {SCI_STYLESETBACK, 37, 0xFFFFFF},  {SCI_SETMARGINWIDTHN, 1, 8},         {SCI_STYLESETFORE, 33, 0x808080},
        {SCI_STYLESETBACK, 33, 0xFFFFFF},  {SCI_STYLESETFORE, 0, 0x606060},     {SCI_STYLESETFORE, 7, 0x444444},
        {SCI_STYLESETBOLD, 7, 1},          {SCI_STYLESETFORE, 6, 0x008000},     {SCI_STYLESETFORE, 1, 0xCC011A},
        {SCI_STYLESETBOLD, 1, 1},          {SCI_STYLESETFORE, 4, 0x622400},     {SCI_STYLESETFORE, 2, 0x00750B},
        {SCI_STYLESETFORE, 3, 0x00750B},   {SCI_STYLESETFORE, 8, 0x444444},     {SCI_STYLESETFORE, 9, 0x00750B},
        {SCI_STYLESETUNDERLINE, 9, 1},     {SCI_STYLESETFORE, 10, 0x00750B},    {SCI_STYLESETUNDERLINE, 10, 1},
        {SCI_STYLESETFORE, 11, 0xCC011A},  {SCI_STYLESETFORE, 12, 0xCC011A},    {SCI_STYLESETFORE, 5, 0xCC011A},
        {SCI_SETKEYWORDS, 0, -1},
    };
    ASSERT_EQ(sent.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(std::get<0>(sent[i]), std::get<0>(expected[i])) << "message " << i;
        EXPECT_EQ(std::get<1>(sent[i]), std::get<1>(expected[i])) << "message " << i;
        if (std::get<2>(expected[i]) != -1) {
            EXPECT_EQ(std::get<2>(sent[i]), std::get<2>(expected[i])) << "message " << i;
        }
    }
    EXPECT_NE(std::get<2>(sent[2]), 0) << "the JSON lexer was found in lexilla.dll";
    EXPECT_EQ(editor.SendEditorMessage(SCI_GETWRAPMODE), SC_WRAP_CHAR) << "the control took the values";
    EXPECT_EQ(editor.SendEditorMessage(SCI_STYLEGETFORE, 1), 0xCC011A);
}

TEST_F(CodeEditorTest, JsonLexerColoursKeywordsAndNumbers) {
    CodeEditor editor(component_);
    CreateJsonEditor(editor, label_, nullptr);
    const std::string text = R"({"key": true, "n": 12, "z": null})";
    editor.AddText(text);
    editor.SendEditorMessage(SCI_COLOURISE, 0, -1);
    auto styleAt = [&](const char* what) { return editor.SendEditorMessage(SCI_GETSTYLEAT, text.find(what)); };
    EXPECT_EQ(styleAt("true"), 11) << "keyword";
    EXPECT_EQ(styleAt("12"), 1) << "number";
    EXPECT_EQ(styleAt("\"key\""), 4) << "property name";
    EXPECT_NE(styleAt("null"), 11) << "null is not in the keyword list";
}

TEST_F(CodeEditorTest, TabInsertsTabWidthSpacesOrOneTab) {
    CodeEditor editor(component_);
    CreateJsonEditor(editor, label_, nullptr);
    SetFocus(editor.EditorWindow());
    editor.SendEditorMessage(SCI_SETUSETABS, 0);
    editor.AddText("ab");
    editor.SendEditorMessage(SCI_SETSEL, 0, 1); // select "a"
    SendMessageW(editor.EditorWindow(), WM_KEYDOWN, VK_TAB, 0);
    SendMessageW(editor.EditorWindow(), WM_CHAR, '\t', 0);
    SendMessageW(editor.EditorWindow(), WM_KEYUP, VK_TAB, 0);
    EXPECT_EQ(Text(editor), "    b") << "the selection is replaced by exactly four spaces";
    editor.SendEditorMessage(SCI_SETUSETABS, 1);
    SendMessageW(editor.EditorWindow(), WM_KEYDOWN, VK_TAB, 0);
    SendMessageW(editor.EditorWindow(), WM_CHAR, '\t', 0);
    EXPECT_EQ(Text(editor), "    \tb");
    // Shift+Tab, Ctrl+Tab and Alt+Tab are someone else's keys (past the indentation Scintilla's Shift+Tab only moves).
    editor.SendEditorMessage(SCI_GOTOPOS, 6);
    for (const int modifier : {VK_SHIFT, VK_CONTROL, VK_MENU}) {
        BYTE keys[256] = {};
        keys[modifier] = 0x80;
        SetKeyboardState(keys);
        SendMessageW(editor.EditorWindow(), WM_KEYDOWN, VK_TAB, 0);
        keys[modifier] = 0;
        SetKeyboardState(keys);
        EXPECT_EQ(Text(editor), "    \tb") << modifier;
    }
}

TEST_F(CodeEditorTest, RawMessageHandlersConsumeOnlyWithOne) {
    CodeEditor editor(component_);
    CreateJsonEditor(editor, label_, nullptr);
    SetFocus(editor.EditorWindow());
    intptr_t answer = 1;
    int calls = 0;
    editor.SetEventHandler(kEventChar, [&](const EditorEvent& e) {
        ++calls;
        EXPECT_EQ(e.args[0], 'x');
        return answer;
    });
    SendMessageW(editor.EditorWindow(), WM_CHAR, 'x', 0);
    EXPECT_EQ(Text(editor), "") << "consumed";
    answer = 2;
    SendMessageW(editor.EditorWindow(), WM_CHAR, 'x', 0);
    EXPECT_EQ(Text(editor), "x") << "2 does not consume";
    EXPECT_EQ(calls, 2);
}

TEST_F(CodeEditorTest, RightClickShowsNoControlMenu) {
    CodeEditor editor(component_);
    int released = 0;
    CreateJsonEditor(editor, label_, [&released](const EditorEvent& e) {
        ++released;
        EXPECT_EQ(e.id, kEventRightButtonUp);
        return 0;
    });
    SendMessageW(editor.EditorWindow(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(20, 20));
    SendMessageW(editor.EditorWindow(), WM_RBUTTONUP, 0, MAKELPARAM(20, 20));
    EXPECT_EQ(released, 1);
    EXPECT_EQ(SendMessageW(editor.EditorWindow(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(editor.EditorWindow()),
                           MAKELPARAM(30, 30)),
              0);
    Pump();
    EXPECT_EQ(FindWindowW(L"#32768", nullptr), nullptr) << "no popup menu is open";
}

TEST_F(CodeEditorTest, NotificationsReachHandlers) {
    CodeEditor editor(component_);
    CreateJsonEditor(editor, label_, nullptr);
    std::vector<std::pair<intptr_t, std::string>> modified;
    editor.SetEventHandler(kEventModified, [&](const EditorEvent& e) {
        if (e.args[1] & SC_MOD_INSERTTEXT) modified.emplace_back(e.args[0], e.text);
        return 0;
    });
    editor.AddText("中文");
    ASSERT_EQ(modified.size(), 1u);
    EXPECT_EQ(modified[0].first, 0);
    EXPECT_EQ(modified[0].second, "中文");
    // A handler that removes itself is not called again, and the change it saw goes through.
    int calls = 0;
    editor.SetEventHandler(kEventModified, [&](const EditorEvent& e) -> intptr_t {
        if (!(e.args[1] & SC_MOD_DELETETEXT)) return 0;
        editor.SetEventHandler(kEventModified, nullptr);
        ++calls;
        EXPECT_EQ(e.text, "中文") << "the deleted text";
        return 0;
    });
    editor.ClearAll();
    editor.AddText("x");
    editor.ClearAll();
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(Text(editor), "");
}

TEST_F(CodeEditorTest, ContainerSizeFitsTheControl) {
    CodeEditor editor(component_);
    CreateJsonEditor(editor, label_, nullptr);
    editor.Move(2, 2, 300, 200);
    RECT r{};
    GetWindowRect(editor.EditorWindow(), &r);
    EXPECT_EQ(r.right - r.left, 300);
    EXPECT_EQ(r.bottom - r.top, 200);
    editor.Move(std::nullopt, std::nullopt, 250, std::nullopt);
    GetWindowRect(editor.ContainerWindow(), &r);
    MapWindowPoints(HWND_DESKTOP, label_, reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ(r.left, 2);
    EXPECT_EQ(r.right - r.left, 250);
    EXPECT_EQ(r.bottom - r.top, 200);
}

TEST_F(CodeEditorTest, MissingComponentIsHarmless) {
    EditorComponent missing;
    missing.scintillaName = L"no-such-scintilla.dll";
    CodeEditor editor(missing);
    CreateJsonEditor(editor, label_, nullptr);
    EXPECT_FALSE(editor.Created());
    EXPECT_EQ(editor.EditorWindow(), nullptr);
    editor.AddText("ignored");
    EXPECT_EQ(editor.GetLength(), 0);
    EXPECT_EQ(Text(editor), "");
    editor.Move(0, 0, 10, 10);
}

TEST_F(CodeEditorTest, DestroyedWindowsDoNotCallBack) {
    auto editor = std::make_unique<CodeEditor>(component_);
    CreateJsonEditor(*editor, label_, nullptr);
    DestroyWindow(label_);
    EXPECT_FALSE(editor->Created()) << "the editor let go of its destroyed windows";
    EXPECT_EQ(editor->GetLength(), 0);
    editor.reset();
}
