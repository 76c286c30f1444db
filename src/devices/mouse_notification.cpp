#include "devices/mouse_notification.h"

namespace zevik {

MouseNotification DecodeMouseNotification(uint16_t usage) {
    MouseNotification n;
    if (usage == 0x0401 || usage == 0x0402) {
        n.kind = MouseNotification::Kind::Resync;
    } else if (usage == 0x0403) {
        n.kind = MouseNotification::Kind::KeyPress;
    } else if (usage > 0x0403) {
        const int high = usage >> 8;
        if (high == 0x10 || high == 0x11) {
            n.kind = high == 0x11 ? MouseNotification::Kind::SlotStage : MouseNotification::Kind::Slot;
            n.slot = usage & 0x0F;
            if (high == 0x11) n.stage = (usage >> 4) & 0x0F;
        }
    }
    return n;
}

std::optional<MouseFirmwareNotice> MouseOldFirmwareNotice(uint16_t vendorId, uint16_t productId,
                                                          uint16_t version) {
    if (vendorId != kMouseVendorId) return std::nullopt;
    if ((productId == kMouseCableProductId && version < kMouseCableMinFirmware) ||
        (productId == kMouseReceiverProductId && version < kMouseReceiverMinFirmware)) {
        return MouseFirmwareNotice{productId, version};
    }
    return std::nullopt;
}

}  // namespace zevik
