// Rectangles, anchor records and the integer arithmetic that places one control after a resize.
#pragma once

#include <cstdint>
#include <functional>

namespace vivu {

// A window handle the layout only passes around: an HWND on Windows, any distinct pointer in tests.
using LayoutHandle = void*;

// Edges in pixels. Arithmetic on them wraps at 32 bits, as the original's integers did.
struct LayoutRect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;

    int32_t Width() const;
    int32_t Height() const;
    LayoutRect Offset(int32_t dx, int32_t dy) const;

    friend bool operator==(const LayoutRect&, const LayoutRect&) = default;
};

// How one control follows the window. An anchor is set when it is non-zero; a minimum of 0 or less and a null
// reference mean none.
struct LayoutAnchors {
    int32_t left = 1;
    int32_t top = 1;
    int32_t right = 1;
    int32_t bottom = 1;
    int32_t minWidth = 0;
    int32_t minHeight = 0;
    LayoutHandle horizontalRef = nullptr;
    LayoutHandle verticalRef = nullptr;

    friend bool operator==(const LayoutAnchors&, const LayoutAnchors&) = default;
};

struct LayoutRegistration {
    LayoutHandle control = nullptr;
    LayoutAnchors anchors;
    LayoutRect initial; // in the control's parent's client coordinates
    int32_t dpi = 0;    // what initial and the minimum sizes were taken at; 0 while the window's dpi never changed
};

// The sizing-frame metrics subtracted from every change of the client size.
struct LayoutFrame {
    int32_t cx = 0;
    int32_t cy = 0;
};

struct LayoutShift {
    int32_t dx = 0;
    int32_t dy = 0;

    friend bool operator==(const LayoutShift&, const LayoutShift&) = default;
};

// dx = change of the client width − cx; dy = change of the client height − cy.
LayoutShift ComputeShift(const LayoutRect& initialClient, const LayoutRect& currentClient, LayoutFrame frame);

// The rectangle a registered control moves to. currentRect gives a centring reference's rectangle as it is now;
// it is asked only when an axis has neither anchor and a reference.
LayoutRect PlaceControl(const LayoutRegistration& registration, LayoutShift shift,
                        const std::function<LayoutRect(LayoutHandle)>& currentRect);

} // namespace vivu
