#pragma once
// IAudioConfLibrary: the entry points of the headset's audio configuration library, as the headset
// calls them. Results: 0 on success, anything else is a failure.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <variant>

#include "audio/audio_device_info.h"

namespace zevik {

enum class PropertyAccess { Read = 0, Write = 1 };

// The value of one property exchange: a write passes binary (a 32-bit integer, or a float for the
// scalar volumes); a successful read leaves its text, a failed one an empty text.
struct PropertyValue {
    std::variant<std::int32_t, float> binary = std::int32_t{0};
    std::string text;
};

class IAudioConfLibrary {
public:
    static constexpr int kOk = 0;

    virtual ~IAudioConfLibrary() = default;
    virtual int ConfLibInit() = 0;
    virtual int CreateDeviceList() = 0;
    virtual int GetDeviceCount(AudioDataFlow flow, std::int32_t* count) const = 0;
    virtual int GetDeviceById(AudioDataFlow flow, std::int32_t index, AudioDeviceInfo* info) const = 0;
    // selector: the second buffer's 32-bit words (empty when none); its first word is the channel.
    virtual int PropertyControl(const AudioDeviceInfo& device, std::string_view property,
                                PropertyValue& value, std::span<const std::int32_t> selector,
                                PropertyAccess access) = 0;
};

}  // namespace zevik
