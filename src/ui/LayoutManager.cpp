// Registrations and the re-layout pass of the anchor layout.
#include "ui/LayoutManager.h"

#include <algorithm>

namespace vivu {

namespace {

// Rounded to nearest, halves away from zero. No dpi (0) on either side leaves the value as it is.
int32_t ScaleLength(int32_t v, int32_t fromDpi, int32_t toDpi) {
    if (!fromDpi || !toDpi || fromDpi == toDpi) return v;
    const int64_t scaled = static_cast<int64_t>(v) * toDpi;
    const int64_t half = fromDpi / 2;
    return static_cast<int32_t>(scaled >= 0 ? (scaled + half) / fromDpi : -((-scaled + half) / fromDpi));
}

LayoutRect ScaleRect(const LayoutRect& r, int32_t fromDpi, int32_t toDpi) {
    return {ScaleLength(r.left, fromDpi, toDpi), ScaleLength(r.top, fromDpi, toDpi),
            ScaleLength(r.right, fromDpi, toDpi), ScaleLength(r.bottom, fromDpi, toDpi)};
}

LayoutRegistration ScaledTo(LayoutRegistration registration, int32_t dpi) {
    const int32_t from = registration.dpi;
    registration.initial = ScaleRect(registration.initial, from, dpi);
    registration.anchors.minWidth = ScaleLength(registration.anchors.minWidth, from, dpi);
    registration.anchors.minHeight = ScaleLength(registration.anchors.minHeight, from, dpi);
    registration.dpi = dpi;
    return registration;
}

} // namespace

void LayoutManager::Bind(LayoutHandle newWindow) {
    if (newWindow) SetWindow(newWindow);
    Clear();
}

void LayoutManager::SetWindow(LayoutHandle newWindow) {
    window = newWindow;
    initialClient = host->ClientRect(newWindow);
    initialClientDpi = dpi;
}

void LayoutManager::Register(LayoutHandle control, int32_t left, int32_t top, int32_t right, int32_t bottom,
                             int32_t minWidth, int32_t minHeight, LayoutHandle horizontalRef,
                             LayoutHandle verticalRef) {
    RegisterRecord(control, {left, top, right, bottom, minWidth, minHeight, horizontalRef, verticalRef});
}

void LayoutManager::RegisterRecord(LayoutHandle control, const LayoutAnchors& anchors) {
    LayoutRegistration record{control, anchors, host->ControlRect(control), dpi};
    if (const std::size_t position = FindRegistration(control))
        registrations[position - 1] = record;
    else
        registrations.push_back(record);
}

bool LayoutManager::Unregister(LayoutHandle control) {
    const std::size_t position = FindRegistration(control);
    if (!position) return false;
    registrations.erase(registrations.begin() + static_cast<std::ptrdiff_t>(position - 1));
    return true;
}

std::size_t LayoutManager::FindRegistration(LayoutHandle control) const {
    const auto it = std::find_if(registrations.begin(), registrations.end(),
                                 [control](const LayoutRegistration& r) { return r.control == control; });
    return it == registrations.end() ? 0 : static_cast<std::size_t>(it - registrations.begin()) + 1;
}

void LayoutManager::Rescale(int32_t fromDpi, int32_t toDpi) {
    if (fromDpi <= 0 || toDpi <= 0 || fromDpi == toDpi) return;
    // What was taken before the first change was taken at the dpi the window had then.
    if (!initialClientDpi) initialClientDpi = fromDpi;
    for (LayoutRegistration& registration : registrations)
        if (!registration.dpi) registration.dpi = fromDpi;
    dpi = toDpi;
}

LayoutRect LayoutManager::InitialClientRect() const {
    return ScaleRect(initialClient, initialClientDpi, dpi);
}

bool LayoutManager::Relayout() {
    if (!window) return false;
    const LayoutRect client = host->ClientRect(window);
    const LayoutShift shift = ComputeShift(InitialClientRect(), client, host->SizingFrame());
    // Moving a control runs its window procedure, which may register or unregister; walk a snapshot.
    const std::vector<LayoutRegistration> pass = registrations;
    // A reference is read when it is needed, so one moved earlier in this pass counts at its new place.
    const auto currentRect = [this](LayoutHandle control) { return host->ControlRect(control); };
    for (const LayoutRegistration& registration : pass)
        host->Move(registration.control, PlaceControl(ScaledTo(registration, dpi), shift, currentRect));
    return true;
}

} // namespace vivu
