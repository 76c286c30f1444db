// The message dialog and the about window on a headless main window: what they show, how prepared
// answers run through their own buttons, the DPI they take, and what the profile bar asks before it
// acts.

#include <gtest/gtest.h>

#include <cctype>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "devices/mouse_device.h"
#include "emulator/emulation.h"
#include "platform/trace.h"
#include "settings/app_settings.h"
#include "settings/colour_choices.h"
#include "settings/device_profile_ui.h"
#include "settings/ini_file.h"
#include "settings/json_file_util.h"
#include "settings/profile_locations.h"
#include "shell/about_wnd.h"
#include "shell/color_select_wnd.h"
#include "shell/dialog_answers.h"
#include "shell/loop_pump.h"
#include "shell/main_routes.h"
#include "shell/main_wnd.h"
#include "shell/msg_wnd.h"
#include "shell/secondary_wnd.h"
#include "shell/set_wnd.h"
#include "shell/skin_frame.h"
#include "transport/command_channel.h"
#include "ui/color_palette_ui.h"
#include "ui/combo_ui.h"
#include "ui/edit_ui.h"
#include "ui/label_ui.h"
#include "ui/notify_ui.h"
#include "ui/option_ui.h"
#include "ui/paint_manager_ui.h"
#include "ui/plain_message_loop.h"
#include "ui/resource_manager.h"
#include "ui/tab_layout_ui.h"
#include "ui/text_measure.h"

