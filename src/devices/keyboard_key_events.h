#pragma once
// How the keyboard's lighting reacts to key presses and releases, by the mode current at the event:
// reactive fade (7), the mask modes (8, 9) and the ripple (25). Other modes ignore key events.

#include <random>

#include "devices/keyboard_light_state.h"

namespace zevik {

enum class KeyEventState { Pressed = 1, Released = 2 };

// key is a logical key; one outside 0..169 or not on the key matrix (where the matrix is needed)
// changes nothing.
void KeyboardKeyEvent(int mode, int key, KeyEventState event, KeyboardLightState& state,
                      std::mt19937& random);

}  // namespace zevik
