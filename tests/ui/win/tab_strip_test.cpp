// The tab strip on a real canvas window: what it paints (read back from the canvas)
// and how it answers mouse messages sent to the canvas.
#include "ui/TabStrip.h"

#include "png_bytes.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace vivu {
namespace {

constexpr int kCanvasWidth = 465;
constexpr int kCanvasHeight = 33;

// A frame at the top-left of the screen with a canvas like the MainWindow's title row.
class CanvasWindow {
public:
    CanvasWindow() {
        HINSTANCE instance = GetModuleHandleW(nullptr);
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof(wc);
        if (!GetClassInfoExW(instance, kClass, &wc)) {
            wc.lpfnWndProc = DefWindowProcW;
            wc.hInstance = instance;
            wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
            wc.lpszClassName = kClass;
            RegisterClassExW(&wc);
        }
        frame_ = CreateWindowExW(WS_EX_TOOLWINDOW, kClass, L"tab strip test", WS_POPUP, 0, 0, 660, 40, nullptr, nullptr,
                                 instance, nullptr);
        // Created as the MainWindow creates its canvas: an owner-drawn static control.
        canvas_ = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | SS_OWNERDRAW | SS_NOTIFY,
                                  159, 1, kCanvasWidth, kCanvasHeight, frame_, nullptr, instance, nullptr);
        LOGFONTW lf{};
        lf.lfHeight = -12;
        lstrcpynW(lf.lfFaceName, L"微软雅黑", LF_FACESIZE);
        font_ = CreateFontIndirectW(&lf);
        SendMessageW(canvas_, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
        // Shown without activation: Wine then leaves it to no window manager, and closing it does not wait for one.
        SetWindowPos(frame_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
        UpdateWindow(frame_);
    }
    CanvasWindow(const CanvasWindow&) = delete;
    CanvasWindow& operator=(const CanvasWindow&) = delete;
    ~CanvasWindow() {
        DestroyWindow(frame_);
        DeleteObject(font_);
    }

    HWND Canvas() const { return canvas_; }

private:
    static constexpr wchar_t kClass[] = L"VivuTabStripTestFrame";
    HWND frame_ = nullptr;
    HWND canvas_ = nullptr;
    HFONT font_ = nullptr;
};

// What the canvas shows on the screen now.
std::unique_ptr<DibSurface> Capture(HWND canvas) {
    RECT client{};
    GetClientRect(canvas, &client);
    auto surface = std::make_unique<DibSurface>();
    surface->Resize(client.right, client.bottom);
    HDC dc = GetDC(canvas);
    BitBlt(surface->Dc(), 0, 0, client.right, client.bottom, dc, 0, 0, SRCCOPY);
    ReleaseDC(canvas, dc);
    GdiFlush();
    return surface;
}

// Where DrawTab puts a 12 × 12 glyph in an 18 × 18 button.
POINT GlyphOrigin(const StripRect& button) {
    return {button.left + (button.width - kGlyphSize) / 2, button.top + (button.height - kGlyphSize) / 2};
}

::testing::AssertionResult GlyphAt(const DibSurface& shot, POINT origin, const GlyphImage& expected) {
    for (int y = 0; y < kGlyphSize; ++y) {
        for (int x = 0; x < kGlyphSize; ++x) {
            const COLORREF got = shot.Pixel(origin.x + x, origin.y + y);
            if (got != expected[y * kGlyphSize + x])
                return ::testing::AssertionFailure() << "pixel " << x << "," << y << " is " << std::hex << got
                                                     << ", expected " << expected[y * kGlyphSize + x];
        }
    }
    return ::testing::AssertionSuccess();
}

bool Inside(int x, int y, const StripRect& r) {
    return x >= r.left && x < r.Right() && y >= r.top && y < r.Bottom();
}

POINT Centre(const StripRect& r) {
    return {r.left + r.width / 2, r.top + r.height / 2};
}

void Click(HWND canvas, POINT p) {
    SendMessageW(canvas, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(p.x, p.y));
    SendMessageW(canvas, WM_LBUTTONUP, 0, MAKELPARAM(p.x, p.y));
}

void MoveTo(HWND canvas, POINT p, WPARAM buttons = 0) {
    SendMessageW(canvas, WM_MOUSEMOVE, buttons, MAKELPARAM(p.x, p.y));
}

std::vector<std::string> Texts(const TabStrip& strip) {
    std::vector<std::string> texts;
    for (int i = 1; i <= strip.Count(); ++i) texts.push_back(strip.GetTab(i).text);
    return texts;
}

// --- the MainWindow's strip -------------------------------------------------------

class MainWindowStrip : public ::testing::Test {
protected:
    void SetUp() override { BindMainWindowTabStrip(strip_, window_.Canvas()); }

