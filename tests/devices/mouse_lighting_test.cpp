#include "devices/mouse_lighting.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "devices/lighting_tables.h"
#include "devices/base_fixture.h"
#include "devices/mouse_device_fixture.h"

namespace zevik {
namespace {

using lighting::EntryColour;
using lighting::EntryIntensity;

TEST(MouseLightingModes, StepAndPeriodTable) {
    struct Case {
        int mode;
        MouseLightStep step;
    };
    const std::vector<Case> steps = {{0, MouseLightStep::Wave},
                                     {1, MouseLightStep::Spectrum},
                                     {2, MouseLightStep::Breathe},
                                     {3, MouseLightStep::Steady},
                                     {4, MouseLightStep::Blink},
                                     {5, MouseLightStep::Flow},
                                     {6, MouseLightStep::Reactive},
                                     {7, MouseLightStep::BreatheFourColours},
                                     {8, MouseLightStep::BlinkFourColours},
                                     {9, MouseLightStep::Sequence},
                                     {10, MouseLightStep::Off},
                                     {11, MouseLightStep::Sequence},
                                     {200, MouseLightStep::Sequence},
                                     {-1, MouseLightStep::Off}};
    for (const Case& c : steps) EXPECT_EQ(MouseStepForMode(c.mode), c.step) << c.mode;

    const std::vector<int> flow = {16, 12, 8, 4, 2};
    const std::vector<int> other = {8, 6, 4, 2, 1};
    for (int speed = 0; speed < 5; ++speed) {
        EXPECT_EQ(MouseStepPeriod(5, speed), flow[static_cast<size_t>(speed)]);
        for (int mode : {0, 1, 6, 10, 11})
            EXPECT_EQ(MouseStepPeriod(mode, speed), other[static_cast<size_t>(speed)]);
    }
    EXPECT_EQ(MouseStepPeriod(5, 9), 2);  // speed levels from a file are bounded
    EXPECT_EQ(MouseStepPeriod(0, -3), 8);
}

class MouseWave : public ::testing::Test {
protected:
    void SetUp() override {
        frame.Resize(kMouseLedCount);
        light.light = 4;
        light.fx = 1;
        light.red = 10;
        light.green = 200;
        light.blue = 30;
    }
    // The entries of a group's LEDs, which must all be equal.
    std::uint32_t Group(int g) const {
        const auto& leds = kMouseLedGroupTable[static_cast<size_t>(g)];
        const std::uint32_t first = frame.Get(leds[0]);
        for (int led : leds) {
            if (led != kMouseNoLed) {
                EXPECT_EQ(frame.Get(led), first) << "group " << g << " LED " << led;
            }
        }
        return first;
    }
    LightInfoRecord light;
    LightAnimation state;
    CLightFrame frame;
};

TEST_F(MouseWave, MulticolourHuesAdvanceSevenPerGroupAndSkipTheRepeat) {
    light.multiColor = 1;
    MouseStepWave(light, state, frame);
    EXPECT_EQ(state.x, 1);
    for (int g = 0; g < kMouseLedGroups; ++g) {
        EXPECT_EQ(EntryColour(Group(g)), lighting::Wheel(2 + 7 * g)) << g;
        EXPECT_EQ(EntryIntensity(Group(g)), 255);
    }
    state.x = 183;  // next x 184, hue 185: the second group jumps past the repeated part to 0
    MouseStepWave(light, state, frame);
    EXPECT_EQ(EntryColour(Group(0)), lighting::Wheel(185));
    EXPECT_EQ(EntryColour(Group(1)), lighting::Wheel(0));
    EXPECT_EQ(EntryColour(Group(2)), lighting::Wheel(7));
    // Counting down from 0 wraps to 191, whose hue is 0.
    light.fx = 0;
    state.x = 0;
    MouseStepWave(light, state, frame);
    EXPECT_EQ(state.x, 191);
    EXPECT_EQ(EntryColour(Group(0)), lighting::Wheel(0));
}

TEST_F(MouseWave, SingleColourFollowsTheWaveCurve) {
    MouseStepWave(light, state, frame);
    for (int g = 0; g < kMouseLedGroups; ++g) {
        EXPECT_EQ(EntryColour(Group(g)), (lighting::Rgb{10, 200, 30}));
        EXPECT_EQ(EntryIntensity(Group(g)), lighting::Scale256(255, lighting::Wave(2 + 7 * g))) << g;
    }
    state.x = 88;  // index 90: the next group goes back 89 to 1
    MouseStepWave(light, state, frame);
    EXPECT_EQ(EntryIntensity(Group(0)), lighting::Scale256(255, lighting::Wave(90)));
    EXPECT_EQ(EntryIntensity(Group(1)), lighting::Scale256(255, lighting::Wave(1)));
    EXPECT_EQ(EntryIntensity(Group(2)), lighting::Scale256(255, lighting::Wave(8)));
}

// The sequence player's wave goes LED by LED, twelve wheel or curve entries apart, and wraps.
TEST_F(MouseWave, TravellingWaveStepsTwelvePerLedAndWraps) {
    struct Case {
        std::uint8_t multi, fx, x;
        std::uint8_t nextX;
    };
    for (const Case c : {Case{1, 1, 190, 191}, Case{1, 0, 0, 191}, Case{0, 1, 94, 95}, Case{0, 0, 0, 95}}) {
        light.multiColor = c.multi;
        light.fx = c.fx;
        state.x = c.x;
        MouseStepTravellingWave(light, state, frame);
        EXPECT_EQ(state.x, c.nextX);
        const int length = c.multi != 0 ? 192 : 96;
        for (int led = 0; led < kMouseLedCount; ++led) {
            const int at = (c.nextX + 12 * led) % length;
            const std::uint32_t expected =
                c.multi != 0 ? lighting::PackLightEntry(lighting::Wheel(at), 255)
                             : lighting::PackLightEntry({10, 200, 30}, lighting::Scale256(255, lighting::Wave(at)));
            EXPECT_EQ(frame.Get(led), expected) << "multi " << int{c.multi} << " LED " << led;
        }
    }
}

TEST_F(MouseWave, FlowCarriesALitSpotInTheDirection) {
    CLightLevels levels;
    MouseStepFlow(light, state, levels, 5, frame);
    MouseStepFlow(light, state, levels, 5, frame);
    const int head = EntryIntensity(Group(1));
    const int tail = EntryIntensity(Group(0));
    EXPECT_GT(head, tail);
    EXPECT_GT(tail, 0);
    EXPECT_EQ(EntryIntensity(Group(6)), 0);
    EXPECT_EQ(EntryColour(Group(1)), (lighting::Rgb{10, 200, 30}));
    for (int i = 0; i < 40; ++i) MouseStepFlow(light, state, levels, 5, frame);  // keeps within the frame
    for (int led = 0; led < kMouseLedCount; ++led) EXPECT_LE(EntryIntensity(frame.Get(led)), 255);
}

TEST_F(MouseWave, ReactiveRisesOnAPressThenFadesOut) {
    MouseLedState leds;
    std::minstd_rand random(1);
    MouseStepReactive(light, leds, frame);
    for (int led = 0; led < kMouseLedCount; ++led) EXPECT_EQ(EntryIntensity(frame.Get(led)), 0);

    MouseKeyPressed(leds, random);
    for (int led = 0; led < kMouseLedCount; ++led) {
        EXPECT_EQ(leds.phase[static_cast<size_t>(led)], MouseLedState::Rising);
        EXPECT_LT(leds.hue[static_cast<size_t>(led)], 192);
    }
    MouseStepReactive(light, leds, frame);
    EXPECT_EQ(leds.phase[0], MouseLedState::Falling);
    EXPECT_EQ(EntryIntensity(frame.Get(0)), lighting::Scale256(255, 255));
    MouseStepReactive(light, leds, frame);
    EXPECT_EQ(leds.level[0], 240);
    for (int i = 0; i < 16; ++i) MouseStepReactive(light, leds, frame);
    EXPECT_EQ(leds.level[0], 0);
    EXPECT_EQ(leds.phase[0], MouseLedState::Idle);
    EXPECT_EQ(EntryIntensity(frame.Get(14)), 0);
}

}  // namespace
}  // namespace zevik

