#pragma once
// CHidDescriptorBuilder: writes HID report descriptors item by item (USB HID 1.11, section 6.2.2), so
// the emulated devices describe themselves with the same bytes a real device would send. Each item is
// written in its shortest form; logical minimum and maximum are signed, everything else unsigned.

#include <cstdint>
#include <vector>

namespace zevik {

class CHidDescriptorBuilder {
public:
    // Collection types.
    static constexpr uint8_t kPhysical = 0x00;
    static constexpr uint8_t kApplication = 0x01;
    // Main item flags (bit 0 constant, bit 1 variable, bit 2 relative).
    static constexpr uint8_t kDataArrayAbsolute = 0x00;
    static constexpr uint8_t kConstant = 0x01;
    static constexpr uint8_t kDataVariableAbsolute = 0x02;
    static constexpr uint8_t kDataVariableRelative = 0x06;

    CHidDescriptorBuilder& UsagePage(uint16_t page);
    CHidDescriptorBuilder& Usage(uint16_t usage);
    CHidDescriptorBuilder& UsageMinimum(uint16_t usage);
    CHidDescriptorBuilder& UsageMaximum(uint16_t usage);
    CHidDescriptorBuilder& LogicalMinimum(int32_t value);
    CHidDescriptorBuilder& LogicalMaximum(int32_t value);
    CHidDescriptorBuilder& ReportSize(uint32_t bits);
    CHidDescriptorBuilder& ReportCount(uint32_t count);
    CHidDescriptorBuilder& ReportId(uint8_t id);
    CHidDescriptorBuilder& Collection(uint8_t type);
    CHidDescriptorBuilder& EndCollection();
    CHidDescriptorBuilder& Input(uint8_t flags);
    CHidDescriptorBuilder& Output(uint8_t flags);
    CHidDescriptorBuilder& Feature(uint8_t flags);

    const std::vector<uint8_t>& Bytes() const { return bytes_; }

private:
    // tagAndType: the prefix byte without its size bits.
    void Unsigned(uint8_t tagAndType, uint32_t value);
    void Signed(uint8_t tagAndType, int32_t value);
    void Emit(uint8_t tagAndType, uint32_t value, int size);

    std::vector<uint8_t> bytes_;
};

}  // namespace zevik
