#pragma once
// The vendor report: every request and every answer of the command protocol is one 64-byte HID report
// with report id 4. This header is the one place that knows its layout, its additive checksum and the
// CRC-16 of the protected exchange; the host side (command channel, command set) and the device
// emulator both use it, so the two sides cannot drift apart.
//
// Layout (request / answer):
//   byte 0      report id, always 4
//   bytes 1, 2  checksum (or CRC in the protected exchange), low byte first
//   byte 3      command code / the command being answered; 0xAA from a receiver that cannot serve
//   byte 4      payload length of this report (chunked transfers) or a parameter
//   bytes 5, 6  transfer address (low, high) or parameters
//   byte 7      0 in a request; the device's status in an answer (0xFF, 0xFE = failure)
//   bytes 8-63  payload: at most 56 bytes

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace zevik::vendor {

inline constexpr size_t kReportSize = 64;
inline constexpr uint8_t kReportId = 4;

inline constexpr size_t kOffsetReportId = 0;
inline constexpr size_t kOffsetChecksumLow = 1;
inline constexpr size_t kOffsetChecksumHigh = 2;
inline constexpr size_t kOffsetCommand = 3;
inline constexpr size_t kOffsetLength = 4;       // chunk payload length, or a parameter
inline constexpr size_t kOffsetAddressLow = 5;   // chunk address low byte, or a parameter
inline constexpr size_t kOffsetAddressHigh = 6;  // chunk address high byte, or a parameter
inline constexpr size_t kOffsetStatus = 7;       // 0 in requests; device status in answers
inline constexpr size_t kOffsetPayload = 8;
inline constexpr size_t kMaxPayload = kReportSize - kOffsetPayload;  // 56

// The additive checksum covers bytes 3..63; the protected exchange's CRC covers bytes 3..31.
inline constexpr size_t kChecksumFirst = 3;
inline constexpr size_t kCrcFirst = 3;
inline constexpr size_t kCrcLast = 31;

// Status bytes of an answer that mean failure.
inline constexpr uint8_t kStatusFailed = 0xFF;
inline constexpr uint8_t kStatusRejected = 0xFE;
// Command byte of a receiver's answer when the device behind it cannot be reached.
inline constexpr uint8_t kReceiverCannotServe = 0xAA;

// Command codes.
inline constexpr uint8_t kCmdBeginConfig = 0x01;
inline constexpr uint8_t kCmdEndConfig = 0x02;
inline constexpr uint8_t kCmdReadDeviceInfo = 0x03;
inline constexpr uint8_t kCmdReadMemory = 0x05;
inline constexpr uint8_t kCmdWriteMemory = 0x06;
inline constexpr uint8_t kCmdReadKeyTable = 0x07;
inline constexpr uint8_t kCmdWriteKeyTable = 0x09;
inline constexpr uint8_t kCmdReadKeyColors = 0x0A;
inline constexpr uint8_t kCmdWriteKeyColors = 0x0B;
inline constexpr uint8_t kCmdStreamLights = 0x12;
inline constexpr uint8_t kCmdWriteMacroImage = 0x15;
inline constexpr uint8_t kCmdWriteRecoilData = 0x17;
inline constexpr uint8_t kCmdReadStatus = 0x1A;
inline constexpr uint8_t kCmdReadLedIndexTable = 0x1B;
inline constexpr uint8_t kCmdNotifyLightControl = 0x1C;
inline constexpr uint8_t kCmdWriteKeyTable2 = 0x27;
inline constexpr uint8_t kCmdQueryReceiverLink = 0xAA;

using Report = std::array<uint8_t, kReportSize>;

// 16-bit sum of bytes 3..63 (carry beyond 16 bits dropped). Reports shorter than 64 bytes count as
// zero-padded.
uint16_t Checksum(std::span<const uint8_t> report);
// Writes Checksum(report) into bytes 1 and 2, low byte first.
void StoreChecksum(Report& report);
// True when bytes 1 and 2 hold the checksum of the report.
bool ChecksumMatches(std::span<const uint8_t> report);

// CRC-16/MODBUS: reflected polynomial 0xA001, initial 0xFFFF, no final inversion.
uint16_t Crc16Modbus(std::span<const uint8_t> data);
// CRC-16/MODBUS over bytes 3..31 of a report.
uint16_t ReportCrc(std::span<const uint8_t> report);
// Writes ReportCrc(report) into bytes 1 and 2, low byte first (replacing the checksum).
void StoreCrc(Report& report);
// True when both bytes 1 and 2 hold the report's CRC.
bool CrcMatches(std::span<const uint8_t> report);

// A zeroed request with the report id and the command code set.
Report MakeRequest(uint8_t command);

}  // namespace zevik::vendor
