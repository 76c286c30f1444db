#pragma once
// A flag another thread raises to end a running transfer. The transfer notices it at its next
// progress check (at least about once a second, even while the peer sends nothing) and fails.

#include <atomic>

namespace zevik {

class HttpCancel {
public:
    void Cancel() { cancelled_.store(true); }
    void Reset() { cancelled_.store(false); }
    bool IsCancelled() const { return cancelled_.load(); }

private:
    std::atomic<bool> cancelled_{false};
};

}  // namespace zevik
