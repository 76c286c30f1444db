// The mousepad's page in the main window on the Qt renderer (offscreen), over the emulated pad: the
// strip's LEDs are lit by the preview, and the phone laid on the charger shows on the power panel.

#include <gtest/gtest.h>

#include <QApplication>
#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <set>

#include "devices/mousepad_device.h"
#include "devices/mp_device_power_ui.h"
#include "emulator/emulation.h"
#include "emulator/mousepad_model.h"
#include "settings/profile_locations.h"
#include "shell/main_wnd.h"
#include "ui/qt/qt_message_loop.h"
#include "ui/qt/qt_ui_backend.h"
#include "ui/qt/qt_window_host.h"
#include "ui/resource_manager.h"
#include "ui/ui_lib.h"
#include "ui_qt/qt_test_app.h"

namespace zevik::test {
namespace {

using namespace std::chrono_literals;
constexpr UINT kVisible = 0x10000000;

class MousepadPageQtTest : public QtFixture {
protected:
    void SetUp() override {
        root_ = std::filesystem::temp_directory_path() / "zevik-mousepad-page-qt";
        std::filesystem::remove_all(root_);
        locations_ = std::make_unique<CProfileLocations>(root_ / "data", std::filesystem::path(ZEVIK_RESOURCE_DIR));
        EmulationOptions options;
        options.list = "mousepad";
        std::string error;
        emulation_ = CEmulation::Create(options, error);
        ASSERT_NE(emulation_, nullptr) << error;
        pad_ = dynamic_cast<CMousepadModel*>(emulation_->Model("mousepad"));
        ASSERT_NE(pad_, nullptr);
        ASSERT_TRUE(pad_->SetPhone(1));
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
        ASSERT_TRUE(PumpUntil([this] { return Pad() != nullptr; }));
        device_ = Pad();
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
    COrbantixMousePadDevice* Pad() {
        const auto& pads = window_->Devices(CMainWnd::kFamilyMousepad);
        auto* pad = pads.empty() ? nullptr : dynamic_cast<COrbantixMousePadDevice*>(pads.front());
        return pad != nullptr && pad->IsConnected() ? pad : nullptr;
    }
    int LitLeds() const {
        int lit = 0;
        for (CControlUI* led : device_->LightButtons()) {
            if (led != nullptr && (led->GetBkColor() >> 24) != 0) ++lit;
        }
        return lit;
    }
    QWidget* Top() { return backend_.HostOf(*window_)->Widget(); }

    CQtMessageLoop loop_;
    CQtUiBackend backend_;
    std::filesystem::path root_;
    std::unique_ptr<CProfileLocations> locations_;
    std::unique_ptr<CEmulation> emulation_;
    CMousepadModel* pad_ = nullptr;
    std::unique_ptr<CMainWnd> window_;
    COrbantixMousePadDevice* device_ = nullptr;
};

TEST_F(MousepadPageQtTest, TheStripIsLitInManyColoursAndThePhoneShows) {
    ASSERT_EQ(device_->LightButtons().size(), 15U);
    for (CControlUI* led : device_->LightButtons()) ASSERT_NE(led, nullptr);
    ASSERT_TRUE(PumpUntil([this] { return LitLeds() == 15; })) << LitLeds() << " LEDs lit";
    std::set<UiColor> colours;
    for (CControlUI* led : device_->LightButtons()) colours.insert(led->GetBkColor());
    EXPECT_GT(colours.size(), 5U) << "the factory wave runs along the strip";

    // The pad's own power panel (the mouse's and the keyboard's tabs have theirs).
    CControlUI* phone =
        window_->GetPaintManager()->FindSubControlByName(device_->GetPowerPanel(), "device_phone_type");
    ASSERT_NE(phone, nullptr);
    EXPECT_NE(phone->GetBkImage().find("Phone_type_iphone"), std::string::npos) << phone->GetBkImage();
    std::filesystem::create_directories("screenshots");
    EXPECT_TRUE(Top()->grab().toImage().save("screenshots/mousepad_page.png"));

    ASSERT_TRUE(pad_->SetPhone(2));
    ASSERT_TRUE(PumpUntil([phone] { return phone->GetBkImage().find("Phone_type_samsung") != std::string::npos; },
                          5s))
        << "polled again within 3 s";
}

}  // namespace
}  // namespace zevik::test
