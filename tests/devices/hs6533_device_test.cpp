// COrbantixHS6533Device over the emulated headset: the audio side on the emulator's sound card (the
// card found from the HID path at every connect), the levels that survive a restart, the effects the
// card does not offer marked as such yet kept in the profile, the status read, and the LED frames
// that reach the headset.

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <thread>

#include "audio/mapped_volume.h"
#include "devices/hs6533_device.h"
#include "emulator/emulation.h"
#include "emulator/headset_model.h"
#include "settings/profile_locations.h"
#include "ui/plain_message_loop.h"

namespace zevik::test {
namespace {

constexpr const char* kHeadsetPath = "emu:headset#vid_0c76&pid_1630&mi_03";

bool WaitFor(const std::function<bool()>& cond) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(3);
    while (!cond()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
}

class HeadsetDeviceTest : public ::testing::Test {
protected:
    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        root = std::filesystem::temp_directory_path() /
               (std::string("zevik-headset-device-") + info->test_suite_name() + "-" + info->name());
        std::filesystem::remove_all(root);
        const std::filesystem::path program = root / "program";
        std::filesystem::create_directories(program / "DefaultData");
        const std::filesystem::path factory =
            std::filesystem::path(ZEVIK_RESOURCE_DIR) / "DefaultData";
        for (const char* file : {"HD.Json", "default_light.json"}) {
            std::filesystem::copy_file(factory / file, program / "DefaultData" / file);
        }
        locations = std::make_unique<CProfileLocations>(root / "data", program);
        stateFile = root / "emulator.json";
    }
    void TearDown() override {
        device.reset();
        emulation.reset();
        std::filesystem::remove_all(root);
    }

    // Emulates the headset (from the state file when it exists), builds and connects the device.
    void Start() {
        device.reset();
        emulation.reset();
        std::string error;
        EmulationOptions options;
        options.list = "headset";
        options.stateFile = stateFile;
        emulation = CEmulation::Create(options, error);
        ASSERT_NE(emulation, nullptr) << error;
        model = dynamic_cast<CHeadsetModel*>(emulation->Model("headset"));
        context.hidBackend = &emulation->Backend();
        context.uiLoop = &loop;
        context.profileLocations = locations.get();
        context.emulation = emulation.get();
        device = std::make_unique<COrbantixHS6533Device>(context);
        DeviceInterfaceEntry identity;
        identity.vendorId = CHeadsetModel::kVendorId;
        identity.productId = CHeadsetModel::kProductId;
        identity.interfaceNumber = 3;
        identity.kind = kDeviceKindHeadset;
        identity.devicePath = kHeadsetPath;
        device->SetIdentity(identity);
        device->BindPage();
        ASSERT_TRUE(device->CommandChannel().OpenConnection(kHeadsetPath, kConnectionCable));
        ASSERT_EQ(device->Connect(), 1);
    }
    // Saves the emulator's state and lets both the device and the emulation go, as quitting does.
    void Quit() {
        device.reset();
        std::string error;
        ASSERT_TRUE(emulation->SaveState(error)) << error;
        emulation.reset();
    }

    std::vector<uint8_t> Mixer() const { return model->ReadArea("mixer"); }

