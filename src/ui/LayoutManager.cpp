// Registrations and the re-layout pass of the anchor layout.
#include "ui/LayoutManager.h"

#include <algorithm>

namespace vivu {

void LayoutManager::Bind(LayoutHandle newWindow) {
    if (newWindow) SetWindow(newWindow);
    Clear();
}

void LayoutManager::SetWindow(LayoutHandle newWindow) {
    window = newWindow;
    initialClient = host->ClientRect(newWindow);
}

void LayoutManager::Register(LayoutHandle control, int32_t left, int32_t top, int32_t right, int32_t bottom,
                             int32_t minWidth, int32_t minHeight, LayoutHandle horizontalRef,
                             LayoutHandle verticalRef) {
    RegisterRecord(control, {left, top, right, bottom, minWidth, minHeight, horizontalRef, verticalRef});
}

void LayoutManager::RegisterRecord(LayoutHandle control, const LayoutAnchors& anchors) {
    LayoutRegistration record{control, anchors, host->ControlRect(control)};
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
    const auto scale = [fromDpi, toDpi](int32_t v) {
        const int64_t scaled = static_cast<int64_t>(v) * toDpi;
        const int64_t half = fromDpi / 2;
        return static_cast<int32_t>(scaled >= 0 ? (scaled + half) / fromDpi : -((-scaled + half) / fromDpi));
    };
    const auto scaleRect = [&scale](LayoutRect& r) {
        r = {scale(r.left), scale(r.top), scale(r.right), scale(r.bottom)};
    };
    scaleRect(initialClient);
    for (LayoutRegistration& registration : registrations) {
        scaleRect(registration.initial);
        registration.anchors.minWidth = scale(registration.anchors.minWidth);
        registration.anchors.minHeight = scale(registration.anchors.minHeight);
    }
}

bool LayoutManager::Relayout() {
    if (!window) return false;
    const LayoutRect client = host->ClientRect(window);
    const LayoutShift shift = ComputeShift(initialClient, client, host->SizingFrame());
    // Moving a control runs its window procedure, which may register or unregister; walk a snapshot.
    const std::vector<LayoutRegistration> pass = registrations;
    // A reference is read when it is needed, so one moved earlier in this pass counts at its new place.
    const auto currentRect = [this](LayoutHandle control) { return host->ControlRect(control); };
    for (const LayoutRegistration& registration : pass)
        host->Move(registration.control, PlaceControl(registration, shift, currentRect));
    return true;
}

} // namespace vivu
