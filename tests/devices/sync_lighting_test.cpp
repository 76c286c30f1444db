// Synchronised lighting on the device side: the tables between modes and the shared effect, the
// shared step, and the thread that writes the followers' frames (devices of kinds 1, 2, 3 and 7 on
// emulated channels). Run under ThreadSanitizer too.

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "base_fixture.h"
#include "devices/kind_device.h"
#include "devices/lighting_tables.h"
#include "devices/shared_light_state.h"
#include "devices/sync_lighting_thread.h"
#include "emulator/emulation.h"

namespace zevik::test {
namespace {

using namespace std::chrono_literals;
using lighting::PackLightEntry;
using lighting::Wheel;

TEST(SharedLightTables, ModeToEffectByDeviceKind) {
    struct Case {
        int kind, mode;
        std::optional<SharedEffect> effect;
    };
    const std::optional<SharedEffect> none;
    const std::vector<Case> cases = {
        {1, 5, SharedEffect::Breathing}, {1, 6, SharedEffect::Steady}, {1, 23, SharedEffect::Blink},
        {1, 4, SharedEffect::ColourCycle}, {1, 28, SharedEffect::Off}, {1, 20, none}, {1, 2, none},
        {2, 2, SharedEffect::Breathing}, {2, 3, SharedEffect::Steady}, {2, 4, SharedEffect::Blink},
        {2, 1, SharedEffect::ColourCycle}, {2, 10, SharedEffect::Off}, {2, 8, none}, {2, 9, none},
        {3, 2, SharedEffect::Breathing}, {3, 1, SharedEffect::ColourCycle}, {3, 8, SharedEffect::Off},
        {3, 10, none}, {7, 3, SharedEffect::Steady}, {7, 4, SharedEffect::Blink}, {7, 8, SharedEffect::Off},
        {7, 5, none},
        // Kinds without a row keep the effect set last, whatever the mode.
        {0, 99, SharedEffect::Steady}, {6, 2, SharedEffect::Steady}, {9, -1, SharedEffect::Steady},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(SharedEffectOfMode(c.kind, c.mode, SharedEffect::Steady), c.effect)
            << "kind " << c.kind << " mode " << c.mode;
    }
}

TEST(SharedLightTables, EffectToModeByFamily) {
    const std::vector<std::vector<int>> expected = {
        {5, 2, 2, 2}, {6, 3, 3, 3}, {23, 4, 4, 4}, {4, 1, 1, 1}, {28, 10, 8, 8}};
    const LightFamily families[] = {LightFamily::Keyboard, LightFamily::Mouse, LightFamily::Mousepad,
                                    LightFamily::Headset};
    for (int type = 0; type < kSharedEffectCount; ++type) {
        for (int f = 0; f < 4; ++f) {
            EXPECT_EQ(FamilyModeOfEffect(families[f], static_cast<SharedEffect>(type)), expected[type][f])
                << "type " << type << " family " << f;
        }
    }
    // Speeds beyond the table's 15 columns are clamped to the last.
    for (const auto& [speed, ticks] : std::vector<std::pair<int, int>>{
             {0, 8}, {1, 6}, {2, 4}, {3, 2}, {4, 1}, {5, 0}, {14, 0}, {255, 0}, {-3, 8}}) {
        EXPECT_EQ(SharedStepPeriod(speed), ticks) << speed;
    }
}

SharedLightState StateOf(SharedEffect type, int speed = 0, int multi = 0, int direction = 1) {
    SharedLightState s;
    s.type = type;
    s.brightness = 4;
    s.speed = static_cast<std::uint8_t>(speed);
    s.multiColor = static_cast<std::uint8_t>(multi);
    s.direction = static_cast<std::uint8_t>(direction);
    s.red = 200;
    s.green = 100;
    s.blue = 50;
    return s;
}

TEST(SharedLightStep, BreathingSteadyCycleAndOff) {
    SharedLightState s = StateOf(SharedEffect::Breathing);
    EXPECT_EQ(SharedLightStep(s, 0), PackLightEntry({200, 100, 50}, lighting::Scale256(255, lighting::Breathing(1))));
    EXPECT_EQ(s.breathPosition, 1);
    // Multicolour: the hue advances 16 when the position comes to 0 or 1.
    s = StateOf(SharedEffect::Breathing, 0, 1);
    s.breathPosition = 127;
    SharedLightStep(s, 0);  // 127 -> 0
    EXPECT_EQ(s.breathHue, 16u);
    EXPECT_EQ(SharedLightStep(s, 0), PackLightEntry(Wheel(32), lighting::Scale256(255, lighting::Breathing(1))));
    SharedLightStep(s, 0);  // 1 -> 2: the hue stays
    EXPECT_EQ(s.breathHue, 32u);
    s.breathHue = 176;
    s.breathPosition = 0;
    SharedLightStep(s, 0);
    EXPECT_EQ(s.breathHue, 0u);  // S(1, 192, 176, 16)
    // Counting down from 0 wraps to 127.
    s = StateOf(SharedEffect::Breathing, 0, 0, 0);
    SharedLightStep(s, 0);
    EXPECT_EQ(s.breathPosition, 127);

    s = StateOf(SharedEffect::Steady);
    s.brightness = 1;
    EXPECT_EQ(SharedLightStep(s, 0), PackLightEntry({200, 100, 50}, 80));

    s = StateOf(SharedEffect::ColourCycle);
    s.cycleHue = 190;
    EXPECT_EQ(SharedLightStep(s, 0), PackLightEntry(Wheel(191), 255));
    EXPECT_EQ(SharedLightStep(s, 0), PackLightEntry(Wheel(0), 255));

    s = StateOf(SharedEffect::Off);
    EXPECT_EQ(SharedLightStep(s, 0), 0u);
    s.type = static_cast<SharedEffect>(9);  // anything else shows nothing either
    EXPECT_EQ(SharedLightStep(s, 0), 0u);
}

TEST(SharedLightStep, BlinkTogglesByTheClockAndItsHueWrapsFrom182) {
    struct Case {
        int speed;
        std::uint64_t periodMs;
    };
    for (const Case c : {Case{0, 1600}, Case{4, 200}}) {
        SharedLightState s = StateOf(SharedEffect::Blink, c.speed, 1);
        const std::uint64_t start = 100000;
        EXPECT_EQ(SharedLightStep(s, start), PackLightEntry(Wheel(14), 255));  // the first step toggles on
        EXPECT_EQ(s.lastBlinkMs, start);
        EXPECT_EQ(SharedLightStep(s, start + c.periodMs - 1), PackLightEntry(Wheel(14), 255)) << c.speed;
        EXPECT_EQ(SharedLightStep(s, start + c.periodMs), 0u) << c.speed;  // off: colour and intensity 0
        EXPECT_EQ(s.blinkHue, 28);
        EXPECT_EQ(s.lastBlinkMs, start + c.periodMs);
    }
    SharedLightState s = StateOf(SharedEffect::Blink, 4, 1);
    s.blinkHue = 182;
    s.blinkOn = 0;
    s.lastBlinkMs = 0;
    EXPECT_EQ(SharedLightStep(s, 500), PackLightEntry(Wheel(0), 255));  // 182 + 14 = 196 -> 0
    EXPECT_EQ(s.blinkHue, 0);
    s.multiColor = 0;
    s.blinkOn = 0;
    EXPECT_EQ(SharedLightStep(s, 700), PackLightEntry({200, 100, 50}, 255));
}

class SyncThreadTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (const auto& [kind, leds] : std::vector<std::pair<int, int>>{{2, 15}, {3, 4}, {7, 2}, {1, 170}}) {
            std::string error;
            EmulationOptions options;
            options.list = "mouse";
            emulations.push_back(CEmulation::Create(options, error));
            ASSERT_NE(emulations.back(), nullptr) << error;
            DeviceContext context;
            context.hidBackend = &emulations.back()->Backend();
            devices.push_back(std::make_unique<CKindDevice>(context, kind, leds));
            ASSERT_TRUE(devices.back()->CommandChannel().OpenConnection(kMouseCommandPath, kConnectionCable));
        }
    }
    std::vector<COrbantixUSBDevice*> All() const {
        std::vector<COrbantixUSBDevice*> all;
        for (const auto& d : devices) all.push_back(d.get());
        return all;
    }
    static bool Shows(const COrbantixUSBDevice& device, std::uint32_t entry) {
        for (int i = 0; i < device.GetLightButtonCount(); ++i) {
            if (device.GetLightEntry(i) != entry) return false;
        }
        return true;
    }

