#pragma once
// A COrbantixMouseDevice over the emulated mouse, with its own data and program folders (the real
// factory files copied in), a plain message loop on the test thread and a main window that records
// the messages the device sends it.

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "devices/device_status_sink.h"
#include "devices/mouse_device.h"
#include "emulator/emulation.h"
#include "emulator/mouse_model.h"
#include "settings/json_file_util.h"
#include "settings/profile_locations.h"
#include "ui/plain_message_loop.h"
#include "ui/window_wnd.h"

namespace zevik::test {

inline constexpr const char* kMouseCable = "emu:mouse#vid_320f&pid_225a&mi_01&col04";
inline constexpr const char* kMouseCableNotify = "emu:mouse#vid_320f&pid_225a&mi_01&col03";
inline constexpr const char* kMouseReceiver = "emu:mouse-receiver#vid_320f&pid_225b&mi_01&col04";
inline constexpr const char* kMouseReceiverNotify = "emu:mouse-receiver#vid_320f&pid_225b&mi_01&col03";

class CRecordingWindow final : public CWindowWnd {
public:
    struct Message {
        UINT msg;
        WPARAM wParam;
        LPARAM lParam;
    };
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override {
        log.push_back({msg, wParam, lParam});
        return 1;
    }
    std::vector<Message> Of(UINT msg) const {
        std::vector<Message> out;
        for (const Message& m : log) {
            if (m.msg == msg) out.push_back(m);
        }
        return out;
    }
    std::vector<Message> log;
};

class CRecordingStatusSink final : public IDeviceStatusSink {
public:
    void ShowDeviceStatus(std::span<const std::uint8_t> record) override {
        records.emplace_back(record.begin(), record.end());
    }
    std::vector<std::vector<std::uint8_t>> records;
};

class MouseDeviceTest : public ::testing::Test {
protected:
    void TearDown() override {
        device.reset();
        if (window) window->DestroyWindow();
        std::filesystem::remove_all(root);
    }

    // Emulates the list ("mouse", "mouse@receiver", "mouse@both") and builds the device.
    void Start(const char* list = "mouse") {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        std::string leaf = std::string(info->test_suite_name()) + "-" + info->name();
        for (char& c : leaf) {
            if (c == '/') c = '_';
        }
        root = std::filesystem::temp_directory_path() / ("zevik-mouse-device-" + leaf);
        std::filesystem::remove_all(root);
        const std::filesystem::path program = root / "program";
        std::filesystem::create_directories(program / "DefaultData");
        const std::filesystem::path factory =
            std::filesystem::path(ZEVIK_TEST_DATA_DIR) / ".." / ".." / "resources" / "DefaultData";
        for (const char* file : {"mouse.Json", "default_light.json"}) {
            std::filesystem::copy_file(factory / file, program / "DefaultData" / file);
        }
        locations = std::make_unique<CProfileLocations>(root / "data", program);

        std::string error;
        EmulationOptions options;
        options.list = list;
        emulation = CEmulation::Create(options, error);
        ASSERT_NE(emulation, nullptr) << error;
        mouse = dynamic_cast<CMouseModel*>(emulation->Model("mouse"));
        ASSERT_NE(mouse, nullptr);

        window = std::make_unique<CRecordingWindow>();
        ASSERT_NE(window->Create(0, "main", 0, 0), 0u);

        context.hidBackend = &emulation->Backend();
        context.uiLoop = &loop;
        context.profileLocations = locations.get();
        device = std::make_unique<COrbantixMouseDevice>(context);
        device->SetMainWindow(window->GetHWND());
        device->SetStatusSink(&sink);
    }

    // Opens the command channel the way the device list does.
    bool Open(bool receiver = false) {
        return device->CommandChannel().OpenConnection(receiver ? kMouseReceiver : kMouseCable,
                                                       receiver ? kConnectionReceiver : kConnectionCable);
    }

    std::vector<uint8_t> Memory() const { return mouse->ReadArea("memory"); }
    std::vector<uint8_t> Block0() const {
        const std::vector<uint8_t> memory = Memory();
        return {memory.begin(), memory.begin() + CMouseSettingsBlock::kSize};
    }
    void WriteMemory(size_t offset, std::vector<uint8_t> bytes) {
        ASSERT_TRUE(mouse->WriteArea("memory", offset, bytes));
    }

    // The profile file of the device as it is on disk.
    Json::Value ProfileOnDisk() const {
        const Json::Value file = CJsonFileUtil().ReadJsonFile(device->Profile().GetProfilePath());
        return file["Device"][0];
    }

    CPlainMessageLoop loop;
    std::filesystem::path root;
    std::unique_ptr<CProfileLocations> locations;
    std::unique_ptr<CEmulation> emulation;
    CMouseModel* mouse = nullptr;
    std::unique_ptr<CRecordingWindow> window;
    CRecordingStatusSink sink;
    DeviceContext context;
    std::unique_ptr<COrbantixMouseDevice> device;
};

}  // namespace zevik::test
