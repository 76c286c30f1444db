#include "emulator/headset_model.h"

#include <algorithm>

#include "emulator/hid_descriptor_builder.h"
#include "transport/headset_led_report.h"
#include "transport/vendor_report.h"

namespace zevik {
namespace {

using B = CHidDescriptorBuilder;

constexpr const char* kMemory = "memory";
constexpr const char* kDeviceInfo = "device_info";
constexpr const char* kStatus = "status";
constexpr const char* kLeds = "leds";
constexpr const char* kLedReports = "led_reports";
constexpr const char* kMixer = "mixer";

constexpr uint16_t kConsumerPage = 0x0C;
constexpr uint16_t kVendorPage = 0xFF1C;
constexpr uint16_t kHighestKeyUsage = 0x03FF;

// The lighting block's bytes the host interprets (the rest is firmware's own).
constexpr size_t kBlockSize = 34;
constexpr size_t kBlockStride = 33;

}  // namespace

CHeadsetModel::CHeadsetModel() : CFirmwareModel("headset", false) {
    std::vector<uint8_t> memory(kMemorySize, 0);
    const auto block = FactoryBlock(0);
    std::copy(block.begin(), block.end(), memory.begin());
    AddArea(kMemory, std::move(memory));
    AddArea(kDeviceInfo, std::vector<uint8_t>(kDeviceInfoSize, 0));
    AddArea(kStatus, std::vector<uint8_t>(kStatusSize, 0));
    AddArea(kLeds, std::vector<uint8_t>(kLedsSize, 0));
    AddArea(kLedReports, std::vector<uint8_t>(4, 0));
    AddArea(kMixer, FactoryMixer());

    MapTransfer(vendor::kCmdReadMemory, kMemory, AreaAccess::Read);
    MapTransfer(vendor::kCmdWriteMemory, kMemory, AreaAccess::Write);
    MapTransfer(vendor::kCmdReadDeviceInfo, kDeviceInfo, AreaAccess::Read);
    MapStatus(kStatus);
    AcceptCommand(vendor::kCmdBeginConfig);
    AcceptCommand(vendor::kCmdEndConfig);
    SetNotificationReportId(kKeyReportId);
}

std::vector<uint8_t> CHeadsetModel::FactoryBlock(uint8_t slot) {
    std::vector<uint8_t> block(kBlockSize, 0);
    block[0] = slot;
    block[1] = 0;    // lighting mode code
    block[2] = 4;    // brightness
    block[3] = 2;    // speed, inverted
    block[5] = 1;    // multicolour
    block[6] = 255;  // red
    // Firmware bytes the host does not interpret; it must hand them back as they are.
    block[10] = 0x5A;
    block[20] = 0xA5;
    static_assert(kBlockStride < kBlockSize);
    return block;
}

std::vector<uint8_t> CHeadsetModel::FactoryMixer() {
    // PCM 80 of 100 on; microphone 96 of 127 on; sidetone 8 of 32 off.
    return {80, 1, 96, 1, 8, 0};
}

std::vector<uint8_t> CHeadsetModel::Descriptor() {
    B b;
    b.UsagePage(kConsumerPage).Usage(0x01).Collection(B::kApplication);
    // The keys: one consumer usage (volume up 0xE9, down 0xEA, mute 0xE2), 0 when released.
    b.ReportId(kKeyReportId).UsageMinimum(0).UsageMaximum(kHighestKeyUsage).LogicalMinimum(0);
    b.LogicalMaximum(kHighestKeyUsage).ReportSize(16).ReportCount(1).Input(B::kDataArrayAbsolute);
    // The command reports.
    constexpr uint32_t kCommandBytes = vendor::kReportSize - 1;
    b.ReportId(vendor::kReportId).UsagePage(kVendorPage).Usage(0x01).LogicalMinimum(0).LogicalMaximum(0xFF);
    b.ReportSize(8).ReportCount(kCommandBytes).Input(B::kDataVariableAbsolute);
    b.Usage(0x02).ReportCount(kCommandBytes).Output(B::kDataVariableAbsolute);
    // The LED report.
    b.ReportId(headset_led::kReportId).Usage(0x03).ReportCount(headset_led::kReportSize - 1);
    b.Output(B::kDataVariableAbsolute);
    b.EndCollection();
    return b.Bytes();
}

std::vector<EmulatedNodeLayout> CHeadsetModel::NodeLayouts() const {
    EmulatedNodeLayout node;
    node.port = EmulatedPort::Cable;
    node.vendorId = kVendorId;
    node.productId = kProductId;
    node.interfaceNumber = kInterfaceNumber;
    node.descriptor = Descriptor();
    node.collections = {{kConsumerPage, 0x01, {kKeyReportId, vendor::kReportId}}};
    node.answersProtocol = true;
    node.carriesNotifications = true;
    return {node};
}

void CHeadsetModel::OnOtherOutputReport(EmulatedPort /*port*/, std::span<const uint8_t> report) {
    namespace L = headset_led;
    if (report.size() < L::kReportSize || report[L::kOffsetReportId] != L::kReportId) return;
    const uint8_t group = report[L::kOffsetGroup];
    const auto layout = L::LayoutOfBlock(report[L::kOffsetBlock]);
    if ((group != L::kGroupA && group != L::kGroupB) || !layout) return;
    std::vector<uint8_t>& leds = *Area(kLeds);
    const size_t base = group == L::kGroupA ? 0 : kLedGroupSize;
    for (int i = 0; i < layout->ledCount; ++i) {
        const auto led = static_cast<size_t>(layout->firstLed + i);
        leds[base + 3 * led + static_cast<size_t>(layout->channel)] = report[L::kOffsetLevels + static_cast<size_t>(i)];
    }
    std::vector<uint8_t>& count = *Area(kLedReports);
    for (uint8_t& byte : count) {
        if (++byte != 0) break;  // carry into the next byte
    }
}

}  // namespace zevik
