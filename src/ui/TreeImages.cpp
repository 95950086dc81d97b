// The result tree's three 16 x 16 images, drawn with GDI: a plain value, an object, an array.
#include "ui/TreeImages.h"

#include <array>

namespace vivu {

namespace {

constexpr int kSize = 16;
constexpr COLORREF kTransparent = RGB(255, 0, 255);

// A value: a small teal disc.
void DrawValue(HDC dc) {
    HBRUSH fill = CreateSolidBrush(RGB(64, 170, 190));
    HPEN edge = CreatePen(PS_SOLID, 1, RGB(20, 95, 115));
    HGDIOBJ oldBrush = SelectObject(dc, fill);
    HGDIOBJ oldPen = SelectObject(dc, edge);
    Ellipse(dc, 4, 4, 13, 13);
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);
    DeleteObject(fill);
    DeleteObject(edge);
}

// An object: an amber card with two key-value rows.
void DrawObject(HDC dc) {
    HBRUSH card = CreateSolidBrush(RGB(255, 214, 120));
    HPEN edge = CreatePen(PS_SOLID, 1, RGB(170, 110, 20));
    HGDIOBJ oldBrush = SelectObject(dc, card);
    HGDIOBJ oldPen = SelectObject(dc, edge);
    Rectangle(dc, 1, 2, 15, 14);
    SelectObject(dc, oldBrush);
    DeleteObject(card);
    for (int y : {5, 9}) {
        RECT key{3, y, 6, y + 2};
        RECT value{7, y, 13, y + 2};
        HBRUSH keyBrush = CreateSolidBrush(RGB(170, 110, 20));
        HBRUSH valueBrush = CreateSolidBrush(RGB(255, 255, 255));
        FillRect(dc, &key, keyBrush);
        FillRect(dc, &value, valueBrush);
        DeleteObject(keyBrush);
        DeleteObject(valueBrush);
    }
    SelectObject(dc, oldPen);
    DeleteObject(edge);
}

// An array: green brackets around three stacked elements.
void DrawArray(HDC dc) {
    HPEN bracket = CreatePen(PS_SOLID, 2, RGB(40, 140, 60));
    HGDIOBJ oldPen = SelectObject(dc, bracket);
    const std::array<POINT, 4> left{{{5, 2}, {2, 2}, {2, 13}, {5, 13}}};
    const std::array<POINT, 4> right{{{10, 2}, {13, 2}, {13, 13}, {10, 13}}};
    Polyline(dc, left.data(), static_cast<int>(left.size()));
    Polyline(dc, right.data(), static_cast<int>(right.size()));
    SelectObject(dc, oldPen);
    DeleteObject(bracket);
    HBRUSH element = CreateSolidBrush(RGB(40, 140, 60));
    for (int y : {4, 7, 10}) {
        RECT box{6, y, 10, y + 2};
        FillRect(dc, &box, element);
    }
    DeleteObject(element);
}

bool AddImage(HIMAGELIST images, HDC screen, void (*draw)(HDC)) {
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, kSize, kSize);
    bool added = false;
    if (dc && bitmap) {
        HGDIOBJ old = SelectObject(dc, bitmap);
        RECT all{0, 0, kSize, kSize};
        HBRUSH background = CreateSolidBrush(kTransparent);
        FillRect(dc, &all, background);
        DeleteObject(background);
        draw(dc);
        SelectObject(dc, old); // an image list copies only a bitmap that no DC holds
        added = ImageList_AddMasked(images, bitmap, kTransparent) >= 0;
    }
    if (bitmap) DeleteObject(bitmap);
    if (dc) DeleteDC(dc);
    return added;
}

} // namespace

HIMAGELIST CreateTreeImages() {
    HIMAGELIST images = ImageList_Create(kSize, kSize, ILC_COLOR32 | ILC_MASK, 3, 0);
    if (!images) return nullptr;
    HDC screen = GetDC(nullptr);
    bool ok = screen != nullptr;
    for (auto draw : {DrawValue, DrawObject, DrawArray}) ok = ok && AddImage(images, screen, draw);
    if (screen) ReleaseDC(nullptr, screen);
    if (!ok) {
        ImageList_Destroy(images);
        return nullptr;
    }
    return images;
}

} // namespace vivu
