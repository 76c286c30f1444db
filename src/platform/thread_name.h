#pragma once
// Names the calling thread, so the workers can be told apart in top -H, perf and /proc/<pid>/task.

#include <string_view>

namespace zevik {

// The kernel keeps at most 15 characters; a longer name is cut.
void SetCurrentThreadName(std::string_view name);

}  // namespace zevik
