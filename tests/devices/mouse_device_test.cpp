#include <gtest/gtest.h>

#include <functional>
#include <thread>

#include "devices/device_messages.h"
#include "devices/device_option_ui.h"
#include "devices/mouse_device_fixture.h"
#include "devices/mouse_recoil_image.h"
#include "ui/edit_ui.h"
#include "ui/option_ui.h"
#include "ui/slider_ui.h"

namespace zevik::test {
namespace {

using Block = CMouseSettingsBlock;

// Bytes the program carries without knowing them: a write must give them back unchanged.
std::vector<uint8_t> CarriedPattern() {
    std::vector<uint8_t> bytes(Block::kDeepSleep - (Block::kMotionSync + 1));
    for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<uint8_t>(0xC0 + i);
    return bytes;
}

void ExpectCarriedBytes(const std::vector<uint8_t>& block) {
    const std::vector<uint8_t> pattern = CarriedPattern();
    for (size_t i = 0; i < pattern.size(); ++i) {
        EXPECT_EQ(block[Block::kMotionSync + 1 + i], pattern[i]) << "byte " << Block::kMotionSync + 1 + i;
    }
}

bool WaitFor(const std::function<bool()>& cond) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(3);
    while (!cond()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
}

TEST_F(MouseDeviceTest, ConnectReadsTheActiveBlockIntoTheProfile) {
    Start();
    WriteMemory(0, {2});  // active slot 2
    std::vector<uint8_t> block = Block0();
    block[Block::kReportRate] = 4;
    block[Block::kKeyDelay] = 7;
    block[Block::kDormancyLow] = 88;
    block[Block::kDormancyHigh] = 2;
    block[Block::kActiveStage] = 1;
    WriteMemory(2 * Block::kSlotStride + 1, {block.begin() + 1, block.end()});
    ASSERT_TRUE(Open());

    EXPECT_EQ(device->Connect(), 1);
    EXPECT_TRUE(device->HasMirror());
    EXPECT_EQ(device->GetActiveSlot(), 2);
    EXPECT_EQ(device->GetActiveStage(), 1);
    const MouseSystemRecord sys = device->Profile().GetMouseSystem();
    EXPECT_EQ(sys.ReportRate(), 4);
    EXPECT_EQ(sys.KeyDelay(), 3);
    EXPECT_EQ(sys.DormancyTime(), 4);
    const Json::Value saved = ProfileOnDisk();
    EXPECT_EQ(saved["ReportStages"]["StageActive"].asInt(), 4);
    EXPECT_EQ(saved["DPIStages"]["StageActive"].asInt(), 1);

    // The key map follows the key table the mouse reports.
    const std::vector<uint8_t> table = CMouseModel::FactoryKeyTable();
    EXPECT_EQ(device->KeyMap(), BuildMouseKeyMap(table, CMouseModel::kPhysicalKeys));
    EXPECT_NE(device->KeyMap()[0], kMouseNoKey);
    EXPECT_EQ(device->CommandChannel().BlockSize(), CMouseModel::kPhysicalKeys * 3);
}

struct PageChange {
    const char* name;
    std::function<void(COrbantixMouseDevice&)> change;
    std::vector<std::pair<size_t, int>> bytes;
};

class MousePageChange : public MouseDeviceTest, public ::testing::WithParamInterface<PageChange> {};

TEST_P(MousePageChange, WritesTheBlockAndSavesTheProfile) {
    Start();
    WriteMemory(Block::kMotionSync + 1, CarriedPattern());
    ASSERT_TRUE(Open());
    ASSERT_EQ(device->Connect(), 1);
    GetParam().change(*device);
    const std::vector<uint8_t> block = Block0();
    for (const auto& [offset, value] : GetParam().bytes) EXPECT_EQ(block[offset], value) << "byte " << offset;
    ExpectCarriedBytes(block);
    // What was written is what the profile file holds.
    COrbantixMouseDevice reloaded(context);
    reloaded.LoadProfileFiles();
    CMouseSettingsBlock expected(Block::Bytes{});
    MouseBlockSettings settings;
    settings.light = reloaded.Profile().GetLightInfo();
    settings.system = reloaded.Profile().GetMouseSystem();
    settings.stages = reloaded.Profile().GetDpiStages();
    settings.activeStage = reloaded.Profile().GetActiveDpiStage();
    expected.Fill(settings, device->ModeList(), 0);
    for (const auto& [offset, value] : GetParam().bytes)
        EXPECT_EQ(expected[offset], value) << "saved byte " << offset;
}

INSTANTIATE_TEST_SUITE_P(
    Settings, MousePageChange,
    ::testing::Values(PageChange{"rate", [](auto& d) { d.OnPollingRate(2); }, {{11, 2}}},
                      PageChange{"liftoff", [](auto& d) { d.OnLiftOff(1); }, {{13, 1}}},
                      PageChange{"deepsleep", [](auto& d) { d.OnDeepSleep(1); }, {{93, 1}}},
                      PageChange{"calibration", [](auto& d) { d.OnLinearCalibration(1); }, {{10, 1}}},
                      PageChange{"motionsync", [](auto& d) { d.OnMotionSync(1); }, {{74, 1}}},
                      PageChange{"keydelay", [](auto& d) { d.OnKeyDelay(2); }, {{72, 5}}},
                      PageChange{"dormancy", [](auto& d) { d.OnDormancy(3); }, {{70, 44}, {71, 1}}},
                      PageChange{"stage",
                                 [](auto& d) { d.OnStageSlider(2, 1201); },
                                 {{14 + 18 + 2, 0xB1}, {14 + 18 + 3, 0x04}}},
                      PageChange{"stageoff", [](auto& d) { d.OnStageEnabled(4, false); }, {{14 + 36, 0}}},
                      PageChange{"typed", [](auto& d) { d.OnStageSlider(0, 30); }, {{16, 50}, {17, 0}}}),
    [](const auto& testInfo) { return std::string(testInfo.param.name); });

TEST_F(MouseDeviceTest, RateSevenIsWrittenAsSevenAndShownAsOptionZero) {
    Start();
    for (int n = 0; n < 5; ++n) {
        auto* option = new COptionUI;
        option->SetName("polling_rate_option_" + std::to_string(n));
        device->Add(option);
    }
    ASSERT_TRUE(Open());
    ASSERT_EQ(device->Connect(), 1);
    MouseSystemRecord sys = device->Profile().GetMouseSystem();
    sys.SetReportRate(7);
    device->Profile().SetMouseSystem(sys);
    ASSERT_EQ(device->WriteSettingsBlock(0, 0), 1);
    EXPECT_EQ(Block0()[Block::kReportRate], 7);
    device->RefreshPage();
    for (int n = 0; n < 5; ++n) {
        auto* option = dynamic_cast<COptionUI*>(device->GetItemAt(n));
        ASSERT_NE(option, nullptr);
        EXPECT_EQ(option->IsSelected(), n == 0) << n;
    }
}

TEST_F(MouseDeviceTest, SliderValueShowsRoundedAndIsStoredAsIs) {
    Start();
    auto* slider = new CSliderUI;
    slider->SetName("DPI_slider_1");
    auto* edit = new CEditUI;
    edit->SetName("DPI_edit_1");
    device->Add(slider);
    device->Add(edit);
    device->BindPage();
    ASSERT_TRUE(Open());
    ASSERT_EQ(device->Connect(), 1);
    EXPECT_EQ(slider->GetMaxValue(), 26000);

    device->OnStageSliderMove(1, 1201);  // while it moves only the page follows
    EXPECT_EQ(edit->GetText(), "1250");
    EXPECT_NE(device->Profile().GetDpiStages()[1].DpiX(), 1201);

    device->OnStageSlider(1, 1201);
    EXPECT_EQ(edit->GetText(), "1250");
    EXPECT_EQ(device->Profile().GetDpiStages()[1].DpiX(), 1201);
    EXPECT_EQ(ProfileOnDisk()["DPIStages"]["StageDPIs"][1]["StageDPIX"].asInt(), 1201);
    EXPECT_EQ(Block0()[Block::kStages + 9 + 2], 0xB1);
    EXPECT_EQ(Block0()[Block::kStages + 9 + 3], 0x04);

    edit->SetText("30");
    device->OnStageEditDone(1);
    EXPECT_EQ(device->Profile().GetDpiStages()[1].DpiX(), 50);
    edit->SetText("99999");
    device->OnStageEditDone(1);
    EXPECT_EQ(device->Profile().GetDpiStages()[1].DpiX(), 26000);
}

TEST_F(MouseDeviceTest, AWriteWithoutAMirrorReadsTheBlockFirst) {
    Start();
    WriteMemory(Block::kMotionSync + 1, CarriedPattern());
    ASSERT_TRUE(Open());
    mouse->Faults().Arm(EmulatedFault::NoAnswer, CFaultPlan::kUntilCleared, 0x05);
    device->Connect();
    EXPECT_FALSE(device->HasMirror());

    // Still no answer: nothing is written, the profile keeps the value.
    const std::vector<uint8_t> before = Block0();
    device->OnPollingRate(3);
    EXPECT_EQ(Block0(), before);
    EXPECT_EQ(ProfileOnDisk()["ReportStages"]["StageActive"].asInt(), 3);
    EXPECT_EQ(device->WriteSettingsBlock(0, 0), kResultNoAnswer);

    // The mouse answers again: the write reads the block, then carries the new values and the
    // bytes it does not know.
    mouse->Faults().Clear();
    device->OnMotionSync(1);
    EXPECT_TRUE(device->HasMirror());
    const std::vector<uint8_t> after = Block0();
    EXPECT_EQ(after[Block::kReportRate], 3);
    EXPECT_EQ(after[Block::kMotionSync], 1);
    ExpectCarriedBytes(after);
}

struct WriteFault {
    const char* name;
    int command;
    EmulatedFault fault;
    int result;
    bool blockChanged;
};

class MouseWriteFault : public MouseDeviceTest, public ::testing::WithParamInterface<WriteFault> {};

TEST_P(MouseWriteFault, ReportsTheFirstFailureAndStillEndsTheFrame) {
    const WriteFault& c = GetParam();
    Start();
    ASSERT_TRUE(Open());
    ASSERT_EQ(device->Connect(), 1);
    MouseSystemRecord sys = device->Profile().GetMouseSystem();
    sys.SetReportRate(2);
    device->Profile().SetMouseSystem(sys);
    const std::vector<uint8_t> before = Block0();
    mouse->Faults().Arm(c.fault, 1, c.command);
    if (c.command != 0x02) mouse->Faults().Arm(EmulatedFault::StatusRejected, 1, 0x02);  // a later failure
    EXPECT_EQ(device->WriteSettingsBlock(0, 0), c.result);
    EXPECT_TRUE(mouse->Faults().Empty()) << "EndConfig was not sent";
    EXPECT_EQ(Block0() != before, c.blockChanged);
}

INSTANTIATE_TEST_SUITE_P(
    Faults, MouseWriteFault,
    ::testing::Values(
        WriteFault{"begin_no_answer", 0x01, EmulatedFault::NoAnswer, kResultNoAnswer, false},
        WriteFault{"begin_status", 0x01, EmulatedFault::StatusFailed, kResultStatusFailed, false},
        WriteFault{"write_status", 0x06, EmulatedFault::StatusFailed, kResultStatusFailed, false},
        WriteFault{"write_rejected", 0x06, EmulatedFault::StatusRejected, kResultStatusRejected, false},
        WriteFault{"end_rejected", 0x02, EmulatedFault::StatusRejected, kResultStatusRejected, true}),
    [](const auto& testInfo) { return std::string(testInfo.param.name); });

TEST_F(MouseDeviceTest, ReceiverOutOfRangeSendsNothingAndTheNextWriteCarriesTheValue) {
    Start("mouse@receiver");
    ASSERT_TRUE(Open(true));
    ASSERT_EQ(device->Connect(), 1);
    std::string error;
    ASSERT_TRUE(emulation->SetInRange("mouse-receiver", false, error)) << error;
    const std::vector<uint8_t> before = Block0();
    device->OnPollingRate(2);
    EXPECT_EQ(device->WriteSettingsBlock(0, 0), kResultNoAnswer);
    EXPECT_EQ(Block0(), before);
    EXPECT_EQ(device->Profile().GetMouseSystem().ReportRate(), 2);

    ASSERT_TRUE(emulation->SetInRange("mouse-receiver", true, error)) << error;
    device->OnMotionSync(1);
    EXPECT_EQ(Block0()[Block::kReportRate], 2);
    EXPECT_EQ(Block0()[Block::kMotionSync], 1);
}

struct FirmwareCase {
    uint16_t version;
    size_t notices;
};

class MouseFirmwareNotice : public MouseDeviceTest, public ::testing::WithParamInterface<FirmwareCase> {};

TEST_P(MouseFirmwareNotice, OldCableFirmwareIsReported) {
    Start();
    mouse->SetFirmwareVersion(EmulatedPort::Cable, GetParam().version);
    ASSERT_TRUE(Open());
    device->Connect();
    const auto notices = window->Of(UM_FIRMWARE_OUTDATED);
    ASSERT_EQ(notices.size(), GetParam().notices);
    if (!notices.empty()) {
        EXPECT_EQ(notices[0].wParam, 0x225Au);
        EXPECT_EQ(notices[0].lParam, GetParam().version);
    }
}

INSTANTIATE_TEST_SUITE_P(Versions, MouseFirmwareNotice,
                         ::testing::Values(FirmwareCase{0x0110, 0}, FirmwareCase{0x010F, 1},
                                           FirmwareCase{0x0200, 0}));

TEST_F(MouseDeviceTest, NotificationsSetSlotAndStage) {
    Start("mouse@both");
    ASSERT_TRUE(Open());
    ASSERT_EQ(device->Connect(), 1);
    ASSERT_TRUE(device->OpenNotificationOfKind(kDeviceKindMouse, kMouseCableNotify));
    ASSERT_TRUE(device->OpenNotificationOfKind(kDeviceKindMouseReceiver, kMouseReceiverNotify));
    std::string error;
    ASSERT_TRUE(emulation->Notify("mouse", 0x1123, error)) << error;
    EXPECT_TRUE(WaitFor([&] { return device->GetActiveSlot() == 3 && device->GetActiveStage() == 2; }));
    ASSERT_TRUE(emulation->Notify("mouse-receiver", 0x1005, error)) << error;
    EXPECT_TRUE(WaitFor([&] { return device->GetActiveSlot() == 5; }));
    EXPECT_EQ(device->GetActiveStage(), 2);

    // The refresh runs on the UI thread and stores the stage the mouse switched to.
    EXPECT_TRUE(WaitFor([&] {
        loop.ProcessPending();
        return device->Profile().GetActiveDpiStage() == 2;
    }));
    EXPECT_EQ(ProfileOnDisk()["DPIStages"]["StageActive"].asInt(), 2);

    device->CloseNotificationOfKind(kDeviceKindMouseReceiver);
    device->CloseNotificationOfKind(kDeviceKindMouse);
    EXPECT_FALSE(device->IsNotificationOfKindOpen(kDeviceKindMouseReceiver));
    EXPECT_FALSE(device->IsNotificationOfKindOpen(kDeviceKindMouse));
}

TEST_F(MouseDeviceTest, ResyncNotificationRereadsTheBlockOnTheUiThread) {
    Start();
    CContainerUI selector;  // owns the option
    auto* option = new CDeviceOptionUI;
    selector.Add(option);
    option->SetDevice(device.get());
    device->SetDeviceOption(option);
    ASSERT_TRUE(Open());
    ASSERT_EQ(device->Connect(), 1);
    ASSERT_TRUE(device->OpenNotificationOfKind(kDeviceKindMouse, kMouseCableNotify));

    // The report rate changes on the mouse itself, which then asks to be read again.
    const int rate = device->Profile().GetMouseSystem().ReportRate() == 4 ? 1 : 4;
    WriteMemory(Block::kReportRate, {static_cast<uint8_t>(rate)});
    std::string error;
    ASSERT_TRUE(emulation->Notify("mouse", 0x0401, error)) << error;
    ASSERT_TRUE(WaitFor([&] { return loop.HasTimer(option, CDeviceOptionUI::kTimerResync); }));
    EXPECT_NE(device->Profile().GetMouseSystem().ReportRate(), rate);  // nothing read on the reader thread
    loop.AdvanceBy(std::chrono::milliseconds(100));
    EXPECT_EQ(device->Profile().GetMouseSystem().ReportRate(), rate);
    EXPECT_EQ(ProfileOnDisk()["ReportStages"]["StageActive"].asInt(), rate);
    device->CloseNotificationOfKind(kDeviceKindMouse);
}

TEST_F(MouseDeviceTest, PollStatusFeedsThePanel) {
    Start();
    mouse->SetBattery(80, 1);
    ASSERT_TRUE(Open());
    EXPECT_EQ(device->PollStatus(), 1);
    ASSERT_EQ(sink.records.size(), 1u);
    ASSERT_EQ(sink.records[0].size(), 6u);
    EXPECT_EQ(sink.records[0][0], 80);
    EXPECT_EQ(sink.records[0][1], 1);
    EXPECT_EQ(sink.records[0][3], 0);  // by cable
    EXPECT_EQ(window->Of(UM_DEVICE_STATUS).size(), 1u);

    device->SetPollingHold(true);
    EXPECT_EQ(device->PollStatus(), 0);
    EXPECT_EQ(sink.records.size(), 1u);
}

TEST_F(MouseDeviceTest, RecoilPatternsReachTheMouse) {
    Start();
    ASSERT_TRUE(Open());
    ASSERT_TRUE(locations->EnsureKindFolder(ProfileKind::Mouse));
    const std::filesystem::path folder = locations->KindFolder(ProfileKind::Mouse);
    Json::Value pattern(Json::objectValue);
    Json::Value event(Json::objectValue);
    event["Action"] = "down";
    event["Button"] = 3;
    event["Delay"] = 5;
    event["Type"] = 4;
    for (int i = 0; i < 6; ++i) pattern["Events"].append(event);
    for (int g = 0; g < 4; ++g)
        ASSERT_TRUE(CJsonFileUtil().WriteJsonFile(MouseRecoilFile(folder, g), pattern));

    EXPECT_EQ(device->WriteRecoilData(), 1);
    const auto image = BuildMouseRecoilImage(folder);
    ASSERT_TRUE(image.has_value());
    const std::vector<uint8_t> area = mouse->ReadArea("recoil");
    ASSERT_GE(area.size(), image->size());
    EXPECT_TRUE(std::equal(image->begin(), image->end(), area.begin()));
}

TEST_F(MouseDeviceTest, KeyLayerAndMacrosReachTheMouse) {
    Start();
    ASSERT_TRUE(Open());
    ASSERT_EQ(device->Connect(), 1);
    const std::filesystem::path folder = locations->KindFolder(ProfileKind::Mouse);
    Json::Value config(Json::objectValue);
    for (const char* guid : {"m0", "m1"}) {
        Json::Value e(Json::objectValue);
        e["MacroName"] = guid;
        e["Guid"] = guid;
        config["MacroInfo"].append(e);
    }
    ASSERT_TRUE(CJsonFileUtil().WriteJsonFile(folder / "macro.config", config));
    Json::Value macro(Json::objectValue);
    Json::Value event(Json::objectValue);
    event["Action"] = "down";
    event["Button"] = 4;
    event["Delay"] = "50";
    event["Type"] = 10;
    macro["Events"].append(event);
    ASSERT_TRUE(CJsonFileUtil().WriteJsonFile(folder / "m1.mac", macro));

    std::vector<KeyAssignRecord> keys = device->Profile().GetKeyList();
    ASSERT_GE(keys.size(), 3u);
    keys[2].assignment = {0x70, 1, 0};  // macro 1 is the first (and only) macro used: sent as 0
    EXPECT_EQ(device->WriteKeyLayer1(0, keys), 1);
    const size_t k = device->KeyMap()[2];
    ASSERT_NE(k, kMouseNoKey);
    const std::vector<uint8_t> table = mouse->ReadArea("key_table");
    EXPECT_EQ(table[3 * k], 0x70);
    EXPECT_EQ(table[3 * k + 1], 0);
    EXPECT_EQ(device->WriteKeyLayer1(1, keys), kResultBankNotZero);

    device->Profile().SetKeyList(keys);
    const std::vector<int> used = device->GetUsedMacros();
    ASSERT_EQ(used, std::vector<int>{1});
    EXPECT_EQ(device->WriteMacros(used), 0);
    const std::vector<uint8_t> area = mouse->ReadArea("macro");
    ASSERT_GE(area.size(), 26u);
    EXPECT_EQ(area[0], 0xAA);
    EXPECT_EQ(area[1], 0x55);
    EXPECT_EQ(area[2], 26);  // 16 + 6 + 4
    EXPECT_EQ(area[16], 18);
    EXPECT_EQ(area[18], 1);
    EXPECT_EQ(area[22], 0x32);
    EXPECT_EQ(area[24], 0x8A);
    EXPECT_EQ(area[25], 0x04);
}

}  // namespace
}  // namespace zevik::test
