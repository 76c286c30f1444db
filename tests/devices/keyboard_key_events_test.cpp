// Key presses and releases in the keyboard's reacting modes: the reactive fade, the mask modes and
// the ripple around the pressed key.

#include "devices/keyboard_key_events.h"

#include <gtest/gtest.h>

#include <vector>

#include "devices/keyboard_light_masks.h"

namespace zevik::test {
namespace {

constexpr auto kPress = KeyEventState::Pressed;
constexpr auto kRelease = KeyEventState::Released;

TEST(KeyboardKeyEvents, ReactiveFadeStartsTheKeyAtTheTop) {
    KeyboardLightState state;
    std::mt19937 random(5);
    KeyboardKeyEvent(7, 30, kPress, state, random);
    EXPECT_EQ(state.phase[30], KeyboardLightState::Rising);
    EXPECT_EQ(state.level[30], 255);
    EXPECT_LT(state.hue[30], 192);
    state.level[30] = 100;
    KeyboardKeyEvent(7, 30, kRelease, state, random);
    EXPECT_EQ(state.phase[30], KeyboardLightState::Falling);
    EXPECT_EQ(state.level[30], 255);
}

TEST(KeyboardKeyEvents, MaskModesMarkThePressedCellOnly) {
    for (int mode : {8, 9}) {
        KeyboardLightState state;
        std::mt19937 random(5);
        KeyboardKeyEvent(mode, 64, kPress, state, random);  // column 2, row 3
        for (const auto* mask : {&state.a, &state.b, &state.c, &state.d}) EXPECT_EQ((*mask)[2], 8) << mode;
        state.a[2] = 0;
        KeyboardKeyEvent(mode, 64, kRelease, state, random);
        EXPECT_EQ(state.a[2], 0) << mode;
    }
}

TEST(KeyboardKeyEvents, OtherModesAndKeysOutsideTheMatrixChangeNothing) {
    std::mt19937 random(5);
    const KeyboardLightState before;
    for (int mode : {0, 1, 20, 24, 26, 31}) {
        KeyboardLightState state;
        KeyboardKeyEvent(mode, 64, kPress, state, random);
        EXPECT_EQ(state.level, before.level) << mode;
        EXPECT_EQ(state.a, before.a) << mode;
    }
    for (int key : {-1, 170, 255, 1000, 131 + 40}) {
        for (int mode : {7, 8, 25}) {
            KeyboardLightState state;
            KeyboardKeyEvent(mode, key, kPress, state, random);
            EXPECT_EQ(state.level, before.level) << mode << " " << key;
            EXPECT_EQ(state.a, before.a) << mode << " " << key;
        }
    }
}

struct RippleCase {
    int key;
    int level;
};

TEST(KeyboardKeyEvents, RipplePressRaisesTheNeighbourhood) {
    KeyboardLightState state;
    std::mt19937 random(5);
    state.level[63] = 200;  // rises stop at 255
    KeyboardKeyEvent(25, 64, kPress, state, random);
    EXPECT_EQ(state.pressed[64], 1);
    EXPECT_EQ(state.level[64], 255);
    const std::vector<RippleCase> expected = {
        {63, 255}, {65, 150}, {43, 150}, {102, 150},  // left, right, up, down
        {42, 90},  {44, 90},  {84, 90},  {85, 90},    // diagonals
        {22, 90},  {106, 90},                         // two up, two down
        {122, 60}, {66, 60},                          // two left, two right
        {23, 0},   {86, 0},                           // too far
    };
    for (const RippleCase& c : expected) {
        EXPECT_EQ(state.level[c.key], c.level) << c.key;
        EXPECT_EQ(state.phase[c.key], c.level != 0 ? KeyboardLightState::Rising : KeyboardLightState::Idle)
            << c.key;
    }
}

TEST(KeyboardKeyEvents, RippleReleaseAloneLetsTheNeighboursFall) {
    KeyboardLightState state;
    std::mt19937 random(5);
    KeyboardKeyEvent(25, 64, kPress, state, random);
    KeyboardKeyEvent(25, 64, kRelease, state, random);
    const std::vector<RippleCase> expected = {{63, 135}, {102, 135}, {42, 0}, {22, 0}, {66, 0}};
    for (const RippleCase& c : expected) {
        EXPECT_EQ(state.level[c.key], c.level) << c.key;
        EXPECT_EQ(state.phase[c.key], KeyboardLightState::Falling) << c.key;
    }
    EXPECT_EQ(state.phase[64], KeyboardLightState::Falling);
    EXPECT_EQ(state.pressed[64], 0);
}

TEST(KeyboardKeyEvents, RippleHeldNeighbourKeepsTheSharedCellsUp) {
    KeyboardLightState state;
    std::mt19937 random(5);
    KeyboardKeyEvent(25, 64, kPress, state, random);
    KeyboardKeyEvent(25, 65, kPress, state, random);  // column 3, row 3
    const auto held = state;
    KeyboardKeyEvent(25, 64, kRelease, state, random);
    // 65 itself and the cells next to it (44, 85, 43, 102, 66, ...) are left as they were.
    for (int key : {65, 44, 85, 43, 102, 66, 63}) {
        EXPECT_EQ(state.level[key], held.level[key]) << key;
        EXPECT_EQ(state.phase[key], KeyboardLightState::Rising) << key;
    }
    // 122 (two left of 64) and 42 (up left) have no held key near them: they fall, at least to 0.
    for (int key : {122, 42}) EXPECT_EQ(state.phase[key], KeyboardLightState::Falling) << key;
    EXPECT_EQ(state.level[122], 0);  // 60 from 64's press, -90
    // The released key stays rising next to the held one, but is no longer held.
    EXPECT_EQ(state.phase[64], KeyboardLightState::Rising);
    EXPECT_EQ(state.pressed[64], 0);
    EXPECT_EQ(state.pressed[65], 1);
}

}  // namespace
}  // namespace zevik::test
