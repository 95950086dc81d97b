// The custom-drawn tab row: bound to a canvas window, drawn through an off-screen
// buffer, driven by the canvas's mouse messages.
#pragma once

#include "ui/DibSurface.h"
#include "ui/GlyphSheet.h"
#include "ui/PngImage.h"
#include "ui/TabStripLayout.h"

#include <windows.h>

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string_view>

namespace vivu {

// What Bind is told; anything omitted takes its default: normal text and
// background are the system button colours a canvas has, selected tabs are white
// on RGB(0, 122, 204), hovered tabs white on RGB(65, 167, 235), a hovered button
// lies on RGB(120, 200, 255), and tabs end 4 pixels above the canvas's bottom. In high
// contrast the system's colour pairs replace every colour, given or not.
struct TabStripStyle {
    std::optional<int> bottomGap;
    std::optional<COLORREF> normalText;
    std::optional<COLORREF> normalBack;
    std::optional<COLORREF> selectedText;
    std::optional<COLORREF> selectedBack;
    std::optional<COLORREF> hoveredText;
    std::optional<COLORREF> hoveredBack;
    std::optional<COLORREF> buttonHoverBack;
    bool closeShown = true;
    bool pinShown = true;
};

// Each may be empty. Indexes count from 1.
struct TabStripHandlers {
    std::function<void(int index)> tabSelected;
    // Low 16 bits: the element's left edge minus the click's x; high 16 bits: its
    // bottom edge minus the click's y (both signed), to place a menu under it.
    std::function<void(int32_t offsets)> dropDownClicked;
    std::function<void(int index)> pinToggled;
    std::function<void(int index)> closeClicked;
};

// Colour states of the glyph pictures: the glyph colour on a background.
enum class GlyphState : int {
    Normal = 1,     // normal text on normal background
    Selected = 2,   // selected text on selected background
    Hovered = 3,    // hovered text on hovered background
    ButtonHover = 4 // selected text on the button-hover background
};

class TabStrip : private TextMeasurer {
public:
    TabStrip();
    TabStrip(const TabStrip&) = delete;
    TabStrip& operator=(const TabStrip&) = delete;
    ~TabStrip() override;

    // Takes over drawing and mouse handling of the canvas (any child window; it is
    // subclassed, so nobody needs to forward its messages), builds the glyph
    // pictures and paints. False when canvas is not a window.
    bool Bind(HWND canvas, const TabStripStyle& requested = {});
    void SetHandlers(TabStripHandlers handlers);
    // The canvas's window moved to a monitor of this dpi: tabs and buttons are laid out at its size.
    void SetDpi(int dpi);
    // Where the tabs start; repaints.
    void SetMargins(int leftOffset, int topOffset);

    // Appends a tab (icon: PNG bytes, may be empty) and selects it; returns the tab count.
    int AddTab(std::string_view text, int32_t userValue = 0, std::string_view icon = {},
               std::string_view extraText = {});
    // Asks the next Paint to measure and lay out the tabs again.
    void Invalidate();
    void ClearTabs();
    // Index 0 addresses the drop-down element. Selecting (state Selected)
    // re-lays the strip out; a moved selection is reported to the tab-selected handler.
    void Select(int index, TabState state = TabState::Selected, TabPart part = TabPart::None);
    // Lays out if needed, draws into the buffer and shows it on the canvas.
    void Paint();
    // The text's ink: width to its rightmost lit column + 2, height to its lowest
    // lit row, as drawn with the canvas's font; at most the scratch width.
    TextSize MeasureText(std::string_view text);

    // Mouse input in canvas client coordinates (the canvas's messages arrive here).
    void MouseDown(int x, int y);
    void MouseUp(int x, int y);
    void MouseMove(int x, int y);
    StripHit HitTest(int x, int y) const { return layout_.HitTest(x, y); }

    // Removes the tab; when it was selected its left neighbour, or the next tab
    // when it was first, becomes selected (and is reported).
    void CloseTab(int index);
    // Index of the first tab with exactly this text, 0 when none; copy receives it.
    int FindTab(std::string_view text, StripTab* copy = nullptr) const;
    int Count() const { return layout_.Count(); }
    // A copy of the tab; an empty tab for an invalid index.
    StripTab GetTab(int index) const;
    bool IsValidIndex(int index) const { return layout_.IsValidIndex(index); }
    const StripTab& DropDown() const { return layout_.DropDown(); }

    HWND Canvas() const { return canvas_; }
    // The 12 × 12 picture drawn for a glyph in a colour state.
    const GlyphImage& ImageAt(StripGlyph glyph, GlyphState state) const;

private:
    struct Colours {
        COLORREF text;
        COLORREF back;
    };

    static LRESULT CALLBACK CanvasProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                       DWORD_PTR self);
    LRESULT HandleCanvasMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void Unbind();

    TextSize Measure(std::string_view text) override { return MeasureText(text); }
    void BuildImages();
    void Render();
    void PaintCanvas();
    void DrawTab(const StripTab& tab, bool isDropDown);
    void DrawGlyph(StripGlyph glyph, GlyphState state, const StripRect& button);
    void RenderText(const StripTab& tab, const StripRect& box, Colours colours);
    Colours ColoursOf(TabState state) const;
    static GlyphState GlyphStateOf(TabState state);
    HFONT Font();

    void TrackHover();
    void ReleaseHover();
    void HoverLeft();
    void EndPress();

    HWND canvas_ = nullptr;
    TabStripLayout layout_;
    TabStripHandlers handlers_;
    COLORREF normalText_ = 0;
    COLORREF normalBack_ = 0;
    COLORREF selectedText_ = 0;
    COLORREF selectedBack_ = 0;
    COLORREF hoveredText_ = 0;
    COLORREF hoveredBack_ = 0;
    COLORREF buttonHoverBack_ = 0;
    bool needsLayout_ = true;

    DibSurface buffer_;
    DibSurface scratch_;
    GlyphSheet sheet_;
    std::array<GlyphImage, 16> images_{};
    std::map<uint32_t, PngImage> icons_; // by tab id
    HFONT canvasFont_ = nullptr;         // last WM_SETFONT, for canvases that do not answer WM_GETFONT
    HFONT ownFont_ = nullptr;

    int pressIndex_ = 0; // 0: no tab pressed
    int pressX_ = 0;
    bool hoverTracked_ = false;
};

// The MainWindow's strip on its canvas: system button colours, no bottom gap,
// pin buttons without close buttons, tabs 1 pixel below the top, and one tab "JSON".
void BindMainWindowTabStrip(TabStrip& strip, HWND canvas);

} // namespace vivu
