#pragma once
// The headset's audio settings ("SystemSetStages"): eight signed 32-bit values in key order.

#include <cstdint>

namespace zevik {

struct HeadsetSystemRecord {
    std::int32_t magicEnable = 0;         // "MagicEnable": voice changer on
    std::int32_t magicType = 0;           // "MagicType": voice type 1-4
    std::int32_t eqType = 0;              // "EqType": preset 1-12, 13 for a custom equaliser
    std::int32_t customEqSeletIndex = 0;  // "CustomEqSeletIndex": selected custom equaliser
    std::int32_t micInSelect = 0;         // "MicInSelect": 1 when the microphone is not muted
    std::int32_t micInValue = 0;          // "MicInValue": microphone level 0-100
    std::int32_t micMoniterSelect = 0;    // "MicMoniterSelect": 1 when monitoring is not muted
    std::int32_t micMoniterValue = 0;     // "MicMoniterValue": monitoring level 0-100

    friend bool operator==(const HeadsetSystemRecord&, const HeadsetSystemRecord&) = default;
};
static_assert(sizeof(HeadsetSystemRecord) == 32);

}  // namespace zevik
