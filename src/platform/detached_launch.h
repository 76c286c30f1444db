#pragma once
// Starting other programs of the desktop (the desktop's settings) without tying them to this one:
// the caller never waits for them and they outlive this program.

#include <sys/types.h>

#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace zevik {

// Runs on the launcher's own thread once the child has ended: its wait status, or nothing when the
// status was lost (SIGCHLD ignored, so the kernel reaped the child itself).
using ChildExitHandler = std::function<void(pid_t pid, std::optional<int> waitStatus)>;

// Starts argv[0] (searched on PATH when it has no '/') with argv as its arguments, exactly as given:
// no shell, no splitting, no expansion. The child gets /dev/null as stdin, stdout and stderr, no
// other descriptor of ours, a new session, default signal dispositions and an empty signal mask.
// It is reaped on a detached thread, so it never lingers as a zombie. Returns once the program has
// been executed: true, or false when argv is empty or the program could not be executed (missing,
// not executable, not a binary or script with an interpreter line); onExit then never runs.
bool LaunchDetached(std::span<const std::string> argv, ChildExitHandler onExit = {});

// The absolute path of the executable regular file named program in the first directory of
// searchPath (a PATH value) that has one, or nothing. Empty and relative entries are skipped: they
// would name files in whatever directory this program was started from. program is a bare name.
std::optional<std::string> FindProgramOnPath(std::string_view program, std::string_view searchPath);

}  // namespace zevik
