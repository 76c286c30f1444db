#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <thread>

#include "devices/lighting_tables.h"
#include "devices/mouse_device_fixture.h"

namespace zevik::test {
namespace {

bool WaitUntil(const std::function<bool()>& cond, std::chrono::milliseconds limit = std::chrono::seconds(3)) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!cond()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
}

int LitLeds(const COrbantixMouseDevice& device) {
    int lit = 0;
    for (int i = 0; i < device.Frame().Size(); ++i)
        lit += lighting::EntryIntensity(device.Frame().Get(i)) > 0 ? 1 : 0;
    return lit;
}

// The lighting thread, the notification readers and the UI thread work on one mouse at once: the
// reactive mode lights up on key presses from the mouse while the page is refreshed and the mode
// changes. Run under ThreadSanitizer to check the sharing.
TEST_F(MouseDeviceTest, LightingFollowsKeyPressesWhileThePageChanges) {
    Start("mouse@both");
    device->SetLightButtonCount(kMouseLedCount);
    device->SetPageName("page");
    device->BindPage();
    ASSERT_TRUE(Open());
    ASSERT_EQ(device->Connect(), 1);
    ASSERT_TRUE(device->IsLightingThreadRunning());
    ASSERT_TRUE(device->OpenNotificationOfKind(kDeviceKindMouse, kMouseCableNotify));

    LightInfoRecord light = device->GetLighting();
    light.selectItem = 6;  // reactive
    light.light = 4;
    light.speed = 4;
    device->SetLighting(light);
    EXPECT_TRUE(WaitUntil([&] { return LitLeds(*device) == 0; }));

    std::string error;
    ASSERT_TRUE(emulation->Notify("mouse", 0x0403, error)) << error;
    EXPECT_TRUE(WaitUntil([&] { return LitLeds(*device) == kMouseLedCount; }));
    EXPECT_TRUE(WaitUntil([&] { return LitLeds(*device) == 0; }));  // and fades out again

    // Modes change and the page refreshes while the thread steps and presses keep coming.
    const std::uint64_t steps = device->LightingStepCount();
    for (int mode : {0, 5, 9, 10, 3, 6}) {
        light.selectItem = static_cast<std::uint8_t>(mode);
        device->SetLighting(light);
        ASSERT_TRUE(emulation->Notify("mouse", 0x0403, error)) << error;
        device->RefreshPage();
        std::this_thread::sleep_for(std::chrono::milliseconds(40));
    }
    EXPECT_GT(device->LightingStepCount(), steps);
    light.selectItem = 3;  // steady: every LED lit in the record's colour
    device->SetLighting(light);
    EXPECT_TRUE(WaitUntil([&] { return LitLeds(*device) == kMouseLedCount; }));

    device->CloseNotificationOfKind(kDeviceKindMouse);
    device->StopLightingThread();
    EXPECT_FALSE(device->IsLightingThreadRunning());
}

}  // namespace
}  // namespace zevik::test
