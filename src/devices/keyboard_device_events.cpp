// COrbantixKeyboardDevice: the two event readers, resynchronisation and the status poll.
//
// The readers never touch the page or the device themselves: what needs the UI thread is posted to
// its loop, and key events go to the lighting engine, whose lock makes them whole.

#include "devices/device_messages.h"
#include "devices/keyboard_device.h"
#include "devices/keyboard_event.h"
#include "devices/notification_reader.h"
#include "ui/message_loop.h"

namespace zevik {

namespace {

constexpr size_t kStatusLength = 6;
constexpr size_t kStatusConnection = 3;
constexpr size_t kStatusReport = 4;

}  // namespace

bool COrbantixKeyboardDevice::OpenEventInterface(int kind, const std::string& path) {
    if (kind != kDeviceKindKeyboardReceiver) return OpenNotification(path);
    return receiverEvents_.Open(NotificationChannel(), path);
}

void COrbantixKeyboardDevice::CloseEventInterface(int kind) {
    if (kind != kDeviceKindKeyboardReceiver) {
        CloseNotification();
        return;
    }
    receiverEvents_.Close(NotificationChannel());
}

bool COrbantixKeyboardDevice::IsEventInterfaceOpen(int kind) const {
    return kind == kDeviceKindKeyboardReceiver ? receiverEvents_.IsOpen() : IsNotificationOpen();
}

void COrbantixKeyboardDevice::OnNotificationUsage(std::uint16_t usage) {
    HandleEvent(usage, true);
}

void COrbantixKeyboardDevice::PostToUi(std::function<void()> task) {
    if (Context().uiLoop != nullptr) Context().uiLoop->PostTask(std::move(task));
}

void COrbantixKeyboardDevice::HandleEvent(std::uint16_t code, bool byCable) {
    const KeyboardEvent e = DecodeKeyboardEvent(code, byCable);
    switch (e.kind) {
        case KeyboardEvent::Kind::ReloadProfile:
            pendingRequest_ = kKeyboardEventReloadProfile;
            [[fallthrough]];
        case KeyboardEvent::Kind::Resync:
            PostToUi([this] { Resync(); });
            break;
        case KeyboardEvent::Kind::KeyPressed:
        case KeyboardEvent::Kind::KeyReleased: {
            const std::uint8_t key = keyAtPosition_[static_cast<size_t>(e.position) & 0xFF].load(std::memory_order_relaxed);
            if (key == kNoKeyAtPosition) break;
            engine_.KeyEvent(key, e.kind == KeyboardEvent::Kind::KeyPressed ? KeyEventState::Pressed
                                                                            : KeyEventState::Released);
        } break;
        case KeyboardEvent::Kind::Slot:
        case KeyboardEvent::Kind::SlotAndSecond:
            activeSlot_ = e.slot;
            if (e.kind == KeyboardEvent::Kind::SlotAndSecond) secondProfile_ = e.second;
            PostToUi([this] { RefreshPage(); });
            break;
        case KeyboardEvent::Kind::None:
            break;
    }
}

int COrbantixKeyboardDevice::Resync() {
    if (pendingRequest_.exchange(0) == kKeyboardEventReloadProfile) {
        // The keyboard changed its profile itself: take the profile from disk again.
        profileLoaded_ = false;
        ApplyProfile();
        ShowKeyAssignments();
    }
    ReadSettingsBlock();
    RefreshPage();
    return 1;
}

int COrbantixKeyboardDevice::PollStatus() {
    CCommandChannel& channel = CommandChannel();
    if (!channel.IsOpen() || IsPollingHold() || !QueryReceiverLink(channel)) return kResultNoAnswer;
    std::vector<std::uint8_t> status(kStatusLength, 0);
    const int result = ReadStatus(channel, status, static_cast<std::uint8_t>(kStatusLength), 0);
    if (result != kResultDone) return result;
    status[kStatusConnection] = channel.ReceiverMode() ? 1 : 0;
    lastStatus_ = status;
    ShowStatus(status);
    SendToMainWindow(UM_DEVICE_STATUS, status[kStatusReport], 0);
    return kResultDone;
}

}  // namespace zevik
