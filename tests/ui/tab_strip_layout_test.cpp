// Tab strip layout, hit testing, selection and drag reordering, with a fake text measurer.
#include "ui/TabStripLayout.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vivu {
namespace {

// Every byte is 10 pixels wide; any text is 12 high.
class FakeMeasurer : public TextMeasurer {
public:
    TextSize Measure(std::string_view text) override {
        if (text.empty()) return {};
        return {static_cast<int>(text.size()) * 10, 12};
    }
};

constexpr int kCanvasHeight = 33;

class StripTest : public ::testing::Test {
protected:
    void Add(const std::string& text, const std::string& icon = {}) {
        StripTab tab;
        tab.text = text;
        tab.icon = icon;
        strip_.AddTab(tab);
    }

    void Arrange(int width) {
        strip_.Measure(measurer_);
        strip_.Arrange(width, kCanvasHeight);
    }

    std::vector<std::string> DisplayedTexts() const {
        std::vector<std::string> texts;
        for (int i : strip_.DisplayOrder()) texts.push_back(strip_.Tab(i).text);
        return texts;
    }

    std::vector<std::string> ListTexts() const {
        std::vector<std::string> texts;
        for (const StripTab& tab : strip_.Tabs()) texts.push_back(tab.text);
        return texts;
    }

