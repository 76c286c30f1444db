#pragma once
// CSingleInstance: the one-program-per-session rule on the D-Bus session bus. The first start owns
// the service name and answers "Activate"; a later start calls it and leaves. Without a session bus
// every start runs on its own.

#include <QByteArray>
#include <QObject>
#include <cstdint>
#include <functional>
#include <span>

namespace zevik {

inline constexpr const char* kServiceName = "org.zevik.R300Prime";
inline constexpr const char* kObjectPath = "/org/zevik/R300Prime";

class CSingleInstance : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.zevik.R300Prime")

public:
    enum class Start { First, Second, NoBus };

    // Tries to own the name; when another program owns it, asks that one to come to the front.
    Start Claim();
    void SetOnActivate(std::function<void()> onActivate) { onActivate_ = std::move(onActivate); }
    // The audio capture program's records (kind 1 samples, kind 2 band values).
    using RecordHandler = std::function<void(unsigned kind, std::span<const std::uint8_t> data)>;
    void SetOnRecord(RecordHandler onRecord) { onRecord_ = std::move(onRecord); }

public Q_SLOTS:
    void Activate();
    void CopyData(uint kind, const QByteArray& data);

private:
    std::function<void()> onActivate_;
    RecordHandler onRecord_;
};

}  // namespace zevik
