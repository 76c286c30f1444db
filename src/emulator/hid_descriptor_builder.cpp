#include "emulator/hid_descriptor_builder.h"

namespace zevik {
namespace {

// Prefix bytes (tag and type, size bits clear).
constexpr uint8_t kInput = 0x80;
constexpr uint8_t kOutput = 0x90;
constexpr uint8_t kCollection = 0xA0;
constexpr uint8_t kFeature = 0xB0;
constexpr uint8_t kEndCollection = 0xC0;
constexpr uint8_t kUsagePage = 0x04;
constexpr uint8_t kLogicalMinimum = 0x14;
constexpr uint8_t kLogicalMaximum = 0x24;
constexpr uint8_t kReportSize = 0x74;
constexpr uint8_t kReportId = 0x84;
constexpr uint8_t kReportCount = 0x94;
constexpr uint8_t kUsage = 0x08;
constexpr uint8_t kUsageMinimum = 0x18;
constexpr uint8_t kUsageMaximum = 0x28;

}  // namespace

CHidDescriptorBuilder& CHidDescriptorBuilder::UsagePage(uint16_t page) {
    Unsigned(kUsagePage, page);
    return *this;
}
CHidDescriptorBuilder& CHidDescriptorBuilder::Usage(uint16_t usage) {
    Unsigned(kUsage, usage);
    return *this;
}
CHidDescriptorBuilder& CHidDescriptorBuilder::UsageMinimum(uint16_t usage) {
    Unsigned(kUsageMinimum, usage);
    return *this;
}
CHidDescriptorBuilder& CHidDescriptorBuilder::UsageMaximum(uint16_t usage) {
    Unsigned(kUsageMaximum, usage);
    return *this;
}
CHidDescriptorBuilder& CHidDescriptorBuilder::LogicalMinimum(int32_t value) {
    Signed(kLogicalMinimum, value);
    return *this;
}
CHidDescriptorBuilder& CHidDescriptorBuilder::LogicalMaximum(int32_t value) {
    Signed(kLogicalMaximum, value);
    return *this;
}
CHidDescriptorBuilder& CHidDescriptorBuilder::ReportSize(uint32_t bits) {
    Unsigned(kReportSize, bits);
    return *this;
}
CHidDescriptorBuilder& CHidDescriptorBuilder::ReportCount(uint32_t count) {
    Unsigned(kReportCount, count);
    return *this;
}
CHidDescriptorBuilder& CHidDescriptorBuilder::ReportId(uint8_t id) {
    Unsigned(kReportId, id);
    return *this;
}
CHidDescriptorBuilder& CHidDescriptorBuilder::Collection(uint8_t type) {
    Emit(kCollection, type, 1);
    return *this;
}
CHidDescriptorBuilder& CHidDescriptorBuilder::EndCollection() {
    Emit(kEndCollection, 0, 0);
    return *this;
}
CHidDescriptorBuilder& CHidDescriptorBuilder::Input(uint8_t flags) {
    Emit(kInput, flags, 1);
    return *this;
}
CHidDescriptorBuilder& CHidDescriptorBuilder::Output(uint8_t flags) {
    Emit(kOutput, flags, 1);
    return *this;
}
CHidDescriptorBuilder& CHidDescriptorBuilder::Feature(uint8_t flags) {
    Emit(kFeature, flags, 1);
    return *this;
}

void CHidDescriptorBuilder::Unsigned(uint8_t tagAndType, uint32_t value) {
    Emit(tagAndType, value, value <= 0xFF ? 1 : value <= 0xFFFF ? 2 : 4);
}

void CHidDescriptorBuilder::Signed(uint8_t tagAndType, int32_t value) {
    const int size = (value >= -128 && value <= 127) ? 1 : (value >= -32768 && value <= 32767) ? 2 : 4;
    Emit(tagAndType, static_cast<uint32_t>(value), size);
}

void CHidDescriptorBuilder::Emit(uint8_t tagAndType, uint32_t value, int size) {
    const uint8_t sizeCode = size == 4 ? 3 : static_cast<uint8_t>(size);
    bytes_.push_back(static_cast<uint8_t>(tagAndType | sizeCode));
    for (int i = 0; i < size; ++i) bytes_.push_back(static_cast<uint8_t>((value >> (8 * i)) & 0xFF));
}

}  // namespace zevik
