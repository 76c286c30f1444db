// Synchronised lighting and game events on a headless main window serving an emulated mouse; the
// loop's virtual clock runs timer 1066. Devices of the other kinds (1 keyboard, 3 mousepad,
// 7 headset) are plain device objects of those kinds on emulated channels of their own.

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "devices/device_option_ui.h"
#include "devices/kind_device.h"
#include "devices/lighting_tables.h"
#include "devices/mouse_device.h"
#include "emulator/emulation.h"
#include "emulator/mouse_model.h"
#include "settings/profile_locations.h"
#include "editors/light_control_ui.h"
#include "shell/lighting_handlers.h"
#include "shell/loop_pump.h"
#include "shell/main_wnd.h"
#include "transport/command_channel.h"
#include "ui/paint_manager_ui.h"
#include "ui/plain_message_loop.h"
#include "ui/resource_manager.h"

namespace zevik::test {
namespace {

using namespace std::chrono_literals;

constexpr const char* kMouseCommandPath = "emu:mouse#vid_320f&pid_225a&mi_01&col04";

class LightSyncGameTest : public ::testing::Test {
protected:
    void SetUp() override {
        root = std::filesystem::temp_directory_path() /
               (std::string("zevik-light-sync-") + ::testing::UnitTest::GetInstance()->current_test_info()->name());
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
        wnd = std::make_unique<CMainWnd>(context);
        wnd->SetSettingsFile(root / "settings.json");
        ASSERT_NE(wnd->Create(0, "main", 0x10000000, 0), 0u) << wnd->GetSkinError();
        ASSERT_TRUE(PumpLoopUntil(loop, [&] { return Mouse() != nullptr && wnd->IsWindowVisible(); }, 5s));
        mouse = Mouse();
    }
    void TearDown() override {
        // The window's sync thread ends first: the devices it was given must outlive it.
        if (wnd) {
            if (wnd->GetHWND() != 0) wnd->DestroyWindow();
            wnd.reset();
        }
        others.clear();
        CPaintManagerUI::SetResourcePath(previousPath);
        std::filesystem::remove_all(root);
    }
    COrbantixMouseDevice* Mouse() const {
        const auto& mice = wnd->Devices(CMainWnd::kFamilyMouse);
        auto* found = mice.empty() ? nullptr : dynamic_cast<COrbantixMouseDevice*>(mice.front());
        return found != nullptr && found->CommandChannel().IsOpen() && found->HasMirror() ? found : nullptr;
    }
    // The lighting mode code the emulated mouse holds in its settings block.
    int BlockMode() const {
        auto* model = dynamic_cast<CMouseModel*>(emulation->Model("mouse"));
        return model->ReadArea("memory")[CMouseSettingsBlock::kLightMode];
    }
    LightInfoRecord Stored() { return mouse->Profile().GetLightInfo(); }
    // Puts the mouse in a mode (saved and written), as the page would.
    void SetMouseMode(int position) {
        LightInfoRecord r = mouse->GetLighting();
        r.selectItem = static_cast<std::uint8_t>(position);
        r.light = 3;
        r.speed = 4;
        r.fx = 1;
        r.multiColor = 1;
        r.red = 12;
        r.green = 34;
        r.blue = 56;
        r.zzccLedMode = 5;
        r.customGroup = 6;
        r.oldLedmode = 0;
        mouse->SetLighting(r);
        ASSERT_EQ(mouse->SaveDeviceProfile(), 1);
        mouse->ApplyLightSettings();
        ASSERT_EQ(mouse->WriteSettingsBlock(0, 0), 1);
    }
    void Game(int which, WPARAM w, LPARAM l) { wnd->SendMessage(wnd->Messages().game[which], w, l); }
    void Advance(std::chrono::milliseconds span) { loop.AdvanceBy(span); }
    CKindDevice& Other(int kind, bool open = true) {
        std::string error;
        EmulationOptions options;
        options.list = "mouse";
        otherEmulations.push_back(CEmulation::Create(options, error));
        DeviceContext context;
        context.hidBackend = &otherEmulations.back()->Backend();
        others.push_back(std::make_unique<CKindDevice>(context, kind, 3));
        if (open) others.back()->CommandChannel().OpenConnection(kMouseCommandPath, kConnectionCable);
        return *others.back();
    }

