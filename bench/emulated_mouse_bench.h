#pragma once
// What the benchmarks of the mouse's page operations share: the emulated mouse (by cable or through
// its receiver) over the 1 ms-per-report USB link model, a count of the reports moved, the headless
// main window with the mouse connected, and a data folder of its own that is removed at the end; and
// the link's floor for a number of reports.

#include <unistd.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <memory>
#include <string>

#include "devices/mouse_device.h"
#include "emulator/emulation.h"
#include "shell/headless_session.h"

namespace zevik::bench {

inline const std::filesystem::path kSkin = std::filesystem::path(ZEVIK_RESOURCE_DIR) / "skin";
inline constexpr double kEndConfigPauseMs = 10.0;

// Every report's link time, both directions, plus the radio hop through the receiver, plus the
// 10 ms pause of each EndConfig.
inline double LinkFloorMs(double reports, bool receiver, int endConfigs) {
    using Ms = std::chrono::duration<double, std::milli>;
    const double perReport = Ms(kUsbFullSpeedFrame).count() + (receiver ? Ms(kReceiverRadioHop).count() : 0.0);
    return reports * perReport + endConfigs * kEndConfigPauseMs;
}

inline double MsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

class CEmulatedMouseBench {
public:
    // name: a word for the data folder; linkModel: the 1 ms USB frame (and radio hop) or no latency.
    CEmulatedMouseBench(const std::string& name, bool receiver, bool linkModel = true)
        : data_(std::filesystem::temp_directory_path() /
                ("zevik-bench-" + name + "-" + std::to_string(::getpid()) + (receiver ? "-r" : "-c"))) {
        EmulationOptions options;
        options.list = receiver ? "mouse@receiver" : "mouse";
        if (linkModel) {
            options.usbFrame = kUsbFullSpeedFrame;
            options.radioHop = kReceiverRadioHop;
        }
        emulation_ = CEmulation::Create(options, error_);
        if (!emulation_) return;
        emulation_->EmulatedBackend().SetReportHook(
            [this](EmulatedReportDirection, const std::string&, std::span<const uint8_t>) { ++reports; });
        session_ = std::make_unique<CHeadlessSession>(emulation_->Backend(), kSkin, data_, kSkin.parent_path());
        using namespace std::chrono_literals;
        if (session_->Start(error_)) mouse_ = session_->WaitForMouse(5s);
        if (mouse_ == nullptr && error_.empty()) error_ = "no mouse";
    }
    ~CEmulatedMouseBench() {
        session_.reset();
        emulation_.reset();
        std::error_code ec;
        std::filesystem::remove_all(data_, ec);
    }
    CEmulatedMouseBench(const CEmulatedMouseBench&) = delete;
    CEmulatedMouseBench& operator=(const CEmulatedMouseBench&) = delete;

    // The connected mouse; null, with Error() saying why, when it is not there.
    COrbantixMouseDevice* Mouse() const { return mouse_; }
    const std::string& Error() const { return error_; }
    CHeadlessSession& Session() { return *session_; }

    std::atomic<long> reports{0};

private:
    std::filesystem::path data_;
    std::string error_;
    std::unique_ptr<CEmulation> emulation_;
    std::unique_ptr<CHeadlessSession> session_;
    COrbantixMouseDevice* mouse_ = nullptr;
};

}  // namespace zevik::bench
