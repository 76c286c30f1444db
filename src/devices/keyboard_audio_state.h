#pragma once
// The audio part of the keyboard's animation state: the band levels handed in by the main window,
// the colour of the colour-input mode, the column flags of the draining columns, and the engine's
// copy of the profile's audio lighting record. The engine lock guards all of it, so a step sees a
// whole batch of levels or none of it.

#include <array>
#include <cstdint>
#include <span>

#include "devices/lighting_tables.h"
#include "settings/audio_light_info_record.h"

namespace zevik {

struct KeyboardAudioState {
    static constexpr int kBands = 25;
    static constexpr int kColourValues = 6;

    std::array<std::int32_t, kBands> levels{};         // the last batch, until a step takes it
    std::array<std::int32_t, kColourValues> colour{};  // red, green, blue in the low bytes of 0..2
    std::array<std::int32_t, lighting::kMatrixColumns> columnFlags{};  // draining columns: filled
    AudioLightInfoRecord lighting;                                     // style and colours; kept over a reset

    // A new batch: up to 25 levels (a longer span is cut, a shorter one leaves the rest as they were).
    void TakeLevels(std::span<const std::int32_t> values);
    // The first six values (fewer: the rest keep theirs) become the colour input.
    void TakeColour(std::span<const std::int32_t> values);
    // The animation reset: the levels cleared, every column flag set.
    void ResetInput();
};

}  // namespace zevik
