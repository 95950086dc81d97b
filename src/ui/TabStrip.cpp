// Drawing and mouse handling of the tab strip; the geometry comes from TabStripLayout.
#include "ui/TabStrip.h"

#include "kova/Encoding.h"
#include "ui/AvailableFace.h"
#include "ui/ControlColours.h"
#include "ui/WindowBase.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <utility>

namespace vivu {

namespace {

constexpr UINT_PTR kSubclassId = 0x56495655; // "VIVU"
// The scratch canvas is never narrower or lower than this, so long texts measure up to 600 pixels.
constexpr int kScratchMinWidth = 600;
constexpr int kScratchMinHeight = 30;
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kWhite = RGB(255, 255, 255);

size_t ImageSlot(StripGlyph glyph, GlyphState state) {
    return static_cast<size_t>((static_cast<int>(glyph) - 1) * 4 + (static_cast<int>(state) - 1));
}

StripRect Shifted(StripRect r, int dx) {
    r.left += dx;
    return r;
}

// High contrast replaces every colour the binder chose by the theme's pairs: button text on
// the button face for tabs at rest, highlighted text on the highlight for selected and
// hovered tabs and hovered buttons.
TabStripStyle InSystemColours(TabStripStyle style) {
    style.normalText = GetSysColor(COLOR_BTNTEXT);
    style.normalBack = GetSysColor(COLOR_BTNFACE);
    style.selectedText = style.hoveredText = GetSysColor(COLOR_HIGHLIGHTTEXT);
    style.selectedBack = style.hoveredBack = style.buttonHoverBack = GetSysColor(COLOR_HIGHLIGHT);
    return style;
}

} // namespace

TabStrip::TabStrip() = default;

TabStrip::~TabStrip() {
    Unbind();
    if (ownFont_) DeleteObject(ownFont_);
}

bool TabStrip::Bind(HWND canvas, const TabStripStyle& requested) {
    if (!IsWindow(canvas)) return false;
    Unbind();
    const TabStripStyle style = HighContrastOn() ? InSystemColours(requested) : requested;
    normalText_ = style.normalText.value_or(GetSysColor(COLOR_BTNTEXT));
    normalBack_ = style.normalBack.value_or(GetSysColor(COLOR_BTNFACE));
    selectedText_ = style.selectedText.value_or(kWhite);
    selectedBack_ = style.selectedBack.value_or(RGB(0, 122, 204));
    hoveredText_ = style.hoveredText.value_or(kWhite);
    hoveredBack_ = style.hoveredBack.value_or(RGB(65, 167, 235));
    buttonHoverBack_ = style.buttonHoverBack.value_or(RGB(120, 200, 255));
    layout_.metrics.bottomGap = style.bottomGap.value_or(4);
    layout_.metrics.closeShown = style.closeShown;
    layout_.metrics.pinShown = style.pinShown;

    RECT client{};
    GetClientRect(canvas, &client);
    if (!buffer_.Resize(client.right, client.bottom) ||
        !scratch_.Resize(std::max<int>(client.right, kScratchMinWidth),
                         std::max<int>(client.bottom, kScratchMinHeight)))
        return false;
    if (!SetWindowSubclass(canvas, CanvasProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this))) return false;
    canvas_ = canvas;
    BuildImages();
    Invalidate();
    Paint();
    return true;
}

void TabStrip::Unbind() {
    if (!canvas_) return;
    if (pressIndex_ != 0) {
        EndPress();
        if (GetCapture() == canvas_) ReleaseCapture();
    }
    ReleaseHover();
    RemoveWindowSubclass(canvas_, CanvasProc, kSubclassId);
    canvas_ = nullptr;
}

void TabStrip::SetHandlers(TabStripHandlers handlers) {
    handlers_ = std::move(handlers);
}

void TabStrip::SetDpi(int dpi) {
    layout_.metrics.dpi = dpi;
    Invalidate();
}

void TabStrip::SetMargins(int leftOffset, int topOffset) {
    layout_.metrics.leftOffset = leftOffset;
    layout_.metrics.topOffset = topOffset;
    Invalidate();
    Paint();
}