    CanvasWindow window_;
    TabStrip strip_;
    const COLORREF face_ = GetSysColor(COLOR_BTNFACE);
    const COLORREF selectedBack_ = GetSysColor(COLOR_BTNSHADOW);
    const COLORREF buttonHover_ = GetSysColor(COLOR_BTNHIGHLIGHT);
};

TEST_F(MainWindowStrip, PaintsOneSelectedJsonTabWithOnlyThePinGlyph) {
    ASSERT_EQ(1, strip_.Count());
    const StripTab tab = strip_.GetTab(1);
    EXPECT_EQ("JSON", tab.text);
    EXPECT_EQ(TabState::Selected, tab.state);
    EXPECT_FALSE(tab.close.shown);
    ASSERT_TRUE(tab.pin.shown);
    EXPECT_FALSE(strip_.DropDown().laidOut);
    // Left offset 0, top offset 1, no bottom gap.
    EXPECT_EQ(0, tab.rect.left);
    EXPECT_EQ(1, tab.rect.top);
    EXPECT_EQ(kCanvasHeight - 1, tab.rect.height);
    EXPECT_GT(tab.textWidth, 10);

    const auto shot = Capture(window_.Canvas());
    const POINT pin = GlyphOrigin(tab.pin.rect);
    EXPECT_TRUE(GlyphAt(*shot, pin, strip_.ImageAt(StripGlyph::PinLying, GlyphState::Selected)));

    // Besides the text and the pin, the tab is plain selected background: no close cross anywhere.
    const StripRect glyphBox{pin.x, pin.y, kGlyphSize, kGlyphSize};
    const StripRect textBox{tab.rect.left + 4, tab.rect.top, tab.textWidth, tab.rect.height};
    int textPixels = 0;
    for (int y = tab.rect.top; y < tab.rect.Bottom(); ++y) {
        for (int x = tab.rect.left; x < tab.rect.Right(); ++x) {
            const COLORREF pixel = shot->Pixel(x, y);
            if (Inside(x, y, glyphBox)) continue;
            if (Inside(x, y, textBox)) {
                textPixels += pixel != selectedBack_;
                continue;
            }
            ASSERT_EQ(selectedBack_, pixel) << "at " << x << "," << y;
        }
    }
    EXPECT_GT(textPixels, 20);
    // Above the tab and right of it: the canvas's own background.
    for (int x = 0; x < kCanvasWidth; ++x) EXPECT_EQ(face_, shot->Pixel(x, 0)) << x;
    for (int x = tab.rect.Right(); x < kCanvasWidth; ++x) EXPECT_EQ(face_, shot->Pixel(x, 20)) << x;
}

TEST_F(MainWindowStrip, ClickingThePinTogglesItAndKeepsTheSelection) {
    std::vector<int> toggled;
    TabStripHandlers handlers;
    handlers.pinToggled = [&](int index) { toggled.push_back(index); };
    strip_.SetHandlers(handlers);
    const StripTab tab = strip_.GetTab(1);
    const POINT pin = Centre(tab.pin.rect);

    Click(window_.Canvas(), pin);
    EXPECT_TRUE(strip_.GetTab(1).pinned);
    EXPECT_EQ(TabState::Selected, strip_.GetTab(1).state);
    EXPECT_TRUE(GlyphAt(*Capture(window_.Canvas()), GlyphOrigin(tab.pin.rect),
                        strip_.ImageAt(StripGlyph::PinUpright, GlyphState::Selected)));

    Click(window_.Canvas(), pin);
    EXPECT_FALSE(strip_.GetTab(1).pinned);
    EXPECT_TRUE(GlyphAt(*Capture(window_.Canvas()), GlyphOrigin(tab.pin.rect),
                        strip_.ImageAt(StripGlyph::PinLying, GlyphState::Selected)));
    EXPECT_EQ((std::vector<int>{1, 1}), toggled);
    // A pin click is not a press: nothing holds the mouse afterwards.
    EXPECT_NE(window_.Canvas(), GetCapture());
}

TEST_F(MainWindowStrip, HoveringThePinShowsTheButtonHoverColours) {
    const StripTab tab = strip_.GetTab(1);
    Click(window_.Canvas(), Centre(tab.pin.rect)); // pinned: the upright pin
    MoveTo(window_.Canvas(), Centre(tab.pin.rect));
    auto shot = Capture(window_.Canvas());
    // Under the pointer the pin lies down, on the button-hover background.
    EXPECT_TRUE(
        GlyphAt(*shot, GlyphOrigin(tab.pin.rect), strip_.ImageAt(StripGlyph::PinLying, GlyphState::ButtonHover)));
    EXPECT_EQ(buttonHover_, shot->Pixel(tab.pin.rect.left, tab.pin.rect.top));
    EXPECT_EQ(TabState::Selected, strip_.GetTab(1).state);

    MoveTo(window_.Canvas(), {tab.rect.left + 2, tab.rect.top + 2});
    shot = Capture(window_.Canvas());
    EXPECT_TRUE(
        GlyphAt(*shot, GlyphOrigin(tab.pin.rect), strip_.ImageAt(StripGlyph::PinUpright, GlyphState::Selected)));
    EXPECT_EQ(selectedBack_, shot->Pixel(tab.pin.rect.left, tab.pin.rect.top));

    // The strip's empty part hovers nothing: the pin stops showing hover there, before the pointer leaves the strip.
    MoveTo(window_.Canvas(), Centre(tab.pin.rect));
    MoveTo(window_.Canvas(), {tab.rect.Right() + 20, tab.rect.top + 2});
    EXPECT_EQ(TabPart::None, strip_.GetTab(1).hoveredPart);
}

// --- a strip with the default style ------------------------------------------------

class DefaultStrip : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(strip_.Bind(window_.Canvas()));
        strip_.SetHandlers({
            .tabSelected = [this](int index) { events_.push_back("selected " + std::to_string(index)); },
            .dropDownClicked = [this](int32_t offsets) { dropDownOffsets_.push_back(offsets); },
            .pinToggled = [this](int index) { events_.push_back("pin " + std::to_string(index)); },
            .closeClicked = [this](int index) { events_.push_back("close " + std::to_string(index)); },
        });
    }

