// The device option's timers on the plain loop's virtual clock, against the emulated mouse: connect,
// the receiver watch that hides and shows the option, status polling, the light frame timer and the
// one-shot resync timers.

#include <gtest/gtest.h>

#include <memory>

#include "base_fixture.h"
#include "emulator/emulation.h"
#include "ui/check_box_ui.h"
#include "ui/option_ui.h"
#include "ui/plain_message_loop.h"

namespace zevik::test {
namespace {

using namespace std::chrono_literals;

class OptionTimersTest : public ::testing::Test {
protected:
    void Start(const char* list) {
        std::string error;
        EmulationOptions options;
        options.list = list;
        emulation = CEmulation::Create(options, error);
        ASSERT_NE(emulation, nullptr) << error;
        context.hidBackend = &emulation->Backend();
        context.uiLoop = &loop;
        device = new CRecordingDevice(context);
        pages.Add(device);
        selector.Add(new CDeviceOptionUI);  // another device's option comes first
        option = new CDeviceOptionUI;
        selector.Add(option);
        option->SetVisible(false);
        option->SetDevice(device);
        device->SetDeviceOption(option);
        window = std::make_unique<CPowerWindow>(loop, selector);
        ASSERT_NE(window->Create(0, "main", 0, 0), 0u);
        device->SetMainWindow(window->GetHWND());
    }
    void TearDown() override {
        if (window) {
            window->DestroyWindow();
        }
    }

    // Gives the device a page with one light button, bound; the button.
    CButtonUI* BindOneLight() {
        auto* panel = new CContainerUI;
        panel->SetName("SelectPanel");
        auto* light = new CButtonUI;
        light->SetName("light_0");
        panel->Add(light);
        device->Add(panel);
        device->SetPageName("page");
        device->SetLightButtonCount(1);
        device->BindPage();
        return light;
    }

    // Advances the virtual clock in 100 ms steps until cond holds; the time it took, or -1.
    long long AdvanceUntil(const std::function<bool()>& cond, std::chrono::milliseconds limit) {
        for (std::chrono::milliseconds t{0}; t <= limit; t += 100ms) {
            if (cond()) {
                return t.count();
            }
            loop.AdvanceBy(100ms);
        }
        return -1;
    }

