// The macro page built from the skin's own layout, on a temporary kind folder.

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "devices/mouse_event_image.h"
#include "editors/key_tables.h"
#include "editors/macro_control_ui.h"
#include "editors/macro_mouse_events.h"
#include "editors/redio_macro_button_ui.h"
#include "settings/json_file_util.h"
#include "ui/dialog_builder.h"
#include "ui/dialog_builder_callback.h"
#include "ui/edit_ui.h"
#include "ui/list_ui.h"
#include "ui/paint_manager_ui.h"

namespace zevik {
namespace {

namespace fs = std::filesystem;

class MacroControlCallback : public IDialogBuilderCallback {
public:
    CControlUI* CreateControl(std::string_view tag) override {
        if (tag == CRedioMacroButtonUI::kSkinTag) return new CRedioMacroButtonUI;
        return tag == CMacroControlUI::kSkinTag ? new CMacroControlUI : nullptr;
    }
};

class MacroControlTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "zevik-macro-page-XXXXXX").string();
        folder_ = ::mkdtemp(pattern.data());
        previousPath_ = CPaintManagerUI::GetResourcePath();
        CPaintManagerUI::SetResourcePath(std::string(ZEVIK_RESOURCE_DIR) + "/skin");
        CControlUI* root = builder_.Create("XML/CustomControlXML/MacroControl.xml", {}, &callback_, &pm_);
        ASSERT_NE(root, nullptr) << builder_.GetLastError();
        EXPECT_TRUE(builder_.GetWarnings().empty()) << builder_.GetWarnings().front();
        pm_.AttachDialog(root);
        control_ = dynamic_cast<CMacroControlUI*>(root);
        ASSERT_NE(control_, nullptr);
        control_->SetMacroFolder(folder_);
        control_->LoadMacroList();
    }
    void TearDown() override {
        CPaintManagerUI::SetResourcePath(previousPath_);
        fs::remove_all(folder_);
    }
    CControlUI* Named(const std::string& name) { return pm_.FindControl(name); }
    void SetEdit(const std::string& name, const std::string& text) {
        ASSERT_NE(Named(name), nullptr) << name;
        Named(name)->SetText(text);
    }
    Json::Value SavedEvents() {
        const std::string guid = control_->Store().Entries()[0].guid;
        return CJsonFileUtil().ReadJsonFile(folder_ / (guid + ".mac"))["Events"];
    }
    void WriteMacroFile(const std::string& events) {
        std::ofstream(folder_ / "macro.config") << R"({"MacroInfo":[{"MacroName":"m","Guid":"g1"}]})";
        std::ofstream(folder_ / "g1.mac") << R"({"Events":)" << events << "}";
        control_->LoadMacroList();
        control_->SelectMacro(0);
    }

    fs::path folder_;
    std::string previousPath_;
    CPaintManagerUI pm_;
    CDialogBuilder builder_;
    MacroControlCallback callback_;
    CMacroControlUI* control_ = nullptr;
};

TEST_F(MacroControlTest, TheSkinHasEveryControlThePageUses) {
    for (const char* name :
         {"macro_name_list", "macro_action_list", "macro_edit_macroname", "macro_action_layout", "mouse_move_layout",
          "macro_btn_export", "macro_btn_name_sub", "macro_btn_name_edit", "macro_name_tab",
          "macro_tab_macroaction_edit", "macro_tab_macrodelay_edit", "macro_btn_starredio", "macro_btn_stopredio",
          "macro_check_time", "macro_fixed_time_edit", "mouse_x_left_edit", "mouse_x_right_edit", "mouse_y_up_edit",
          "mouse_y_down_edit", "macro_btn_name_add", "macro_btn_save", "macro_btn_cancel", "macro_btn_import",
          "macro_btn_up", "macro_btn_down", "macro_btn_uptop", "macro_btn_downbottom", "macro_btn_delete",
          "macro_btn_deleteall"}) {
        EXPECT_NE(Named(name), nullptr) << name;
    }
}

// While a recording runs the list, the name tab and the column edits are off, start is off, and
// stop is on and blinks; afterwards everything is the other way round.
TEST_F(MacroControlTest, EditingIsOffAndStopBlinksWhileRecording) {
    ASSERT_FALSE(control_->AddMacro().empty());
    auto* stop = dynamic_cast<CRedioMacroButtonUI*>(Named("macro_btn_stopredio"));
    ASSERT_NE(stop, nullptr) << "the record buttons are the blinking class";
    ASSERT_NE(dynamic_cast<CRedioMacroButtonUI*>(Named("macro_btn_starredio")), nullptr);
    EXPECT_EQ(stop->GetRedioImage(), "common/macro_record.png");
    const char* offWhileRecording[] = {"macro_name_tab", "macro_tab_macroaction_edit", "macro_tab_macrodelay_edit",
                                       "macro_action_list", "macro_btn_starredio"};
    for (const bool recording : {true, false}) {
        if (recording) {
            ASSERT_TRUE(control_->StartRecording(4, RecordDelay::Real, 1));
        } else {
            control_->StopRecording();
        }
        for (const char* name : offWhileRecording) EXPECT_EQ(Named(name)->IsEnabled(), !recording) << name;
        EXPECT_EQ(stop->IsEnabled(), recording);
        EXPECT_EQ(stop->IsBlinking(), recording);
        EXPECT_EQ(stop->GetForeImage().empty(), !recording);
    }
}

