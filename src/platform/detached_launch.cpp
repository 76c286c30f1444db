#include "platform/detached_launch.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <future>
#include <system_error>
#include <thread>
#include <vector>

#include "platform/trace.h"

extern char** environ;

namespace zevik {
namespace {

// Owns the spawn attribute objects so every exit path destroys them.
class SpawnSetup {
public:
    SpawnSetup() {
        posix_spawn_file_actions_init(&actions_);
        posix_spawnattr_init(&attr_);
    }
    ~SpawnSetup() {
        posix_spawnattr_destroy(&attr_);
        posix_spawn_file_actions_destroy(&actions_);
    }
    SpawnSetup(const SpawnSetup&) = delete;
    SpawnSetup& operator=(const SpawnSetup&) = delete;

    // 0 or an errno value.
    int Prepare() {
        if (int err = posix_spawn_file_actions_addopen(&actions_, STDIN_FILENO, "/dev/null", O_RDONLY, 0))
            return err;
        if (int err = posix_spawn_file_actions_addopen(&actions_, STDOUT_FILENO, "/dev/null", O_WRONLY, 0))
            return err;
        if (int err = posix_spawn_file_actions_adddup2(&actions_, STDOUT_FILENO, STDERR_FILENO)) return err;
        // Descriptors opened without O_CLOEXEC (a device node, a socket) must not stay open in a
        // program that may run for the rest of the session.
        if (int err = posix_spawn_file_actions_addclosefrom_np(&actions_, STDERR_FILENO + 1)) return err;

        // The launching thread may block signals and this program ignores some (SIGPIPE); an exec
        // keeps both, and the other program expects neither.
        sigset_t none;
        sigset_t all;
        sigemptyset(&none);
        sigfillset(&all);
        if (int err = posix_spawnattr_setsigmask(&attr_, &none)) return err;
        if (int err = posix_spawnattr_setsigdefault(&attr_, &all)) return err;
        // A session of its own: closing the terminal this program was started from, or this
        // program's process group being signalled, leaves the other program alone.
        return posix_spawnattr_setflags(&attr_,
                                        POSIX_SPAWN_SETSID | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
    }

    const posix_spawn_file_actions_t* Actions() const { return &actions_; }
    const posix_spawnattr_t* Attr() const { return &attr_; }

private:
    posix_spawn_file_actions_t actions_;
    posix_spawnattr_t attr_;
};

// 0 with pid set, or an errno value. glibc reports a failed exec here rather than in the child's
// exit status, and posix_spawnp never retries a file the kernel cannot execute through /bin/sh.
int Spawn(const std::vector<std::string>& args, pid_t& pid) {
    SpawnSetup setup;
    if (int err = setup.Prepare()) return err;
    std::vector<char*> argv;
    argv.reserve(args.size() + 1);
    for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    return posix_spawnp(&pid, argv[0], setup.Actions(), setup.Attr(), argv.data(), environ);
}

void Reap(pid_t pid, const ChildExitHandler& onExit) {
    int status = 0;
    pid_t result;
    do {
        result = waitpid(pid, &status, 0);
    } while (result < 0 && errno == EINTR);
    std::optional<int> waitStatus;
    if (result == pid) {
        waitStatus = status;
    } else {
        Trace("Launch: no exit status for process " + std::to_string(pid) + ": " + std::strerror(errno));
    }
    if (onExit) onExit(pid, waitStatus);
}

}  // namespace

bool LaunchDetached(std::span<const std::string> argv, ChildExitHandler onExit) {
    if (argv.empty() || argv[0].empty()) return false;
    std::vector<std::string> args(argv.begin(), argv.end());
    std::promise<bool> spawned;
    std::future<bool> result = spawned.get_future();
    // The spawn runs on the reaper thread, so no child is started unless a thread exists to reap it.
    try {
        std::thread([args = std::move(args), onExit = std::move(onExit),
                     spawned = std::move(spawned)]() mutable {
            pid_t pid = -1;
            if (int err = Spawn(args, pid)) {
                Trace("Launch: cannot run '" + args[0] + "': " + std::strerror(err));
                spawned.set_value(false);
                return;
            }
            spawned.set_value(true);
            Reap(pid, onExit);
        }).detach();
    } catch (const std::system_error& error) {
        Trace(std::string("Launch: no thread to start '") + argv[0] + "': " + error.what());
        return false;
    }
    return result.get();
}

std::optional<std::string> FindProgramOnPath(std::string_view program, std::string_view searchPath) {
    if (program.empty() || program.find('/') != std::string_view::npos) return std::nullopt;
    while (true) {
        const size_t colon = searchPath.find(':');
        const std::string_view dir = searchPath.substr(0, colon);
        if (!dir.empty() && dir.front() == '/') {
            std::string candidate(dir);
            if (candidate.back() != '/') candidate += '/';
            candidate += program;
            struct stat info {};
            if (stat(candidate.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
                access(candidate.c_str(), X_OK) == 0)
                return candidate;
        }
        if (colon == std::string_view::npos) return std::nullopt;
        searchPath.remove_prefix(colon + 1);
    }
}

}  // namespace zevik
