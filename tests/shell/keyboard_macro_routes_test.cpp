// The macro page on the emulated keyboard, reached as the user reaches it: deleting a macro that
// layer 1 binds renumbers the keys and writes layer 1 with its macros to the keyboard.

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <string>

#include "devices/keyboard_device.h"
#include "editors/macro_control_ui.h"
#include "emulator/emulation.h"
#include "emulator/firmware_model.h"
#include "shell/dialog_answers.h"
#include "shell/headless_run.h"
#include "shell/headless_session.h"
#include "shell/key_handlers.h"
#include "shell/keyboard_session.h"
#include "shell/main_wnd.h"

namespace zevik::test {
namespace {

class KeyboardMacroRoutesTest : public ::testing::Test {
protected:
    void SetUp() override {
        data = std::filesystem::temp_directory_path() /
               ("zevik-kbd-macro-routes-" + std::to_string(reinterpret_cast<std::uintptr_t>(this)));
        std::filesystem::remove_all(data);
        CDialogAnswers::Instance().Clear();
        HeadlessRunOptions options;
        options.emulate = "keyboard";
        options.dataDir = data;
        options.skinFolder = std::string(ZEVIK_RESOURCE_DIR) + "/skin";
        options.programFolder = ZEVIK_RESOURCE_DIR;
        std::string error;
        ASSERT_TRUE(run.Start(options, error)) << error;
        keyboard = WaitForKeyboard(run.Session(), std::chrono::seconds(3));
        ASSERT_NE(keyboard, nullptr);
        ASSERT_TRUE(run.Session().MakeCurrent(*keyboard));
        control = FindControlOfClass<CMacroControlUI>(keyboard);
    }
    void TearDown() override {
        CDialogAnswers::Instance().Clear();
        std::string error;
        EXPECT_TRUE(run.Finish(error)) << error;
        std::error_code ec;
        std::filesystem::remove_all(data, ec);
    }
    // A control of the keyboard's page (the mouse's page has controls of the same names).
    void Click(const std::string& name) {
        CControlUI* button =
            keyboard->FindControl([&name](CControlUI& c) { return c.GetName() == name; }, UIFIND_ALL);
        ASSERT_NE(button, nullptr) << name;
        button->Activate();
        run.Session().PumpFor(std::chrono::milliseconds(1));
    }
    AssignmentCode Key(size_t key) { return keyboard->KeyLayer(1).at(key).assignment; }

    std::filesystem::path data;
    CHeadlessRun run;
    COrbantixKeyboardDevice* keyboard = nullptr;
    CMacroControlUI* control = nullptr;
};

TEST_F(KeyboardMacroRoutesTest, DeletingAMacroLayerOneBindsRenumbersAndWritesIt) {
    if (control == nullptr) GTEST_SKIP() << "this skin's keyboard page has no macro page";
    for (int i = 0; i < 2; ++i) ASSERT_FALSE(control->AddMacro().empty());
    std::vector<KeyAssignRecord> keys = keyboard->KeyLayer(1);
    keys[1].assignment = {0x70, 0, 1};  // macro 1
    keys[2].assignment = {0x70, 1, 1};  // macro 2
    keyboard->SetKeyLayer(1, keys);
    keyboard->SelectKey2(5);  // the key page shows layer 2: the deletion still writes layer 1
    ASSERT_EQ(keyboard->WriteLayerAndMacros(1), 0);

    control->SelectMacro(0);
    CDialogAnswers::Instance().Push("yes");
    CDialogAnswers::Instance().Push("yes");
    Click("macro_btn_name_sub");
    EXPECT_EQ(Key(1), KeyboardDefaultKeyCodes()[1]);
    EXPECT_EQ(Key(2), (AssignmentCode{0x70, 0, 1}));
    // The keyboard holds the renumbered layer: key 2 plays its only macro, numbered 0.
    CFirmwareModel* model = run.Emulation()->Model("keyboard");
    ASSERT_NE(model, nullptr);
    const std::vector<uint8_t> table = model->ReadArea("key_table");
    const size_t at = 3u * keyboard->KeyMaps().position[2];
    EXPECT_EQ((std::vector<uint8_t>(table.begin() + static_cast<long>(at), table.begin() + static_cast<long>(at) + 3)),
              (std::vector<uint8_t>{0x70, 0, 1}));
    EXPECT_EQ(model->ReadArea("macro")[4], 1) << "one macro in the keyboard's image";
}

}  // namespace
}  // namespace zevik::test
