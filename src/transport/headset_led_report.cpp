#include "transport/headset_led_report.h"

#include <algorithm>

namespace zevik::headset_led {

static_assert(kOffsetLevels + kLowBlockLeds <= kReportSize);
static_assert(kLowBlockLeds + kHighBlockLeds == kLedCount);

std::optional<BlockLayout> LayoutOfBlock(std::uint8_t block) {
    switch (block) {
        case kRedLow: return BlockLayout{0, 0, kLowBlockLeds};
        case kGreenLow: return BlockLayout{1, 0, kLowBlockLeds};
        case kBlueLow: return BlockLayout{2, 0, kLowBlockLeds};
        case kRedHigh: return BlockLayout{0, kLowBlockLeds, kHighBlockLeds};
        case kGreenHigh: return BlockLayout{1, kLowBlockLeds, kHighBlockLeds};
        case kBlueHigh: return BlockLayout{2, kLowBlockLeds, kHighBlockLeds};
        default: return std::nullopt;
    }
}

Report MakeReport(std::uint8_t group, std::uint8_t block, std::span<const LedLevels> leds) {
    Report report{};
    report[kOffsetReportId] = kReportId;
    report[kOffsetGroup] = group;
    report[kOffsetBlock] = block;
    const auto layout = LayoutOfBlock(block);
    if (!layout) return report;
    for (int i = 0; i < layout->ledCount; ++i) {
        const auto led = static_cast<std::size_t>(layout->firstLed + i);
        if (led >= leds.size()) break;
        const LedLevels& levels = leds[led];
        const std::uint8_t level = layout->channel == 0 ? levels.red : layout->channel == 1 ? levels.green : levels.blue;
        report[kOffsetLevels + static_cast<std::size_t>(i)] = std::min(level, kMaxLevel);
    }
    return report;
}

std::array<Report, kReportsPerFrame> MakeFrame(std::span<const LedLevels> leds) {
    static constexpr std::array<std::array<std::uint8_t, 2>, 3> kBlocks{{
        {kRedLow, kRedHigh},
        {kGreenLow, kGreenHigh},
        {kBlueLow, kBlueHigh},
    }};
    std::array<Report, kReportsPerFrame> frame{};
    std::size_t next = 0;
    for (const auto& channel : kBlocks) {
        for (const std::uint8_t group : {kGroupA, kGroupB}) {
            for (const std::uint8_t block : channel) frame[next++] = MakeReport(group, block, leds);
        }
    }
    return frame;
}

}  // namespace zevik::headset_led