int TabStrip::AddTab(std::string_view text, int32_t userValue, std::string_view icon, std::string_view extraText) {
    StripTab tab;
    tab.text = std::string(text);
    tab.userValue = userValue;
    tab.icon = std::string(icon);
    tab.extraText = std::string(extraText);
    const int count = layout_.AddTab(std::move(tab));
    if (!icon.empty()) icons_.emplace(layout_.Tab(count).id, PngImage(icon));
    Invalidate();
    Select(count, TabState::Selected);
    return count;
}

void TabStrip::Invalidate() {
    needsLayout_ = true;
}

void TabStrip::ClearTabs() {
    if (pressIndex_ != 0) {
        EndPress();
        if (canvas_ && GetCapture() == canvas_) ReleaseCapture();
    }
    layout_.Clear();
    icons_.clear();
    Invalidate();
    Paint();
}

void TabStrip::Select(int index, TabState state, TabPart part) {
    const bool moved = layout_.Select(index, state, part);
    if (state == TabState::Selected) Invalidate();
    Paint();
    if (moved && handlers_.tabSelected) handlers_.tabSelected(index);
}

void TabStrip::CloseTab(int index) {
    if (!layout_.IsValidIndex(index)) return;
    if (pressIndex_ == index) {
        EndPress();
        if (canvas_ && GetCapture() == canvas_) ReleaseCapture();
    } else if (pressIndex_ > index) {
        --pressIndex_;
    }
    icons_.erase(layout_.Tab(index).id);
    const int selected = layout_.CloseTab(index);
    Invalidate();
    Paint();
    if (selected != 0 && handlers_.tabSelected) handlers_.tabSelected(selected);
}

int TabStrip::FindTab(std::string_view text, StripTab* copy) const {
    const int index = layout_.FindTab(text);
    if (index != 0 && copy) *copy = layout_.Tab(index);
    return index;
}

StripTab TabStrip::GetTab(int index) const {
    return layout_.IsValidIndex(index) ? layout_.Tab(index) : StripTab{};
}

const GlyphImage& TabStrip::ImageAt(StripGlyph glyph, GlyphState state) const {
    return images_[ImageSlot(glyph, state)];
}

// --- drawing ------------------------------------------------------------------

void TabStrip::BuildImages() {
    const std::pair<GlyphState, Colours> states[] = {
        {GlyphState::Normal, {normalText_, normalBack_}},
        {GlyphState::Selected, {selectedText_, selectedBack_}},
        {GlyphState::Hovered, {hoveredText_, hoveredBack_}},
        {GlyphState::ButtonHover, {selectedText_, buttonHoverBack_}},
    };
    for (const StripGlyph glyph :
         {StripGlyph::PinLying, StripGlyph::Close, StripGlyph::DropDown, StripGlyph::PinUpright})
        for (const auto& [state, colours] : states)
            images_[ImageSlot(glyph, state)] = sheet_.ProcessImage(glyph, colours.back, colours.text);
}

HFONT TabStrip::Font() {
    if (canvas_) {
        if (auto font = reinterpret_cast<HFONT>(SendMessageW(canvas_, WM_GETFONT, 0, 0))) return font;
    }
    if (canvasFont_) return canvasFont_;
    if (!ownFont_) {
        LOGFONTW lf{};
        lf.lfHeight = -12;
        lf.lfWeight = FW_NORMAL;
        lf.lfCharSet = DEFAULT_CHARSET;
        lstrcpynW(lf.lfFaceName, AvailableFace(L"微软雅黑").c_str(), LF_FACESIZE);
        ownFont_ = CreateFontIndirectW(&lf);
    }
    return ownFont_;
}

TextSize TabStrip::MeasureText(std::string_view text) {
    if (text.empty()) return {};
    RECT client{};
    if (canvas_) GetClientRect(canvas_, &client);
    if (!scratch_.Resize(std::max<int>(client.right, kScratchMinWidth),
                         std::max<int>(client.bottom, kScratchMinHeight)))
        return {};
    scratch_.Fill(kBlack);
    HDC dc = scratch_.Dc();
    SelectObject(dc, Font());
    SetTextColor(dc, kWhite);
    SetBkMode(dc, TRANSPARENT);
    const std::wstring wide = kova::Utf8ToWide(text);
    TextOutW(dc, 0, 0, wide.c_str(), static_cast<int>(wide.size()));
    GdiFlush();

    const int width = scratch_.Width(), height = scratch_.Height();
    const uint32_t* bits = scratch_.Bits();
    auto lit = [&](int x, int y) { return (bits[y * width + x] & 0xFFFFFF) != 0; };
    TextSize size;
    for (int x = width - 1; x >= 0 && size.width == 0; --x)
        for (int y = 0; y < height; ++y)
            if (lit(x, y)) {
                size.width = std::min(x + 1 + 2, width);
                break;
            }
    for (int y = height - 1; y >= 0 && size.height == 0; --y)
        for (int x = 0; x < width; ++x)
            if (lit(x, y)) {
                size.height = y + 1;
                break;
            }
    if (size.width == 0 || size.height == 0) return {};
    return size;
}

