// The main window's device list against the emulated mouse, through the real discovery path: the scan
// thread finds the emulated interfaces, the window opens, switches and closes the device and keeps
// the selector's visibility rule. The option's timers run on the plain loop's virtual clock, which
// the fixture moves along with real time.

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <memory>
#include <string>

#include "devices/device_option_ui.h"
#include "devices/mp_device_power_ui.h"
#include "devices/orbantix_usb_device.h"
#include "emulator/emulation.h"
#include "platform/platform_test_support.h"
#include "shell/headless_commands.h"
#include "shell/loop_pump.h"
#include "shell/main_wnd.h"
#include "transport/command_channel.h"
#include "ui/paint_manager_ui.h"
#include "ui/plain_message_loop.h"
#include "ui/progress_ui.h"
#include "ui/resource_manager.h"
#include "ui/tab_layout_ui.h"

namespace zevik::test {
namespace {

using namespace std::chrono_literals;

class MainWndDevicesTest : public ::testing::Test {
protected:
    void Start(const char* list, const char* unplugFirst = nullptr) {
        previousPath = CPaintManagerUI::GetResourcePath();
        CPaintManagerUI::SetResourcePath(std::string(ZEVIK_RESOURCE_DIR) + "/skin");
        std::string error;
        EmulationOptions options;
        options.list = list;
        emulation = CEmulation::Create(options, error);
        ASSERT_NE(emulation, nullptr) << error;
        if (unplugFirst != nullptr) {
            ASSERT_TRUE(emulation->Unplug(unplugFirst, error)) << error;
        }
        DeviceContext context;
        context.hidBackend = &emulation->Backend();
        context.uiLoop = &loop;
        locations = std::make_unique<CProfileLocations>(dataDir.Path(), std::filesystem::path());
        context.profileLocations = locations.get();
        ASSERT_TRUE(CResourceManager::GetInstance()->LoadResource("res.xml"));
        wnd = std::make_unique<CMainWnd>(context);
        wnd->SetSettingsFile(dataDir.Path() / "settings.json");
        ASSERT_NE(wnd->Create(0, "main", 0, 0), 0u) << wnd->GetSkinError();
        ASSERT_EQ(wnd->Devices(CMainWnd::kFamilyMouse).size(), 1u) << "the mouse tab exists from the start";
        mouse = wnd->Devices(CMainWnd::kFamilyMouse).front();
        ASSERT_TRUE(wnd->StartScan());
    }
    void TearDown() override {
        if (wnd) {
            wnd->StopScan();
            wnd->DestroyWindow();
            wnd.reset();
        }
        CPaintManagerUI::SetResourcePath(previousPath);
    }

    // Runs the loop: real time for the scan thread, the same span of virtual time for the timers.
    bool PumpUntil(const std::function<bool()>& cond, std::chrono::milliseconds limit = 3s) {
        return PumpLoopUntil(loop, cond, limit);
    }
    void PumpFor(std::chrono::milliseconds span) {
        PumpUntil([] { return false; }, span);
    }
    void Act(bool ok, const std::string& error) { ASSERT_TRUE(ok) << error; }

    bool OptionVisible() const { return mouse->GetDeviceOption() && mouse->GetDeviceOption()->IsVisible(); }
    bool NoDeviceShown() const { return wnd->FindControl("No_device_Link")->IsVisible(); }
    bool OpenOnCable() const {
        return mouse->CommandChannel().IsOpen() && !mouse->CommandChannel().ReceiverMode() &&
               mouse->CommandChannel().CableInterface().IsOpen();
    }
    bool OpenOnReceiver() const {
        return mouse->CommandChannel().IsOpen() && mouse->CommandChannel().ReceiverMode() &&
               mouse->CommandChannel().ReceiverInterface().IsOpen();
    }

