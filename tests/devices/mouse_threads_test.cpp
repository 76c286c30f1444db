#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <thread>

#include "devices/lighting_tables.h"
#include "devices/mouse_device_fixture.h"
#include "ui/button_ui.h"
#include "ui/container_ui.h"

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

// The mouse's frame is only the page's preview: while the window is hidden in the tray (polling on
// hold) the lighting thread neither steps nor wakes, and the page is left alone; it resumes when
// the window comes back.
TEST_F(MouseDeviceTest, PreviewRestsWhileTheWindowIsInTheTray) {
    Start();
    auto* panel = new CContainerUI;
    panel->SetName("SelectPanel");
    for (int i = 0; i < kMouseLedCount; ++i) {
        auto* button = new CButtonUI;
        button->SetName("light_" + std::to_string(i));
        panel->Add(button);
    }
    device->Add(panel);
    device->SetLightButtonCount(kMouseLedCount);
    device->SetPageName("page");
    device->BindPage();
    ASSERT_TRUE(Open());
    LightInfoRecord light = device->GetLighting();
    light.selectItem = 3;  // steady, fastest speed: a step every tick
    light.light = 4;
    light.speed = 4;
    light.red = 0xFF;
    light.green = light.blue = 0;
    device->SetLighting(light);

    device->SetPollingHold(true);
    ASSERT_TRUE(device->StartLightingThread());
    std::this_thread::sleep_for(std::chrono::milliseconds(200));  // some 12 ticks
    EXPECT_EQ(device->LightingStepCount(), 0u);
    EXPECT_EQ(device->LightingWakeCount(), 0u) << "it waits for the window, it does not poll";
    EXPECT_EQ(LitLeds(*device), 0);

    device->SetPollingHold(false);
    EXPECT_TRUE(WaitUntil([&] { return LitLeds(*device) == kMouseLedCount; }))
        << "woken by the window's return";
    device->SendLightFrame();
    ASSERT_FALSE(device->LightButtons().empty());
    ASSERT_NE(device->LightButtons()[0], nullptr);
    const UiColor shown = device->LightButtons()[0]->GetBkColor();
    EXPECT_EQ(shown & 0x00FFFFFFu, 0x00FF0000u);

    // Hidden again: the next frame is not put on the page.
    device->SetPollingHold(true);
    light.red = 0;
    light.blue = 0xFF;
    device->SetLighting(light);
    device->SendLightFrame();
    EXPECT_EQ(device->LightButtons()[0]->GetBkColor(), shown);
    device->StopLightingThread();
}

}  // namespace
}  // namespace zevik::test
