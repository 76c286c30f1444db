#pragma once
// CFaultPlan: the faults an emulated device injects into its next answers, so tests can drive every
// failure path of the host's protocol code. A fault is armed for a number of requests (or until
// cleared) and for one command code or any; the first armed fault that fits a request is used.

#include <cstdint>
#include <mutex>
#include <optional>
#include <vector>

namespace zevik {

enum class EmulatedFault {
    NoAnswer,             // the request is swallowed: no answer, no effect
    WrongEcho,            // the answer carries another command code in byte 3 (the request takes effect)
    StatusFailed,         // status 0xFF; the request has no effect
    StatusRejected,       // status 0xFE; the request has no effect
    ReceiverCannotServe,  // byte 3 = 0xAA, as a receiver that cannot reach its device (no effect)
    BadCrc,  // bytes 1 and 2 of the answer are wrong (checksum, or the CRC of the protected exchange)
    UnplugDuringTransfer  // the node vanishes after the request arrived, before it answers
};

class CFaultPlan {
public:
    static constexpr int kUntilCleared = -1;
    static constexpr int kAnyCommand = -1;

    // Arms a fault for the next `count` fitting requests (kUntilCleared: every one until Clear()).
    // command: a command code 0..255, or kAnyCommand. Nothing is armed for count 0 or a bad command.
    void Arm(EmulatedFault fault, int count = 1, int command = kAnyCommand);
    void Clear();
    // The fault for a request with this command code, consuming one use; nullopt when none fits.
    std::optional<EmulatedFault> Take(uint8_t command);
    bool Empty() const;

private:
    struct Entry {
        EmulatedFault fault;
        int remaining;  // kUntilCleared or > 0
        int command;    // kAnyCommand or the code
    };
    mutable std::mutex mutex_;
    std::vector<Entry> entries_;
};

}  // namespace zevik
