#pragma once
// The headset's LED report: one 17-byte HID output report (report id 0xFF) that sets one colour
// channel of one half of the headset's 13 LEDs in one of its two LED groups. A whole frame is twelve
// reports. The device takes them as control transfers (SET_REPORT), outside the command protocol.
//
// Layout:
//   byte 0      report id, 0xFF
//   byte 1      LED group: 0x22 or 0x44
//   byte 2      register block: 0xAA red, 0xAB green, 0xAC blue of LEDs 0-6;
//                               0xAD red, 0xAE green, 0xAF blue of LEDs 7-12
//   byte 3      0
//   bytes 4-10  one level per LED of the block, in LED order (the 7-12 blocks leave byte 10 at 0)
//   bytes 11-16 0
// Levels are 0-247: the LEDs are driven no higher.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace zevik::headset_led {

inline constexpr std::size_t kReportSize = 17;
inline constexpr std::uint8_t kReportId = 0xFF;

inline constexpr std::size_t kOffsetReportId = 0;
inline constexpr std::size_t kOffsetGroup = 1;
inline constexpr std::size_t kOffsetBlock = 2;
inline constexpr std::size_t kOffsetLevels = 4;

inline constexpr int kLedCount = 13;
inline constexpr int kLowBlockLeds = 7;   // LEDs 0-6
inline constexpr int kHighBlockLeds = 6;  // LEDs 7-12
inline constexpr std::uint8_t kMaxLevel = 247;

inline constexpr std::uint8_t kGroupA = 0x22;
inline constexpr std::uint8_t kGroupB = 0x44;

inline constexpr std::uint8_t kRedLow = 0xAA;
inline constexpr std::uint8_t kGreenLow = 0xAB;
inline constexpr std::uint8_t kBlueLow = 0xAC;
inline constexpr std::uint8_t kRedHigh = 0xAD;
inline constexpr std::uint8_t kGreenHigh = 0xAE;
inline constexpr std::uint8_t kBlueHigh = 0xAF;

inline constexpr std::size_t kReportsPerFrame = 12;

using Report = std::array<std::uint8_t, kReportSize>;

// One LED's levels (each limited to kMaxLevel when a report is built).
struct LedLevels {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
};

// What a register block holds: colour channel 0 red, 1 green, 2 blue; its first LED and LED count.
struct BlockLayout {
    int channel = 0;
    int firstLed = 0;
    int ledCount = 0;
};

// Nullopt for a byte that is no register block.
std::optional<BlockLayout> LayoutOfBlock(std::uint8_t block);

// The report of one group and block over the levels of LEDs 0-12 (missing LEDs count as dark).
Report MakeReport(std::uint8_t group, std::uint8_t block, std::span<const LedLevels> leds);

// A whole frame in the order the headset takes it: red (group 0x22 low, high; group 0x44 low,
// high), then green, then blue.
std::array<Report, kReportsPerFrame> MakeFrame(std::span<const LedLevels> leds);

}  // namespace zevik::headset_led