    std::vector<std::unique_ptr<CEmulation>> emulations;
    std::vector<std::unique_ptr<CKindDevice>> devices;
};

TEST_F(SyncThreadTest, FollowersOfEveryKindShowTheSharedEffectOthersAreLeftAlone) {
    CSyncLightingThread thread(nullptr, 1ms);
    LightInfoRecord record;
    record.light = 4;
    record.red = 9;
    record.green = 8;
    record.blue = 7;
    thread.Configure(SharedEffect::Steady, record);
    thread.SetFollowers(All());
    for (auto& d : devices) d->SetLightEntry(0, 0x11223344u);
    devices[0]->SetSameMode(true);
    devices[2]->SetSameMode(true);
    devices[3]->SetSameMode(true);
    devices[3]->CommandChannel().CloseConnections();  // follows, but is not connected
    ASSERT_TRUE(thread.Start());
    const std::uint32_t steady = PackLightEntry({9, 8, 7}, 255);
    EXPECT_TRUE(WaitFor([&] { return Shows(*devices[0], steady) && Shows(*devices[2], steady); }));
    EXPECT_EQ(devices[1]->GetLightEntry(0), 0x11223344u);
    EXPECT_EQ(devices[3]->GetLightEntry(0), 0x11223344u);

    // A new effect reaches the followers at once; one that leaves keeps what it last showed.
    devices[2]->SetSameMode(false);
    const std::uint64_t before = thread.StepCount();
    EXPECT_TRUE(WaitFor([&] { return thread.StepCount() > before + 1; }));
    thread.Configure(SharedEffect::Off, record);
    EXPECT_TRUE(WaitFor([&] { return Shows(*devices[0], 0); }));
    EXPECT_TRUE(Shows(*devices[2], steady));
    thread.Stop();
    EXPECT_FALSE(thread.IsRunning());
}

