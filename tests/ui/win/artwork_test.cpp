// The glyphs through real GDI: their pixels, the toolbar image list and icons as Windows draws them,
// and a toolbar and icon buttons showing them. With VIVU_ARTWORK_DEMO_MS set, the demo window stays
// on screen that many milliseconds for a screenshot.
#include "ui/Artwork.h"
#include "ui/TopDownDib.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

using namespace vivu;

namespace {

constexpr COLORREF kLightGrey = RGB(240, 240, 240);

uint32_t Channel(uint32_t pixel, int shift) {
    return (pixel >> shift) & 0xFF;
}
uint32_t Alpha(uint32_t pixel) {
    return pixel >> 24;
}

std::string Name(Glyph glyph) {
    static constexpr std::array<const char*, 14> kNames{"Parse", "Format",   "Compress", "KeyName", "Copy",
                                                        "Paste", "Clear",    "Undo",     "Redo",    "About",
                                                        "Go",    "OpenFile", "Reload",   "Back"};
    return kNames.at(static_cast<size_t>(glyph));
}

// A glyph's premultiplied pixels laid over an opaque background, as 0x00RRGGBB.
std::vector<uint32_t> Composite(const std::vector<uint32_t>& glyph, COLORREF background) {
    const uint32_t bg[3] = {GetBValue(background), GetGValue(background), GetRValue(background)};
    std::vector<uint32_t> result;
    for (uint32_t pixel : glyph) {
        uint32_t out = 0;
        for (int c = 0; c < 3; ++c)
            out |= (Channel(pixel, 8 * c) + (bg[c] * (255 - Alpha(pixel)) + 127) / 255) << (8 * c);
        result.push_back(out);
    }
    return result;
}

// An opaque 32 bpp surface to draw on and read back.
class Surface {
public:
    Surface(int width, int height, COLORREF fill) : width_(width), height_(height) {
        bitmap_ = CreateTopDownDib(width, height, &pixels_);
        dc_ = CreateCompatibleDC(nullptr);
        old_ = SelectObject(dc_, bitmap_);
        HBRUSH brush = CreateSolidBrush(fill);
        const RECT all{0, 0, width, height};
        FillRect(dc_, &all, brush);
        DeleteObject(brush);
    }
    ~Surface() {
        SelectObject(dc_, old_);
        DeleteDC(dc_);
        DeleteObject(bitmap_);
    }
    Surface(const Surface&) = delete;
    Surface& operator=(const Surface&) = delete;

