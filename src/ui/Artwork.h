// The program's own toolbar and button artwork: flat glyphs drawn with GDI at four times their size
// and box-filtered down, so their edges are smooth on any background.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <cstdint>
#include <vector>

namespace vivu {

enum class Glyph {
    Parse,    // 解析: braces around a play triangle
    Format,   // 格式化: indented lines
    Compress, // 压缩: lines squeezed by two arrows
    KeyName,  // 主键名: a key
    Copy,     // 复制: two sheets
    Paste,    // 粘贴: a clipboard
    Clear,    // 清空: a sheet with a red cross
    Undo,     // 撤销: an arrow curving back to the left
    Redo,     // 重复: an arrow curving on to the right
    About,    // 关于: an "i" in a circle
    Go,       // 转到: an arrow to the right
    OpenFile, // an open folder
    Reload,   // a circular arrow
    Back,     // an arrow to the left
};

inline constexpr Glyph kAllGlyphs[] = {Glyph::Parse, Glyph::Format,   Glyph::Compress, Glyph::KeyName, Glyph::Copy,
                                       Glyph::Paste, Glyph::Clear,    Glyph::Undo,     Glyph::Redo,    Glyph::About,
                                       Glyph::Go,    Glyph::OpenFile, Glyph::Reload,   Glyph::Back};

// The toolbar's image list has this many images; its buttons name them by these fixed indexes.
inline constexpr int kToolbarImageCount = 165;
inline constexpr int kToolbarImageSize = 32; // at 96 dpi

// The image list index of a toolbar glyph, or -1 for a glyph only used on icon buttons.
constexpr int ToolbarSlot(Glyph glyph) {
    switch (glyph) {
    case Glyph::Parse:
        return 63;
    case Glyph::KeyName:
        return 75;
    case Glyph::Copy:
        return 97;
    case Glyph::About:
        return 111;
    case Glyph::Format:
        return 119;
    case Glyph::Compress:
        return 120;
    case Glyph::Undo:
        return 122;
    case Glyph::Redo:
        return 123;
    case Glyph::Paste:
        return 124;
    case Glyph::Clear:
        return 138;
    default:
        return -1;
    }
}

// size x size pixels, rows top to bottom, each 0xAARRGGBB (B, G, R, A in memory) with the colour
// premultiplied by alpha, as AlphaBlend takes them; the background is transparent. Empty when size is
// outside 1..512 or GDI fails.
std::vector<uint32_t> RenderGlyph(Glyph glyph, int size);

// A top-down 32 bpp DIB section holding RenderGlyph's pixels, for AlphaBlend with AC_SRC_ALPHA.
// The caller deletes it; null when GDI fails.
HBITMAP CreateGlyphBitmap(Glyph glyph, int size);

// A size x size (32 x 32 at 96 dpi) ILC_COLOR32 image list of `slots` images: the toolbar glyphs at their ToolbarSlot
// indexes (those below `slots`), every other image transparent. The caller destroys it; null when slots < 1 or GDI
// fails.
HIMAGELIST CreateToolbarImageList(int slots = kToolbarImageCount, int size = kToolbarImageSize);

// A size x size icon of one glyph with an alpha channel, for BS_ICON buttons. The caller destroys it;
// null when size < 1 or GDI fails.
HICON CreateGlyphIcon(Glyph glyph, int size);

} // namespace vivu
