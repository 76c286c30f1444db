#include "devices/keyboard_light_state.h"

namespace zevik {

void KeyboardLightState::Reset() {
    counter = 0;
    showPhase = 0;
    level.fill(0);
    hue.fill(0);
    phase.fill(0);
    a.fill(0);
    b.fill(0);
    c.fill(0);
    d.fill(0);
    common = LightAnimation{};
    audio.ResetInput();
}

}  // namespace zevik
