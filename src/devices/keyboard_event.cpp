#include "devices/keyboard_event.h"

namespace zevik {

KeyboardEvent DecodeKeyboardEvent(std::uint16_t code, bool byCable) {
    KeyboardEvent e;
    const int high = code >> 8;
    const int low = code & 0xFF;
    if (code == kKeyboardEventResync) {
        e.kind = KeyboardEvent::Kind::Resync;
    } else if (code == kKeyboardEventReloadProfile) {
        e.kind = KeyboardEvent::Kind::ReloadProfile;
    } else if (high == 0x05 || high == 0x06) {
        if (byCable) {
            e.kind = high == 0x05 ? KeyboardEvent::Kind::KeyPressed : KeyboardEvent::Kind::KeyReleased;
            e.position = low;
        }
    } else if (high == 0x10 || high == 0x11) {
        e.kind = high == 0x10 ? KeyboardEvent::Kind::Slot : KeyboardEvent::Kind::SlotAndSecond;
        e.slot = low & 0x0F;
        if (high == 0x11) e.second = (low >> 4) & 0x0F;
    }
    return e;
}

}  // namespace zevik
