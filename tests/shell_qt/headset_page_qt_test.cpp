// The headset's page in the main window on the Qt renderer (offscreen), over the emulated headset
// and its sound card: both ear cups lit, the sound page showing what the card holds and saying what
// it does not offer, and the microphone slider reaching the card.

#include <gtest/gtest.h>

#include <QApplication>
#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>

#include "devices/hs6533_device.h"
#include "emulator/emulation.h"
#include "settings/profile_locations.h"
#include "shell/main_wnd.h"
#include "ui/option_ui.h"
#include "ui/qt/qt_message_loop.h"
#include "ui/qt/qt_ui_backend.h"
#include "ui/qt/qt_window_host.h"
#include "ui/resource_manager.h"
#include "ui/slider_ui.h"
#include "ui/ui_lib.h"
#include "ui_qt/qt_test_app.h"

namespace zevik::test {
namespace {

using namespace std::chrono_literals;
constexpr UINT kVisible = 0x10000000;

class HeadsetPageQtTest : public QtFixture {
protected:
    void SetUp() override {
        root_ = std::filesystem::temp_directory_path() / "zevik-headset-page-qt";
        std::filesystem::remove_all(root_);
        locations_ = std::make_unique<CProfileLocations>(root_ / "data", std::filesystem::path(ZEVIK_RESOURCE_DIR));
        EmulationOptions options;
        options.list = "headset";
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
        context.emulation = emulation_.get();
        window_ = std::make_unique<CMainWnd>(context);
        window_->SetSettingsFile(root_ / "settings.json");
        ASSERT_NE(window_->Create(0, "zevik", kVisible, 0, 0, 0, 1000, 640), 0u) << window_->GetSkinError();
        ASSERT_TRUE(PumpUntil([this] { return window_->IsWindowVisible(); }));
        ASSERT_TRUE(PumpUntil([this] { return Headset() != nullptr; }));
        headset_ = Headset();
        PumpUntil([] { return false; }, 300ms);  // the page's first showing and a few lighting steps
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
    COrbantixHS6533Device* Headset() {
        const auto& headsets = window_->Devices(CMainWnd::kFamilyHeadset);
        auto* headset = headsets.empty() ? nullptr : dynamic_cast<COrbantixHS6533Device*>(headsets.front());
        return headset != nullptr && headset->IsConnected() ? headset : nullptr;
    }
    CControlUI* PageControl(std::string_view name) {
        return window_->GetPaintManager()->FindSubControlByName(headset_, name);
    }
    void ChooseTab(std::string_view name) {
        auto* tab = dynamic_cast<COptionUI*>(PageControl(name));
        ASSERT_NE(tab, nullptr) << name;
        tab->Activate();
        PumpUntil([] { return false; }, 100ms);
    }
    QWidget* Top() { return backend_.HostOf(*window_)->Widget(); }

    CQtMessageLoop loop_;
    CQtUiBackend backend_;
    std::filesystem::path root_;
    std::unique_ptr<CProfileLocations> locations_;
    std::unique_ptr<CEmulation> emulation_;
    std::unique_ptr<CMainWnd> window_;
    COrbantixHS6533Device* headset_ = nullptr;
};

TEST_F(HeadsetPageQtTest, BothCupsAreLitOnThePageAndOnTheHeadset) {
    ASSERT_EQ(headset_->LightButtons().size(), 13u);
    ASSERT_TRUE(PumpUntil([this] {
        for (CControlUI* led : headset_->LightButtons()) {
            if (led == nullptr || led->GetBkColor() == 0xFF000000u) return false;
        }
        return true;
    }));
    // The headset itself got frames: both groups carry light.
    ASSERT_TRUE(PumpUntil([this] {
        const std::vector<uint8_t> leds = emulation_->Model("headset")->ReadArea("leds");
        int lit = 0;
        for (uint8_t level : leds) lit += level != 0 ? 1 : 0;
        return lit > 13;
    }));
    std::filesystem::create_directories("screenshots");
    EXPECT_TRUE(Top()->grab().toImage().save("screenshots/headset_page.png"));
}

TEST_F(HeadsetPageQtTest, TheSoundPageShowsTheCardAndSaysWhatItLacks) {
    ChooseTab("6533_voice_Op_tab");
    CControlUI* eqNote = PageControl("eq_unavailable");
    ASSERT_NE(eqNote, nullptr);
    EXPECT_TRUE(eqNote->IsVisible());
    CControlUI* micNote = PageControl("mic_unavailable");
    ASSERT_NE(micNote, nullptr);
    EXPECT_FALSE(micNote->IsVisible()) << "the emulated card has a microphone";

    auto* mic = dynamic_cast<CSliderUI*>(PageControl("6533_MicIn_slider"));
    ASSERT_NE(mic, nullptr);
    EXPECT_EQ(mic->GetValue(), headset_->Audio().Record().micInValue);
    mic->SetValue(25);
    window_->GetPaintManager()->SendNotify(mic, DUI_MSGTYPE_VALUECHANGED);
    EXPECT_EQ(headset_->Audio().Record().micInValue, 25);
    EXPECT_EQ(headset_->Profile().GetHeadsetSystem().micInValue, 25);
    std::filesystem::create_directories("screenshots");
    EXPECT_TRUE(Top()->grab().toImage().save("screenshots/headset_sound_page.png"));

    ChooseTab("magic_Op_tab");
    CControlUI* voiceNote = PageControl("voice_unavailable");
    ASSERT_NE(voiceNote, nullptr);
    EXPECT_TRUE(voiceNote->IsVisible());
    EXPECT_TRUE(Top()->grab().toImage().save("screenshots/headset_voice_page.png"));
}

}  // namespace
}  // namespace zevik::test
