#include "audio/mixer_area_card.h"

#include <algorithm>

namespace zevik {

struct CMixerAreaCard::Layout {
    MixerControlId id;
    std::size_t volumeOffset;
    std::size_t switchOffset;
    long rawMax;
    long milliDbAtZero;  // thousandths of a dB: the capture step of 0.375 dB stays exact
    long milliDbPerStep;
};

const CMixerAreaCard::Layout* CMixerAreaCard::Find(const MixerControlId& id) {
    static const Layout kLayouts[] = {
        {{"PCM", MixerDirection::Playback}, 0, 1, 100, -50000, 500},
        {{"Mic", MixerDirection::Playback}, 4, 5, 32, -32000, 1000},
        {{"Mic", MixerDirection::Capture}, 2, 3, 127, -12000, 375},
    };
    for (const Layout& layout : kLayouts) {
        if (layout.id == id) return &layout;
    }
    return nullptr;
}

std::vector<MixerControl> CMixerAreaCard::Controls() const {
    std::vector<MixerControl> controls;
    for (const char* name : {"PCM", "Mic"}) {
        for (MixerDirection direction : {MixerDirection::Playback, MixerDirection::Capture}) {
            if (Find({name, direction}) != nullptr) controls.push_back({{name, direction}, true, true, 1});
        }
    }
    return controls;
}

std::optional<MixerRange> CMixerAreaCard::RawRange(const MixerControlId& id) const {
    const Layout* layout = Find(id);
    if (layout == nullptr) return std::nullopt;
    return MixerRange{0, layout->rawMax};
}

std::optional<MixerRange> CMixerAreaCard::DbRange(const MixerControlId& id) const {
    const Layout* layout = Find(id);
    if (layout == nullptr) return std::nullopt;
    return MixerRange{*DbOfRaw(id, 0), *DbOfRaw(id, layout->rawMax)};
}

std::optional<long> CMixerAreaCard::DbOfRaw(const MixerControlId& id, long raw) const {
    const Layout* layout = Find(id);
    if (layout == nullptr) return std::nullopt;
    const long step = std::clamp(raw, 0L, layout->rawMax);
    const long milliDb = layout->milliDbAtZero + step * layout->milliDbPerStep;
    // Hundredths, rounded half away from zero.
    return milliDb >= 0 ? (milliDb + 5) / 10 : -((-milliDb + 5) / 10);
}

std::optional<std::uint8_t> CMixerAreaCard::Byte(std::size_t offset) const {
    const auto area = area_.ReadMixerArea();
    if (!area || offset >= area->size()) return std::nullopt;
    return (*area)[offset];
}

std::optional<long> CMixerAreaCard::Raw(const MixerControlId& id, int channel) const {
    const Layout* layout = Find(id);
    if (layout == nullptr || channel != 0) return std::nullopt;
    const std::optional<std::uint8_t> value = Byte(layout->volumeOffset);
    if (!value) return std::nullopt;
    return std::min<long>(*value, layout->rawMax);
}

std::optional<bool> CMixerAreaCard::Switch(const MixerControlId& id, int channel) const {
    const Layout* layout = Find(id);
    if (layout == nullptr || channel != 0) return std::nullopt;
    const std::optional<std::uint8_t> value = Byte(layout->switchOffset);
    if (!value) return std::nullopt;
    return *value != 0;
}

bool CMixerAreaCard::SetRaw(const MixerControlId& id, long raw) {
    const Layout* layout = Find(id);
    if (layout == nullptr) return false;
    return area_.WriteMixerArea(layout->volumeOffset,
                                static_cast<std::uint8_t>(std::clamp(raw, 0L, layout->rawMax)));
}

bool CMixerAreaCard::SetSwitch(const MixerControlId& id, bool on) {
    const Layout* layout = Find(id);
    if (layout == nullptr) return false;
    return area_.WriteMixerArea(layout->switchOffset, on ? 1 : 0);
}

}  // namespace zevik
