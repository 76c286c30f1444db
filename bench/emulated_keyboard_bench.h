#pragma once
// The emulated keyboard (N = 109) for the benches: over the 1 ms-per-report USB link model, connected
// by cable or through its receiver (1 ms radio hop per report), with a data folder of its own that is
// removed at the end, and a count of the reports moved in both directions.

#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "devices/keyboard_device.h"
#include "emulator/emulation.h"
#include "settings/profile_locations.h"
#include "ui/plain_message_loop.h"

namespace zevik {

// How a rig is built: the UI loop's clock (real for benches that run the option's timers) and the
// keyboard object (a bench may watch its steps and frames through a class of its own).
struct KeyboardRigOptions {
    CPlainMessageLoop::ClockMode clock = CPlainMessageLoop::ClockMode::Virtual;
    std::function<std::unique_ptr<COrbantixKeyboardDevice>(const DeviceContext&)> makeDevice;
};

// The emulated keyboard over the link model, connected by cable or through its receiver, with a data
// folder of its own that is removed at the end.
class CKeyboardRig {
public:
    explicit CKeyboardRig(bool receiver, const KeyboardRigOptions& rigOptions = {})
        : root_(std::filesystem::temp_directory_path() /
                ("zevik-bench-keyboard-" + std::to_string(::getpid()))),
          loop_(rigOptions.clock) {
        std::filesystem::remove_all(root_);
        const std::filesystem::path program = root_ / "program";
        std::filesystem::create_directories(program / "DefaultData");
        const std::filesystem::path factory = std::filesystem::path(ZEVIK_RESOURCE_DIR) / "DefaultData";
        for (const char* file : {"keyboard.Json", "default_light.json"}) {
            std::filesystem::copy_file(factory / file, program / "DefaultData" / file);
        }
        locations_ = std::make_unique<CProfileLocations>(root_ / "data", program);
        EmulationOptions options;
        options.list = "keyboard@both";
        options.usbFrame = kUsbFullSpeedFrame;
        options.radioHop = kReceiverRadioHop;
        emulation_ = CEmulation::Create(options, error_);
        if (!emulation_) return;
        emulation_->EmulatedBackend().SetReportHook(
            [this](EmulatedReportDirection, const std::string&, std::span<const uint8_t>) { ++reports; });
        context_.hidBackend = &emulation_->Backend();
        context_.uiLoop = &loop_;
        context_.profileLocations = locations_.get();
        keyboard_ = rigOptions.makeDevice ? rigOptions.makeDevice(context_)
                                          : std::make_unique<COrbantixKeyboardDevice>(context_);
        std::vector<std::string> paths;
        emulation_->Backend().Enumerate(paths);
        std::string path;
        for (const std::string& p : paths) {
            const bool isReceiver = p.find("receiver") != std::string::npos;
            if (p.find("keyboard") != std::string::npos && p.find("col04") != std::string::npos && isReceiver == receiver) {
                path = p;
            }
        }
        if (path.empty() || !keyboard_->CommandChannel().OpenConnection(
                                path, receiver ? kConnectionReceiver : kConnectionCable)) {
            error_ = "the keyboard's command interface could not be opened";
        } else if (keyboard_->Connect() != kResultDone) {
            error_ = "the keyboard did not connect";
        }
    }
    ~CKeyboardRig() {
        keyboard_.reset();
        emulation_.reset();
        std::error_code ec;
        std::filesystem::remove_all(root_, ec);
    }
    COrbantixKeyboardDevice* Keyboard() const { return error_.empty() ? keyboard_.get() : nullptr; }
    const std::string& Error() const { return error_; }
    CPlainMessageLoop& Loop() { return loop_; }
    // The emulated keyboard's memory (its areas), as the emulator keeps it.
    CFirmwareModel* Model() const { return emulation_ ? emulation_->Model("keyboard") : nullptr; }

    std::atomic<long> reports{0};  // both directions

private:
    std::filesystem::path root_;
    std::string error_;
    CPlainMessageLoop loop_;
    DeviceContext context_;
    std::unique_ptr<CProfileLocations> locations_;
    std::unique_ptr<CEmulation> emulation_;
    std::unique_ptr<COrbantixKeyboardDevice> keyboard_;
};

}  // namespace zevik
