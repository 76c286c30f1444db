#pragma once
// The device command set: every command of the vendor protocol as one operation on a command channel.
// This is the only place where requests are built. Operations return the kResult* codes of
// command_channel.h: 1 done, 0 nothing done or no answer, -1 write failed, -101 receiver cannot serve
// (or CRC wrong), -102 / -103 device status 0xFF / 0xFE, -201 bank not 0.
//
// Chunked transfers cut their data into reports of at most the channel's chunk size (56 by cable, 24
// through the receiver) at address base + offset, stop at the first failed chunk (nothing is rolled
// back), and take the command lock per request, so another thread's request may run between chunks.
// A destination or source smaller than the transfer the command needs gives 0 and sends nothing.

#include <array>
#include <cstdint>
#include <span>
#include <string>

#include "transport/command_channel.h"

namespace zevik {

inline constexpr size_t kDeviceInfoSize = 34;
inline constexpr size_t kKeyTableBankSize = 512;  // bank n of a key table starts at n * 512
inline constexpr uint8_t kRecoilChunkSize = 56;   // the recoil area takes full chunks in either mode

// 0x01 and 0x02 frame a configuration change. EndConfig pauses 10 ms before it sends.
int BeginConfig(CCommandChannel& channel);
int EndConfig(CCommandChannel& channel);

// 0x03: 34 bytes from address 0; the destination is written only when every chunk succeeded.
int ReadDeviceInfo(CCommandChannel& channel, std::array<uint8_t, kDeviceInfoSize>& destination);

// 0x05 / 0x06: destination.size() / source.size() bytes at the address. A read that fails part-way
// leaves the chunks already read in the destination.
int ReadMemory(CCommandChannel& channel, std::span<uint8_t> destination, uint16_t address);
int WriteMemory(CCommandChannel& channel, std::span<const uint8_t> source, uint16_t address);

// 0x07: block-size bytes from address 0 (destination at least that long).
int ReadKeyTable(CCommandChannel& channel, std::span<uint8_t> destination);
// 0x09 / 0x27: block-size bytes to bank * 512. Any bank but 0 gives -201 before anything is sent.
int WriteKeyTable(CCommandChannel& channel, std::span<const uint8_t> source, uint32_t bank);
int WriteKeyTable2(CCommandChannel& channel, std::span<const uint8_t> source, uint32_t bank);
// 0x1B: block size / 3 bytes from address 0 (destination at least that long).
int ReadLedIndexTable(CCommandChannel& channel, std::span<uint8_t> destination);

// 0x0A / 0x0B: the key colours of one slot at slot * slotSize. 0x0B takes the stream lock.
int ReadKeyColors(CCommandChannel& channel, std::span<uint8_t> destination, uint32_t slot, uint32_t slotSize);
int WriteKeyColors(CCommandChannel& channel, std::span<const uint8_t> source, uint32_t slot, uint32_t slotSize);

// 0x15: the macro image from address 0.
int WriteMacroImage(CCommandChannel& channel, std::span<const uint8_t> source);
// 0x17: recoil data from address 0 in chunks of 56 bytes in either mode; takes neither lock (the
// exchange lock still serialises it with everything else).
int WriteRecoilData(CCommandChannel& channel, std::span<const uint8_t> source);

// 0x12: one lighting frame from address 0 over the protected exchange, under the stream lock. When
// another exchange is running as the frame starts, the whole frame is dropped (trace "放弃灯光数据")
// and the result is 1: frames are skipped, never queued, and never sent in part.
int StreamLights(CCommandChannel& channel, std::span<const uint8_t> source);

// 0x1A: count bytes of status from the address (byte 4 = count, bytes 5, 6 = address). Copies at
// most min(count, 56, destination size) answer bytes; the answer's status byte is ignored.
int ReadStatus(CCommandChannel& channel, std::span<uint8_t> destination, uint8_t count, uint16_t address);

// 0x1C: tells a keyboard that the main window takes over its lighting.
int NotifyLightControl(CCommandChannel& channel);

// 0xAA: true at once in cable mode; through the receiver true only when the exchange gave 1, answer
// byte 8 is 0xFF and the status byte is neither 0xFF nor 0xFE.
bool QueryReceiverLink(CCommandChannel& channel);

// A short English name of a result for messages: "done", "no answer", "write failed",
// "receiver cannot serve", "device status 0xFF", "device status 0xFE", "bank not 0".
std::string CommandResultText(int result);

}  // namespace zevik
