#pragma once
// IMixerCard: the mixer of one sound card as the audio layer needs it: named volume controls with
// their raw and dB ranges, their values per channel, and their on/off switches. The ALSA card, the
// emulator's card and the tests' fakes stand behind it.

#include <optional>
#include <string>
#include <vector>

namespace zevik {

enum class MixerDirection { Playback, Capture };

// A control is a name and a direction, as ALSA's simple mixer has them ("Mic" has both a capture
// volume and a playback volume, the sidetone).
struct MixerControlId {
    std::string name;
    MixerDirection direction = MixerDirection::Playback;

    friend bool operator==(const MixerControlId&, const MixerControlId&) = default;
};

struct MixerControl {
    MixerControlId id;
    bool hasVolume = false;
    bool hasSwitch = false;
    int channels = 0;
};

// An inclusive range. dB values are in hundredths of a dB, as ALSA gives them.
struct MixerRange {
    long min = 0;
    long max = 0;

    friend bool operator==(const MixerRange&, const MixerRange&) = default;
};

class IMixerCard {
public:
    virtual ~IMixerCard() = default;

    // The card's name as the system shows it ("USB Audio Device"); empty when it has none.
    virtual std::string Name() const = 0;
    virtual std::vector<MixerControl> Controls() const = 0;

    // Ranges of a control's volume; nullopt when it has no volume (or, for dB, no dB scale).
    virtual std::optional<MixerRange> RawRange(const MixerControlId& id) const = 0;
    virtual std::optional<MixerRange> DbRange(const MixerControlId& id) const = 0;
    // The level of raw step raw in hundredths of a dB; nullopt without a dB scale.
    virtual std::optional<long> DbOfRaw(const MixerControlId& id, long raw) const = 0;

    // Channel channel (0 the first) of the control; nullopt when the control or channel is missing.
    virtual std::optional<long> Raw(const MixerControlId& id, int channel) const = 0;
    virtual std::optional<bool> Switch(const MixerControlId& id, int channel) const = 0;
    // Set every channel; false when the control is missing or the card refused.
    virtual bool SetRaw(const MixerControlId& id, long raw) = 0;
    virtual bool SetSwitch(const MixerControlId& id, bool on) = 0;
};

}  // namespace zevik
