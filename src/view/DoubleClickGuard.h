// Keeps a double-click on a tree item from also expanding or collapsing it.
#pragma once

namespace vivu {

// A double-click refuses the next expansion or collapse, whichever item it
// concerns; for an object or array item that is the one the double-click causes.
class DoubleClickGuard {
public:
    void DoubleClicked() { allowed_ = false; }
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
