#include "platform/detached_launch.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <future>
#include <string>
#include <vector>

#include "platform_test_support.h"

namespace zevik {
namespace {

using Argv = std::vector<std::string>;

struct Exit {
    pid_t pid;
    std::optional<int> status;
};

// Launches argv and hands back how the child ended, as the launcher's reaper saw it.
class LaunchFixture : public testing::Test {
protected:
    bool Launch(const Argv& argv) {
        return LaunchDetached(argv, [this](pid_t pid, std::optional<int> status) {
            exited_.set_value(Exit{pid, status});
        });
    }

    // Generous bound: only a broken launcher gets near it.
    Exit WaitForExit() {
        std::future<Exit> exit = exited_.get_future();
        if (exit.wait_for(std::chrono::seconds(60)) != std::future_status::ready) {
            ADD_FAILURE() << "the child's exit was never reported";
            return Exit{-1, std::nullopt};
        }
        return exit.get();
    }

    // The exit code of a child that exited normally, or -1.
    int ExitCode() {
        const Exit exit = WaitForExit();
        if (!exit.status || !WIFEXITED(*exit.status)) return -1;
        return WEXITSTATUS(*exit.status);
    }

private:
    std::promise<Exit> exited_;
};

TEST_F(LaunchFixture, RunsAProgramAndReapsIt) {
    ASSERT_TRUE(Launch({"/bin/true"}));
    const Exit exit = WaitForExit();
    ASSERT_TRUE(exit.status.has_value());
    EXPECT_TRUE(WIFEXITED(*exit.status) && WEXITSTATUS(*exit.status) == 0);
    // Reaped: the child is no longer ours to wait for, so no zombie is left behind.
    errno = 0;
    EXPECT_EQ(waitpid(exit.pid, nullptr, WNOHANG), -1);
    EXPECT_EQ(errno, ECHILD);
}

TEST_F(LaunchFixture, BareNameIsSearchedOnPath) {
    ASSERT_TRUE(Launch({"true"}));
    EXPECT_EQ(ExitCode(), 0);
}

TEST(DetachedLaunch, FailsWhenTheProgramCannotRun) {
    test::TempDir dir;
    // An executable text file without an interpreter line: a shell would run it and leave the marker.
    const std::string marker = (dir.Path() / "ran").string();
    const std::string script = dir.File("script", ": > '" + marker + "'\n", 0755);
    const std::string plain = dir.File("plain", "", 0644);
    bool called = false;
    const ChildExitHandler onExit = [&called](pid_t, std::optional<int>) { called = true; };

    EXPECT_FALSE(LaunchDetached(Argv{"/nonexistent/zevik-program"}, onExit));
    EXPECT_FALSE(LaunchDetached(Argv{"zevik-no-such-program-on-path"}, onExit));
    EXPECT_FALSE(LaunchDetached(Argv{plain}, onExit));
    EXPECT_FALSE(LaunchDetached(Argv{dir.Path().string()}, onExit));
    EXPECT_FALSE(LaunchDetached(Argv{script}, onExit));
    EXPECT_FALSE(LaunchDetached(Argv{}, onExit));
    EXPECT_FALSE(LaunchDetached(Argv{""}, onExit));
    EXPECT_FALSE(std::filesystem::exists(marker));
    EXPECT_FALSE(called);
}

TEST_F(LaunchFixture, ArgumentsArriveAsGiven) {
    // Spaces, quotes, globs, variables and an empty argument reach the program untouched.
    const Argv argv{"/bin/sh",
                    "-c",
                    R"([ "$#" = 4 ] && [ "$1" = "a b" ] && [ "$2" = '$HOME;*' ] && [ "$3" = "" ] &&)"
                    R"( [ "$4" = "'\"" ])",
                    "sh",
                    "a b",
                    "$HOME;*",
                    "",
                    "'\""};
    ASSERT_TRUE(Launch(argv));
    EXPECT_EQ(ExitCode(), 0);
}

// The child's surroundings: each check exits with its own code so a failure names itself.
TEST_F(LaunchFixture, ChildGetsNullStdioNewSessionNoInheritedDescriptorsOrSignalState) {
    const int leaked = open("/dev/null", O_RDONLY);  // no O_CLOEXEC, like a carelessly opened device
    ASSERT_GE(leaked, 3);
    sigset_t usr1;
    sigemptyset(&usr1);
    sigaddset(&usr1, SIGUSR1);
    sigset_t oldMask;
    ASSERT_EQ(pthread_sigmask(SIG_BLOCK, &usr1, &oldMask), 0);
    struct sigaction ignore {};
    ignore.sa_handler = SIG_IGN;
    struct sigaction oldPipe {};
    ASSERT_EQ(sigaction(SIGPIPE, &ignore, &oldPipe), 0);

    const std::string script =
        "for fd in 0 1 2; do [ \"$(readlink /proc/$$/fd/$fd)\" = /dev/null ] || exit 10; done; "
        "[ \"$(cut -d' ' -f6 /proc/$$/stat)\" = \"$$\" ] || exit 11; "
        "[ ! -e /proc/$$/fd/" +
        std::to_string(leaked) +
        " ] || exit 12; "
        // Masks in hex, bit n-1 for signal n. The C library keeps its own two signals ignored in
        // every child, so only the ones this test set are looked at.
        "blocked=$(sed -n 's/^SigBlk:[[:space:]]*//p' /proc/$$/status); "
        "ignored=$(sed -n 's/^SigIgn:[[:space:]]*//p' /proc/$$/status); "
        "[ $((0x$blocked & " +
        std::to_string(1u << (SIGUSR1 - 1)) +
        ")) = 0 ] || exit 13; "
        "[ $((0x$ignored & " +
        std::to_string(1u << (SIGPIPE - 1)) +
        ")) = 0 ] || exit 14; "
        "exit 0";
    const bool launched = Launch({"/bin/sh", "-c", script});

    sigaction(SIGPIPE, &oldPipe, nullptr);
    pthread_sigmask(SIG_SETMASK, &oldMask, nullptr);
    close(leaked);
    ASSERT_TRUE(launched);
    EXPECT_EQ(ExitCode(), 0);
}

TEST_F(LaunchFixture, ReturnsWhileTheChildStillRuns) {
    test::TempDir dir;
    const std::string fifo = (dir.Path() / "gate").string();
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    // The child blocks opening the fifo until this test opens its other end.
    ASSERT_TRUE(Launch({"/bin/sh", "-c", "read line < \"$1\" && [ \"$line\" = go ]", "sh", fifo}));
    const int gate = open(fifo.c_str(), O_WRONLY);
    ASSERT_GE(gate, 0);
    ASSERT_EQ(write(gate, "go\n", 3), 3);
    close(gate);
    EXPECT_EQ(ExitCode(), 0);
}

TEST(FindProgramOnPath, FirstExecutableFileOnAbsoluteEntries) {
    test::TempDir dir;
    const std::string first = (dir.Path() / "first").string();
    const std::string second = (dir.Path() / "second").string();
    dir.File("first/tool", "", 0755);
    dir.File("second/tool", "", 0755);
    dir.File("second/only-second", "", 0755);
    dir.File("first/not-executable", "", 0644);
    dir.File("second/not-executable", "", 0644);
    std::filesystem::create_directories(dir.Path() / "first" / "a-directory");
    const std::string relative = std::filesystem::relative(dir.Path() / "second").string();
    const std::string path = "/nonexistent:" + first + ":" + second + "/";

    EXPECT_EQ(FindProgramOnPath("tool", path), first + "/tool");
    EXPECT_EQ(FindProgramOnPath("only-second", path), second + "/only-second");
    EXPECT_EQ(FindProgramOnPath("not-executable", path), std::nullopt);
    EXPECT_EQ(FindProgramOnPath("a-directory", path), std::nullopt);
    EXPECT_EQ(FindProgramOnPath("missing", path), std::nullopt);
    // Names only: a path, or nothing at all, is not looked up.
    EXPECT_EQ(FindProgramOnPath("second/tool", dir.Path().string()), std::nullopt);
    EXPECT_EQ(FindProgramOnPath("", path), std::nullopt);
    // Relative and empty entries would depend on the working directory.
    ASSERT_EQ(relative.front() == '/', false);
    EXPECT_EQ(FindProgramOnPath("only-second", relative + "::."), std::nullopt);
    EXPECT_EQ(FindProgramOnPath("tool", ""), std::nullopt);
}

}  // namespace
}  // namespace zevik
