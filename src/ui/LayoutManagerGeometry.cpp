// Placement of one control: anchors, centring on a reference, minimum sizes.
#include "ui/LayoutManagerGeometry.h"

#include <algorithm>

namespace vivu {

namespace {

// Intermediate results are exact in 64 bits; storing them wraps like 32-bit machine integers.
int32_t Wrap(int64_t value) {
    return static_cast<int32_t>(static_cast<uint32_t>(value));
}

struct Span {
    int32_t start;
    int32_t end;
    int32_t Length() const { return Wrap(int64_t{end} - start); }
};

// One axis: near and far are the left/right (or top/bottom) anchors, delta the shift along the axis.
Span PlaceSpan(Span initial, bool nearAnchor, bool farAnchor, int32_t delta, LayoutHandle reference,
               const std::function<Span(LayoutHandle)>& referenceSpan) {
    Span span = initial;
    const int32_t length = initial.Length();
    if (nearAnchor || farAnchor) {
        if (farAnchor) span.end = Wrap(int64_t{span.end} + delta);
        if (!nearAnchor) span.start = Wrap(int64_t{span.end} - length);
    } else if (reference) {
        const Span frame = referenceSpan(reference);
        const int32_t frameLength = frame.Length();
        const int32_t kept = std::min(length, frameLength);
        // Integer division truncates towards zero, as the layout's halves must.
        span.start = Wrap(frame.start + (int64_t{frameLength} - kept) / 2);
        span.end = Wrap(int64_t{span.start} + kept);
    }
    return span;
}

Span EnsureMinimum(Span span, int32_t minimum) {
    if (minimum > 0 && span.Length() < minimum) span.end = Wrap(int64_t{span.start} + minimum);
    return span;
}

} // namespace

int32_t LayoutRect::Width() const {
    return Wrap(int64_t{right} - left);
}

int32_t LayoutRect::Height() const {
    return Wrap(int64_t{bottom} - top);
}

LayoutRect LayoutRect::Offset(int32_t dx, int32_t dy) const {
    return {Wrap(int64_t{left} + dx), Wrap(int64_t{top} + dy), Wrap(int64_t{right} + dx), Wrap(int64_t{bottom} + dy)};
}

LayoutShift ComputeShift(const LayoutRect& initialClient, const LayoutRect& currentClient, LayoutFrame frame) {
    return {Wrap(int64_t{currentClient.Width()} - initialClient.Width() - frame.cx),
            Wrap(int64_t{currentClient.Height()} - initialClient.Height() - frame.cy)};
}

LayoutRect PlaceControl(const LayoutRegistration& registration, LayoutShift shift,
                        const std::function<LayoutRect(LayoutHandle)>& currentRect) {
    const LayoutAnchors& a = registration.anchors;
    const LayoutRect& r = registration.initial;
    const auto horizontalOf = [&](LayoutHandle h) {
        const LayoutRect f = currentRect(h);
        return Span{f.left, f.right};
    };
    const auto verticalOf = [&](LayoutHandle h) {
        const LayoutRect f = currentRect(h);
        return Span{f.top, f.bottom};
    };
    Span x = PlaceSpan({r.left, r.right}, a.left != 0, a.right != 0, shift.dx, a.horizontalRef, horizontalOf);
    Span y = PlaceSpan({r.top, r.bottom}, a.top != 0, a.bottom != 0, shift.dy, a.verticalRef, verticalOf);
    x = EnsureMinimum(x, a.minWidth);
    y = EnsureMinimum(y, a.minHeight);
    return {x.start, y.start, x.end, y.end};
}

} // namespace vivu
