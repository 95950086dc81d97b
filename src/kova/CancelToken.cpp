// CancelToken: a flag and an abort, both behind one lock.
#include "kova/CancelToken.h"

#include <utility>

namespace kova {

void CancelToken::Cancel() {
    const std::lock_guard lock(mutex_);
    if (cancelled_) return;
    cancelled_ = true;
    // Run under the lock: the operation cannot start a step or disarm meanwhile.
    if (const auto abort = std::exchange(abort_, nullptr)) abort();
}

bool CancelToken::Cancelled() const {
    const std::lock_guard lock(mutex_);
    return cancelled_;
}

bool CancelToken::Arm(std::function<void()> abort) {
    const std::lock_guard lock(mutex_);
    if (cancelled_) return false;
    abort_ = std::move(abort);
    return true;
}

void CancelToken::Disarm() {
    const std::lock_guard lock(mutex_);
    abort_ = nullptr;
}

} // namespace kova
