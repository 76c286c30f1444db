// The main window's own messages, headless: what other programs send it (update event, lighting
// hand-over, the factory tool's query), suspend and resume, the tray icon, the caption's close button
// and the profile combo's delayed switch. The window serves an emulated mouse found by the scan
// thread; the loop's virtual clock runs the window's timers.

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "devices/mouse_device.h"
#include "emulator/emulation.h"
#include "settings/device_profile_ui.h"
#include "settings/profile_locations.h"
#include "shell/loop_pump.h"
#include "shell/main_routes.h"
#include "shell/main_wnd.h"
#include "transport/command_channel.h"
#include "ui/menu_wnd.h"
#include "ui/paint_manager_ui.h"
#include "ui/plain_message_loop.h"
#include "ui/resource_manager.h"

namespace zevik::test {
namespace {

using namespace std::chrono_literals;

class RecordingOutside final : public IOutsidePrograms {
public:
    void BroadcastLightControl(int wParam, int lParam) override { broadcasts.emplace_back(wParam, lParam); }
    bool SendToWorkTool(std::uint32_t kind, std::span<const std::uint8_t> record) override {
        workToolKind = kind;
        workToolRecord.assign(record.begin(), record.end());
        return true;
    }
    void SendToAudioCapture(int wParam, int) override { audioCommands.push_back(wParam); }

