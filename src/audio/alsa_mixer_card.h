#pragma once
// CAlsaMixerCard: a sound card's mixer through alsa-lib's simple mixer ("hw:N"). Values are read
// fresh: pending mixer events are handled before every read, so changes made by other programs
// (alsamixer, the desktop's volume applet) show.

#include <memory>

#include "audio/mixer_card.h"

namespace zevik {

class CAlsaMixerCard : public IMixerCard {
public:
    // The mixer of card number card; null when the card does not exist or its mixer cannot be
    // opened (the reason goes to the trace).
    static std::unique_ptr<CAlsaMixerCard> Open(int card);
    ~CAlsaMixerCard() override;
    CAlsaMixerCard(const CAlsaMixerCard&) = delete;
    CAlsaMixerCard& operator=(const CAlsaMixerCard&) = delete;

    std::string Name() const override { return name_; }
    std::vector<MixerControl> Controls() const override;
    std::optional<MixerRange> RawRange(const MixerControlId& id) const override;
    std::optional<MixerRange> DbRange(const MixerControlId& id) const override;
    std::optional<long> DbOfRaw(const MixerControlId& id, long raw) const override;
    std::optional<long> Raw(const MixerControlId& id, int channel) const override;
    std::optional<bool> Switch(const MixerControlId& id, int channel) const override;
    bool SetRaw(const MixerControlId& id, long raw) override;
    bool SetSwitch(const MixerControlId& id, bool on) override;

private:
    struct Mixer;
    CAlsaMixerCard(std::unique_ptr<Mixer> mixer, std::string name);

    std::unique_ptr<Mixer> mixer_;
    std::string name_;
};

}  // namespace zevik
