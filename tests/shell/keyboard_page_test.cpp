// The keyboard's page on the emulated keyboard, reached as the user reaches it: the page control's
// notification goes through the main window's routing. The system options land in the settings
// block and the profile (repeat and its delay in the profile only). The single-colour variant and the
// custom-colour slot land in the record, the profile and the settings block; the buttons and a key
// click colour the keys in the keyboard's slot only while the custom colours are shown, and none of
// them takes the keyboard out of synchronised lighting. The streamed modes keep sending frames while
// the window rests in the tray, and only then.

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "devices/device_option_ui.h"
#include "devices/keyboard_device.h"
#include "devices/keyboard_light_output.h"
#include "editors/light_control_ui.h"
#include "emulator/emulation.h"
#include "emulator/keyboard_model.h"
#include "settings/keyboard_profiledata.h"
#include "shell/headless_run.h"
#include "shell/headless_session.h"
#include "shell/lighting_handlers.h"
#include "shell/main_wnd.h"
#include "ui/button_ui.h"
#include "ui/combo_ui.h"
#include "ui/option_ui.h"
#include "ui/paint_manager_ui.h"
#include "ui/slider_ui.h"

namespace zevik::test {
namespace {

using namespace std::chrono_literals;
constexpr int kCustomColours = 20;  // the custom colours' place in the keyboard's effect list
constexpr int kSlotSize = 512;

class KeyboardPageTest : public ::testing::Test {
protected:
    void SetUp() override {
        data = std::filesystem::temp_directory_path() /
               ("zevik-kbd-lighting-" + std::to_string(reinterpret_cast<std::uintptr_t>(this)));
        std::filesystem::remove_all(data);
        HeadlessRunOptions options;
        options.emulate = "keyboard";
        options.dataDir = data;
        options.skinFolder = std::string(ZEVIK_RESOURCE_DIR) + "/skin";
        options.programFolder = ZEVIK_RESOURCE_DIR;
        std::string error;
        ASSERT_TRUE(run.Start(options, error)) << error;
        CMainWnd& window = run.Session().Window();
        ASSERT_TRUE(run.Session().PumpUntil(
            [&] {
                const auto& keyboards = window.Devices(CMainWnd::kFamilyKeyboard);
                keyboard = keyboards.empty() ? nullptr : dynamic_cast<COrbantixKeyboardDevice*>(keyboards.front());
                return keyboard != nullptr && keyboard->HasMirror();
            },
            3s));
        ASSERT_TRUE(run.Session().MakeCurrent(*keyboard));
        control = LightControlOf(keyboard);
        ASSERT_NE(control, nullptr);
        model = dynamic_cast<CKeyboardModel*>(run.Emulation()->Model("keyboard"));
        ASSERT_NE(model, nullptr);
    }
    void TearDown() override {
        std::string error;
        EXPECT_TRUE(run.Finish(error)) << error;
        std::error_code ec;
        std::filesystem::remove_all(data, ec);
    }
    CControlUI* Page(std::string_view name) {
        return run.Session().Window().GetPaintManager()->FindSubControlByName(keyboard, name);
    }
    void Select(std::string_view combo, int item) {
        auto* c = dynamic_cast<CComboUI*>(Page(combo));
        ASSERT_NE(c, nullptr) << combo;
        ASSERT_TRUE(c->SelectItem(item, true)) << combo << " " << item;
        run.Session().PumpFor(1ms);
    }
    void Click(std::string_view name) {
        auto* button = dynamic_cast<CButtonUI*>(Page(name));
        ASSERT_NE(button, nullptr) << name;
        button->Activate();
        run.Session().PumpFor(1ms);
    }
    void ChooseTab(std::string_view name) {
        auto* tab = dynamic_cast<COptionUI*>(Page(name));
        ASSERT_NE(tab, nullptr) << name;
        tab->Activate();
        run.Session().PumpFor(1ms);
    }
    // The lighting colour, as a preset colour gives it.
    void UseColour(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
        LightInfoRecord record = keyboard->GetLighting();
        record.red = r;
        record.green = g;
        record.blue = b;
        record.multiColor = 0;
        CommitLighting(*keyboard, record);
    }
    std::vector<std::uint8_t> Block() {
        std::vector<std::uint8_t> memory = model->ReadArea("memory");
        memory.resize(KeyboardBlock::kSize);
        return memory;
    }
    // The colour the keyboard holds for a logical key in a custom-colour slot.
    std::vector<int> SlotColour(int slot, int key) {
        const std::vector<std::uint8_t> colours = model->ReadArea("key_colors");
        const int led = keyboard->KeyMaps().led[static_cast<size_t>(key)];
        const size_t at = static_cast<size_t>(slot * kSlotSize + led * 3);
        return {colours.at(at), colours.at(at + 1), colours.at(at + 2)};
    }
    std::vector<int> SlotColours(int slot) {
        const std::vector<std::uint8_t> colours = model->ReadArea("key_colors");
        return std::vector<int>(colours.begin() + slot * kSlotSize, colours.begin() + (slot + 1) * kSlotSize);
    }