TEST_F(SyncThreadTest, SpeedZeroStepsEveryEighthTickSpeedFourEveryTick) {
    constexpr auto kTick = 4ms;
    devices[0]->SetSameMode(true);
    auto stepsIn = [&](int speed, std::chrono::milliseconds span) {
        CSyncLightingThread thread(nullptr, kTick);
        LightInfoRecord record;
        record.speed = static_cast<std::uint8_t>(speed);
        thread.Configure(SharedEffect::ColourCycle, record);
        thread.SetFollowers(All());
        const auto start = std::chrono::steady_clock::now();
        thread.Start();
        std::this_thread::sleep_for(span);
        thread.Stop();
        const auto ticks = (std::chrono::steady_clock::now() - start) / kTick;
        return std::pair<std::uint64_t, std::uint64_t>{thread.StepCount(), static_cast<std::uint64_t>(ticks)};
    };
    const auto [slowSteps, slowTicks] = stepsIn(0, 400ms);
    EXPECT_LE(slowSteps, slowTicks / 8 + 1);
    EXPECT_GE(slowSteps, 1u);
    const auto [fastSteps, fastTicks] = stepsIn(4, 400ms);
    EXPECT_LE(fastSteps, fastTicks + 1);
    EXPECT_GT(fastSteps, 2 * slowSteps);
}

TEST_F(SyncThreadTest, FollowersNoOneCanSeeAreNotStepped) {
    CSyncLightingThread thread(nullptr, 1ms);
    thread.SetFollowers(All());
    devices[0]->SetSameMode(true);
    devices[0]->unseen = true;
    ASSERT_TRUE(thread.Start());
    std::this_thread::sleep_for(100ms);
    EXPECT_EQ(thread.StepCount(), 0u);
    EXPECT_LE(thread.WakeCount(), 1u);
    devices[0]->unseen = false;
    thread.Wake();
    EXPECT_TRUE(WaitFor([&] { return thread.StepCount() > 0; }));
}

TEST_F(SyncThreadTest, WithoutAFollowerTheThreadSleepsUntilWoken) {
    CSyncLightingThread thread(nullptr, 1ms);
    thread.SetFollowers(All());
    ASSERT_TRUE(thread.Start());
    std::this_thread::sleep_for(150ms);
    EXPECT_EQ(thread.StepCount(), 0u);
    EXPECT_LE(thread.WakeCount(), 1u);  // at most the wake-up of SetFollowers before the start
    devices[1]->SetSameMode(true);
    thread.Wake();
    EXPECT_TRUE(WaitFor([&] { return thread.StepCount() > 0; }));
    devices[1]->SetSameMode(false);
    std::this_thread::sleep_for(20ms);
    const std::uint64_t wakes = thread.WakeCount();
    std::this_thread::sleep_for(100ms);
    EXPECT_LE(thread.WakeCount(), wakes + 1);
}

}  // namespace
}  // namespace zevik::test