    CPlainMessageLoop loop;
    std::unique_ptr<CEmulation> emulation;
    DeviceContext context;
    CContainerUI pages;     // owns the device
    CContainerUI selector;  // "device_select_layout": owns the options
    CRecordingDevice* device = nullptr;
    CDeviceOptionUI* option = nullptr;
    std::unique_ptr<CPowerWindow> window;
};

TEST_F(OptionTimersTest, CableConnectShowsTheOptionAndConnectsOnce) {
    Start("mouse");
    ASSERT_TRUE(device->OpenCommand(kMouseCommandPath, false));
    option->StartConnectTimers();
    // 50 ms is four system ticks: 62.5 ms.
    loop.AdvanceBy(62ms);
    EXPECT_EQ(device->connects.load(), 0);
    loop.AdvanceBy(1ms);
    EXPECT_EQ(device->connects.load(), 1);
    ASSERT_EQ(window->log.size(), 1u);
    EXPECT_EQ(window->log[0].index, 1u) << "the option's index in the selector";
    EXPECT_EQ(window->log[0].show, 1);
    EXPECT_TRUE(option->IsVisible());
    EXPECT_FALSE(option->IsTimerRunning(CDeviceOptionUI::kTimerReceiverWatch)) << "cable: no receiver watch";
    EXPECT_FALSE(option->IsTimerRunning(CDeviceOptionUI::kTimerPollStatus)) << "no battery panel";
    loop.AdvanceBy(10s);
    EXPECT_EQ(device->connects.load(), 1);
}

TEST_F(OptionTimersTest, ReceiverDeviceThatStopsAnsweringIsHiddenWithinThreeSecondsAndShownAgain) {
    Start("mouse@receiver");
    device->SetBatteryPanel(1);
    ASSERT_TRUE(device->OpenCommand(kReceiverCommandPath, true));
    option->StartConnectTimers();
    loop.AdvanceBy(130ms);
    ASSERT_TRUE(option->IsVisible());
    EXPECT_EQ(device->connects.load(), 1);
    EXPECT_EQ(device->polls.load(), 1) << "1005 runs 50 ms (four ticks) after the connect";
    loop.AdvanceBy(5s);
    EXPECT_TRUE(option->IsVisible());
    EXPECT_GE(device->polls.load(), 3) << "with a battery panel the status is polled every 3 s";

    std::string error;
    ASSERT_TRUE(emulation->SetInRange("mouse", false, error)) << error;
    const long long hiddenAfter = AdvanceUntil([&] { return !option->IsVisible(); }, 4s);
    ASSERT_GE(hiddenAfter, 0) << "never hidden";
    EXPECT_LE(hiddenAfter, 3000);
    const auto hides = window->log.size();
    loop.AdvanceBy(7s);
    EXPECT_EQ(window->log.size(), hides) << "an option already hidden is not hidden again";

    ASSERT_TRUE(emulation->SetInRange("mouse", true, error)) << error;
    const long long shownAfter = AdvanceUntil([&] { return option->IsVisible(); }, 4s);
    ASSERT_GE(shownAfter, 0) << "never shown again";
    EXPECT_LE(shownAfter, 3000);
    EXPECT_EQ(device->connects.load(), 1) << "the watch shows the option; it does not connect again";
}

TEST_F(OptionTimersTest, ReceiverOutOfRangeAtConnectRetriesEveryTwoSecondsAndCountsFailures) {
    Start("mouse@receiver");
    std::string error;
    ASSERT_TRUE(emulation->SetInRange("mouse", false, error)) << error;
    ASSERT_TRUE(device->OpenCommand(kReceiverCommandPath, true));
    option->StartConnectTimers();
    loop.AdvanceBy(70ms);
    EXPECT_FALSE(option->IsVisible());
    EXPECT_EQ(device->connects.load(), 0) << "no connect while the receiver does not reach the device";
    EXPECT_EQ(option->GetFailureCount(), 1);
    ASSERT_FALSE(window->log.empty());
    EXPECT_EQ(window->log.back().show, 0);

    std::vector<int> counts;
    for (int i = 0; i < 5; ++i) {
        loop.AdvanceBy(2000ms);
        counts.push_back(option->GetFailureCount());
    }
    EXPECT_EQ(counts, (std::vector<int>{2, 3, 4, 0, 1})) << "the counter runs 0..4";

    ASSERT_TRUE(emulation->SetInRange("mouse", true, error)) << error;
    loop.AdvanceBy(2000ms);
    EXPECT_TRUE(option->IsVisible());
    EXPECT_EQ(device->connects.load(), 1);
}

TEST_F(OptionTimersTest, ConnectTimerDoesNothingOnceTheChannelClosed) {
    Start("mouse");
    ASSERT_TRUE(device->OpenCommand(kMouseCommandPath, false));
    option->StartConnectTimers();
    device->CloseCommand();
    loop.AdvanceBy(1s);
    EXPECT_EQ(device->connects.load(), 0);
    EXPECT_TRUE(window->log.empty());
    EXPECT_FALSE(option->IsVisible());
    EXPECT_FALSE(option->IsTimerRunning(CDeviceOptionUI::kTimerLightFrame))
        << "the frame timer ends with the channel";
}

TEST_F(OptionTimersTest, LightFrameTimerRunsWhileTheChannelIsOpenAndTheFrameMoves) {
    Start("mouse");
    CButtonUI* light = BindOneLight();
    ASSERT_TRUE(device->OpenCommand(kMouseCommandPath, false));
    option->StartConnectTimers();
    loop.AdvanceBy(100ms);
    EXPECT_FALSE(option->IsTimerRunning(CDeviceOptionUI::kTimerLightFrame))
        << "the bound frame was shown and stands still: the timer rests";

    for (std::uint32_t red = 1; red <= 5; ++red) {
        device->SetLightEntry(0, 0xFF000000 | red);
        EXPECT_TRUE(option->IsTimerRunning(CDeviceOptionUI::kTimerLightFrame)) << "a changed frame wakes it";
        loop.AdvanceBy(20ms);
        EXPECT_EQ(light->GetBkColor(), 0xFF000000u | (red << 16))
            << "the frame reaches the page within a tick";
    }
    light->SetBkColor(0x12345678);  // a colour the frame does not hold
    loop.AdvanceBy(50ms);
    EXPECT_EQ(light->GetBkColor(), 0x12345678u) << "a frame is shown once, not again on every tick";
    EXPECT_FALSE(option->IsTimerRunning(CDeviceOptionUI::kTimerLightFrame));

    device->SetLightEntry(0, 0xFF000000 | 5);
    EXPECT_FALSE(option->IsTimerRunning(CDeviceOptionUI::kTimerLightFrame)) << "the same colour is no change";
    device->CloseCommand();
    device->SetLightEntry(0, 0xFF0000FF);
    loop.AdvanceBy(50ms);
    EXPECT_FALSE(option->IsTimerRunning(CDeviceOptionUI::kTimerLightFrame)) << "closed: not woken";
}

TEST_F(OptionTimersTest, LightFrameTimerRestsWhileThePreviewIsUnseenAndResumesWithTheWindow) {
    Start("mouse");
    CButtonUI* light = BindOneLight();
    device->previewOnly = true;
    ASSERT_TRUE(device->OpenCommand(kMouseCommandPath, false));
    option->StartConnectTimers();
    loop.AdvanceBy(100ms);
    device->SetLightEntry(0, 0xFF000001);
    ASSERT_TRUE(option->IsTimerRunning(CDeviceOptionUI::kTimerLightFrame));

    device->SetPollingHold(true);  // the window went to the tray
    loop.AdvanceBy(20ms);
    EXPECT_FALSE(option->IsTimerRunning(CDeviceOptionUI::kTimerLightFrame))
        << "nothing to show: not restarted";
    device->SetLightEntry(0, 0xFF000002);
    loop.AdvanceBy(20ms);
    EXPECT_FALSE(option->IsTimerRunning(CDeviceOptionUI::kTimerLightFrame))
        << "a change unseen wakes nothing";

    device->SetPollingHold(false);  // back on screen
    EXPECT_TRUE(option->IsTimerRunning(CDeviceOptionUI::kTimerLightFrame));
    loop.AdvanceBy(20ms);
    EXPECT_EQ(light->GetBkColor(), 0xFF020000u) << "the change made meanwhile is shown on return";
    device->SetLightEntry(0, 0xFF0000FF);
    loop.AdvanceBy(20ms);
    EXPECT_EQ(light->GetBkColor(), 0xFFFF0000u) << "the frame reaches the page within a tick again";

    // A device whose frame goes elsewhere too keeps showing it on hold.
    device->previewOnly = false;
    device->SetPollingHold(true);
    device->SetLightEntry(0, 0xFF00FF00);
    EXPECT_TRUE(option->IsTimerRunning(CDeviceOptionUI::kTimerLightFrame));
    loop.AdvanceBy(20ms);
    EXPECT_EQ(light->GetBkColor(), 0xFF00FF00u);

    // Closed: the window's return does not start it.
    device->SetPollingHold(false);
    device->CloseCommand();
    loop.AdvanceBy(50ms);
    ASSERT_FALSE(option->IsTimerRunning(CDeviceOptionUI::kTimerLightFrame));
    device->previewOnly = true;
    device->SetPollingHold(true);
    device->SetPollingHold(false);
    EXPECT_FALSE(option->IsTimerRunning(CDeviceOptionUI::kTimerLightFrame));
}

TEST_F(OptionTimersTest, ResyncAndSpareTimersRunOncePerStart) {
    Start("mouse");
    struct Case {
        UINT_PTR id;
        std::atomic<int>* count;
    };
    const Case cases[] = {{CDeviceOptionUI::kTimerResync, &device->resyncs},
                          {CDeviceOptionUI::kTimerReserved1, &device->reserved1},
                          {CDeviceOptionUI::kTimerReserved2, &device->reserved2}};
    for (const auto& c : cases) {
        option->StartTimer(c.id, 500);
        option->StartTimer(c.id, 500);  // started again before it fired: still one run
        loop.AdvanceBy(3s);
        EXPECT_EQ(c.count->load(), 1) << c.id;
        EXPECT_FALSE(option->IsTimerRunning(c.id));
    }
}

TEST_F(OptionTimersTest, DetachedOptionStopsItsTimers) {
    Start("mouse");
    option->StartTimer(CDeviceOptionUI::kTimerResync, 500);
    selector.Remove(option, true);
    EXPECT_FALSE(option->IsTimerRunning(CDeviceOptionUI::kTimerResync));
    loop.AdvanceBy(1s);
    EXPECT_EQ(device->resyncs.load(), 0);
    device->SetDeviceOption(nullptr);
    delete option;
}

TEST(DeviceOptionTest, IconsFollowKindVariantAndSynchroMark) {
    struct Case {
        int kind;
        int variant;
        const char* prefix;
    };
    const Case cases[] = {{1, 0, "kb_"},      {9, 0, "kb_"}, {2, 0, "ms_"}, {6, 0, "ms_"}, {3, 0, "hard_mp_"},
                          {3, 1, "soft_mp_"}, {3, 2, ""},    {7, 0, "hd_"}, {4, 0, ""}};
    for (const auto& c : cases) {
        EXPECT_EQ(CDeviceOptionUI::IconPrefix(c.kind, c.variant), c.prefix) << c.kind << "/" << c.variant;
    }

    CDeviceOptionUI option;
    auto* button = new COptionUI;
    button->SetName("device_select");
    auto* check = new CCheckBoxUI;
    check->SetName("synchro_device_select");
    option.Add(button);
    option.Add(check);
    option.SetKindAndVariant(2, 0);
    EXPECT_EQ(button->GetNormalImage(), "file='common/device_ico/ms_device_normal.png'");
    EXPECT_EQ(button->GetSelectedImage(), "file='common/device_ico/ms_device_select.png'");
    EXPECT_EQ(button->GetTextKey(), "ms_device_name_text");
    option.SetSynchro(true);
    EXPECT_TRUE(option.IsSynchro());
    EXPECT_EQ(button->GetNormalImage(), "file='common/device_ico/ms_device_synchro.png'");
    option.SetSynchro(false);
    EXPECT_EQ(button->GetNormalImage(), "file='common/device_ico/ms_device_normal.png'");
    option.Select(true);
    EXPECT_TRUE(option.IsSelected());
    EXPECT_EQ(option.IndexInSelector(), -1);
}

}  // namespace
}  // namespace zevik::test
