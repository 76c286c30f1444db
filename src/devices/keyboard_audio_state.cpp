#include "devices/keyboard_audio_state.h"

#include <algorithm>

namespace zevik {

void KeyboardAudioState::TakeLevels(std::span<const std::int32_t> values) {
    std::copy_n(values.begin(), std::min(values.size(), levels.size()), levels.begin());
}

void KeyboardAudioState::TakeColour(std::span<const std::int32_t> values) {
    std::copy_n(values.begin(), std::min(values.size(), colour.size()), colour.begin());
}

void KeyboardAudioState::ResetInput() {
    levels.fill(0);
    columnFlags.fill(1);
}

}  // namespace zevik
