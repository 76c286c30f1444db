#pragma once
// CNotificationReader: the worker that reads a device's unsolicited input reports from one HID
// interface and hands the first usage of each report to a handler (on the worker thread).
//
// The read waits without a time-out; it is cancelled by closing the interface. So the owner stops the
// reader in this order: RequestStop(), close the interface (under the channel's exchange lock, which
// ends the pending read), then Join(). A read that fails while no stop is pending (the device went
// away) is retried after 100 ms, never in a busy loop.

#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "devices/worker_event.h"
#include "transport/hid_interface.h"

namespace zevik {

// The first usage of the first field of an unpacked input report: the first usage that is on for a
// button field, the value for a value field; 0 when the report has no field.
std::uint16_t FirstReportUsage(const std::vector<HidReportField>& fields);

class CNotificationReader {
public:
    using Handler = std::function<void(std::uint16_t usage)>;

    // guard is the lock under which the owner opens and closes the interface; the reader holds it
    // while it decodes a report, so a close never frees the field tables under it. exitTrace is
    // written when the thread ends.
    CNotificationReader(CHidInterface& hid, std::mutex& guard, Handler handler, std::string exitTrace);
    ~CNotificationReader();
    CNotificationReader(const CNotificationReader&) = delete;
    CNotificationReader& operator=(const CNotificationReader&) = delete;

    // False when already running.
    bool Start();
    void RequestStop();
    // Waits for the thread; the owner must have cancelled the pending read first (see above).
    void Join();
    bool IsRunning() const { return m_thread.joinable(); }

    // Reports read since Start.
    std::uint64_t ReportCount() const { return m_reports.load(std::memory_order_relaxed); }

private:
    void Run();

    CHidInterface& m_hid;
    std::mutex& m_guard;
    Handler m_handler;
    std::string m_exitTrace;
    CWorkerEvent m_stop{CWorkerEvent::Reset::Manual};
    std::thread m_thread;
    std::atomic<std::uint64_t> m_reports{0};
};

}  // namespace zevik