void TabStrip::Paint() {
    if (!canvas_) return;
    Render();
    RedrawWindow(canvas_, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_NOERASE);
}

void TabStrip::Render() {
    RECT client{};
    GetClientRect(canvas_, &client);
    if (needsLayout_ || client.right != layout_.ArrangedWidth() || client.bottom != layout_.ArrangedHeight()) {
        layout_.Measure(*this);
        layout_.Arrange(client.right, client.bottom);
        needsLayout_ = false;
    }
    if (!buffer_.Resize(client.right, client.bottom)) return;
    buffer_.Fill(normalBack_);
    int dragged = 0;
    for (const int index : layout_.DisplayOrder()) {
        if (layout_.Tab(index).dragOffset != 0) {
            dragged = index;
            continue;
        }
        DrawTab(layout_.Tab(index), false);
    }
    if (layout_.DropDown().laidOut) DrawTab(layout_.DropDown(), true);
    // The dragged tab lies on top of the others.
    if (dragged != 0) DrawTab(layout_.Tab(dragged), false);
    GdiFlush();
}

void TabStrip::PaintCanvas() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(canvas_, &ps);
    RECT client{};
    GetClientRect(canvas_, &client);
    if (client.right != buffer_.Width() || client.bottom != buffer_.Height() || needsLayout_) Render();
    BitBlt(dc, 0, 0, client.right, client.bottom, buffer_.Dc(), 0, 0, SRCCOPY);
    EndPaint(canvas_, &ps);
}

TabStrip::Colours TabStrip::ColoursOf(TabState state) const {
    switch (state) {
    case TabState::Selected:
        return {selectedText_, selectedBack_};
    case TabState::Hovered:
        return {hoveredText_, hoveredBack_};
    case TabState::Normal:
        break;
    }
    return {normalText_, normalBack_};
}

GlyphState TabStrip::GlyphStateOf(TabState state) {
    switch (state) {
    case TabState::Selected:
        return GlyphState::Selected;
    case TabState::Hovered:
        return GlyphState::Hovered;
    case TabState::Normal:
        break;
    }
    return GlyphState::Normal;
}

void TabStrip::DrawTab(const StripTab& tab, bool isDropDown) {
    const Colours colours = ColoursOf(tab.state);
    const int dx = tab.dragOffset;
    const StripRect r = Shifted(tab.rect, dx);
    buffer_.FillRect(r.left, r.top, r.width, r.height, colours.back);
    if (isDropDown) {
        const GlyphState state = tab.hoveredPart != TabPart::None ? GlyphState::ButtonHover : GlyphStateOf(tab.state);
        DrawGlyph(StripGlyph::DropDown, state, r);
        return;
    }
    if (const auto icon = icons_.find(tab.id); icon != icons_.end() && !icon->second.Empty()) {
        const StripRect box = Shifted(layout_.IconBox(tab), dx);
        const PngImage& picture = icon->second;
        // Larger pictures shrink to the box, keeping their proportions.
        const double scale = std::min({1.0, static_cast<double>(box.width) / picture.Width(),
                                       static_cast<double>(box.height) / picture.Height()});
        const int width = static_cast<int>(picture.Width() * scale);
        const int height = static_cast<int>(picture.Height() * scale);
        GdiFlush();
        picture.Draw(buffer_.Dc(), box.left, box.top + (box.height - height) / 2, width, height);
        GdiFlush();
    }
    for (const StripButton* button : {&tab.close, &tab.pin}) {
        if (!button->shown) continue;
        const StripRect br = Shifted(button->rect, dx);
        const bool hovered = tab.hoveredPart == button->part;
        if (hovered) buffer_.FillRect(br.left, br.top, br.width, br.height, buttonHoverBack_);
        // A hovered pin shows what a click will do: the pin lying, ready to be pinned or unpinned.
        StripGlyph glyph = StripGlyph::Close;
        if (button->part == TabPart::Pin)
            glyph = tab.pinned && !hovered ? StripGlyph::PinUpright : StripGlyph::PinLying;
        DrawGlyph(glyph, hovered ? GlyphState::ButtonHover : GlyphStateOf(tab.state), br);
    }
    RenderText(tab, Shifted(layout_.TextBox(tab), dx), colours);
}

