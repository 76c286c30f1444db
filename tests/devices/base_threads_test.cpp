// The device base's workers against the emulated mouse: the lighting thread (idle while the channel
// is closed or paused, sleeping between due steps, stopped by event and join) and the notification
// reader (0x0401 schedules one Resync on the UI thread; close cancels the endless read).

#include <gtest/gtest.h>

#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "base_fixture.h"
#include "devices/lighting_tables.h"
#include "devices/notification_reader.h"
#include "emulator/emulation.h"
#include "platform/trace.h"
#include "ui/plain_message_loop.h"

namespace zevik::test {
namespace {

using namespace std::chrono_literals;

class BaseThreadsTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string error;
        EmulationOptions options;
        options.list = "mouse";
        emulation = CEmulation::Create(options, error);
        ASSERT_NE(emulation, nullptr) << error;
        context.hidBackend = &emulation->Backend();
        context.uiLoop = &loop;
        device = new CRecordingDevice(context);
        selector.Add(device);
        option = new CDeviceOptionUI;
        selector.Add(option);
        option->SetDevice(device);
        device->SetDeviceOption(option);
        device->SetPageName("page");
        device->SetLightButtonCount(15);
        device->BindPage();
    }
    void TearDown() override {
        if (device != nullptr) {
            device->StopWorkers();
        }
    }

    void SetSteady(int speed) {
        LightInfoRecord light;
        light.selectItem = 2;  // steady in the base's table
        light.light = 4;
        light.speed = static_cast<std::uint8_t>(speed);
        light.red = 40;
        device->SetLighting(light);
    }

    CPlainMessageLoop loop;
    std::unique_ptr<CEmulation> emulation;
    DeviceContext context;
    CContainerUI selector;  // owns device and option
    CRecordingDevice* device = nullptr;
    CDeviceOptionUI* option = nullptr;
};

TEST_F(BaseThreadsTest, LightingThreadStepsOnlyWhileTheChannelIsOpenAndNotPaused) {
    SetSteady(4);
    ASSERT_TRUE(device->StartLightingThread());
    std::this_thread::sleep_for(150ms);
    EXPECT_EQ(device->LightingStepCount(), 0u) << "idle while the channel is closed";
    EXPECT_EQ(device->GetLightEntry(0), 0u);

    ASSERT_TRUE(device->OpenCommand(kMouseCommandPath, false));
    ASSERT_TRUE(WaitFor([&] { return device->LightingStepCount() >= 2; }));
    EXPECT_EQ(device->GetLightEntry(0), lighting::PackLightEntry(40, 0, 0, 255));

    device->CommandChannel().SetStreamPaused(true);
    std::this_thread::sleep_for(50ms);  // a step that was under way ends
    const auto paused = device->LightingStepCount();
    std::this_thread::sleep_for(200ms);
    EXPECT_EQ(device->LightingStepCount(), paused) << "stream paused: no step";
    device->CommandChannel().SetStreamPaused(false);

    device->SetSameMode(true);
    std::this_thread::sleep_for(50ms);
    const auto same = device->LightingStepCount();
    std::this_thread::sleep_for(200ms);
    EXPECT_EQ(device->LightingStepCount(), same) << "synchronised lighting: no step";
    device->SetSameMode(false);
    ASSERT_TRUE(WaitFor([&] { return device->LightingStepCount() > same; }));

    const auto start = std::chrono::steady_clock::now();
    device->StopLightingThread();
    EXPECT_FALSE(device->IsLightingThreadRunning());
    EXPECT_LT(std::chrono::steady_clock::now() - start, 500ms) << "stopped by its event, not by a time-out";
}