    CanvasWindow window_;
    TabStrip strip_;
    std::vector<std::string> events_;
    std::vector<int32_t> dropDownOffsets_;
};

TEST_F(DefaultStrip, AddingATabSelectsItAndReportsIt) {
    EXPECT_EQ(1, strip_.AddTab("one"));
    EXPECT_EQ(2, strip_.AddTab("two", 42));
    EXPECT_EQ((std::vector<std::string>{"selected 1", "selected 2"}), events_);
    EXPECT_EQ(TabState::Selected, strip_.GetTab(2).state);
    EXPECT_EQ(TabState::Normal, strip_.GetTab(1).state);
    EXPECT_EQ(42, strip_.GetTab(2).userValue);
    // Both buttons, close rightmost; the close glyph is drawn in the selected tab.
    const StripTab two = strip_.GetTab(2);
    ASSERT_TRUE(two.close.shown);
    EXPECT_LT(two.pin.rect.left, two.close.rect.left);
    const auto shot = Capture(window_.Canvas());
    EXPECT_TRUE(GlyphAt(*shot, GlyphOrigin(two.close.rect), strip_.ImageAt(StripGlyph::Close, GlyphState::Selected)));
    EXPECT_TRUE(GlyphAt(*shot, GlyphOrigin(strip_.GetTab(1).close.rect),
                        strip_.ImageAt(StripGlyph::Close, GlyphState::Normal)));
}

