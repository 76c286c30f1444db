// The keyboard's page in the main window on the Qt renderer (offscreen), over the emulated keyboard:
// it opens on the lighting page with the whole board animated in the factory wave, and the animation
// repaints nothing but keys.

#include <gtest/gtest.h>

#include <QApplication>
#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <set>

#include "devices/keyboard_device.h"
#include "emulator/emulation.h"
#include "settings/profile_locations.h"
#include "shell/main_wnd.h"
#include "ui/combo_ui.h"
#include "ui/option_ui.h"
#include "ui/qt/light_layer_widget.h"
#include "ui/qt/light_widget.h"
#include "ui/qt/qt_message_loop.h"
#include "ui/qt/qt_renderer.h"
#include "ui/qt/qt_ui_backend.h"
#include "ui/qt/qt_window_host.h"
#include "ui/resource_manager.h"
#include "ui/ui_lib.h"
#include "ui_qt/paint_recorder.h"
#include "ui_qt/qt_test_app.h"

namespace zevik::test {
namespace {

using namespace std::chrono_literals;
constexpr UINT kVisible = 0x10000000;

class KeyboardPageQtTest : public QtFixture {
protected:
    void SetUp() override {
        root_ = std::filesystem::temp_directory_path() / "zevik-keyboard-page-qt";
        std::filesystem::remove_all(root_);
        locations_ = std::make_unique<CProfileLocations>(root_ / "data", std::filesystem::path(ZEVIK_RESOURCE_DIR));
        EmulationOptions options;
        options.list = "keyboard";
        std::string error;
        emulation_ = CEmulation::Create(options, error);
        ASSERT_NE(emulation_, nullptr) << error;
        SetUiBackend(&backend_);
        CPaintManagerUI::SetResourcePath(std::string(ZEVIK_RESOURCE_DIR) + "/skin/");
        ASSERT_TRUE(CResourceManager::GetInstance()->LoadResource("res.xml"));
        DeviceContext context;
        context.hidBackend = &emulation_->Backend();
        context.uiLoop = &loop_;
        context.profileLocations = locations_.get();
        window_ = std::make_unique<CMainWnd>(context);
        window_->SetSettingsFile(root_ / "settings.json");
        ASSERT_NE(window_->Create(0, "zevik", kVisible, 0, 0, 0, 1000, 640), 0u) << window_->GetSkinError();
        ASSERT_TRUE(PumpUntil([this] { return window_->IsWindowVisible(); }));
        ASSERT_TRUE(PumpUntil([this] { return Keyboard() != nullptr; }));
        keyboard_ = Keyboard();
        PumpUntil([] { return false; }, 300ms);  // the page's first showing
    }
    void TearDown() override {
        if (window_) {
            window_->ExitProgram();
            if (window_->GetHWND() != 0) window_->DestroyWindow();
            window_.reset();
        }
        SetUiBackend(nullptr);
        std::filesystem::remove_all(root_);
    }
    static bool PumpUntil(const std::function<bool()>& cond, std::chrono::milliseconds limit = 5s) {
        const auto deadline = std::chrono::steady_clock::now() + limit;
        while (!cond()) {
            if (std::chrono::steady_clock::now() > deadline) return false;
            QApplication::processEvents(QEventLoop::AllEvents, 10);
        }
        return true;
    }
    COrbantixKeyboardDevice* Keyboard() {
        const auto& keyboards = window_->Devices(CMainWnd::kFamilyKeyboard);
        auto* keyboard = keyboards.empty() ? nullptr : dynamic_cast<COrbantixKeyboardDevice*>(keyboards.front());
        return keyboard != nullptr && keyboard->CommandChannel().IsOpen() && keyboard->HasMirror() ? keyboard
                                                                                                    : nullptr;
    }
    QWidget* WidgetOf(CControlUI* control) {
        CQtWindowHost* host = backend_.HostOf(*window_);
        return host != nullptr ? host->Renderer()->WidgetFor(control) : nullptr;
    }
    QWidget* Top() { return backend_.HostOf(*window_)->Widget(); }
    // A control of the keyboard's page (the mouse's page has controls of the same names).
    CControlUI* KeyboardControl(std::string_view name) {
        return window_->GetPaintManager()->FindSubControlByName(keyboard_, name);
    }
    // Chooses a page tab as a click does.
    void ChooseTab(std::string_view name) {
        auto* tab = dynamic_cast<COptionUI*>(KeyboardControl(name));
        ASSERT_NE(tab, nullptr) << name;
        tab->Activate();
    }
    int LitKeys() const {
        int lit = 0;
        for (CControlUI* key : keyboard_->LightButtons()) {
            if (key != nullptr && key->GetBkColor() != 0xFF000000u) ++lit;
        }
        return lit;
    }

