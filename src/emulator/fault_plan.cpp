#include "emulator/fault_plan.h"

namespace zevik {

void CFaultPlan::Arm(EmulatedFault fault, int count, int command) {
    if (count == 0 || count < kUntilCleared || command < kAnyCommand || command > 0xFF) return;
    std::lock_guard lock(mutex_);
    entries_.push_back({fault, count, command});
}

void CFaultPlan::Clear() {
    std::lock_guard lock(mutex_);
    entries_.clear();
}

std::optional<EmulatedFault> CFaultPlan::Take(uint8_t command) {
    std::lock_guard lock(mutex_);
    for (auto it = entries_.begin(); it != entries_.end(); ++it) {
        if (it->command != kAnyCommand && it->command != command) continue;
        const EmulatedFault fault = it->fault;
        if (it->remaining != kUntilCleared && --it->remaining == 0) entries_.erase(it);
        return fault;
    }
    return std::nullopt;
}

bool CFaultPlan::Empty() const {
    std::lock_guard lock(mutex_);
    return entries_.empty();
}

}  // namespace zevik
