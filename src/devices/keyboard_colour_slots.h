#pragma once
// Mode 20's custom-colour slots in the keyboard's memory: slot s (0-255) is a 512-byte table at
// s x 512, of which the first N x 3 bytes (R, G, B at LED index x 3; N is device information byte
// 5) are read with command 0x0A and written with command 0x0B.
//
// Transfer addresses are 16-bit: a slot whose N x 3 bytes would end past 65536 would wrap onto
// slot 0's table, so it is refused before anything is sent.

#include <cstddef>
#include <cstdint>

#include "devices/key_light_frame.h"
#include "transport/command_channel.h"

namespace zevik {

inline constexpr std::uint32_t kColourSlotSize = kKeyboardColourBufferSize;
inline constexpr std::uint32_t kColourAddressSpace = 0x10000;
inline constexpr int kColourSlotMax = 255;

// True when slot is 0-255 and its first positions x 3 bytes lie within the address space.
bool ColourSlotFits(int slot, int positions);

// The first positions x 3 bytes of the slot into / from buffer. kResultNoAnswer with nothing sent
// when the slot does not fit (or positions x 3 exceeds the buffer); otherwise the command's result.
// A failed read leaves the buffer as it was.
int ReadColourSlot(CCommandChannel& channel, int slot, int positions, KeyboardColourBuffer& buffer);
int WriteColourSlot(CCommandChannel& channel, int slot, int positions, const KeyboardColourBuffer& buffer);

}  // namespace zevik