    CQtMessageLoop loop_;
    CQtUiBackend backend_;
    std::filesystem::path root_;
    std::unique_ptr<CProfileLocations> locations_;
    std::unique_ptr<CEmulation> emulation_;
    std::unique_ptr<CMainWnd> window_;
    COrbantixKeyboardDevice* keyboard_ = nullptr;
};

TEST_F(KeyboardPageQtTest, OpensOnTheLightingPageWithTheWholeBoardInTheFactoryWave) {
    auto* lightingTab = dynamic_cast<COptionUI*>(KeyboardControl("deng_Op_tab"));
    ASSERT_NE(lightingTab, nullptr);
    EXPECT_TRUE(lightingTab->IsSelected());
    const std::vector<CControlUI*>& keys = keyboard_->LightButtons();
    ASSERT_EQ(keys.size(), 170U);
    std::set<UiColor> colours;
    int shown = 0;
    for (CControlUI* key : keys) {
        if (key == nullptr) continue;
        auto* light = qobject_cast<CLightWidget*>(WidgetOf(key));
        ASSERT_NE(light, nullptr) << key->GetName() << " is not painted in the board's light layer";
        EXPECT_TRUE(light->IsShown()) << key->GetName();
        EXPECT_TRUE(light->TakesInput()) << key->GetName();
        ++shown;
        colours.insert(key->GetBkColor());
    }
    EXPECT_EQ(shown, 109);
    EXPECT_GT(colours.size(), 10U) << "the wave shows many colours across the board";
    std::filesystem::create_directories("screenshots");
    EXPECT_TRUE(Top()->grab().toImage().save("screenshots/keyboard_page.png"));
}

TEST_F(KeyboardPageQtTest, TheAnimatedBoardRepaintsOnlyItsKeyLayer) {
    PaintRecorder recorder(*Top());
    int frames = 0;
    ASSERT_TRUE(PumpUntil(
        [&] {
            frames = 0;
            for (const auto& [widget, paints] : recorder.paints) frames += paints;
            return frames >= 5;
        },
        3s))
        << "the board does not animate";
    PumpUntil([] { return false; }, 300ms);
    for (const auto& [widget, paints] : recorder.paints) {
        EXPECT_NE(qobject_cast<const CLightLayerWidget*>(widget), nullptr)
            << "also repainted: " << widget->metaObject()->className() << " "
            << widget->property("controlName").toString().toStdString();
    }
    EXPECT_EQ(recorder.paints.size(), 1U) << "the keys are painted as one layer";
}

TEST_F(KeyboardPageQtTest, TheKeysStayLitOnTheKeyPageAndTurnDarkOnTheSystemPage) {
    ASSERT_GT(LitKeys(), 100);
    ChooseTab("key_Op_tab");
    PumpUntil([] { return false; }, 200ms);
    EXPECT_EQ(keyboard_->GetFunctionPage(), 2);
    EXPECT_GT(LitKeys(), 100);
    ChooseTab("system_Op_tab");
    EXPECT_TRUE(PumpUntil([&] { return LitKeys() == 0; }, 1s)) << LitKeys() << " keys still lit";
    ChooseTab("deng_Op_tab");
    EXPECT_TRUE(PumpUntil([&] { return LitKeys() > 100; }, 1s)) << LitKeys() << " keys lit";
}

}  // namespace
}  // namespace zevik::test

