#include "quit_signals.h"

#include <sys/socket.h>
#include <unistd.h>

#include <QSocketNotifier>
#include <csignal>

namespace zevik {

namespace {

// [0] is written by the handler, [1] read by the loop. One set per process.
int g_pipe[2] = {-1, -1};

void OnQuitSignal(int) {
    const char byte = 1;
    // Async-signal-safe; a full pipe already holds a pending request.
    [[maybe_unused]] const ssize_t written = ::write(g_pipe[0], &byte, 1);
}

}  // namespace

CQuitSignals::CQuitSignals(std::function<void()> onQuit) : m_onQuit(std::move(onQuit)) {
    if (g_pipe[0] >= 0 || ::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, g_pipe) != 0) {
        return;
    }
    m_notifier = std::make_unique<QSocketNotifier>(g_pipe[1], QSocketNotifier::Read);
    connect(m_notifier.get(), &QSocketNotifier::activated, this, &CQuitSignals::OnSignal);
    struct sigaction action {};
    action.sa_handler = OnQuitSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    ::sigaction(SIGINT, &action, nullptr);
    ::sigaction(SIGTERM, &action, nullptr);
}

CQuitSignals::~CQuitSignals() {
    if (!m_notifier) {
        return;
    }
    std::signal(SIGINT, SIG_DFL);
    std::signal(SIGTERM, SIG_DFL);
    m_notifier.reset();
    ::close(g_pipe[0]);
    ::close(g_pipe[1]);
    g_pipe[0] = g_pipe[1] = -1;
}

void CQuitSignals::OnSignal() {
    char bytes[16];
    while (::read(g_pipe[1], bytes, sizeof bytes) > 0) {
    }
    if (m_onQuit) {
        m_onQuit();
    }
}

}  // namespace zevik
