#include "devices/keyboard_colour_slots.h"

#include <span>

#include "transport/command_set.h"

namespace zevik {

namespace {

bool Transferable(int slot, int positions) {
    return ColourSlotFits(slot, positions) && static_cast<std::size_t>(positions) * 3 <= kKeyboardColourBufferSize;
}

}  // namespace

bool ColourSlotFits(int slot, int positions) {
    if (slot < 0 || slot > kColourSlotMax || positions < 0) return false;
    const auto end = static_cast<std::uint64_t>(slot) * kColourSlotSize + static_cast<std::uint64_t>(positions) * 3;
    return end <= kColourAddressSpace;
}

int ReadColourSlot(CCommandChannel& channel, int slot, int positions, KeyboardColourBuffer& buffer) {
    if (!Transferable(slot, positions)) return kResultNoAnswer;
    KeyboardColourBuffer read = buffer;
    const std::span<std::uint8_t> part = std::span(read).first(static_cast<std::size_t>(positions) * 3);
    const int result = ReadKeyColors(channel, part, static_cast<std::uint32_t>(slot), kColourSlotSize);
    if (result == kResultDone) buffer = read;
    return result;
}

int WriteColourSlot(CCommandChannel& channel, int slot, int positions, const KeyboardColourBuffer& buffer) {
    if (!Transferable(slot, positions)) return kResultNoAnswer;
    const std::span<const std::uint8_t> part = std::span(buffer).first(static_cast<std::size_t>(positions) * 3);
    return WriteKeyColors(channel, part, static_cast<std::uint32_t>(slot), kColourSlotSize);
}

}  // namespace zevik
