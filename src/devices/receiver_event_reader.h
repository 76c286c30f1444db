#pragma once
// CReceiverEventReader: a device's event interface on its receiver, next to the one on the cable.
// Opened once under the channel's second lock and read by its own CNotificationReader; closed by
// cancelling the pending read (closing the interface under the lock) and joining the reader.

#include <atomic>
#include <memory>
#include <string>

#include "devices/notification_reader.h"

namespace zevik {

class CCommandChannel;

// What an event reader of the mouse and the keyboard writes when its thread ends.
inline constexpr const char* kDeviceEventThreadExitTrace = "MS 设备同步线程设定退出";

class CReceiverEventReader {
public:
    CReceiverEventReader(CNotificationReader::Handler handler, std::string exitTrace = kDeviceEventThreadExitTrace);

    // True when open (already or now); false when the interface cannot be opened.
    bool Open(CCommandChannel& channel, const std::string& path);
    void Close(CCommandChannel& channel);
    bool IsOpen() const { return open_.load(); }

private:
    CNotificationReader::Handler handler_;
    std::string exitTrace_;
    std::unique_ptr<CNotificationReader> reader_;
    std::atomic<bool> open_{false};
};

}  // namespace zevik