// ---------------------------------------------------------------- the music effect

namespace zevik::test {
namespace {

class KeyboardMusicQtTest : public KeyboardPageQtTest {
protected:
    static constexpr int kMusic = 29;  // the music effect's place in the keyboard's effect list
    // Records as the capture side sends them, one every 20 ms: every other record is silent, the
    // others rise and fall band by band, so each band's level moves on its own.
    void PlayMusic(std::chrono::milliseconds length) {
        const auto end = std::chrono::steady_clock::now() + length;
        for (; std::chrono::steady_clock::now() < end; ++record_) {
            std::vector<std::uint8_t> bytes;
            for (int i = 0; i < 500; ++i) {
                const int band = i / 5;
                const auto v = static_cast<std::uint32_t>(record_ % 2 == 0 ? 0 : 500 * ((band + record_ / 6) % 9));
                for (int shift = 0; shift < 32; shift += 8) bytes.push_back(static_cast<std::uint8_t>(v >> shift));
            }
            window_->OnCopyData(1, bytes);
            PumpUntil([] { return false; }, 20ms);
        }
    }
    int record_ = 0;
    void ChooseMusic() {
        auto* modes = dynamic_cast<CComboUI*>(KeyboardControl("light_combo_modeSelect"));
        ASSERT_NE(modes, nullptr);
        ASSERT_TRUE(modes->SelectItem(kMusic, true));
        PumpUntil([] { return false; }, 200ms);
    }
};

TEST_F(KeyboardMusicQtTest, TheMusicEffectShowsTheAudioPartAndTheKeysFollowTheRecords) {
    ChooseMusic();
    for (const char* name : {"light_combo_audiomodeSelect", "audio_FgColor_check", "audio_BkColor_check",
                             "deng_7audiocolor_check", "deng_audioColor_Pallet", "audiocolor_option_0",
                             "deng_audioedit_R", "R_light_slider", "Close_bkColor_btn"}) {
        CControlUI* control = KeyboardControl(name);
        ASSERT_NE(control, nullptr) << name;
        QWidget* widget = WidgetOf(control);
        ASSERT_NE(widget, nullptr) << name;
        EXPECT_TRUE(widget->isVisible()) << name;
    }
    // The factory record draws the wheel's colours over a black background: silence is dark.
    PumpUntil([] { return false; }, 500ms);
    const int silent = LitKeys();
    std::set<int> counts;
    const auto end = std::chrono::steady_clock::now() + 1500ms;
    while (std::chrono::steady_clock::now() < end) {
        PlayMusic(100ms);
        counts.insert(LitKeys());
    }
    EXPECT_GT(*counts.rbegin(), silent + 20) << "the keys do not light with the music";
    EXPECT_GT(counts.size(), 3U) << "the keys do not follow the music";
    std::filesystem::create_directories("screenshots");
    EXPECT_TRUE(Top()->grab().toImage().save("screenshots/keyboard_music.png"));
}

TEST_F(KeyboardMusicQtTest, FollowingTheMusicRepaintsOnlyTheKeyLayer) {
    ChooseMusic();
    PlayMusic(300ms);
    PaintRecorder recorder(*Top());
    PlayMusic(1000ms);
    int frames = 0;
    for (const auto& [widget, paints] : recorder.paints) frames += paints;
    EXPECT_GE(frames, 5) << "the board does not follow the music";
    for (const auto& [widget, paints] : recorder.paints) {
        EXPECT_NE(qobject_cast<const CLightLayerWidget*>(widget), nullptr)
            << "also repainted: " << widget->metaObject()->className() << " "
            << widget->property("controlName").toString().toStdString();
    }
}

}  // namespace
}  // namespace zevik::test
