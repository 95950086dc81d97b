// A window system in memory for the layout tests: every window is a rectangle that moves when told to.
#pragma once

#include "layout_print.h"
#include "ui/LayoutManager.h"

#include <deque>
#include <utility>
#include <vector>

namespace layout_test {

class FakeLayoutHost : public vivu::LayoutHost {
public:
    // A window whose client rectangle is rect; controls are windows too, in their parent's coordinates.
    vivu::LayoutHandle Add(vivu::LayoutRect rect) {
        windows.push_back(rect); // deque elements keep their address, so it serves as the handle
        return &windows.back();
    }
    vivu::LayoutRect& At(vivu::LayoutHandle handle) { return *static_cast<vivu::LayoutRect*>(handle); }

    vivu::LayoutRect ClientRect(vivu::LayoutHandle window) override { return At(window); }
    vivu::LayoutRect ControlRect(vivu::LayoutHandle control) override { return At(control); }
    vivu::LayoutFrame SizingFrame() override { return frame; }
    void Move(vivu::LayoutHandle control, const vivu::LayoutRect& rect) override {
        moves.emplace_back(control, rect);
        At(control) = rect;
    }

    vivu::LayoutFrame frame;
    std::vector<std::pair<vivu::LayoutHandle, vivu::LayoutRect>> moves;

private:
    std::deque<vivu::LayoutRect> windows;
};

} // namespace layout_test
