#pragma once
// A COrbantixKeyboardDevice over the emulated keyboard, with its own data and program folders (the
// real factory files copied in) and a plain message loop on the test thread. The board may be made
// smaller or larger than the full-size one before the device connects.

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "devices/keyboard_device.h"
#include "devices/mouse_device_fixture.h"
#include "emulator/emulation.h"
#include "emulator/keyboard_model.h"
#include "settings/json_file_util.h"
#include "settings/profile_locations.h"
#include "ui/plain_message_loop.h"

namespace zevik::test {

inline constexpr const char* kKeyboardCable = "emu:keyboard#vid_0000&pid_0000&mi_01&col04";
inline constexpr const char* kKeyboardCableEvents = "emu:keyboard#vid_0000&pid_0000&mi_01&col03";
inline constexpr const char* kKeyboardReceiver = "emu:keyboard-receiver#vid_0000&pid_0000&mi_01&col04";
inline constexpr const char* kKeyboardReceiverEvents = "emu:keyboard-receiver#vid_0000&pid_0000&mi_01&col03";

inline bool WaitUntil(const std::function<bool()>& cond) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(3);
    while (!cond()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
}

class KeyboardDeviceTest : public ::testing::Test {
protected:
    void TearDown() override {
        device.reset();
        if (window) window->DestroyWindow();
        std::filesystem::remove_all(root);
    }

    // Emulates the list ("keyboard", "keyboard@both") and builds the device.
    void Start(const char* list = "keyboard") {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        std::string leaf = std::string(info->test_suite_name()) + "-" + info->name();
        for (char& c : leaf) {
            if (c == '/') c = '_';
        }
        root = std::filesystem::temp_directory_path() / ("zevik-keyboard-device-" + leaf);
        std::filesystem::remove_all(root);
        const std::filesystem::path program = root / "program";
        std::filesystem::create_directories(program / "DefaultData");
        const std::filesystem::path factory =
            std::filesystem::path(ZEVIK_TEST_DATA_DIR) / ".." / ".." / "resources" / "DefaultData";
        for (const char* file : {"keyboard.Json", "default_light.json"}) {
            std::filesystem::copy_file(factory / file, program / "DefaultData" / file);
        }
        locations = std::make_unique<CProfileLocations>(root / "data", program);

        std::string error;
        EmulationOptions options;
        options.list = list;
        emulation = CEmulation::Create(options, error);
        ASSERT_NE(emulation, nullptr) << error;
        keyboard = dynamic_cast<CKeyboardModel*>(emulation->Model("keyboard"));
        ASSERT_NE(keyboard, nullptr);

        window = std::make_unique<CRecordingWindow>();
        ASSERT_NE(window->Create(0, "main", 0, 0), 0u);

        context.hidBackend = &emulation->Backend();
        context.uiLoop = &loop;
        context.profileLocations = locations.get();
        device = std::make_unique<COrbantixKeyboardDevice>(context);
        device->SetMainWindow(window->GetHWND());
        device->SetStatusSink(&sink);
        device->SeedRandom(7);
    }

    // The emulated board reports that many positions (its first ones of the full-size board).
    void UseBoard(int positions) {
        ASSERT_TRUE(keyboard->WriteArea("device_info", CKeyboardModel::kDeviceInfoPositions,
                                        std::vector<uint8_t>{static_cast<uint8_t>(positions)}));
        ASSERT_TRUE(keyboard->WriteArea("key_codes", 0, CKeyboardModel::FactoryKeyCodes(positions)));
        ASSERT_TRUE(keyboard->WriteArea("led_index", 0, CKeyboardModel::FactoryLedIndexes(positions)));
    }

    bool Open(bool receiver = false) {
        return device->CommandChannel().OpenConnection(receiver ? kKeyboardReceiver : kKeyboardCable,
                                                       receiver ? kConnectionReceiver : kConnectionCable);
    }

    std::vector<uint8_t> Block(int slot = 0) const {
        const std::vector<uint8_t> memory = keyboard->ReadArea("memory");
        const auto at = memory.begin() + slot * KeyboardSettingsBlock::kSlotStride;
        return {at, at + KeyboardSettingsBlock::kSize};
    }
    void WriteMemory(size_t offset, std::vector<uint8_t> bytes) {
        ASSERT_TRUE(keyboard->WriteArea("memory", offset, bytes));
    }

    Json::Value ProfileOnDisk() const {
        const Json::Value file = CJsonFileUtil().ReadJsonFile(device->Profile().GetProfilePath());
        return file["Device"][0];
    }

    CPlainMessageLoop loop;
    std::filesystem::path root;
    std::unique_ptr<CProfileLocations> locations;
    std::unique_ptr<CEmulation> emulation;
    CKeyboardModel* keyboard = nullptr;
    std::unique_ptr<CRecordingWindow> window;
    CRecordingStatusSink sink;
    DeviceContext context;
    std::unique_ptr<COrbantixKeyboardDevice> device;
};

}  // namespace zevik::test
