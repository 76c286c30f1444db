// The mousepad over the emulated pad: connect without a block read, the first write reading the
// block, failures, resynchronisation on the pad's request, the phone on the charger and the preview.

#include "devices/mousepad_device.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "devices/device_messages.h"
#include "devices/device_option_ui.h"
#include "devices/lighting_tables.h"
#include "emulator/emulation.h"
#include "emulator/mousepad_model.h"
#include "base_fixture.h"
#include "mouse_device_fixture.h"
#include "ui/plain_message_loop.h"

namespace zevik::test {
namespace {

using namespace std::chrono_literals;

constexpr const char* kPadCommand = "emu:mousepad#vid_320f&pid_1004&mi_01&col04";
constexpr const char* kPadEvents = "emu:mousepad#vid_320f&pid_1004&mi_01&col03";

class MousepadDeviceTest : public ::testing::Test {
protected:
    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        root = std::filesystem::temp_directory_path() / (std::string("zevik-mousepad-") + info->name());
        std::filesystem::remove_all(root);
        const std::filesystem::path program = root / "program";
        std::filesystem::create_directories(program / "DefaultData");
        const std::filesystem::path factory = std::filesystem::path(ZEVIK_RESOURCE_DIR) / "DefaultData";
        for (const char* file : {"MousePad.Json", "default_light.json"})
            std::filesystem::copy_file(factory / file, program / "DefaultData" / file);
        locations = std::make_unique<CProfileLocations>(root / "data", program);

        std::string error;
        EmulationOptions options;
        options.list = "mousepad";
        emulation = CEmulation::Create(options, error);
        ASSERT_NE(emulation, nullptr) << error;
        pad = dynamic_cast<CMousepadModel*>(emulation->Model("mousepad"));
        ASSERT_NE(pad, nullptr);
        window = std::make_unique<CRecordingWindow>();
        ASSERT_NE(window->Create(0, "main", 0, 0), 0u);

        context.hidBackend = &emulation->Backend();
        context.uiLoop = &loop;
        context.profileLocations = locations.get();
        device = new COrbantixMousePadDevice(context);
        selector.Add(device);
        option = new CDeviceOptionUI;
        selector.Add(option);
        option->SetDevice(device);
        device->SetDeviceOption(option);
        device->SetMainWindow(window->GetHWND());
        device->SetStatusSink(&sink);
        device->SetPageName("page");
        device->SetLightButtonCount(15);
        device->BindPage();
    }
    void TearDown() override {
        device->StopWorkers();
        if (window) window->DestroyWindow();
        std::filesystem::remove_all(root);
    }

    void Connect() {
        ASSERT_TRUE(device->CommandChannel().OpenConnection(kPadCommand, kConnectionCable));
        ASSERT_EQ(device->Connect(), kResultDone);
    }
    std::vector<uint8_t> Memory() const { return pad->ReadArea("memory"); }

    LightInfoRecord Lighting(int mode, int speed, int direction) const {
        LightInfoRecord r;
        r.selectItem = static_cast<std::uint8_t>(mode);
        r.light = 3;
        r.speed = static_cast<std::uint8_t>(speed);
        r.fx = static_cast<std::uint8_t>(direction);
        r.red = 12;
        r.green = 34;
        r.blue = 56;
        return r;
    }

