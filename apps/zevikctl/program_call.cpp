#ifdef ZEVIK_HAVE_QTDBUS
#include "program_call.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <memory>

namespace zevik::cli {

namespace {

constexpr const char* kProgramService = "org.zevik.R300Prime";
constexpr const char* kProgramPath = "/org/zevik/R300Prime";
constexpr int kCallTimeoutMs = 1000;

}  // namespace

bool CallRunningProgram(const char* method, const QList<QVariant>& arguments, std::string_view what,
                        std::string& error) {
    int argc = 1;
    char name[] = "zevikctl";
    char* argv[] = {name, nullptr};
    std::unique_ptr<QCoreApplication> app;
    if (QCoreApplication::instance() == nullptr) app = std::make_unique<QCoreApplication>(argc, argv);
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        error = "no session bus";
        return false;
    }
    QDBusMessage call = QDBusMessage::createMethodCall(kProgramService, kProgramPath, kProgramService,
                                                       QString::fromLatin1(method));
    call.setArguments(arguments);
    call.setAutoStartService(false);
    const QDBusMessage reply = bus.call(call, QDBus::Block, kCallTimeoutMs);
    if (reply.type() == QDBusMessage::ReplyMessage) return true;
    error =
        reply.errorName() == QLatin1String("org.freedesktop.DBus.Error.ServiceUnknown")
            ? std::string("no zevik program is on the session bus")
            : "the program did not take the " + std::string(what) + ": " + reply.errorMessage().toStdString();
    return false;
}

}  // namespace zevik::cli
#endif
