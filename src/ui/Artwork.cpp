// Glyphs are designed on a 32 x 32 grid, drawn with plain GDI at four times the target size and
// averaged down in 4 x 4 blocks. GDI writes no alpha, so each glyph is drawn twice, on black and on
// white: where the two agree the pixel is ink, where they differ it is background. Every glyph keeps
// about two grid units clear at its edges, so the outermost pixels stay transparent down to 16 px.
#include "ui/Artwork.h"
#include "ui/TopDownDib.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <numbers>
#include <type_traits>

namespace vivu {

namespace {

constexpr int kSupersample = 4;
constexpr double kGrid = 32.0;
constexpr int kMaxGlyphSize = 512; // already a 2048 x 2048 drawing surface
constexpr COLORREF kNone = CLR_INVALID;

// One flat palette for every glyph.
constexpr COLORREF kInk = RGB(64, 72, 86);
constexpr COLORREF kBlue = RGB(36, 108, 200);
constexpr COLORREF kPaleBlue = RGB(140, 180, 230);
constexpr COLORREF kGreen = RGB(28, 150, 78);
constexpr COLORREF kOrange = RGB(232, 126, 24);
constexpr COLORREF kRed = RGB(214, 56, 46);
constexpr COLORREF kGold = RGB(248, 192, 56);
constexpr COLORREF kDarkGold = RGB(170, 114, 18);
constexpr COLORREF kFolderBack = RGB(226, 160, 40);
constexpr COLORREF kBoard = RGB(196, 136, 78);
constexpr COLORREF kDarkBoard = RGB(124, 80, 40);
constexpr COLORREF kSteel = RGB(120, 130, 144);
constexpr COLORREF kPaper = RGB(255, 255, 255);

struct Pt {
    double x;
    double y;
};

struct GdiDeleter {
    void operator()(void* object) const { DeleteObject(static_cast<HGDIOBJ>(object)); }
};
template <class Handle> using Gdi = std::unique_ptr<std::remove_pointer_t<Handle>, GdiDeleter>;

struct DcDeleter {
    void operator()(HDC dc) const { DeleteDC(dc); }
};
using MemoryDc = std::unique_ptr<std::remove_pointer_t<HDC>, DcDeleter>;

Pt Polar(Pt centre, double radius, double degrees) {
    const double a = degrees * std::numbers::pi / 180.0;
    return {centre.x + radius * std::cos(a), centre.y + radius * std::sin(a)};
}

// Points along a circle from one angle to another (degrees, clockwise on screen as y points down).
std::vector<Pt> ArcPoints(Pt centre, double radius, double from, double to) {
    const int steps = std::max(2, static_cast<int>(std::ceil(std::abs(to - from) / 6.0)));
    std::vector<Pt> points;
    for (int i = 0; i <= steps; ++i) points.push_back(Polar(centre, radius, from + (to - from) * i / steps));
    return points;
}

// A triangular arrow head whose tip points in the direction `degrees`.
std::vector<Pt> ArrowHead(Pt tip, double degrees, double length, double halfWidth) {
    const Pt base = Polar(tip, -length, degrees);
    return {tip, Polar(base, halfWidth, degrees + 90), Polar(base, halfWidth, degrees - 90)};
}

std::vector<Pt> Join(std::vector<Pt> a, const std::vector<Pt>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// GDI drawing in grid units on the supersampled surface, optionally mirrored left to right.
class Painter {
public:
    Painter(HDC dc, double unit, COLORREF background, bool mirrored = false)
        : dc_(dc), unit_(unit), background_(background), mirrored_(mirrored) {}

    Painter Mirrored() const { return Painter(dc_, unit_, background_, !mirrored_); }

    // Painting in this colour leaves pixels transparent: it cuts holes and gaps.
    COLORREF Hole() const { return background_; }

    void Stroke(const std::vector<Pt>& points, COLORREF colour, double width) const {
        const std::vector<POINT> device = Map(points);
        Gdi<HPEN> pen(MakePen(colour, width));
        HGDIOBJ old = SelectObject(dc_, pen.get());
        Polyline(dc_, device.data(), static_cast<int>(device.size()));
        SelectObject(dc_, old);
    }

    void Fill(const std::vector<Pt>& points, COLORREF fill, COLORREF edge = kNone, double width = 0) const {
        const std::vector<POINT> device = Map(points);
        Shape(fill, edge, width, [&] { Polygon(dc_, device.data(), static_cast<int>(device.size())); });
    }

    void Box(double left, double top, double right, double bottom, double radius, COLORREF fill, COLORREF edge = kNone,
             double width = 0) const {
        POINT a = Map(Pt{left, top});
        POINT b = Map(Pt{right, bottom});
        const int round = static_cast<int>(std::lround(2 * radius * unit_));
        Shape(fill, edge, width, [&] {
            RoundRect(dc_, std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y), round,
                      round);
        });
    }

    void Disc(Pt centre, double radius, COLORREF fill, COLORREF edge = kNone, double width = 0) const {
        POINT a = Map(Pt{centre.x - radius, centre.y - radius});
        POINT b = Map(Pt{centre.x + radius, centre.y + radius});
        Shape(fill, edge, width,
              [&] { Ellipse(dc_, std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)); });
    }

private:
    POINT Map(Pt p) const {
        const double x = mirrored_ ? kGrid - p.x : p.x;
        return {static_cast<LONG>(std::lround(x * unit_)), static_cast<LONG>(std::lround(p.y * unit_))};
    }