    std::filesystem::path root;
    std::filesystem::path stateFile;
    std::unique_ptr<CProfileLocations> locations;
    CPlainMessageLoop loop;
    DeviceContext context;
    std::unique_ptr<CEmulation> emulation;
    CHeadsetModel* model = nullptr;
    std::unique_ptr<COrbantixHS6533Device> device;
};

TEST_F(HeadsetDeviceTest, FindsTheEmulatedSoundCardAndReadsItsMicrophone) {
    Start();
    EXPECT_EQ(device->SoundCardName(), "ZEVIK HS6533 (emulated)");
    EXPECT_TRUE(device->Audio().HasMicrophone());
    // The factory card: microphone on at raw 96 of 127, sidetone off.
    const HeadsetSystemRecord& record = device->Audio().Record();
    EXPECT_EQ(record.micInSelect, 1);
    EXPECT_EQ(record.micMoniterSelect, 0);
    EXPECT_GT(record.micInValue, 0);
}

TEST_F(HeadsetDeviceTest, MicrophoneLevelAndMuteReachTheCardAndComeBackAfterARestart) {
    Start();
    ASSERT_TRUE(device->Audio().SetMicrophoneLevel(37));
    ASSERT_TRUE(device->Audio().SetMicrophoneOn(false));
    ASSERT_TRUE(device->Audio().SetMonitorLevel(60));
    ASSERT_TRUE(device->Audio().SetMonitorOn(true));
    EXPECT_EQ(Mixer()[3], 0) << "the capture switch is off";
    EXPECT_EQ(Mixer()[5], 1) << "the sidetone switch is on";
    const std::vector<uint8_t> written = Mixer();

    Quit();
    // The profile forgets the card's state: only the card can bring it back.
    std::filesystem::remove_all(root / "data");
    Start();
    EXPECT_EQ(Mixer(), written);
    const HeadsetSystemRecord& record = device->Audio().Record();
    EXPECT_EQ(record.micInValue, 37);
    EXPECT_EQ(record.micInSelect, 0);
    // The sidetone has 33 steps: the card holds the step nearest 60, which reads back within one.
    EXPECT_NEAR(record.micMoniterValue, 60, 1);
    EXPECT_EQ(record.micMoniterSelect, 1);
}

TEST_F(HeadsetDeviceTest, EqualiserAndVoiceChangerAreNotAvailableYetKeptInTheProfile) {
    Start();
    const HeadsetAudioEffects& effects = device->Audio().Effects();
    EXPECT_FALSE(effects.equaliser);
    EXPECT_FALSE(effects.voiceChanger);
    EXPECT_EQ(effects.Unavailable(),
              (std::vector<std::string>{"equaliser", "surround", "reverb", "noise-cancelling", "voice-changer"}));

    // The writes fail (no such controls on the card); page and profile keep the choices.
    EXPECT_FALSE(device->Audio().ChoosePreset(3));
    EXPECT_FALSE(device->Audio().SetVoiceChanger(true));
    EXPECT_FALSE(device->Audio().SetVoiceType(2));

    Quit();
    Start();
    const HeadsetSystemRecord& record = device->Audio().Record();
    EXPECT_EQ(record.eqType, 3);
    EXPECT_EQ(record.magicEnable, 1);
    EXPECT_EQ(record.magicType, 2);
    EXPECT_EQ(device->Audio().Bands(), (std::vector<int>{10, 4, 0, -3, -4, -3, -2, -1, 0, 0}));
}

TEST_F(HeadsetDeviceTest, WithoutASoundCardTheMicrophoneWritesFailAndChangeNothing) {
    Start();
    // Another device's path: no card belongs to it.
    DeviceInterfaceEntry identity = device->GetIdentity();
    identity.devicePath = "emu:nothing#vid_0c76&pid_1630&mi_03";
    device->SetIdentity(identity);
    ASSERT_EQ(device->Connect(), 1);
    EXPECT_EQ(device->SoundCardName(), "");
    EXPECT_FALSE(device->Audio().HasMicrophone());
    const std::vector<uint8_t> before = Mixer();
    const int level = device->Audio().Record().micInValue;
    EXPECT_FALSE(device->Audio().SetMicrophoneLevel(level == 10 ? 20 : 10));
    EXPECT_EQ(device->Audio().Record().micInValue, level);
    EXPECT_EQ(Mixer(), before);
}

TEST_F(HeadsetDeviceTest, DefaultsRestoreTheFactoryProfileWhileTheCardKeepsItsLevels) {
    Start();
    device->Audio().ChoosePreset(3);
    ASSERT_TRUE(device->Audio().SetMicrophoneLevel(37));
    ASSERT_EQ(device->RestoreDefaults(), 1);
    EXPECT_EQ(device->Audio().Record().eqType, 5) << "the factory preset";
    EXPECT_EQ(device->Audio().Record().micInValue, 37) << "the level the card holds, not the factory 80";
    EXPECT_EQ(device->Profile().GetHeadsetSystem().eqType, 5);
}

TEST_F(HeadsetDeviceTest, PollStatusReadsSixBytesByCable) {
    Start();
    const uint8_t status[] = {1, 2, 3, 4, 5, 6};
    ASSERT_TRUE(model->WriteArea("status", 0, status));
    EXPECT_EQ(device->PollStatus(), 1);
    EXPECT_EQ(device->LastStatus(), (std::vector<uint8_t>{1, 2, 3, 0, 5, 6}));
}

TEST_F(HeadsetDeviceTest, TheLightingReachesBothGroupsOfLedsAfterConnect) {
    Start();
    // The factory profile: the colour cycle at full brightness.
    EXPECT_EQ(device->CurrentModeCode(), 1);
    const auto lit = [this](size_t group) {
        const std::vector<uint8_t> leds = model->ReadArea("leds");
        int count = 0;
        for (size_t i = 0; i < CHeadsetModel::kLedGroupSize; ++i)
            count += leds[group * CHeadsetModel::kLedGroupSize + i] != 0 ? 1 : 0;
        return count;
    };
    ASSERT_TRUE(WaitFor([&] { return lit(0) > 0 && lit(1) > 0; }));
    const std::vector<uint8_t> first = model->ReadArea("leds");
    EXPECT_TRUE(WaitFor([&] { return model->ReadArea("leds") != first; })) << "the colours move on";
    EXPECT_EQ(device->LedOutput().Link().ReportsFailed(), 0u);
}

TEST_F(HeadsetDeviceTest, TheFirstBlockWriteOfAConnectionReadsTheBlockAndKeepsTheFirmwaresBytes) {
    Start();
    LightInfoRecord light = device->GetLighting();
    light.selectItem = 3;  // static
    light.speed = 1;
    light.red = 10;
    device->SetLighting(light);
    ASSERT_EQ(device->WriteSettingsBlock(0, 0), 1);
    const std::vector<uint8_t> memory = model->ReadArea("memory");
    EXPECT_EQ(memory[1], 3) << "the mode's code";
    EXPECT_EQ(memory[3], 3) << "speed 1 goes as 4 - 1";
    EXPECT_EQ(memory[6], 10);
    EXPECT_EQ(memory[10], 0x5A) << "a firmware byte the host does not know came back as read";
    EXPECT_EQ(memory[20], 0xA5);
    EXPECT_EQ(device->BlockPort().Mirror()[3], 1) << "the mirror keeps the speed level";

    const uint8_t slot[] = {0};
    ASSERT_TRUE(model->WriteArea("memory", 0, slot));
    EXPECT_EQ(device->Resync(), 0);
    EXPECT_EQ(device->BlockPort().Mirror()[1], 3);
}

TEST_F(HeadsetDeviceTest, ConnectFailsWithTheChannelClosed) {
    Start();
    device->CommandChannel().CloseConnections();
    EXPECT_EQ(device->Connect(), 0);
}

}  // namespace
}  // namespace zevik::test
