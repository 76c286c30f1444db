#pragma once
// CSynchronisedLighting: the main window's synchronised lighting. Starting it ("deng_same_mode")
// gives every connected device of every family the current device's effect in that family's mode,
// marks them as followers, and lets the sync thread (the window's worker slot 8) animate them all
// with one shared effect. OfferSameMode follows the device list: with fewer than two devices shown
// nobody follows any more.
//
// UI thread only, apart from the thread it owns. The devices of the lists outlive the thread
// (StopThread comes before the devices are destroyed).

#include <cstdint>
#include <vector>

#include "devices/shared_light_state.h"
#include "devices/sync_lighting_thread.h"

namespace zevik {

class COrbantixUSBDevice;

// The main window's four device lists.
struct DeviceFamilies {
    std::vector<COrbantixUSBDevice*> keyboards;
    std::vector<COrbantixUSBDevice*> mice;
    std::vector<COrbantixUSBDevice*> mousepads;
    std::vector<COrbantixUSBDevice*> headsets;
};

class CSynchronisedLighting {
public:
    explicit CSynchronisedLighting(const IDeviceClock* clock = nullptr,
                                   std::chrono::microseconds tick = CSyncLightingThread::kSystemTick);

    void StartThread() { m_thread.Start(); }
    void StopThread() { m_thread.Stop(); }

    // The current device's record decides the effect (its kind's row of the mode table; a kind
    // without a row keeps the effect set last). False, with nothing changed, without a current
    // device or when its mode has no shared effect. Commands are sent with no lock held.
    bool Start(COrbantixUSBDevice* current, const DeviceFamilies& families);
    // flag 1: two or more devices are shown; 0: every device stops following.
    void Offer(int flag, const DeviceFamilies& families);
    int LastOffer() const { return m_offer; }

    CSyncLightingThread& Thread() { return m_thread; }

private:
    CSyncLightingThread m_thread;
    SharedEffect m_lastEffect = SharedEffect::Breathing;
    int m_offer = 0;
};

}  // namespace zevik
