#include "devices/sync_lighting_thread.h"

#include <algorithm>

#include "devices/orbantix_usb_device.h"
#include "platform/thread_name.h"
#include "platform/trace.h"

namespace zevik {

CSyncLightingThread::CSyncLightingThread(const IDeviceClock* clock, std::chrono::microseconds tick)
    : m_clock(clock), m_tick(tick) {}

CSyncLightingThread::~CSyncLightingThread() {
    Stop();
}

bool CSyncLightingThread::Start() {
    if (m_thread.joinable()) return false;
    m_stop.ResetEvent();
    m_wake.ResetEvent();
    m_thread = std::thread([this] { Run(); });
    return true;
}

void CSyncLightingThread::Stop() {
    if (!m_thread.joinable()) return;
    m_stop.Set();
    m_wake.Set();
    m_thread.join();
}

void CSyncLightingThread::SetFollowers(std::vector<COrbantixUSBDevice*> devices) {
    {
        std::lock_guard lock(m_lock);
        m_devices = std::move(devices);
    }
    m_wake.Set();
}

void CSyncLightingThread::Configure(SharedEffect type, const LightInfoRecord& record) {
    {
        std::lock_guard lock(m_lock);
        m_state.type = type;
        m_state.TakeSettings(record);
    }
    m_wake.Set();
}

SharedLightState CSyncLightingThread::State() const {
    std::lock_guard lock(m_lock);
    return m_state;
}

std::uint64_t CSyncLightingThread::NowMs() const {
    return m_clock != nullptr ? m_clock->NowMs() : m_steadyClock.NowMs();
}

void CSyncLightingThread::Following(const std::vector<COrbantixUSBDevice*>& devices,
                                    std::vector<COrbantixUSBDevice*>& following) {
    following.clear();
    for (COrbantixUSBDevice* device : devices) {
        // A follower whose frame no one can see (its page hidden) needs no steps until it is seen.
        if (device != nullptr && device->IsSameMode() && device->CommandChannel().IsOpen() &&
            !device->IsLightingUnseen()) {
            following.push_back(device);
        }
    }
}

void CSyncLightingThread::Run() {
    SetCurrentThreadName("zevik-sync-light");
    using Clock = std::chrono::steady_clock;
    Clock::time_point lastStep = Clock::now();
    bool resting = true;
    std::vector<COrbantixUSBDevice*> devices;    // the copy of the list, taken under the lock
    std::vector<COrbantixUSBDevice*> following;  // reused: a step allocates nothing
    while (!m_stop.IsSet()) {
        int period = 0;
        {
            std::lock_guard lock(m_lock);
            devices = m_devices;
            period = SharedStepPeriod(m_state.speed);
        }
        Following(devices, following);
        if (following.empty()) {
            resting = true;
            m_wake.Wait();  // SetFollowers, Configure, Wake and Stop set it
            m_wakes.fetch_add(1, std::memory_order_relaxed);
            continue;
        }
        if (resting) {
            resting = false;
            lastStep = Clock::now();  // the count starts when someone follows
        }
        const Clock::time_point now = Clock::now();
        Clock::time_point due = lastStep + m_tick * std::max(1, period);
        if (due + m_tick < now) due = now;  // late (a suspended machine): no burst of catch-up steps
        if (m_wake.WaitUntil(due)) {
            m_wakes.fetch_add(1, std::memory_order_relaxed);
            continue;  // stopped, or something changed: look again
        }
        m_wakes.fetch_add(1, std::memory_order_relaxed);
        lastStep = due;
        std::uint32_t entry = 0;
        {
            std::lock_guard lock(m_lock);
            devices = m_devices;
            entry = SharedLightStep(m_state, NowMs());
        }
        // Written without the lock; a device that stopped following since the copy is left alone.
        Following(devices, following);
        for (COrbantixUSBDevice* device : following) {
            for (int i = 0; i < device->GetLightButtonCount(); ++i) device->SetLightEntry(i, entry);
        }
        m_steps.fetch_add(1, std::memory_order_relaxed);
    }
    Trace("同步灯光线程设定退出");
}

}  // namespace zevik