TEST_F(DefaultStrip, PinningAnotherTabMovesItFirstWithoutSelectingIt) {
    strip_.AddTab("one");
    strip_.AddTab("two");
    strip_.Select(1);
    events_.clear();
    Click(window_.Canvas(), Centre(strip_.GetTab(2).pin.rect));
    EXPECT_EQ((std::vector<std::string>{"pin 2"}), events_);
    EXPECT_TRUE(strip_.GetTab(2).pinned);
    EXPECT_EQ(0, strip_.GetTab(2).rect.left);
    EXPECT_EQ(strip_.GetTab(2).rect.Right(), strip_.GetTab(1).rect.left);
    EXPECT_EQ(TabState::Selected, strip_.GetTab(1).state);
}

TEST_F(DefaultStrip, ClosingTheSelectedTabReportsTheCloseFirstThenSelectsItsLeftNeighbour) {
    for (const char* text : {"a", "b", "c"}) strip_.AddTab(text);
    strip_.Select(2);
    events_.clear();
    Click(window_.Canvas(), Centre(strip_.GetTab(2).close.rect));
    EXPECT_EQ((std::vector<std::string>{"close 2", "selected 1"}), events_);
    EXPECT_EQ((std::vector<std::string>{"a", "c"}), Texts(strip_));
    EXPECT_EQ(TabState::Selected, strip_.GetTab(1).state);
    // The strip closed up: "c" follows "a" directly.
    EXPECT_EQ(strip_.GetTab(1).rect.Right(), strip_.GetTab(2).rect.left);
}

