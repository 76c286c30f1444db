#pragma once
// An audio device of the configuration library, as the library hands it out and takes it back.

#include <cstdint>

namespace zevik {

// Data flow of a device: 0 playback, 1 capture.
enum class AudioDataFlow : std::int32_t { Playback = 0, Capture = 1 };

struct AudioDeviceInfo {
    // Endpoint types the library reports for a headset: its headphones and its microphone.
    static constexpr std::int32_t kHeadphones = 1;
    static constexpr std::int32_t kMicrophone = 2;
    static constexpr std::int32_t kUsable = 1;

    std::int32_t id = 0;  // opaque; never 0 for a device the library listed
    std::int32_t endpointType = 0;
    std::int32_t reserved = 0;  // opaque
    std::int32_t state = 0;     // 1: usable

    friend bool operator==(const AudioDeviceInfo&, const AudioDeviceInfo&) = default;
};
static_assert(sizeof(AudioDeviceInfo) == 16);

}  // namespace zevik
