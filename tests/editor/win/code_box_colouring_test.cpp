// The code box colouring on a real RichEdit20W control, wired to its EN_CHANGE as the main window wires it.
#include "codegen/AccessCode.h"
#include "codegen/CodeLines.h"
#include "codegen/LoadingCode.h"
#include "editor/CodeBoxColouring.h"
#include "editor/CodeBoxStyle.h"
#include "kova/Encoding.h"
#include "ui/AvailableFace.h"

#include <richedit.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace vivu;

namespace {

constexpr wchar_t kHostClass[] = L"KovaCodeBoxTestHost";
constexpr int kBoxId = 100;
constexpr uint32_t kRed = Rgb(255, 0, 0);

constexpr DWORD kEventMask = ENM_CHANGE | ENM_SELCHANGE;

// What the host window knows of its box: the box colours itself from EN_CHANGE unless told not to.
struct BoxHost {
    HWND box = nullptr;
    int changes = 0;
    int selectionChanges = 0;
    bool colourOnChange = true;
};

LRESULT CALLBACK HostProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(window, 0, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    } else if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(window, 0, 0);
    }
    auto* host = reinterpret_cast<BoxHost*>(GetWindowLongPtrW(window, 0));
    if (message == WM_COMMAND && host && LOWORD(wParam) == kBoxId && HIWORD(wParam) == EN_CHANGE) {
        ++host->changes;
        if (host->colourOnChange) ColouriseCodeBox(host->box);
        return 0;
    }
    if (message == WM_NOTIFY && host && reinterpret_cast<const NMHDR*>(lParam)->code == EN_SELCHANGE) {
        ++host->selectionChanges;
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

// A rich edit position: UTF-16 index less one for every CR LF before it.
LONG BoxPosition(const std::wstring& text, size_t index) {
    LONG breaks = 0;
    for (size_t i = 0; i + 1 < index; ++i)
        if (text[i] == L'\r' && text[i + 1] == L'\n') ++breaks;
    return LONG(index) - breaks;
}

// One character to check: the offset-th character of the occurrence-th match of needle.
struct Expected {
    const char* needle;
    int occurrence;
    size_t offset;
    uint32_t colour;
    bool bold;
};

class CodeBoxTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(LoadLibraryW(L"riched20.dll"));
        WNDCLASSEXW windowClass{};
        windowClass.cbSize = sizeof windowClass;
        windowClass.lpfnWndProc = HostProc;
        windowClass.cbWndExtra = sizeof(void*);
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
        windowClass.lpszClassName = kHostClass;
        if (!RegisterClassExW(&windowClass)) {
            ASSERT_EQ(GetLastError(), DWORD(ERROR_CLASS_ALREADY_EXISTS));
        }
        // Hidden: everything checked here works the same, and Wine tears a hidden window down at once.
        window_ = CreateWindowExW(0, kHostClass, L"code box test", WS_OVERLAPPEDWINDOW, 0, 0, 680, 200, nullptr,
                                  nullptr, GetModuleHandleW(nullptr), &host_);
        ASSERT_TRUE(window_);
        host_.box = CreateWindowExW(WS_EX_CLIENTEDGE, L"RichEdit20W", L"",
                                    WS_CHILD | WS_VISIBLE | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL, 8, 8, 634, 88,
                                    window_, reinterpret_cast<HMENU>(kBoxId), GetModuleHandleW(nullptr), nullptr);
        ASSERT_TRUE(host_.box);
        SendMessageW(host_.box, EM_SETEVENTMASK, 0, kEventMask);
    }
    void TearDown() override {
        if (window_) DestroyWindow(window_);
    }

    HWND Box() const { return host_.box; }

    void SetText(const std::string& utf8) { SetWindowTextW(Box(), kova::Utf8ToWide(utf8).c_str()); }

    CHARRANGE Selection() const {
        CHARRANGE range{};
        SendMessageW(Box(), EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&range));
        return range;
    }
    void Select(LONG start, LONG end) {
        CHARRANGE range{start, end};
        SendMessageW(Box(), EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
    }

    // The format of the one character at position (this moves the selection).
    CHARFORMAT2W FormatAt(LONG position) {
        Select(position, position + 1);
        CHARFORMAT2W format{};
        format.cbSize = sizeof format;
        SendMessageW(Box(), EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
        return format;
    }
    CHARFORMAT2W DefaultFormat() {
        CHARFORMAT2W format{};
        format.cbSize = sizeof format;
        SendMessageW(Box(), EM_GETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&format));
        return format;
    }

    void ExpectColours(const std::string& text, const std::vector<Expected>& rows) {
        const std::wstring wide = kova::Utf8ToWide(text);
        for (const Expected& row : rows) {
            const std::wstring needle = kova::Utf8ToWide(row.needle);
            size_t found = wide.find(needle);
            for (int k = 0; k < row.occurrence && found != std::wstring::npos; ++k)
                found = wide.find(needle, found + 1);
            ASSERT_NE(found, std::wstring::npos) << row.needle;
            const LONG position = BoxPosition(wide, found + row.offset);
            SCOPED_TRACE(testing::Message()
                         << "\"" << row.needle << "\" #" << row.occurrence << " +" << row.offset << " at " << position);
            const CHARFORMAT2W format = FormatAt(position);
            EXPECT_EQ(format.crTextColor, row.colour);
            EXPECT_EQ((format.dwEffects & CFE_BOLD) != 0, row.bold);
            EXPECT_EQ(format.dwEffects & CFE_AUTOCOLOR, 0u);
        }
    }

    HWND window_ = nullptr;
    BoxHost host_;
};

