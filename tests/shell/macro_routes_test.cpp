// The macro page on the emulated mouse, reached as the user reaches it: its buttons clicked through
// the main window's routing, the questions answered through the headless dialog answers.

#include "shell/macro_routes.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

#include "devices/mouse_device.h"
#include "editors/macro_control_ui.h"
#include "editors/macro_mouse_events.h"
#include "ui/menu_wnd.h"
#include "ui/notify_ui.h"
#include "settings/json_file_util.h"
#include "platform/evdev_input_source.h"
#include "platform/input_source.h"
#include "shell/dialog_answers.h"
#include "shell/headless_run.h"
#include "shell/headless_session.h"
#include "shell/key_handlers.h"
#include "shell/main_wnd.h"
#include "editors/key_set_control_ui.h"
#include "ui/list_ui.h"

namespace zevik::test {
namespace {

class MacroRoutesTest : public ::testing::Test {
protected:
    void SetUp() override {
        data = std::filesystem::temp_directory_path() /
               ("zevik-macro-routes-" + std::to_string(reinterpret_cast<std::uintptr_t>(this)));
        std::filesystem::remove_all(data);
        CDialogAnswers::Instance().Clear();
        HeadlessRunOptions options;
        options.emulate = "mouse";
        options.dataDir = data;
        options.skinFolder = std::string(ZEVIK_RESOURCE_DIR) + "/skin";
        options.programFolder = ZEVIK_RESOURCE_DIR;
        std::string error;
        ASSERT_TRUE(run.Start(options, error)) << error;
        mouse = run.Session().WaitForMouse(std::chrono::seconds(3));
        ASSERT_NE(mouse, nullptr);
        control = FindControlOfClass<CMacroControlUI>(mouse);
        ASSERT_NE(control, nullptr);
    }
    void TearDown() override {
        CDialogAnswers::Instance().Clear();
        std::string error;
        EXPECT_TRUE(run.Finish(error)) << error;
        std::error_code ec;
        std::filesystem::remove_all(data, ec);
    }
    void Click(const std::string& name) {
        CControlUI* c = run.Session().Window().FindControl(name);
        ASSERT_NE(c, nullptr) << name;
        c->Activate();
        run.Session().PumpFor(std::chrono::milliseconds(1));
    }
    std::size_t Macros() const { return control->Store().Entries().size(); }
    int KeyCode(int key) { return mouse->Profile().GetKeyList()[static_cast<std::size_t>(key)].assignment.ToInt(); }

