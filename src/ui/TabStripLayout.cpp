// Tab list, states and geometry of the tab strip.
#include "ui/TabStripLayout.h"

#include <algorithm>
#include <utility>

namespace vivu {

bool PointInRect(double x, double y, int left, int top, int width, int height) {
    constexpr double kTolerance = 1e-7;
    return left <= x && top <= y && x - (left + width) <= kTolerance && y - (top + height) <= kTolerance;
}

int TabStripLayout::AddTab(StripTab tab) {
    tab.state = TabState::Normal;
    tab.hoveredPart = TabPart::None;
    tab.pinned = false;
    tab.pressed = false;
    tab.dragOffset = 0;
    tab.laidOut = false;
    tab.close.part = TabPart::Close;
    tab.pin.part = TabPart::Pin;
    tab.id = nextId_++;
    tabs_.push_back(std::move(tab));
    return Count();
}

void TabStripLayout::RemoveTab(int index) {
    if (!IsValidIndex(index)) return;
    tabs_.erase(tabs_.begin() + (index - 1));
    // The display order is stale until the next Arrange; drop what no longer exists.
    std::erase(displayOrder_, index);
    for (int& i : displayOrder_)
        if (i > index) --i;
}

void TabStripLayout::Clear() {
    tabs_.clear();
    displayOrder_.clear();
    dropDown_ = StripTab{};
}

int TabStripLayout::FindTab(std::string_view text) const {
    for (int i = 1; i <= Count(); ++i)
        if (Tab(i).text == text) return i;
    return 0;
}

int TabStripLayout::SelectedIndex() const {
    for (int i = 1; i <= Count(); ++i)
        if (Tab(i).state == TabState::Selected) return i;
    return 0;
}

bool TabStripLayout::Select(int index, TabState state, TabPart part) {
    for (StripTab& tab : tabs_) tab.hoveredPart = TabPart::None;
    dropDown_.hoveredPart = TabPart::None;
    if (index == 0) {
        dropDown_.state = state;
        dropDown_.hoveredPart = part;
        // The pointer has left the tabs; only their hover goes.
        for (StripTab& tab : tabs_)
            if (tab.state == TabState::Hovered) tab.state = TabState::Normal;
        return false;
    }
    if (!IsValidIndex(index)) return false;
    dropDown_.state = TabState::Normal;
    bool moved = false;
    for (int i = 1; i <= Count(); ++i) {
        StripTab& tab = Tab(i);
        if (i == index) {
            tab.hoveredPart = part;
            if (tab.state != TabState::Selected) {
                moved = state == TabState::Selected;
                tab.state = state;
            }
        } else if (tab.state != TabState::Selected || state == TabState::Selected) {
            tab.state = TabState::Normal;
        }
    }
    return moved;
}

void TabStripLayout::ClearHover() {
    for (StripTab& tab : tabs_) {
        tab.hoveredPart = TabPart::None;
        if (tab.state == TabState::Hovered) tab.state = TabState::Normal;
    }
    dropDown_.hoveredPart = TabPart::None;
    if (dropDown_.state == TabState::Hovered) dropDown_.state = TabState::Normal;
}

void TabStripLayout::TogglePin(int index) {
    if (IsValidIndex(index)) Tab(index).pinned = !Tab(index).pinned;
}

int TabStripLayout::CloseTab(int index) {
    if (!IsValidIndex(index)) return 0;
    int next = 0;
    if (Tab(index).state == TabState::Selected) {
        next = index > 1 ? index - 1 : (Count() >= 2 ? 2 : 0);
        if (next != 0) Select(next);
    }
    RemoveTab(index);
    return next > index ? next - 1 : next;
}

int TabStripLayout::ButtonAreaWidth() const {
    int width = 0;
    if (metrics.closeShown) width += Px(kButtonSize);
    if (metrics.pinShown) width += Px(kTabGap) + Px(kButtonSize);
    if (metrics.closeShown && metrics.pinShown) width += Px(kTabGap);
    return width;
}

int TabStripLayout::IconRoom(const StripTab& tab) const {
    if (tab.icon.empty()) return 0;
    return Px(kIconWidth) + (ButtonAreaWidth() > 0 ? Px(kTabGap) : 0);
}

void TabStripLayout::Measure(TextMeasurer& measurer) {
    for (StripTab& tab : tabs_) {
        const TextSize size = measurer.Measure(tab.text);
        tab.textWidth = size.width;
        tab.textHeight = size.height;
        tab.fullWidth = Px(kTabMargin) + IconRoom(tab) + tab.textWidth + ButtonAreaWidth() + Px(kTabMargin);
    }
}

void TabStripLayout::Place(StripTab& tab, int index, int x, int width, int top, int height) {
    tab.rect = {x, top, width, height};
    tab.laidOut = true;
    displayOrder_.push_back(index);

    const int buttonHeight = std::min(kButtonSize, height);
    const int buttonTop = top + (height - buttonHeight) / 2;
    int right = x + width - Px(kTabMargin);
    tab.close.shown = metrics.closeShown;
    if (metrics.closeShown) {
        tab.close.rect = {right - Px(kButtonSize), buttonTop, Px(kButtonSize), buttonHeight};
        right -= Px(kButtonSize) + Px(kTabGap);
    }
    tab.pin.shown = metrics.pinShown;
    if (metrics.pinShown) tab.pin.rect = {right - Px(kButtonSize), buttonTop, Px(kButtonSize), buttonHeight};
}

void TabStripLayout::Arrange(int canvasWidth, int canvasHeight) {
    arrangedWidth_ = canvasWidth;
    arrangedHeight_ = canvasHeight;
    displayOrder_.clear();
    for (StripTab& tab : tabs_) tab.laidOut = false;

    const int top = metrics.topOffset;
    const int height = std::max(0, canvasHeight - metrics.topOffset - metrics.bottomGap);
    const int selected = SelectedIndex();
    int x = metrics.leftOffset;
    bool full = false;
    for (const bool pinnedPass : {true, false}) {
        for (int i = 1; i <= Count(); ++i) {
            StripTab& tab = Tab(i);
            if (tab.pinned != pinnedPass) continue;
            // Each tab leaves room for two drop-down widths, so the element never covers a whole tab.
            if (!full && x + tab.fullWidth + 2 * Px(kDropDownWidth) <= canvasWidth) {
                Place(tab, i, x, tab.fullWidth, top, height);
                x += tab.fullWidth;
                continue;
            }
            full = true;
            if (i == selected) {
                const int width = std::clamp(canvasWidth - Px(kDropDownWidth) - x, 0, tab.fullWidth);
                Place(tab, i, x, width, top, height);
                x += width;
            }
        }
    }
    dropDown_.rect = {canvasWidth - Px(kDropDownWidth), top, Px(kDropDownWidth), height};
    dropDown_.laidOut = static_cast<int>(displayOrder_.size()) != Count();
}

StripHit TabStripLayout::HitTest(double x, double y) const {
    for (int i = 1; i <= Count(); ++i) {
        const StripTab& tab = Tab(i);
        if (!tab.laidOut || !PointInRect(x, y, tab.rect)) continue;
        for (const StripButton* button : {&tab.close, &tab.pin})
            if (button->shown && PointInRect(x, y, button->rect)) return {i, button->part};
        return {i, TabPart::None};
    }
    if (dropDown_.laidOut && PointInRect(x, y, dropDown_.rect)) return {0, TabPart::None};
    return {};
}

int TabStripLayout::DragOver(int index, double x, double y) {
    if (!IsValidIndex(index)) return index;
    const int other = HitTest(x, y).index;
    if (other <= 0 || other == index || Tab(other).pinned != Tab(index).pinned) return index;
    std::swap(tabs_[index - 1], tabs_[other - 1]);
    Arrange(arrangedWidth_, arrangedHeight_);
    if (HitTest(x, y).index == index) {
        std::swap(tabs_[index - 1], tabs_[other - 1]);
        Arrange(arrangedWidth_, arrangedHeight_);
        return index;
    }
    return other;
}

StripRect TabStripLayout::IconBox(const StripTab& tab) const {
    if (tab.icon.empty()) return {tab.rect.left + Px(kTabMargin), tab.rect.top, 0, 0};
    const int height = std::min(kIconWidth, tab.rect.height);
    const int width = std::clamp(tab.rect.width - Px(kTabMargin), 0, Px(kIconWidth));
    return {tab.rect.left + Px(kTabMargin), tab.rect.top + (tab.rect.height - height) / 2, width, height};
}

StripRect TabStripLayout::TextBox(const StripTab& tab) const {
    const int left = tab.rect.left + Px(kTabMargin) + IconRoom(tab);
    const int room = tab.rect.Right() - Px(kTabMargin) - ButtonAreaWidth() - left;
    const int height = std::min(tab.textHeight, tab.rect.height);
    return {left, tab.rect.top + (tab.rect.height - height) / 2, std::clamp(tab.textWidth, 0, std::max(room, 0)),
            height};
}

} // namespace vivu
