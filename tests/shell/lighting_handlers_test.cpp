// The lighting handlers on the emulated mouse, reached as the user reaches them: the notification of
// the lighting page's control goes through the main window's routing. Each change lands in the
// record, the saved profile and the block on the wire, and clears the same-mode flag unless it is a
// colour option.

#include "shell/lighting_handlers.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "devices/mouse_device.h"
#include "editors/light_control_ui.h"
#include "emulator/emulation.h"
#include "emulator/mouse_model.h"
#include "settings/colour_choices.h"
#include "settings/json_access.h"
#include "settings/json_file_util.h"
#include "shell/headless_run.h"
#include "shell/headless_session.h"
#include "shell/lighting_commands.h"
#include "shell/main_window_ops.h"

namespace zevik::test {
namespace {

using Channel = CLightControlUI::Channel;

class LightingHandlersTest : public ::testing::Test {
protected:
    void SetUp() override {
        data = std::filesystem::temp_directory_path() /
               ("zevik-lighting-" + std::to_string(reinterpret_cast<std::uintptr_t>(this)));
        std::filesystem::remove_all(data);
        HeadlessRunOptions options;
        options.emulate = "mouse";
        options.dataDir = data;
        options.skinFolder = std::string(ZEVIK_RESOURCE_DIR) + "/skin";
        options.programFolder = ZEVIK_RESOURCE_DIR;
        std::string error;
        ASSERT_TRUE(run.Start(options, error)) << error;
        mouse = run.Session().WaitForMouse(std::chrono::seconds(3));
        ASSERT_NE(mouse, nullptr);
        control = LightControlOf(mouse);
        ASSERT_NE(control, nullptr);
        model = dynamic_cast<CMouseModel*>(run.Emulation()->Model("mouse"));
        ASSERT_NE(model, nullptr);
    }
    void TearDown() override {
        std::string error;
        EXPECT_TRUE(run.Finish(error)) << error;
        std::error_code ec;
        std::filesystem::remove_all(data, ec);
    }
    // Runs "mouse lighting WORDS"; the exit code.
    int Lighting(const std::vector<std::string>& words) {
        std::string error;
        const auto command = ParseLightingWords(words, mouse->ModeVisible(), error);
        EXPECT_TRUE(command.has_value()) << error;
        if (!command) return 2;
        std::ostringstream out;
        return RunLightingCommand(run.Session(), *command, out, false, error);
    }
    // The first bytes of the block the mouse holds for slot 0.
    std::vector<std::uint8_t> Block() {
        std::vector<std::uint8_t> memory = model->ReadArea("memory");
        memory.resize(9);
        return memory;
    }
    // The "LightInfo" saved in the profile file.
    Json::Value SavedLight() {
        const Json::Value doc = CJsonFileUtil().ReadJsonFile(mouse->Profile().GetProfilePath());
        const Json::Value* device = json::Member(doc, "Device");
        const Json::Value* first = device != nullptr ? json::Element(*device, 0) : nullptr;
        const Json::Value* light = first != nullptr ? json::Member(*first, "LightInfo") : nullptr;
        return light != nullptr ? *light : Json::Value();
    }

