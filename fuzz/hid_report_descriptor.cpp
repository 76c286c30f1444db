// Fuzzes the report-descriptor parser and the usage extraction over reports of the parsed layout.
// Input: two bytes of descriptor length (little-endian), the descriptor, then report bytes.
#include "transport/hid_report_descriptor.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

using namespace zevik;

namespace {

void Extract(const HidTopCollection& collection, HidReportType type, std::span<const uint8_t> tail) {
    const uint16_t length = collection.ReportLength(type);
    if (length == 0) return;
    // One report of exactly the collection's length, its id taken from the collection's ids.
    std::vector<uint8_t> report(length, 0);
    std::copy_n(tail.begin(), std::min<size_t>(tail.size(), length), report.begin());
    if (!collection.reportIds.empty())
        report[0] = collection.reportIds[report[0] % collection.reportIds.size()];

    const uint32_t most = std::min<uint32_t>(HidMaxUsageListLength(collection, type, 0), 4096);
    std::vector<uint16_t> usages(most);
    size_t calls = 0;
    for (const auto& cap : collection.ButtonCaps(type)) {
        if (++calls > 256) break;
        uint32_t count = most;
        HidGetUsages(collection, type, cap.usagePage, cap.linkCollection, usages, count, report);
    }
    for (const auto& cap : collection.ValueCaps(type)) {
        if (++calls > 512) break;
        for (uint32_t usage = cap.usageMin; usage <= cap.usageMax && usage < cap.usageMin + 4u; ++usage) {
            uint32_t raw = 0;
            int32_t scaled = 0;
            HidGetUsageValue(collection, type, cap.usagePage, 0, static_cast<uint16_t>(usage), raw, report);
            HidGetScaledUsageValue(collection, type, cap.usagePage, cap.linkCollection,
                                   static_cast<uint16_t>(usage), scaled, report);
        }
    }
    // A report of the wrong length is refused, never read past.
    report.pop_back();
    uint32_t count = most;
    HidGetUsages(collection, type, 0x09, 0, usages, count, report);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) return 0;
    const size_t descriptorLength = std::min<size_t>(size - 2, data[0] | (data[1] << 8));
    const std::span<const uint8_t> descriptorBytes(data + 2, descriptorLength);
    const std::span<const uint8_t> tail(data + 2 + descriptorLength, size - 2 - descriptorLength);

    HidReportDescriptor descriptor;
    if (!descriptor.Parse(descriptorBytes)) return 0;
    for (const auto& collection : descriptor.Collections()) {
        for (size_t type = 0; type < kHidReportTypeCount; ++type)
            Extract(collection, static_cast<HidReportType>(type), tail);
    }
    return 0;
}
