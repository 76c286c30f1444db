#include "single_instance.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>

namespace zevik {

namespace {
constexpr int kCallTimeoutMs = 2000;
}

CSingleInstance::Start CSingleInstance::Claim() {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) return Start::NoBus;
    bus.registerObject(kObjectPath, this, QDBusConnection::ExportAllSlots);
    if (bus.registerService(kServiceName)) return Start::First;
    bus.unregisterObject(kObjectPath);
    QDBusMessage call = QDBusMessage::createMethodCall(kServiceName, kObjectPath, kServiceName, "Activate");
    bus.call(call, QDBus::Block, kCallTimeoutMs);
    return Start::Second;
}

void CSingleInstance::Activate() {
    if (onActivate_) onActivate_();
}

void CSingleInstance::CopyData(uint kind, const QByteArray& data) {
    if (!onRecord_) return;
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(data.constData());
    onRecord_(kind, std::span<const std::uint8_t>(bytes, static_cast<std::size_t>(data.size())));
}

}  // namespace zevik