    bool Valid() const { return bitmap_ && dc_ && pixels_; }
    HDC Dc() const { return dc_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    uint32_t Rgb(int x, int y) const {
        GdiFlush();
        return pixels_[static_cast<size_t>(y) * width_ + x] & 0xFFFFFF;
    }

    // The largest channel difference between the surface at (left, top) and a size x size picture.
    uint32_t Difference(int left, int top, const std::vector<uint32_t>& picture, int size) const {
        uint32_t worst = 0;
        for (int y = 0; y < size; ++y)
            for (int x = 0; x < size; ++x) {
                const uint32_t a = Rgb(left + x, top + y);
                const uint32_t b = picture[static_cast<size_t>(y) * size + x];
                for (int c = 0; c < 3; ++c) {
                    const uint32_t p = Channel(a, 8 * c), q = Channel(b, 8 * c);
                    worst = std::max(worst, p > q ? p - q : q - p);
                }
            }
        return worst;
    }

    // Whether the picture appears anywhere inside the rectangle.
    bool Contains(const RECT& area, const std::vector<uint32_t>& picture, int size, uint32_t tolerance) const {
        for (int top = std::max(0L, area.top); top + size <= std::min<LONG>(area.bottom, height_); ++top)
            for (int left = std::max(0L, area.left); left + size <= std::min<LONG>(area.right, width_); ++left)
                if (Difference(left, top, picture, size) <= tolerance) return true;
        return false;
    }

private:
    int width_;
    int height_;
    HBITMAP bitmap_ = nullptr;
    uint32_t* pixels_ = nullptr;
    HDC dc_ = nullptr;
    HGDIOBJ old_ = nullptr;
};

struct ImageListDeleter {
    void operator()(HIMAGELIST list) const { ImageList_Destroy(list); }
};
using ImageList = std::unique_ptr<std::remove_pointer_t<HIMAGELIST>, ImageListDeleter>;

struct IconDeleter {
    void operator()(HICON icon) const { DestroyIcon(icon); }
};
using Icon = std::unique_ptr<std::remove_pointer_t<HICON>, IconDeleter>;

// Drawing rounds once when premultiplying and once when blending.
constexpr uint32_t kBlendTolerance = 4;

} // namespace

// --- the pixels --------------------------------------------------------------------------------------

TEST(ArtworkPixels, EveryGlyphHasInkSoftEdgesAndATransparentBorder) {
    for (int size : {32, 24, 20, 16}) {
        for (Glyph glyph : kAllGlyphs) {
            SCOPED_TRACE(Name(glyph) + " at " + std::to_string(size));
            const std::vector<uint32_t> pixels = RenderGlyph(glyph, size);
            ASSERT_EQ(pixels.size(), static_cast<size_t>(size * size));
            int opaque = 0, partial = 0, border = 0;
            for (int y = 0; y < size; ++y) {
                for (int x = 0; x < size; ++x) {
                    const uint32_t pixel = pixels[static_cast<size_t>(y) * size + x];
                    const uint32_t a = Alpha(pixel);
                    for (int c = 0; c < 3; ++c) ASSERT_LE(Channel(pixel, 8 * c), a) << "not premultiplied";
                    if ((x == 0 || y == 0 || x == size - 1 || y == size - 1) && pixel != 0) ++border;
                    if (a >= 128) ++opaque;
                    if (a > 0 && a < 255) ++partial;
                }
            }
            EXPECT_EQ(border, 0) << "pixels on the outermost ring are transparent";
            const double share = static_cast<double>(opaque) / (size * size);
            EXPECT_GT(share, 0.10);
            EXPECT_LT(share, 0.75);
            EXPECT_GT(partial, size) << "edges are anti-aliased";
        }
    }
}

TEST(ArtworkPixels, GlyphsDifferFromEachOther) {
    constexpr int kSize = 32;
    std::vector<std::vector<uint32_t>> all;
    for (Glyph glyph : kAllGlyphs) all.push_back(RenderGlyph(glyph, kSize));
    for (size_t i = 0; i < all.size(); ++i) {
        for (size_t j = i + 1; j < all.size(); ++j) {
            int differing = 0;
            for (size_t p = 0; p < all[i].size(); ++p) {
                uint32_t worst = 0;
                for (int c = 0; c < 4; ++c) {
                    const uint32_t a = Channel(all[i][p], 8 * c), b = Channel(all[j][p], 8 * c);
                    worst = std::max(worst, a > b ? a - b : b - a);
                }
                if (worst > 64) ++differing;
            }
            EXPECT_GT(differing, kSize * kSize / 20) << Name(kAllGlyphs[i]) << " and " << Name(kAllGlyphs[j]);
        }
    }
}

TEST(ArtworkPixels, RenderingIsRepeatableAndRejectsBadSizes) {
    EXPECT_EQ(RenderGlyph(Glyph::KeyName, 24), RenderGlyph(Glyph::KeyName, 24));
    EXPECT_TRUE(RenderGlyph(Glyph::Copy, 0).empty());
    EXPECT_TRUE(RenderGlyph(Glyph::Copy, -5).empty());
    EXPECT_EQ(CreateGlyphIcon(Glyph::Copy, 0), nullptr);
    EXPECT_EQ(CreateGlyphBitmap(Glyph::Copy, 0), nullptr);
    EXPECT_EQ(CreateToolbarImageList(0), nullptr);
}

TEST(ArtworkPixels, GlyphBitmapIsATopDownDibOfThePixels) {
    HBITMAP bitmap = CreateGlyphBitmap(Glyph::About, 24);
    ASSERT_TRUE(bitmap);
    DIBSECTION dib{};
    ASSERT_EQ(GetObjectW(bitmap, sizeof(dib), &dib), static_cast<int>(sizeof(dib)));
    EXPECT_EQ(dib.dsBm.bmBitsPixel, 32);
    EXPECT_EQ(dib.dsBmih.biWidth, 24);
    // The glyph is not symmetric top to bottom, so equal pixels also mean rows run top down.
    const auto* bits = static_cast<const uint32_t*>(dib.dsBm.bmBits);
    EXPECT_EQ(std::vector<uint32_t>(bits, bits + 24 * 24), RenderGlyph(Glyph::About, 24));

    // AlphaBlend takes the pixels as they are.
    Surface surface(24, 24, kLightGrey);
    ASSERT_TRUE(surface.Valid());
    HDC source = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(source, bitmap);
    const BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    ASSERT_TRUE(GdiAlphaBlend(surface.Dc(), 0, 0, 24, 24, source, 0, 0, 24, 24, blend));
    SelectObject(source, old);
    DeleteDC(source);
    DeleteObject(bitmap);
    EXPECT_LE(surface.Difference(0, 0, Composite(RenderGlyph(Glyph::About, 24), kLightGrey), 24), kBlendTolerance);
}

// --- the image list and icons as Windows draws them ----------------------------------------------------

TEST(ArtworkImageList, HoldsTheToolbarGlyphsAtTheirSlotsAndNothingElsewhere) {
    ImageList list(CreateToolbarImageList(kToolbarImageCount));
    ASSERT_TRUE(list);
    EXPECT_EQ(ImageList_GetImageCount(list.get()), 165);
    int cx = 0, cy = 0;
    ASSERT_TRUE(ImageList_GetIconSize(list.get(), &cx, &cy));
    EXPECT_EQ(cx, 32);
    EXPECT_EQ(cy, 32);

    const std::vector<uint32_t> grey(32 * 32, kLightGrey & 0xFFFFFF);
    const auto drawn = [&](int index) {
        auto surface = std::make_unique<Surface>(32, 32, kLightGrey);
        ImageList_Draw(list.get(), index, surface->Dc(), 0, 0, ILD_NORMAL);
        return surface;
    };
    const std::array<std::pair<Glyph, int>, 10> fixed{{{Glyph::Parse, 63},
                                                       {Glyph::Format, 119},
                                                       {Glyph::Compress, 120},
                                                       {Glyph::KeyName, 75},
                                                       {Glyph::Copy, 97},
                                                       {Glyph::Paste, 124},
                                                       {Glyph::Clear, 138},
                                                       {Glyph::Undo, 122},
                                                       {Glyph::Redo, 123},
                                                       {Glyph::About, 111}}};
    for (auto [glyph, slot] : fixed) {
        SCOPED_TRACE(Name(glyph));
        EXPECT_EQ(ToolbarSlot(glyph), slot);
        auto surface = drawn(slot);
        // Soft edges blend like the rendered pixels: colour stored premultiplied would come out darker.
        EXPECT_LE(surface->Difference(0, 0, Composite(RenderGlyph(glyph, 32), kLightGrey), 32), kBlendTolerance);
        EXPECT_GT(surface->Difference(0, 0, grey, 32), 64u);
    }
    for (int empty : {0, 1, 62, 64, 96, 121, 139, 164}) {
        SCOPED_TRACE(empty);
        EXPECT_EQ(drawn(empty)->Difference(0, 0, grey, 32), 0u) << "an empty slot leaves the background alone";
    }
}

TEST(ArtworkImageList, ASmallerListKeepsOnlyTheSlotsThatFit) {
    ImageList list(CreateToolbarImageList(100));
    ASSERT_TRUE(list);
    EXPECT_EQ(ImageList_GetImageCount(list.get()), 100);
    Surface surface(32, 32, kLightGrey);
    ASSERT_TRUE(surface.Valid());
    ImageList_Draw(list.get(), ToolbarSlot(Glyph::KeyName), surface.Dc(), 0, 0, ILD_NORMAL);
    EXPECT_LE(surface.Difference(0, 0, Composite(RenderGlyph(Glyph::KeyName, 32), kLightGrey), 32), kBlendTolerance);
}

TEST(ArtworkIcons, HaveTheRequestedSizeAndDrawTheGlyph) {
    for (int size : {16, 20, 24, 32}) {
        for (Glyph glyph : {Glyph::Go, Glyph::OpenFile, Glyph::Reload, Glyph::Back, Glyph::Parse}) {
            SCOPED_TRACE(Name(glyph) + " at " + std::to_string(size));
            Icon icon(CreateGlyphIcon(glyph, size));
            ASSERT_TRUE(icon);
            ICONINFO info{};
            ASSERT_TRUE(GetIconInfo(icon.get(), &info));
            BITMAP colour{};
            ASSERT_TRUE(GetObjectW(info.hbmColor, sizeof(colour), &colour));
            EXPECT_TRUE(info.fIcon);
            EXPECT_EQ(colour.bmWidth, size);
            EXPECT_EQ(colour.bmHeight, size);
            EXPECT_EQ(colour.bmBitsPixel, 32);
            DeleteObject(info.hbmColor);
            DeleteObject(info.hbmMask);

            Surface surface(size, size, kLightGrey);
            ASSERT_TRUE(surface.Valid());
            ASSERT_TRUE(DrawIconEx(surface.Dc(), 0, 0, icon.get(), size, size, 0, nullptr, DI_NORMAL));
            EXPECT_LE(surface.Difference(0, 0, Composite(RenderGlyph(glyph, size), kLightGrey), size), kBlendTolerance);
        }
    }
}

// --- a toolbar and icon buttons ---------------------------------------------------------------------

namespace {

struct ToolbarEntry {
    Glyph glyph;
    const wchar_t* caption;
};

constexpr std::array<ToolbarEntry, 10> kToolbar{{{Glyph::Parse, L"解析"},
                                                 {Glyph::Format, L"格式化"},
                                                 {Glyph::Compress, L"压缩"},
                                                 {Glyph::KeyName, L"主键名"},
                                                 {Glyph::Copy, L"复制"},
                                                 {Glyph::Paste, L"粘贴"},
                                                 {Glyph::Clear, L"清空"},
                                                 {Glyph::Undo, L"撤销"},
                                                 {Glyph::Redo, L"重复"},
                                                 {Glyph::About, L"关于"}}};

LRESULT CALLBACK DemoProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_ERASEBKGND) {
        RECT area;
        GetClientRect(window, &area);
        HBRUSH brush = CreateSolidBrush(kLightGrey);
        FillRect(reinterpret_cast<HDC>(wParam), &area, brush);
        DeleteObject(brush);
        return 1;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

class ArtworkWindow : public ::testing::Test {
protected:
    void SetUp() override {
        const INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_BAR_CLASSES};
        ASSERT_TRUE(InitCommonControlsEx(&controls));
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = DemoProc;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        windowClass.lpszClassName = L"VivuArtworkDemo";
        RegisterClassW(&windowClass); // a second test finds it registered already
        window_ = CreateWindowExW(0, L"VivuArtworkDemo", L"artwork demo", WS_POPUP | WS_CLIPCHILDREN, 0, 0, 900, 260,
                                  nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
        ASSERT_TRUE(window_);
        font_ = CreateFontW(-14, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                            CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY, DEFAULT_PITCH, L"微软雅黑");
        ASSERT_TRUE(font_);
        images_.reset(CreateToolbarImageList(kToolbarImageCount));
        ASSERT_TRUE(images_);

        toolbar_ = CreateWindowExW(0, TOOLBARCLASSNAMEW, nullptr,
                                   WS_CHILD | WS_VISIBLE | TBSTYLE_FLAT | CCS_TOP | CCS_NODIVIDER, 0, 0, 0, 0, window_,
                                   nullptr, GetModuleHandleW(nullptr), nullptr);
        ASSERT_TRUE(toolbar_);
        SendMessageW(toolbar_, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
        SendMessageW(toolbar_, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
        SendMessageW(toolbar_, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images_.get()));
        std::vector<TBBUTTON> buttons;
        for (size_t i = 0; i < kToolbar.size(); ++i) {
            TBBUTTON button{};
            button.iBitmap = ToolbarSlot(kToolbar[i].glyph);
            button.idCommand = static_cast<int>(100 + i);
            button.fsState = TBSTATE_ENABLED;
            button.fsStyle = BTNS_BUTTON;
            button.iString = reinterpret_cast<INT_PTR>(kToolbar[i].caption);
            buttons.push_back(button);
        }
        ASSERT_TRUE(SendMessageW(toolbar_, TB_ADDBUTTONSW, buttons.size(), reinterpret_cast<LPARAM>(buttons.data())));
        SendMessageW(toolbar_, TB_AUTOSIZE, 0, 0);

        // Icon buttons: every glyph at 24 and at 20 pixels.
        int x = 8;
        for (Glyph glyph : kAllGlyphs) {
            AddIconButton(glyph, 24, x, 110, 34);
            AddIconButton(glyph, 20, x, 150, 30);
            x += 40;
        }
    }

    void TearDown() override {
        if (window_) DestroyWindow(window_);
        for (HICON icon : icons_) DestroyIcon(icon);
        if (font_) DeleteObject(font_);
    }

    void AddIconButton(Glyph glyph, int size, int x, int y, int side) {
        HWND button = CreateWindowExW(0, L"BUTTON", nullptr, WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON | BS_ICON, x, y,
                                      side, side, window_, nullptr, GetModuleHandleW(nullptr), nullptr);
        ASSERT_TRUE(button);
        HICON icon = CreateGlyphIcon(glyph, size);
        ASSERT_TRUE(icon);
        icons_.push_back(icon);
        SendMessageW(button, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(icon));
        iconButtons_.push_back({button, glyph, size});
    }

    // What a control paints, on a light grey surface of its size.
    static std::unique_ptr<Surface> Paint(HWND control) {
        RECT client;
        GetClientRect(control, &client);
        auto surface = std::make_unique<Surface>(client.right, client.bottom, kLightGrey);
        SendMessageW(control, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(surface->Dc()), PRF_CLIENT | PRF_ERASEBKGND);
        return surface;
    }

    struct IconButton {
        HWND window;
        Glyph glyph;
        int size;
    };

    HWND window_ = nullptr;
    HWND toolbar_ = nullptr;
    HFONT font_ = nullptr;
    ImageList images_;
    std::vector<HICON> icons_;
    std::vector<IconButton> iconButtons_;
};

} // namespace

TEST_F(ArtworkWindow, ToolbarShowsEachGlyphAboveItsCaption) {
    ASSERT_EQ(SendMessageW(toolbar_, TB_BUTTONCOUNT, 0, 0), static_cast<LRESULT>(kToolbar.size()));
    EXPECT_EQ(reinterpret_cast<HIMAGELIST>(SendMessageW(toolbar_, TB_GETIMAGELIST, 0, 0)), images_.get());
    const auto surface = Paint(toolbar_);
    ASSERT_TRUE(surface->Valid());
    for (size_t i = 0; i < kToolbar.size(); ++i) {
        SCOPED_TRACE(Name(kToolbar[i].glyph));
        RECT item{};
        ASSERT_TRUE(SendMessageW(toolbar_, TB_GETITEMRECT, i, reinterpret_cast<LPARAM>(&item)));
        EXPECT_GE(item.bottom - item.top, 32 + 14) << "room for the caption under the image";
        // The toolbar fills its own background; take its colour from the button's corner.
        const uint32_t rgb = surface->Rgb(item.left + 1, item.top + 1);
        const COLORREF face = RGB(Channel(rgb, 16), Channel(rgb, 8), Channel(rgb, 0));
        const std::vector<uint32_t> expected = Composite(RenderGlyph(kToolbar[i].glyph, 32), face);
        EXPECT_TRUE(surface->Contains(item, expected, 32, kBlendTolerance));
        // The search tells glyphs apart: the neighbour's glyph is not in this button.
        const Glyph other = kToolbar[(i + 1) % kToolbar.size()].glyph;
        EXPECT_FALSE(surface->Contains(item, Composite(RenderGlyph(other, 32), face), 32, kBlendTolerance));
    }
}

TEST_F(ArtworkWindow, IconButtonsShowTheirGlyph) {
    for (const IconButton& button : iconButtons_) {
        SCOPED_TRACE(Name(button.glyph) + " at " + std::to_string(button.size));
        const auto surface = Paint(button.window);
        ASSERT_TRUE(surface->Valid());
        const uint32_t rgb = surface->Rgb(surface->Width() / 2, 3);
        const COLORREF face = RGB(Channel(rgb, 16), Channel(rgb, 8), Channel(rgb, 0));
        const RECT all{0, 0, surface->Width(), surface->Height()};
        EXPECT_TRUE(surface->Contains(all, Composite(RenderGlyph(button.glyph, button.size), face), button.size,
                                      kBlendTolerance));
    }
}

TEST_F(ArtworkWindow, Demo) {
    wchar_t value[32] = {};
    if (!GetEnvironmentVariableW(L"VIVU_ARTWORK_DEMO_MS", value, 32)) GTEST_SKIP() << "VIVU_ARTWORK_DEMO_MS not set";
    ShowWindow(window_, SW_SHOWNOACTIVATE);
    UpdateWindow(window_);
    const DWORD until = GetTickCount() + static_cast<DWORD>(_wtoi(value));
    while (static_cast<int>(until - GetTickCount()) > 0) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        Sleep(20);
    }
}
