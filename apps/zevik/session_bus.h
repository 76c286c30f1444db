#pragma once
// CSessionBus: the program on the D-Bus session bus. Owning the service name is the one-program-per-
// session rule: the first start owns it, a later start asks the owner to come to the front and
// leaves. Calls of other programs become the program's registered messages, posted to the main
// window; the audio capture program's records go to a handler at once. The other way, it tells
// other programs what the main window has to say (IOutsidePrograms). It also passes on logind's
// word that the system is about to sleep or has woken.
//
// Every outgoing call has a time-out of at most a second, so no peer can hold up the UI for long.
// Lives on the thread of the QApplication; calls arrive there.

#include <QByteArray>
#include <QDBusConnection>
#include <QObject>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>

#include "shell/app_messages.h"
#include "shell/outside_programs.h"
#include "ui/ui_types.h"

namespace zevik {

class CWindowWnd;

inline constexpr const char* kServiceName = "org.zevik.R300Prime";
inline constexpr const char* kObjectPath = "/org/zevik/R300Prime";
inline constexpr const char* kWorkToolService = "org.zevik.WorkTool";
inline constexpr const char* kWorkToolPath = "/org/zevik/WorkTool";
inline constexpr const char* kAudioCaptureService = "org.zevik.R300Prime.AudioRecord";
inline constexpr const char* kAudioCapturePath = "/org/zevik/R300Prime/AudioRecord";

class CSessionBus final : public QObject, public IOutsidePrograms {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.zevik.R300Prime")

public:
    enum class Start { First, Second, NoBus };
    // The audio capture program's records (kind 1 samples, kind 2 band values), any length.
    using RecordHandler = std::function<void(unsigned kind, std::span<const std::uint8_t> data)>;
    using SleepHandler = std::function<void(bool suspending)>;

    explicit CSessionBus(const AppMessages& messages = RegisterAppMessages());
    ~CSessionBus() override;
    CSessionBus(const CSessionBus&) = delete;
    CSessionBus& operator=(const CSessionBus&) = delete;

    // Tries to own the name; when another program owns it, asks that one to come to the front.
    Start Claim();
    // The window that gets the messages; calls before it is set (or after nullptr) are dropped.
    // Only the handle is kept: messages for a window that is gone are dropped too.
    void SetTarget(CWindowWnd* window);
    void SetOnRecord(RecordHandler onRecord) { onRecord_ = std::move(onRecord); }
    // Calls onSleep(true) before the system suspends and onSleep(false) after it resumed, as logind
    // announces on the system bus (or on the connection given). False without that bus.
    bool WatchSleep(SleepHandler onSleep, QDBusConnection bus = QDBusConnection::systemBus());

    // IOutsidePrograms
    // The signal "LightControlNotify"(u, i) on the object path (once Claim made this the first start).
    void BroadcastLightControl(int wParam, int lParam) override;
    // "CopyData"(u, ay) to the factory tool, when it is on the bus; true when it answered.
    bool SendToWorkTool(std::uint32_t kind, std::span<const std::uint8_t> record) override;
    // "Command"(i, i) to the audio capture program, when it is on the bus.
    void SendToAudioCapture(int wParam, int lParam) override;
    // "CopyData"(u, ay) to the audio capture program, when it is on the bus; not waited for.
    bool SendRecordToAudioCapture(std::uint32_t kind, std::span<const std::uint8_t> record) override;

public Q_SLOTS:
    // The methods of the service.
    void Activate();
    void UpdateEvent(uint wParam, int lParam);
    void UpdateRelay(uint wParam, int lParam);
    void LightControlSet(uint wParam, int lParam);
    void WorkToolQuery();
    void CopyData(uint kind, const QByteArray& data);
    // Game events: wParam 0, 1 or 2 shows lighting mode lParam on the current device for five seconds.
    void Game_Start(uint wParam, int lParam);
    void Game_End(uint wParam, int lParam);
    void Game_Kill(uint wParam, int lParam);
    void Game_Death(uint wParam, int lParam);

Q_SIGNALS:
    // Whether this program now drives the device lighting (lParam 1) or gave it up (0).
    void LightControlNotify(uint wParam, int lParam);

private Q_SLOTS:
    void OnPrepareForSleep(bool suspending);

private:
    void PostToTarget(UINT msg, WPARAM wParam, LPARAM lParam);

    AppMessages messages_;
    QDBusConnection bus_;
    bool exported_ = false;
    bool owner_ = false;
    HWND target_ = 0;
    RecordHandler onRecord_;
    SleepHandler onSleep_;
    std::optional<QDBusConnection> sleepBus_;
};

}  // namespace zevik
