#pragma once
// CAudioConfLibrary: the headset's audio configuration library, with the entry points the headset
// page calls, over the mixer of the headset's sound card.
//
// The card gives one playback device (the headphones, endpoint type 1) and, when it has a
// microphone control, one capture device (endpoint type 2). Properties of the capture device:
//
//   "GetMaxVol", "GetMinVol", "GetVolStep"   microphone capture volume: dB range, dB a raw step
//   "VolumeControl"        read: dB of the channel ("%.2f"); write: integer dB, nearest raw step
//   "VolumeScalarControl"  read: mapped position 0-1; write: float position, nearest raw step
//   "MuteControl"          read/write: 1 = muted (the capture switch off)
//   "GetAA..." "AA..."     the same on the microphone's playback volume and switch (sidetone)
//
// Every other property (equaliser, surround, reverb, noise cancelling, voice changer, echo,
// "GetSupportFeature") has no mixer control and fails, as does every property of the playback
// device. A read takes the selector's channel (-1: the first); a write sets every channel.

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>

#include "audio/audio_conf_entry_points.h"
#include "audio/audio_device_info.h"
#include "audio/headset_mixer_controls.h"
#include "audio/mixer_card.h"

namespace zevik {

class CAudioConfLibrary : public IAudioConfLibrary {
public:
    static constexpr int kFailed = -1;        // not initialised, no card, unknown device or index
    static constexpr int kNotAvailable = -2;  // the property has no control on this card
    static constexpr int kCardRefused = -3;   // the card did not take or give the value

    // Opens the headset's card; null when there is none. Called by every CreateDeviceList.
    using CardOpener = std::function<std::unique_ptr<IMixerCard>()>;

    explicit CAudioConfLibrary(CardOpener openCard);

    int ConfLibInit() override;
    // Opens the card again and lists its devices; kFailed (and no devices) without a card.
    int CreateDeviceList() override;
    int GetDeviceCount(AudioDataFlow flow, std::int32_t* count) const override;
    int GetDeviceById(AudioDataFlow flow, std::int32_t index, AudioDeviceInfo* info) const override;
    int PropertyControl(const AudioDeviceInfo& device, std::string_view property, PropertyValue& value,
                        std::span<const std::int32_t> selector, PropertyAccess access) override;

    // The card's name; empty without a card.
    std::string CardName() const;

private:
    int CaptureProperty(std::string_view property, PropertyValue& value,
                        std::span<const std::int32_t> selector, PropertyAccess access);
    int RangeProperty(const MixerControlId& control, std::string_view which, PropertyValue& value) const;
    int LevelProperty(const MixerControlId& control, int channel, PropertyValue& value,
                      PropertyAccess access);
    int ScalarProperty(const MixerControlId& control, int channel, PropertyValue& value,
                       PropertyAccess access);
    int MuteProperty(const MixerControlId& control, int channel, PropertyValue& value, PropertyAccess access);

    CardOpener openCard_;
    bool initialised_ = false;
    std::unique_ptr<IMixerCard> card_;
    HeadsetMixerControls controls_;
    std::optional<AudioDeviceInfo> playback_;
    std::optional<AudioDeviceInfo> capture_;
};

}  // namespace zevik
