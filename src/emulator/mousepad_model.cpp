#include "emulator/mousepad_model.h"

#include <algorithm>
#include <array>

#include "emulator/control_interface.h"
#include "transport/vendor_report.h"

namespace zevik {
namespace {

constexpr const char* kMemory = "memory";
constexpr const char* kDeviceInfo = "device_info";
constexpr const char* kStatus = "status";

constexpr size_t kFirmwareBytesFirst = 9;  // the bytes the host hands back unread
constexpr size_t kFirmwareBytesLast = 20;

}  // namespace

CMousepadModel::CMousepadModel() : CFirmwareModel("mousepad", false) {
    std::vector<uint8_t> memory(kMemorySize, 0);
    // Reads at slot x 33 see the block of that slot; the first slots are filled.
    for (uint8_t slot = 0; slot < 4; ++slot) {
        const auto block = FactoryBlock(slot);
        std::copy(block.begin(), block.end(), memory.begin() + static_cast<std::ptrdiff_t>(slot * kReadStride));
    }
    memory[0] = 0;  // the active slot
    std::vector<uint8_t> deviceInfo(kDeviceInfoSize, 0);
    deviceInfo[0] = 0x10;  // a firmware number the host only shows
    deviceInfo[1] = 0x04;

    AddArea(kMemory, std::move(memory));
    AddArea(kDeviceInfo, std::move(deviceInfo));
    AddArea(kStatus, std::vector<uint8_t>(kStatusSize, 0));
    MapTransfer(vendor::kCmdReadMemory, kMemory, AreaAccess::Read);
    MapTransfer(vendor::kCmdWriteMemory, kMemory, AreaAccess::Write);
    MapTransfer(vendor::kCmdReadDeviceInfo, kDeviceInfo, AreaAccess::Read);
    MapStatus(kStatus);
    AcceptCommand(vendor::kCmdBeginConfig);
    AcceptCommand(vendor::kCmdEndConfig);
    SetNotificationReportId(kControlEventReportId);
}

std::vector<uint8_t> CMousepadModel::FactoryBlock(uint8_t slot) {
    std::vector<uint8_t> block(34, 0);
    block[0] = slot;
    block[1] = 0;    // the wave
    block[2] = 4;    // brightness
    block[3] = 2;    // speed level 2
    block[4] = 1;    // direction
    block[5] = 1;    // multicolour
    block[6] = 255;  // red
    // Firmware bytes the host does not interpret; it must hand them back as they are.
    for (size_t i = kFirmwareBytesFirst; i <= kFirmwareBytesLast; ++i) block[i] = static_cast<uint8_t>(0xA0 + i);
    return block;
}

std::vector<EmulatedNodeLayout> CMousepadModel::NodeLayouts() const {
    return {ControlInterfaceLayout(EmulatedPort::Cable, kVendorId, kProductId)};
}

bool CMousepadModel::SetPhone(uint8_t phone) {
    if (phone >= kPhoneKinds) return false;
    const std::array<uint8_t, 1> bytes{phone};
    return WriteArea(kStatus, kStatusPhone, bytes);
}

}  // namespace zevik
