#pragma once
// CHeadsetAudioEndpoints: the headset's two audio devices in the configuration library, the
// playback device (headphones) and the capture device (microphone), and the property exchanges with
// them. A device that was not found is never addressed: every exchange with it fails, so no call can
// reach the library with an empty device record.

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>

#include "audio/audio_conf_entry_points.h"

namespace zevik {

class CHeadsetAudioEndpoints {
public:
    // Feature mask bit of the capture device: the voice changer is available.
    static constexpr std::int32_t kVoiceChangerFeature = 0x20000;

    explicit CHeadsetAudioEndpoints(IAudioConfLibrary& library) : library_(library) {}

    // Initialises the library ("ConfLibInit called failed!" to the trace on failure, then goes on).
    void Initialise();
    // Lists the library's devices again and chooses the two; true when a playback device exists.
    // The playback device is the first usable one of endpoint type 1, else 12, 7, 4; the capture
    // device the first of type 2. Their feature words are read from "GetSupportFeature".
    bool ChooseDevices();

    bool HasPlayback() const { return playback_.has_value(); }
    bool HasCapture() const { return capture_.has_value(); }
    bool VoiceChangerAvailable() const;

    // The text a read leaves; nullopt when the read fails or the device is missing.
    std::optional<std::string> Read(AudioDataFlow device, std::string_view property,
                                    std::span<const std::int32_t> selector = {});
    std::optional<double> ReadNumber(AudioDataFlow device, std::string_view property,
                                     std::span<const std::int32_t> selector = {});
    std::optional<long> ReadInteger(AudioDataFlow device, std::string_view property,
                                    std::span<const std::int32_t> selector = {});
    // True when the library took the value.
    bool Write(AudioDataFlow device, std::string_view property, std::variant<std::int32_t, float> value,
               std::span<const std::int32_t> selector = {});

private:
    struct Endpoint {
        AudioDeviceInfo info;
        std::array<std::int32_t, 3> features{};
    };

    std::optional<AudioDeviceInfo> FindDevice(AudioDataFlow flow, std::int32_t endpointType, bool usableOnly);
    void ReadFeatures(AudioDataFlow flow, Endpoint& endpoint);
    const Endpoint* Find(AudioDataFlow flow) const;

    IAudioConfLibrary& library_;
    std::optional<Endpoint> playback_;
    std::optional<Endpoint> capture_;
};

}  // namespace zevik