void TabStrip::DrawGlyph(StripGlyph glyph, GlyphState state, const StripRect& area) {
    const GlyphImage& image = ImageAt(glyph, state);
    const int left = area.left + (area.width - kGlyphSize) / 2;
    const int top = area.top + (area.height - kGlyphSize) / 2;
    GdiFlush();
    for (int y = 0; y < kGlyphSize; ++y)
        for (int x = 0; x < kGlyphSize; ++x) buffer_.SetPixel(left + x, top + y, image[y * kGlyphSize + x]);
}

void TabStrip::RenderText(const StripTab& tab, const StripRect& box, Colours colours) {
    if (box.width <= 0 || box.height <= 0 || tab.text.empty()) return;
    // One text at a time on the scratch canvas, then copied in: the room before the buttons clips it.
    scratch_.FillRect(0, 0, tab.textWidth, tab.textHeight, colours.back);
    HDC dc = scratch_.Dc();
    SelectObject(dc, Font());
    SetTextColor(dc, colours.text);
    SetBkMode(dc, TRANSPARENT);
    RECT clip{0, 0, tab.textWidth, tab.textHeight};
    const std::wstring wide = kova::Utf8ToWide(tab.text);
    ExtTextOutW(dc, 0, 0, ETO_CLIPPED, &clip, wide.c_str(), static_cast<UINT>(wide.size()), nullptr);
    BitBlt(buffer_.Dc(), box.left, box.top, box.width, box.height, dc, 0, 0, SRCCOPY);
    GdiFlush();
}

// --- mouse --------------------------------------------------------------------

void TabStrip::MouseDown(int x, int y) {
    const StripHit hit = layout_.HitTest(x, y);
    if (hit.index < 0) return;
    ReleaseHover();
    if (hit.index == 0) {
        Select(0, TabState::Selected);
        const StripRect& d = layout_.DropDown().rect;
        const auto low = static_cast<uint16_t>(static_cast<int16_t>(d.left - x));
        const auto high = static_cast<uint16_t>(static_cast<int16_t>(d.Bottom() - y));
        if (handlers_.dropDownClicked) handlers_.dropDownClicked(static_cast<int32_t>(uint32_t{high} << 16 | low));
        return;
    }
    switch (hit.part) {
    case TabPart::Close:
        if (handlers_.closeClicked) handlers_.closeClicked(hit.index);
        CloseTab(hit.index);
        return;
    case TabPart::Pin:
        layout_.TogglePin(hit.index);
        if (handlers_.pinToggled) handlers_.pinToggled(hit.index);
        Invalidate();
        Paint();
        return;
    case TabPart::None:
        break;
    }
    if (layout_.Tab(hit.index).state != TabState::Selected) Select(hit.index, TabState::Selected);
    // A handler may have changed the tabs.
    if (!layout_.IsValidIndex(hit.index) || !canvas_) return;
    layout_.Tab(hit.index).pressed = true;
    pressIndex_ = hit.index;
    pressX_ = x;
    SetCapture(canvas_);
    Paint();
}

void TabStrip::MouseMove(int x, int y) {
    if (!canvas_) return;
    if (pressIndex_ != 0 && layout_.IsValidIndex(pressIndex_)) {
        const int oldLeft = layout_.Tab(pressIndex_).rect.left;
        pressIndex_ = layout_.DragOver(pressIndex_, x, y);
        StripTab& tab = layout_.Tab(pressIndex_);
        // After a swap the tab's own place moved; keep it where the pointer holds it.
        pressX_ += tab.rect.left - oldLeft;
        tab.dragOffset = x - pressX_;
        Paint();
        return;
    }
    RECT client{};
    GetClientRect(canvas_, &client);
    if (x < 0 || y < 0 || x >= client.right || y >= client.bottom) {
        ReleaseHover();
        layout_.ClearHover();
        Paint();
        return;
    }
    TrackHover();
    const StripHit hit = layout_.HitTest(x, y);
    if (hit.index >= 0) {
        Select(hit.index, TabState::Hovered, hit.part);
    } else {
        layout_.ClearHover();
        Paint();
    }
}

