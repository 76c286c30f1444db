// The key page's key capture on the emulated mouse: it runs while the key edit has the focus, takes
// presses from the input devices (event files here), and without a readable input device takes the
// keys pressed in the edit itself. Leaving the edit or the window ends it.

#include <gtest/gtest.h>
#include <linux/input-event-codes.h>

#include <cerrno>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "devices/mouse_device.h"
#include "editors/key_assignment_form.h"
#include "editors/key_set_control_ui.h"
#include "platform/evdev_input_source.h"
#include "platform/input_source.h"
#include "shell/headless_run.h"
#include "shell/headless_session.h"
#include "shell/key_handlers.h"
#include "shell/main_wnd.h"
#include "ui/edit_ui.h"
#include "ui/option_ui.h"
#include "ui/window_messages.h"

namespace zevik::test {
namespace {

using namespace std::chrono_literals;

class KeyCaptureTest : public ::testing::Test {
protected:
    void SetUp() override {
        data_ = std::filesystem::temp_directory_path() /
                ("zevik-key-capture-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        std::filesystem::remove_all(data_);
        std::filesystem::create_directories(data_ / "input");
        HeadlessRunOptions options;
        options.emulate = "mouse";
        options.dataDir = data_ / "data";
        options.skinFolder = std::string(ZEVIK_RESOURCE_DIR) + "/skin";
        options.programFolder = ZEVIK_RESOURCE_DIR;
        std::string error;
        ASSERT_TRUE(run_.Start(options, error)) << error;
        mouse_ = run_.Session().WaitForMouse(3s);
        ASSERT_NE(mouse_, nullptr);
        ASSERT_TRUE(run_.Session().MakeCurrent(*mouse_));
        page_ = KeySetControlOf(mouse_);
        ASSERT_NE(page_, nullptr);
        // Key 5 opened on the key page with the keyboard-key function, as the user chooses it.
        ASSERT_TRUE(Window().FindControl("key_4")->Activate());
        ASSERT_TRUE(page_->HasOpenKey());
        ASSERT_TRUE(page_->SelectFunction(kFunctionKeyboardKey));
        edit_ = page_->Edit("keyset_keyboard_text_edit");
        ASSERT_NE(edit_, nullptr);
    }
    void TearDown() override {
        std::string error;
        EXPECT_TRUE(run_.Finish(error)) << error;
        std::error_code ec;
        std::filesystem::remove_all(data_, ec);
    }
    CMainWnd& Window() { return run_.Session().Window(); }
    // The input devices as a user outside the "input" group finds them: there, but not readable.
    void DevicesUnreadable() {
        std::ofstream(data_ / "input" / "event0").put('\0');
        const std::filesystem::path folder = data_ / "input";
        Window().Hook().SetSourceFactory([folder] {
            return std::make_unique<CEvdevInputSource>(folder, [](const std::string&) {
                errno = EACCES;
                return -1;
            });
        });
    }
    void Focus(CControlUI* control) {
        Window().GetPaintManager()->SetFocus(control);
        run_.Session().PumpFor(1ms);
    }
    // A key pressed while the key edit has the keyboard: what the renderer hands on.
    void PressInEdit(std::uint16_t code) {
        Window().GetPaintManager()->DispatchKey(UIEVENT_KEYDOWN, 0, 0, code);
        run_.Session().PumpFor(1ms);
    }
    std::uint8_t PendingUsage() {
        const auto built = page_->BuildAssignment();
        return built ? built->assignment.p2 : 0;
    }

    std::filesystem::path data_;
    CHeadlessRun run_;
    COrbantixMouseDevice* mouse_ = nullptr;
    CKeySetControlUI* page_ = nullptr;
    CEditUI* edit_ = nullptr;
};

TEST_F(KeyCaptureTest, TheEditCapturesAKeyFromTheInputDevicesWhileItHasTheFocus) {
    std::ofstream(data_ / "kb.txt") << "E: 0.100000 0001 0060 0001\nE: 0.200000 0001 0060 0000\n";
    const std::filesystem::path file = data_ / "kb.txt";
    Window().Hook().SetSourceFactory([file] { return MakeInputSource({file}); });
    Focus(edit_);
    EXPECT_FALSE(Window().Hook().TakesWindowKeys());
    EXPECT_EQ(PendingUsage(), 0x58) << "keypad Enter";
    EXPECT_FALSE(Window().FindControl("device_select_layout")->IsEnabled()) << "no other device while capturing";
    PressInEdit(KEY_A);
    EXPECT_EQ(PendingUsage(), 0x58) << "the devices report the keys: the edit's own copy is not taken twice";
    Focus(nullptr);
    EXPECT_FALSE(Window().Hook().IsInstalled());
    EXPECT_TRUE(Window().FindControl("device_select_layout")->IsEnabled());
}

TEST_F(KeyCaptureTest, WithoutAReadableInputDeviceTheEditsOwnKeysAreCaptured) {
    DevicesUnreadable();
    PressInEdit(KEY_B);
    EXPECT_NE(PendingUsage(), 0x05) << "no capture before the edit has the focus";
    Focus(edit_);
    ASSERT_TRUE(Window().Hook().IsInstalled());
    EXPECT_TRUE(Window().Hook().TakesWindowKeys());
    EXPECT_NE(Window().Hook().LastError().find("\"input\" group"), std::string::npos) << Window().Hook().LastError();
    PressInEdit(KEY_KPENTER);
    EXPECT_EQ(PendingUsage(), 0x58);
    PressInEdit(KEY_RIGHTCTRL);
    ASSERT_NE(page_->ModifierOption(1), nullptr);
    EXPECT_TRUE(page_->ModifierOption(1)->IsSelected()) << "right Ctrl selects Ctrl";
    PressInEdit(KEY_ENTER);
    EXPECT_EQ(PendingUsage(), 0x28) << "Enter is told from keypad Enter";
    Focus(nullptr);
    EXPECT_FALSE(Window().Hook().IsInstalled());
    PressInEdit(KEY_A);
    EXPECT_EQ(PendingUsage(), 0x28) << "nothing is captured after the edit lost the focus";
}

TEST_F(KeyCaptureTest, TheCaptureEndsWhenTheWindowIsDeactivatedAndARecordingDoesNot) {
    DevicesUnreadable();
    Focus(edit_);
    ASSERT_TRUE(Window().Hook().IsInstalled());
    Window().SendMessage(WM_ACTIVATE, 0, 0);
    EXPECT_FALSE(Window().Hook().IsInstalled());
    EXPECT_TRUE(Window().FindControl("device_select_layout")->IsEnabled());
    PressInEdit(KEY_KPENTER);
    EXPECT_NE(PendingUsage(), 0x58);

    std::ofstream(data_ / "kb.txt") << "E: 0.100000 0001 001e 0001\n";
    const std::filesystem::path file = data_ / "kb.txt";
    Window().Hook().SetSourceFactory([file] { return MakeInputSource({file}); });
    std::string error;
    ASSERT_EQ(Window().InstallRecordingHook(4, error), 1) << error;
    Window().SendMessage(WM_ACTIVATE, 0, 0);
    EXPECT_TRUE(Window().Hook().IsInstalled()) << "a recording takes keys pressed in other windows";
    Window().UninstallRecordingHook();
}

}  // namespace
}  // namespace zevik::test
