#include "transport/vendor_report.h"

namespace zevik::vendor {
namespace {

uint8_t Low(uint16_t value) { return static_cast<uint8_t>(value & 0xFF); }
uint8_t High(uint16_t value) { return static_cast<uint8_t>(value >> 8); }

}  // namespace

uint16_t Checksum(std::span<const uint8_t> report) {
    uint32_t sum = 0;
    for (size_t i = kChecksumFirst; i < report.size() && i < kReportSize; ++i) sum += report[i];
    return static_cast<uint16_t>(sum & 0xFFFF);
}

void StoreChecksum(Report& report) {
    const uint16_t sum = Checksum(report);
    report[kOffsetChecksumLow] = Low(sum);
    report[kOffsetChecksumHigh] = High(sum);
}

bool ChecksumMatches(std::span<const uint8_t> report) {
    if (report.size() <= kOffsetChecksumHigh) return false;
    const uint16_t sum = Checksum(report);
    return report[kOffsetChecksumLow] == Low(sum) && report[kOffsetChecksumHigh] == High(sum);
}

uint16_t Crc16Modbus(std::span<const uint8_t> data) {
    uint16_t crc = 0xFFFF;
    for (const uint8_t byte : data) {
        crc ^= byte;
        for (int bit = 0; bit < 8; ++bit) {
            const bool lsb = (crc & 1U) != 0;
            crc = static_cast<uint16_t>(crc >> 1);
            if (lsb) crc ^= 0xA001;
        }
    }
    return crc;
}

uint16_t ReportCrc(std::span<const uint8_t> report) {
    Report padded{};
    for (size_t i = 0; i < report.size() && i < kReportSize; ++i) padded[i] = report[i];
    return Crc16Modbus(std::span<const uint8_t>(padded).subspan(kCrcFirst, kCrcLast - kCrcFirst + 1));
}

void StoreCrc(Report& report) {
    const uint16_t crc = ReportCrc(report);
    report[kOffsetChecksumLow] = Low(crc);
    report[kOffsetChecksumHigh] = High(crc);
}

bool CrcMatches(std::span<const uint8_t> report) {
    if (report.size() <= kOffsetChecksumHigh) return false;
    const uint16_t crc = ReportCrc(report);
    return report[kOffsetChecksumLow] == Low(crc) && report[kOffsetChecksumHigh] == High(crc);
}

Report MakeRequest(uint8_t command) {
    Report report{};
    report[kOffsetReportId] = kReportId;
    report[kOffsetCommand] = command;
    return report;
}

}  // namespace zevik::vendor
