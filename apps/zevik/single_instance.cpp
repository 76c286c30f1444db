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

}  // namespace zevik
