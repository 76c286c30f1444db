#include "ui/qt/qt_message_loop.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QEvent>
#include <algorithm>
#include <utility>

namespace zevik {

namespace {

// The event that carries "work was queued" to the UI thread.
const QEvent::Type kWakeEvent = static_cast<QEvent::Type>(QEvent::registerEventType());

}  // namespace

CQtMessageLoop::CQtMessageLoop() : m_start(std::chrono::steady_clock::now()) {
    m_timer.setSingleShot(true);
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, [this] { OnTimerFired(); });
}

CQtMessageLoop::~CQtMessageLoop() {
    m_timer.stop();
    // Workers still waiting in Send must not wait for a loop that is going away.
    BeginShutdown();
}

CMessageLoop::Duration CQtMessageLoop::Now() const {
    return std::chrono::duration_cast<Duration>(std::chrono::steady_clock::now() - m_start);
}

void CQtMessageLoop::WakeUp() {
    // One wake event in flight is enough: its handler dispatches everything queued by then and
    // re-posts itself when more arrived meanwhile.
    if (!m_wakePosted.exchange(true)) {
        QCoreApplication::postEvent(this, new QEvent(kWakeEvent), Qt::HighEventPriority);
    }
}

bool CQtMessageLoop::event(QEvent* event) {
    if (event->type() != kWakeEvent) {
        return QObject::event(event);
    }
    m_wakePosted.store(false);
    DispatchPending();
    if (HasPendingWork()) {
        WakeUp();
    }
    ArmTimer();
    return true;
}

void CQtMessageLoop::OnTimersChanged() {
    if (!m_firing) {
        ArmTimer();
    }
}

void CQtMessageLoop::ArmTimer() {
    const auto due = NextTimerDue();
    if (!due) {
        m_timer.stop();
        m_armedDue.reset();
        return;
    }
    if (m_timer.isActive() && m_armedDue == due) {
        return;  // already armed for it
    }
    const auto wait = std::max(Duration{0}, *due - Now());
    // Round up so the timer never fires before its due time (which would fire nothing and re-arm).
    const auto ms = std::chrono::ceil<std::chrono::milliseconds>(wait).count();
    m_timer.start(static_cast<int>(std::min<long long>(ms, 24LL * 3600 * 1000)));
    m_armedDue = due;
}

void CQtMessageLoop::OnTimerFired() {
    m_armedDue.reset();
    // A handler that kills and restarts its timer would re-arm the QTimer twice; arm once at the end.
    const bool outer = std::exchange(m_firing, true);
    FireDueTimers();
    DispatchPending();
    m_firing = outer;
    ArmTimer();
}

void CQtMessageLoop::OnQuitRequested() {
    // Spin() re-checks the quit flag after every pass; make sure a pass happens.
    if (QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance(thread())) {
        dispatcher->wakeUp();
    }
    WakeUp();
}

void CQtMessageLoop::Spin(const std::function<bool()>& stop) {
    // A nested loop (a modal window opened by a timer's handler) arms its timers as they change.
    const bool outer = std::exchange(m_firing, false);
    DispatchPending();
    ArmTimer();
    while (!stop()) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents | QEventLoop::EventLoopExec);
        // Objects released with deleteLater() go at the end of each pass, as in a running exec().
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    m_firing = outer;
}

int CQtMessageLoop::Run() {
    Spin([this] { return IsQuitRequested(); });
    return GetExitCode();
}

bool CQtMessageLoop::RunUntil(const std::function<bool()>& done) {
    bool finished = false;
    Spin([&] {
        finished = done();
        return finished || IsQuitRequested();
    });
    return finished;
}

}  // namespace zevik