    FakeMeasurer measurer_;
    TabStripLayout strip_;
};

// --- widths and placement ------------------------------------------------------

class StripWidths : public StripTest {};

TEST_F(StripWidths, FullWidthIsMarginsTextAndButtonArea) {
    struct Row {
        bool close, pin;
        int buttons;
    };
    // The pin brings the gap before it; with both, a gap follows the close button too.
    for (const Row row :
         {Row{true, true, 18 + 4 + 4 + 18}, Row{false, true, 4 + 18}, Row{true, false, 18}, Row{false, false, 0}}) {
        TabStripLayout strip;
        strip.metrics.closeShown = row.close;
        strip.metrics.pinShown = row.pin;
        StripTab tab;
        tab.text = "JSON";
        strip.AddTab(tab);
        strip.Measure(measurer_);
        EXPECT_EQ(row.buttons, strip.ButtonAreaWidth());
        EXPECT_EQ(4 + 40 + row.buttons + 4, strip.Tab(1).fullWidth) << row.close << row.pin;
    }
}

TEST_F(StripWidths, IconAddsItsWidthAndAGapWhenButtonsFollow) {
    Add("ab", "png");
    Arrange(600);
    EXPECT_EQ(4 + 18 + 4 + 20 + 44 + 4, strip_.Tab(1).fullWidth);
    EXPECT_EQ(strip_.Tab(1).rect.left + 4 + 18 + 4, strip_.TextBox(strip_.Tab(1)).left);

    strip_.metrics.closeShown = strip_.metrics.pinShown = false;
    Arrange(600);
    EXPECT_EQ(4 + 18 + 20 + 4, strip_.Tab(1).fullWidth);
}

TEST_F(StripWidths, EmptyTextMeasuresNothing) {
    Add("");
    Arrange(600);
    EXPECT_EQ(0, strip_.Tab(1).textWidth);
    EXPECT_EQ(4 + 44 + 4, strip_.Tab(1).fullWidth);
}

class StripPlacement : public StripTest {};

TEST_F(StripPlacement, TabsStartAtTheOffsetsAndFillTheHeightLessTheGap) {
    strip_.metrics.leftOffset = 5;
    strip_.metrics.topOffset = 1;
    strip_.metrics.bottomGap = 4;
    Add("a");
    Add("bb");
    Arrange(600);
    const StripRect& first = strip_.Tab(1).rect;
    const StripRect& second = strip_.Tab(2).rect;
    EXPECT_EQ(5, first.left);
    EXPECT_EQ(1, first.top);
    EXPECT_EQ(kCanvasHeight - 1 - 4, first.height);
    EXPECT_EQ(first.Right(), second.left);
    EXPECT_EQ(strip_.Tab(2).fullWidth, second.width);
}

TEST_F(StripPlacement, PinnedTabsComeFirstEachGroupInListOrder) {
    for (const char* text : {"a", "b", "c", "d"}) Add(text);
    strip_.TogglePin(4);
    strip_.TogglePin(2);
    Arrange(600);
    EXPECT_EQ((std::vector<std::string>{"b", "d", "a", "c"}), DisplayedTexts());
    int x = 0;
    for (int i : strip_.DisplayOrder()) {
        EXPECT_EQ(x, strip_.Tab(i).rect.left);
        x = strip_.Tab(i).rect.Right();
    }
    // The list itself keeps insertion order.
    EXPECT_EQ((std::vector<std::string>{"a", "b", "c", "d"}), ListTexts());
}

TEST_F(StripPlacement, ButtonsSitAtTheRightEndInsideTheMargin) {
    Add("JSON");
    Arrange(600);
    const StripTab& tab = strip_.Tab(1);
    EXPECT_EQ(tab.rect.Right() - 4 - 18, tab.close.rect.left);
    EXPECT_EQ(tab.close.rect.left - 4 - 18, tab.pin.rect.left);
    EXPECT_EQ(18, tab.pin.rect.width);

    strip_.metrics.closeShown = false;
    Arrange(600);
    EXPECT_FALSE(strip_.Tab(1).close.shown);
    EXPECT_EQ(strip_.Tab(1).rect.Right() - 4 - 18, strip_.Tab(1).pin.rect.left);
}

TEST_F(StripPlacement, WhenEverythingFitsThereIsNoDropDown) {
    Add("one");
    Add("two");
    Arrange(600);
    EXPECT_EQ(2u, strip_.DisplayOrder().size());
    EXPECT_FALSE(strip_.DropDown().laidOut);
}

// --- a full strip -------------------------------------------------------------

class FullStrip : public StripTest {
protected:
    // Five tabs of 4 + 30 + 44 + 4 = 82 pixels.
    void SetUp() override {
        for (const char* text : {"aaa", "bbb", "ccc", "ddd", "eee"}) Add(text);
    }
};

TEST_F(FullStrip, SelectedTabBeyondTheRoomIsStillShownShrunk) {
    strip_.Select(5);
    // Two tabs fit before the last 2 × 26 pixels; the third does not.
    const int width = 2 * 82 + 2 * kDropDownWidth + 30;
    Arrange(width);
    EXPECT_EQ((std::vector<std::string>{"aaa", "bbb", "eee"}), DisplayedTexts());
    const StripTab& selected = strip_.Tab(5);
    EXPECT_TRUE(selected.laidOut);
    EXPECT_EQ(164, selected.rect.left);
    EXPECT_LT(selected.rect.width, selected.fullWidth);
    EXPECT_EQ(width - kDropDownWidth, selected.rect.Right());
    // Its buttons stay at its (new) right end; the text gets what is left before them.
    EXPECT_EQ(selected.rect.Right() - 4 - 18, selected.close.rect.left);
    EXPECT_EQ(56 - 4 - 44 - 4, strip_.TextBox(selected).width);

    ASSERT_TRUE(strip_.DropDown().laidOut);
    const StripRect& dropDown = strip_.DropDown().rect;
    EXPECT_EQ(width - kDropDownWidth, dropDown.left);
    EXPECT_EQ(kDropDownWidth, dropDown.width);
    EXPECT_EQ(selected.rect.top, dropDown.top);
    EXPECT_EQ(selected.rect.height, dropDown.height);
}

TEST_F(FullStrip, SelectedTabThatFitsKeepsItsWidth) {
    strip_.Select(1);
    Arrange(2 * 82 + 2 * kDropDownWidth + 30);
    EXPECT_EQ((std::vector<std::string>{"aaa", "bbb"}), DisplayedTexts());
    EXPECT_EQ(82, strip_.Tab(1).rect.width);
    EXPECT_TRUE(strip_.DropDown().laidOut);
}

TEST_F(FullStrip, NoTabIsPlacedAfterTheRowIsFullEvenASmallOne) {
    Add("f");
    strip_.Select(1);
    Arrange(2 * 82 + 2 * kDropDownWidth + 70);
    // "f" (4 + 10 + 44 + 4 = 62) would fit after "bbb", but the row ended at "ccc".
    EXPECT_EQ((std::vector<std::string>{"aaa", "bbb"}), DisplayedTexts());
    EXPECT_FALSE(strip_.Tab(6).laidOut);
}

TEST_F(FullStrip, SelectedPinnedTabStaysAheadWhenTheRowIsFull) {
    strip_.TogglePin(4);
    strip_.Select(2);
    Arrange(82 + 2 * kDropDownWidth + 40);
    EXPECT_EQ((std::vector<std::string>{"ddd", "bbb"}), DisplayedTexts());
}

TEST_F(FullStrip, DropDownShownExactlyWhenATabIsLeftOutAtEveryWidth) {
    strip_.Select(3);
    for (int width = kDropDownWidth; width <= 600; ++width) {
        Arrange(width);
        const int placed = static_cast<int>(strip_.DisplayOrder().size());
        int laidOut = 0;
        for (const StripTab& tab : strip_.Tabs()) laidOut += tab.laidOut;
        ASSERT_EQ(placed, laidOut) << width;
        ASSERT_EQ(placed != strip_.Count(), strip_.DropDown().laidOut) << width;
        ASSERT_TRUE(strip_.Tab(3).laidOut) << width;
        if (strip_.DropDown().laidOut) {
            for (int i : strip_.DisplayOrder())
                ASSERT_LE(strip_.Tab(i).rect.Right(), strip_.DropDown().rect.left) << width;
        }
    }
    Arrange(5 * 82 + 2 * kDropDownWidth);
    EXPECT_FALSE(strip_.DropDown().laidOut);
    Arrange(5 * 82 + 2 * kDropDownWidth - 1);
    EXPECT_TRUE(strip_.DropDown().laidOut);
}

// --- hit testing --------------------------------------------------------------

TEST(PointInRectTest, EdgesIncludedWithinATenMillionth) {
    EXPECT_TRUE(PointInRect(10, 20, 10, 20, 5, 5));
    EXPECT_TRUE(PointInRect(15, 25, 10, 20, 5, 5));
    EXPECT_TRUE(PointInRect(15 + 1e-8, 25, 10, 20, 5, 5));
    EXPECT_FALSE(PointInRect(15 + 1e-6, 25, 10, 20, 5, 5));
    EXPECT_FALSE(PointInRect(9.999, 22, 10, 20, 5, 5));
    EXPECT_FALSE(PointInRect(12, 19.999, 10, 20, 5, 5));
    EXPECT_FALSE(PointInRect(12, 25.5, 10, 20, 5, 5));
}

class StripHitTest : public StripTest {
protected:
    void SetUp() override {
        strip_.metrics.topOffset = 1;
        Add("JSON");
        Add("more");
        Arrange(600);
    }
};

TEST_F(StripHitTest, RightAndBottomEdgesStillHitTheTab) {
    const StripRect r = strip_.Tab(2).rect;
    EXPECT_EQ(2, strip_.HitTest(r.Right(), r.top + 10).index);
    EXPECT_EQ(2, strip_.HitTest(r.left + 10, r.Bottom()).index);
    EXPECT_EQ(2, strip_.HitTest(r.Right(), r.Bottom()).index);
    EXPECT_EQ(-1, strip_.HitTest(r.Right() + 1, r.top + 10).index);
    EXPECT_EQ(-1, strip_.HitTest(r.left + 10, r.Bottom() + 1).index);
    EXPECT_EQ(-1, strip_.HitTest(r.left + 10, r.top - 1).index);
}

TEST_F(StripHitTest, SharedEdgeGoesToTheEarlierTabInTheList) {
    const int edge = strip_.Tab(1).rect.Right();
    ASSERT_EQ(edge, strip_.Tab(2).rect.left);
    EXPECT_EQ(1, strip_.HitTest(edge, 10).index);
    EXPECT_EQ(2, strip_.HitTest(edge + 1, 10).index);
}

TEST_F(StripHitTest, ButtonsGiveTheirPartEdgesIncluded) {
    const StripTab& tab = strip_.Tab(1);
    const StripRect pin = tab.pin.rect;
    const StripRect close = tab.close.rect;
    EXPECT_EQ(TabPart::Pin, strip_.HitTest(pin.left, pin.top).part);
    EXPECT_EQ(TabPart::Pin, strip_.HitTest(pin.Right(), pin.Bottom()).part);
    EXPECT_EQ(TabPart::Close, strip_.HitTest(close.Right(), close.top + 3).part);
    const StripHit body = strip_.HitTest(pin.left - 1, pin.top);
    EXPECT_EQ(1, body.index);
    EXPECT_EQ(TabPart::None, body.part);
}

TEST_F(StripHitTest, HiddenCloseButtonIsPartOfTheBody) {
    strip_.metrics.closeShown = false;
    Arrange(600);
    const StripTab& tab = strip_.Tab(1);
    const StripHit hit = strip_.HitTest(tab.rect.Right() - 4, tab.rect.top + tab.rect.height / 2);
    EXPECT_EQ(1, hit.index);
    EXPECT_EQ(TabPart::Pin, hit.part);
    const StripHit margin = strip_.HitTest(tab.rect.Right() - 2, tab.rect.top + tab.rect.height / 2);
    EXPECT_EQ(TabPart::None, margin.part);
}

TEST_F(StripHitTest, DropDownGivesZeroAndLeftOutTabsAreNotHit) {
    Add("third");
    strip_.Select(1);
    Arrange(strip_.Tab(1).fullWidth + 2 * kDropDownWidth);
    ASSERT_FALSE(strip_.Tab(2).laidOut);
    ASSERT_TRUE(strip_.DropDown().laidOut);
    const StripRect d = strip_.DropDown().rect;
    EXPECT_EQ(0, strip_.HitTest(d.left, d.top).index);
    EXPECT_EQ(0, strip_.HitTest(d.Right(), d.Bottom()).index);
    // Where tab 2 lay before, nothing is hit now.
    EXPECT_EQ(-1, strip_.HitTest(strip_.Tab(1).rect.Right() + 5, 10).index);
}

// --- selection and hover ------------------------------------------------------

class StripSelection : public StripTest {
protected:
    void SetUp() override {
        for (const char* text : {"a", "b", "c"}) Add(text);
    }
    std::vector<TabState> States() const {
        std::vector<TabState> states;
        for (const StripTab& tab : strip_.Tabs()) states.push_back(tab.state);
        return states;
    }
};

TEST_F(StripSelection, SelectingMovesTheSelectionAndReportsOnlyAChange) {
    EXPECT_TRUE(strip_.Select(2));
    EXPECT_EQ(2, strip_.SelectedIndex());
    EXPECT_FALSE(strip_.Select(2));
    EXPECT_TRUE(strip_.Select(3));
    EXPECT_EQ((std::vector<TabState>{TabState::Normal, TabState::Normal, TabState::Selected}), States());
    EXPECT_FALSE(strip_.Select(9));
    EXPECT_EQ(3, strip_.SelectedIndex());
}

TEST_F(StripSelection, HoverNeverTakesTheSelectionAway) {
    strip_.Select(1);
    EXPECT_FALSE(strip_.Select(2, TabState::Hovered, TabPart::Pin));
    EXPECT_EQ((std::vector<TabState>{TabState::Selected, TabState::Hovered, TabState::Normal}), States());
    EXPECT_EQ(TabPart::Pin, strip_.Tab(2).hoveredPart);

    // Moving on: the old hover goes, so does its hovered part.
    strip_.Select(3, TabState::Hovered);
    EXPECT_EQ((std::vector<TabState>{TabState::Selected, TabState::Normal, TabState::Hovered}), States());
    EXPECT_EQ(TabPart::None, strip_.Tab(2).hoveredPart);

    // The selected tab under the pointer keeps its selected colours.
    strip_.Select(1, TabState::Hovered, TabPart::Close);
    EXPECT_EQ((std::vector<TabState>{TabState::Selected, TabState::Normal, TabState::Normal}), States());
    EXPECT_EQ(TabPart::Close, strip_.Tab(1).hoveredPart);

    strip_.ClearHover();
    EXPECT_EQ(TabPart::None, strip_.Tab(1).hoveredPart);
    EXPECT_EQ(1, strip_.SelectedIndex());
}

TEST_F(StripSelection, IndexZeroAddressesTheDropDownAndTabsKeepTheSelection) {
    strip_.Select(2);
    strip_.Select(3, TabState::Hovered);
    EXPECT_FALSE(strip_.Select(0, TabState::Hovered, TabPart::Pin));
    EXPECT_EQ(TabState::Hovered, strip_.DropDown().state);
    EXPECT_EQ(TabPart::Pin, strip_.DropDown().hoveredPart);
    EXPECT_EQ((std::vector<TabState>{TabState::Normal, TabState::Selected, TabState::Normal}), States());
    strip_.Select(1, TabState::Hovered);
    EXPECT_EQ(TabState::Normal, strip_.DropDown().state);
}

TEST_F(StripSelection, ClosingTheSelectedTabSelectsItsLeftNeighbourOrElseTheNext) {
    strip_.Select(2);
    EXPECT_EQ(1, strip_.CloseTab(2));
    EXPECT_EQ((std::vector<std::string>{"a", "c"}), ListTexts());
    EXPECT_EQ(1, strip_.SelectedIndex());

    // The first one: tab 2 takes over and is tab 1 afterwards.
    EXPECT_EQ(1, strip_.CloseTab(1));
    EXPECT_EQ((std::vector<std::string>{"c"}), ListTexts());
    EXPECT_EQ(1, strip_.SelectedIndex());

    EXPECT_EQ(0, strip_.CloseTab(1));
    EXPECT_EQ(0, strip_.Count());
}

TEST_F(StripSelection, ClosingAnotherTabKeepsTheSelectedOne) {
    strip_.Select(3);
    EXPECT_EQ(0, strip_.CloseTab(1));
    EXPECT_EQ(2, strip_.SelectedIndex());
    EXPECT_EQ("c", strip_.Tab(2).text);
    EXPECT_EQ(0, strip_.CloseTab(7));
    EXPECT_EQ(2, strip_.Count());
}

TEST_F(StripSelection, FindTabMatchesTheWholeTextOfTheFirstTab) {
    Add("b");
    EXPECT_EQ(2, strip_.FindTab("b"));
    EXPECT_EQ(0, strip_.FindTab("B"));
    EXPECT_EQ(0, strip_.FindTab("bb"));
    EXPECT_EQ(0, strip_.FindTab(""));
}

// --- dragging -----------------------------------------------------------------

class StripDrag : public StripTest {
protected:
    double MiddleOf(int index) const { return strip_.Tab(index).rect.left + strip_.Tab(index).rect.width / 2.0; }
};

TEST_F(StripDrag, EqualTabsChangePlacesInListAndDisplay) {
    for (const char* text : {"aa", "bb", "cc"}) Add(text);
    strip_.Select(1);
    Arrange(600);
    EXPECT_EQ(2, strip_.DragOver(1, MiddleOf(2), 10));
    EXPECT_EQ((std::vector<std::string>{"bb", "aa", "cc"}), ListTexts());
    EXPECT_EQ((std::vector<std::string>{"bb", "aa", "cc"}), DisplayedTexts());
    // The selection travels with the dragged tab.
    EXPECT_EQ(2, strip_.SelectedIndex());
    EXPECT_EQ(3, strip_.DragOver(2, MiddleOf(3), 10));
    EXPECT_EQ((std::vector<std::string>{"bb", "cc", "aa"}), ListTexts());
    // Back over its own place or empty space: nothing moves.
    EXPECT_EQ(3, strip_.DragOver(3, MiddleOf(3), 10));
    EXPECT_EQ(3, strip_.DragOver(3, 590, 10));
}

TEST_F(StripDrag, OnlyTabsOfTheSamePinStateChangePlaces) {
    for (const char* text : {"aa", "bb", "cc"}) Add(text);
    strip_.TogglePin(1);
    Arrange(600);
    ASSERT_EQ((std::vector<std::string>{"aa", "bb", "cc"}), DisplayedTexts());
    // The pinned tab cannot pass an unpinned one, nor can an unpinned one pass it.
    EXPECT_EQ(1, strip_.DragOver(1, MiddleOf(2), 10));
    EXPECT_EQ(2, strip_.DragOver(2, MiddleOf(1), 10));
    EXPECT_EQ((std::vector<std::string>{"aa", "bb", "cc"}), ListTexts());
    EXPECT_EQ(3, strip_.DragOver(2, MiddleOf(3), 10));
    EXPECT_EQ((std::vector<std::string>{"aa", "cc", "bb"}), DisplayedTexts());

    strip_.TogglePin(2);
    Arrange(600);
    ASSERT_EQ((std::vector<std::string>{"aa", "cc", "bb"}), DisplayedTexts());
    EXPECT_EQ(2, strip_.DragOver(1, MiddleOf(2), 10));
    EXPECT_EQ((std::vector<std::string>{"cc", "aa", "bb"}), DisplayedTexts());
}

TEST_F(StripDrag, NarrowTabPassesAWideOneOnlyWhenThePointerWouldStayOnIt) {
    Add("a");           // 62 wide
    Add("bbbbbbbbbbb"); // 162 wide
    Arrange(600);
    const int wideRight = strip_.Tab(2).rect.Right();
    // Over the wide tab's left part: swapping would put the wide tab back under the pointer.
    EXPECT_EQ(1, strip_.DragOver(1, strip_.Tab(2).rect.left + 20, 10));
    EXPECT_EQ((std::vector<std::string>{"a", "bbbbbbbbbbb"}), ListTexts());
    // Past the point where the narrow tab will lie after the swap.
    const double x = wideRight - 30;
    EXPECT_EQ(2, strip_.DragOver(1, x, 10));
    EXPECT_EQ((std::vector<std::string>{"bbbbbbbbbbb", "a"}), ListTexts());
    // The next move at the same place changes nothing.
    EXPECT_EQ(2, strip_.DragOver(2, x, 10));
    EXPECT_EQ((std::vector<std::string>{"bbbbbbbbbbb", "a"}), ListTexts());
}

} // namespace
} // namespace vivu