TEST_F(BaseThreadsTest, LightingThreadSleepsUntilItsNextDueStep) {
    // Mode 2 at speed 0 has a period of 12 ticks: 187.5 ms.
    SetSteady(0);
    ASSERT_TRUE(device->OpenCommand(kMouseCommandPath, false));
    ASSERT_TRUE(device->StartLightingThread());
    std::this_thread::sleep_for(1000ms);
    device->StopLightingThread();
    const auto steps = device->LightingStepCount();
    EXPECT_GE(steps, 2u);
    EXPECT_LE(steps, 7u) << "one step per 12 system ticks";
    EXPECT_LE(device->LightingWakeCount(), steps + 3) << "the thread wakes for its steps, it does not poll";
}

TEST_F(BaseThreadsTest, FastestModeStepsOncePerSystemTick) {
    SetSteady(4);  // period 0: every tick
    ASSERT_TRUE(device->OpenCommand(kMouseCommandPath, false));
    ASSERT_TRUE(device->StartLightingThread());
    std::this_thread::sleep_for(1000ms);
    device->StopLightingThread();
    const auto steps = device->LightingStepCount();
    EXPECT_GE(steps, 20u) << "a loaded machine may delay steps, never add them";
    EXPECT_LE(steps, 66u) << "64 system ticks a second, not a step per millisecond";
}

TEST_F(BaseThreadsTest, ResyncNotificationSchedulesExactlyOneResyncOnTheUiThread) {
    ASSERT_TRUE(device->OpenNotification(kMouseNotificationPath));
    EXPECT_TRUE(device->IsNotificationOpen());
    EXPECT_TRUE(device->OpenNotification(kMouseNotificationPath)) << "already open: nothing more";

    std::string error;
    ASSERT_TRUE(emulation->Notify("mouse", 0x1123, error)) << error;  // not a resync request
    ASSERT_TRUE(emulation->Notify("mouse", 0x0401, error)) << error;
    ASSERT_TRUE(WaitFor([&] { return option->IsTimerRunning(CDeviceOptionUI::kTimerResync); }));

    loop.AdvanceBy(499ms);
    EXPECT_EQ(device->resyncs.load(), 0);
    loop.AdvanceBy(1ms);
    EXPECT_EQ(device->resyncs.load(), 1);
    EXPECT_EQ(device->resyncThread, std::this_thread::get_id()) << "Resync runs on the UI thread";
    loop.AdvanceBy(5s);
    EXPECT_EQ(device->resyncs.load(), 1) << "one notification, one Resync";
}

TEST_F(BaseThreadsTest, CloseCancelsTheEndlessReadAndTheInterfaceCanBeOpenedAgain) {
    ASSERT_TRUE(device->OpenNotification(kMouseNotificationPath));
    std::this_thread::sleep_for(50ms);  // the reader now waits in its read
    const auto start = std::chrono::steady_clock::now();
    device->CloseNotification();
    EXPECT_LT(std::chrono::steady_clock::now() - start, 500ms);
    EXPECT_FALSE(device->IsNotificationOpen());

    ASSERT_TRUE(device->OpenNotification(kMouseNotificationPath));
    std::string error;
    ASSERT_TRUE(emulation->Notify("mouse", 0x0401, error)) << error;
    ASSERT_TRUE(WaitFor([&] { return option->IsTimerRunning(CDeviceOptionUI::kTimerResync); }));
    device->CloseNotification();
}

TEST_F(BaseThreadsTest, UnpluggedNotificationInterfaceDoesNotSpin) {
    ASSERT_TRUE(device->OpenNotification(kMouseNotificationPath));
    std::string error;
    ASSERT_TRUE(emulation->Unplug("mouse", error)) << error;
    std::this_thread::sleep_for(300ms);
    // The reader retries every 100 ms instead of looping on the failed read; closing still works.
    const auto start = std::chrono::steady_clock::now();
    device->CloseNotification();
    EXPECT_LT(std::chrono::steady_clock::now() - start, 500ms);
}