    std::filesystem::path data;
    CHeadlessRun run;
    COrbantixMouseDevice* mouse = nullptr;
    CLightControlUI* control = nullptr;
    CMouseModel* model = nullptr;
};

struct HandlerCase {
    const char* name;
    std::vector<std::string> words;
    std::function<void(const LightInfoRecord&)> record;
    std::vector<std::pair<size_t, std::uint8_t>> block;  // byte of the block, value on the wire
    bool clearsSameMode;
    std::function<void(CLightControlUI&)> page;
};

TEST_F(LightingHandlersTest, EachChangeReachesRecordProfileBlockAndFlag) {
    // Spectrum (1) enables every part of the page.
    ASSERT_EQ(Lighting({"mode", "1"}), 0);
    ASSERT_EQ(Lighting({"multicolor", "1"}), 0);
    const HandlerCase cases[] = {
        {"mode",
         {"mode", "3"},
         [](const LightInfoRecord& r) { EXPECT_EQ(r.selectItem, 3); },
         {{1, 3}},
         true,
         [](CLightControlUI& c) { EXPECT_EQ(c.GetMode(), 3); }},
        {"mode back",
         {"mode", "1"},
         [](const LightInfoRecord& r) { EXPECT_EQ(r.selectItem, 1); },
         {{1, 1}},
         true,
         nullptr},
        {"brightness",
         {"brightness", "2"},
         [](const LightInfoRecord& r) { EXPECT_EQ(r.light, 2); },
         {{2, 2}},
         true,
         [](CLightControlUI& c) { EXPECT_EQ(c.GetBrightness(), 2); }},
        {"speed",
         {"speed", "1"},
         [](const LightInfoRecord& r) { EXPECT_EQ(r.speed, 1); },
         {{3, 3}},
         true,
         [](CLightControlUI& c) { EXPECT_EQ(c.GetSpeed(), 1); }},
        {"direction",
         {"direction", "0"},
         [](const LightInfoRecord& r) { EXPECT_EQ(r.fx, 0); },
         {{4, 0}},
         true,
         [](CLightControlUI& c) { EXPECT_EQ(c.GetDirection(), 0); }},
        {"palette",
         {"color", "FF8000"},
         [](const LightInfoRecord& r) {
             EXPECT_EQ(r.red, 0xFF);
             EXPECT_EQ(r.green, 0x80);
             EXPECT_EQ(r.blue, 0);
             EXPECT_EQ(r.multiColor, 0);
         },
         {{5, 0}, {6, 0xFF}, {7, 0x80}, {8, 0}},
         true,
         [](CLightControlUI& c) {
             EXPECT_EQ(c.GetEditText(Channel::Red), "255");
             EXPECT_EQ(c.GetEditText(Channel::Green), "128");
             EXPECT_EQ(c.GetEditText(Channel::Blue), "0");
             EXPECT_EQ(c.GetColourButtonColour(), 0xFFFF8000u);
             EXPECT_FALSE(c.GetMultiColour());
         }},
        {"multicolour",
         {"multicolor", "1"},
         [](const LightInfoRecord& r) { EXPECT_EQ(r.multiColor, 1); },
         {{5, 1}},
         true,
         [](CLightControlUI& c) { EXPECT_TRUE(c.GetMultiColour()); }},
        {"edit above 255",
         {"rgb", "G", "300"},
         [](const LightInfoRecord& r) { EXPECT_EQ(r.green, 255); },
         {{5, 0}, {7, 255}},
         true,
         [](CLightControlUI& c) {
             EXPECT_EQ(c.GetEditText(Channel::Green), "255");
             EXPECT_EQ(c.GetPaletteColour(), 0xFFFFFF00u);
             EXPECT_EQ(c.GetColourButtonColour(), 0xFFFFFF00u);
             EXPECT_FALSE(c.GetMultiColour());
         }},
        {"edit emptied",
         {"rgb", "R"},
         [](const LightInfoRecord& r) { EXPECT_EQ(r.red, 0); },
         {{6, 0}},
         true,
         [](CLightControlUI& c) { EXPECT_EQ(c.GetEditText(Channel::Red), "0"); }},
        {"edit typed",
         {"rgb", "B", "042"},
         [](const LightInfoRecord& r) { EXPECT_EQ(r.blue, 42); },
         {{8, 42}},
         true,
         [](CLightControlUI& c) { EXPECT_EQ(c.GetEditText(Channel::Blue), "42"); }},
        {"edit negative",
         {"rgb", "B", "-7"},
         [](const LightInfoRecord& r) { EXPECT_EQ(r.blue, 0); },
         {{8, 0}},
         true,
         [](CLightControlUI& c) { EXPECT_EQ(c.GetEditText(Channel::Blue), "0"); }},
        {"edit not a number",
         {"rgb", "G", "1a"},
         [](const LightInfoRecord& r) { EXPECT_EQ(r.green, 0); },
         {{7, 0}},
         true,
         nullptr},
    };
    for (const HandlerCase& c : cases) {
        SCOPED_TRACE(c.name);
        mouse->SetSameMode(true);
        ASSERT_EQ(Lighting(c.words), 0);
        const LightInfoRecord record = mouse->GetLighting();
        c.record(record);
        EXPECT_EQ(mouse->Profile().GetLightInfo(), record) << "the profile holds the record";
        const Json::Value saved = SavedLight();
        EXPECT_EQ(json::IntMember(saved, "SelectItem", -1), record.selectItem) << "saved";
        EXPECT_EQ(json::IntMember(saved, "Light", -1), record.light) << "saved";
        EXPECT_EQ(json::IntMember(saved, "Green", -1), record.green) << "saved";
        const std::vector<std::uint8_t> block = Block();
        for (const auto& [at, value] : c.block) EXPECT_EQ(block[at], value) << "block byte " << at;
        EXPECT_EQ(mouse->IsSameMode(), !c.clearsSameMode);
        if (c.page) c.page(*control);
    }
}

TEST_F(LightingHandlersTest, AColourOptionKeepsTheSameModeFlagAndShowsItsColour) {
    ASSERT_EQ(Lighting({"mode", "1"}), 0);
    ASSERT_EQ(Lighting({"multicolor", "1"}), 0);
    CControlUI* option = control->ColourOption(2);
    ASSERT_NE(option, nullptr);
    option->SetBkColor(0xFF10A0C0);
    mouse->SetSameMode(true);
    ASSERT_EQ(Lighting({"option", "3"}), 0);
    const LightInfoRecord r = mouse->GetLighting();
    EXPECT_EQ(r.red, 0x10);
    EXPECT_EQ(r.green, 0xA0);
    EXPECT_EQ(r.blue, 0xC0);
    EXPECT_EQ(r.multiColor, 0);
    EXPECT_TRUE(mouse->IsSameMode()) << "a colour option does not end synchronised lighting";
    const std::vector<std::uint8_t> block = Block();
    EXPECT_EQ(block[5], 0);
    EXPECT_EQ(block[6], 0x10);
    EXPECT_EQ(block[7], 0xA0);
    EXPECT_EQ(block[8], 0xC0);
    EXPECT_EQ(control->GetPaletteColour(), 0xFF10A0C0u);
    EXPECT_EQ(control->GetColourButtonColour(), 0xFF10A0C0u);
    EXPECT_EQ(control->GetEditText(Channel::Green), "160");
    EXPECT_FALSE(control->GetMultiColour());
}

TEST_F(LightingHandlersTest, ThePageShowsTheMouseRecordAndItsColourOptionsFromTheDefaultCopy) {
    // No user copy of the colour choices: the options show the default copy, and nothing is written.
    const std::filesystem::path user = data / "color_option_info.config";
    EXPECT_FALSE(std::filesystem::exists(user));
    CColourChoices defaults;
    ASSERT_EQ(defaults.Read(user, std::filesystem::path(ZEVIK_RESOURCE_DIR) / "DefaultData" /
                                      "color_option_info.config"),
              CColourChoices::Source::Default);
    for (int n = 0; n < CLightControlUI::kColourOptionCount; ++n) {
        ASSERT_TRUE(defaults.Preset(n).has_value());
        EXPECT_EQ(control->GetOptionColour(n), *defaults.Preset(n)) << n;
    }
    EXPECT_FALSE(std::filesystem::exists(user)) << "the lighting page never writes the colour file";

    const LightInfoRecord r = mouse->GetLighting();
    EXPECT_EQ(control->GetSelectedMode(), r.selectItem);
    EXPECT_EQ(control->GetBrightness(), r.light);
    EXPECT_EQ(control->GetBrightnessMax(), 4);
    EXPECT_EQ(control->GetSpeedMax(), 4);
    EXPECT_FALSE(control->IsSameModeShown());
}

TEST_F(LightingHandlersTest, ValuesPastTheirRangeAreShownBoundedAndStoredUnchanged) {
    LightInfoRecord r = mouse->Profile().GetLightInfo();
    r.selectItem = 30;
    r.light = 9;
    r.speed = 7;
    mouse->SetLighting(r);
    mouse->RefreshPage();
    EXPECT_EQ(control->GetSelectedMode(), -1) << "past the list: nothing selected";
    EXPECT_EQ(control->GetBrightness(), 4);
    EXPECT_EQ(control->GetSpeed(), 4);
    EXPECT_EQ(mouse->Profile().GetLightInfo(), r) << "the record keeps what it held";
    run.Session().PumpFor(std::chrono::milliseconds(50));  // the lighting thread steps over them
    std::string error;
    std::ostringstream out;
    const auto show = ParseLightingWords({"show"}, mouse->ModeVisible(), error);
    ASSERT_TRUE(show.has_value()) << error;
    ASSERT_EQ(RunLightingCommand(run.Session(), *show, out, false, error), 0) << error;
    EXPECT_NE(out.str().find("mode: 30 -\nbrightness: 9\nspeed: 7\n"), std::string::npos) << out.str();
}

TEST_F(LightingHandlersTest, WithoutACurrentDeviceNothingChanges) {
    struct NoDevice : IMainWindowOps {
        COrbantixUSBDevice* GetCurrentDevice() override { return nullptr; }
        CControlUI* FindMainControl(std::string_view) override { return nullptr; }
        void CloseToTray() override {}
        void HideMainWindow() override {}
        void ShowMainWindow() override {}
        void SendSysCommand(UINT) override {}
        void ExitProgram() override {}
        int AskUser(std::string_view, int, const std::optional<std::string>&) override { return 0; }
        void OpenAboutWindow() override {}
        void OpenSkinFrame() override {}
        void ResetColourChoices() override {}
        void OpenSettingsWindow(bool) override {}
    } none;
    const LightInfoRecord before = mouse->GetLighting();
    const std::vector<std::uint8_t> block = Block();
    OnLightModeSelected(none, 4);
    OnLightBrightness(none, 0);
    OnLightColourEdit(none, 1);
    OnLightColourOption(none, 0);
    EXPECT_EQ(mouse->GetLighting(), before);
    EXPECT_EQ(Block(), block);
}

}  // namespace
}  // namespace zevik::test
