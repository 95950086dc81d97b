// Keeps the controls of one window in place when the window changes size, by their anchors.
#pragma once

#include "ui/LayoutManagerGeometry.h"

#include <cstddef>
#include <vector>

namespace vivu {

// What the manager needs from the window system.
class LayoutHost {
public:
    virtual ~LayoutHost() = default;
    // The client rectangle of a window.
    virtual LayoutRect ClientRect(LayoutHandle window) = 0;
    // A control's window rectangle in its parent's client coordinates.
    virtual LayoutRect ControlRect(LayoutHandle control) = 0;
    virtual LayoutFrame SizingFrame() = 0;
    virtual void Move(LayoutHandle control, const LayoutRect& rect) = 0;
};

// Each registered control keeps its rectangle from registration time; a re-layout moves it by the change of the
// bound window's client size since binding, whatever window the control is a child of.
class LayoutManager {
public:
    explicit LayoutManager(LayoutHost& host) : host(&host) {}

    // Sets the window when one is given, then drops all registrations.
    void Bind(LayoutHandle window = nullptr);
    // Remembers the window and takes its client rectangle as the one later sizes are compared with.
    void SetWindow(LayoutHandle window);
    LayoutHandle GetWindow() const { return window; }
    // At the window's present dpi.
    LayoutRect InitialClientRect() const;

    // Anchors: 1 keeps that edge's distance to the same edge of the window.
    void Register(LayoutHandle control, int32_t left = 1, int32_t top = 1, int32_t right = 1, int32_t bottom = 1,
                  int32_t minWidth = 0, int32_t minHeight = 0, LayoutHandle horizontalRef = nullptr,
                  LayoutHandle verticalRef = nullptr);
    // Takes the control's rectangle now; a control registered again keeps its place in the list.
    void RegisterRecord(LayoutHandle control, const LayoutAnchors& anchors);
    void Clear() { registrations.clear(); }
    // False when the control was not registered.
    bool Unregister(LayoutHandle control);
    // 1-based position in registration order, 0 when absent.
    std::size_t FindRegistration(LayoutHandle control) const;
    const std::vector<LayoutRegistration>& Registrations() const { return registrations; }

    // The window moved to a monitor of another dpi: the client size and the rectangles kept from
    // registration scale with it (minimum sizes too), so the next re-layout keeps every anchor's distance in
    // proportion. They are scaled from the values as taken, never from earlier rounded results, so going
    // back to a dpi gives back exactly the places it had.
    void Rescale(int32_t fromDpi, int32_t toDpi);

    // Moves every registered control, in registration order. False, and nothing moves, while no window is bound.
    bool Relayout();

    LayoutRect ControlRect(LayoutHandle control) const { return host->ControlRect(control); }

private:
    LayoutHost* host;
    LayoutHandle window = nullptr;
    LayoutRect initialClient;
    int32_t initialClientDpi = 0; // as LayoutRegistration::dpi
    int32_t dpi = 0;              // the window's, once Rescale told it
    std::vector<LayoutRegistration> registrations;
};

} // namespace vivu
