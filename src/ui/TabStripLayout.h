// The tab strip's tabs without a window: selection and hover states, pinned-first
// layout with the drop-down element, hit testing and drag reordering.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vivu {

struct StripRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;

    int Right() const { return left + width; }
    int Bottom() const { return top + height; }
};

// Right and bottom edges count as inside, so a click on a tab's last pixel column still hits it.
bool PointInRect(double x, double y, int left, int top, int width, int height);
inline bool PointInRect(double x, double y, const StripRect& r) {
    return PointInRect(x, y, r.left, r.top, r.width, r.height);
}

enum class TabState : int { Normal = 0, Selected = 1, Hovered = 2 };
enum class TabPart : int { None = 0, Close = 1, Pin = 2 };

struct StripButton {
    TabPart part = TabPart::None;
    StripRect rect;
    bool shown = false;
};

struct StripTab {
    std::string icon; // PNG bytes; empty for none
    int32_t userValue = 0;
    std::string text; // UTF-8
    std::string extraText;
    TabState state = TabState::Normal;
    TabPart hoveredPart = TabPart::None;
    bool pinned = false;
    bool pressed = false;
    int dragOffset = 0;
    int textWidth = 0;
    int textHeight = 0;
    int fullWidth = 0;
    StripRect rect;
    bool laidOut = false;
    StripButton close{TabPart::Close, {}, false};
    StripButton pin{TabPart::Pin, {}, false};
    // Stays with the tab when it moves in the list, for what the window layer keeps per tab.
    uint32_t id = 0;
};

struct TextSize {
    int width = 0;
    int height = 0;
};

class TextMeasurer {
public:
    virtual ~TextMeasurer() = default;
    virtual TextSize Measure(std::string_view text) = 0;
};

// Geometry settings. Tabs start at leftOffset; their height is the canvas height
// less topOffset and bottomGap.
struct StripMetrics {
    int leftOffset = 0;
    int topOffset = 0;
    int bottomGap = 4;
    bool closeShown = true;
    bool pinShown = true;
    int dpi = 96; // the lengths below are at 96 dpi
};

constexpr int kTabMargin = 4;   // inside each end of a tab
constexpr int kTabGap = 4;      // between icon, text and buttons
constexpr int kButtonSize = 18; // close and pin buttons
constexpr int kIconWidth = 18;
constexpr int kDropDownWidth = kTabMargin + kButtonSize + kTabMargin;

// Index counts from 1; 0 is the drop-down element, −1 nothing.
struct StripHit {
    int index = -1;
    TabPart part = TabPart::None;
};

class TabStripLayout {
public:
    StripMetrics metrics;

    // Appends a tab in state Normal, not pinned; returns the tab count.
    int AddTab(StripTab tab);
    void RemoveTab(int index);
    void Clear();

    int Count() const { return static_cast<int>(tabs_.size()); }
    bool IsValidIndex(int index) const { return index >= 1 && index <= Count(); }
    StripTab& Tab(int index) { return tabs_[index - 1]; }
    const StripTab& Tab(int index) const { return tabs_[index - 1]; }
    const std::vector<StripTab>& Tabs() const { return tabs_; }
    const StripTab& DropDown() const { return dropDown_; }
    // Indexes of the placed tabs, left to right.
    const std::vector<int>& DisplayOrder() const { return displayOrder_; }

    // Index of the first tab with exactly this text; 0 when none.
    int FindTab(std::string_view text) const;
    // Index of the selected tab; 0 when none is.
    int SelectedIndex() const;

    // Gives the tab at index the state and hovered part. A selected tab keeps its
    // selection unless this call selects another one, so hovering never takes it
    // away. Index 0 addresses the drop-down element. True when the selection moved.
    bool Select(int index, TabState state = TabState::Selected, TabPart part = TabPart::None);
    // Takes away every hover state and hovered part; selections stay.
    void ClearHover();
    void TogglePin(int index);
    // Removes the tab; when it was selected its left neighbour (or the next tab
    // when it was first) becomes selected. Returns the new index of the tab that
    // was selected in its place, 0 when none was.
    int CloseTab(int index);

    // Text sizes and full widths of every tab.
    void Measure(TextMeasurer& measurer);
    // Places pinned tabs first, then the others, each in list order. When the row
    // is full only the selected tab is still placed, shrunk to leave room for the
    // drop-down element, which is shown exactly when a tab is left out.
    void Arrange(int canvasWidth, int canvasHeight);
    int ArrangedWidth() const { return arrangedWidth_; }
    int ArrangedHeight() const { return arrangedHeight_; }

    // Placed tabs in list order (buttons give their part), then the drop-down element.
    StripHit HitTest(double x, double y) const;

    // The dragged tab at index changes places with the tab under the pointer when
    // both share the pin state. A swap that would leave the pointer over the other
    // tab is not made, so tabs of different widths do not swap back and forth.
    // Returns the dragged tab's index afterwards.
    int DragOver(int index, double x, double y);

    // Width of the buttons at a tab's right end, with the gap before them.
    int ButtonAreaWidth() const;
    // A length at 96 dpi, at the strip's dpi.
    int Px(int length) const { return (length * metrics.dpi + 48) / 96; }
    // Where the tab's icon and text go (before any drag offset), clipped to the
    // room left before the buttons.
    StripRect IconBox(const StripTab& tab) const;
    StripRect TextBox(const StripTab& tab) const;

private:
    void Place(StripTab& tab, int index, int x, int width, int top, int height);
    int IconRoom(const StripTab& tab) const;

    std::vector<StripTab> tabs_;
    std::vector<int> displayOrder_;
    StripTab dropDown_;
    uint32_t nextId_ = 1;
    int arrangedWidth_ = 0;
    int arrangedHeight_ = 0;
};

} // namespace vivu