constexpr uint32_t kDefault = kCodeBoxDefaultColour;
constexpr uint32_t kSep = kCodeBoxSeparatorColour;
constexpr uint32_t kWord = kCodeBoxWordColour;
constexpr uint32_t kNumber = kCodeBoxNumberColour;
constexpr uint32_t kBoolean = kCodeBoxBooleanColour;
constexpr uint32_t kQuoted = kCodeBoxQuotedColour;

TEST_F(CodeBoxTest, ColoursALoadingSnippetWhenItArrives) {
    const std::string text = LoadingCodeGenerator(kSourceWeb, 11, "http://127.0.0.1/a.json", "");
    SetText(text);
    EXPECT_EQ(host_.changes, 1);
    EXPECT_EQ(CodeBoxText(Box()), text);
    ExpectColours(text, {
                            {".版本", 0, 0, kSep, true},
                            {".版本", 0, 2, kSep, true},
                            {" 2", 0, 0, kDefault, false}, // the separator after a directive word
                            {" 2", 0, 1, kNumber, false},
                            {".支持库", 0, 0, kWord, false},
                            {"kova", 0, 3, kWord, false},
                            {"键值表", 0, 1, kWord, false},
                            {", 存取键值表", 0, 0, kSep, false},
                            {".如果真", 0, 0, kWord, false},
                            {".从网络加载", 0, 0, kSep, false},
                            {"(“", 0, 0, kWord, false},
                            {"“http", 0, 0, kQuoted, false},
                            {"127.0", 0, 0, kQuoted, false},
                            {"a.json”", 0, 1, kQuoted, false},
                            {"json”", 0, 4, kQuoted, false},
                            {"”, , , ))", 0, 1, kWord, false}, // a closing quote is followed by a token
                            {"”, , , ))", 0, 2, kSep, false},
                            {"处理键值表", 0, 4, kWord, false},
                        });
}