    std::filesystem::path data;
    CHeadlessRun run;
    COrbantixKeyboardDevice* keyboard = nullptr;
    CLightControlUI* control = nullptr;
    CKeyboardModel* model = nullptr;
};

TEST_F(KeyboardPageTest, TheVariantAndTheSlotReachRecordProfileAndBlockKeepingTheSharedLighting) {
    Select("light_combo_modeSelect", kCustomColours);
    keyboard->SetSameMode(true);
    Select("light_combo_ZZCCmodeSelect", 2);
    EXPECT_EQ(keyboard->GetLighting().zzccLedMode, 2);
    EXPECT_EQ(Block()[KeyboardBlock::kLedModeVariant], 2);
    EXPECT_EQ(keyboard->Profile().GetLightInfo().zzccLedMode, 2);

    Select("light_combo_custommodeSelect", 3);
    EXPECT_EQ(keyboard->GetLighting().customGroup, 3);
    EXPECT_EQ(Block()[KeyboardBlock::kCustomSlot], 3);
    EXPECT_EQ(keyboard->Profile().GetKeyColorGroup(), 3);
    EXPECT_EQ(control->GetCustomSlot(), 3);
    EXPECT_TRUE(keyboard->IsSameMode());
}

TEST_F(KeyboardPageTest, TheButtonsColourEveryKeyOrTurnEveryKeyOffInTheSlotAndTheProfile) {
    ChooseTab("deng_Op_tab");
    Select("light_combo_modeSelect", kCustomColours);
    Select("light_combo_custommodeSelect", 1);
    UseColour(10, 200, 30);
    Click("custom_bright_color_btn");
    for (const int key : {0, 64, 108, 124}) EXPECT_EQ(SlotColour(1, key), (std::vector<int>{10, 200, 30})) << key;
    const std::vector<KeyColorRecord> stored = keyboard->Profile().GetKeyColors(1, 170);
    ASSERT_GT(stored.size(), 64U);
    EXPECT_EQ(stored[64].red, 10);
    EXPECT_EQ(stored[64].green, 200);

    Click("custom_off_color_btn");
    for (const int key : {0, 64, 108, 124}) EXPECT_EQ(SlotColour(1, key), (std::vector<int>{0, 0, 0})) << key;
    EXPECT_EQ(keyboard->Profile().GetKeyColors(1, 170)[64].green, 0);
}

TEST_F(KeyboardPageTest, AKeyClickColoursTheKeyOnTheLightingPageAndChoosesItOnTheKeyPage) {
    ChooseTab("deng_Op_tab");
    Select("light_combo_modeSelect", kCustomColours);
    Select("light_combo_custommodeSelect", 0);
    Click("custom_off_color_btn");
    UseColour(255, 128, 0);
    Click("key_64");
    EXPECT_EQ(SlotColour(0, 64), (std::vector<int>{255, 128, 0}));
    EXPECT_EQ(SlotColour(0, 65), (std::vector<int>{0, 0, 0}));
    EXPECT_EQ(keyboard->Profile().GetKeyColors(0, 170).at(64).red, 255);

    ChooseTab("key_Op_tab");
    Click("key_65");
    EXPECT_EQ(SlotColour(0, 65), (std::vector<int>{0, 0, 0}));
    EXPECT_EQ(keyboard->GetSelectedKey(), 65);
}

TEST_F(KeyboardPageTest, OutsideTheCustomColoursTheButtonsAndKeysLeaveTheSlotsAlone) {
    ChooseTab("deng_Op_tab");
    Select("light_combo_modeSelect", 1);
    const std::vector<int> before = SlotColours(0);
    UseColour(1, 2, 3);
    Click("custom_bright_color_btn");
    Click("key_64");
    EXPECT_EQ(SlotColours(0), before);
    EXPECT_EQ(keyboard->GetSelectedKey(), 64);  // the click went to the key page
}

TEST_F(KeyboardPageTest, InTheTrayOnlyTheStreamedModesGoOnAndThePictureRests) {
    ChooseTab("deng_Op_tab");
    run.Session().PumpFor(100ms);
    const auto sent = [this] { return keyboard->LightOutput().Stream().GetCounts().sent; };
    CControlUI* key = keyboard->LightButtons().at(64);
    ASSERT_NE(key, nullptr);
    run.Session().Window().HideMainWindow();  // to the tray
    EXPECT_TRUE(keyboard->IsLightingUnseen());
    const UiColor shownWhenHidden = key->GetBkColor();
    run.Session().PumpFor(200ms);
    EXPECT_EQ(sent(), 0U) << "the wave is not streamed";

    Select("light_combo_modeSelect", 29);
    EXPECT_TRUE(run.Session().PumpUntil([&] { return sent() > 3; }, 1s)) << "no frames reached the keyboard";
    EXPECT_TRUE(keyboard->LightOutput().Stream().IsRunning());
    EXPECT_EQ(key->GetBkColor(), shownWhenHidden) << "the picture rests in the tray";
    CDeviceOptionUI* option = keyboard->GetDeviceOption();
    ASSERT_NE(option, nullptr);
    EXPECT_FALSE(option->IsTimerRunning(CDeviceOptionUI::kTimerLightFrame))
        << "the lighting thread streams in the tray: the UI thread's frame timer rests";

    run.Session().Window().ShowMainWindow();
    EXPECT_TRUE(run.Session().PumpUntil([&] { return key->GetBkColor() != shownWhenHidden; }, 1s))
        << "the picture follows the frame again once the window shows";
    EXPECT_TRUE(option->IsTimerRunning(CDeviceOptionUI::kTimerLightFrame));
}

// The key page's layer choice decides which layer a clicked key opens; keys at their factory function
// keep the short caption of the key cap, a changed key shows its function.
TEST_F(KeyboardPageTest, TheLayerChoiceOpensKeysInThatLayerAndFactoryKeysKeepTheirCaps) {
    ChooseTab("key_Op_tab");
    EXPECT_EQ(Page("key_35")->GetText(), "Ins");
    ChooseTab("key_layer_option_1");
    EXPECT_EQ(keyboard->ChosenKeyLayer(), 2);
    Click("key_65");
    EXPECT_EQ(keyboard->GetSelectedKey2(), 65);
    EXPECT_EQ(keyboard->EditedLayer(), 2);
    ChooseTab("key_layer_option_0");
    EXPECT_EQ(keyboard->ChosenKeyLayer(), 1);
    EXPECT_EQ(keyboard->EditedLayer(), 1);
    Click("key_66");
    EXPECT_EQ(keyboard->GetSelectedKey(), 66);
}

TEST_F(KeyboardPageTest, TheSystemOptionsReachTheBlockAndTheProfile) {
    ChooseTab("system_Op_tab");
    struct Case {
        const char* control;
        size_t byte;
        int value;
    };
    for (const Case c : {Case{"polling_rate_option_1", KeyboardBlock::kReportRate, 1},
                         Case{"polling_rate_option_3", KeyboardBlock::kReportRate, 3},
                         Case{"polling_rate_option_0", KeyboardBlock::kReportRate, 0},
                         Case{"winlockflag_option", KeyboardBlock::kWinLock, 1},
                         Case{"wflag_option", KeyboardBlock::kWFlag, 1},
                         Case{"6flag_option", KeyboardBlock::kSixKey, 1},
                         Case{"6flag_option", KeyboardBlock::kSixKey, 0}}) {
        auto* option = dynamic_cast<COptionUI*>(Page(c.control));
        ASSERT_NE(option, nullptr) << c.control;
        option->Activate();
        run.Session().PumpFor(1ms);
        EXPECT_EQ(Block()[c.byte], c.value) << c.control;
    }
    const KeyboardSystemRecord stored = keyboard->Profile().GetKeyboardSystem();
    EXPECT_EQ(stored.PollingRate(), 0);
    EXPECT_EQ(stored.WinFlag(), 1);
    EXPECT_EQ(stored.WFlag(), 1);
    EXPECT_EQ(stored.Key6Flag(), 0);

    const std::vector<std::uint8_t> before = Block();
    auto* slider = dynamic_cast<CSliderUI*>(Page("repeat_rate_slider"));
    ASSERT_NE(slider, nullptr);
    slider->UserSetValue(20);
    auto* delay = dynamic_cast<COptionUI*>(Page("repeat_delay_check_2"));
    ASSERT_NE(delay, nullptr);
    delay->Activate();
    run.Session().PumpFor(1ms);
    EXPECT_EQ(keyboard->Profile().GetKeyboardSystem().Repeat(), 20);
    EXPECT_EQ(keyboard->Profile().GetKeyboardSystem().RepeatDelay(), 2);
    EXPECT_NE(Page("repeat_delay_time_label1")->GetText().find("750"), std::string::npos);
    EXPECT_EQ(Block(), before) << "repeat and its delay are not sent";

    Page("repeat_input_richedit")->SetText("aaaa");
    Click("reset_repeat_btn");
    EXPECT_EQ(Page("repeat_input_richedit")->GetText(), "");
}

}  // namespace
}  // namespace zevik::test