    CPlainMessageLoop loop;
    std::filesystem::path root;
    std::unique_ptr<CProfileLocations> locations;
    std::unique_ptr<CEmulation> emulation;
    CMousepadModel* pad = nullptr;
    std::unique_ptr<CRecordingWindow> window;
    CRecordingStatusSink sink;
    DeviceContext context;
    CContainerUI selector;  // owns device and option
    COrbantixMousePadDevice* device = nullptr;
    CDeviceOptionUI* option = nullptr;
};

TEST_F(MousepadDeviceTest, ConnectReadsTheInformationAndThePhoneButNotTheBlock) {
    ASSERT_TRUE(pad->SetPhone(2));
    Connect();
    EXPECT_TRUE(device->IsConnected());
    EXPECT_FALSE(device->BlockPort().HasMirror());
    EXPECT_EQ(device->DeviceInfo()[0], 0x10);
    EXPECT_EQ(device->GetPhone(), 2);
    ASSERT_FALSE(sink.records.empty());
    EXPECT_EQ(sink.records.back().size(), 6u);
    EXPECT_EQ(sink.records.back()[5], 2);
    EXPECT_TRUE(device->IsLightingThreadRunning());
}

TEST_F(MousepadDeviceTest, FirstWriteReadsTheBlockAndSendsTheLightingOverThePadsBytes) {
    Connect();
    const std::vector<uint8_t> before = Memory();
    device->SetLighting(Lighting(7, 1, 1));
    ASSERT_EQ(device->WriteSettingsBlock(0, 5), kResultDone);
    const std::vector<uint8_t> after = Memory();
    EXPECT_EQ(after[0], 0) << "the slot byte is the pad's";
    EXPECT_EQ(after[1], 7);
    EXPECT_EQ(after[2], 3);
    EXPECT_EQ(after[3], 3) << "speed level 1 is stored inverted";
    EXPECT_EQ(after[4], 1) << "the direction";
    EXPECT_EQ(after[6], 12);
    for (size_t i = 9; i <= 20; ++i) EXPECT_EQ(after[i], before[i]) << "byte " << i;
    EXPECT_EQ(std::vector<uint8_t>(after.begin() + 21, after.end()),
              std::vector<uint8_t>(before.begin() + 21, before.end()))
        << "21 bytes written, nothing else";
    EXPECT_EQ(device->BlockPort().Mirror()[StripSettingsBlock::kSpeed], 1);
}

TEST_F(MousepadDeviceTest, FailedReadBeforeTheFirstWriteWritesNothing) {
    Connect();
    const std::vector<uint8_t> before = Memory();
    pad->Faults().Arm(EmulatedFault::StatusFailed, CFaultPlan::kUntilCleared, 0x05);
    device->SetLighting(Lighting(3, 2, 0));
    EXPECT_EQ(device->WriteSettingsBlock(0, 0), kResultStatusFailed);
    EXPECT_EQ(Memory(), before);
    EXPECT_FALSE(device->BlockPort().HasMirror());
}

TEST_F(MousepadDeviceTest, FailedResyncKeepsTheMirror) {
    Connect();
    ASSERT_EQ(device->ReadSettingsBlock(), kResultDone);
    const StripSettingsBlock mirror = device->BlockPort().Mirror();
    ASSERT_TRUE(pad->WriteArea("memory", 4, std::vector<uint8_t>{0}));
    pad->Faults().Arm(EmulatedFault::NoAnswer, CFaultPlan::kUntilCleared, 0x05);
    EXPECT_NE(device->Resync(), kResultDone);
    EXPECT_EQ(device->BlockPort().Mirror().Data(), mirror.Data());
    EXPECT_TRUE(window->Of(UM_DEVICE_SLOT_CHANGED).empty());
}

TEST_F(MousepadDeviceTest, ResyncRequestGivesOneResyncHalfASecondLater) {
    Connect();
    ASSERT_TRUE(pad->WriteArea("memory", 0, std::vector<uint8_t>{2}));
    ASSERT_TRUE(device->OpenNotification(kPadEvents));
    std::string error;
    ASSERT_TRUE(emulation->Notify("mousepad", 0x0401, error)) << error;
    ASSERT_TRUE(WaitFor([&] { return option->IsTimerRunning(CDeviceOptionUI::kTimerResync); }));
    loop.AdvanceBy(499ms);
    EXPECT_TRUE(window->Of(UM_DEVICE_SLOT_CHANGED).empty());
    loop.AdvanceBy(1ms);
    const auto told = window->Of(UM_DEVICE_SLOT_CHANGED);
    ASSERT_EQ(told.size(), 1u);
    EXPECT_EQ(told[0].wParam, 2u) << "the slot read";
    EXPECT_EQ(device->GetActiveSlot(), 2);
    loop.AdvanceBy(5s);
    EXPECT_EQ(window->Of(UM_DEVICE_SLOT_CHANGED).size(), 1u);
    device->CloseNotification();
    EXPECT_FALSE(device->IsNotificationOpen());
}

TEST_F(MousepadDeviceTest, PhoneFollowsTheChargerEveryThreeSeconds) {
    Connect();
    EXPECT_EQ(device->GetPhone(), 0);
    ASSERT_TRUE(pad->SetPhone(1));
    loop.AdvanceBy(2900ms);
    EXPECT_EQ(device->GetPhone(), 0);
    loop.AdvanceBy(100ms);
    EXPECT_EQ(device->GetPhone(), 1);
    ASSERT_TRUE(pad->SetPhone(0));
    loop.AdvanceBy(3s);
    EXPECT_EQ(device->GetPhone(), 0);
    EXPECT_FALSE(pad->SetPhone(4));

    // Nobody sees the power panel: the poll goes on without reading until the window shows again.
    device->SetWindowUnseen(true);
    ASSERT_TRUE(pad->SetPhone(3));
    loop.AdvanceBy(9s);
    EXPECT_EQ(device->GetPhone(), 0);
    device->SetWindowUnseen(false);
    loop.AdvanceBy(3s);
    EXPECT_EQ(device->GetPhone(), 3);
}

TEST_F(MousepadDeviceTest, PreviewShowsTheStripWithoutSendingFrames) {
    Connect();
    const auto writesBefore = Memory();
    device->SetLighting(Lighting(3, 4, 1));  // static
    const std::uint32_t lit = lighting::PackLightEntry(12, 34, 56, 195);
    // LED 0 has an effect of its own in the factory profile (breathing): the layers draw over it.
    const auto allLit = [&] {
        for (int i = 1; i < 15; ++i) {
            if (device->GetLightEntry(i) != lit) return false;
        }
        return true;
    };
    EXPECT_TRUE(WaitFor(allLit)) << "LED 1 shows " << device->GetLightEntry(1);
    EXPECT_EQ(Memory(), writesBefore) << "nothing is sent to the pad";
}

}  // namespace
}  // namespace zevik::test
