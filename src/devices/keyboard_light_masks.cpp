#include "devices/keyboard_light_masks.h"

namespace zevik {
namespace {

constexpr int kColumns = KeyboardLightState::kColumns;

std::uint8_t At(const KeyboardLightState::Mask& mask, int column) {
    return column < 0 || column >= kColumns ? 0 : mask[static_cast<size_t>(column)];
}

}  // namespace

void LightMaskedKeys(KeyboardLightState& state, bool multicolour, std::mt19937& random) {
    for (int j = 0; j < kColumns; ++j) {
        const std::uint8_t bits = MaskColumn(state, j);
        for (int r = 0; r < lighting::kMatrixRows; ++r) {
            const std::uint8_t key = lighting::MatrixKey(j, r);
            if ((bits & (1u << r)) == 0 || key == lighting::kNoKey) continue;
            state.level[key] = 255;
            if (multicolour) state.hue[key] = static_cast<std::uint8_t>(random() % lighting::kWheelCycle);
        }
    }
}

void PropagateMasks(KeyboardLightState& state) {
    const auto a = state.a, b = state.b, c = state.c, d = state.d;
    for (int j = 0; j < kColumns; ++j) {
        const auto i = static_cast<size_t>(j);
        state.a[i] = static_cast<std::uint8_t>((a[i] >> 1) | At(a, j + 1));
        state.d[i] = static_cast<std::uint8_t>((d[i] << 1) | At(d, j + 1));
        state.b[i] = static_cast<std::uint8_t>((b[i] >> 1) | At(b, j - 1));
        state.c[i] = static_cast<std::uint8_t>((c[i] << 1) | At(c, j - 1));
    }
}

void SpreadMasks(KeyboardLightState& state) {
    const auto b = state.b, d = state.d;
    state.a.fill(0);
    state.c.fill(0);
    for (int j = 0; j < kColumns; ++j) {
        state.d[static_cast<size_t>(j)] = At(d, j + 1);
        state.b[static_cast<size_t>(j)] = At(b, j - 1);
    }
}

void SetMaskBit(KeyboardLightState& state, int column, int bit) {
    if (column < 0 || column >= kColumns || bit < 0 || bit > 7) return;
    const auto value = static_cast<std::uint8_t>(1u << bit);
    for (auto* mask : {&state.a, &state.b, &state.c, &state.d}) (*mask)[static_cast<size_t>(column)] |= value;
}

std::uint8_t MaskColumn(const KeyboardLightState& state, int column) {
    return At(state.a, column) | At(state.b, column) | At(state.c, column) | At(state.d, column);
}

}  // namespace zevik
