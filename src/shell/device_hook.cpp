#include "shell/device_hook.h"

#include <linux/input-event-codes.h>

#include "ui/window_wnd.h"

namespace zevik {

CDeviceHook::CDeviceHook(CWindowWnd& window, UINT message) : window_(window), message_(message) {}

CDeviceHook::~CDeviceHook() { Uninstall(); }

int CDeviceHook::Install(int mode, std::string& error) {
    Uninstall();
    std::unique_ptr<IInputSource> source = factory_ ? factory_() : MakeInputSource({});
    mode_ = mode;
    source_ = std::move(source);
    lastError_.clear();
    if (!source_->Start([this](const InputEvent& e) { Queue(e); }, error)) {
        const bool devicesUnreadable = source_->ReadsInputDevices();
        source_.reset();
        lastError_ = error;
        if (mode == kHookKeyCapture && devicesUnreadable) {
            takesWindowKeys_ = true;
            return 1;
        }
        mode_ = 0;
        return 0;
    }
    return 1;
}

void CDeviceHook::OfferWindowKey(std::uint16_t code) {
    if (takesWindowKeys_ && code != 0) Queue(InputEvent{InputClockNowUs(), EV_KEY, code, 1});
}

void CDeviceHook::Uninstall() {
    if (source_) source_->Stop();
    source_.reset();
    takesWindowKeys_ = false;
    mode_ = 0;
    std::lock_guard<std::mutex> hold(lock_);
    queue_.clear();
}

void CDeviceHook::Queue(const InputEvent& event) {
    bool first = false;
    {
        std::lock_guard<std::mutex> hold(lock_);
        first = queue_.empty();
        queue_.push_back(event);
    }
    // One message per batch: the window takes everything queued when it runs.
    if (first) window_.PostMessage(message_, 0, 0);
}

std::vector<InputEvent> CDeviceHook::TakeEvents() {
    std::lock_guard<std::mutex> hold(lock_);
    std::vector<InputEvent> events(queue_.begin(), queue_.end());
    queue_.clear();
    return events;
}

}  // namespace zevik
