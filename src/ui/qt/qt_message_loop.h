#pragma once
// CQtMessageLoop: the UI thread's message loop on Qt's event loop, for the desktop program.
//
// Queued Sends and Posts reach the UI thread as one coalesced Qt event, so they are handled inside
// any Qt event loop that runs (modal dialogs, menus, drag loops included). Control timers share one
// precise single-shot QTimer armed for the earliest due timer; it is re-armed only when that due time
// changed, and once after a batch of timers fired rather than for every timer a handler restarted.
// The clock is the monotonic clock from the loop's creation.
//
// Construct it on the thread that owns the QApplication, after the QApplication.

#include <QObject>
#include <QTimer>
#include <atomic>
#include <chrono>
#include <optional>

#include "ui/message_loop.h"

namespace zevik {

class CQtMessageLoop final : public QObject, public CMessageLoop {
    Q_OBJECT
public:
    CQtMessageLoop();
    ~CQtMessageLoop() override;

    int Run() override;
    bool RunUntil(const std::function<bool()>& done) override;
    Duration Now() const override;

protected:
    void WakeUp() override;
    void OnTimersChanged() override;
    void OnQuitRequested() override;
    bool event(QEvent* event) override;

private:
    // Arms the QTimer for the earliest due control timer (stops it when none is set).
    void ArmTimer();
    void OnTimerFired();
    // Runs Qt's event processing until stop() is true.
    void Spin(const std::function<bool()>& stop);

    std::chrono::steady_clock::time_point m_start;
    QTimer m_timer;
    std::optional<Duration> m_armedDue;  // the due time m_timer is armed for
    bool m_firing = false;               // timers are firing: arm once when they are done
    std::atomic<bool> m_wakePosted{false};
};

}  // namespace zevik
