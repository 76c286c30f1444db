#include "session_bus.h"

#include <QDBusMessage>
#include <QDeadlineTimer>
#include <QString>
#include <algorithm>

#include "ui/message_loop.h"
#include "ui/window_wnd.h"

namespace zevik {

namespace {

constexpr int kActivateTimeoutMs = 1000;
constexpr int kWorkToolTimeoutMs = 1000;  // the owner look-up and the call together
constexpr int kAudioCaptureTimeoutMs = 200;
constexpr int kOwnerTimeoutMs = 250;

constexpr const char* kLogindService = "org.freedesktop.login1";
constexpr const char* kLogindPath = "/org/freedesktop/login1";
constexpr const char* kLogindInterface = "org.freedesktop.login1.Manager";

// Whether a program owns the name. Asked of the bus itself, so a missing peer costs one quick
// round trip and never starts a program through bus activation.
bool HasOwner(QDBusConnection& bus, const char* name, int timeoutMs) {
    QDBusMessage ask = QDBusMessage::createMethodCall("org.freedesktop.DBus", "/org/freedesktop/DBus",
                                                      "org.freedesktop.DBus", "NameHasOwner");
    ask << QString::fromLatin1(name);
    const QDBusMessage reply = bus.call(ask, QDBus::Block, timeoutMs);
    return reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty() &&
           reply.arguments().first().toBool();
}

// A call that never starts the peer; the reply (or the error, a time-out included).
QDBusMessage CallOwned(QDBusConnection& bus, QDBusMessage call, int timeoutMs) {
    call.setAutoStartService(false);
    return bus.call(call, QDBus::Block, std::max(timeoutMs, 1));
}

}  // namespace

CSessionBus::CSessionBus(const AppMessages& messages)
    : messages_(messages), bus_(QDBusConnection::sessionBus()) {}

CSessionBus::~CSessionBus() {
    if (sleepBus_) {
        sleepBus_->disconnect(kLogindService, kLogindPath, kLogindInterface, "PrepareForSleep", this,
                              SLOT(OnPrepareForSleep(bool)));
    }
    if (owner_) bus_.unregisterService(kServiceName);
    if (exported_) bus_.unregisterObject(kObjectPath);
}

CSessionBus::Start CSessionBus::Claim() {
    if (!bus_.isConnected()) return Start::NoBus;
    // Exported before the name is taken, so a call right after the take finds the methods.
    exported_ = bus_.registerObject(kObjectPath, this,
                                    QDBusConnection::ExportAllSlots | QDBusConnection::ExportAllSignals);
    // Two rounds: when the owner ends between our try and our call, the name is ours to take.
    for (int round = 0; round < 2; ++round) {
        if (bus_.registerService(kServiceName)) {
            owner_ = true;
            return Start::First;
        }
        const QDBusMessage reply = CallOwned(
            bus_, QDBusMessage::createMethodCall(kServiceName, kObjectPath, kServiceName, "Activate"),
            kActivateTimeoutMs);
        if (reply.type() != QDBusMessage::ErrorMessage ||
            reply.errorName() != QLatin1String("org.freedesktop.DBus.Error.ServiceUnknown")) {
            break;
        }
    }
    if (exported_) bus_.unregisterObject(kObjectPath);
    exported_ = false;
    return Start::Second;
}

void CSessionBus::SetTarget(CWindowWnd* window) {
    target_ = window != nullptr ? window->GetHWND() : 0;
}

bool CSessionBus::WatchSleep(SleepHandler onSleep, QDBusConnection bus) {
    if (!bus.isConnected()) return false;
    onSleep_ = std::move(onSleep);
    if (!bus.connect(kLogindService, kLogindPath, kLogindInterface, "PrepareForSleep", this,
                     SLOT(OnPrepareForSleep(bool)))) {
        return false;
    }
    sleepBus_ = bus;
    return true;
}

void CSessionBus::OnPrepareForSleep(bool suspending) {
    if (onSleep_) onSleep_(suspending);
}

void CSessionBus::BroadcastLightControl(int wParam, int lParam) {
    // Goes out on the bus as the signal of the exported object.
    Q_EMIT LightControlNotify(static_cast<uint>(wParam), lParam);
}

bool CSessionBus::SendToWorkTool(std::uint32_t kind, std::span<const std::uint8_t> record) {
    if (!bus_.isConnected()) return false;
    const QDeadlineTimer deadline(kWorkToolTimeoutMs);
    if (!HasOwner(bus_, kWorkToolService, kOwnerTimeoutMs)) return false;
    QDBusMessage call =
        QDBusMessage::createMethodCall(kWorkToolService, kWorkToolPath, kWorkToolService, "CopyData");
    call << static_cast<uint>(kind)
         << QByteArray(reinterpret_cast<const char*>(record.data()), static_cast<qsizetype>(record.size()));
    const QDBusMessage reply = CallOwned(bus_, call, static_cast<int>(deadline.remainingTime()));
    return reply.type() == QDBusMessage::ReplyMessage;
}

void CSessionBus::SendToAudioCapture(int wParam, int lParam) {
    if (!bus_.isConnected() || !HasOwner(bus_, kAudioCaptureService, kOwnerTimeoutMs)) return;
    QDBusMessage call = QDBusMessage::createMethodCall(kAudioCaptureService, kAudioCapturePath,
                                                       kAudioCaptureService, "Command");
    call << wParam << lParam;
    CallOwned(bus_, call, kAudioCaptureTimeoutMs);
}

bool CSessionBus::SendRecordToAudioCapture(std::uint32_t kind, std::span<const std::uint8_t> record) {
    if (!bus_.isConnected() || !HasOwner(bus_, kAudioCaptureService, kOwnerTimeoutMs)) return false;
    QDBusMessage call = QDBusMessage::createMethodCall(kAudioCaptureService, kAudioCapturePath,
                                                       kAudioCaptureService, "CopyData");
    call << static_cast<uint>(kind)
         << QByteArray(reinterpret_cast<const char*>(record.data()), static_cast<qsizetype>(record.size()));
    call.setAutoStartService(false);
    // Queued on the connection without waiting for the answer: the UI never waits on the peer.
    return bus_.send(call);
}

void CSessionBus::Activate() {
    PostToTarget(messages_.activate, 0, 1);
}

void CSessionBus::UpdateEvent(uint wParam, int lParam) {
    PostToTarget(messages_.updateEvent, wParam, lParam);
}

void CSessionBus::UpdateRelay(uint wParam, int lParam) {
    PostToTarget(messages_.updateRelay, wParam, lParam);
}

void CSessionBus::LightControlSet(uint wParam, int lParam) {
    PostToTarget(messages_.lightControlSet, wParam, lParam);
}

void CSessionBus::WorkToolQuery() {
    PostToTarget(messages_.workToolQuery, 0, 0);
}

void CSessionBus::CopyData(uint kind, const QByteArray& data) {
    if (!onRecord_) return;
    // The bytes are only valid during this call; the handler copies what it keeps.
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(data.constData());
    onRecord_(kind, std::span<const std::uint8_t>(bytes, static_cast<std::size_t>(data.size())));
}

void CSessionBus::Game_Start(uint wParam, int lParam) {
    PostToTarget(messages_.game[0], wParam, lParam);
}

void CSessionBus::Game_End(uint wParam, int lParam) {
    PostToTarget(messages_.game[1], wParam, lParam);
}

void CSessionBus::Game_Kill(uint wParam, int lParam) {
    PostToTarget(messages_.game[2], wParam, lParam);
}

void CSessionBus::Game_Death(uint wParam, int lParam) {
    PostToTarget(messages_.game[3], wParam, lParam);
}

void CSessionBus::PostToTarget(UINT msg, WPARAM wParam, LPARAM lParam) {
    CMessageLoop* loop = CMessageLoop::Current();
    if (target_ == 0 || msg == 0 || loop == nullptr) return;
    loop->Post(target_, msg, wParam, lParam);
}

}  // namespace zevik
