#pragma once
// CCommandChannel: the vendor protocol link to one peripheral. It owns the peripheral's cable-side and
// receiver-side command interfaces and a flag saying which one is in use. Callers build whole 64-byte
// requests (see vendor_report.h and command_set.h); the channel writes one, waits for the answer that
// echoes its command byte, and reports the outcome as a small integer (kResult* below).
//
// Locks and their order: a caller takes the command lock (or the stream lock) first, then calls an
// exchange, which takes the exchange lock. The exchange lock is held from the write through the reads
// of one exchange, so a command-lock holder and a stream-lock holder running side by side never read
// each other's answers. The owner takes the exchange lock while it opens, closes or switches an
// interface and changes the open flag or the connection mode; the exchange tests the open flag under
// that lock, so no exchange touches an interface that is being closed.
//
// Flags shared with worker threads (busy, open, stream paused, receiver mode, sizes) are atomics.

#include <atomic>
#include <cstdint>
#include <mutex>
#include <span>
#include <string>

#include "transport/hid_interface.h"

namespace zevik {

// Results of an exchange (1, 0, -1, -101) and of the command operations built on it (all of them).
inline constexpr int kResultDone = 1;
inline constexpr int kResultNoAnswer = 0;               // channel closed, no answer, or no matching answer
inline constexpr int kResultWriteFailed = -1;           // the request could not be written in time
inline constexpr int kResultReceiverCannotServe = -101; // receiver answered 0xAA, or the answer's CRC is wrong
inline constexpr int kResultStatusFailed = -102;        // the device answered with status 0xFF
inline constexpr int kResultStatusRejected = -103;      // the device answered with status 0xFE
inline constexpr int kResultBankNotZero = -201;         // a key-table bank other than 0 was asked for

// Connection modes given to SetConnectionMode.
inline constexpr int kConnectionCable = 1;
inline constexpr int kConnectionReceiver = 2;

class CCommandChannel {
public:
    static constexpr uint16_t kMaxBlockSize = 512;
    static constexpr uint8_t kCableChunkSize = 56;
    static constexpr uint8_t kReceiverChunkSize = 24;
    // Per-phase time-outs: the receiver forwards the request over the air, so it gets longer.
    static constexpr uint32_t kCableTimeoutMs = 1000;
    static constexpr uint32_t kReceiverTimeoutMs = 5000;
    static constexpr uint32_t kProtectedReceiverTimeoutMs = 500;  // the lighting stream skips, never waits long
    // Input reports of another id passed over while one answer is awaited.
    static constexpr int kMaxForeignReports = 16;

    // Both interfaces on one backend, or each on its own.
    explicit CCommandChannel(IHidBackend& backend);
    CCommandChannel(IHidBackend& cableBackend, IHidBackend& receiverBackend);
    ~CCommandChannel() = default;
    CCommandChannel(const CCommandChannel&) = delete;
    CCommandChannel& operator=(const CCommandChannel&) = delete;

    // The plain exchange. The request is sent as 64 bytes (zero-padded or cut); the last answer read is
    // copied into answer up to its size; received (may be null) gets that read's byte count, 0 at the
    // start. Results: 1 a matching answer was read; 0 channel not open (nothing sent), read failed, or
    // two answers in a row echoed another command; -1 write failed; -101 receiver mode and the
    // receiver answered 0xAA.
    int Exchange(std::span<const uint8_t> request, std::span<uint8_t> answer, uint32_t* received = nullptr);

    // As Exchange, without traces. In receiver mode the CRC of bytes 3..31 replaces the checksum, the
    // time-outs are 500 ms, and a matching answer whose CRC bytes do not both match gives -101.
    int ExchangeProtected(std::span<const uint8_t> request, std::span<uint8_t> answer,
                          uint32_t* received = nullptr);

    // Mode 2 selects the receiver (chunk size 24), any other value the cable (chunk size 56).
    // The owner calls it under the exchange lock after opening the interface of the new connection.
    void SetConnectionMode(int mode);
    bool ReceiverMode() const { return receiverMode_.load(std::memory_order_acquire); }
    uint8_t ChunkSize() const { return chunkSize_.load(std::memory_order_acquire); }

    // False and no change when size exceeds 512.
    bool SetBlockSize(uint32_t size);
    uint16_t BlockSize() const { return blockSize_.load(std::memory_order_acquire); }

    // True while at least one exchange runs (from its first step to its last).
    bool IsBusy() const { return busyCount_.load(std::memory_order_acquire) > 0; }

    // Set by the owner, under the exchange lock, once the interface in use is open; cleared before it
    // closes or reopens it.
    bool IsOpen() const { return open_.load(std::memory_order_acquire); }
    void SetOpen(bool open) { open_.store(open, std::memory_order_release); }

    // Under the exchange lock: opens the interface of the connection (mode 2 the receiver's, any other
    // the cable's) on path for reading and writing, then sets the mode and marks the channel open.
    // False, and nothing changed, when the interface cannot be opened.
    bool OpenConnection(const std::string& path, int mode);
    // Under the exchange lock: marks the channel closed and closes both interfaces.
    void CloseConnections();

    // While set, the devices' lighting threads send no lighting frames.
    bool StreamPaused() const { return streamPaused_.load(std::memory_order_acquire); }
    void SetStreamPaused(bool paused) { streamPaused_.store(paused, std::memory_order_release); }

    CHidInterface& CableInterface() { return cable_; }
    CHidInterface& ReceiverInterface() { return receiver_; }

    std::mutex& ExchangeLock() { return exchangeLock_; }
    std::mutex& SecondLock() { return secondLock_; }
    std::mutex& CommandLock() { return commandLock_; }
    std::mutex& StreamLock() { return streamLock_; }

private:
    int Run(std::span<const uint8_t> request, std::span<uint8_t> answer, uint32_t* received, bool isProtected);

    CHidInterface cable_;
    CHidInterface receiver_;
    std::mutex exchangeLock_;
    std::mutex secondLock_;
    std::mutex commandLock_;
    std::mutex streamLock_;
    std::atomic<uint16_t> blockSize_{kMaxBlockSize};
    std::atomic<int> busyCount_{0};
    std::atomic<bool> open_{false};
    std::atomic<bool> streamPaused_{false};
    std::atomic<bool> receiverMode_{false};
    std::atomic<uint8_t> chunkSize_{kReceiverChunkSize};
};

}  // namespace zevik