TEST_F(CodeBoxTest, ColoursAnAccessSnippetAndNumbers) {
    const std::string text = JoinCodeLines(AccessCodeGenerator(12, 11, "//[1].a\\.b")) +
                             "\r\n数值 ＝ -7 + 3.14 × 007 + 12345678901234\r\n真 假";
    SetText(text);
    ExpectColours(text, {
                            {".版本", 0, 1, kSep, true},
                            {".局部变量", 0, 0, kWord, false},
                            {"结果键值表", 1, 2, kWord, false},
                            {"列表.", 0, 0, kWord, false},
                            {"列表.", 0, 2, kSep, false},
                            {"“//[1]", 0, 0, kQuoted, false},
                            {"\\.b”", 0, 3, kQuoted, false},
                            {" -7", 0, 1, kNumber, false},
                            {" -7", 0, 2, kNumber, false},
                            {"3.14", 0, 0, kNumber, false},
                            {"3.14", 0, 1, kSep, false},
                            {"3.14", 0, 3, kNumber, false},
                            {"×", 0, 0, kWord, false}, // follows a separator, so it starts a token
                            {"007", 0, 0, kWord, false},
                            {"12345678901234", 0, 0, kWord, false},
                            {"真", 0, 0, kBoolean, false},
                            {"假", 0, 0, kBoolean, false},
                        });
}

TEST_F(CodeBoxTest, CountsPositionsLikeTheBox) {
    // A character outside the BMP takes two positions, a line end one.
    const std::string text = "😀😀 12\r\n\r\nx“中文”5 6";
    SetText(text);
    ExpectColours(text, {
                            {"12", 0, 0, kNumber, false},
                            {"12", 0, 1, kNumber, false},
                            {"x“", 0, 0, kWord, false},
                            {"“", 0, 0, kQuoted, false},
                            {"文", 0, 0, kQuoted, false},
                            {"”", 0, 0, kQuoted, false},
                            {"5 ", 0, 0, kNumber, false},
                            {" 6", 0, 0, kSep, false},
                            {" 6", 0, 1, kNumber, false},
                        });
}

TEST_F(CodeBoxTest, AppliesTheWholeCharacterFormat) {
    SetText(".版本 2\r\n列表.取文本 (“//[3]”)");
    for (LONG position : {0, 3, 4, 8, 14}) {
        SCOPED_TRACE(position);
        const CHARFORMAT2W format = FormatAt(position);
        EXPECT_STREQ(format.szFaceName, L"YaHei Consolas Hybrid");
        EXPECT_EQ(format.yHeight, 180);
        EXPECT_EQ(format.yOffset, 0);
        EXPECT_EQ(format.dwEffects & (CFE_ITALIC | CFE_UNDERLINE | CFE_STRIKEOUT | CFE_PROTECTED), 0u);
    }
    const CHARFORMAT2W plain = DefaultFormat();
    EXPECT_STREQ(plain.szFaceName, L"YaHei Consolas Hybrid");
    EXPECT_EQ(plain.yHeight, 180);
    EXPECT_EQ(plain.crTextColor, kDefault);
    EXPECT_EQ(plain.dwEffects & CFE_BOLD, 0u);
}

// The test prefix lists "YaHei Consolas Hybrid", "微软雅黑" and "Microsoft YaHei UI" as an installed
// font (scripts/lib.sh), as a Chinese Windows with the hybrid font has them; a face nobody has
// gets the stand-in, not whatever GDI would map it to.
TEST(AvailableFace, KeepsInstalledFacesAndStandsInForMissingOnes) {
    const std::pair<std::wstring, std::wstring> rows[] = {
        {L"YaHei Consolas Hybrid", L"YaHei Consolas Hybrid"}, {L"微软雅黑", L"微软雅黑"},   {L"Tahoma", L"Tahoma"},
        {L"No Such Face 123", L"Microsoft YaHei UI"},         {L"", L"Microsoft YaHei UI"},
    };
    for (const auto& [wanted, face] : rows) EXPECT_EQ(AvailableFace(wanted), face) << kova::WideToUtf8(wanted);
}

TEST_F(CodeBoxTest, ResetsFormatsLeftFromBefore) {
    host_.colourOnChange = false;
    SetText(".版本 2\r\nabc");
    FormatRange(Box(), {0, 10, kRed, true});
    ColouriseCodeBox(Box());
    ExpectColours(".版本 2\r\nabc", {{".版本", 0, 0, kSep, true}, {" 2", 0, 0, kDefault, false}});
}

