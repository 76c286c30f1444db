// Music lighting on the main window, headless with an emulated keyboard: the music window opened by
// "music_setting_btn" and its settings file, what the capture program is told (its record of the
// chosen group, the channel sliders), and our own capture of the desktop's sound feeding the sample
// records while the keyboard is in the music mode.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <cmath>
#include <filesystem>
#include <memory>
#include <numbers>
#include <string>
#include <thread>
#include <vector>

#include "audio_lighting/band_analysis.h"
#include "devices/device_option_ui.h"
#include "devices/keyboard_device.h"
#include "emulator/emulation.h"
#include "settings/json_file_util.h"
#include "settings/profile_locations.h"
#include "shell/dialog_answers.h"
#include "shell/loop_pump.h"
#include "shell/main_wnd.h"
#include "shell/music_wnd.h"
#include "transport/command_channel.h"
#include "ui/combo_ui.h"
#include "ui/edit_ui.h"
#include "ui/option_ui.h"
#include "ui/paint_manager_ui.h"
#include "ui/plain_message_loop.h"
#include "ui/resource_manager.h"
#include "ui/slider_ui.h"

namespace zevik::test {
namespace {

using namespace std::chrono_literals;

class RecordingOutside final : public IOutsidePrograms {
public:
    void BroadcastLightControl(int, int) override {}
    bool SendToWorkTool(std::uint32_t, std::span<const std::uint8_t>) override { return false; }
    void SendToAudioCapture(int wParam, int lParam) override { commands.emplace_back(wParam, lParam); }
    bool SendRecordToAudioCapture(std::uint32_t kind, std::span<const std::uint8_t> record) override {
        records.emplace_back(kind, std::vector<std::uint8_t>(record.begin(), record.end()));
        return true;
    }
    // The three values of the last kind-10 record, and whether its rest is zero.
    std::vector<std::int32_t> LastColour(bool* restZero = nullptr) const {
        if (records.empty()) return {};
        const auto& [kind, bytes] = records.back();
        if (kind != 10 || bytes.size() != 40) return {};
        std::vector<std::int32_t> values;
        for (std::size_t i = 0; i < 3; ++i) {
            values.push_back(static_cast<std::int32_t>(bytes[i * 4] | bytes[i * 4 + 1] << 8 | bytes[i * 4 + 2] << 16 |
                                                       static_cast<std::uint32_t>(bytes[i * 4 + 3]) << 24));
        }
        if (restZero != nullptr) *restZero = std::all_of(bytes.begin() + 12, bytes.end(), [](auto b) { return b == 0; });
        return values;
    }