    std::vector<POINT> Map(const std::vector<Pt>& points) const {
        std::vector<POINT> device;
        device.reserve(points.size());
        for (Pt p : points) device.push_back(Map(p));
        return device;
    }

    // Round caps and joins keep strokes soft at every size.
    HPEN MakePen(COLORREF colour, double width) const {
        const LOGBRUSH brush{BS_SOLID, colour, 0};
        const DWORD w = static_cast<DWORD>(std::max(1L, std::lround(width * unit_)));
        return ExtCreatePen(PS_GEOMETRIC | PS_SOLID | PS_ENDCAP_ROUND | PS_JOIN_ROUND, w, &brush, 0, nullptr);
    }

    template <class Draw> void Shape(COLORREF fill, COLORREF edge, double width, Draw draw) const {
        Gdi<HBRUSH> brush(fill == kNone ? nullptr : CreateSolidBrush(fill));
        Gdi<HPEN> pen(edge == kNone ? nullptr : MakePen(edge, width));
        HGDIOBJ oldBrush = SelectObject(dc_, brush ? static_cast<HGDIOBJ>(brush.get()) : GetStockObject(NULL_BRUSH));
        HGDIOBJ oldPen = SelectObject(dc_, pen ? static_cast<HGDIOBJ>(pen.get()) : GetStockObject(NULL_PEN));
        draw();
        SelectObject(dc_, oldPen);
        SelectObject(dc_, oldBrush);
    }

