#pragma once
// Our HID report-descriptor parser: it stands in for the HID class driver's parser on Windows, so its
// results follow that parser's conventions (report byte lengths include one byte for the report id
// even when the device uses none; a one-bit variable field or any array field is a button, other
// fields are values; link collection 0 is the top-level collection itself).
//
// Input is untrusted (it comes from the device): nesting, report sizes and item counts are bounded,
// long items are skipped, and a descriptor that breaks a bound or is truncated is refused as a whole.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace zevik {

enum class HidReportType : uint8_t { Input = 0, Output = 1, Feature = 2 };
inline constexpr size_t kHidReportTypeCount = 3;

// Parser status codes, with the HID class driver's numbers for the failures; success is 0.
namespace hid_status {
inline constexpr int32_t kSuccess = 0;
inline constexpr int32_t kNull = static_cast<int32_t>(0x80110001u);  // value is the field's null state
inline constexpr int32_t kInvalidReportType = static_cast<int32_t>(0xC0110002u);
inline constexpr int32_t kInvalidReportLength = static_cast<int32_t>(0xC0110003u);
inline constexpr int32_t kUsageNotFound = static_cast<int32_t>(0xC0110004u);
inline constexpr int32_t kValueOutOfRange = static_cast<int32_t>(0xC0110005u);
inline constexpr int32_t kBadLogPhyValues = static_cast<int32_t>(0xC0110006u);
inline constexpr int32_t kBufferTooSmall = static_cast<int32_t>(0xC0110007u);
inline constexpr int32_t kIncompatibleReportId = static_cast<int32_t>(0xC011000Au);
inline constexpr int32_t kReportDoesNotExist = static_cast<int32_t>(0xC0110010u);
}  // namespace hid_status

// One span of usages attached to a main item: a single usage (min == max, isRange false) or a range.
struct HidUsageSpan {
    uint16_t usagePage = 0;
    uint16_t usageMin = 0;
    uint16_t usageMax = 0;
    bool isRange = false;
};

// One main item (Input, Output or Feature) of the descriptor as laid out in its report.
struct HidMainField {
    HidReportType type = HidReportType::Input;
    uint8_t reportId = 0;
    uint16_t linkCollection = 0;
    uint16_t flags = 0;        // the main item's data bits (bit 0 constant, bit 1 variable, ...)
    uint32_t bitPosition = 0;  // first bit after the report id byte
    uint16_t bitSize = 0;      // Report Size
    uint16_t reportCount = 0;  // Report Count
    int32_t logicalMin = 0;
    int32_t logicalMax = 0;
    int32_t physicalMin = 0;
    int32_t physicalMax = 0;
    uint32_t unit = 0;
    uint32_t unitExponent = 0;
    std::vector<HidUsageSpan> usages;

    bool IsConstant() const { return (flags & 0x01u) != 0; }
    bool IsArray() const { return (flags & 0x02u) == 0; }
    bool IsAbsolute() const { return (flags & 0x04u) == 0; }
    bool HasNull() const { return (flags & 0x40u) != 0; }
    bool IsButton() const { return IsArray() || bitSize == 1; }
};

// One button or value capability, the unit the class driver's capability lists hand out.
struct HidCapability {
    uint16_t usagePage = 0;
    uint8_t reportId = 0;
    uint16_t bitField = 0;
    uint16_t linkCollection = 0;
    uint16_t linkUsagePage = 0;
    uint16_t linkUsage = 0;
    bool isRange = false;
    bool isAbsolute = true;
    bool isArray = false;  // a button capability of an array field (selectors)
    bool hasNull = false;
    uint16_t usageMin = 0;  // the usage when isRange is false
    uint16_t usageMax = 0;
    uint32_t bitPosition = 0;  // of the capability's first field, after the report id byte
    uint16_t bitSize = 0;
    uint16_t reportCount = 0;  // fields this capability covers (selectors for an array)
    int32_t logicalMin = 0;
    int32_t logicalMax = 0;
    int32_t physicalMin = 0;
    int32_t physicalMax = 0;
    uint32_t unit = 0;
    uint32_t unitExponent = 0;
    uint32_t fieldIndex = 0;  // into HidTopCollection::fields
};

struct HidLinkCollection {
    uint16_t usagePage = 0;
    uint16_t usage = 0;
    uint16_t parent = 0;
    uint8_t collectionType = 0;
};

// One top-level collection with everything the class driver's "preparsed data" holds for it.
struct HidTopCollection {
    uint16_t usagePage = 0;
    uint16_t usage = 0;
    std::vector<uint8_t> reportIds;                            // ascending; {0} when the device uses none
    std::array<uint16_t, kHidReportTypeCount> reportLength{};  // bytes, report id byte included
    std::vector<HidLinkCollection> linkCollections;            // [0] is the top-level collection itself
    std::vector<HidMainField> fields;
    std::array<std::vector<HidCapability>, kHidReportTypeCount> buttonCaps;
    std::array<std::vector<HidCapability>, kHidReportTypeCount> valueCaps;

    uint16_t ReportLength(HidReportType type) const { return reportLength[static_cast<size_t>(type)]; }
    const std::vector<HidCapability>& ButtonCaps(HidReportType type) const {
        return buttonCaps[static_cast<size_t>(type)];
    }
    const std::vector<HidCapability>& ValueCaps(HidReportType type) const {
        return valueCaps[static_cast<size_t>(type)];
    }
    bool UsesReportId(uint8_t id) const;
};

class HidReportDescriptor {
public:
    // Bounds that keep a hostile descriptor from exhausting memory or time.
    static constexpr size_t kMaxCollectionDepth = 32;
    static constexpr size_t kMaxGlobalStack = 16;
    static constexpr size_t kMaxMainItems = 2048;
    static constexpr size_t kMaxLocalUsages = 256;
    static constexpr size_t kMaxLinkCollections = 1024;
    static constexpr uint32_t kMaxReportBytes = 16384;  // the kernel's largest HID report

    // Parses a whole report descriptor. False (with a reason in error, when given) when it is
    // truncated, unbalanced or breaks a bound; the object is then empty.
    bool Parse(std::span<const uint8_t> descriptor, std::string* error = nullptr);

    const std::vector<HidTopCollection>& Collections() const { return collections_; }

private:
    std::vector<HidTopCollection> collections_;
};

// Extraction, the class driver's usage operations over one collection. report is a whole report of
// the collection: its first byte is the report id and its length is the collection's report length
// of that type. linkCollection 0 matches every link collection.

// Largest number of usages GetUsages can return at once for the page (0: every page).
uint32_t HidMaxUsageListLength(const HidTopCollection& collection, HidReportType type, uint16_t usagePage);

// The usages of the page that are on in the report. usageCount is the room in usages on entry and
// the number written on return.
int32_t HidGetUsages(const HidTopCollection& collection, HidReportType type, uint16_t usagePage,
                     uint16_t linkCollection, std::span<uint16_t> usages, uint32_t& usageCount,
                     std::span<const uint8_t> report);

// The raw bits of the value usage (the first field of a value array).
int32_t HidGetUsageValue(const HidTopCollection& collection, HidReportType type, uint16_t usagePage,
                         uint16_t linkCollection, uint16_t usage, uint32_t& value,
                         std::span<const uint8_t> report);

// The value usage mapped from its logical range onto its physical range (the logical range when no
// physical range is given).
int32_t HidGetScaledUsageValue(const HidTopCollection& collection, HidReportType type, uint16_t usagePage,
                               uint16_t linkCollection, uint16_t usage, int32_t& value,
                               std::span<const uint8_t> report);

}  // namespace zevik
