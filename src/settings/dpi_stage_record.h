#pragma once
// One sensitivity stage of the mouse: an element of "DPIStages"."StageDPIs". The settings block of
// the mouse holds six of these back to back, so the 9-byte layout is fixed.

#include <cstdint>

namespace zevik {

struct DpiStageRecord {
    std::uint8_t enabled = 0;   // 0    "StageActive" of the element: 1 enabled
    std::uint8_t xy = 0;        // 1    "StageXY": X and Y set apart
    std::uint8_t dpiX[2] = {};  // 2-3  "StageDPIX", 50-26000, low byte first
    std::uint8_t dpiY[2] = {};  // 4-5  "StageDPIY", low byte first
    std::uint8_t red = 0;       // 6    "StageColorR"
    std::uint8_t green = 0;     // 7    "StageColorG"
    std::uint8_t blue = 0;      // 8    "StageColorB"

    std::uint16_t DpiX() const { return static_cast<std::uint16_t>(dpiX[0] | dpiX[1] << 8); }
    std::uint16_t DpiY() const { return static_cast<std::uint16_t>(dpiY[0] | dpiY[1] << 8); }
    void SetDpiX(std::uint16_t v) {
        dpiX[0] = static_cast<std::uint8_t>(v);
        dpiX[1] = static_cast<std::uint8_t>(v >> 8);
    }
    void SetDpiY(std::uint16_t v) {
        dpiY[0] = static_cast<std::uint8_t>(v);
        dpiY[1] = static_cast<std::uint8_t>(v >> 8);
    }

    friend bool operator==(const DpiStageRecord&, const DpiStageRecord&) = default;
};
static_assert(sizeof(DpiStageRecord) == 9);

}  // namespace zevik