    HDC dc_;
    double unit_;
    COLORREF background_;
    bool mirrored_;
};

// Braces around a play triangle: run the JSON into a tree.
void DrawParse(const Painter& p) {
    const auto brace = [&](const Painter& side) {
        std::vector<Pt> line = ArcPoints({12, 7.5}, 3.5, -90, -180);
        line = Join(line, ArcPoints({6, 13.5}, 2.5, 0, 90));
        line = Join(line, ArcPoints({6, 18.5}, 2.5, -90, 0));
        line = Join(line, ArcPoints({12, 24.5}, 3.5, 180, 90));
        side.Stroke(line, kBlue, 2.8);
    };
    brace(p);
    brace(p.Mirrored());
    p.Fill({{13, 10.5}, {13, 21.5}, {21.5, 16}}, kGreen, kGreen, 1.6);
}

// Lines indented at two levels.
void DrawFormat(const Painter& p) {
    p.Stroke({{5, 5.5}, {18, 5.5}}, kInk, 3);
    p.Stroke({{11.5, 11}, {26, 11}}, kBlue, 3);
    p.Stroke({{18, 16.5}, {27, 16.5}}, kPaleBlue, 3);
    p.Stroke({{11.5, 22}, {23, 22}}, kBlue, 3);
    p.Stroke({{5, 27.5}, {14, 27.5}}, kInk, 3);
}

// Three lines pressed together by arrows from above and below.
void DrawCompress(const Painter& p) {
    for (double y : {12.5, 16.0, 19.5}) p.Stroke({{6, y}, {26, y}}, kInk, 2);
    p.Stroke({{16, 3.8}, {16, 6}}, kOrange, 3.2);
    p.Fill(ArrowHead({16, 10}, 90, 5.5, 5.5), kOrange, kOrange, 1.2);
    p.Stroke({{16, 28.2}, {16, 26}}, kOrange, 3.2);
    p.Fill(ArrowHead({16, 22}, -90, 5.5, 5.5), kOrange, kOrange, 1.2);
}

// A gold key lying on its side, bow to the left.
void DrawKeyName(const Painter& p) {
    p.Fill({{13, 14},
            {28.5, 14},
            {28.5, 21.5},
            {25.5, 21.5},
            {25.5, 18.5},
            {24, 18.5},
            {24, 22.5},
            {21, 22.5},
            {21, 18.5},
            {13, 18.5}},
           kGold, kDarkGold, 1.6);
    p.Disc({10, 16.25}, 7.5, kGold, kDarkGold, 1.6);
    p.Disc({8, 16.25}, 2.4, p.Hole(), kDarkGold, 1.4);
}

// Paper with a few lines of text.
void DrawSheet(const Painter& p, double left, double top, double right, double bottom, COLORREF lines) {
    p.Box(left, top, right, bottom, 1.8, kPaper, kInk, 2);
    const double x0 = left + 4;
    const double x1 = right - 4;
    for (int i = 0; i < 3; ++i) {
        const double y = top + 5.5 + 4 * i;
        if (y > bottom - 3) break;
        p.Stroke({{x0, y}, {i == 2 ? (x0 + x1) / 2 : x1, y}}, lines, 1.8);
    }
}

// Two overlapping sheets.
void DrawCopy(const Painter& p) {
    p.Box(4, 3, 19.5, 22, 1.8, kPaper, kInk, 2);
    DrawSheet(p, 12, 10, 27.5, 29, kBlue);
}

// A clipboard with its clip and a sheet.
void DrawPaste(const Painter& p) {
    p.Box(5, 5, 27, 29.5, 2.2, kBoard, kDarkBoard, 1.6);
    p.Box(8.5, 9, 23.5, 26.5, 1, kPaper);
    for (int i = 0; i < 3; ++i) {
        const double y = 15 + 4 * i;
        p.Stroke({{11.5, y}, {i == 2 ? 17 : 20.5, y}}, kBlue, 1.8);
    }
    p.Box(11, 2.5, 21, 8.5, 1.6, kSteel, kInk, 1.4);
}

// A sheet struck out by a red cross in a disc.
void DrawClear(const Painter& p) {
    DrawSheet(p, 4.5, 3.2, 21, 27.5, kSteel);
    p.Disc({21.5, 21.5}, 8.8, p.Hole());
    p.Disc({21.5, 21.5}, 7.3, kRed);
    p.Stroke({{18.5, 18.5}, {24.5, 24.5}}, kPaper, 2.4);
    p.Stroke({{24.5, 18.5}, {18.5, 24.5}}, kPaper, 2.4);
}

// An arrow that leaves to the left and turns back round on the right; mirrored it is Redo.
void DrawUndo(const Painter& p) {
    std::vector<Pt> line{{11, 9.5}, {18, 9.5}};
    line = Join(line, ArcPoints({18, 17.25}, 7.75, -90, 90));
    line.push_back({9.5, 25});
    p.Stroke(line, kBlue, 3.2);
    p.Fill(ArrowHead({3.5, 9.5}, 180, 8.5, 6.5), kBlue, kBlue, 1.2);
}

// A lower-case "i" cut out of a blue disc.
void DrawAbout(const Painter& p) {
    p.Disc({16, 16}, 13, kBlue);
    p.Disc({16, 9.5}, 2.3, kPaper);
    p.Stroke({{16, 14.5}, {16, 23.5}}, kPaper, 3.8);
}

// A thick arrow pointing right; mirrored it points back.
void DrawArrow(const Painter& p, COLORREF colour) {
    p.Stroke({{5, 16}, {19, 16}}, colour, 4.2);
    p.Fill(ArrowHead({28, 16}, 0, 11, 9), colour, colour, 1.4);
}

// An open folder: the back with its tab, and the front flap tilted open.
void DrawOpenFile(const Painter& p) {
    p.Fill({{3, 7}, {11.5, 7}, {14, 10}, {27, 10}, {27, 26}, {3, 26}}, kFolderBack, kDarkGold, 1.6);
    p.Box(5.5, 12, 24.5, 24, 0.5, kPaper);
    p.Fill({{3, 26}, {8, 15}, {29, 15}, {25, 26}}, kGold, kDarkGold, 1.6);
}

// A circle almost closed, its end arrowed clockwise.
void DrawReload(const Painter& p) {
    const Pt centre{16, 17.5};
    const double radius = 9;
    p.Stroke(ArcPoints(centre, radius, 15, 275), kBlue, 3.2);
    const Pt end = Polar(centre, radius, 275);
    p.Fill(ArrowHead(Polar(end, 8, 5), 5, 8.5, 6), kBlue, kBlue, 1.2);
}

void DrawGlyph(const Painter& p, Glyph glyph) {
    switch (glyph) {
    case Glyph::Parse:
        DrawParse(p);
        break;
    case Glyph::Format:
        DrawFormat(p);
        break;
    case Glyph::Compress:
        DrawCompress(p);
        break;
    case Glyph::KeyName:
        DrawKeyName(p);
        break;
    case Glyph::Copy:
        DrawCopy(p);
        break;
    case Glyph::Paste:
        DrawPaste(p);
        break;
    case Glyph::Clear:
        DrawClear(p);
        break;
    case Glyph::Undo:
        DrawUndo(p);
        break;
    case Glyph::Redo:
        DrawUndo(p.Mirrored());
        break;
    case Glyph::About:
        DrawAbout(p);
        break;
    case Glyph::Go:
        DrawArrow(p, kGreen);
        break;
    case Glyph::OpenFile:
        DrawOpenFile(p);
        break;
    case Glyph::Reload:
        DrawReload(p);
        break;
    case Glyph::Back:
        DrawArrow(p.Mirrored(), kBlue);
        break;
    }
}

// A DIB section and where its pixels live.
struct Dib {
    Gdi<HBITMAP> bitmap;
    uint32_t* pixels = nullptr;
};

Dib CreateDib(int width, int height) {
    Dib dib;
    dib.bitmap.reset(CreateTopDownDib(width, height, &dib.pixels));
    return dib;
}

uint32_t Channel(uint32_t pixel, int shift) {
    return (pixel >> shift) & 0xFF;
}

// Image lists and icons expect colour that is not premultiplied; they premultiply when they draw.
uint32_t Straight(uint32_t pixel) {
    const uint32_t a = pixel >> 24;
    if (a == 0) return 0;
    uint32_t result = a << 24;
    for (int shift : {0, 8, 16}) result |= std::min(255u, (Channel(pixel, shift) * 255 + a / 2) / a) << shift;
    return result;
}

// A monochrome mask, set (transparent) where a pixel has no alpha at all; rows are WORD-aligned.
Gdi<HBITMAP> CreateMask(const std::vector<uint32_t>& pixels, int width, int height) {
    const int stride = (width + 15) / 16 * 2;
    std::vector<BYTE> bits(static_cast<size_t>(stride) * height, 0);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            if ((pixels[static_cast<size_t>(y) * width + x] >> 24) == 0)
                bits[static_cast<size_t>(y) * stride + x / 8] |= static_cast<BYTE>(0x80 >> (x % 8));
    return Gdi<HBITMAP>(CreateBitmap(width, height, 1, 1, bits.data()));
}

} // namespace