namespace zevik::test {
namespace {

// The profile's lighting sequence in the modes without a step of their own (9, 11 and above).
class MouseSequence : public MouseDeviceTest {
protected:
    // A step of the light file: static colour (type 1) unless said otherwise.
    static Json::Value Step(int red, int blue, int time, int type = 1, int speed = 0, int multi = 0) {
        Json::Value step(Json::objectValue);
        step["LEDREGMode"] = type;
        step["LEDBrightness"] = 4;
        step["LEDSpeed"] = speed;
        step["LEDDirection"] = 1;
        step["LEDMultiColor"] = multi;
        step["red"] = red;
        step["blue"] = blue;
        step["Time"] = time;
        return step;
    }
    void Prepare(int selectItem, const std::vector<Json::Value>& steps = {Step(255, 0, 150), Step(0, 255, 150)}) {
        Start();
        device->SetLightButtonCount(kMouseLedCount);
        device->SetPageName("page");
        device->BindPage();
        ASSERT_TRUE(locations->EnsureKindFolder(ProfileKind::Mouse));
        const std::filesystem::path folder = locations->KindFolder(ProfileKind::Mouse);
        Json::Value config(Json::objectValue);
        for (int i = 0; i < 10; ++i) {
            Json::Value entry(Json::objectValue);
            entry["LightName"] = "sequence " + std::to_string(i);
            entry["Guid"] = i == 9 ? "seq" : "missing";
            config["LightInfo"][0].append(entry);
        }
        ASSERT_TRUE(CJsonFileUtil().WriteJsonFile(folder / "velda_light.config", config));
        Json::Value sequence(Json::objectValue);
        for (const Json::Value& step : steps) sequence["LEDEffectList"].append(step);
        ASSERT_TRUE(CJsonFileUtil().WriteJsonFile(folder / "seq.light", sequence));

        device->LoadProfileFiles();
        LightInfoRecord light = device->Profile().GetLightInfo();
        light.selectItem = static_cast<std::uint8_t>(selectItem);
        device->Profile().SetLightInfo(light);
        ASSERT_EQ(device->SaveDeviceProfile(), 1);
        device->ApplyProfile();
        device->LoadLightLists();
    }
    lighting::Rgb Shown(int led) const { return lighting::EntryColour(device->Frame().Get(led)); }
};

TEST_F(MouseSequence, StepsFollowEachOtherByTheirTime) {
    Prepare(9);
    device->RunLightStep();
    EXPECT_EQ(Shown(0), (lighting::Rgb{255, 0, 0}));
    EXPECT_EQ(lighting::EntryIntensity(device->Frame().Get(14)), 255);
    std::this_thread::sleep_for(std::chrono::milliseconds(170));
    device->RunLightStep();
    EXPECT_EQ(Shown(0), (lighting::Rgb{0, 0, 255}));
    std::this_thread::sleep_for(std::chrono::milliseconds(170));
    device->RunLightStep();
    EXPECT_EQ(Shown(7), (lighting::Rgb{255, 0, 0}));  // back to the first step
}

// The player's clock is the device's: each step lasts its "Time" in milliseconds however many
// lighting steps run meanwhile, and the thread's period follows the step's own speed.
TEST_F(MouseSequence, StepTimesAreClockTimeAndPeriodsFollowEachStepsSpeed) {
    CManualClock manual;
    context.clock = &manual;
    Prepare(9, {Step(255, 0, 1000, 1, 0), Step(0, 255, 40, 1, 4), Step(9, 9, 300, 2, 3)});
    EXPECT_EQ(device->LightStepPeriod(), 8);  // speed 0
    for (int i = 0; i < 50; ++i) device->RunLightStep();
    EXPECT_EQ(Shown(0), (lighting::Rgb{255, 0, 0}));
    manual.now += 999;
    device->RunLightStep();
    EXPECT_EQ(Shown(0), (lighting::Rgb{255, 0, 0}));
    manual.now += 1;
    device->RunLightStep();
    EXPECT_EQ(Shown(0), (lighting::Rgb{0, 0, 255}));
    EXPECT_EQ(device->LightStepPeriod(), 1);  // speed 4
    manual.now += 40;
    device->RunLightStep();
    EXPECT_EQ(device->LightStepPeriod(), 2);  // speed 3
}

TEST_F(MouseSequence, TheTravellingWaveStepsTheHueByTwelvePerLed) {
    Prepare(9, {Step(0, 0, 100000, 4, 4, 1)});
    device->RunLightStep();
    const std::uint8_t x = 1;  // one counter step up from 0
    for (int led = 0; led < kMouseLedCount; ++led) {
        EXPECT_EQ(device->Frame().Get(led), lighting::PackLightEntry(lighting::Wheel((x + 12 * led) % 192), 255))
            << led;
    }
}

TEST_F(MouseSequence, WithoutASequenceEveryLedIsOff) {
    Prepare(11);  // the light configuration has no sequence at position 11
    device->SetLightEntry(3, 0xFFFFFFFFu);
    device->RunLightStep();
    for (int led = 0; led < kMouseLedCount; ++led) EXPECT_EQ(device->Frame().Get(led), 0u) << led;
}

}  // namespace
}  // namespace zevik::test
