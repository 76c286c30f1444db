#pragma once
// CScanThread: finds plugged and pulled HID interfaces of the catalogue by polling every 100 ms.
//
// A pass, while at least one live row that a real interface can match is free, lists the interface paths,
// opens each candidate (its path numbers match a catalogue row and a free live row) for reading, takes vendor
// and product id from its attributes and usage page and usage from its capabilities, claims the first free
// live row with all six values and sends UM_DEVICE_ARRIVED with the row's index to the target window. After
// the first such pass it posts the activation message once. Every pass then checks each connected row: when
// its node no longer opens, or opens as another peripheral (node numbers are reused), the row is freed and
// UM_DEVICE_REMOVED is sent.
//
// Messages go through the loop's Send, so the handlers run on the UI thread while the scan thread
// waits. A Send the UI thread does not take within a short time is retried until the thread is asked
// to stop, so Stop() from the UI thread never deadlocks and no arrival is lost while it runs.
//
// A node that has just appeared may refuse the first open while the system still sets it up; the open
// of a candidate is tried a few times before the pass moves on (the next pass tries again anyway).
//
// Listing and probing the nodes is the costly part of a pass (sysfs reads for every HID node). When
// the backend counts its node changes, a pass whose count did not move since the last full pass, and
// after which nothing was left to retry (a candidate that did not open, a row freed), finds what that
// pass found and is skipped; the passes keep their period.

#include <atomic>
#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <thread>

#include "devices/discovery_interface_list.h"
#include "devices/worker_event.h"
#include "ui/ui_types.h"

namespace zevik {

class CMessageLoop;
class IHidBackend;

// wParam: the live row's index.
inline constexpr UINT UM_DEVICE_ARRIVED = 0x0C12;  // 3090
inline constexpr UINT UM_DEVICE_REMOVED = 0x0C13;  // 3091
// The registered name of the message that brings the running instance's window to the front.
inline constexpr std::string_view kActivateMessageName = "ZEVIK-R300Prime";

class CScanThread {
public:
    static constexpr std::chrono::milliseconds kScanPeriod{100};
    static constexpr int kOpenAttempts = 3;
    static constexpr std::chrono::milliseconds kOpenRetryPause{20};

    // activateMsg 0: nothing is posted after the first pass.
    CScanThread(IHidBackend& backend, CMessageLoop& loop, HWND target, UINT activateMsg,
                CDiscoveryInterfaceList& list);
    ~CScanThread();  // stops the thread
    CScanThread(const CScanThread&) = delete;
    CScanThread& operator=(const CScanThread&) = delete;

    // False when already running.
    bool Start();
    // Sets the stop event and joins; returns at once when not running.
    void Stop();
    bool IsRunning() const { return m_thread.joinable(); }

    // One pass on the caller's thread (tests and the headless tool use it without the thread).
    void RunPass();

    std::uint64_t PassCount() const { return m_passes.load(); }

private:
    void Run();
    void ScanForArrivals();
    void CheckRemovals();
    bool SendToTarget(UINT msg, std::size_t row);

    IHidBackend& m_backend;
    CMessageLoop& m_loop;
    const HWND m_target;
    const UINT m_activateMsg;
    CDiscoveryInterfaceList& m_list;
    CWorkerEvent m_stop{CWorkerEvent::Reset::Manual};
    std::thread m_thread;
    bool m_activatePosted = false;
    std::optional<std::uint64_t> m_seenChanges;  // the backend's change count at the last full pass
    bool m_emulatedListed = true;  // the last listing held emulated nodes (assumed before the first)
    bool m_lookAgain = false;                    // the last full pass left something to retry
    std::atomic<std::uint64_t> m_passes{0};
};

}  // namespace zevik