    std::filesystem::path data;
    CHeadlessRun run;
    COrbantixMouseDevice* mouse = nullptr;
    CMacroControlUI* control = nullptr;
};

TEST_F(MacroRoutesTest, AddAsksFirstAndMenuItemsAndButtonsEditTheMacro) {
    Click("macro_Op_tab");
    CDialogAnswers::Instance().Push("no");
    Click("macro_btn_name_add");
    EXPECT_EQ(Macros(), 0u);
    CDialogAnswers::Instance().Push("yes");
    Click("macro_btn_name_add");
    ASSERT_EQ(Macros(), 1u);
    EXPECT_EQ(control->SelectedMacro(), 0);

    EXPECT_TRUE(OnMacroMenuItem(run.Session().Window(), "right_click"));
    EXPECT_TRUE(OnMacroMenuItem(run.Session().Window(), "back_down"));
    EXPECT_FALSE(OnMacroMenuItem(run.Session().Window(), "wheel_click"));
    ASSERT_EQ(control->RowEvents().size(), 3u);
    Click("macro_btn_uptop");  // the selected (last inserted) row to the top, saved at once
    const std::string guid = control->Store().Entries()[0].guid;
    const Json::Value saved = CJsonFileUtil().ReadJsonFile(mouse->KindFolder() / (guid + ".mac"));
    ASSERT_EQ(saved["Events"].size(), 3u);
    EXPECT_EQ(saved["Events"][0]["Button"].asInt(), 0x08);
    EXPECT_EQ(saved["Events"][1]["Button"].asInt(), 0x02);
    EXPECT_EQ(saved["Events"][1]["Action"].asString(), "down");
}

TEST_F(MacroRoutesTest, ARowsPopupInsertsTheChosenButtonEvents) {
    ASSERT_FALSE(control->AddMacro().empty());
    ASSERT_TRUE(control->InsertMouseEvent(kWmLButtonDown, 0));
    CControlUI* row = control->ActionList()->GetItemAt(0);
    ASSERT_NE(row, nullptr);
    ASSERT_NE(row->GetManager(), nullptr);
    row->GetManager()->SendNotify(row, DUI_MSGTYPE_ITEMACTIVATE);
    run.Session().PumpFor(std::chrono::milliseconds(1));
    CMenuWnd* menu = run.Session().Window().MacroActionMenu();
    ASSERT_NE(menu, nullptr);
    for (const char* item : {"left_down", "middle_up", "right_click", "forward_down", "back_click"}) {
        EXPECT_NE(menu->FindItem(item), nullptr) << item;
    }
    ASSERT_TRUE(menu->ChooseItem("forward_click"));
    run.Session().PumpFor(std::chrono::milliseconds(5));
    const std::vector<MacroEvent> events = control->RowEvents();
    ASSERT_EQ(events.size(), 3u);
    EXPECT_EQ(events[1], (MacroEvent{"down", 0x10, 1, events[1].delay}));
    EXPECT_EQ(events[2], (MacroEvent{"up", 0x10, 1, events[2].delay}));
}

TEST_F(MacroRoutesTest, DeletingAMacroTheProfileUsesAsksTwiceAndRenumbersTheKeys) {
    for (int i = 0; i < 2; ++i) ASSERT_FALSE(control->AddMacro().empty());
    std::vector<KeyAssignRecord> keys = mouse->Profile().GetKeyList();
    ASSERT_GE(keys.size(), 5u);
    const int factory3 = keys[3].defaultAssignment.ToInt();
    keys[3].assignment = {0x70, 0, 1};  // macro 1
    keys[4].assignment = {0x70, 1, 1};  // macro 2
    mouse->Profile().SetKeyList(keys);
    ASSERT_TRUE(mouse->Profile().SaveProfile());
    control->SelectMacro(0);

    CDialogAnswers::Instance().Push("yes");
    CDialogAnswers::Instance().Push("no");
    Click("macro_btn_name_sub");
    EXPECT_EQ(Macros(), 2u);
    EXPECT_EQ(KeyCode(3), 0x700001);

    control->SelectMacro(0);
    CDialogAnswers::Instance().Push("yes");
    CDialogAnswers::Instance().Push("yes");
    Click("macro_btn_name_sub");
    ASSERT_EQ(Macros(), 1u);
    EXPECT_EQ(KeyCode(3), factory3);
    EXPECT_EQ(KeyCode(4), 0x700001);
    // Saved as well as held.
    CBasicProfiledata saved;
    saved.SetDefaultPath(mouse->Profile().GetDefaultPath());
    saved.LoadProfile(mouse->Profile().GetProfilePath());
    EXPECT_EQ(saved.GetKeyList()[4].assignment.ToInt(), 0x700001);
    EXPECT_EQ(CDialogAnswers::Instance().Pending(), 0u);
}

// Export and import through the window's file dialog: the chosen file is copied, the import becomes
// a new macro the key page offers, and a cancelled dialog changes nothing.
TEST_F(MacroRoutesTest, ExportAndImportGoThroughTheFileDialog) {
    CMainWnd& window = run.Session().Window();
    std::filesystem::path chosen;
    std::vector<std::string> seenPatterns;
    window.SetPatternFileChooser([&](bool, const std::string&, const std::string&, const std::string&,
                                     const std::vector<std::string>& patterns) {
        seenPatterns = patterns;
        return chosen;
    });
    Click("macro_Op_tab");
    ASSERT_FALSE(control->AddMacro().empty());
    ASSERT_TRUE(control->InsertMouseEvent(kWmLButtonDown, 0));
    control->SaveMacro();
    Click("macro_btn_export");  // cancelled
    chosen = data / "out.mac";
    Click("macro_btn_export");
    ASSERT_TRUE(std::filesystem::exists(chosen));
    EXPECT_EQ(seenPatterns, (std::vector<std::string>{"*.mac", "*.MAC"}));
    Click("macro_btn_import");
    EXPECT_EQ(Macros(), 2u);
    ASSERT_NE(KeySetControlOf(mouse), nullptr);
    EXPECT_EQ(KeySetControlOf(mouse)->MacroNames().size(), 2u) << "the key page offers the imported macro";
}

// Recording from the page: start switches editing off and replays the input (event files here);
// stop switches it on again and saves the macro; the popup inserts a recording after the selected row.
TEST_F(MacroRoutesTest, RecordingFromThePageAddsTheCapturedEventsAndStopSavesThem) {
    CMainWnd& window = run.Session().Window();
    const std::filesystem::path file = data / "input.txt";
    std::filesystem::create_directories(data);
    {
        std::ofstream out(file);
        out << "E: 1.000000 0001 001e 0001\nE: 1.040000 0001 001e 0000\nE: 1.100000 0001 0110 0001\n";
    }
    window.Hook().SetSourceFactory([file] { return MakeInputSource({file}); });
    Click("macro_Op_tab");
    ASSERT_FALSE(control->AddMacro().empty());
    Click("macro_btn_starredio");
    ASSERT_TRUE(control->IsRecording());
    EXPECT_FALSE(window.FindControl("macro_btn_starredio")->IsEnabled());
    EXPECT_TRUE(window.FindControl("macro_btn_stopredio")->IsEnabled());
    run.Session().PumpFor(std::chrono::milliseconds(5));
    Click("macro_btn_stopredio");
    EXPECT_FALSE(control->IsRecording());
    const std::vector<MacroEvent> want = {{"down", 0x04, 10, 0}, {"up", 0x04, 10, 40}, {"down", 0x01, 1, 60}};
    EXPECT_EQ(control->Store().LoadMacro(0).events, want) << "saved at stop";

    control->ActionList()->SelectItem(0, false);
    ASSERT_TRUE(StartMacroRecording(window, 16, RecordDelay::Ignore));
    run.Session().PumpFor(std::chrono::milliseconds(5));
    StopMacroRecording(window);
    const std::vector<MacroEvent> after = control->Store().LoadMacro(0).events;
    ASSERT_EQ(after.size(), 6u);
    EXPECT_EQ(after[1], (MacroEvent{"down", 0x04, 10, 0}));
    EXPECT_EQ(after[3], (MacroEvent{"down", 0x01, 1, 0}));
}

// Without read access to the input devices (the nodes exist, opening them fails with EACCES, as for a
// user outside the "input" group) a recording does not start: the user is told to join the group and
// the page, its editing state and the macro file stay as they were.
TEST_F(MacroRoutesTest, ARecordingWithoutReadableInputDevicesDoesNotStartAndSaysHowToJoinTheInputGroup) {
    CMainWnd& window = run.Session().Window();
    const std::filesystem::path nodes = data / "input";
    std::filesystem::create_directories(nodes);
    std::ofstream(nodes / "event3").put('\0');
    int opened = 0;
    window.Hook().SetSourceFactory([nodes, &opened] {
        return std::make_unique<CEvdevInputSource>(nodes, [&opened](const std::string&) {
            ++opened;
            errno = EACCES;
            return -1;
        });
    });
    std::string shown;
    CDialogAnswers::Instance().SetReporter(
        [&shown](std::string_view, std::string_view text, std::string_view) { shown = text; });
    Click("macro_Op_tab");
    ASSERT_FALSE(control->AddMacro().empty());
    control->InsertMouseEvent(kWmLButtonDown, 0);
    ASSERT_TRUE(control->SaveMacro());
    const std::filesystem::path file = mouse->KindFolder() / (control->Store().Entries()[0].guid + ".mac");
    const auto before = std::filesystem::last_write_time(file);
    const std::string content = CJsonFileUtil().ReadJsonFile(file).toStyledString();

    Click("macro_btn_starredio");
    CDialogAnswers::Instance().SetReporter({});
    EXPECT_EQ(opened, 1);
    EXPECT_FALSE(control->IsRecording());
    EXPECT_FALSE(window.Hook().IsInstalled());
    EXPECT_NE(shown.find("\"input\" group"), std::string::npos) << shown;
    EXPECT_NE(shown.find("usermod -aG input"), std::string::npos) << shown;
    EXPECT_TRUE(window.FindControl("macro_btn_starredio")->IsEnabled());
    EXPECT_FALSE(window.FindControl("macro_btn_stopredio")->IsEnabled());
    EXPECT_TRUE(window.FindControl("macro_action_list")->IsEnabled());
    EXPECT_EQ(std::filesystem::last_write_time(file), before);
    EXPECT_EQ(CJsonFileUtil().ReadJsonFile(file).toStyledString(), content);
}

}  // namespace
}  // namespace zevik::test