    std::vector<std::pair<int, int>> broadcasts;
    std::uint32_t workToolKind = 0;
    std::vector<std::uint8_t> workToolRecord;
    std::vector<int> audioCommands;
};

class MainWndMessagesTest : public ::testing::Test {
protected:
    void SetUp() override {
        root = std::filesystem::temp_directory_path() /
               (std::string("zevik-main-msg-") +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(root);
        locations = std::make_unique<CProfileLocations>(root, std::filesystem::path(ZEVIK_RESOURCE_DIR));
        previousPath = CPaintManagerUI::GetResourcePath();
        CPaintManagerUI::SetResourcePath(std::string(ZEVIK_RESOURCE_DIR) + "/skin/");
        ASSERT_TRUE(CResourceManager::GetInstance()->LoadResource("res.xml"));
        std::string error;
        EmulationOptions options;
        options.list = "mouse";
        emulation = CEmulation::Create(options, error);
        ASSERT_NE(emulation, nullptr) << error;
        DeviceContext context;
        context.hidBackend = &emulation->Backend();
        context.uiLoop = &loop;
        context.profileLocations = locations.get();
        wnd = std::make_unique<CMainWnd>(context, &outside);
        wnd->SetSettingsFile(root / "settings.json");
        ASSERT_NE(wnd->Create(0, "main", 0x10000000, 0), 0u) << wnd->GetSkinError();
        ASSERT_TRUE(PumpUntil([&] { return Mouse() != nullptr && wnd->IsWindowVisible(); }));
    }
    void TearDown() override {
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
    void PumpFor(std::chrono::milliseconds span) {
        PumpUntil([] { return false; }, span);
    }
    COrbantixMouseDevice* Mouse() const {
        const auto& mice = wnd->Devices(CMainWnd::kFamilyMouse);
        auto* mouse = mice.empty() ? nullptr : dynamic_cast<COrbantixMouseDevice*>(mice.front());
        return mouse != nullptr && mouse->CommandChannel().IsOpen() && mouse->HasMirror() ? mouse : nullptr;
    }
    COrbantixUSBDevice* TabMouse() const { return wnd->Devices(CMainWnd::kFamilyMouse).front(); }
    void Click(std::string_view name) {
        CControlUI* control = wnd->FindControl(name);
        ASSERT_NE(control, nullptr) << name;
        wnd->GetPaintManager()->SendNotify(control, DUI_MSGTYPE_CLICK);
    }

    std::filesystem::path root;
    std::string previousPath;
    std::unique_ptr<CProfileLocations> locations;
    CPlainMessageLoop loop;
    RecordingOutside outside;
    std::unique_ptr<CEmulation> emulation;
    std::unique_ptr<CMainWnd> wnd;
};

TEST_F(MainWndMessagesTest, UpdateEventFourEndsTheProgramOnceOtherEventsDoNothing) {
    const UINT updateEvent = wnd->Messages().updateEvent;
    for (const WPARAM other : {WPARAM{0}, WPARAM{1}, WPARAM{3}, WPARAM{5}}) {
        wnd->SendMessage(updateEvent, other, 0);
        wnd->SendMessage(wnd->Messages().updateRelay, other, 0);
        EXPECT_FALSE(wnd->IsShutDown()) << other;
    }
    EXPECT_FALSE(loop.IsQuitRequested());
    int shutdowns = 0;
    wnd->SetOnShutdown([&shutdowns] { ++shutdowns; });
    wnd->SendMessage(updateEvent, kUpdateEventQuit, 0);
    EXPECT_TRUE(wnd->IsShutDown());
    EXPECT_TRUE(loop.IsQuitRequested());
    EXPECT_FALSE(TabMouse()->CommandChannel().IsOpen()) << "the device is closed";
    EXPECT_FALSE(wnd->IsWindowVisible());
    EXPECT_EQ(outside.audioCommands, (std::vector<int>{2, 4, 5}))
        << "the audio capture program is told to stop";
    // A second request, the tray's exit and the window's end change nothing more.
    wnd->SendMessage(updateEvent, kUpdateEventQuit, 0);
    MenuCmd exit{"exit", "", "", false};
    wnd->SendMessage(CMainWnd::kMenuCommandMessage, reinterpret_cast<WPARAM>(&exit), 0);
    wnd->DestroyWindow();
    EXPECT_EQ(shutdowns, 1);
    EXPECT_EQ(outside.audioCommands.size(), 3u);
}

TEST_F(MainWndMessagesTest, TheLightingHandOverFollowsTheSetMessageAndTheSwitch) {
    ASSERT_FALSE(outside.broadcasts.empty());
    EXPECT_EQ(outside.broadcasts.front(), std::make_pair(1, 1)) << "the program takes the lighting at start";
    const UINT set = wnd->Messages().lightControlSet;
    struct Case {
        WPARAM wParam;
        LPARAM lParam;
        bool expected;
    };
    // Starting from on: only wParam 1 with lParam 0 or 1 changes the flag.
    for (const Case c : {Case{1, 0, false}, Case{1, 7, false}, Case{2, 1, false}, Case{1, 1, true},
                         Case{0, 0, true}, Case{1, 0, false}}) {
        wnd->SendMessage(set, c.wParam, c.lParam);
        EXPECT_EQ(wnd->GetLightControl(), c.expected) << c.wParam << "/" << c.lParam;
        EXPECT_EQ(TabMouse()->IsSoftwareLightControl(), c.expected) << c.wParam << "/" << c.lParam;
    }
    const std::size_t broadcastsBefore = outside.broadcasts.size();
    EXPECT_EQ(broadcastsBefore, 1u) << "the set message is not broadcast";

    Click("control_light_status");
    EXPECT_TRUE(wnd->GetLightControl());
    EXPECT_EQ(outside.broadcasts.back(), std::make_pair(1, 1));
    Click("control_light_status");
    EXPECT_FALSE(TabMouse()->IsSoftwareLightControl());
    EXPECT_EQ(outside.broadcasts.back(), std::make_pair(1, 0));
    EXPECT_EQ(wnd->FindControl("control_light_status")->GetText(),
              CResourceManager::GetInstance()->ResolveText("不控制灯光"));
}

TEST_F(MainWndMessagesTest, ASuspendedSystemHandlesNothingUntilItResumes) {
    wnd->SendMessage(WM_POWERBROADCAST, CMainWnd::kPowerSuspend, 0);
    EXPECT_FALSE(wnd->IsSystemAwake());
    EXPECT_FALSE(TabMouse()->IsSoftwareLightControl()) << "the devices stop driving the lighting";
    EXPECT_TRUE(wnd->GetLightControl()) << "the choice itself is kept";
    ASSERT_TRUE(wnd->IsWindowVisible());
    wnd->SendMessage(CMainWnd::kTrayMessage, CMainWnd::kIconId, WM_LBUTTONUP);
    EXPECT_TRUE(wnd->IsWindowVisible()) << "the tray click is not handled while suspended";

    wnd->SendMessage(WM_POWERBROADCAST, CMainWnd::kPowerResumeAutomatic, 0);
    EXPECT_TRUE(wnd->IsSystemAwake());
    EXPECT_TRUE(TabMouse()->IsSoftwareLightControl());
    wnd->SendMessage(CMainWnd::kTrayMessage, CMainWnd::kIconId, WM_LBUTTONUP);
    EXPECT_FALSE(wnd->IsWindowVisible());
}

TEST_F(MainWndMessagesTest, TheFactoryToolGetsTheUpdateRowsOfWhatIsConnected) {
    wnd->SendMessage(wnd->Messages().workToolQuery, 0, 0);
    EXPECT_EQ(outside.workToolKind, 5u);
    ASSERT_EQ(outside.workToolRecord.size(), 1024u);
    std::vector<std::uint32_t> values(256);
    std::memcpy(values.data(), outside.workToolRecord.data(), 1024);
    EXPECT_EQ(std::vector<std::uint32_t>(values.begin(), values.begin() + 5),
              (std::vector<std::uint32_t>{2, 3, 0, 2, 4}));
    // The first row is the mouse, with the firmware version the connected cable reports.
    EXPECT_EQ(values[7], TabMouse()->CommandChannel().CableInterface().VersionNumber());
    EXPECT_NE(values[7], 0u);
}

TEST_F(MainWndMessagesTest, TheTrayIconHidesAndShowsAndHoldsThePolling) {
    wnd->SendMessage(CMainWnd::kTrayMessage, CMainWnd::kIconId, WM_LBUTTONUP);
    EXPECT_FALSE(wnd->IsWindowVisible());
    EXPECT_TRUE(TabMouse()->IsPollingHold());
    wnd->SendMessage(CMainWnd::kTrayMessage, CMainWnd::kIconId, WM_LBUTTONUP);
    EXPECT_TRUE(wnd->IsWindowVisible());
    EXPECT_FALSE(TabMouse()->IsPollingHold());

    wnd->SendMessage(CMainWnd::kTrayMessage, CMainWnd::kIconId, WM_RBUTTONUP);
    EXPECT_EQ(wnd->TrayMenu(), nullptr) << "the menu opens from a timer";
    PumpFor(30ms);
    ASSERT_NE(wnd->TrayMenu(), nullptr);
    EXPECT_TRUE(wnd->TrayMenu()->IsShown());
    EXPECT_NE(wnd->TrayMenu()->FindItem("exit"), nullptr);
}

TEST_F(MainWndMessagesTest, CloseButtonHidesToTheTrayOrMinimisesWithoutOne) {
    Click("closebtn");
    EXPECT_FALSE(wnd->IsWindowVisible());
    EXPECT_FALSE(wnd->IsShutDown());
    EXPECT_TRUE(TabMouse()->IsPollingHold());
    wnd->SendMessage(wnd->Messages().activate, 0, 1);  // a second start
    EXPECT_TRUE(wnd->IsWindowVisible());
    EXPECT_FALSE(TabMouse()->IsPollingHold());

    wnd->SetTrayAvailable(false);
    Click("closebtn");
    EXPECT_TRUE(wnd->IsMinimized());
    MenuCmd show{"show", "", "", false};
    wnd->SendMessage(CMainWnd::kMenuCommandMessage, reinterpret_cast<WPARAM>(&show), 0);
    EXPECT_FALSE(wnd->IsMinimized());
    EXPECT_TRUE(wnd->IsWindowVisible());
}

TEST_F(MainWndMessagesTest, ChoosingAProfileInTheComboSwitchesTheMouseAfterTheDelay) {
    COrbantixMouseDevice* mouse = Mouse();
    ASSERT_NE(mouse, nullptr);
    CDeviceProfileUI* bar = ProfileBarOf(mouse);
    ASSERT_NE(bar, nullptr);
    ASSERT_TRUE(bar->AddProfile().ok());
    ASSERT_EQ(bar->GetProfileCount(), 2);
    const std::filesystem::path first = bar->GetProfileFilePath(0);
    const std::filesystem::path second = bar->GetProfileFilePath(1);
    bar->SelectProfile(1, true);  // as a user's choice: "itemselect" of "device_profile_combo"
    ASSERT_TRUE(PumpUntil([&] { return mouse->Profile().GetProfilePath() == second; }, 2s));

    bar->SelectProfile(0, true);
    PumpFor(200ms);
    EXPECT_EQ(mouse->Profile().GetProfilePath(), second) << "not before the delay";
    ASSERT_TRUE(PumpUntil([&] { return mouse->Profile().GetProfilePath() == first; }, 2s));
}

TEST_F(MainWndMessagesTest, DesktopSettingsButtonsShowOnlyWhereTheDesktopHasThem) {
    const std::filesystem::path opened = root / "keyboard-settings-opened";
    wnd->SetDesktopSettingsCommands(std::vector<std::string>{"/bin/touch", opened.string()}, std::nullopt);
    EXPECT_TRUE(wnd->FindControl("windowdeviceset_0")->IsVisible());
    EXPECT_FALSE(wnd->FindControl("windowdeviceset_1")->IsVisible());
    Click("windowdeviceset_0");
    EXPECT_TRUE(PumpUntil([&] { return std::filesystem::exists(opened); }, 5s));

    wnd->SetDesktopSettingsCommands(std::nullopt, std::nullopt);
    EXPECT_FALSE(wnd->FindControl("windowdeviceset_0")->IsVisible());
    Click("windowdeviceset_1");  // hidden and without a command: nothing happens
}

}  // namespace
}  // namespace zevik::test
