#include "devices/notification_reader.h"

#include <algorithm>
#include <chrono>

#include "platform/thread_name.h"
#include "platform/trace.h"

namespace zevik {
namespace {

constexpr std::chrono::milliseconds kRetryDelay{100};
constexpr std::uint32_t kReportBufferSize = 64;

}  // namespace

std::uint16_t FirstReportUsage(const std::vector<HidReportField>& fields) {
    if (fields.empty()) {
        return 0;
    }
    const HidReportField& field = fields.front();
    if (field.isButton) {
        return field.usages.empty() ? 0 : field.usages.front();
    }
    return static_cast<std::uint16_t>(field.rawValue);
}

CNotificationReader::CNotificationReader(CHidInterface& hid, std::mutex& guard, Handler handler,
                                         std::string exitTrace)
    : m_hid(hid), m_guard(guard), m_handler(std::move(handler)), m_exitTrace(std::move(exitTrace)) {}

CNotificationReader::~CNotificationReader() {
    RequestStop();
    Join();
}

bool CNotificationReader::Start() {
    if (m_thread.joinable()) {
        return false;
    }
    m_stop.ResetEvent();
    m_reports.store(0, std::memory_order_relaxed);
    m_thread = std::thread([this] { Run(); });
    return true;
}

void CNotificationReader::RequestStop() {
    m_stop.Set();
}

void CNotificationReader::Join() {
    if (m_thread.joinable()) {
        m_thread.join();
    }
}

void CNotificationReader::Run() {
    SetCurrentThreadName("zevik-notify");
    std::vector<std::uint8_t> buffer;
    while (!m_stop.IsSet()) {
        if (!m_hid.IsOpen()) {
            m_stop.WaitFor(kRetryDelay);
            continue;
        }
        const std::uint32_t length = std::max<std::uint32_t>(m_hid.InputReportLength(), kReportBufferSize);
        buffer.assign(length, 0);
        std::uint32_t received = 0;
        if (!m_hid.Read(buffer.data(), length, &received, CHidInterface::kInfinite)) {
            m_stop.WaitFor(kRetryDelay);
            continue;
        }
        std::uint16_t usage = 0;
        {
            std::lock_guard lock(m_guard);
            if (m_stop.IsSet() || !m_hid.IsOpen()) {
                continue;
            }
            m_hid.UnpackInputReport(buffer.data(), received);
            usage = FirstReportUsage(m_hid.InputFields());
        }
        m_reports.fetch_add(1, std::memory_order_relaxed);
        Trace("接收到自动添加设备的同步信息要求  TEST");
        m_handler(usage);
    }
    Trace(m_exitTrace);
}

}  // namespace zevik
