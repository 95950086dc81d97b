// Stopping an operation that runs on another thread.
#pragma once

#include <functional>
#include <mutex>

namespace kova {

// The thread that runs the operation arms the token with what aborts its current wait and starts
// each step through Run; any thread may call Cancel. Cancel takes the same lock as Run, so an
// abort never overlaps a step being started, and after Disarm returns the abort is not running
// and will not run. A cancelled token stays cancelled: an operation given one stops at once.
class CancelToken {
public:
    CancelToken() = default;
    CancelToken(const CancelToken&) = delete;
    CancelToken& operator=(const CancelToken&) = delete;

    // Marks the token cancelled and runs the armed abort, once. Safe from any thread.
    void Cancel();
    bool Cancelled() const;

    // For the operation. Arm is false, and keeps nothing, when the token is already cancelled.
    bool Arm(std::function<void()> abort);
    void Disarm();
    // Runs step under the lock unless the token is cancelled; its result, or false when cancelled.
    template <class Step> bool Run(Step&& step) {
        const std::lock_guard lock(mutex_);
        return !cancelled_ && step();
    }

private:
    mutable std::mutex mutex_;
    bool cancelled_ = false;
    std::function<void()> abort_;
};

} // namespace kova
