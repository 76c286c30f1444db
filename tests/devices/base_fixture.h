#pragma once
// Shared pieces of the device base tests: a device class that records what the base and its option
// call, a main window that follows UM_DEVICE_POWER, and the emulated mouse's interface paths.

#include <atomic>
#include <chrono>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "devices/device_messages.h"
#include "devices/device_option_ui.h"
#include "devices/orbantix_usb_device.h"
#include "transport/command_set.h"
#include "ui/container_ui.h"
#include "ui/message_loop.h"
#include "ui/window_wnd.h"

namespace zevik::test {

inline constexpr const char* kMouseCommandPath = "emu:mouse#vid_320f&pid_225a&mi_01&col04";
inline constexpr const char* kMouseNotificationPath = "emu:mouse#vid_320f&pid_225a&mi_01&col03";
inline constexpr const char* kReceiverCommandPath = "emu:mouse-receiver#vid_320f&pid_225b&mi_01&col04";

// A manually driven clock for the lighting steps.
class CManualClock final : public IDeviceClock {
public:
    std::uint64_t NowMs() const override { return now.load(); }
    std::atomic<std::uint64_t> now{0};
};

// A device that answers the link query the way the receiver-connected classes do and counts the calls
// of the operations the option's timers drive.
class CRecordingDevice : public COrbantixUSBDevice {
public:
    explicit CRecordingDevice(const DeviceContext& context) : COrbantixUSBDevice(context) {}
    ~CRecordingDevice() override { StopWorkers(); }

    int Connect() override {
        ++connects;
        return 1;
    }
    int Resync() override {
        ++resyncs;
        resyncThread = std::this_thread::get_id();
        return 1;
    }
    int Reserved1() override { return ++reserved1; }
    int Reserved2() override { return ++reserved2; }
    int PollStatus() override { return ++polls; }
    bool IsReceiverLinked() override {
        CCommandChannel& channel = CommandChannel();
        return channel.IsOpen() && channel.ReceiverMode() && QueryReceiverLink(channel);
    }
    void BindPageEx() override { ++bindPageEx; }
    // A device whose frame only goes to its page (as the mouse's) when previewOnly is set.
    bool IsLightingUnseen() const override { return previewOnly && IsPollingHold(); }
    bool previewOnly = false;

    // Opens the command channel on path the way the device list does.
    bool OpenCommand(const std::string& path, bool receiver) {
        return CommandChannel().OpenConnection(path, receiver ? kConnectionReceiver : kConnectionCable);
    }
    void CloseCommand() { CommandChannel().CloseConnections(); }

    std::atomic<int> connects{0};
    std::atomic<int> resyncs{0};
    std::atomic<int> reserved1{0};
    std::atomic<int> reserved2{0};
    std::atomic<int> polls{0};
    int bindPageEx = 0;
    std::thread::id resyncThread;
};

// The main window's part in showing and hiding options: UM_DEVICE_POWER shows or hides the option at
// wParam in the selector and is logged with the loop's time.
class CPowerWindow final : public CWindowWnd {
public:
    struct PowerMessage {
        std::uint64_t atMs;
        WPARAM index;
        LPARAM show;
    };

    CPowerWindow(CMessageLoop& loop, CContainerUI& selector) : m_loop(loop), m_selector(selector) {}

    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override {
        if (msg == UM_DEVICE_POWER) {
            log.push_back({m_loop.NowMs(), wParam, lParam});
            if (CControlUI* option = m_selector.GetItemAt(static_cast<int>(wParam))) {
                option->SetVisible(lParam != 0);
            }
            return 1;
        }
        return CWindowWnd::HandleMessage(msg, wParam, lParam);
    }

    std::vector<PowerMessage> log;

private:
    CMessageLoop& m_loop;
    CContainerUI& m_selector;
};

// Polls cond in real time (worker threads are involved) for up to timeout.
inline bool WaitFor(const std::function<bool()>& cond,
                    std::chrono::milliseconds timeout = std::chrono::seconds(3)) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!cond()) {
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
}

}  // namespace zevik::test
