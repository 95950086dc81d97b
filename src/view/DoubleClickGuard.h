// Keeps a double-click on a tree item from also expanding or collapsing it.
#pragma once

namespace vivu {

// A double-click refuses the next expansion or collapse, whichever item it
// concerns, while the control handles the double-click: for an object or array
// item that is the one the double-click causes; after a value item none is refused.
class DoubleClickGuard {
public:
    void DoubleClicked() { allowed_ = false; }
    // The control has finished with the double-click; an expansion it caused has been
    // answered, so none is left to refuse.
    void DoubleClickHandled() { allowed_ = true; }
    // The answer to "may this item expand or collapse?"; every answer re-arms the guard.
    bool AllowExpansion() {
        const bool allowed = allowed_;
        allowed_ = true;
        return allowed;
    }

private:
    bool allowed_ = true;
};

} // namespace vivu