void TabStrip::MouseUp(int, int) {
    if (pressIndex_ == 0) {
        ReleaseHover();
        return;
    }
    EndPress();
    if (canvas_ && GetCapture() == canvas_) ReleaseCapture();
    Paint();
}

void TabStrip::EndPress() {
    if (layout_.IsValidIndex(pressIndex_)) {
        layout_.Tab(pressIndex_).pressed = false;
        layout_.Tab(pressIndex_).dragOffset = 0;
    }
    pressIndex_ = 0;
}

// Hover is tracked with TrackMouseEvent rather than by holding the capture, so
// clicks elsewhere in the window are never taken from their controls.
void TabStrip::TrackHover() {
    if (hoverTracked_ || !canvas_) return;
    TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, canvas_, 0};
    hoverTracked_ = TrackMouseEvent(&track) != FALSE;
}

void TabStrip::ReleaseHover() {
    if (!hoverTracked_) return;
    hoverTracked_ = false;
    if (!canvas_) return;
    TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE | TME_CANCEL, canvas_, 0};
    TrackMouseEvent(&track);
}

void TabStrip::HoverLeft() {
    hoverTracked_ = false;
    if (pressIndex_ != 0) return;
    layout_.ClearHover();
    Paint();
}

// --- the canvas ---------------------------------------------------------------

LRESULT CALLBACK TabStrip::CanvasProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR self) {
    // A failing handler is reported by the window the strip belongs to, as any other handler's failure.
    return WindowBase::Guarded(
        hwnd, [&] { return reinterpret_cast<TabStrip*>(self)->HandleCanvasMessage(message, wParam, lParam); },
        [&] { return DefSubclassProc(hwnd, message, wParam, lParam); });
}

LRESULT TabStrip::HandleCanvasMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    HWND hwnd = canvas_;
    switch (message) {
    case WM_NCHITTEST:
        // A static control would let the mouse through to its parent.
        return HTCLIENT;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        MouseDown(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        return 0;
    case WM_LBUTTONUP:
        MouseUp(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        return 0;
    case WM_MOUSEMOVE:
        MouseMove(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        return 0;
    case WM_MOUSELEAVE:
        HoverLeft();
        return 0;
    case WM_CAPTURECHANGED:
        if (pressIndex_ != 0 && reinterpret_cast<HWND>(lParam) != hwnd) {
            EndPress();
            Paint();
        }
        break;
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT:
        PaintCanvas();
        return 0;
    case WM_SIZE: {
        const LRESULT result = DefSubclassProc(hwnd, message, wParam, lParam);
        Paint();
        return result;
    }
    case WM_SETFONT: {
        canvasFont_ = reinterpret_cast<HFONT>(wParam);
        const LRESULT result = DefSubclassProc(hwnd, message, wParam, lParam);
        Invalidate();
        Paint();
        return result;
    }
    case WM_NCDESTROY:
        Unbind();
        return DefSubclassProc(hwnd, message, wParam, lParam);
    default:
        break;
    }
    return DefSubclassProc(hwnd, message, wParam, lParam);
}

// --- the MainWindow's strip -----------------------------------------------------

void BindMainWindowTabStrip(TabStrip& strip, HWND canvas) {
    TabStripStyle style;
    style.bottomGap = 0;
    style.normalText = GetSysColor(COLOR_BTNTEXT);
    style.normalBack = GetSysColor(COLOR_BTNFACE);
    style.selectedText = GetSysColor(COLOR_BTNTEXT);
    style.selectedBack = GetSysColor(COLOR_BTNSHADOW);
    style.hoveredText = GetSysColor(COLOR_BTNTEXT);
    style.hoveredBack = GetSysColor(COLOR_BTNHIGHLIGHT);
    style.buttonHoverBack = GetSysColor(COLOR_BTNHIGHLIGHT);
    style.closeShown = false;
    style.pinShown = true;
    strip.Bind(canvas, style);
    // Selecting, pinning and the drop-down change nothing outside the strip, and there is no close button.
    strip.SetHandlers({});
    strip.SetMargins(0, 1);
    strip.AddTab("JSON");
}

} // namespace vivu