TEST_F(CodeBoxTest, EmptyBoxGetsTheDefaultFormat) {
    host_.colourOnChange = false;
    SetText("");
    CHARFORMAT2W red{};
    red.cbSize = sizeof red;
    red.dwMask = CFM_COLOR | CFM_BOLD | CFM_SIZE;
    red.dwEffects = CFE_BOLD;
    red.crTextColor = kRed;
    red.yHeight = 400;
    SendMessageW(Box(), EM_SETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&red));
    ColouriseCodeBox(Box());
    const CHARFORMAT2W plain = DefaultFormat();
    EXPECT_EQ(plain.crTextColor, kDefault);
    EXPECT_EQ(plain.dwEffects & CFE_BOLD, 0u);
    EXPECT_EQ(plain.yHeight, 180);
    EXPECT_EQ(CodeBoxText(Box()), "");
}

TEST_F(CodeBoxTest, KeepsTheSelection) {
    const std::string text = LoadingCodeGenerator(kSourceFile, 12, "", "C:\\data\\a.json");
    SetText(text);
    const LONG length = BoxPosition(kova::Utf8ToWide(text), kova::Utf8ToWide(text).size());
    const CHARRANGE selections[] = {{0, 0}, {5, 5}, {3, 9}, {20, 47}, {0, length}, {length, length}};
    for (const CHARRANGE& selection : selections) {
        SCOPED_TRACE(testing::Message() << selection.cpMin << ".." << selection.cpMax);
        Select(selection.cpMin, selection.cpMax);
        ColouriseCodeBox(Box());
        const CHARRANGE kept = Selection();
        EXPECT_EQ(kept.cpMin, selection.cpMin);
        EXPECT_EQ(kept.cpMax, selection.cpMax);
    }
}

TEST_F(CodeBoxTest, KeepsTheScrollPosition) {
    std::string text;
    for (int line = 1; line <= 60; ++line) text += "行 " + std::to_string(line) + " ＝ “值”\r\n";
    host_.colourOnChange = false;
    SetText(text);
    Select(0, 0);
    SendMessageW(Box(), EM_LINESCROLL, 0, 20);
    const LRESULT firstLine = SendMessageW(Box(), EM_GETFIRSTVISIBLELINE, 0, 0);
    ASSERT_GT(firstLine, 0);
    ColouriseCodeBox(Box());
    EXPECT_EQ(SendMessageW(Box(), EM_GETFIRSTVISIBLELINE, 0, 0), firstLine);
    EXPECT_EQ(Selection().cpMin, 0);
    EXPECT_EQ(Selection().cpMax, 0);
}

TEST_F(CodeBoxTest, NeverTriggersItselfAndLeavesTheBoxAsItWas) {
    const std::string text = LoadingCodeGenerator(kSourceClipboard, 11, "", "");
    SetText(text);
    Select(4, 9);
    const int changes = host_.changes;
    const int selectionChanges = host_.selectionChanges;
    ColouriseCodeBox(Box());
    // The many selections of the run reach nobody, and neither does a change of content.
    EXPECT_EQ(host_.changes, changes);
    EXPECT_EQ(host_.selectionChanges, selectionChanges);
    EXPECT_EQ(SendMessageW(Box(), EM_GETEVENTMASK, 0, 0), LRESULT(kEventMask));
    EXPECT_EQ(CodeBoxText(Box()), text);
    // Turning painting off clears the box's WS_VISIBLE; it must be back on.
    EXPECT_NE(GetWindowLongW(Box(), GWL_STYLE) & WS_VISIBLE, 0);
}

TEST_F(CodeBoxTest, ReadsTheTextAsUtf8WithCrLf) {
    host_.colourOnChange = false;
    for (const std::string text : {"", "a\r\nb", "中文 😀\r\n\r\n“x”", ".版本 2\r\n"}) {
        SetText(text);
        EXPECT_EQ(CodeBoxText(Box()), text);
    }
}

} // namespace