namespace zevik::test {
namespace {

using namespace std::chrono_literals;

class TraceLines final : public ITraceSink {
public:
    TraceLines() : previous_(SetTraceSink(this)) {}
    ~TraceLines() override { SetTraceSink(previous_); }
    void Write(std::string_view line) override { lines.emplace_back(line); }
    bool Has(std::string_view line) const {
        for (const std::string& l : lines) {
            if (l == line) return true;
        }
        return false;
    }
    std::vector<std::string> lines;

private:
    ITraceSink* previous_;
};

struct Reported {
    std::string key, text, result;
};

class DialogsTest : public ::testing::Test {
protected:
    void SetUp() override {
        root =
            std::filesystem::temp_directory_path() /
            (std::string("zevik-dialogs-") + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(root);
        locations = std::make_unique<CProfileLocations>(root, std::filesystem::path(ZEVIK_RESOURCE_DIR));
        previousPath = CPaintManagerUI::GetResourcePath();
        CPaintManagerUI::SetResourcePath(std::string(ZEVIK_RESOURCE_DIR) + "/skin/");
        ASSERT_TRUE(CResourceManager::GetInstance()->LoadResource("res.xml"));
        ASSERT_TRUE(CResourceManager::GetInstance()->LoadLanguage("lang/lan_main_en.xml"));
        std::string error;
        EmulationOptions options;
        options.list = "mouse";
        emulation = CEmulation::Create(options, error);
        ASSERT_NE(emulation, nullptr) << error;
        DeviceContext context;
        context.hidBackend = &emulation->Backend();
        context.uiLoop = &loop;
        context.profileLocations = locations.get();
        wnd = std::make_unique<CMainWnd>(context);
        wnd->SetSettingsFile(root / "settings.json");
        ASSERT_NE(wnd->Create(0, "main", 0x10000000, 0), 0u) << wnd->GetSkinError();
        ASSERT_TRUE(wnd->StartScan());
        CDialogAnswers::Instance().Clear();
        CDialogAnswers::Instance().SetReporter(
            [this](std::string_view key, std::string_view text, std::string_view result) {
                reported.push_back({std::string(key), std::string(text), std::string(result)});
            });
    }
    void TearDown() override {
        CDialogAnswers::Instance().Clear();
        CDialogAnswers::Instance().SetReporter({});
        if (wnd) {
            wnd->StopScan();
            if (wnd->GetHWND() != 0) wnd->DestroyWindow();
            wnd.reset();
        }
        CPaintManagerUI::SetResourcePath(previousPath);
        std::filesystem::remove_all(root);
    }
    bool PumpUntil(const std::function<bool()>& cond, std::chrono::milliseconds limit = 5s) {
        return PumpLoopUntil(loop, cond, limit);
    }
    CDeviceProfileUI* Bar() {
        return PumpUntil([this] { return ProfileBarOf(wnd->GetCurrentDevice()) != nullptr; })
                   ? ProfileBarOf(wnd->GetCurrentDevice())
                   : nullptr;
    }
    void Click(std::string_view name) {
        CControlUI* control = wnd->FindControl(name);
        ASSERT_NE(control, nullptr) << name;
        wnd->GetPaintManager()->SendNotify(control, DUI_MSGTYPE_CLICK);
    }
    static void Click(std::string_view name, CWindowWnd& window) {
        CControlUI* control = window.GetPaintManager()->FindControl(name);
        ASSERT_NE(control, nullptr) << name;
        ASSERT_TRUE(control->Activate()) << name;
    }
    void Answer(std::initializer_list<const char*> answers) {
        for (const char* a : answers) CDialogAnswers::Instance().Push(a);
    }

    std::filesystem::path root;
    std::string previousPath;
    std::unique_ptr<CProfileLocations> locations;
    CPlainMessageLoop loop;
    std::unique_ptr<CEmulation> emulation;
    std::unique_ptr<CMainWnd> wnd;
    std::vector<Reported> reported;
};

TEST_F(DialogsTest, ShowMessageButtonsAndAnswers) {
    const struct {
        int buttons;
        const char* answer;  // nullptr: none prepared
        int result;
    } cases[] = {
        {0, "yes", 1}, {0, "no", 0}, {1, "yes", 1}, {1, "no", 0}, {1, nullptr, 0}, {0, nullptr, 0},
    };
    for (const auto& c : cases) {
        if (c.answer != nullptr) Answer({c.answer});
        reported.clear();
        EXPECT_EQ(ShowMessage(wnd->GetHWND(), "", "message_text_29", 96, c.buttons), c.result)
            << c.buttons << " " << (c.answer ? c.answer : "(none)");
        ASSERT_EQ(reported.size(), 1u);
        EXPECT_EQ(reported[0].key, "message_text_29");
        EXPECT_EQ(reported[0].text, "Delete the selected profile?");
        EXPECT_EQ(reported[0].result, std::to_string(c.result));
        EXPECT_EQ(CSecondaryWnd::OpenCount(), 0u);
    }
}

TEST_F(DialogsTest, MessageShowsItsButtonsTitleAndArgument) {
    // Read as the dialog runs: the prepared answer comes after this look.
    bool cancelShown = true;
    std::string title, text;
    loop.PostTask([&] {
        auto* msg = dynamic_cast<CMsgWnd*>(CSecondaryWnd::LastOpened());
        ASSERT_NE(msg, nullptr);
        cancelShown = msg->GetPaintManager()->FindControl("cancel_btn")->IsVisible();
        title = msg->GetPaintManager()->FindControl("MessageTitle")->GetText();
        text = msg->ShownText();
    });
    EXPECT_EQ(ShowMessage(wnd->GetHWND(), "tips_text", "message_text_16", 96, 0, std::string("-102")), 0);
    EXPECT_FALSE(cancelShown);
    EXPECT_EQ(title, "Update");
    EXPECT_EQ(text, "The device refused the settings (error -102).");

    EXPECT_EQ(FormatMessageText("a %s b %d", std::string("x")), "a x b %d");
    EXPECT_EQ(FormatMessageText("%d%%", std::string("50")), "50%%");
    EXPECT_EQ(FormatMessageText("plain", std::string("x")), "plain");
    EXPECT_EQ(FormatMessageText("keeps %n", std::string("x")), "keeps %n") << "no printf";
}

TEST_F(DialogsTest, RefusedDpiTakes96WithTheTraceLine) {
    TraceLines trace;
    CMsgWnd msg;
    ASSERT_NE(msg.Create(wnd->GetHWND(), "msgwnd", 0x82000000, 0x80), 0u) << msg.GetSkinError();
    const int mainDpi = wnd->GetPaintManager()->GetDPIObj().GetDPI();
    msg.SetWindowDpi(144);
    EXPECT_EQ(msg.GetPaintManager()->GetDPIObj().GetDPI(), 144);
    EXPECT_EQ(msg.GetWindowRect().GetWidth(), 660) << "the skin's 440 at 150 %";
    msg.SetWindowDpi(110);
    EXPECT_EQ(msg.GetWindowDpi(), 96);
    EXPECT_EQ(msg.GetPaintManager()->GetDPIObj().GetDPI(), 96);
    EXPECT_TRUE(trace.Has("MSG_WND DPI SET ERROR"));
    EXPECT_EQ(wnd->GetPaintManager()->GetDPIObj().GetDPI(), mainDpi) << "the main window keeps its DPI";
    msg.DestroyWindow();
}

TEST_F(DialogsTest, ProfileBarAsksBeforeItActs) {
    CDeviceProfileUI* bar = Bar();
    ASSERT_NE(bar, nullptr);
    ASSERT_EQ(bar->GetProfileCount(), 1);
    Click("device_add_btn");  // no answer prepared: declined
    EXPECT_EQ(bar->GetProfileCount(), 1);
    Answer({"yes"});
    Click("device_add_btn");
    EXPECT_EQ(bar->GetProfileCount(), 2);
    Answer({"yes"});
    Click("device_copy_btn");
    EXPECT_EQ(bar->GetProfileCount(), 3);
    Answer({"no"});
    Click("device_sub_btn");
    EXPECT_EQ(bar->GetProfileCount(), 3);
    Answer({"yes"});
    Click("device_sub_btn");
    EXPECT_EQ(bar->GetProfileCount(), 2);
    std::vector<std::string> keys;
    for (const Reported& r : reported) keys.push_back(r.key + " " + r.result);
    EXPECT_EQ(keys, (std::vector<std::string>{"message_text_27 0", "message_text_27 1", "message_text_26 1",
                                              "message_text_29 0", "message_text_29 1"}));
}

TEST_F(DialogsTest, ResetForgetsTheColourChoicesOnlyWhenConfirmed) {
    CDeviceProfileUI* bar = Bar();
    ASSERT_NE(bar, nullptr);
    const std::filesystem::path colours = locations->ColourChoicesFile();
    std::filesystem::create_directories(colours.parent_path());
    std::ofstream(colours) << "{}";
    Answer({"no"});
    Click("device_reset_btn");
    EXPECT_TRUE(std::filesystem::exists(colours)) << "declined: nothing changes";
    Answer({"yes"});
    Click("device_reset_btn");
    EXPECT_FALSE(std::filesystem::exists(colours));
    ASSERT_FALSE(reported.empty());
    EXPECT_EQ(reported.back().key, "message_text_22");
}

TEST_F(DialogsTest, RenameRefusalsAreShown) {
    CDeviceProfileUI* bar = Bar();
    ASSERT_NE(bar, nullptr);
    Answer({"yes"});
    Click("device_add_btn");
    ASSERT_EQ(bar->GetProfileCount(), 2);
    // The other profile's name, in other letters: taken, case ignored.
    const int other = bar->GetSelectedIndex() == 0 ? 1 : 0;
    std::string taken = bar->Store().Items().at(static_cast<std::size_t>(other)).name;
    for (char& ch : taken)
        ch = static_cast<char>(std::islower(static_cast<unsigned char>(ch)) ? std::toupper(ch)
                                                                            : std::tolower(ch));
    const struct {
        std::string name;
        const char* key;  // "" when nothing is shown
    } cases[] = {{taken, "message_text_5"}, {"   ", "message_text_25"}, {"", ""}, {"Game", ""}};
    for (const auto& c : cases) {
        reported.clear();
        wnd->FindControl("device_profile_name_edit")->SetText(c.name);
        Click("device_profile_edit_save_btn");
        if (*c.key == '\0') {
            EXPECT_TRUE(reported.empty()) << '"' << c.name << '"';
        } else {
            ASSERT_EQ(reported.size(), 1u) << '"' << c.name << '"';
            EXPECT_EQ(reported[0].key, c.key);
        }
    }
}

TEST_F(DialogsTest, AboutShowsTheVersion) {
    std::string shown;
    loop.PostTask([&] {
        if (auto* about = dynamic_cast<CAboutWnd*>(CSecondaryWnd::LastOpened())) shown = about->VersionText();
    });
    wnd->OpenAboutWindow();
    EXPECT_EQ(shown, "Version " + std::string(ProgramVersion()));
    EXPECT_EQ(CSecondaryWnd::OpenCount(), 0u);
}

TEST_F(DialogsTest, AltF4InTheAboutWindowEndsTheProgramInOrder) {
    ASSERT_TRUE(PumpUntil([this] { return wnd->GetCurrentDevice() != nullptr; }));
    loop.PostTask([] {
        if (CSecondaryWnd* about = CSecondaryWnd::LastOpened()) about->SendMessage(WM_SYSCOMMAND, SC_CLOSE);
    });
    wnd->OpenAboutWindow();
    EXPECT_EQ(CSecondaryWnd::OpenCount(), 0u);
    EXPECT_TRUE(PumpUntil([this] { return wnd->IsShutDown(); }, 2s)) << "the orderly shutdown ran";
    EXPECT_FALSE(wnd->Devices(CMainWnd::kFamilyMouse).front()->CommandChannel().IsOpen());
}

TEST_F(DialogsTest, HidingTheWindowClosesItsDialogs) {
    bool stillOpenAfterHide = true;
    loop.PostTask([&] {
        wnd->HideMainWindow();
        stillOpenAfterHide = CSecondaryWnd::OpenCount() != 0;
    });
    Answer({"yes"});  // would confirm, but the dialog is closed first
    EXPECT_EQ(ShowMessage(wnd->GetHWND(), "", "message_text_22", 96, 1), 0);
    EXPECT_FALSE(stillOpenAfterHide);
}

// The saved language at start, over small language lists and settings files.
TEST(SavedLanguage, IsTheLastEntryWithTheSavedIdElseTheFirst) {
    const std::filesystem::path root = std::filesystem::temp_directory_path() / "zevik-saved-language";
    std::filesystem::remove_all(root);
    std::filesystem::create_directories(root / "program" / "DefaultData");
    std::ofstream(root / "program" / "DefaultData" / "Language.config")
        << R"({"Language": [{"Language_ID": 0}, {"Language_ID": 520}, {"Language_ID": 7}, {"Language_ID": 7}]})";
    const struct {
        const char* settings;  // nullptr: no file
        int index;
    } cases[] = {
        {nullptr, 0},                 // nothing saved: the first
        {R"({"LANGUAGE": 7})", 3},    // two entries with the id: the later
        {R"({})", 1},                 // a file without the value: the entry with 520
        {R"({"LANGUAGE": "7"})", 1},  // a value of the wrong type reads as absent
        {R"({"LANGUAGE": 99})", 0},   // an id no entry has
        {"{ not json", 0},            // unparsable: as no file, and moved aside
    };
    CProfileLocations locations(root / "data", root / "program");
    DeviceContext context;
    context.profileLocations = &locations;
    for (const auto& c : cases) {
        std::filesystem::remove_all(root / "config");
        std::filesystem::create_directories(root / "config");
        if (c.settings != nullptr) std::ofstream(root / "config" / "settings.json") << c.settings;
        CMainWnd wnd(context);
        wnd.SetSettingsFile(root / "config" / "settings.json");
        EXPECT_EQ(wnd.ReadSavedLanguage(), c.index) << (c.settings ? c.settings : "(no file)");
    }
    EXPECT_TRUE(std::filesystem::exists(root / "config" / "settings.json.bad"));
    std::filesystem::remove_all(root);
}

TEST_F(DialogsTest, LanguageSwitchChangesEveryTextAndIsSavedOnce) {
    ASSERT_TRUE(PumpUntil([this] { return wnd->GetCurrentDevice() != nullptr; }));
    ASSERT_EQ(wnd->GetLanguageIndex(), 0);
    const std::filesystem::path settings = root / "settings.json";
    ASSERT_TRUE(std::filesystem::exists(settings)) << "the first application saves the choice";
    std::filesystem::remove(settings);
    wnd->ApplyLanguage(0);
    EXPECT_FALSE(std::filesystem::exists(settings)) << "the language in use: nothing is written";

    const auto text = [this](const char* name) { return wnd->FindControl(name)->GetText(); };
    EXPECT_EQ(text("performance_Op_tab"), "Performance");
    EXPECT_EQ(text("No_device_Link_text"), "No device connected");
    // Chosen in the settings window, which is open while the switch runs and follows it.
    std::string settingsTitle;
    loop.PostTask([&] {
        auto* set = dynamic_cast<CSetWnd*>(CSecondaryWnd::LastOpened());
        ASSERT_NE(set, nullptr);
        auto* combo = dynamic_cast<CComboUI*>(set->GetPaintManager()->FindControl("Language_combox_info"));
        ASSERT_NE(combo, nullptr);
        EXPECT_EQ(combo->GetCount(), 2);
        EXPECT_EQ(combo->GetCurSel(), 0);
        combo->SelectItem(1, true);
        settingsTitle = set->GetPaintManager()->FindControl("set_title")->GetText();
    });
    wnd->OpenSettingsWindow(false);
    EXPECT_EQ(wnd->GetLanguageIndex(), 1);
    EXPECT_EQ(settingsTitle, "设置");
    EXPECT_EQ(text("performance_Op_tab"), "性能");
    EXPECT_EQ(text("No_device_Link_text"), "未连接设备");
    EXPECT_EQ(CAppSettings(settings).ReadLanguage().id, 1);

    // An index outside the list changes nothing.
    wnd->SendMessage(UM_LANGUAGE_CHANGED, 2, 0);
    wnd->SendMessage(UM_LANGUAGE_CHANGED, static_cast<WPARAM>(-1), 0);
    EXPECT_EQ(wnd->GetLanguageIndex(), 1);
    EXPECT_EQ(text("performance_Op_tab"), "性能");

    // Back again, after someone else replaced the English table: it is built again, whole.
    CResourceManager::GetInstance()->SetLanguage("English");
    ASSERT_TRUE(CResourceManager::GetInstance()->LoadLanguage("lang/lan_main_en.xml"));
    CResourceManager::GetInstance()->SetLanguage("简体中文");
    wnd->SendMessage(UM_LANGUAGE_CHANGED, 0, 0);
    EXPECT_EQ(text("performance_Op_tab"), "Performance");
    EXPECT_EQ(text("No_device_Link_text"), "No device connected");
}

// The main window's fonts: the table every language switch builds again, whole, and the ids its skins
// (main window, power panel, device option, mouse page) name.
TEST_F(DialogsTest, EveryLanguageSwitchLeavesExactlyTheFontTable) {
    ASSERT_TRUE(PumpUntil([this] { return wnd->GetCurrentDevice() != nullptr; }));
    ASSERT_EQ(wnd->GetLanguageIndex(), 0);
    CPaintManagerUI& pm = *wnd->GetPaintManager();
    const struct {
        int id, size;
        bool bold, underline;
    } table[] = {
        {0, 15, false, false}, {1, 14, false, true},  {2, 18, false, false},  {3, 30, false, false},
        {4, 16, false, false}, {5, 20, false, false}, {6, 22, false, false},  {7, 14, false, false},
        {8, 12, false, false}, {9, 11, false, false}, {10, 10, false, false}, {11, 28, false, false},
        {50, 14, true, false}, {51, 16, true, false}, {52, 12, true, false},  {53, 20, true, false},
        {54, 18, true, false},
    };
    const auto expectTable = [&](const char* when) {
        SCOPED_TRACE(when);
        const TFontInfo& standard = pm.GetDefaultFont();
        EXPECT_EQ(standard.sFontName, "DejaVu Sans Condensed");
        EXPECT_EQ(standard.iSize, 13);
        EXPECT_FALSE(standard.bBold || standard.bUnderline || standard.bItalic);
        EXPECT_EQ(pm.GetFonts().size(), std::size(table));
        for (const auto& expected : table) {
            const TFontInfo* font = pm.GetFont(expected.id);
            ASSERT_NE(font, nullptr) << expected.id;
            EXPECT_EQ(font->sFontName, "DejaVu Sans Condensed") << expected.id;
            EXPECT_EQ(font->iSize, expected.size) << expected.id;
            EXPECT_EQ(font->bBold, expected.bold) << expected.id;
            EXPECT_EQ(font->bUnderline, expected.underline) << expected.id;
            EXPECT_FALSE(font->bItalic) << expected.id;
            EXPECT_TRUE(font->bShared) << expected.id;
        }
    };
    expectTable("at start");

    // Fonts put there by anyone else do not outlive a switch, there and back.
    TFontInfo stray;
    stray.sFontName = "Stray";
    stray.iSize = 40;
    pm.AddFont(99, stray);
    pm.AddFont(9, stray);
    pm.SetDefaultFont(stray);
    wnd->SendMessage(UM_LANGUAGE_CHANGED, 1, 0);
    ASSERT_EQ(wnd->GetLanguageIndex(), 1);
    expectTable("in Chinese");
    wnd->SendMessage(UM_LANGUAGE_CHANGED, 0, 0);
    expectTable("back in English");

    // Every font the window's skins name is in the table, and resolves to it.
    int named = 0;
    pm.GetRoot()->FindControl(
        [&](CControlUI& control) {
            auto* label = dynamic_cast<CLabelUI*>(&control);
            if (label == nullptr || label->GetFont() < 0) return false;
            ++named;
            EXPECT_NE(pm.GetFont(label->GetFont()), nullptr)
                << control.GetName() << " names " << label->GetFont();
            return false;
        },
        UIFIND_ALL);
    EXPECT_GT(named, 10);
    const struct {
        const char* name;
        int pixels;
    } shown[] = {{"logo", 20},
                 {"product", 12},
                 {"control_light_status", 11},
                 {"No_device_Link_text", 18},
                 {"no_device_hint", 13},
                 {"device_youxian_logo_text", 12},
                 {"device_add_btn", 11}};
    for (const auto& s : shown) {
        CControlUI* control = wnd->FindControl(s.name);
        ASSERT_NE(control, nullptr) << s.name;
        EXPECT_EQ(FontPixelSizeOf(*control), s.pixels) << s.name;
    }
    EXPECT_TRUE(pm.GetFont(dynamic_cast<CLabelUI*>(wnd->FindControl("logo"))->GetFont())->bBold);
}

TEST_F(DialogsTest, SettingsWindowSitsInsideTheMainWindowOrCentred) {
    UiRect placed;
    loop.PostTask([&] { placed = CSecondaryWnd::LastOpened()->GetWindowRect(); });
    wnd->OpenSettingsWindow(false);
    const UiRect main = wnd->GetWindowRect();
    const CDPI& dpi = wnd->GetPaintManager()->GetDPIObj();
    EXPECT_EQ(placed.right, main.right - dpi.Scale(30));
    EXPECT_EQ(placed.top, main.top + dpi.Scale(60));
    EXPECT_EQ(placed.GetWidth(), dpi.Scale(CSetWnd::kWidth));
}

// The colour picker on its own, over the main window, reading and writing the user copy in the
// test's data root.
class ColourPickerTest : public DialogsTest {
protected:
    std::filesystem::path UserFile() const { return locations->ColourChoicesFile(); }
    std::filesystem::path DefaultFile() const { return locations->DefaultColourChoicesFile(); }
    std::unique_ptr<CColorSelectWnd> Open(UiColor initial) {
        auto picker = std::make_unique<CColorSelectWnd>(initial, UserFile(), DefaultFile());
        EXPECT_NE(picker->Create(wnd->GetHWND(), CColorSelectWnd::kTitle, 0x90000000, 0x80, 0, 0, 800, 572),
                  0u)
            << picker->GetSkinError();
        return picker;
    }
    static std::string Text(CColorSelectWnd& picker, std::string_view name) {
        return picker.GetPaintManager()->FindControl(name)->GetText();
    }
    static void Type(CColorSelectWnd& picker, std::string_view edit, std::string_view text) {
        auto* control = dynamic_cast<CEditUI*>(picker.GetPaintManager()->FindControl(edit));
        ASSERT_NE(control, nullptr) << edit;
        control->UserSetText(text);
    }
    static bool Selected(CColorSelectWnd& picker, std::string_view name) {
        const auto* option = dynamic_cast<COptionUI*>(picker.GetPaintManager()->FindControl(name));
        return option != nullptr && option->IsSelected();
    }
    Json::Value UserCopy() const { return CJsonFileUtil().ReadJsonFile(UserFile()); }
};

TEST_F(ColourPickerTest, WithoutAUserCopyTheDefaultIsShownAndBecomesTheUserCopy) {
    ASSERT_FALSE(std::filesystem::exists(UserFile()));
    auto picker = Open(0xFF102030);
    CPaintManagerUI& pm = *picker->GetPaintManager();
    const Json::Value defaults = CJsonFileUtil().ReadJsonFile(DefaultFile());
    EXPECT_EQ(UserCopy(), defaults);
    const Json::Value& presets = defaults["coloroptioninfo"]["palletDialogcoloroption"];
    ASSERT_EQ(presets.size(), 20u);
    for (int n = 0; n < 20; ++n) {
        EXPECT_EQ(
            CColourChoices::FormatColour(pm.FindControl("color_option_" + std::to_string(n))->GetBkColor()),
            presets[n]["color"].asString())
            << n;
        EXPECT_NE(pm.FindControl("collect_color_option_" + std::to_string(n))->GetUserData(), "1") << n;
    }
    EXPECT_TRUE(Selected(*picker, "color_option_4"));
    EXPECT_TRUE(Selected(*picker, "collect_color_option_0"));
    // The initial colour, not the selected preset's, is what the window shows.
    EXPECT_EQ(pm.FindControl("color_show_btn")->GetBkColor(), 0xFF102030u);
    EXPECT_EQ(Text(*picker, "color_edit_r"), "16");
    EXPECT_EQ(Text(*picker, "color_edit_g"), "32");
    EXPECT_EQ(Text(*picker, "color_edit_b"), "48");
    picker->DestroyWindow();
}

TEST_F(ColourPickerTest, ADamagedUserCopyIsMovedAsideAndReplaced) {
    std::filesystem::create_directories(UserFile().parent_path());
    { std::ofstream(UserFile()) << "{ \"coloroptioninfo\": [ not json"; }
    auto picker = Open(0xFFFFFFFF);
    const std::filesystem::path aside = UserFile().string() + ".bad";
    ASSERT_TRUE(std::filesystem::exists(aside));
    std::ifstream kept(aside);
    std::string keptText;
    std::getline(kept, keptText);
    EXPECT_EQ(keptText, "{ \"coloroptioninfo\": [ not json");
    EXPECT_EQ(UserCopy(), CJsonFileUtil().ReadJsonFile(DefaultFile()));
    picker->DestroyWindow();
}

TEST_F(ColourPickerTest, ValuesOfTheWrongTypeReadAsAbsentAndWritesKeepTheRest) {
    std::filesystem::create_directories(UserFile().parent_path());
    Json::Value doc;
    Json::Value& info = doc["coloroptioninfo"];
    info["palletDialogcoloroption"][0]["color"] = "FF00FF00";
    info["palletDialogcoloroption"][1]["color"] = 12;          // wrong type: the skin's colour
    info["palletDialogcoloroption"][2]["color"] = "greenish";  // not hexadecimal: the skin's colour
    info["palletDialogcoloroption_selectitem"] = "2";          // wrong type: preset 4 stays
    info["palletDialogcollectcoloroption"][3]["color"] = "FF123456";
    info["palletDialogcollectcoloroption"][3]["UserData"] = "1";
    info["palletDialogcollectcoloroption_selectitem"] = 3;
    info["mine"] = "kept";
    doc["other"] = 7;
    ASSERT_TRUE(CJsonFileUtil().WriteJsonFile(UserFile(), doc));

    auto picker = Open(0xFF000000);
    CPaintManagerUI& pm = *picker->GetPaintManager();
    const UiColor skin = 0xFF3A3F4A;
    EXPECT_EQ(pm.FindControl("color_option_0")->GetBkColor(), 0xFF00FF00u);
    EXPECT_EQ(pm.FindControl("color_option_1")->GetBkColor(), skin);
    EXPECT_EQ(pm.FindControl("color_option_2")->GetBkColor(), skin);
    EXPECT_EQ(picker->GetPresetIndex(), 4);
    EXPECT_EQ(picker->GetCollectIndex(), 3);
    // Collected slot 3 is taken as the user clicks it.
    Click("collect_color_option_3", *picker);
    EXPECT_EQ(pm.FindControl("color_show_btn")->GetBkColor(), 0xFF123456u);

    Click("color_option_0", *picker);
    const Json::Value written = UserCopy();
    EXPECT_EQ(written["other"], 7);
    EXPECT_EQ(written["coloroptioninfo"]["mine"], "kept");
    EXPECT_EQ(written["coloroptioninfo"]["palletDialogcoloroption_selectitem"], 0);
    EXPECT_EQ(written["coloroptioninfo"]["palletDialogcoloroption"][1]["color"], "FF3A3F4A");
    EXPECT_EQ(written["coloroptioninfo"]["palletDialogcollectcoloroption"][3]["color"], "FF123456");
    EXPECT_EQ(pm.FindControl("color_show_btn")->GetBkColor(), 0xFF00FF00u);
    EXPECT_EQ(Text(*picker, "color_edit_g"), "255");
    picker->DestroyWindow();
}

TEST_F(ColourPickerTest, APalettePickIsCollectedIntoTheSelectedSlot) {
    auto picker = Open(0xFFFFFFFF);
    CPaintManagerUI& pm = *picker->GetPaintManager();
    Click("collect_color_option_5", *picker);  // empty: selected, nothing shown changes
    EXPECT_EQ(pm.FindControl("color_show_btn")->GetBkColor(), 0xFFFFFFFFu);
    auto* palette = dynamic_cast<CColorPaletteUI*>(pm.FindControl("Pallet"));
    ASSERT_NE(palette, nullptr);
    palette->UserSelectColor(0xFF0A80FF);
    EXPECT_EQ(Text(*picker, "color_edit_r"), "10");
    EXPECT_EQ(Text(*picker, "color_edit_g"), "128");
    EXPECT_EQ(Text(*picker, "color_edit_b"), "255");
    EXPECT_EQ(pm.FindControl("color_show_btn")->GetBkColor(), 0xFF0A80FFu);
    EXPECT_EQ(pm.FindControl("collect_color_option_5")->GetBkColor(), 0xFF0A80FFu);
    EXPECT_EQ(pm.FindControl("collect_color_option_5")->GetUserData(), "1");
    const Json::Value info = UserCopy()["coloroptioninfo"];
    EXPECT_EQ(info["palletDialogcollectcoloroption"][5]["color"], "FF0A80FF");
    EXPECT_EQ(info["palletDialogcollectcoloroption"][5]["UserData"], "1");
    EXPECT_EQ(info["palletDialogcollectcoloroption_selectitem"], 5);

    // The seven-colour option shows the cycle's picture instead of the plain colour.
    Click("7color", *picker);
    EXPECT_EQ(pm.FindControl("color_show_btn")->GetBkImage(), "common/base1.png");
    Click("7color", *picker);
    EXPECT_EQ(pm.FindControl("color_show_btn")->GetBkImage(), "");
    picker->DestroyWindow();
}

TEST_F(ColourPickerTest, TypedValuesAreClampedAndNonNumbersChangeNothing) {
    auto picker = Open(0xFF010203);
    CPaintManagerUI& pm = *picker->GetPaintManager();
    const struct {
        const char* edit;
        const char* typed;
        UiColor shown;  // afterwards
        const char* r;  // the red edit's text afterwards
    } cases[] = {
        {"color_edit_r", "200", 0xFFC80203, "200"},
        {"color_edit_r", "999", 0xFFFF0203, "255"},  // above 255: 255
        {"color_edit_g", "", 0xFFFF0203, "255"},     // being typed: nothing changes
        {"color_edit_g", "7", 0xFFFF0703, "255"},
        {"color_edit_b", "abc", 0xFFFF0703, "255"},  // no digits: nothing changes
        {"color_edit_b", "040", 0xFFFF0728, "255"},
    };
    for (const auto& c : cases) {
        Type(*picker, c.edit, c.typed);
        EXPECT_EQ(pm.FindControl("color_show_btn")->GetBkColor(), c.shown) << c.edit << " " << c.typed;
        EXPECT_EQ(Text(*picker, "color_edit_r"), c.r) << c.edit << " " << c.typed;
    }
    EXPECT_EQ(Text(*picker, "color_edit_b"), "40");
    // Leaving an unfinished edit shows the colour's value again.
    Type(*picker, "color_edit_g", "");
    picker->GetPaintManager()->SendNotify(pm.FindControl("color_edit_g"), DUI_MSGTYPE_KILLFOCUS);
    EXPECT_EQ(Text(*picker, "color_edit_g"), "7");
    picker->DestroyWindow();
}

TEST_F(ColourPickerTest, PreparedAnswersRunThroughTheWindowsControls) {
    const struct {
        const char* answer;  // nullptr: none prepared
        std::optional<UiColor> chosen;
        const char* reported;
    } cases[] = {
        {"yes", 0xFF336699, "1 FF336699"},
        {"no", std::nullopt, "0"},
        {nullptr, std::nullopt, "0"},
        {"color=0a0B0c", 0xFF0A0B0C, "1 FF0A0B0C"},
        {"preset=0", 0xFFFF0000, "1 FFFF0000"},
        {"preset=4", 0xFFA8FF00, "1 FFA8FF00"},   // already selected: still taken
        {"preset=20", std::nullopt, "0"},         // not offered
        {"collect=0", 0xFF0A0B0C, "1 FF0A0B0C"},  // typed into slot 0 above
        {"collect=9", 0xFF336699, "1 FF336699"},  // empty: the initial colour stays
    };
    for (const auto& c : cases) {
        if (c.answer != nullptr) Answer({c.answer});
        reported.clear();
        const std::optional<UiColor> chosen =
            ShowColorSelectWindow(wnd->GetHWND(), 96, 0xFF336699, UserFile(), DefaultFile());
        const std::string label = c.answer != nullptr ? c.answer : "(none)";
        EXPECT_EQ(chosen, c.chosen) << label;
        ASSERT_EQ(reported.size(), 1u) << label;
        EXPECT_EQ(reported[0].key, "PalletDialog");
        EXPECT_EQ(reported[0].text, "FF336699");
        EXPECT_EQ(reported[0].result, c.reported) << label;
        EXPECT_EQ(CSecondaryWnd::OpenCount(), 0u);
    }
}

TEST_F(ColourPickerTest, ItTakesTheDpiItIsGivenAndHidesTheSevenColourChoice) {
    TraceLines trace;
    int dpi = 0;
    bool sevenShown = true;
    loop.PostTask([&] {
        auto* picker = dynamic_cast<CColorSelectWnd*>(CSecondaryWnd::LastOpened());
        ASSERT_NE(picker, nullptr);
        dpi = picker->GetWindowDpi();
        sevenShown = picker->GetPaintManager()->FindControl("7color_layout")->IsVisible();
        picker->SetWindowDpi(110);
    });
    EXPECT_EQ(ShowColorSelectWindow(wnd->GetHWND(), 144, 0xFF000000, UserFile(), DefaultFile()),
              std::nullopt);
    EXPECT_EQ(dpi, 144);
    EXPECT_FALSE(sevenShown);
    EXPECT_TRUE(trace.Has("SET_WND DPI SET ERROR"));
}

TEST_F(ColourPickerTest, AStageColourIsChosenThroughTheMainWindow) {
    ASSERT_TRUE(PumpUntil([this] { return wnd->GetCurrentDevice() != nullptr; }));
    auto* mouse = dynamic_cast<COrbantixMouseDevice*>(wnd->GetCurrentDevice());
    ASSERT_NE(mouse, nullptr);
    ASSERT_TRUE(PumpUntil([mouse] { return mouse->HasMirror(); }));
    Answer({"color=123456"});
    Click("DPI_color_option_3");
    const auto stages = mouse->Profile().GetDpiStages();
    ASSERT_GT(stages.size(), 3u);
    EXPECT_EQ(stages[3].red, 0x12);
    EXPECT_EQ(stages[3].green, 0x34);
    EXPECT_EQ(stages[3].blue, 0x56);
    ASSERT_EQ(reported.size(), 1u);
    EXPECT_EQ(reported[0].result, "1 FF123456");

    // Declined: the stage keeps its colour; the select check opens it too.
    reported.clear();
    Click("DPI_select_check_3");
    EXPECT_EQ(reported.size(), 1u);
    EXPECT_EQ(mouse->Profile().GetDpiStages()[3].red, 0x12);
}

TEST_F(DialogsTest, SkinPopupChangesTheBackgroundAndWritesMainIni) {
    CControlUI* rootControl = wnd->FindControl("root");
    ASSERT_NE(rootControl, nullptr);
    EXPECT_EQ(rootControl->GetBkImage(), "file='common/background.png'");
    wnd->OpenSkinFrame();
    CSkinFrame* frame = wnd->GetSkinFrame();
    ASSERT_NE(frame, nullptr);
    const auto images = frame->ImageButtons();
    const auto colours = frame->ColourButtons();
    ASSERT_GE(images.size(), 4u);
    ASSERT_GE(colours.size(), 8u);
    // Under the button, right-aligned to it.
    const UiRect button = wnd->FindControl("skinbtn")->GetPos();
    const UiRect main = wnd->GetWindowRect();
    EXPECT_EQ(frame->GetWindowRect().right, main.left + button.right);
    EXPECT_EQ(frame->GetWindowRect().top, main.top + button.bottom);
    const std::filesystem::path ini = locations->DataRoot() / "main.ini";
    const auto click = [frame](const char* name) {
        frame->GetPaintManager()->SendNotify(frame->GetPaintManager()->FindControl(name), DUI_MSGTYPE_CLICK);
    };

    frame->GetPaintManager()->SendNotify(colours[2], DUI_MSGTYPE_CLICK);
    EXPECT_EQ(rootControl->GetBkColor(), colours[2]->GetBkColor());
    EXPECT_EQ(rootControl->GetBkImage(), "");
    EXPECT_FALSE(std::filesystem::exists(ini)) << "a colour is not written";

    frame->GetPaintManager()->SendNotify(images[1], DUI_MSGTYPE_CLICK);
    EXPECT_EQ(rootControl->GetBkImage(), images[1]->GetBkImage());
    EXPECT_EQ(rootControl->GetBkColor(), 0u);
    EXPECT_EQ(ReadIniValue(ini, "SKINIMAGE", "FLAGS"), "1");
    EXPECT_EQ(ReadIniValue(ini, "SKINIMAGE", "IMAGE"), images[1]->GetBkImage());

    auto* tab = dynamic_cast<CTabLayoutUI*>(frame->GetPaintManager()->FindControl("skin_tab"));
    ASSERT_NE(tab, nullptr);
    click("skin_color");
    EXPECT_EQ(tab->GetCurSel(), 1);
    click("skin_image");
    EXPECT_EQ(tab->GetCurSel(), 0);

    click("skin_reset");
    EXPECT_EQ(rootControl->GetBkImage(), "file='common/background.png'");
    EXPECT_EQ(ReadIniValue(ini, "SKINIMAGE", "FLAGS"), "0");
    EXPECT_EQ(ReadIniValue(ini, "SKINIMAGE", "IMAGE"), "file='common/background.png'");
}

TEST_F(DialogsTest, OwnBackgroundImageOnlyWhenAnImageWasChosen) {
    const std::filesystem::path notImage = root / "notes.txt";
    const std::filesystem::path image = root / "mine.png";
    std::filesystem::create_directories(root);
    std::ofstream(notImage) << "not an image";
    std::ofstream(image, std::ios::binary) << std::string("\x89PNG\r\n\x1a\n", 8) << "rest";
    CControlUI* rootControl = wnd->FindControl("root");
    for (const auto& [chosen, expected] : std::vector<std::pair<std::filesystem::path, std::string>>{
             {{}, "file='common/background.png'"},
             {notImage, "file='common/background.png'"},
             {image, image.string()}}) {
        wnd->SetImageFileChooser([chosen = chosen] { return chosen; });
        wnd->OpenSkinFrame();
        CSkinFrame* frame = wnd->GetSkinFrame();
        ASSERT_NE(frame, nullptr);
        frame->GetPaintManager()->SendNotify(frame->GetPaintManager()->FindControl("skin_Custom"),
                                             DUI_MSGTYPE_CLICK);
        EXPECT_EQ(rootControl->GetBkImage(), expected) << chosen;
        frame->Close(0);
        PumpUntil([this] { return wnd->GetSkinFrame() == nullptr; }, 1s);
    }
    EXPECT_TRUE(CPaintManagerUI::IsImageFileAllowed(image.string()));
    EXPECT_FALSE(CPaintManagerUI::IsImageFileAllowed(notImage.string()));
}

TEST(SkinObserver, AReceiverLeavesWhenItIsDestroyed) {
    CSkinObserver observer;
    struct Counting : CSkinReceiver {
        int Receive(SkinChangedParam) override { return ++count; }
        int count = 0;
    };
    Counting kept;
    observer.AddReceiver(&kept);
    {
        Counting gone;
        observer.AddReceiver(&gone);
        EXPECT_EQ(observer.ReceiverCount(), 2u);
        observer.Broadcast(SkinChangedParam{true, 0xFF000000, {}});
        EXPECT_EQ(gone.count, 1);
    }
    EXPECT_EQ(observer.ReceiverCount(), 1u);
    EXPECT_EQ(observer.Broadcast(SkinChangedParam{}), 2) << "the one left, called in turn";
}

}  // namespace
}  // namespace zevik::test
