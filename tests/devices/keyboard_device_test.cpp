#include <gtest/gtest.h>

#include <set>

#include "devices/device_messages.h"
#include "devices/keyboard_device_fixture.h"
#include "devices/keyboard_light_output.h"

namespace zevik::test {
namespace {

using KB = KeyboardSettingsBlock;

struct BoardCase {
    int positions;
    int connectResult;
    int blockSize;  // the channel's after connect
};

class KeyboardBoard : public KeyboardDeviceTest, public ::testing::WithParamInterface<BoardCase> {};

TEST_P(KeyboardBoard, ConnectLearnsWhereEachLogicalKeySitsAndWhichLedItDrives) {
    const BoardCase& c = GetParam();
    Start();
    UseBoard(c.positions);
    ASSERT_TRUE(Open());
    const uint16_t blockBefore = device->CommandChannel().BlockSize();

    EXPECT_EQ(device->Connect(), c.connectResult);
    EXPECT_EQ(device->CommandChannel().BlockSize(), c.blockSize ? c.blockSize : blockBefore);
    EXPECT_TRUE(device->HasMirror()) << "the settings block is read whatever the layout said";

    const KeyboardKeyMaps& maps = device->KeyMaps();
    const auto& defaults = KeyboardDefaultKeyCodes();
    const std::vector<uint8_t> codes = CKeyboardModel::FactoryKeyCodes(c.positions);
    std::set<int> positions;
    for (int j = 0; j < kKeyboardLogicalKeys; ++j) {
        const uint8_t k = maps.position[static_cast<size_t>(j)];
        if (k == kKeyboardNoPosition) {
            EXPECT_EQ(maps.led[static_cast<size_t>(j)], kNoLed) << "key " << j;
            continue;
        }
        positions.insert(k);
        ASSERT_LT(k, c.positions) << "key " << j;
        EXPECT_EQ(codes[3 * k], defaults[static_cast<size_t>(j)].type) << "key " << j;
        EXPECT_EQ(codes[3 * k + 2], defaults[static_cast<size_t>(j)].p2) << "key " << j;
        EXPECT_EQ(maps.led[static_cast<size_t>(j)], (k + 1) % c.positions) << "key " << j;
    }
    if (c.blockSize == 0) {
        EXPECT_TRUE(positions.empty()) << "a refused layout matches no key";
    } else {
        // Every key of the board is found; the blank positions (20 00 00) only through the first.
        EXPECT_EQ(static_cast<int>(positions.size()), std::min(c.positions, int{CKeyboardModel::kFullSizePositions}) +
                              (c.positions > CKeyboardModel::kFullSizePositions ? 1 : 0));
        EXPECT_EQ(device->PositionCount(), c.positions);
    }
}

INSTANTIATE_TEST_SUITE_P(Sizes, KeyboardBoard,
                         ::testing::Values(BoardCase{109, kResultDone, 327}, BoardCase{100, kResultDone, 300},
                                           BoardCase{170, kResultDone, 510},
                                           BoardCase{171, kResultNoAnswer, 0}));

TEST_F(KeyboardDeviceTest, FullSizeBoardHasEveryKeyOfItsLayoutIncludingFnAndTheMacroKeys) {
    Start();
    ASSERT_TRUE(Open());
    ASSERT_EQ(device->Connect(), kResultDone);
    const KeyboardKeyMaps& maps = device->KeyMaps();
    for (int key : {0, 21, 42, 63, 84, 105, 108, kKeyboardFunctionKey, 119, 120, 124}) {
        EXPECT_NE(maps.position[static_cast<size_t>(key)], kKeyboardNoPosition) << "key " << key;
    }
    for (int key : {18, 79, 100, 125, 126, 169}) {
        EXPECT_EQ(maps.position[static_cast<size_t>(key)], kKeyboardNoPosition) << "key " << key;
    }
}

TEST_F(KeyboardDeviceTest, LedIndexesOfOneHundredSeventyOrMoreAreIgnored) {
    Start();
    ASSERT_TRUE(keyboard->WriteArea("led_index", 0, std::vector<uint8_t>{170, 200, 169}));
    ASSERT_TRUE(Open());
    ASSERT_EQ(device->Connect(), kResultDone);
    const KeyboardKeyMaps& maps = device->KeyMaps();
    EXPECT_EQ(maps.led[0], kNoLed) << "Escape sits at position 0, LED 170";
    EXPECT_EQ(maps.led[1], kNoLed) << "F1 sits at position 1, LED 200";
    EXPECT_EQ(maps.led[2], 169);
}

TEST_F(KeyboardDeviceTest, ConnectReadsTheActiveSlotsBlockIntoLightingOptionsAndProfile) {
    Start();
    std::vector<uint8_t> block = CKeyboardModel::FactoryBlock(2);
    block[KB::kLightMode] = 12;
    block[KB::kBrightness] = 3;
    block[KB::kSpeedInverted] = 1;
    block[KB::kDirection] = 1;
    block[KB::kRed] = 10;
    block[KB::kGreen] = 20;
    block[KB::kBlue] = 30;
    block[KB::kLedModeVariant] = 2;
    block[KB::kWFlag] = 1;
    block[KB::kSixKey] = 1;
    block[KB::kWinLock] = 1;
    block[KB::kReportRate] = 0;  // the profile keeps its own rate
    block[KB::kCustomSlot] = 5;
    block[16] = 0x77;
    WriteMemory(2 * KB::kSlotStride, block);
    WriteMemory(0, {2});
    ASSERT_TRUE(Open());

    ASSERT_EQ(device->Connect(), kResultDone);
    EXPECT_EQ(device->GetActiveSlot(), 2);
    EXPECT_EQ(device->Mirror()[KB::kSlot], 2);
    EXPECT_EQ(device->Mirror()[16], 0) << "byte 16 is always 0";
    const LightInfoRecord light = device->GetLighting();
    EXPECT_EQ(light.selectItem, 12);
    EXPECT_EQ(light.light, 3);
    EXPECT_EQ(light.speed, 3);
    EXPECT_EQ(light.fx, 1);
    EXPECT_EQ(light.red, 10);
    EXPECT_EQ(light.green, 20);
    EXPECT_EQ(light.blue, 30);
    EXPECT_EQ(light.zzccLedMode, 2);
    EXPECT_EQ(light.customGroup, 5);
    EXPECT_EQ(device->Engine().Mode(), 12);
    const KeyboardSystemRecord sys = device->GetSystemRecord();
    EXPECT_EQ(sys.WFlag(), 1);
    EXPECT_EQ(sys.Key6Flag(), 1);
    EXPECT_EQ(sys.WinFlag(), 1);
    EXPECT_EQ(sys.PollingRate(), 3) << "the report rate is not taken from the keyboard";
    EXPECT_EQ(sys.Repeat(), 31);
    const Json::Value saved = ProfileOnDisk();
    EXPECT_EQ(saved["LightInfo"]["SelectItem"].asInt(), 12);
    EXPECT_EQ(saved["SystemStages"]["WinFlag"].asInt(), 1);
}

TEST_F(KeyboardDeviceTest, StreamedModeByteKeepsTheModeInForceWithoutEnteringIt) {
    Start();
    ASSERT_TRUE(Open());
    ASSERT_EQ(device->Connect(), kResultDone);
    LightInfoRecord light = device->GetLighting();
    light.selectItem = 29;
    device->SetLighting(light);
    ASSERT_EQ(device->Engine().Mode(), 29);
    // Let the mode run, so an entry step would show as a restarted counter.
    for (int i = 0; i < 5; ++i) device->RunLightStep();
    const auto counterBefore = device->Engine().State().counter;

    WriteMemory(KB::kLightMode, {KB::kStreamedMode, 1});
    ASSERT_EQ(device->ReadSettingsBlock(), kResultDone);
    EXPECT_EQ(device->GetLighting().selectItem, 29);
    EXPECT_EQ(device->Engine().Mode(), 29);
    EXPECT_EQ(device->Engine().State().counter, counterBefore);
    EXPECT_EQ(device->GetLighting().light, 1) << "the other fields are read";
    EXPECT_EQ(ProfileOnDisk()["LightInfo"]["SelectItem"].asInt(), 29);
}

struct BlockField {
    const char* name;
    std::function<void(COrbantixKeyboardDevice&)> change;
    std::vector<std::pair<size_t, int>> bytes;
};

class KeyboardBlockWrite : public KeyboardDeviceTest, public ::testing::WithParamInterface<BlockField> {};

TEST_P(KeyboardBlockWrite, EachFieldReachesItsByteAndTheUnlistedBytesTravelUnchanged) {
    Start();
    // Bytes the program does not interpret, as the keyboard holds them.
    std::vector<uint8_t> carried;
    for (size_t i : {9, 10, 11, 12, 13, 14, 15, 17, 23, 24, 26, 27, 28, 29, 30, 31, 32}) {
        WriteMemory(i, {static_cast<uint8_t>(0xC0 + i)});
    }
    ASSERT_TRUE(Open());
    ASSERT_EQ(device->Connect(), kResultDone);

    GetParam().change(*device);
    const std::vector<uint8_t> block = Block();
    for (const auto& [offset, value] : GetParam().bytes) EXPECT_EQ(block[offset], value) << "byte " << offset;
    for (size_t i : {9, 10, 11, 12, 13, 14, 15, 17, 23, 24, 26, 27, 28, 29, 30, 31, 32}) {
        EXPECT_EQ(block[i], 0xC0 + i) << "byte " << i;
    }
    EXPECT_EQ(block[16], 0);
    EXPECT_EQ(block[KB::kSlot], 0) << "the slot value of the write";
}

void Light(COrbantixKeyboardDevice& d, const std::function<void(LightInfoRecord&)>& edit) {
    LightInfoRecord light = d.GetLighting();
    edit(light);
    d.SetLighting(light);
    ASSERT_EQ(d.WriteSettingsBlock(0, 0), kResultDone);
}

INSTANTIATE_TEST_SUITE_P(
    Fields, KeyboardBlockWrite,
    ::testing::Values(
        BlockField{"rate", [](auto& d) { ASSERT_EQ(d.SetReportRate(2), kResultDone); }, {{KB::kReportRate, 2}}},
        BlockField{"winlock", [](auto& d) { ASSERT_EQ(d.SetWinLock(true), kResultDone); }, {{KB::kWinLock, 1}}},
        BlockField{"wflag", [](auto& d) { ASSERT_EQ(d.SetWFlag(true), kResultDone); }, {{KB::kWFlag, 1}}},
        BlockField{"six_key", [](auto& d) { ASSERT_EQ(d.SetSixKey(true), kResultDone); }, {{KB::kSixKey, 1}}},
        BlockField{"mode", [](auto& d) { Light(d, [](auto& l) { l.selectItem = 17; }); }, {{KB::kLightMode, 17}}},
        BlockField{"mode_29_streamed",
                   [](auto& d) { Light(d, [](auto& l) { l.selectItem = 29; }); },
                   {{KB::kLightMode, 0xFE}}},
        BlockField{"mode_30_streamed",
                   [](auto& d) { Light(d, [](auto& l) { l.selectItem = 30; }); },
                   {{KB::kLightMode, 0xFE}}},
        BlockField{"brightness", [](auto& d) { Light(d, [](auto& l) { l.light = 1; }); }, {{KB::kBrightness, 1}}},
        BlockField{"speed_inverted",
                   [](auto& d) { Light(d, [](auto& l) { l.speed = 1; }); },
                   {{KB::kSpeedInverted, 3}}},
        BlockField{"direction", [](auto& d) { Light(d, [](auto& l) { l.fx = 0; }); }, {{KB::kDirection, 0}}},
        BlockField{"colour",
                   [](auto& d) {
                       Light(d, [](auto& l) {
                           l.multiColor = 0;
                           l.red = 1;
                           l.green = 2;
                           l.blue = 3;
                       });
                   },
                   {{KB::kMultiColour, 0}, {KB::kRed, 1}, {KB::kGreen, 2}, {KB::kBlue, 3}}},
        BlockField{"led_variant", [](auto& d) { Light(d, [](auto& l) { l.zzccLedMode = 3; }); }, {{KB::kLedModeVariant, 3}}},
        BlockField{"custom_slot", [](auto& d) { Light(d, [](auto& l) { l.customGroup = 6; }); }, {{KB::kCustomSlot, 6}}}),
    [](const auto& testInfo) { return std::string(testInfo.param.name); });

TEST_F(KeyboardDeviceTest, RepeatAndRepeatDelayStayInTheProfile) {
    Start();
    ASSERT_TRUE(Open());
    ASSERT_EQ(device->Connect(), kResultDone);
    const std::vector<uint8_t> before = keyboard->ReadArea("memory");
    EXPECT_TRUE(device->SetRepeat(7));
    EXPECT_TRUE(device->SetRepeatDelay(2));
    EXPECT_FALSE(device->SetRepeat(32));
    EXPECT_FALSE(device->SetRepeatDelay(4));
    EXPECT_EQ(keyboard->ReadArea("memory"), before);
    EXPECT_EQ(device->GetSystemRecord().Repeat(), 7);
    EXPECT_EQ(ProfileOnDisk()["SystemStages"]["RepeatDelay"].asInt(), 2);
    EXPECT_EQ(device->SetReportRate(5), 0) << "an out-of-range rate is refused";
    EXPECT_EQ(keyboard->ReadArea("memory"), before);
}

struct WriteFault {
    const char* name;
    int command;
    EmulatedFault fault;
    int result;
    bool blockChanged;
};

class KeyboardWriteFault : public KeyboardDeviceTest, public ::testing::WithParamInterface<WriteFault> {};

TEST_P(KeyboardWriteFault, ReportsTheFirstFailureAndStillEndsTheFrame) {
    const WriteFault& c = GetParam();
    Start();
    ASSERT_TRUE(Open());
    ASSERT_EQ(device->Connect(), kResultDone);
    device->SetSystemRecord([&] {
        KeyboardSystemRecord r = device->GetSystemRecord();
        r.SetPollingRate(1);
        return r;
    }());
    const std::vector<uint8_t> before = Block();
    keyboard->Faults().Arm(c.fault, 1, c.command);
    if (c.command != 0x02) keyboard->Faults().Arm(EmulatedFault::StatusRejected, 1, 0x02);  // a later failure
    EXPECT_EQ(device->WriteSettingsBlock(0, 0), c.result);
    EXPECT_TRUE(keyboard->Faults().Empty()) << "0x02 was not sent";
    EXPECT_EQ(Block() != before, c.blockChanged);
}

INSTANTIATE_TEST_SUITE_P(
    Faults, KeyboardWriteFault,
    ::testing::Values(WriteFault{"begin_no_answer", 0x01, EmulatedFault::NoAnswer, kResultNoAnswer, false},
                      WriteFault{"write_status", 0x06, EmulatedFault::StatusFailed, kResultStatusFailed, false},
                      WriteFault{"write_rejected", 0x06, EmulatedFault::StatusRejected, kResultStatusRejected,
                                 false},
                      WriteFault{"end_rejected", 0x02, EmulatedFault::StatusRejected, kResultStatusRejected, true}),
    [](const auto& testInfo) { return std::string(testInfo.param.name); });

TEST_F(KeyboardDeviceTest, FailedBlockReadKeepsMirrorLightingAndProfile) {
    Start();
    ASSERT_TRUE(Open());
    ASSERT_EQ(device->Connect(), kResultDone);
    const KeyboardSettingsBlock mirror = device->Mirror();
    const LightInfoRecord light = device->GetLighting();
    const Json::Value saved = ProfileOnDisk();

    WriteMemory(KB::kLightMode, {9, 0});  // what a successful read would take
    for (const EmulatedFault fault : {EmulatedFault::StatusRejected, EmulatedFault::StatusFailed}) {
        keyboard->Faults().Arm(fault, 1, 0x05);
        EXPECT_NE(device->ReadSettingsBlock(), kResultDone);
        EXPECT_EQ(device->Mirror().Data(), mirror.Data());
        EXPECT_EQ(device->GetLighting(), light);
        EXPECT_EQ(ProfileOnDisk(), saved);
    }
}

TEST_F(KeyboardDeviceTest, WritesNeedABlockReadOnThisConnection) {
    Start();
    keyboard->Faults().Arm(EmulatedFault::StatusRejected, 2, 0x05);  // connect's read fails
    ASSERT_TRUE(Open());
    device->Connect();
    ASSERT_FALSE(device->HasMirror());
    keyboard->Faults().Clear();

    // The write reads the block first; when that read fails too, nothing is written.
    const std::vector<uint8_t> before = Block();
    keyboard->Faults().Arm(EmulatedFault::StatusRejected, 1, 0x05);
    EXPECT_EQ(device->SetReportRate(1), kResultStatusRejected);
    EXPECT_EQ(Block(), before);

    // Once it reads, the bytes written are the keyboard's own with the change.
    EXPECT_EQ(device->SetReportRate(1), kResultDone);
    std::vector<uint8_t> expected = before;
    expected[KB::kReportRate] = 1;
    EXPECT_EQ(Block()[KB::kReportRate], 1);
    EXPECT_EQ(Block()[10], before[10]);
    EXPECT_EQ(Block()[30], before[30]);
}

TEST_F(KeyboardDeviceTest, RejectedLayoutReadsKeepTheMapsAndStillEndTheFrame) {
    Start();
    ASSERT_TRUE(Open());
    ASSERT_EQ(device->Connect(), kResultDone);
    const KeyboardKeyMaps maps = device->KeyMaps();
    UseBoard(100);
    for (const int command : {0x07, 0x1B}) {
        keyboard->Faults().Arm(EmulatedFault::StatusRejected, 1, command);
        keyboard->Faults().Arm(EmulatedFault::StatusFailed, 1, 0x02);
        EXPECT_EQ(device->Connect(), kResultStatusRejected) << std::hex << command;
        EXPECT_TRUE(keyboard->Faults().Empty()) << "0x02 was not sent";
        EXPECT_EQ(device->KeyMaps().position, maps.position);
        EXPECT_EQ(device->PositionCount(), 109);
    }
}

struct EventCase {
    const char* name;
    const char* target;  // "keyboard" (kind 1) or "keyboard-receiver" (kind 9)
    uint16_t code;
    int slot;
    int second;
    bool keyPressed;
};

class KeyboardEvents : public KeyboardDeviceTest, public ::testing::WithParamInterface<EventCase> {};

TEST_P(KeyboardEvents, EachInterfaceDecodesItsCodes) {
    const EventCase& c = GetParam();
    Start("keyboard@both");
    ASSERT_TRUE(Open());
    ASSERT_EQ(device->Connect(), kResultDone);
    device->StopLightingThread();  // the pressed key's level stays as the event left it
    LightInfoRecord light = device->GetLighting();
    light.selectItem = 7;  // reactive: a pressed key lights up
    device->SetLighting(light);
    ASSERT_EQ(device->WriteSettingsBlock(0, 0), kResultDone);  // so the resync below keeps the mode
    ASSERT_TRUE(device->OpenEventInterface(kDeviceKindKeyboard, kKeyboardCableEvents));
    ASSERT_TRUE(device->OpenEventInterface(kDeviceKindKeyboardReceiver, kKeyboardReceiverEvents));

    std::string error;
    loop.ProcessPending();  // what the connect told the main window, so that only the events remain
    ASSERT_TRUE(emulation->Notify(c.target, c.code, error)) << error;
    // A resync marker sent after the event shows it was handled.
    ASSERT_TRUE(emulation->Notify(c.target, 0x401, error)) << error;
    ASSERT_TRUE(WaitUntil([&] { return loop.ProcessPending() > 0; }));

    EXPECT_EQ(device->GetActiveSlot(), c.slot);
    EXPECT_EQ(device->GetSecondProfile(), c.second);
    // Position 0x23 holds keypad * (logical key 40) on the full-size board.
    const int key = 40;
    ASSERT_EQ(device->KeyMaps().position[key], 0x23);
    const KeyboardLightState state = device->Engine().State();
    EXPECT_EQ(state.level[key] != 0, c.keyPressed);

    device->CloseEventInterface(kDeviceKindKeyboardReceiver);
    device->CloseEventInterface(kDeviceKindKeyboard);
    EXPECT_FALSE(device->IsEventInterfaceOpen(kDeviceKindKeyboardReceiver));
    EXPECT_FALSE(device->IsEventInterfaceOpen(kDeviceKindKeyboard));
}

INSTANTIATE_TEST_SUITE_P(
    Codes, KeyboardEvents,
    ::testing::Values(EventCase{"slot_and_second_cable", "keyboard", 0x1123, 3, 2, false},
                      EventCase{"slot_and_second_receiver", "keyboard-receiver", 0x1123, 3, 2, false},
                      EventCase{"slot_cable", "keyboard", 0x1005, 5, 0, false},
                      EventCase{"slot_receiver", "keyboard-receiver", 0x1005, 5, 0, false},
                      EventCase{"ignored_cable", "keyboard", 0x0700, 0, 0, false},
                      EventCase{"ignored_receiver", "keyboard-receiver", 0x0700, 0, 0, false},
                      EventCase{"key_cable", "keyboard", 0x523, 0, 0, true},
                      EventCase{"key_receiver_ignored", "keyboard-receiver", 0x523, 0, 0, false}),
    [](const auto& testInfo) { return std::string(testInfo.param.name); });

TEST_F(KeyboardDeviceTest, ResyncRequestsRunOnTheUiLoopAndAReloadTakesTheProfileAgain) {
    Start();
    ASSERT_TRUE(Open());
    ASSERT_EQ(device->Connect(), kResultDone);
    ASSERT_TRUE(device->OpenEventInterface(kDeviceKindKeyboard, kKeyboardCableEvents));
    std::string error;

    WriteMemory(KB::kBrightness, {1});
    ASSERT_TRUE(emulation->Notify("keyboard", 0x401, error)) << error;
    EXPECT_TRUE(WaitUntil([&] {
        loop.ProcessPending();
        return device->GetLighting().light == 1;
    }));

    // 0x402: the profile on disk is taken again before the block.
    Json::Value file = CJsonFileUtil().ReadJsonFile(device->Profile().GetProfilePath());
    file["Device"][0]["SystemStages"]["Repeat"] = 5;
    ASSERT_TRUE(CJsonFileUtil().WriteJsonFile(device->Profile().GetProfilePath(), file));
    ASSERT_TRUE(emulation->Notify("keyboard", 0x402, error)) << error;
    EXPECT_TRUE(WaitUntil([&] {
        loop.ProcessPending();
        return device->GetSystemRecord().Repeat() == 5;
    }));
}

// While the window rests in the tray the lighting thread hands the music mode's frames to the stream
// itself: every step's frame by cable, one per 62.5 ms frame period through the receiver. While the
// window can be seen the frame timer does it, and the steps hand nothing over.
struct UnseenStreamCase {
    const char* name;
    bool receiver;
    bool unseen;
    std::uint64_t offers;  // of 16 steps of 31.25 ms
};

class KeyboardUnseenStream : public KeyboardDeviceTest,
                             public ::testing::WithParamInterface<UnseenStreamCase> {
protected:
    class ManualClock final : public IDeviceClock {
    public:
        std::uint64_t NowMs() const override { return now.load(); }
        std::atomic<std::uint64_t> now{0};
    };
    ManualClock clock;
};

TEST_P(KeyboardUnseenStream, TheStepsStreamTheMusicFramesAtTheFramePeriod) {
    const UnseenStreamCase& c = GetParam();
    context.clock = &clock;
    Start("keyboard@both");
    ASSERT_TRUE(Open(c.receiver));
    ASSERT_EQ(device->Connect(), kResultDone);
    device->StopLightingThread();  // the steps are run here, on the manual clock
    LightInfoRecord light = device->GetLighting();
    light.selectItem = 29;
    device->SetLighting(light);
    device->SetWindowUnseen(c.unseen);
    for (int i = 0; i < 16; ++i) {
        clock.now = static_cast<std::uint64_t>(1000 + i * 31.25);
        device->RunLightStep();
    }
    CKeyboardFrameStream& stream = device->LightOutput().Stream();
    const auto offers = [&] {
        const CKeyboardFrameStream::Counts n = stream.GetCounts();
        return n.sent + n.replaced + n.failed + n.dropped;
    };
    EXPECT_TRUE(WaitUntil([&] { return offers() == c.offers && !stream.HasPending(); }))
        << offers() << " frames handed over";
    EXPECT_EQ(stream.GetCounts().failed, 0u);
}

INSTANTIATE_TEST_SUITE_P(Links, KeyboardUnseenStream,
                         ::testing::Values(UnseenStreamCase{"cable_tray", false, true, 16},
                                           UnseenStreamCase{"receiver_tray", true, true, 8},
                                           UnseenStreamCase{"cable_seen", false, false, 0}),
                         [](const auto& param) { return std::string(param.param.name); });

TEST_F(KeyboardDeviceTest, StatusTellsTheConnectionAndReachesThePage) {
    Start("keyboard@both");
    for (const bool receiver : {false, true}) {
        device->CommandChannel().CloseConnections();
        ASSERT_TRUE(Open(receiver));
        ASSERT_EQ(device->PollStatus(), kResultDone);
        ASSERT_FALSE(sink.records.empty());
        EXPECT_EQ(sink.records.back().size(), 6u);
        EXPECT_EQ(sink.records.back()[3], receiver ? 1 : 0);
        EXPECT_EQ(device->IsReceiverLinked(), receiver);
    }
    EXPECT_EQ(window->Of(UM_DEVICE_STATUS).size(), 2u);
}

TEST_F(KeyboardDeviceTest, RestoreDefaultsTakesTheFactoryProfileAgain) {
    Start();
    ASSERT_TRUE(Open());
    ASSERT_EQ(device->Connect(), kResultDone);
    ASSERT_EQ(device->SetReportRate(0), kResultDone);
    ASSERT_TRUE(device->SetRepeat(2));
    ASSERT_EQ(device->RestoreDefaults(), 1);
    const KeyboardSystemRecord sys = device->GetSystemRecord();
    EXPECT_EQ(sys.PollingRate(), 3);
    EXPECT_EQ(sys.Repeat(), 31);
    EXPECT_EQ(ProfileOnDisk()["SystemStages"]["PollingRate"].asInt(), 3);
    EXPECT_EQ(ProfileOnDisk()["SystemStages"]["Repeat"].asInt(), 31);
}

TEST_F(KeyboardDeviceTest, ThroughTheReceiverTheSameKeyboardConnects) {
    Start("keyboard@both");
    ASSERT_TRUE(Open(true));
    EXPECT_EQ(device->Connect(), kResultDone);
    EXPECT_EQ(device->PositionCount(), 109);
    EXPECT_EQ(device->SetWinLock(true), kResultDone);
    EXPECT_EQ(Block()[KB::kWinLock], 1);
}

}  // namespace
}  // namespace zevik::test