std::vector<uint32_t> RenderGlyph(Glyph glyph, int size) {
    if (size < 1 || size > kMaxGlyphSize) return {};
    const int big = size * kSupersample;
    Dib canvas = CreateDib(big, big);
    MemoryDc dc(CreateCompatibleDC(nullptr));
    if (!canvas.bitmap || !dc) return {};
    HGDIOBJ old = SelectObject(dc.get(), canvas.bitmap.get());
    SetPolyFillMode(dc.get(), WINDING);

    const size_t count = static_cast<size_t>(big) * big;
    const auto pass = [&](COLORREF background) {
        Gdi<HBRUSH> brush(CreateSolidBrush(background));
        const RECT all{0, 0, big, big};
        FillRect(dc.get(), &all, brush.get());
        DrawGlyph(Painter(dc.get(), big / kGrid, background), glyph);
        GdiFlush();
        return std::vector<uint32_t>(canvas.pixels, canvas.pixels + count);
    };
    const std::vector<uint32_t> onBlack = pass(RGB(0, 0, 0));
    const std::vector<uint32_t> onWhite = pass(RGB(255, 255, 255));
    SelectObject(dc.get(), old);

    constexpr uint32_t kSamples = kSupersample * kSupersample;
    std::vector<uint32_t> result(static_cast<size_t>(size) * size);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            uint32_t sum[4] = {0, 0, 0, 0}; // blue, green, red, alpha
            for (int sy = 0; sy < kSupersample; ++sy) {
                for (int sx = 0; sx < kSupersample; ++sx) {
                    const size_t i = static_cast<size_t>(y * kSupersample + sy) * big + x * kSupersample + sx;
                    // Ink shows the same on both backgrounds; background shows as black on one, white on the other.
                    uint32_t spread = 0;
                    for (int c = 0; c < 3; ++c) {
                        const uint32_t k = Channel(onBlack[i], 8 * c);
                        const uint32_t w = Channel(onWhite[i], 8 * c);
                        spread = std::max(spread, w > k ? w - k : 0u);
                    }
                    const uint32_t alpha = 255 - spread;
                    for (int c = 0; c < 3; ++c) sum[c] += std::min(alpha, Channel(onBlack[i], 8 * c));
                    sum[3] += alpha;
                }
            }
            uint32_t pixel = 0;
            for (int c = 0; c < 4; ++c) pixel |= ((sum[c] + kSamples / 2) / kSamples) << (8 * c);
            result[static_cast<size_t>(y) * size + x] = pixel;
        }
    }
    return result;
}

