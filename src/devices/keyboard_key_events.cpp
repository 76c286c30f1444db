#include "devices/keyboard_key_events.h"

#include <algorithm>
#include <cstddef>
#include <cstdlib>

#include "devices/keyboard_light_layout.h"
#include "devices/keyboard_light_masks.h"

namespace zevik {
namespace {

using lighting::kNoKey;
using lighting::MatrixKey;

struct Neighbour {
    int dc;
    int dr;
    int rise;  // level added on a press
    int drop;  // level taken on a release
};

// Distance one (straight and diagonal) and two in a straight line.
constexpr Neighbour kNeighbours[] = {
    {-1, 0, 150, 15}, {1, 0, 150, 15}, {0, -1, 150, 15}, {0, 1, 150, 15}, {-1, -1, 90, 90}, {1, -1, 90, 90},
    {-1, 1, 90, 90},  {1, 1, 90, 90},  {0, -2, 90, 90},  {0, 2, 90, 90},  {-2, 0, 60, 90},  {2, 0, 60, 90},
};

template <typename Action>
void ForEachNeighbour(int column, int row, Action&& action) {
    for (const Neighbour& n : kNeighbours) {
        const std::uint8_t key = MatrixKey(column + n.dc, row + n.dr);
        if (key != kNoKey) action(key, column + n.dc, row + n.dr, n);
    }
}

bool HasHeldNeighbour(const KeyboardLightState& state, int column, int row, int except) {
    bool held = false;
    ForEachNeighbour(column, row, [&](std::uint8_t key, int, int, const Neighbour&) {
        if (key != except && state.pressed[key] != 0) held = true;
    });
    return held;
}

void RipplePress(KeyboardLightState& state, int key, int column, int row) {
    state.pressed[key] = 1;
    state.phase[key] = KeyboardLightState::Rising;
    state.level[key] = 255;
    ForEachNeighbour(column, row, [&](std::uint8_t n, int, int, const Neighbour& how) {
        state.phase[n] = KeyboardLightState::Rising;
        state.level[n] = static_cast<std::uint8_t>(std::min(255, state.level[n] + how.rise));
    });
}

void RippleRelease(KeyboardLightState& state, int key, int column, int row) {
    ForEachNeighbour(column, row, [&](std::uint8_t n, int nc, int nr, const Neighbour& how) {
        if (state.pressed[n] != 0 || HasHeldNeighbour(state, nc, nr, key)) return;
        state.phase[n] = KeyboardLightState::Falling;
        state.level[n] = static_cast<std::uint8_t>(std::max(0, state.level[n] - how.drop));
    });
    if (!HasHeldNeighbour(state, column, row, key)) state.phase[key] = KeyboardLightState::Falling;
    state.pressed[key] = 0;
}

}  // namespace

void KeyboardKeyEvent(int mode, int key, KeyEventState event, KeyboardLightState& state,
                      std::mt19937& random) {
    if (key < 0 || key >= lighting::kLogicalKeyCount) return;
    if (mode == 7) {
        state.phase[key] = static_cast<std::uint8_t>(event);
        state.level[key] = 255;
        state.hue[key] = static_cast<std::uint8_t>(random() % lighting::kWheelCycle);
        return;
    }
    int column = 0, row = 0;
    if ((mode != 8 && mode != 9 && mode != 25) || !keyboard_layout::FindKey(key, column, row)) return;
    if (mode == 25) {
        if (event == KeyEventState::Pressed)
            RipplePress(state, key, column, row);
        else
            RippleRelease(state, key, column, row);
        return;
    }
    if (event == KeyEventState::Pressed) SetMaskBit(state, column, row);
}

}  // namespace zevik
