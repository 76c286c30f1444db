#pragma once
// CQuitSignals: SIGINT and SIGTERM (Ctrl+C in a terminal, the session ending, `kill`) run the
// program's orderly shutdown on the UI thread instead of ending the process where it stands. The
// handler only writes a byte to a socket pair; the Qt loop reads it and calls the callback.

#include <QObject>
#include <functional>
#include <memory>

class QSocketNotifier;

namespace zevik {

class CQuitSignals : public QObject {
    Q_OBJECT

public:
    explicit CQuitSignals(std::function<void()> onQuit);
    ~CQuitSignals() override;
    CQuitSignals(const CQuitSignals&) = delete;
    CQuitSignals& operator=(const CQuitSignals&) = delete;

    // False when the signals could not be taken over (the default handling stays).
    bool IsActive() const { return m_notifier != nullptr; }

private:
    void OnSignal();

    std::function<void()> m_onQuit;
    std::unique_ptr<QSocketNotifier> m_notifier;
};

}  // namespace zevik