    std::string previousPath;
    TempDir dataDir;
    std::unique_ptr<CProfileLocations> locations;
    CPlainMessageLoop loop;
    std::unique_ptr<CEmulation> emulation;
    std::unique_ptr<CMainWnd> wnd;
    COrbantixUSBDevice* mouse = nullptr;
};

TEST_F(MainWndDevicesTest, CablePlugOpensTheCableAndShowsTheOnlyDevice) {
    Start("mouse", "mouse");
    EXPECT_TRUE(NoDeviceShown());
    EXPECT_FALSE(OptionVisible());
    std::string error;
    Act(emulation->Plug("mouse", error), error);
    ASSERT_TRUE(PumpUntil([&] { return OpenOnCable() && mouse->IsNotificationOpen(); }));
    EXPECT_TRUE(OptionVisible());
    EXPECT_TRUE(mouse->GetDeviceOption()->IsSelected());
    EXPECT_FALSE(NoDeviceShown());
    EXPECT_EQ(wnd->Devices(CMainWnd::kFamilyMouse).size(), 1u) << "the arrival creates no second tab";
    auto* pages = static_cast<CTabLayoutUI*>(wnd->FindControl("device_switch")->GetInterface("TabLayout"));
    EXPECT_EQ(pages->GetCurSel(), mouse->GetDeviceOption()->GetPageIndex());
    EXPECT_EQ(wnd->SameModeOffer(), 0);
}

TEST_F(MainWndDevicesTest, ReceiverAddedWhileTheCableIsPresentOpensNothing) {
    Start("mouse");
    ASSERT_TRUE(PumpUntil([&] { return OpenOnCable(); }));
    std::string error;
    Act(emulation->Plug("mouse-receiver", error), error);
    ASSERT_TRUE(PumpUntil([&] { return wnd->InterfaceList().IsLive(6) && wnd->InterfaceList().IsLive(7); }));
    PumpFor(200ms);
    EXPECT_TRUE(OpenOnCable());
    EXPECT_FALSE(mouse->CommandChannel().ReceiverInterface().IsOpen());
}

TEST_F(MainWndDevicesTest, CablePulledWithTheReceiverPresentSwitchesAndKeepsTheTab) {
    Start("mouse@both");
    ASSERT_TRUE(PumpUntil([&] { return OpenOnCable() && wnd->InterfaceList().IsLive(6); }));
    std::string error;
    Act(emulation->Unplug("mouse", error), error);
    const auto begin = std::chrono::steady_clock::now();
    ASSERT_TRUE(PumpUntil([&] { return OpenOnReceiver(); }));
    EXPECT_LT(std::chrono::steady_clock::now() - begin, 2s);
    EXPECT_GE(wnd->LastLinkQueries(), 1);
    EXPECT_FALSE(mouse->CommandChannel().CableInterface().IsOpen());
    PumpFor(300ms);
    EXPECT_TRUE(OptionVisible());
    EXPECT_EQ(wnd->Devices(CMainWnd::kFamilyMouse).size(), 1u);
    ASSERT_TRUE(PumpUntil([&] { return mouse->IsNotificationOpen(); })) << "listens on the receiver";

    // The cable comes back: the cable wins.
    Act(emulation->Plug("mouse", error), error);
    ASSERT_TRUE(PumpUntil([&] { return OpenOnCable(); }));
    EXPECT_TRUE(OptionVisible());
}

TEST_F(MainWndDevicesTest, OnlyConnectionPulledClosesAndShowsNoDevice) {
    Start("mouse");
    ASSERT_TRUE(PumpUntil([&] { return OpenOnCable() && OptionVisible(); }));
    std::string error;
    Act(emulation->Unplug("mouse", error), error);
    ASSERT_TRUE(PumpUntil([&] { return !mouse->CommandChannel().IsOpen(); }));
    EXPECT_FALSE(mouse->CommandChannel().CableInterface().IsOpen());
    EXPECT_FALSE(OptionVisible());
    EXPECT_TRUE(NoDeviceShown());
    ASSERT_TRUE(PumpUntil([&] { return !mouse->IsNotificationOpen(); }));
}

TEST_F(MainWndDevicesTest, ReceiverOutOfRangeIsHiddenWithinThreeSecondsAndShownAgain) {
    Start("mouse@receiver");
    ASSERT_TRUE(PumpUntil([&] { return OpenOnReceiver() && OptionVisible(); }, 5s));
    std::string error;
    Act(emulation->SetInRange("mouse", false, error), error);
    const auto begin = std::chrono::steady_clock::now();
    ASSERT_TRUE(PumpUntil([&] { return !OptionVisible(); }, 5s));
    EXPECT_LT(std::chrono::steady_clock::now() - begin, 3500ms);
    EXPECT_TRUE(NoDeviceShown());
    EXPECT_TRUE(OpenOnReceiver()) << "the receiver stays open while its mouse is away";
    Act(emulation->SetInRange("mouse", true, error), error);
    ASSERT_TRUE(PumpUntil([&] { return OptionVisible(); }, 5s));
    EXPECT_FALSE(NoDeviceShown());
}

TEST_F(MainWndDevicesTest, TwoIdenticalMiceServeOnlyTheFirst) {
    Start("mouse,mouse");
    ASSERT_TRUE(PumpUntil([&] { return OpenOnCable(); }));
    PumpFor(300ms);
    EXPECT_EQ(wnd->Devices(CMainWnd::kFamilyMouse).size(), 1u);
    EXPECT_EQ(wnd->VisibleDeviceCount(), 1);
    EXPECT_NE(mouse->CommandChannel().CableInterface().DevicePath().find("emu:mouse#"), std::string::npos);
}

// What the power panel shows: the percent in the bar and its text, the charging state's images, and
// the cable or receiver logo.
struct PanelView {
    int progress = -1;
    std::string value;
    std::string status;
    std::string charging;
    std::string logo;
    bool cableText = false;
    bool receiverText = false;
};

PanelView ViewOf(CMpDevicePowerUI& panel) {
    auto child = [&panel](const char* name) {
        CControlUI* c = panel.FindControl([name](CControlUI& x) { return x.GetName() == name; }, UIFIND_ALL);
        EXPECT_NE(c, nullptr) << name;
        return c;
    };
    PanelView view;
    if (auto* bar = static_cast<CProgressUI*>(child("device_Power_progress")->GetInterface("Progress"))) {
        view.progress = bar->GetValue();
    }
    view.value = child("device_power_value")->GetText();
    view.status = child("device_power_status")->GetBkImage();
    view.charging = child("device_powering_status")->GetBkImage();
    view.logo = child("device_wuxian_logo")->GetBkImage();
    view.cableText = child("device_youxian_logo_text")->IsVisible();
    view.receiverText = child("device_wuxian_logo_text")->IsVisible();
    return view;
}

TEST_F(MainWndDevicesTest, PowerPanelShowsTheMouseStatusFromTheFirstPollAndFollowsIt) {
    Start("mouse");
    CMpDevicePowerUI* panel = mouse->GetPowerPanel();
    ASSERT_NE(panel, nullptr);
    ASSERT_TRUE(PumpUntil([&] { return ViewOf(*panel).value == "100%"; })) << "the first poll after connect";
    PanelView view = ViewOf(*panel);
    EXPECT_EQ(view.progress, 100);
    EXPECT_EQ(view.status, "file='power/power.png'");
    EXPECT_EQ(view.charging, "file='power/light.png'");
    EXPECT_EQ(view.logo, "file='power/WIFI_normal.png'");
    EXPECT_TRUE(view.cableText);
    EXPECT_FALSE(view.receiverText);

    // The status poll every 3 s carries the change.
    std::string error;
    Act(RunEmulatorWords(*emulation, {"battery", "mouse", "37", "1"}, error), error);
    ASSERT_TRUE(PumpUntil([&] { return ViewOf(*panel).value == "37%"; }, 4s));
    view = ViewOf(*panel);
    EXPECT_EQ(view.progress, 37);
    EXPECT_EQ(view.status, "file='power/powering_down.png'");
    EXPECT_EQ(view.charging, "file='power/powering_down.png'");
}

TEST_F(MainWndDevicesTest, PowerPanelShowsTheReceiver) {
    Start("mouse@receiver");
    CMpDevicePowerUI* panel = mouse->GetPowerPanel();
    ASSERT_NE(panel, nullptr);
    std::string error;
    Act(RunEmulatorWords(*emulation, {"battery", "mouse", "64", "2"}, error), error);
    ASSERT_TRUE(PumpUntil([&] { return ViewOf(*panel).value == "64%"; }, 5s));
    const PanelView view = ViewOf(*panel);
    EXPECT_EQ(view.logo, "file='power/WIFI_down.png'");
    EXPECT_EQ(view.status, "file='power/power.png'");
    EXPECT_TRUE(view.receiverText);
    EXPECT_FALSE(view.cableText);
}

}  // namespace
}  // namespace zevik::test
