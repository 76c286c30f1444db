#include "emulator/keyboard_model.h"

#include <algorithm>
#include <array>

#include "emulator/control_interface.h"
#include "emulator/hid_descriptor_builder.h"
#include "transport/vendor_report.h"

namespace zevik {
namespace {

using B = CHidDescriptorBuilder;
using Triple = std::array<uint8_t, 3>;

constexpr const char* kMemory = "memory";
constexpr const char* kDeviceInfo = "device_info";
constexpr const char* kKeyCodes = "key_codes";
constexpr const char* kKeyTable = "key_table";
constexpr const char* kKeyTable2 = "key_table2";
constexpr const char* kLedIndex = "led_index";
constexpr const char* kKeyColors = "key_colors";
constexpr const char* kMacro = "macro";
constexpr const char* kLightFrame = "light_frame";
constexpr const char* kStatus = "status";

constexpr uint16_t kGenericDesktop = 0x01;
constexpr uint8_t kNoLed = 255;

constexpr Triple Key(uint8_t usage) {
    return {0x20, 0x00, usage};
}
constexpr Triple Modifier(uint8_t mask) {
    return {0x20, mask, 0x00};
}

// The board row by row, left to right, then the macro keys M1-M5.
constexpr std::array<Triple, CKeyboardModel::kFullSizePositions> kBoard{{
    // Escape, F1-F12, print screen, scroll lock, pause.
    Key(0x29), Key(0x3A), Key(0x3B), Key(0x3C), Key(0x3D), Key(0x3E), Key(0x3F), Key(0x40), Key(0x41),
    Key(0x42), Key(0x43), Key(0x44), Key(0x45), Key(0x46), Key(0x47), Key(0x48),
    // ` 1-0 - = backspace, insert, home, page up, num lock, / * -.
    Key(0x35), Key(0x1E), Key(0x1F), Key(0x20), Key(0x21), Key(0x22), Key(0x23), Key(0x24), Key(0x25),
    Key(0x26), Key(0x27), Key(0x2D), Key(0x2E), Key(0x2A), Key(0x49), Key(0x4A), Key(0x4B), Key(0x53),
    Key(0x54), Key(0x55), Key(0x56),
    // Tab Q-P [ ] \, delete, end, page down, keypad 7 8 9 +.
    Key(0x2B), Key(0x14), Key(0x1A), Key(0x08), Key(0x15), Key(0x17), Key(0x1C), Key(0x18), Key(0x0C),
    Key(0x12), Key(0x13), Key(0x2F), Key(0x30), Key(0x31), Key(0x4C), Key(0x4D), Key(0x4E), Key(0x5F),
    Key(0x60), Key(0x61), Key(0x57),
    // Caps lock, A-L ; ' enter, keypad 4 5 6.
    Key(0x39), Key(0x04), Key(0x16), Key(0x07), Key(0x09), Key(0x0A), Key(0x0B), Key(0x0D), Key(0x0E),
    Key(0x0F), Key(0x33), Key(0x34), Key(0x28), Key(0x5C), Key(0x5D), Key(0x5E),
    // Left shift, Z-M , . /, right shift, up, keypad 1 2 3 enter.
    Modifier(0x02), Key(0x1D), Key(0x1B), Key(0x06), Key(0x19), Key(0x05), Key(0x11), Key(0x10), Key(0x36),
    Key(0x37), Key(0x38), Modifier(0x20), Key(0x52), Key(0x59), Key(0x5A), Key(0x5B), Key(0x58),
    // Left control, left Windows, left alt, space, right alt, Fn, menu, right control, left, down,
    // right, keypad 0 and .
    Modifier(0x01), Modifier(0x08), Modifier(0x04), Key(0x2C), Modifier(0x40), Triple{0xA0, 0x01, 0x00},
    Key(0x65), Modifier(0x10), Key(0x50), Key(0x51), Key(0x4F), Key(0x62), Key(0x63),
    // M1-M5.
    Triple{0xD0, 0xA2, 0x01}, Triple{0xD0, 0xA2, 0x02}, Triple{0xD0, 0xA2, 0x03}, Triple{0xD0, 0xA2, 0x04},
    Triple{0xD0, 0xA2, 0x05},
}};

// Interface 0: the boot keyboard (modifiers, a reserved byte, six key codes; five LEDs out).
std::vector<uint8_t> BootKeyboardDescriptor() {
    B b;
    b.UsagePage(kGenericDesktop).Usage(0x06).Collection(B::kApplication);
    b.UsagePage(0x07).UsageMinimum(0xE0).UsageMaximum(0xE7).LogicalMinimum(0).LogicalMaximum(1);
    b.ReportSize(1).ReportCount(8).Input(B::kDataVariableAbsolute);
    b.ReportSize(8).ReportCount(1).Input(B::kConstant);
    b.UsagePage(0x08).UsageMinimum(1).UsageMaximum(5).ReportSize(1).ReportCount(5).Output(B::kDataVariableAbsolute);
    b.ReportSize(3).ReportCount(1).Output(B::kConstant);
    b.UsagePage(0x07).UsageMinimum(0x00).UsageMaximum(0xFF).LogicalMinimum(0).LogicalMaximum(0xFF);
    b.ReportSize(8).ReportCount(6).Input(B::kDataArrayAbsolute);
    b.EndCollection();
    return b.Bytes();
}

}  // namespace

CKeyboardModel::CKeyboardModel(int positions)
    : CFirmwareModel("keyboard", true), positions_(std::clamp(positions, 0, kMaxPositions)) {
    std::vector<uint8_t> memory(kMemorySize, 0);
    for (size_t slot = 0; (slot + 1) * KeyboardBlock::kStride <= kMemorySize; ++slot) {
        const auto block = FactoryBlock(static_cast<uint8_t>(slot));
        // Each block's last byte is the next block's first: the blocks overlap by one byte.
        const size_t at = slot * KeyboardBlock::kStride;
        const size_t count = std::min(block.size(), kMemorySize - at);
        std::copy_n(block.begin(), count, memory.begin() + static_cast<std::ptrdiff_t>(at));
    }
    memory[0] = 0;  // the active slot
    std::vector<uint8_t> deviceInfo(kDeviceInfoSize, 0);
    deviceInfo[kDeviceInfoPositions] = static_cast<uint8_t>(positions_);
    deviceInfo[kDeviceInfoMacroUnits] = kMacroUnits;

    AddArea(kMemory, std::move(memory));
    AddArea(kDeviceInfo, std::move(deviceInfo));
    AddArea(kKeyCodes, FactoryKeyCodes(positions_));
    AddArea(kKeyTable, FactoryKeyCodes(positions_));
    AddArea(kKeyTable2, FactoryKeyCodes(positions_));
    AddArea(kLedIndex, FactoryLedIndexes(positions_));
    AddArea(kKeyColors, std::vector<uint8_t>(kKeyColourSlots * kKeyColourSlotSize, 0));
    AddArea(kMacro, std::vector<uint8_t>(size_t{kMacroUnits} * 128, 0));
    AddArea(kLightFrame, std::vector<uint8_t>(kLightFrameSize, 0));
    AddArea(kStatus, std::vector<uint8_t>(kStatusSize, 0));

    MapTransfer(vendor::kCmdReadMemory, kMemory, AreaAccess::Read);
    MapTransfer(vendor::kCmdWriteMemory, kMemory, AreaAccess::Write);
    MapTransfer(vendor::kCmdReadDeviceInfo, kDeviceInfo, AreaAccess::Read);
    MapTransfer(vendor::kCmdReadKeyTable, kKeyCodes, AreaAccess::Read);
    MapTransfer(vendor::kCmdWriteKeyTable, kKeyTable, AreaAccess::Write);
    MapTransfer(vendor::kCmdWriteKeyTable2, kKeyTable2, AreaAccess::Write);
    MapTransfer(vendor::kCmdReadLedIndexTable, kLedIndex, AreaAccess::Read);
    MapTransfer(vendor::kCmdReadKeyColors, kKeyColors, AreaAccess::Read);
    MapTransfer(vendor::kCmdWriteKeyColors, kKeyColors, AreaAccess::Write);
    MapTransfer(vendor::kCmdWriteMacroImage, kMacro, AreaAccess::Write);
    MapTransfer(vendor::kCmdStreamLights, kLightFrame, AreaAccess::Write);
    MapStatus(kStatus);
    AcceptCommand(vendor::kCmdBeginConfig);
    AcceptCommand(vendor::kCmdEndConfig);
    AcceptCommand(vendor::kCmdNotifyLightControl);
    SetNotificationReportId(kControlEventReportId);
}

std::vector<uint8_t> CKeyboardModel::FactoryBlock(uint8_t slot) {
    namespace K = KeyboardBlock;
    std::vector<uint8_t> block(K::kSize, 0);
    block[K::kSlot] = slot;
    block[K::kLightMode] = kFactoryMode;
    block[K::kBrightness] = 4;
    block[K::kSpeedInverted] = 2;
    block[K::kMultiColour] = 1;
    block[K::kRed] = 255;
    block[K::kReportRate] = 4;
    // Firmware bytes the host does not interpret; it must hand them back as they are.
    block[10] = 0x5A;
    block[23] = 0x01;
    block[30] = 0xA5;
    return block;
}

std::vector<uint8_t> CKeyboardModel::FactoryKeyCodes(int positions) {
    std::vector<uint8_t> table(kKeyTableSize, 0);
    const size_t fit = std::min<size_t>(static_cast<size_t>(std::max(positions, 0)), kKeyTableSize / 3);
    for (size_t k = 0; k < fit; ++k) {
        // Positions past the full-size board hold no key (20 00 00).
        const Triple code = k < kBoard.size() ? kBoard[k] : Key(0x00);
        std::copy(code.begin(), code.end(), table.begin() + static_cast<std::ptrdiff_t>(3 * k));
    }
    return table;
}

std::vector<uint8_t> CKeyboardModel::FactoryLedIndexes(int positions) {
    std::vector<uint8_t> leds(kLedIndexSize, kNoLed);
    const size_t fit = std::min<size_t>(static_cast<size_t>(std::max(positions, 0)), kLedIndexSize);
    for (size_t k = 0; k < fit; ++k) leds[k] = static_cast<uint8_t>((k + 1) % static_cast<size_t>(positions));
    return leds;
}

std::vector<EmulatedNodeLayout> CKeyboardModel::NodeLayouts() const {
    std::vector<EmulatedNodeLayout> layouts;
    // The cable's nodes first: with the same ids on both ports, discovery takes the first for the cable.
    for (const EmulatedPort port : {EmulatedPort::Cable, EmulatedPort::Receiver}) {
        EmulatedNodeLayout boot;
        boot.suffix = ".if0";
        boot.port = port;
        boot.vendorId = kVendorId;
        boot.productId = kProductId;
        boot.interfaceNumber = 0;
        boot.descriptor = BootKeyboardDescriptor();
        boot.collections = {{kGenericDesktop, 0x06, {}}};
        layouts.push_back(std::move(boot));

        layouts.push_back(ControlInterfaceLayout(port, kVendorId, kProductId));
    }
    return layouts;
}

void CKeyboardModel::OnNotification(uint16_t usage) {
    const unsigned kind = usage >> 8;
    if (kind != 0x10 && kind != 0x11) return;
    (*Area(kMemory))[0] = static_cast<uint8_t>(usage & 0x0F);
}

void CKeyboardModel::OnStatusRead(EmulatedPort port, std::span<uint8_t> data, size_t address) {
    if (address <= kStatusConnection && kStatusConnection < address + data.size()) {
        data[kStatusConnection - address] = port == EmulatedPort::Receiver ? 1 : 0;
    }
}

}  // namespace zevik
