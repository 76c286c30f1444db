// The music mode on the emulated keyboard, reached as the user and the capture side reach it: the
// audio words of the lighting page go through the window's routing into the audio lighting record,
// the saved profile and the lighting engine; sample records through the main window's record handler
// become levels the keyboard draws and streams; a short colour record changes only what it carries.

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "devices/keyboard_device.h"
#include "devices/keyboard_light_output.h"
#include "editors/light_control_ui.h"
#include "emulator/emulation.h"
#include "emulator/keyboard_model.h"
#include "settings/json_access.h"
#include "settings/json_file_util.h"
#include "shell/headless_run.h"
#include "shell/headless_session.h"
#include "shell/lighting_commands.h"
#include "shell/lighting_handlers.h"
#include "shell/main_wnd.h"
#include "ui/edit_ui.h"
#include "ui/option_ui.h"

namespace zevik::test {
namespace {

using namespace std::chrono_literals;
constexpr int kMusic = 29;  // the music effect's place in the keyboard's effect list

class KeyboardAudioLightingTest : public ::testing::Test {
protected:
    void SetUp() override {
        data = std::filesystem::temp_directory_path() /
               ("zevik-kbd-audio-" + std::to_string(reinterpret_cast<std::uintptr_t>(this)));
        std::filesystem::remove_all(data);
        HeadlessRunOptions options;
        options.emulate = "keyboard";
        options.dataDir = data;
        options.skinFolder = std::string(ZEVIK_RESOURCE_DIR) + "/skin";
        options.programFolder = ZEVIK_RESOURCE_DIR;
        ASSERT_TRUE(run.Start(options, error)) << error;
        CMainWnd& window = run.Session().Window();
        ASSERT_TRUE(run.Session().PumpUntil(
            [&] {
                const auto& keyboards = window.Devices(CMainWnd::kFamilyKeyboard);
                keyboard =
                    keyboards.empty() ? nullptr : dynamic_cast<COrbantixKeyboardDevice*>(keyboards.front());
                return keyboard != nullptr && keyboard->HasMirror();
            },
            3s));
        control = LightControlOf(keyboard);
        ASSERT_NE(control, nullptr);
        model = dynamic_cast<CKeyboardModel*>(run.Emulation()->Model("keyboard"));
        ASSERT_NE(model, nullptr);
    }
    void TearDown() override {
        EXPECT_TRUE(run.Finish(error)) << error;
        std::error_code ec;
        std::filesystem::remove_all(data, ec);
    }
    // "keyboard lighting WORDS"; the exit code, the reason in error.
    int Lighting(const std::vector<std::string>& words) {
        const auto command = ParseLightingWords(words, keyboard->ModeVisible(), error);
        EXPECT_TRUE(command.has_value()) << error;
        if (!command) return 2;
        std::ostringstream out;
        return RunLightingCommand(run.Session(), *keyboard, *command, out, false, error);
    }
    // The "AudioLightInfo" saved in the profile file.
    Json::Value Saved() {
        const Json::Value doc = CJsonFileUtil().ReadJsonFile(keyboard->Profile().GetProfilePath());
        const Json::Value* device = json::Member(doc, "Device");
        const Json::Value* first = device != nullptr ? json::Element(*device, 0) : nullptr;
        const Json::Value* audio = first != nullptr ? json::Member(*first, "AudioLightInfo") : nullptr;
        return audio != nullptr ? *audio : Json::Value();
    }
    std::string Edits() {
        using Channel = CLightControlUI::Channel;
        return control->AudioColourEdit(Channel::Red)->GetText() + " " +
               control->AudioColourEdit(Channel::Green)->GetText() + " " +
               control->AudioColourEdit(Channel::Blue)->GetText();
    }
    void Record(std::uint32_t kind, const std::vector<std::uint8_t>& bytes) {
        run.Session().Window().OnCopyData(kind, bytes);
    }
    static std::vector<std::uint8_t> Samples(std::int32_t v) {
        std::vector<std::uint8_t> bytes;
        for (int i = 0; i < 500; ++i)
            for (int shift = 0; shift < 32; shift += 8)
                bytes.push_back(static_cast<std::uint8_t>(static_cast<std::uint32_t>(v) >> shift));
        return bytes;
    }