HBITMAP CreateGlyphBitmap(Glyph glyph, int size) {
    const std::vector<uint32_t> pixels = RenderGlyph(glyph, size);
    if (pixels.empty()) return nullptr;
    Dib dib = CreateDib(size, size);
    if (!dib.bitmap) return nullptr;
    std::copy(pixels.begin(), pixels.end(), dib.pixels);
    return dib.bitmap.release();
}

HIMAGELIST CreateToolbarImageList(int slots, int size) {
    if (slots < 1 || size < 1) return nullptr;
    const int kSize = size;
    const int width = slots * kSize;
    std::vector<uint32_t> strip(static_cast<size_t>(width) * kSize, 0);
    for (Glyph glyph : kAllGlyphs) {
        const int slot = ToolbarSlot(glyph);
        if (slot < 0 || slot >= slots) continue;
        const std::vector<uint32_t> pixels = RenderGlyph(glyph, kSize);
        if (pixels.empty()) return nullptr;
        for (int y = 0; y < kSize; ++y)
            for (int x = 0; x < kSize; ++x)
                strip[static_cast<size_t>(y) * width + slot * kSize + x] = Straight(pixels[y * kSize + x]);
    }
    Dib image = CreateDib(width, kSize);
    // Without a mask an image list takes an image with no alpha at all as opaque: empty slots turn black.
    Gdi<HBITMAP> mask = CreateMask(strip, width, kSize);
    if (!image.bitmap || !mask) return nullptr;
    std::copy(strip.begin(), strip.end(), image.pixels);

    HIMAGELIST list = ImageList_Create(kSize, kSize, ILC_COLOR32 | ILC_MASK, slots, 0);
    if (!list) return nullptr;
    if (ImageList_Add(list, image.bitmap.get(), mask.get()) != 0 || ImageList_GetImageCount(list) != slots) {
        ImageList_Destroy(list);
        return nullptr;
    }
    return list;
}

HICON CreateGlyphIcon(Glyph glyph, int size) {
    std::vector<uint32_t> pixels = RenderGlyph(glyph, size);
    if (pixels.empty()) return nullptr;
    for (uint32_t& pixel : pixels) pixel = Straight(pixel);
    Dib colour = CreateDib(size, size);
    Gdi<HBITMAP> mask = CreateMask(pixels, size, size);
    if (!colour.bitmap || !mask) return nullptr;
    std::copy(pixels.begin(), pixels.end(), colour.pixels);
    ICONINFO info{TRUE, 0, 0, mask.get(), colour.bitmap.get()};
    return CreateIconIndirect(&info);
}

} // namespace vivu