    std::filesystem::path root;
    std::string previousPath;
    std::unique_ptr<CProfileLocations> locations;
    CPlainMessageLoop loop;
    std::unique_ptr<CEmulation> emulation;
    std::unique_ptr<CMainWnd> wnd;
    COrbantixMouseDevice* mouse = nullptr;  // connected once SetUp has passed
    std::vector<std::unique_ptr<CEmulation>> otherEmulations;
    std::vector<std::unique_ptr<CKindDevice>> others;
};

TEST_F(LightSyncGameTest, GameNamesAreRegisteredAndHandledAlike) {
    for (int which = 0; which < 4; ++which) {
        EXPECT_EQ(GetRegisteredMessageName(wnd->Messages().game[which]), kGameMessageNames[which]);
        SetMouseMode(3);
        Game(which, 0, 2);
        EXPECT_EQ(Stored().selectItem, 2) << which;
        EXPECT_EQ(BlockMode(), 2) << which;
        Advance(5000ms);
        EXPECT_EQ(Stored().selectItem, 3) << which;
    }
}

TEST_F(LightSyncGameTest, AGameEventSwitchesTheEffectForFiveSecondsThenReturns) {
    struct Case {
        int oldMode;
        WPARAM w;
        int kept;      // "OldLedmode" after the event
        int returned;  // the mode five seconds later
    };
    // wParam 0 keeps the old mode (1 for 0 or above 20); 1 and 2 return to what was kept before.
    for (const Case c : {Case{3, 0, 3, 3}, Case{0, 0, 1, 1}, Case{25, 0, 1, 1}, Case{20, 0, 20, 20}, Case{7, 1, 0, 0},
                         Case{7, 2, 0, 0}}) {
        SetMouseMode(c.oldMode);
        Game(0, c.w, 9);
        EXPECT_EQ(Stored().selectItem, 9) << c.oldMode;
        EXPECT_EQ(Stored().oldLedmode, c.kept) << c.oldMode;
        EXPECT_EQ(BlockMode(), 9);
        Advance(4990ms);
        EXPECT_EQ(Stored().selectItem, 9) << c.oldMode;
        Advance(10ms);
        EXPECT_EQ(Stored().selectItem, c.returned) << c.oldMode << " w " << c.w;
        EXPECT_EQ(Stored().oldLedmode, c.kept);  // the return leaves it as it is
        EXPECT_EQ(mouse->GetLighting().light, 3);  // the rest of the record is untouched
        EXPECT_EQ(mouse->GetLighting().blue, 56);
        Advance(10000ms);
        EXPECT_EQ(Stored().selectItem, c.returned);  // the timer fires once
    }
}

TEST_F(LightSyncGameTest, TheFiveSecondsCountFromTheLastEvent) {
    SetMouseMode(3);
    Game(0, 0, 2);
    Advance(2000ms);
    Game(1, 0, 4);  // keeps the first event's mode as the one to return to
    EXPECT_EQ(Stored().oldLedmode, 2);
    Advance(4990ms);
    EXPECT_EQ(Stored().selectItem, 4);
    Advance(10ms);
    EXPECT_EQ(Stored().selectItem, 2);
}

TEST_F(LightSyncGameTest, AStrayWParamChangesNoDeviceAndItsTimerRestoresNothingStale) {
    SetMouseMode(3);
    LightInfoRecord r = mouse->GetLighting();
    r.oldLedmode = 8;  // a stale mode to return to
    mouse->SetLighting(r);
    Game(2, 3, 5);
    EXPECT_EQ(Stored().selectItem, 3);
    Advance(5000ms);
    EXPECT_EQ(Stored().selectItem, 3);
    EXPECT_EQ(BlockMode(), 3);
}

TEST_F(LightSyncGameTest, LParam300StoresItsLowByteAndWritesPositionZerosCode) {
    SetMouseMode(3);
    CLightControlUI* page = LightControlOf(mouse);
    ASSERT_NE(page, nullptr);
    Game(3, 0, 300);
    EXPECT_EQ(Stored().selectItem, 44);
    EXPECT_EQ(BlockMode(), 0);  // positions from 12 up are sent as position 0
    EXPECT_EQ(page->GetSelectedMode(), -1) << "a mode past the list selects nothing";
    Advance(5000ms);
    EXPECT_EQ(Stored().selectItem, 3);
    EXPECT_EQ(BlockMode(), 3);
    EXPECT_EQ(page->GetSelectedMode(), 3) << "the page shows the mode it returned to";
}

TEST_F(LightSyncGameTest, TheReturnGoesToTheChangedDeviceNotTheCurrentOne) {
    SetMouseMode(3);
    Game(0, 0, 2);
    // Another device becomes current: here, no device is selected at all.
    mouse->GetDeviceOption()->Select(false);
    ASSERT_EQ(wnd->GetCurrentDevice(), nullptr);
    Game(0, 0, 7);  // without a current device: no change, but the timer starts again
    EXPECT_EQ(Stored().selectItem, 2);
    Advance(5000ms);
    EXPECT_EQ(Stored().selectItem, 3);
    EXPECT_EQ(BlockMode(), 3);
    EXPECT_EQ(wnd->GameEvents().ChangedDevice(), nullptr);
}

TEST_F(LightSyncGameTest, AGameEventEndsFollowing) {
    SetMouseMode(2);
    wnd->StartSynchronisedLighting();
    ASSERT_TRUE(mouse->IsSameMode());
    Game(0, 0, 3);
    EXPECT_FALSE(mouse->IsSameMode());
}

TEST_F(LightSyncGameTest, AMouseInBreathingGivesEveryFamilyItsBreathingMode) {
    SetMouseMode(2);
    CKindDevice& keyboard = Other(kDeviceKindKeyboard);
    CKindDevice& pad = Other(kDeviceKindMousepad);
    CKindDevice& headset = Other(kDeviceKindHeadset);
    CKindDevice& unplugged = Other(kDeviceKindHeadset, false);
    DeviceFamilies families = wnd->Families();
    families.keyboards.push_back(&keyboard);
    families.mousepads.push_back(&pad);
    families.headsets = {&headset, &unplugged};
    CSynchronisedLighting& sync = wnd->SynchronisedLighting();
    ASSERT_TRUE(sync.Start(mouse, families));

    const LightInfoRecord started = mouse->GetLighting();
    EXPECT_EQ(started.selectItem, 2);
    EXPECT_EQ(BlockMode(), 2);
    struct Follower {
        CKindDevice* device;
        int mode;
    };
    for (const Follower f : {Follower{&keyboard, 5}, Follower{&pad, 2}, Follower{&headset, 2}}) {
        LightInfoRecord expected = started;
        expected.selectItem = static_cast<std::uint8_t>(f.mode);
        EXPECT_EQ(f.device->GetLighting(), expected) << f.device->GetKind();
        EXPECT_TRUE(f.device->IsSameMode());
        EXPECT_EQ(f.device->saves, 1);
        EXPECT_EQ(f.device->writes, 1);
    }
    EXPECT_TRUE(mouse->IsSameMode());
    EXPECT_FALSE(unplugged.IsSameMode());
    EXPECT_EQ(unplugged.writes, 0);
    const SharedLightState state = sync.Thread().State();
    EXPECT_EQ(state.type, SharedEffect::Breathing);
    EXPECT_EQ(state.brightness, 3);
    EXPECT_EQ(state.speed, 4);
    EXPECT_EQ(state.multiColor, 1);
    EXPECT_EQ(state.blue, 56);

    // The thread animates every follower; the offer of 0 ends it for all of them.
    EXPECT_TRUE(PumpLoopUntil(loop, [&] { return lighting::EntryIntensity(headset.GetLightEntry(2)) != 0; }, 3s));
    sync.Offer(0, families);
    for (COrbantixUSBDevice* d : {static_cast<COrbantixUSBDevice*>(mouse), static_cast<COrbantixUSBDevice*>(&keyboard),
                                  static_cast<COrbantixUSBDevice*>(&pad), static_cast<COrbantixUSBDevice*>(&headset)}) {
        EXPECT_FALSE(d->IsSameMode()) << d->GetKind();
    }
    const std::uint64_t steps = sync.Thread().StepCount();
    PumpLoopUntil(loop, [] { return false; }, 100ms);
    EXPECT_LE(sync.Thread().StepCount(), steps + 1);
}

TEST_F(LightSyncGameTest, ModesWithoutASharedEffectChangeNothing) {
    // A mouse in its sequence mode, and a keyboard in its custom colours (mode 20).
    SetMouseMode(9);
    CKindDevice& keyboard = Other(kDeviceKindKeyboard);
    LightInfoRecord custom;
    custom.selectItem = 20;
    keyboard.SetLighting(custom);
    DeviceFamilies families = wnd->Families();
    families.keyboards.push_back(&keyboard);
    CSynchronisedLighting& sync = wnd->SynchronisedLighting();
    EXPECT_FALSE(sync.Start(mouse, families));
    EXPECT_FALSE(sync.Start(&keyboard, families));
    EXPECT_FALSE(sync.Start(nullptr, families));
    EXPECT_FALSE(mouse->IsSameMode());
    EXPECT_FALSE(keyboard.IsSameMode());
    EXPECT_EQ(keyboard.writes, 0);
    EXPECT_EQ(Stored().selectItem, 9);
    // A kind without a row of its own takes the effect set last.
    CKindDevice& strange = Other(5);
    LightInfoRecord any;
    any.selectItem = 77;
    strange.SetLighting(any);
    families.mousepads.push_back(&strange);
    EXPECT_TRUE(sync.Start(&strange, families));
    EXPECT_EQ(keyboard.GetLighting().selectItem, 5);  // breathing, the effect at start
}

TEST_F(LightSyncGameTest, TheSharedEffectRestsWhileTheWindowIsInTheTray) {
    SetMouseMode(2);
    wnd->StartSynchronisedLighting();
    CSyncLightingThread& thread = wnd->SynchronisedLighting().Thread();
    ASSERT_TRUE(PumpLoopUntil(loop, [&] { return thread.StepCount() > 0; }, 3s));
    wnd->HideMainWindow();
    PumpLoopUntil(loop, [] { return false; }, 50ms);
    const std::uint64_t hidden = thread.StepCount();
    PumpLoopUntil(loop, [] { return false; }, 300ms);
    EXPECT_EQ(thread.StepCount(), hidden);
    wnd->ShowMainWindow();
    EXPECT_TRUE(PumpLoopUntil(loop, [&] { return thread.StepCount() > hidden; }, 3s));
}

TEST_F(LightSyncGameTest, EveryCountOfTheDeviceListOffersSynchronisation) {
    SetMouseMode(1);
    wnd->StartSynchronisedLighting();
    ASSERT_TRUE(mouse->IsSameMode());
    EXPECT_EQ(wnd->RefreshDeviceList(), 1);  // one device shown: nobody follows
    EXPECT_EQ(wnd->SameModeOffer(), 0);
    EXPECT_FALSE(mouse->IsSameMode());
    ASSERT_NE(LightControlOf(mouse), nullptr);
    EXPECT_FALSE(LightControlOf(mouse)->IsSameModeOffered()) << "the page follows the offer";
}

}  // namespace
}  // namespace zevik::test
