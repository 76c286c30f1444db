// The usage operations of the parsed descriptor: which buttons are on, what a value field holds.
#include <algorithm>

#include "transport/hid_report_descriptor.h"

namespace zevik {
namespace {

// Bits [bitPosition, bitPosition + bitSize) of the report's data (after the id byte), LSB first.
// The caller has checked that they lie inside the report.
uint32_t ReadBits(std::span<const uint8_t> report, uint32_t bitPosition, uint16_t bitSize) {
    uint32_t value = 0;
    const uint16_t take = std::min<uint16_t>(bitSize, 32);
    for (uint16_t i = 0; i < take; ++i) {
        const uint32_t bit = bitPosition + i;
        if ((report[1 + bit / 8] >> (bit % 8)) & 1u) value |= 1u << i;
    }
    return value;
}

bool FitsInReport(std::span<const uint8_t> report, uint32_t bitPosition, uint32_t bits) {
    return report.size() >= 1 && static_cast<uint64_t>(bitPosition) + bits <= (report.size() - 1) * 8ull;
}

int64_t SignExtend(uint32_t raw, uint16_t bitSize, bool isSigned) {
    if (!isSigned || bitSize == 0 || bitSize >= 32) return isSigned ? static_cast<int32_t>(raw) : raw;
    const uint32_t sign = 1u << (bitSize - 1);
    if (raw & sign) return static_cast<int64_t>(raw) - (static_cast<int64_t>(1) << bitSize);
    return raw;
}

// Checks common to every operation: the report type exists and the report has its length.
int32_t CheckReport(const HidTopCollection& collection, HidReportType type, std::span<const uint8_t> report) {
    const uint16_t length = collection.ReportLength(type);
    if (length == 0) return hid_status::kInvalidReportType;
    if (report.size() != length) return hid_status::kInvalidReportLength;
    return hid_status::kSuccess;
}

bool LinkMatches(uint16_t wanted, uint16_t actual) {
    return wanted == 0 || wanted == actual;
}

// The value capability of the usage in this report, or the status that explains why there is none.
int32_t FindValue(const HidTopCollection& collection, HidReportType type, uint16_t usagePage,
                  uint16_t linkCollection, uint16_t usage, std::span<const uint8_t> report,
                  const HidCapability*& found) {
    if (const int32_t status = CheckReport(collection, type, report); status != hid_status::kSuccess)
        return status;
    bool inOtherReport = false;
    for (const auto& cap : collection.ValueCaps(type)) {
        if (cap.usagePage != usagePage || usage < cap.usageMin || usage > cap.usageMax ||
            !LinkMatches(linkCollection, cap.linkCollection))
            continue;
        if (cap.reportId != report[0]) {
            inOtherReport = true;
            continue;
        }
        found = &cap;
        return hid_status::kSuccess;
    }
    return inOtherReport ? hid_status::kIncompatibleReportId : hid_status::kUsageNotFound;
}

// Usage number selectorIndex (counted over every span of the field, in order) when it is on usagePage.
bool ArrayUsage(const HidMainField& field, uint32_t selectorIndex, uint16_t usagePage, uint16_t& usage) {
    for (const auto& span : field.usages) {
        const uint32_t count = static_cast<uint32_t>(span.usageMax - span.usageMin) + 1;
        if (selectorIndex < count) {
            if (span.usagePage != usagePage) return false;
            usage = static_cast<uint16_t>(span.usageMin + selectorIndex);
            return true;
        }
        selectorIndex -= count;
    }
    return false;
}

}  // namespace

uint32_t HidMaxUsageListLength(const HidTopCollection& collection, HidReportType type, uint16_t usagePage) {
    uint64_t total = 0;
    const HidMainField* lastArray = nullptr;
    for (const auto& cap : collection.ButtonCaps(type)) {
        if (usagePage != 0 && cap.usagePage != usagePage) continue;
        if (cap.isArray) {
            // An array's selectors are shared by all its spans: count them once per field.
            const HidMainField* field = &collection.fields[cap.fieldIndex];
            if (field != lastArray) total += cap.reportCount;
            lastArray = field;
        } else {
            total += cap.reportCount;
        }
    }
    return static_cast<uint32_t>(std::min<uint64_t>(total, 0xFFFFFFFFu));
}

int32_t HidGetUsages(const HidTopCollection& collection, HidReportType type, uint16_t usagePage,
                     uint16_t linkCollection, std::span<uint16_t> usages, uint32_t& usageCount,
                     std::span<const uint8_t> report) {
    const uint32_t room = std::min<uint64_t>(usageCount, usages.size());
    usageCount = 0;
    if (const int32_t status = CheckReport(collection, type, report); status != hid_status::kSuccess)
        return status;

    bool pageFound = false;
    bool reportFound = false;
    bool overflow = false;
    auto emit = [&](uint16_t usage) {
        if (usage == 0) return;  // usage 0 of an array means "no event"
        if (usageCount < room) {
            usages[usageCount++] = usage;
        } else {
            overflow = true;
        }
    };
    const HidMainField* lastArray = nullptr;
    for (const auto& cap : collection.ButtonCaps(type)) {
        if (cap.usagePage != usagePage || !LinkMatches(linkCollection, cap.linkCollection)) continue;
        pageFound = true;
        if (cap.reportId != report[0]) continue;
        reportFound = true;
        const HidMainField& field = collection.fields[cap.fieldIndex];
        if (!cap.isArray) {
            if (!FitsInReport(report, cap.bitPosition, cap.reportCount)) continue;
            for (uint32_t i = 0; i < cap.reportCount; ++i) {
                if (ReadBits(report, cap.bitPosition + i, 1)) emit(static_cast<uint16_t>(cap.usageMin + i));
            }
            continue;
        }
        if (&field == lastArray) continue;  // the field's selectors were read with its first span
        lastArray = &field;
        if (!FitsInReport(report, field.bitPosition,
                          static_cast<uint32_t>(field.bitSize) * field.reportCount))
            continue;
        for (uint32_t i = 0; i < field.reportCount; ++i) {
            const int64_t selector =
                SignExtend(ReadBits(report, field.bitPosition + i * field.bitSize, field.bitSize),
                           field.bitSize, field.logicalMin < 0);
            if (selector < field.logicalMin || selector > field.logicalMax)
                continue;  // out of range: nothing
            uint16_t usage = 0;
            if (ArrayUsage(field, static_cast<uint32_t>(selector - field.logicalMin), usagePage, usage))
                emit(usage);
        }
    }
    if (!pageFound) return hid_status::kUsageNotFound;
    if (!reportFound) return hid_status::kIncompatibleReportId;
    return overflow ? hid_status::kBufferTooSmall : hid_status::kSuccess;
}

int32_t HidGetUsageValue(const HidTopCollection& collection, HidReportType type, uint16_t usagePage,
                         uint16_t linkCollection, uint16_t usage, uint32_t& value,
                         std::span<const uint8_t> report) {
    const HidCapability* cap = nullptr;
    if (const int32_t status = FindValue(collection, type, usagePage, linkCollection, usage, report, cap);
        status != hid_status::kSuccess)
        return status;
    const uint32_t position = cap->bitPosition + static_cast<uint32_t>(usage - cap->usageMin) * cap->bitSize;
    if (!FitsInReport(report, position, cap->bitSize)) return hid_status::kInvalidReportLength;
    value = ReadBits(report, position, cap->bitSize);
    return hid_status::kSuccess;
}

int32_t HidGetScaledUsageValue(const HidTopCollection& collection, HidReportType type, uint16_t usagePage,
                               uint16_t linkCollection, uint16_t usage, int32_t& value,
                               std::span<const uint8_t> report) {
    const HidCapability* cap = nullptr;
    if (const int32_t status = FindValue(collection, type, usagePage, linkCollection, usage, report, cap);
        status != hid_status::kSuccess)
        return status;
    const int64_t logicalMin = cap->logicalMin;
    const int64_t logicalMax = cap->logicalMax;
    int64_t physicalMin = cap->physicalMin;
    int64_t physicalMax = cap->physicalMax;
    if (physicalMin == 0 && physicalMax == 0) {
        physicalMin = logicalMin;
        physicalMax = logicalMax;
    }
    if (logicalMin >= logicalMax || physicalMin > physicalMax) return hid_status::kBadLogPhyValues;

    const uint32_t position = cap->bitPosition + static_cast<uint32_t>(usage - cap->usageMin) * cap->bitSize;
    if (!FitsInReport(report, position, cap->bitSize)) return hid_status::kInvalidReportLength;
    const int64_t raw = SignExtend(ReadBits(report, position, cap->bitSize), cap->bitSize, logicalMin < 0);
    if (raw < logicalMin || raw > logicalMax) {
        value = 0;
        return cap->hasNull ? hid_status::kNull : hid_status::kValueOutOfRange;
    }
    // Both factors can need 33 bits; long double holds their product exactly.
    const long double scaled =
        static_cast<long double>(physicalMin) + static_cast<long double>(raw - logicalMin) *
                                                    static_cast<long double>(physicalMax - physicalMin) /
                                                    static_cast<long double>(logicalMax - logicalMin);
    value = static_cast<int32_t>(std::clamp<long double>(scaled, INT32_MIN, INT32_MAX));
    return hid_status::kSuccess;
}

}  // namespace zevik
