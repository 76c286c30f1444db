#include "transport/command_set.h"

#include <algorithm>
#include <chrono>
#include <mutex>
#include <optional>
#include <thread>

#include "platform/trace.h"
#include "transport/vendor_report.h"

namespace zevik {
namespace {

using vendor::Report;

constexpr auto kEndConfigPause = std::chrono::milliseconds(10);

enum class LockKind { Command, Stream, None };

// Runs one exchange under the lock the command asks for.
int LockedExchange(CCommandChannel& channel, LockKind lockKind, bool isProtected, const Report& request,
                   Report& answer) {
    std::optional<std::lock_guard<std::mutex>> lock;
    if (lockKind == LockKind::Command) lock.emplace(channel.CommandLock());
    if (lockKind == LockKind::Stream) lock.emplace(channel.StreamLock());
    return isProtected ? channel.ExchangeProtected(request, answer) : channel.Exchange(request, answer);
}

// Maps a failing status byte of an answer to its result; 1 for any other status.
int StatusResult(const Report& answer) {
    switch (answer[vendor::kOffsetStatus]) {
        case vendor::kStatusFailed: return kResultStatusFailed;
        case vendor::kStatusRejected: return kResultStatusRejected;
        default: return kResultDone;
    }
}

// A request without parameters (or with the given bytes 4..6), exchanged under the command lock;
// the answer's status decides the result.
int SingleCommand(CCommandChannel& channel, uint8_t command, Report* answerOut = nullptr) {
    Report request = vendor::MakeRequest(command);
    vendor::StoreChecksum(request);
    Report answer{};
    const int result = LockedExchange(channel, LockKind::Command, false, request, answer);
    if (answerOut != nullptr) *answerOut = answer;
    if (result != kResultDone) return result;
    return StatusResult(answer);
}

struct Transfer {
    uint8_t command = 0;
    uint32_t base = 0;       // transfer address of offset 0; chunk addresses are kept to 16 bits
    size_t chunkLimit = 0;   // largest payload per report
    LockKind lock = LockKind::Command;
    bool isProtected = false;
};

// A chunked write of source, or a chunked read into destination (exactly one of them non-empty, or
// both empty for a zero-length transfer).
int RunTransfer(CCommandChannel& channel, const Transfer& transfer, std::span<const uint8_t> source,
                std::span<uint8_t> destination) {
    const bool isWrite = destination.empty();
    const size_t total = isWrite ? source.size() : destination.size();
    const size_t chunk = std::clamp<size_t>(transfer.chunkLimit, 1, vendor::kMaxPayload);

    Report request = vendor::MakeRequest(transfer.command);
    for (size_t offset = 0; offset < total; offset += chunk) {
        const size_t length = std::min(chunk, total - offset);
        const uint32_t address = (transfer.base + static_cast<uint32_t>(offset)) & 0xFFFF;
        request[vendor::kOffsetLength] = static_cast<uint8_t>(length);
        request[vendor::kOffsetAddressLow] = static_cast<uint8_t>(address & 0xFF);
        request[vendor::kOffsetAddressHigh] = static_cast<uint8_t>(address >> 8);
        if (isWrite) {
            // Bytes past this chunk's payload are cleared, so no earlier chunk's data rides along.
            std::fill(request.begin() + vendor::kOffsetPayload, request.end(), 0);
            std::copy_n(source.begin() + static_cast<std::ptrdiff_t>(offset), length,
                        request.begin() + vendor::kOffsetPayload);
        }
        vendor::StoreChecksum(request);

        Report answer{};
        const int result = LockedExchange(channel, transfer.lock, transfer.isProtected, request, answer);
        if (result != kResultDone) return result;
        const int status = StatusResult(answer);
        if (status != kResultDone) return status;
        if (!isWrite) {
            std::copy_n(answer.begin() + vendor::kOffsetPayload, length,
                        destination.begin() + static_cast<std::ptrdiff_t>(offset));
        }
    }
    return kResultDone;
}

int Read(CCommandChannel& channel, uint8_t command, uint32_t base, std::span<uint8_t> destination) {
    return RunTransfer(channel, Transfer{command, base, channel.ChunkSize(), LockKind::Command, false}, {},
                       destination);
}

int Write(CCommandChannel& channel, uint8_t command, uint32_t base, std::span<const uint8_t> source,
          LockKind lock = LockKind::Command) {
    return RunTransfer(channel, Transfer{command, base, channel.ChunkSize(), lock, false}, source, {});
}

int WriteKeyTableWith(CCommandChannel& channel, uint8_t command, std::span<const uint8_t> source, uint32_t bank) {
    if (bank != 0) return kResultBankNotZero;
    const size_t block = channel.BlockSize();
    if (source.size() < block) return kResultNoAnswer;
    return Write(channel, command, bank * static_cast<uint32_t>(kKeyTableBankSize), source.first(block));
}

}  // namespace

int BeginConfig(CCommandChannel& channel) { return SingleCommand(channel, vendor::kCmdBeginConfig); }

int EndConfig(CCommandChannel& channel) {
    // The device needs a moment after the last write before it takes the end of the frame.
    std::this_thread::sleep_for(kEndConfigPause);
    return SingleCommand(channel, vendor::kCmdEndConfig);
}

int ReadDeviceInfo(CCommandChannel& channel, std::array<uint8_t, kDeviceInfoSize>& destination) {
    std::array<uint8_t, kDeviceInfoSize> collected{};
    const int result = Read(channel, vendor::kCmdReadDeviceInfo, 0, collected);
    if (result == kResultDone) destination = collected;
    return result;
}

int ReadMemory(CCommandChannel& channel, std::span<uint8_t> destination, uint16_t address) {
    return Read(channel, vendor::kCmdReadMemory, address, destination);
}

int WriteMemory(CCommandChannel& channel, std::span<const uint8_t> source, uint16_t address) {
    return Write(channel, vendor::kCmdWriteMemory, address, source);
}

int ReadKeyTable(CCommandChannel& channel, std::span<uint8_t> destination) {
    const size_t block = channel.BlockSize();
    if (destination.size() < block) return kResultNoAnswer;
    return Read(channel, vendor::kCmdReadKeyTable, 0, destination.first(block));
}

int WriteKeyTable(CCommandChannel& channel, std::span<const uint8_t> source, uint32_t bank) {
    return WriteKeyTableWith(channel, vendor::kCmdWriteKeyTable, source, bank);
}

int WriteKeyTable2(CCommandChannel& channel, std::span<const uint8_t> source, uint32_t bank) {
    return WriteKeyTableWith(channel, vendor::kCmdWriteKeyTable2, source, bank);
}

int ReadLedIndexTable(CCommandChannel& channel, std::span<uint8_t> destination) {
    const size_t length = channel.BlockSize() / 3U;
    if (destination.size() < length) return kResultNoAnswer;
    return Read(channel, vendor::kCmdReadLedIndexTable, 0, destination.first(length));
}

int ReadKeyColors(CCommandChannel& channel, std::span<uint8_t> destination, uint32_t slot, uint32_t slotSize) {
    return Read(channel, vendor::kCmdReadKeyColors, slot * slotSize, destination);
}

int WriteKeyColors(CCommandChannel& channel, std::span<const uint8_t> source, uint32_t slot, uint32_t slotSize) {
    return Write(channel, vendor::kCmdWriteKeyColors, slot * slotSize, source, LockKind::Stream);
}

int WriteMacroImage(CCommandChannel& channel, std::span<const uint8_t> source) {
    return Write(channel, vendor::kCmdWriteMacroImage, 0, source);
}

int WriteRecoilData(CCommandChannel& channel, std::span<const uint8_t> source) {
    return RunTransfer(channel, Transfer{vendor::kCmdWriteRecoilData, 0, kRecoilChunkSize, LockKind::None, false},
                       source, {});
}

int StreamLights(CCommandChannel& channel, std::span<const uint8_t> source) {
    // Decide once per frame: a frame sent in part would show a mix of old and new colours.
    if (channel.IsBusy()) {
        Trace("放弃灯光数据");
        return kResultDone;
    }
    return RunTransfer(channel, Transfer{vendor::kCmdStreamLights, 0, channel.ChunkSize(), LockKind::Stream, true},
                       source, {});
}

int ReadStatus(CCommandChannel& channel, std::span<uint8_t> destination, uint8_t count, uint16_t address) {
    Report request = vendor::MakeRequest(vendor::kCmdReadStatus);
    request[vendor::kOffsetLength] = count;
    request[vendor::kOffsetAddressLow] = static_cast<uint8_t>(address & 0xFF);
    request[vendor::kOffsetAddressHigh] = static_cast<uint8_t>(address >> 8);
    vendor::StoreChecksum(request);
    Report answer{};
    const int result = LockedExchange(channel, LockKind::Command, false, request, answer);
    if (result != kResultDone) return result;
    // An answer holds at most 56 data bytes, whatever count was asked for.
    const size_t copied = std::min({static_cast<size_t>(count), vendor::kMaxPayload, destination.size()});
    std::copy_n(answer.begin() + vendor::kOffsetPayload, copied, destination.begin());
    return kResultDone;
}

int NotifyLightControl(CCommandChannel& channel) { return SingleCommand(channel, vendor::kCmdNotifyLightControl); }

bool QueryReceiverLink(CCommandChannel& channel) {
    if (!channel.ReceiverMode()) return true;
    Report answer{};
    Report request = vendor::MakeRequest(vendor::kCmdQueryReceiverLink);
    vendor::StoreChecksum(request);
    if (LockedExchange(channel, LockKind::Command, false, request, answer) != kResultDone) return false;
    return StatusResult(answer) == kResultDone && answer[vendor::kOffsetPayload] == 0xFF;
}

std::string CommandResultText(int result) {
    switch (result) {
        case kResultDone: return "done";
        case kResultNoAnswer: return "no answer";
        case kResultWriteFailed: return "write failed";
        case kResultReceiverCannotServe: return "receiver cannot serve";
        case kResultStatusFailed: return "device status 0xFF";
        case kResultStatusRejected: return "device status 0xFE";
        case kResultBankNotZero: return "bank not 0";
        default: return "unknown result " + std::to_string(result);
    }
}

}  // namespace zevik
