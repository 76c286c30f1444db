#pragma once
// Runs a headless main window's loop as the program would: real time passes for the device
// threads, and the same span of virtual time for the window's timers.

#include <chrono>
#include <functional>

#include "ui/plain_message_loop.h"

namespace zevik::test {

// Until cond holds; false when the limit passed first.
inline bool PumpLoopUntil(CPlainMessageLoop& loop, const std::function<bool()>& cond,
                          std::chrono::milliseconds limit) {
    using namespace std::chrono_literals;
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!cond()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        loop.ProcessPendingWait(10ms);
        loop.AdvanceBy(10ms);
    }
    return true;
}

}  // namespace zevik::test