class CTraceRecorder final : public ITraceSink {
public:
    void Write(std::string_view line) override {
        std::lock_guard lock(mutex);
        lines.emplace_back(line);
    }
    bool Has(const std::string& line) {
        std::lock_guard lock(mutex);
        for (const auto& l : lines) {
            if (l == line) return true;
        }
        return false;
    }
    std::mutex mutex;
    std::vector<std::string> lines;
};

TEST_F(BaseThreadsTest, NotificationThreadWritesItsTraces) {
    CTraceRecorder recorder;
    ITraceSink* previous = SetTraceSink(&recorder);
    ASSERT_TRUE(device->OpenNotification(kMouseNotificationPath));
    std::string error;
    ASSERT_TRUE(emulation->Notify("mouse", 0x0401, error)) << error;
    ASSERT_TRUE(WaitFor([&] { return option->IsTimerRunning(CDeviceOptionUI::kTimerResync); }));
    device->CloseNotification();
    SetTraceSink(previous);
    EXPECT_TRUE(recorder.Has("接收到自动添加设备的同步信息要求  TEST"));
    EXPECT_TRUE(recorder.Has("接收到自动添加设备的同步信息要求"));
    EXPECT_TRUE(recorder.Has("MS设备同步线程设定退出"));
}

TEST(FirstReportUsageTest, ButtonFieldsGiveTheirFirstUsageValueFieldsTheirValue) {
    HidReportField button;
    button.isButton = true;
    button.usages = {0x0401, 0x0402, 0};
    HidReportField emptyButton;
    emptyButton.isButton = true;
    HidReportField value;
    value.usage = 0x30;
    value.rawValue = 0x1123;
    struct Case {
        std::vector<HidReportField> fields;
        std::uint16_t expected;
    };
    const Case cases[] = {{{button, value}, 0x0401}, {{value, button}, 0x1123}, {{emptyButton}, 0}, {{}, 0}};
    for (const auto& c : cases) {
        EXPECT_EQ(FirstReportUsage(c.fields), c.expected);
    }
}

TEST_F(BaseThreadsTest, OptionDestroyedFirstIsNoLongerReachedByTheNotificationThread) {
    ASSERT_TRUE(device->OpenNotification(kMouseNotificationPath));
    option->StartTimer(CDeviceOptionUI::kTimerResync, 500);
    selector.Remove(option);  // destroys the option
    option = nullptr;
    EXPECT_EQ(device->GetDeviceOption(), nullptr);
    std::string error;
    ASSERT_TRUE(emulation->Notify("mouse", 0x0401, error)) << error;
    std::this_thread::sleep_for(100ms);
    loop.AdvanceBy(2s);
    EXPECT_EQ(device->resyncs.load(), 0);
}

TEST_F(BaseThreadsTest, DeviceDestroyedFirstStopsItsOptionsTimers) {
    option->StartTimer(CDeviceOptionUI::kTimerResync, 500);
    option->StartTimer(CDeviceOptionUI::kTimerLightFrame, 10);
    selector.Remove(device);  // destroys the device
    device = nullptr;
    EXPECT_EQ(option->GetDevice(), nullptr);
    EXPECT_FALSE(loop.HasPendingWork());
    loop.AdvanceBy(2s);  // no timer reaches the destroyed device
}

TEST_F(BaseThreadsTest, StartAndStopRepeatedlyWhileTheUiThreadChangesTheLighting) {
    ASSERT_TRUE(device->OpenCommand(kMouseCommandPath, false));
    ASSERT_TRUE(device->OpenNotification(kMouseNotificationPath));
    for (int round = 0; round < 5; ++round) {
        ASSERT_TRUE(device->StartLightingThread());
        for (int speed = 0; speed < 5; ++speed) {
            SetSteady(speed);
            device->SendLightFrame();
            std::this_thread::sleep_for(5ms);
        }
        device->StopLightingThread();
    }
    device->CloseCommand();
    device->CloseNotification();
}

}  // namespace
}  // namespace zevik::test
