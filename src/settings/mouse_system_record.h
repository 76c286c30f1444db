#pragma once
// The mouse's system settings: nine 32-bit words packed from 16-bit halves, low half first.
//
//   word  low half             high half
//   0     "DoubleClickTime"    "MouseSpeed"
//   1     "PointerPrecision"   "ScorllPage"
//   2     "WheelScorlllinse"   "ReportStages"."StageActive"
//   3     "DormancyTime"       0
//   4     "AntiShake"          "SilentAltitudeItem"
//   5     "SensorLif" (low byte) "MotionSync"
//   6     "LinearCalibration"  "KeyDelay"
//   7     "DeepSleepOff"       "sleeptime"
//   8     "sleeptimeH"         none

#include <array>
#include <cstdint>

namespace zevik {

struct MouseSystemRecord {
    std::array<std::uint32_t, 9> words {};

    std::uint16_t Low(int word) const { return static_cast<std::uint16_t>(words[static_cast<std::size_t>(word)]); }
    std::uint16_t High(int word) const {
        return static_cast<std::uint16_t>(words[static_cast<std::size_t>(word)] >> 16);
    }
    void SetLow(int word, std::uint16_t v) {
        auto& w = words[static_cast<std::size_t>(word)];
        w = (w & 0xFFFF0000u) | v;
    }
    void SetHigh(int word, std::uint16_t v) {
        auto& w = words[static_cast<std::size_t>(word)];
        w = (w & 0x0000FFFFu) | static_cast<std::uint32_t>(v) << 16;
    }

    std::uint16_t DoubleClickTime() const { return Low(0); }
    std::uint16_t MouseSpeed() const { return High(0); }
    std::uint16_t PointerPrecision() const { return Low(1); }
    std::uint16_t ScrollPage() const { return High(1); }
    std::uint16_t WheelScrollLines() const { return Low(2); }
    std::uint16_t ReportRate() const { return High(2); }
    std::uint16_t DormancyTime() const { return Low(3); }
    std::uint16_t AntiShake() const { return Low(4); }
    std::uint16_t SilentAltitudeItem() const { return High(4); }
    std::uint8_t SensorLif() const { return static_cast<std::uint8_t>(Low(5)); }
    std::uint16_t MotionSync() const { return High(5); }
    std::uint16_t LinearCalibration() const { return Low(6); }
    std::uint16_t KeyDelay() const { return High(6); }
    std::uint16_t DeepSleepOff() const { return Low(7); }
    std::uint16_t SleepTime() const { return High(7); }
    std::uint16_t SleepTimeH() const { return Low(8); }

    void SetDoubleClickTime(std::uint16_t v) { SetLow(0, v); }
    void SetMouseSpeed(std::uint16_t v) { SetHigh(0, v); }
    void SetPointerPrecision(std::uint16_t v) { SetLow(1, v); }
    void SetScrollPage(std::uint16_t v) { SetHigh(1, v); }
    void SetWheelScrollLines(std::uint16_t v) { SetLow(2, v); }
    void SetReportRate(std::uint16_t v) { SetHigh(2, v); }
    void SetDormancyTime(std::uint16_t v) { SetLow(3, v); }
    void SetAntiShake(std::uint16_t v) { SetLow(4, v); }
    void SetSilentAltitudeItem(std::uint16_t v) { SetHigh(4, v); }
    void SetSensorLif(std::uint8_t v) { SetLow(5, v); }
    void SetMotionSync(std::uint16_t v) { SetHigh(5, v); }
    void SetLinearCalibration(std::uint16_t v) { SetLow(6, v); }
    void SetKeyDelay(std::uint16_t v) { SetHigh(6, v); }
    void SetDeepSleepOff(std::uint16_t v) { SetLow(7, v); }
    void SetSleepTime(std::uint16_t v) { SetHigh(7, v); }
    void SetSleepTimeH(std::uint16_t v) { words[8] = v; }

    friend bool operator==(const MouseSystemRecord&, const MouseSystemRecord&) = default;
};
static_assert(sizeof(MouseSystemRecord) == 36);

}  // namespace zevik
