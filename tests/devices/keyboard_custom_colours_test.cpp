// Mode 20's custom colours between the key frame, the keyboard's colour table and the profile, and
// the preview output of the key frame.

#include "devices/keyboard_custom_colours.h"

#include <gtest/gtest.h>

#include <vector>

#include "devices/keyboard_light_preview.h"
#include "devices/keyboard_test_support.h"

namespace zevik::test {
namespace {

using lighting::PackLightEntry;

KeyLedIndices NoLeds() {
    KeyLedIndices leds;
    leds.fill(kNoLed);
    return leds;
}

TEST(KeyboardCustomColours, DeviceTableIntoTheFrameByLedIndex) {
    KeyLedIndices leds = NoLeds();
    leds[0] = 0;
    leds[1] = 5;
    leds[3] = 200;  // past the 512-byte table: never read or written
    std::vector<std::uint8_t> buffer(512);
    for (size_t i = 0; i < buffer.size(); ++i) buffer[i] = static_cast<std::uint8_t>(i);
    KeyLightFrame frame;
    frame.Fill(PackLightEntry(9, 9, 9, 77));
    TakeDeviceColours(buffer, leds, frame);
    EXPECT_EQ(EntryOf(frame.Get(0)), (KeyEntry{0, 1, 2, 77}));
    EXPECT_EQ(EntryOf(frame.Get(1)), (KeyEntry{15, 16, 17, 77}));
    EXPECT_EQ(EntryOf(frame.Get(2)), (KeyEntry{9, 9, 9, 77}));  // no LED
    EXPECT_EQ(EntryOf(frame.Get(3)), (KeyEntry{9, 9, 9, 77}));

    // A short read leaves the keys whose colours it lacks alone.
    KeyLightFrame partial;
    const std::vector<std::uint8_t> shortRead(10, 50);
    TakeDeviceColours(shortRead, leds, partial);
    EXPECT_EQ(EntryOf(partial.Get(0)), (KeyEntry{50, 50, 50, 0}));
    EXPECT_EQ(partial.Get(1), 0u);

    const KeyboardColourBuffer written = DeviceColours(frame, leds);
    EXPECT_EQ(written[15], 15);
    EXPECT_EQ(written[17], 17);
    for (size_t i : {3u, 6u, 14u, 18u, 511u}) EXPECT_EQ(written[i], 0) << i;
}

TEST(KeyboardCustomColours, ProfileGroupRoundTripsInFrameOrder) {
    KeyLightFrame frame;
    SetAllKeyColours(frame, {1, 2, 3});
    SetKeyColour(frame, 42, {200, 100, 50});
    SetKeyColour(frame, 170, {5, 5, 5});  // outside: nothing
    SetKeyColour(frame, -1, {5, 5, 5});
    const std::vector<KeyColorRecord> stored = ProfileColours(frame);
    ASSERT_EQ(stored.size(), 170u);
    EXPECT_EQ(stored[42], (KeyColorRecord{200, 100, 50, 255}));
    EXPECT_EQ(stored[0], (KeyColorRecord{1, 2, 3, 255}));

    KeyLightFrame shown;
    ShowProfileColours(stored, 135, shown);
    EXPECT_EQ(EntryOf(shown.Get(42)), (KeyEntry{200, 100, 50, 135}));
    ShowProfileColours({stored.begin(), stored.begin() + 10}, 135, shown);  // a short group
    EXPECT_EQ(EntryOf(shown.Get(42)), (KeyEntry{0, 0, 0, 135}));
}

TEST(KeyboardCustomColours, SlotOffsetsAreBounded) {
    EXPECT_EQ(CustomColourOffset(0), 0u);
    EXPECT_EQ(CustomColourOffset(3), 1536u);
    EXPECT_EQ(CustomColourOffset(-4), 0u);
    EXPECT_EQ(CustomColourOffset(300), 255u * 512u);
}

TEST(KeyboardLightPreview, ButtonsTakeThePackedColourAndTheDeviceTheScaledOne) {
    KeyLedIndices leds = NoLeds();
    leds[0] = 1;
    KeyLightFrame frame;
    frame.Set(0, PackLightEntry(200, 100, 50, 128));
    frame.Set(1, PackLightEntry(10, 20, 30, 255));  // shown, never sent: no LED
    const KeyLightPreview shown = PreviewKeyFrame(frame, leds, true);
    EXPECT_EQ(shown.buttons[0], (KeyButtonLight{200u | (50u << 8) | (100u << 16), 128}));
    EXPECT_EQ(shown.buttons[1], (KeyButtonLight{10u | (30u << 8) | (20u << 16), 255}));
    EXPECT_EQ(shown.device[3], 100);
    EXPECT_EQ(shown.device[4], 50);
    EXPECT_EQ(shown.device[5], 25);
    int sent = 0;
    for (std::uint8_t byte : shown.device) sent += byte != 0;
    EXPECT_EQ(sent, 3);

    const KeyLightPreview hidden = PreviewKeyFrame(frame, leds, false);
    EXPECT_EQ(hidden.buttons[0], (KeyButtonLight{0, 0}));
    EXPECT_EQ(hidden.device, shown.device);
}

TEST(KeyboardLightPreview, OnlyTheAudioModesStream) {
    for (int mode = 0; mode <= 31; ++mode)
        EXPECT_EQ(KeyboardModeStreamsFrames(mode), mode == 29 || mode == 30) << mode;
}

}  // namespace
}  // namespace zevik::test
