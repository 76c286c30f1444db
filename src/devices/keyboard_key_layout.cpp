#include "devices/keyboard_key_layout.h"

#include <algorithm>

namespace zevik {

namespace {

constexpr AssignmentCode K(std::uint8_t usage) {
    return {0x20, 0x00, usage};
}
constexpr AssignmentCode Modifier(std::uint8_t mask) {
    return {0x20, mask, 0x00};
}

constexpr std::array<AssignmentCode, kKeyboardLogicalKeys> MakeDefaults() {
    std::array<AssignmentCode, kKeyboardLogicalKeys> t{};
    for (AssignmentCode& c : t) c = K(0x00);
    // Escape and the function row; print screen, scroll lock, pause.
    constexpr std::uint8_t row0[16] = {0x29, 0x3A, 0x3B, 0x3C, 0x3D, 0x3E, 0x3F, 0x40,
                                       0x41, 0x42, 0x43, 0x44, 0x45, 0x46, 0x47, 0x48};
    for (int i = 0; i < 16; ++i) t[i] = K(row0[i]);
    t[16] = {0xA0, 0x1B, 0x00};
    t[17] = {0xA0, 0x24, 0x00};
    // 18..20 are free (20 00 00).
    constexpr std::uint8_t row1[21] = {0x35, 0x1E, 0x1F, 0x20, 0x21, 0x22, 0x23, 0x24, 0x25, 0x26, 0x27,
                                       0x2D, 0x2E, 0x2A, 0x49, 0x4A, 0x4B, 0x53, 0x54, 0x55, 0x56};
    for (int i = 0; i < 21; ++i) t[21 + i] = K(row1[i]);
    constexpr std::uint8_t row2[20] = {0x2B, 0x14, 0x1A, 0x08, 0x15, 0x17, 0x1C, 0x18, 0x0C, 0x12,
                                       0x13, 0x2F, 0x30, 0x31, 0x4C, 0x4D, 0x4E, 0x5F, 0x60, 0x61};
    for (int i = 0; i < 20; ++i) t[42 + i] = K(row2[i]);
    constexpr std::uint8_t row3[22] = {0x32, 0x39, 0x04, 0x16, 0x07, 0x09, 0x0A, 0x0B, 0x0D, 0x0E, 0x0F,
                                       0x33, 0x34, 0x28, 0x5C, 0x5D, 0x5E, 0x8A, 0x8B, 0x90, 0x91, 0x88};
    for (int i = 0; i < 22; ++i) t[62 + i] = K(row3[i]);
    t[84] = Modifier(0x02);
    constexpr std::uint8_t row4[10] = {0x1D, 0x1B, 0x06, 0x19, 0x05, 0x11, 0x10, 0x36, 0x37, 0x38};
    for (int i = 0; i < 10; ++i) t[85 + i] = K(row4[i]);
    t[95] = Modifier(0x20);
    constexpr std::uint8_t row5[8] = {0x52, 0x59, 0x5A, 0x5B, 0x87, 0x89, 0x64, 0x85};
    for (int i = 0; i < 8; ++i) t[96 + i] = K(row5[i]);
    // 104 is free.
    t[105] = Modifier(0x01);
    t[106] = Modifier(0x08);
    t[107] = Modifier(0x04);
    t[108] = K(0x2C);
    t[109] = Modifier(0x40);
    t[110] = {0xA0, 0x01, 0x00};
    t[111] = K(0x65);
    t[112] = Modifier(0x10);
    constexpr std::uint8_t row6[7] = {0x50, 0x51, 0x4F, 0x62, 0x63, 0x58, 0x57};
    for (int i = 0; i < 7; ++i) t[113 + i] = K(row6[i]);
    for (int m = 0; m < 5; ++m) t[120 + m] = {0xD0, 0xA2, static_cast<std::uint8_t>(m + 1)};
    t[125] = Modifier(0x80);
    return t;
}

constexpr std::array<AssignmentCode, kKeyboardLogicalKeys> kDefaults = MakeDefaults();

}  // namespace

const std::array<AssignmentCode, kKeyboardLogicalKeys>& KeyboardDefaultKeyCodes() {
    return kDefaults;
}

KeyboardKeyMaps BuildKeyboardKeyMaps(std::span<const std::uint8_t> keyCodeTable,
                                     std::span<const std::uint8_t> ledIndexTable, int positions) {
    KeyboardKeyMaps maps;
    maps.position.fill(kKeyboardNoPosition);
    maps.led.fill(kNoLed);
    const int count =
        std::clamp(std::min(positions, static_cast<int>(keyCodeTable.size() / 3)), 0, int{kKeyboardNoPosition});
    for (int j = 0; j < kKeyboardLogicalKeys; ++j) {
        const AssignmentCode& want = kDefaults[static_cast<size_t>(j)];
        for (int k = 0; k < count; ++k) {
            const size_t at = static_cast<size_t>(k) * 3;
            if (keyCodeTable[at] == want.type && keyCodeTable[at + 1] == want.p1 && keyCodeTable[at + 2] == want.p2) {
                maps.position[static_cast<size_t>(j)] = static_cast<std::uint8_t>(k);
                break;
            }
        }
        const std::uint8_t k = maps.position[static_cast<size_t>(j)];
        if (k != kKeyboardNoPosition && k < ledIndexTable.size() && ledIndexTable[k] < kKeyboardLedLimit) {
            maps.led[static_cast<size_t>(j)] = ledIndexTable[k];
        }
    }
    return maps;
}

}  // namespace zevik
