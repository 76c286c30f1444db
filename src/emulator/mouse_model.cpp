#include "emulator/mouse_model.h"

#include <array>

#include "emulator/control_interface.h"
#include "emulator/hid_descriptor_builder.h"
#include "transport/vendor_report.h"

namespace zevik {
namespace {

using B = CHidDescriptorBuilder;

constexpr const char* kMemory = "memory";
constexpr const char* kDeviceInfo = "device_info";
constexpr const char* kKeyTable = "key_table";
constexpr const char* kKeyCodes = "key_codes";
constexpr const char* kMacro = "macro";
constexpr const char* kRecoil = "recoil";
constexpr const char* kLightFrame = "light_frame";
constexpr const char* kStatus = "status";

constexpr uint16_t kGenericDesktop = 0x01;

// Physical key order of the factory key table: left, right, middle, back, forward buttons, then the
// sensitivity, wheel and multimedia keys (type, parameter 1, parameter 2).
constexpr std::array<std::array<uint8_t, 3>, CMouseModel::kPhysicalKeys> kFactoryKeys{{
    {0x10, 0x01, 0x00},
    {0x10, 0x02, 0x00},
    {0x10, 0x04, 0x00},
    {0x10, 0x08, 0x00},
    {0x10, 0x10, 0x00},
    {0x13, 0x01, 0x00},
    {0x13, 0x02, 0x00},
    {0x13, 0x03, 0x00},
    {0x15, 0x03, 0x00},
    {0xA0, 0x1B, 0x00},
    {0x16, 0x90, 0x01},
    {0x14, 0x78, 0x02},
}};

struct Stage {
    uint16_t dpi;
    uint8_t red, green, blue;
};
constexpr std::array<Stage, MouseBlock::kStageCount> kFactoryStages{{
    {400, 255, 0, 0},
    {800, 0, 255, 0},
    {1600, 0, 0, 255},
    {3200, 255, 255, 0},
    {6400, 0, 255, 255},
    {12800, 255, 0, 255},
}};
constexpr uint8_t kFactoryActiveStage = 2;

// Interface 0: a five-button mouse with 16-bit motion and a wheel, without report ids.
std::vector<uint8_t> PointerDescriptor() {
    B b;
    b.UsagePage(kGenericDesktop).Usage(0x02).Collection(B::kApplication);
    b.Usage(0x01).Collection(B::kPhysical);
    b.UsagePage(0x09).UsageMinimum(1).UsageMaximum(5).LogicalMinimum(0).LogicalMaximum(1);
    b.ReportSize(1).ReportCount(5).Input(B::kDataVariableAbsolute);
    b.ReportSize(3).ReportCount(1).Input(B::kConstant);
    b.UsagePage(kGenericDesktop).Usage(0x30).Usage(0x31).LogicalMinimum(-32767).LogicalMaximum(32767);
    b.ReportSize(16).ReportCount(2).Input(B::kDataVariableRelative);
    b.Usage(0x38).LogicalMinimum(-127).LogicalMaximum(127).ReportSize(8).ReportCount(1);
    b.Input(B::kDataVariableRelative);
    b.EndCollection().EndCollection();
    return b.Bytes();
}

}  // namespace

CMouseModel::CMouseModel() : CFirmwareModel("mouse", true) {
    std::vector<uint8_t> memory(kMemorySize, 0);
    for (size_t slot = 0; slot < MouseBlock::kSlotCount; ++slot) {
        const auto block = FactoryBlock(static_cast<uint8_t>(slot));
        std::copy(block.begin(), block.end(),
                  memory.begin() + static_cast<std::ptrdiff_t>(slot * MouseBlock::kStride));
    }
    std::vector<uint8_t> deviceInfo(kDeviceInfoSize, 0);
    deviceInfo[kDeviceInfoKeyCount] = kPhysicalKeys;
    deviceInfo[kDeviceInfoMacroUnits] = kMacroUnits;
    std::vector<uint8_t> status(kStatusSize, 0);
    status[kStatusBattery] = 100;

    AddArea(kMemory, std::move(memory));
    AddArea(kDeviceInfo, std::move(deviceInfo));
    AddArea(kKeyCodes, FactoryKeyTable());
    AddArea(kKeyTable, FactoryKeyTable());
    AddArea(kMacro, std::vector<uint8_t>(size_t{kMacroUnits} * 128, 0));
    AddArea(kRecoil, std::vector<uint8_t>(kRecoilSize, 0));
    AddArea(kLightFrame, std::vector<uint8_t>(kLightFrameSize, 0));
    AddArea(kStatus, std::move(status));

    MapTransfer(vendor::kCmdReadMemory, kMemory, AreaAccess::Read);
    MapTransfer(vendor::kCmdWriteMemory, kMemory, AreaAccess::Write);
    MapTransfer(vendor::kCmdReadDeviceInfo, kDeviceInfo, AreaAccess::Read);
    MapTransfer(vendor::kCmdReadKeyTable, kKeyCodes, AreaAccess::Read);
    MapTransfer(vendor::kCmdWriteKeyTable, kKeyTable, AreaAccess::Write);
    MapTransfer(vendor::kCmdWriteMacroImage, kMacro, AreaAccess::Write);
    MapTransfer(vendor::kCmdWriteRecoilData, kRecoil, AreaAccess::Write);
    MapTransfer(vendor::kCmdStreamLights, kLightFrame, AreaAccess::Write);
    MapStatus(kStatus);
    AcceptCommand(vendor::kCmdBeginConfig);
    AcceptCommand(vendor::kCmdEndConfig);
    AcceptCommand(vendor::kCmdNotifyLightControl);
    SetNotificationReportId(kNotificationReportId);
    SetFirmwareVersion(EmulatedPort::Cable, kCableFirmware);
    SetFirmwareVersion(EmulatedPort::Receiver, kReceiverFirmware);
}

std::vector<uint8_t> CMouseModel::FactoryBlock(uint8_t slot) {
    namespace M = MouseBlock;
    std::vector<uint8_t> block(M::kSize, 0);
    block[M::kSlot] = slot;
    block[M::kLightMode] = 0;
    block[M::kBrightness] = 4;
    block[M::kSpeedInverted] = 2;
    block[M::kMultiColour] = 1;
    block[M::kRed] = 255;
    block[M::kReportRate] = 3;
    block[M::kActiveStage] = kFactoryActiveStage;
    for (size_t s = 0; s < M::kStageCount; ++s) {
        uint8_t* stage = &block[M::kStages + s * M::kStageSize];
        const Stage& factory = kFactoryStages[s];
        stage[0] = 1;  // enabled
        stage[1] = 0;  // X and Y share the X value
        stage[2] = static_cast<uint8_t>(factory.dpi & 0xFF);
        stage[3] = static_cast<uint8_t>(factory.dpi >> 8);
        stage[4] = stage[2];
        stage[5] = stage[3];
        stage[6] = factory.red;
        stage[7] = factory.green;
        stage[8] = factory.blue;
    }
    block[M::kSleepLow] = 10;
    block[M::kDormancy] = 44;  // 300 s
    block[M::kDormancy + 1] = 1;
    block[M::kKeyDelay] = 1;
    return block;
}

std::vector<uint8_t> CMouseModel::FactoryKeyTable() {
    std::vector<uint8_t> table(kKeyTableSize, 0);
    for (size_t k = 0; k < kFactoryKeys.size(); ++k) {
        std::copy(kFactoryKeys[k].begin(), kFactoryKeys[k].end(),
                  table.begin() + static_cast<std::ptrdiff_t>(3 * k));
    }
    return table;
}

std::vector<EmulatedNodeLayout> CMouseModel::NodeLayouts() const {
    std::vector<EmulatedNodeLayout> layouts;
    for (const EmulatedPort port : {EmulatedPort::Cable, EmulatedPort::Receiver}) {
        const uint16_t product = port == EmulatedPort::Cable ? kCableProductId : kReceiverProductId;
        EmulatedNodeLayout pointer;
        pointer.suffix = ".if0";
        pointer.port = port;
        pointer.vendorId = kVendorId;
        pointer.productId = product;
        pointer.interfaceNumber = 0;
        pointer.descriptor = PointerDescriptor();
        pointer.collections = {{kGenericDesktop, 0x02, {}}};
        layouts.push_back(std::move(pointer));

        layouts.push_back(ControlInterfaceLayout(port, kVendorId, product));
    }
    return layouts;
}

bool CMouseModel::SetBattery(uint8_t percent, uint8_t charging) {
    if (percent > 100 || charging > 2) return false;
    const std::array<uint8_t, 2> bytes{percent, charging};
    return WriteArea(kStatus, kStatusBattery, bytes);
}

void CMouseModel::OnNotification(uint16_t usage) {
    const unsigned kind = usage >> 8;
    if (kind != 0x10 && kind != 0x11) return;
    const size_t slot = usage & 0x0F;
    const size_t stage = (usage >> 4) & 0x0F;
    std::vector<uint8_t>& memory = *Area(kMemory);
    memory[0] = static_cast<uint8_t>(slot);
    if (kind == 0x11 && stage < MouseBlock::kStageCount) {
        memory[slot * MouseBlock::kStride + MouseBlock::kActiveStage] = static_cast<uint8_t>(stage);
    }
}

void CMouseModel::OnStatusRead(EmulatedPort port, std::span<uint8_t> data, size_t address) {
    if (address <= kStatusConnection && kStatusConnection < address + data.size()) {
        data[kStatusConnection - address] = port == EmulatedPort::Receiver ? 1 : 0;
    }
}

}  // namespace zevik