    std::vector<std::pair<int, int>> commands;
    std::vector<std::pair<std::uint32_t, std::vector<std::uint8_t>>> records;
};

// The desktop playing a full-scale sine at band 0's centre, 20 ms at a time.
class SineSource final : public IAudioSource {
public:
    explicit SineSource(bool opens) : opens_(opens) {}
    bool Open(std::string& error) override {
        if (!opens_) error = "no sound server: test";
        return opens_;
    }
    bool Read(std::span<float> samples, std::string&) override {
        std::this_thread::sleep_for(5ms);
        static const double hz = CBandAnalysis().CentreFrequency(0);
        for (float& s : samples) {
            s = static_cast<float>(std::sin(2.0 * std::numbers::pi * hz * n_++ / CBandAnalysis::kSampleRate));
        }
        return true;
    }

private:
    bool opens_;
    std::uint64_t n_ = 0;
};

class MusicLightingTest : public ::testing::Test {
protected:
    void SetUp() override {
        root = std::filesystem::temp_directory_path() /
               (std::string("zevik-music-") + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(root);
        std::filesystem::create_directories(root);
        locations = std::make_unique<CProfileLocations>(root, std::filesystem::path(ZEVIK_RESOURCE_DIR));
        previousPath = CPaintManagerUI::GetResourcePath();
        CPaintManagerUI::SetResourcePath(std::string(ZEVIK_RESOURCE_DIR) + "/skin/");
        ASSERT_TRUE(CResourceManager::GetInstance()->LoadResource("res.xml"));
        CDialogAnswers::Instance().Clear();
    }
    void Start(const std::string& settings = "{}", const std::string& devices = "keyboard") {
        std::string error;
        EmulationOptions options;
        options.list = devices;
        emulation = CEmulation::Create(options, error);
        ASSERT_NE(emulation, nullptr) << error;
        DeviceContext context;
        context.hidBackend = &emulation->Backend();
        context.uiLoop = &loop;
        context.profileLocations = locations.get();
        wnd = std::make_unique<CMainWnd>(context, &outside);
        ASSERT_TRUE(CJsonFileUtil().WriteTextFile(root / "settings.json", settings));
        wnd->SetSettingsFile(root / "settings.json");
        wnd->SetAudioSourceFactory([this] {
            ++sourcesMade;
            return std::make_unique<SineSource>(sourceOpens);
        });
        ASSERT_NE(wnd->Create(0, "main", 0x10000000, 0), 0u) << wnd->GetSkinError();
        ASSERT_TRUE(PumpUntil([&] {
            const auto& keyboards = wnd->Devices(CMainWnd::kFamilyKeyboard);
            keyboard = keyboards.empty() ? nullptr : dynamic_cast<COrbantixKeyboardDevice*>(keyboards.front());
            return keyboard != nullptr && keyboard->CommandChannel().IsOpen() && keyboard->HasMirror() &&
                   wnd->IsWindowVisible();
        }));
        if (wnd->GetCurrentDevice() != keyboard) {
            if (auto* option = keyboard->GetDeviceOption(); option != nullptr && option->SelectButton() != nullptr)
                option->SelectButton()->Activate();
            PumpFor(1ms);
        }
        ASSERT_EQ(wnd->GetCurrentDevice(), keyboard);
    }
    void TearDown() override {
        CDialogAnswers::Instance().Clear();
        if (wnd) {
            if (wnd->GetHWND() != 0) wnd->DestroyWindow();
            wnd.reset();
        }
        CPaintManagerUI::SetResourcePath(previousPath);
        std::filesystem::remove_all(root);
    }
    bool PumpUntil(const std::function<bool()>& cond, std::chrono::milliseconds limit = 5s) {
        return PumpLoopUntil(loop, cond, limit);
    }
    void PumpFor(std::chrono::milliseconds span) { PumpUntil([] { return false; }, span); }
    CControlUI* Page(std::string_view name) { return wnd->GetPaintManager()->FindSubControlByName(keyboard, name); }
    void ClickWith(std::string_view name, std::string answer) {
        CDialogAnswers::Instance().Push(std::move(answer));
        CControlUI* control = Page(name);
        ASSERT_NE(control, nullptr) << name;
        wnd->GetPaintManager()->SendNotify(control, DUI_MSGTYPE_CLICK);
        PumpFor(1ms);
    }
    void SelectMode(int mode) {
        auto* combo = dynamic_cast<CComboUI*>(Page("light_combo_modeSelect"));
        ASSERT_NE(combo, nullptr);
        ASSERT_TRUE(combo->SelectItem(mode, true));
        PumpFor(1ms);
    }
    Json::Value StoredRecord() const {
        return CJsonFileUtil().ReadJsonFile(root / "AudioFile.json")["Device"]["AudioLightInfo"];
    }

    std::filesystem::path root;
    std::string previousPath;
    std::unique_ptr<CProfileLocations> locations;
    CPlainMessageLoop loop;
    RecordingOutside outside;
    std::unique_ptr<CEmulation> emulation;
    std::unique_ptr<CMainWnd> wnd;
    COrbantixKeyboardDevice* keyboard = nullptr;
    std::atomic<int> sourcesMade{0};
    std::atomic<bool> sourceOpens{true};
};

TEST_F(MusicLightingTest, StartUpWritesTheFactoryCopyAndTellsTheCaptureProgramTheChosenGroup) {
    Start();
    EXPECT_EQ(StoredRecord()["nStyleName1"].asString(), "第一组");
    bool restZero = false;
    EXPECT_EQ(outside.LastColour(&restZero), (std::vector<std::int32_t>{9, 9, 0}));
    EXPECT_TRUE(restZero);
}

// OK with group 4 at 0, 0, 9: the capture program gets red 0, green 1, blue 9 and the file keeps it.
TEST_F(MusicLightingTest, OkOnGroupFourSendsZeroOneNineAndSavesTheGroup) {
    Start();
    outside.records.clear();
    ClickWith("music_setting_btn", "group=4:0,0,9");
    EXPECT_FALSE(wnd->IsMusicWindowOpen());
    EXPECT_EQ(outside.LastColour(), (std::vector<std::int32_t>{0, 1, 9}));
    const Json::Value stored = StoredRecord();
    EXPECT_EQ(stored["nAudioStyle"].asInt(), 3);
    EXPECT_EQ(stored["nStyleR3"].asInt(), 0);
    EXPECT_EQ(stored["nStyleG3"].asInt(), 0);
    EXPECT_EQ(stored["nStyleB3"].asInt(), 9);
    EXPECT_EQ(stored["nStyleR0"].asInt(), 9) << "the other groups stay";
}

TEST_F(MusicLightingTest, NamesAreKeptAnEmptyOneBecomesTheGroupsNumberAndCancelKeepsEverything) {
    Start();
    ClickWith("music_setting_btn", "name=2:Bass ♪");
    EXPECT_EQ(StoredRecord()["nStyleName2"].asString(), "Bass ♪");
    ClickWith("music_setting_btn", "name=3:");
    EXPECT_EQ(StoredRecord()["nStyleName3"].asString(), "第三组");

    const std::size_t sent = outside.records.size();
    const std::string before = CJsonFileUtil::ReadFileBytes(root / "AudioFile.json").value_or("");
    ClickWith("music_setting_btn", "no");
    EXPECT_EQ(outside.records.size(), sent);
    EXPECT_EQ(CJsonFileUtil::ReadFileBytes(root / "AudioFile.json").value_or(""), before);
}

TEST_F(MusicLightingTest, ProfileResetPutsTheFactoryGroupsBack) {
    Start();
    ClickWith("music_setting_btn", "group=1:1,2,3");
    ASSERT_EQ(StoredRecord()["nStyleG0"].asInt(), 2);
    ClickWith("device_reset_btn", "yes");
    EXPECT_EQ(StoredRecord()["nStyleG0"].asInt(), 9);
    EXPECT_EQ(wnd->MusicSettings().Cached().groups[0][1], 9);
}

TEST_F(MusicLightingTest, ChannelSlidersGoToTheCaptureProgramAndTheirLabels) {
    Start();
    SelectMode(29);
    const struct {
        const char* slider;
        const char* label;
        int command;
        int value;
        const char* text;
    } cases[] = {{"R_light_slider", "R_light_label", 6, 200, "R 200"},
                 {"G_light_slider", "G_light_label", 7, 0, "G 0"},
                 {"B_light_slider", "B_light_label", 8, 255, "B 255"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.slider);
        auto* slider = dynamic_cast<CSliderUI*>(Page(c.slider));
        ASSERT_NE(slider, nullptr);
        EXPECT_TRUE(Page("music_layout")->IsVisible());
        outside.commands.clear();
        slider->UserSetValue(c.value, true);
        EXPECT_EQ(outside.commands, (std::vector<std::pair<int, int>>{{c.command, c.value}}));
        EXPECT_EQ(Page(c.label)->GetText(), c.text);
    }
    SelectMode(1);
    EXPECT_FALSE(Page("music_layout")->IsVisible());
}

// In the music mode our capture feeds the sample records; an outside program's record wins for a
// second; leaving the mode ends the capture.
TEST_F(MusicLightingTest, OwnCaptureFeedsTheMusicModeAndGivesWayToAnOutsideProgram) {
    Start();
    SelectMode(1);
    PumpFor(50ms);
    EXPECT_EQ(sourcesMade, 0) << "no capture outside the music mode";
    SelectMode(29);
    ASSERT_TRUE(PumpUntil([&] { return wnd->AudioRecords().Sample(0) == 2000; }));
    EXPECT_TRUE(wnd->OwnCaptureRunning());
    EXPECT_EQ(wnd->AudioRecords().Sample(125), 0);

    const std::array<std::uint8_t, 4> seven = {7, 0, 0, 0};
    wnd->OnCopyData(1, seven);
    PumpFor(150ms);  // well inside the outside program's second, also when the loop's clock runs ahead
    EXPECT_EQ(wnd->AudioRecords().Sample(0), 7) << "ours are dropped while the outside program sends";
    EXPECT_TRUE(PumpUntil([&] { return wnd->AudioRecords().Sample(0) == 2000; }, 3s)) << "and come back after";

    SelectMode(1);
    EXPECT_FALSE(wnd->OwnCaptureRunning());
    EXPECT_EQ(sourcesMade, 1);
}

// Plugged in again while the profile holds the music mode, the keyboard's return alone starts our
// capture again: the mouse's card stays selected and the window is hidden. A start in the tray, with
// no window message after the connect at all, is checked end to end by
// zevik_music_from_the_sound_server.
TEST_F(MusicLightingTest, AKeyboardThatComesBackInTheMusicModeStartsOurCaptureByItself) {
    Start("{}", "mouse,keyboard");
    SelectMode(29);
    ASSERT_TRUE(PumpUntil([&] { return wnd->OwnCaptureRunning(); }));
    wnd->ShowWindow(false, false);
    std::string error;
    ASSERT_TRUE(emulation->Unplug("keyboard", error)) << error;
    ASSERT_TRUE(PumpUntil([&] { return !wnd->OwnCaptureRunning(); }));
    ASSERT_NE(wnd->GetCurrentDevice(), nullptr);
    ASSERT_NE(wnd->GetCurrentDevice(), keyboard) << "the mouse is shown while the keyboard is away";
    ASSERT_TRUE(emulation->Plug("keyboard", error)) << error;
    EXPECT_TRUE(PumpUntil([&] { return wnd->OwnCaptureRunning(); }, 3s));
    EXPECT_EQ(sourcesMade, 2);
}

TEST_F(MusicLightingTest, SettingsCanTurnOurCaptureOff) {
    Start(R"({"audioCapture": false})");
    SelectMode(29);
    PumpFor(100ms);
    EXPECT_EQ(sourcesMade, 0);
    EXPECT_FALSE(wnd->OwnCaptureRunning());
    EXPECT_EQ(wnd->AudioRecords().Sample(0), 0);
}

TEST_F(MusicLightingTest, WithoutASoundServerTheCaptureIsTriedOncePerEntryIntoTheMode) {
    sourceOpens = false;
    Start();
    SelectMode(29);
    PumpFor(200ms);
    EXPECT_EQ(sourcesMade, 1);
    EXPECT_FALSE(wnd->OwnCaptureRunning());
    SelectMode(1);
    SelectMode(29);
    PumpFor(50ms);
    EXPECT_EQ(sourcesMade, 2);
}

// The music window's own handlers, without the main window's answers.
TEST_F(MusicLightingTest, MusicWindowShowsTheChosenGroupAndTakesSlidersAndNames) {
    Start();
    MusicStyleRecord record;
    record.style = 1;
    record.names = {"a", "b", "c", "d"};
    record.groups = {{{1, 1, 1}, {2, 3, 4}, {5, 5, 5}, {6, 7, 8}}};
    CMusicWnd music(record);
    ASSERT_NE(music.Create(wnd->GetHWND(), CMusicWnd::kTitle, 0x90000000, 0x80, 0, 0, CMusicWnd::kWidth,
                           CMusicWnd::kHeight),
              0u)
        << music.GetSkinError();
    PumpFor(1ms);  // "windowinit"
    CPaintManagerUI& pm = *music.GetPaintManager();
    const auto slider = [&](const char* name) { return dynamic_cast<CSliderUI*>(pm.FindControl(name)); };
    const auto tab = [&](int n) { return dynamic_cast<COptionUI*>(pm.FindControl("audio_select_tab" + std::to_string(n))); };
    ASSERT_NE(slider("audio_g_slider"), nullptr);
    EXPECT_TRUE(tab(2)->IsSelected());
    EXPECT_EQ(slider("audio_r_slider")->GetMaxValue(), 9);
    EXPECT_EQ(slider("audio_g_slider")->GetValue(), 3);
    EXPECT_EQ(pm.FindControl("audio_edit_name4")->GetText(), "d");

    tab(4)->Activate();
    EXPECT_EQ(music.Record().style, 3);
    EXPECT_EQ(slider("audio_b_slider")->GetValue(), 8);
    slider("audio_b_slider")->UserSetValue(12);  // clamped to the range
    EXPECT_EQ(music.Record().groups[3][2], 9);
    EXPECT_EQ(music.Record().groups[1][2], 4) << "only the chosen group changes";

    auto* name = dynamic_cast<CEditUI*>(pm.FindControl("audio_edit_name3"));
    name->SetText("");
    pm.SendNotify(name, DUI_MSGTYPE_KILLFOCUS);
    EXPECT_EQ(name->GetText(), "第三组");
    EXPECT_EQ(music.Record().names[2], "第三组");
    music.DestroyWindow();
}

TEST_F(MusicLightingTest, MusicWindowOpensOnTheFirstGroupWhenTheFileNamesNoneOfTheFour) {
    Start();
    MusicStyleRecord record;
    record.style = 9;
    record.groups[0] = {4, 5, 6};
    CMusicWnd music(record);
    ASSERT_NE(music.Create(wnd->GetHWND(), CMusicWnd::kTitle, 0x90000000, 0x80, 0, 0, CMusicWnd::kWidth,
                           CMusicWnd::kHeight),
              0u);
    PumpFor(1ms);
    EXPECT_EQ(music.Record().style, 0);
    EXPECT_EQ(dynamic_cast<CSliderUI*>(music.GetPaintManager()->FindControl("audio_g_slider"))->GetValue(), 5);
    music.DestroyWindow();
}

TEST(MusicAnswersTest, GroupAndNameAnswersAreCheckedWhole) {
    EXPECT_TRUE(ParseMusicGroupAnswer("group=4:0,0,9"));
    EXPECT_EQ(ParseMusicGroupAnswer("group=1:9,8,7")->values, (std::array<int, 3>{9, 8, 7}));
    for (const char* bad : {"group=0:1,1,1", "group=5:1,1,1", "group=1:10,1,1", "group=1:1,1", "group=1:1,1,1,1",
                            "group=1:-1,1,1", "group=1:1,1,x", "group=:1,1,1", "groups=1:1,1,1"}) {
        EXPECT_FALSE(ParseMusicGroupAnswer(bad)) << bad;
    }
    EXPECT_EQ(ParseMusicNameAnswer("name=2:a:b")->name, "a:b");
    EXPECT_EQ(ParseMusicNameAnswer("name=3:")->name, "");
    EXPECT_FALSE(ParseMusicNameAnswer("name=5:x"));
    EXPECT_FALSE(ParseMusicNameAnswer("name=2"));
}

}  // namespace
}  // namespace zevik::test
