#pragma once
// CMixerAreaCard: the sound card of the emulated headset, kept in a 6-byte "mixer" area:
//
//   byte 0  PCM playback volume, raw 0-100, -50 dB + 0.5 dB a step
//   byte 1  PCM playback switch (1 on)
//   byte 2  Mic capture volume, raw 0-127, -12 dB + 0.375 dB a step
//   byte 3  Mic capture switch
//   byte 4  Mic playback (sidetone) volume, raw 0-32, -32 dB + 1 dB a step
//   byte 5  Mic playback switch
//
// Every control is mono. Values written beyond a range are clamped to it; a stored byte beyond it
// reads as the range's end.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

#include "audio/mixer_card.h"

namespace zevik {

// Where the six bytes live (the emulator's area); reads and writes may come from any thread.
class IMixerArea {
public:
    virtual ~IMixerArea() = default;
    // The whole area; nullopt when it cannot be read.
    virtual std::optional<std::array<std::uint8_t, 6>> ReadMixerArea() const = 0;
    virtual bool WriteMixerArea(std::size_t offset, std::uint8_t value) = 0;
};

class CMixerAreaCard : public IMixerCard {
public:
    static constexpr std::size_t kAreaSize = 6;
    static constexpr const char* kCardName = "ZEVIK HS6533 (emulated)";

    // The area must outlive the card.
    explicit CMixerAreaCard(IMixerArea& area) : area_(area) {}

    std::string Name() const override { return kCardName; }
    std::vector<MixerControl> Controls() const override;
    std::optional<MixerRange> RawRange(const MixerControlId& id) const override;
    std::optional<MixerRange> DbRange(const MixerControlId& id) const override;
    std::optional<long> DbOfRaw(const MixerControlId& id, long raw) const override;
    std::optional<long> Raw(const MixerControlId& id, int channel) const override;
    std::optional<bool> Switch(const MixerControlId& id, int channel) const override;
    bool SetRaw(const MixerControlId& id, long raw) override;
    bool SetSwitch(const MixerControlId& id, bool on) override;

private:
    struct Layout;
    static const Layout* Find(const MixerControlId& id);
    std::optional<std::uint8_t> Byte(std::size_t offset) const;

    IMixerArea& area_;
};

}  // namespace zevik