TEST_F(DefaultStrip, ClickingATabBodySelectsItAndDraggingReordersIt) {
    for (const char* text : {"aa", "bb", "cc"}) strip_.AddTab(text);
    strip_.Select(1);
    events_.clear();
    const StripTab second = strip_.GetTab(2);
    const POINT start{strip_.GetTab(1).rect.left + 5, 15};
    SendMessageW(window_.Canvas(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(start.x, start.y));
    EXPECT_EQ(window_.Canvas(), GetCapture());
    EXPECT_TRUE(strip_.GetTab(1).pressed);
    MoveTo(window_.Canvas(), {second.rect.left + second.rect.width / 2, 15}, MK_LBUTTON);
    EXPECT_EQ((std::vector<std::string>{"bb", "aa", "cc"}), Texts(strip_));
    EXPECT_NE(0, strip_.GetTab(2).dragOffset);
    SendMessageW(window_.Canvas(), WM_LBUTTONUP, 0, MAKELPARAM(second.rect.left + second.rect.width / 2, 15));
    EXPECT_NE(window_.Canvas(), GetCapture());
    EXPECT_EQ(0, strip_.GetTab(2).dragOffset);
    EXPECT_FALSE(strip_.GetTab(2).pressed);
    EXPECT_EQ(TabState::Selected, strip_.GetTab(2).state);
    // Already selected: pressing it reported nothing.
    EXPECT_TRUE(events_.empty());

    // A press on another tab's text selects it and reports it.
    Click(window_.Canvas(), {strip_.GetTab(3).rect.left + 6, 15});
    EXPECT_EQ((std::vector<std::string>{"selected 3"}), events_);
}

TEST_F(DefaultStrip, PinnedTabIsNotDraggedPastAnUnpinnedOne) {
    for (const char* text : {"aa", "bb"}) strip_.AddTab(text);
    Click(window_.Canvas(), Centre(strip_.GetTab(1).pin.rect));
    const StripTab second = strip_.GetTab(2);
    SendMessageW(window_.Canvas(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 15));
    MoveTo(window_.Canvas(), Centre(second.rect), MK_LBUTTON);
    SendMessageW(window_.Canvas(), WM_LBUTTONUP, 0, MAKELPARAM(5, 15));
    EXPECT_EQ((std::vector<std::string>{"aa", "bb"}), Texts(strip_));
}

TEST_F(DefaultStrip, NarrowCanvasShowsTheDropDownAndReportsItsClick) {
    for (const char* text : {"first", "second", "third"}) strip_.AddTab(text);
    SetWindowPos(window_.Canvas(), nullptr, 0, 0, 200, kCanvasHeight, SWP_NOMOVE | SWP_NOZORDER);
    ASSERT_TRUE(strip_.DropDown().laidOut);
    EXPECT_TRUE(strip_.GetTab(3).laidOut); // the selected one, shrunk
    EXPECT_FALSE(strip_.GetTab(2).laidOut);
    const StripRect d = strip_.DropDown().rect;
    EXPECT_EQ(200 - kDropDownWidth, d.left);
    EXPECT_TRUE(
        GlyphAt(*Capture(window_.Canvas()), GlyphOrigin(d), strip_.ImageAt(StripGlyph::DropDown, GlyphState::Normal)));

    const POINT p{d.left + 5, d.top + 7};
    Click(window_.Canvas(), p);
    ASSERT_EQ(1u, dropDownOffsets_.size());
    const int32_t offsets = dropDownOffsets_[0];
    EXPECT_EQ(d.left - p.x, static_cast<int16_t>(offsets & 0xFFFF));
    EXPECT_EQ(d.Bottom() - p.y, static_cast<int16_t>((offsets >> 16) & 0xFFFF));
    EXPECT_TRUE(GlyphAt(*Capture(window_.Canvas()), GlyphOrigin(d),
                        strip_.ImageAt(StripGlyph::DropDown, GlyphState::Selected)));
    // The tabs keep their selection.
    EXPECT_EQ(TabState::Selected, strip_.GetTab(3).state);

    SetWindowPos(window_.Canvas(), nullptr, 0, 0, kCanvasWidth, kCanvasHeight, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_FALSE(strip_.DropDown().laidOut);
    EXPECT_TRUE(strip_.GetTab(2).laidOut);
}

TEST_F(DefaultStrip, MeasuresTheInkOfTheTextWithTheCanvasFont) {
    EXPECT_EQ(0, strip_.MeasureText("").width);
    EXPECT_EQ(0, strip_.MeasureText("   ").height);
    const TextSize json = strip_.MeasureText("JSON");
    EXPECT_GT(json.width, 10);
    EXPECT_GT(json.height, 5);
    EXPECT_LE(json.height, 30);
    EXPECT_GT(strip_.MeasureText("JSONJSON").width, json.width + 10);
    EXPECT_GT(strip_.MeasureText("结果").width, 10);
    // Wider than the scratch canvas (600 pixels, the canvas being narrower): cut at its width.
    EXPECT_EQ(600, strip_.MeasureText(std::string(200, 'W')).width);
}

TEST_F(DefaultStrip, DrawsAnIconBeforeTheText) {
    const std::string red = EncodePng(10, 10, std::vector<Rgba>(100, Rgba{255, 0, 0, 255}));
    strip_.AddTab("plain");
    strip_.AddTab("icon", 0, red);
    const StripTab plain = strip_.GetTab(1);
    const StripTab withIcon = strip_.GetTab(2);
    // The icon takes 18 pixels and a gap of 4 before the text.
    EXPECT_EQ(withIcon.textWidth + 18 + 4, withIcon.fullWidth - (plain.fullWidth - plain.textWidth));
    const auto shot = Capture(window_.Canvas());
    const int middle = withIcon.rect.top + withIcon.rect.height / 2;
    EXPECT_EQ(RGB(255, 0, 0), shot->Pixel(withIcon.rect.left + 4, middle));
    EXPECT_EQ(RGB(255, 0, 0), shot->Pixel(withIcon.rect.left + 13, middle));
    EXPECT_NE(RGB(255, 0, 0), shot->Pixel(withIcon.rect.left + 14, middle));
    EXPECT_NE(RGB(255, 0, 0), shot->Pixel(plain.rect.left + 6, middle));
}

TEST_F(DefaultStrip, FindsClosesAndClearsTabs) {
    for (const char* text : {"a", "b", "a"}) strip_.AddTab(text);
    StripTab copy;
    EXPECT_EQ(1, strip_.FindTab("a", &copy));
    EXPECT_EQ("a", copy.text);
    EXPECT_EQ(0, strip_.FindTab("c"));
    strip_.CloseTab(1);
    EXPECT_EQ((std::vector<std::string>{"b", "a"}), Texts(strip_));
    EXPECT_EQ(2, strip_.FindTab("a"));
    strip_.ClearTabs();
    EXPECT_EQ(0, strip_.Count());
    EXPECT_FALSE(strip_.IsValidIndex(1));
    EXPECT_EQ("", strip_.GetTab(1).text);
    // An empty strip is the canvas's background.
    const auto shot = Capture(window_.Canvas());
    EXPECT_EQ(GetSysColor(COLOR_BTNFACE), shot->Pixel(10, 15));
}

} // namespace
} // namespace vivu
