#pragma once
// ScopeExit: runs a call when the scope ends, whichever way it ends.

#include <utility>

namespace zevik {

template <typename Fn>
class ScopeExit {
public:
    explicit ScopeExit(Fn fn) : fn_(std::move(fn)) {}
    ~ScopeExit() { fn_(); }
    ScopeExit(const ScopeExit&) = delete;
    ScopeExit& operator=(const ScopeExit&) = delete;

private:
    Fn fn_;
};

}  // namespace zevik
