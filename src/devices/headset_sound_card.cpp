#include "devices/headset_sound_card.h"

#include <array>
#include <optional>
#include <string_view>

#include "audio/alsa_card_opener.h"
#include "audio/mixer_area_card.h"
#include "emulator/emulation.h"
#include "emulator/firmware_model.h"

namespace zevik {
namespace {

constexpr std::string_view kHidrawScheme = "hidraw:";
constexpr std::string_view kEmulatedScheme = "emu:";
constexpr const char* kMixerArea = "mixer";

// The model's "mixer" area as the emulated card's bytes. The card owns it; the model outlives both.
class CModelMixerArea final : public IMixerArea {
public:
    explicit CModelMixerArea(CFirmwareModel& model) : model_(model) {}

    std::optional<std::array<std::uint8_t, 6>> ReadMixerArea() const override {
        const std::vector<std::uint8_t> bytes = model_.ReadArea(kMixerArea);
        if (bytes.size() < CMixerAreaCard::kAreaSize) return std::nullopt;
        std::array<std::uint8_t, 6> area{};
        std::copy_n(bytes.begin(), area.size(), area.begin());
        return area;
    }
    bool WriteMixerArea(std::size_t offset, std::uint8_t value) override {
        const std::uint8_t byte[] = {value};
        return model_.WriteArea(kMixerArea, offset, byte);
    }

private:
    CFirmwareModel& model_;
};

// A card that owns the area it works on.
class CEmulatedHeadsetCard final : public IMixerCard {
public:
    explicit CEmulatedHeadsetCard(CFirmwareModel& model) : area_(model), card_(area_) {}

    std::string Name() const override { return card_.Name(); }
    std::vector<MixerControl> Controls() const override { return card_.Controls(); }
    std::optional<MixerRange> RawRange(const MixerControlId& id) const override { return card_.RawRange(id); }
    std::optional<MixerRange> DbRange(const MixerControlId& id) const override { return card_.DbRange(id); }
    std::optional<long> DbOfRaw(const MixerControlId& id, long raw) const override { return card_.DbOfRaw(id, raw); }
    std::optional<long> Raw(const MixerControlId& id, int channel) const override { return card_.Raw(id, channel); }
    std::optional<bool> Switch(const MixerControlId& id, int channel) const override {
        return card_.Switch(id, channel);
    }
    bool SetRaw(const MixerControlId& id, long raw) override { return card_.SetRaw(id, raw); }
    bool SetSwitch(const MixerControlId& id, bool on) override { return card_.SetSwitch(id, on); }

private:
    CModelMixerArea area_;
    CMixerAreaCard card_;
};

// The part between the scheme and '#'.
std::string Stem(const std::string& path, std::string_view scheme) {
    const std::string rest = path.substr(scheme.size());
    return rest.substr(0, rest.find('#'));
}

}  // namespace

std::unique_ptr<IMixerCard> OpenHeadsetSoundCard(const std::string& path, CEmulation* emulation) {
    if (path.starts_with(kHidrawScheme)) return AlsaCardOpener(Stem(path, kHidrawScheme))();
    if (path.starts_with(kEmulatedScheme) && emulation != nullptr) {
        CFirmwareModel* model = emulation->Model(Stem(path, kEmulatedScheme));
        if (model == nullptr || model->ReadArea(kMixerArea).size() < CMixerAreaCard::kAreaSize) return nullptr;
        return std::make_unique<CEmulatedHeadsetCard>(*model);
    }
    return nullptr;
}

CAudioConfLibrary::CardOpener HeadsetSoundCardOpener(std::function<std::string()> path, CEmulation* emulation) {
    return [path = std::move(path), emulation]() { return OpenHeadsetSoundCard(path(), emulation); };
}

}  // namespace zevik