TEST_F(MacroControlTest, FirstMacroShowsTheEditingPartsAndSavesItsEvents) {
    EXPECT_FALSE(Named("macro_action_layout")->IsVisible());
    EXPECT_EQ(control_->AddMacro(), "macro_1");
    EXPECT_TRUE(Named("macro_action_layout")->IsVisible());
    EXPECT_TRUE(Named("macro_btn_name_sub")->IsVisible());
    EXPECT_EQ(control_->SelectedMacro(), 0);
    EXPECT_EQ(Named("macro_edit_macroname")->GetText(), "macro_1");

    SetEdit("macro_fixed_time_edit", "50");
    ASSERT_TRUE(control_->InsertKeyEvent(FindKeyRowByName("A"), true));
    SetEdit("mouse_x_left_edit", "300");
    ASSERT_TRUE(control_->InsertMouseEvent(0, 0));  // after the selected (new) row
    ASSERT_TRUE(control_->InsertMouseEvent(kWmXButtonUp, 2));
    ASSERT_TRUE(control_->SaveMacro());
    const Json::Value events = SavedEvents();
    ASSERT_EQ(events.size(), 3u);
    EXPECT_EQ(EncodeMouseEvent(events[0]), (MouseEventBytes{0x32, 0x00, 0x8A, 0x04}));
    EXPECT_EQ(events[1]["Button"].asInt(), 255);  // distance clamped
    EXPECT_EQ(events[1]["Type"].asInt(), 4);
    EXPECT_EQ(events[2]["Button"].asInt(), 0x10);
    EXPECT_EQ(events[2]["Action"].asString(), "up");
}

TEST_F(MacroControlTest, DelaysAreShownSavedAndSentClamped) {
    WriteMacroFile(R"([{"Action":"down","Button":4,"Type":10,"Delay":"70000"},{"Action":"up","Button":4,"Type":10,"Delay":"5"}])");
    CListUI* rows = control_->ActionList();
    ASSERT_EQ(rows->GetCount(), 2);
    EXPECT_EQ(control_->RowEvents()[0].delay, 65535);
    // The second row's delay edit emptied by the user: saved as "0".
    auto* second = dynamic_cast<CContainerUI*>(rows->GetItemAt(1));
    ASSERT_NE(second, nullptr);
    CControlUI* delay = second->FindControl([](CControlUI& c) { return c.GetName() == "macro_delay"; }, UIFIND_ALL);
    ASSERT_NE(delay, nullptr);
    delay->SetText("");
    ASSERT_TRUE(control_->SaveMacro());
    const Json::Value events = SavedEvents();
    EXPECT_EQ(events[0]["Delay"].asString(), "65535");
    EXPECT_EQ(events[1]["Delay"].asString(), "0");
    EXPECT_EQ(EncodeMouseEvent(events[0])[0], 0xFF);
    EXPECT_EQ(EncodeMouseEvent(events[0])[1], 0xFF);
}

TEST_F(MacroControlTest, MoveDeleteAndRename) {
    WriteMacroFile(R"([{"Action":"down","Button":1,"Type":1,"Delay":"1"},{"Action":"down","Button":2,"Type":1,"Delay":"2"},{"Action":"down","Button":4,"Type":1,"Delay":"3"}])");
    control_->ActionList()->SelectItem(2, false);
    control_->MoveEvent(MacroRowMove::Top);
    EXPECT_EQ(control_->ActionList()->GetCurSel(), 0);
    EXPECT_EQ(control_->RowEvents()[0].button, 4);
    control_->DeleteEvent();
    ASSERT_EQ(control_->RowEvents().size(), 2u);
    EXPECT_EQ(control_->RowEvents()[0].button, 1);
    control_->DeleteAllEvents();
    EXPECT_TRUE(control_->RowEvents().empty());

    SetEdit("macro_edit_macroname", "");
    EXPECT_EQ(control_->RenameMacro(), "IsEmpty");
    EXPECT_EQ(control_->AddMacro(), "macro_1");
    control_->SelectMacro(0);
    SetEdit("macro_edit_macroname", "MACRO_1");
    EXPECT_EQ(control_->RenameMacro(), "");  // another macro has it: the caller shows message_text_5
    SetEdit("macro_edit_macroname", "Jump");
    EXPECT_EQ(control_->RenameMacro(), "Jump");
    EXPECT_EQ(control_->NameList()->GetItemAt(0)->GetText(), "Jump");
}

TEST_F(MacroControlTest, AHostileIdentifierShowsNoEventsAndIsNotSaved) {
    fs::create_directories(folder_ / "sub");
    std::ofstream(folder_ / "sub" / "x.mac") << R"({"Events":[{"Action":"down","Button":1,"Type":1,"Delay":"1"}]})";
    std::ofstream(folder_ / "macro.config") << R"({"MacroInfo":[{"MacroName":"m","Guid":"sub/x"}]})";
    control_->LoadMacroList();
    control_->SelectMacro(0);
    EXPECT_TRUE(control_->RowEvents().empty());
    control_->InsertMouseEvent(kWmLButtonDown, 0);
    EXPECT_FALSE(control_->SaveMacro());
    EXPECT_EQ(CJsonFileUtil().ReadJsonFile(folder_ / "sub" / "x.mac")["Events"].size(), 1u);
}

}  // namespace
}  // namespace zevik