    std::filesystem::path data;
    std::string error;
    CHeadlessRun run;
    COrbantixKeyboardDevice* keyboard = nullptr;
    CLightControlUI* control = nullptr;
    CKeyboardModel* model = nullptr;
};

struct AudioWordCase {
    std::vector<std::string> words;
    std::function<void(const AudioLightInfoRecord&)> record;
    const char* edits;  // what the page's edits show afterwards
};

TEST_F(KeyboardAudioLightingTest, TheAudioWordsChangeTheRecordTheProfileAndThePage) {
    ASSERT_EQ(Lighting({"mode", std::to_string(kMusic)}), 0) << error;
    ASSERT_EQ(Lighting({"audio-edit", "bg"}), 0) << error;
    const AudioWordCase cases[] = {
        {{"audio-color", "102030"},
         [](const AudioLightInfoRecord& r) {
             EXPECT_EQ((std::vector<int>{r.bkColorR, r.bkColorG, r.bkColorB}),
                       (std::vector<int>{16, 32, 48}));
         },
         "16 32 48"},
        // The factory record: foreground 0, 160, 255 in the wheel's colours.
        {{"audio-edit", "fg"},
         [](const AudioLightInfoRecord& r) { EXPECT_EQ(r.colorTypeFlags, 1); },
         "0 160 255"},
        {{"audio-7color", "1"},
         [](const AudioLightInfoRecord& r) { EXPECT_EQ(r.sevenColorFlags, 1); },
         "0 160 255"},
        // A typed component above 255 stores 255 and a hand-picked foreground ends the wheel colours.
        {{"audio-rgb", "G", "300"},
         [](const AudioLightInfoRecord& r) {
             EXPECT_EQ(r.fgColorG, 255);
             EXPECT_EQ(r.sevenColorFlags, 0);
         },
         "0 255 255"},
        {{"audio-rgb", "G"}, [](const AudioLightInfoRecord& r) { EXPECT_EQ(r.fgColorG, 0); }, "0 0 255"},
        // The clear button empties the background while the page keeps showing the foreground.
        {{"audio-clear-bg"},
         [](const AudioLightInfoRecord& r) {
             EXPECT_EQ((std::vector<int>{r.bkColorR, r.bkColorG, r.bkColorB}), (std::vector<int>{0, 0, 0}));
             EXPECT_EQ(r.colorTypeFlags, 1);
         },
         "0 0 255"},
        {{"audio-7color", "1"}, nullptr, "0 0 255"},
        // Option 3 is the yellow preset.
        {{"audio-option", "3"},
         [](const AudioLightInfoRecord& r) {
             EXPECT_EQ((std::vector<int>{r.fgColorR, r.fgColorG, r.fgColorB}),
                       (std::vector<int>{255, 255, 0}));
             EXPECT_EQ(r.sevenColorFlags, 0);
         },
         "255 255 0"},
        {{"audio-style", "5"}, [](const AudioLightInfoRecord& r) { EXPECT_EQ(r.audioMode, 5); }, "255 255 0"},
    };
    for (const AudioWordCase& c : cases) {
        std::string name;
        for (const std::string& w : c.words) name += w + " ";
        SCOPED_TRACE(name);
        ASSERT_EQ(Lighting(c.words), 0) << error;
        const AudioLightInfoRecord stored = keyboard->Profile().GetAudioLightInfo();
        if (c.record) c.record(stored);
        EXPECT_EQ(keyboard->GetStoredAudioLighting(), stored);
        EXPECT_EQ(keyboard->Engine().State().audio.lighting, stored) << "the engine draws what is stored";
        const Json::Value saved = Saved();
        EXPECT_EQ(saved["AudioMode"].asInt(), stored.audioMode);
        EXPECT_EQ(saved["FgColorG"].asInt(), stored.fgColorG);
        EXPECT_EQ(saved["BkColorR"].asInt(), stored.bkColorR);
        EXPECT_EQ(saved["7ColorFlags"].asBool(), stored.sevenColorFlags != 0);
        EXPECT_EQ(Edits(), c.edits);
    }
}

TEST_F(KeyboardAudioLightingTest, TheRingStyleTakesTheColourAwayAndOtherStylesGiveItBack) {
    ASSERT_EQ(Lighting({"mode", std::to_string(kMusic)}), 0) << error;
    ASSERT_EQ(Lighting({"audio-style", "3"}), 0) << error;
    EXPECT_EQ(Lighting({"audio-option", "2"}), 1);
    EXPECT_EQ(error, "the current effect does not offer \"audio-option\"");
    ASSERT_EQ(Lighting({"audio-style", "0"}), 0) << error;
    EXPECT_EQ(Lighting({"audio-option", "2"}), 0) << error;
}

TEST_F(KeyboardAudioLightingTest, TheAudioWordsWaitForTheMusicEffect) {
    ASSERT_EQ(Lighting({"mode", "1"}), 0) << error;
    EXPECT_EQ(Lighting({"audio-style", "2"}), 1);
    EXPECT_EQ(keyboard->Profile().GetAudioLightInfo().audioMode, 0);
}

TEST_F(KeyboardAudioLightingTest, SampleRecordsLightTheKeysAndReachTheKeyboardAsFrames) {
    ASSERT_EQ(Lighting({"mode", std::to_string(kMusic)}), 0) << error;
    ASSERT_EQ(Lighting({"brightness", "4"}), 0) << error;
    ASSERT_EQ(Lighting({"audio-edit", "fg"}), 0) << error;
    ASSERT_EQ(Lighting({"audio-color", "00FF00"}), 0) << error;
    ASSERT_EQ(Lighting({"audio-edit", "bg"}), 0) << error;
    ASSERT_EQ(Lighting({"audio-clear-bg"}), 0) << error;
    const auto frame = [this] { return model->ReadArea("light_frame"); };
    const auto green = [](const std::vector<std::uint8_t>& bytes) {
        int keys = 0;
        for (size_t i = 0; i + 2 < bytes.size(); i += 3) keys += bytes[i + 1] > 0 ? 1 : 0;
        return keys;
    };
    ASSERT_TRUE(
        run.Session().PumpUntil([&] { return keyboard->LightOutput().Stream().GetCounts().sent > 0; }, 1s));
    run.Session().PumpFor(200ms);
    // Silence with a black background: the keys the styles draw are dark (a key outside the key
    // matrix keeps what the effect before showed).
    const int silent = green(frame());
    EXPECT_LE(silent, 3);
    // The cable gives the keyboard two rows; the levels reach it with every third record.
    for (int i = 0; i < 3; ++i) Record(1, Samples(i % 2 == 0 ? 0 : 4000));
    EXPECT_TRUE(run.Session().PumpUntil([&] { return green(frame()) > silent + 20; }, 1s))
        << "no lit frame reached the keyboard";
    // In silence the keys fade back to black.
    for (int i = 0; i < 12; ++i) Record(1, Samples(0));
    // The columns drain from the top, about half a second a row.
    EXPECT_TRUE(run.Session().PumpUntil([&] { return green(frame()) == silent; }, 8s))
        << "the keys never faded";
}

TEST_F(KeyboardAudioLightingTest, AShortColourRecordChangesOnlyTheValuesItCarries) {
    Record(2, {1, 0, 0, 0, 2, 0, 0, 0, 3, 0, 0, 0, 4, 0, 0, 0, 5, 0, 0, 0, 6, 0, 0, 0});
    Record(2, {0, 1, 0, 0, 255, 1, 0, 0, 7, 0, 0, 0});  // 256, 511, 7
    EXPECT_EQ(keyboard->Engine().State().audio.colour, (std::array<std::int32_t, 6>{256, 511, 7, 4, 5, 6}));
    Record(2, {});            // an empty record is ignored
    Record(7, {9, 9, 9, 9});  // so is a kind nobody knows
    EXPECT_EQ(keyboard->Engine().State().audio.colour, (std::array<std::int32_t, 6>{256, 511, 7, 4, 5, 6}));
    ASSERT_EQ(Lighting({"mode", "30"}), 0) << error;
    ASSERT_EQ(Lighting({"brightness", "4"}), 0) << error;
    ASSERT_TRUE(run.Session().PumpUntil(
        [&] {
            const std::vector<std::uint8_t> f = model->ReadArea("light_frame");
            int keys = 0;
            for (size_t i = 0; i + 2 < f.size(); i += 3)
                keys += f[i] == 0 && f[i + 1] == 254 && f[i + 2] == 6 ? 1 : 0;
            return keys > 20;
        },
        1s))
        << "mode 30 streams red 0 (256), green 255, blue 7 at the brightness";
}

}  // namespace
}  // namespace zevik::test
