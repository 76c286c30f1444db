#pragma once
// CDeviceHook: the capture of the desktop's keys and buttons for the key page (mode 1) and for macro
// recording (modes 4, 8, 16, 32). Install starts an input source (the input devices, or event files
// given for scripted runs); its events, from whatever thread, are queued and the window is sent one
// message to take them on the UI thread, in order. Uninstall stops the source. Nothing is grabbed or
// swallowed: the desktop keeps every key.
//
// When no input device can be read, the key capture (mode 1) still starts and takes the key presses
// the window itself receives (OfferWindowKey: the key edit's own keys) in their place; a recording
// does not start.

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/input_source.h"
#include "ui/ui_types.h"

namespace zevik {

class CWindowWnd;

inline constexpr int kHookKeyCapture = 1;
inline constexpr int kHookRecordAppend = 4;
inline constexpr int kHookRecordBefore = 8;
inline constexpr int kHookRecordAfter = 16;
inline constexpr int kHookRecordReplace = 32;

class CDeviceHook {
public:
    using SourceFactory = std::function<std::unique_ptr<IInputSource>()>;

    // message: what the window is posted when events wait.
    CDeviceHook(CWindowWnd& window, UINT message);
    ~CDeviceHook();
    CDeviceHook(const CDeviceHook&) = delete;
    CDeviceHook& operator=(const CDeviceHook&) = delete;

    // Where the events come from (the input devices unless set).
    void SetSourceFactory(SourceFactory factory) { factory_ = std::move(factory); }

    // 1 on success; 0 with a message for the user when nothing can be read. A hook already installed
    // is removed first. A key capture that takes the window's keys instead counts as a success, with
    // LastError saying why the devices could not be read.
    int Install(int mode, std::string& error);
    void Uninstall();
    bool IsInstalled() const { return source_ != nullptr || takesWindowKeys_; }
    // The key capture runs on the window's own keys.
    bool TakesWindowKeys() const { return takesWindowKeys_; }
    // A key pressed in the window (its Linux input code); queued as a captured press when the
    // capture takes the window's keys, ignored otherwise (the devices report that key themselves).
    void OfferWindowKey(std::uint16_t code);
    int Mode() const { return mode_; }
    // Why the last Install failed ("" after a success).
    const std::string& LastError() const { return lastError_; }

    // The events that arrived since the last call (UI thread, on the window's message).
    std::vector<InputEvent> TakeEvents();

private:
    void Queue(const InputEvent& event);

    CWindowWnd& window_;
    UINT message_;
    SourceFactory factory_;
    std::unique_ptr<IInputSource> source_;
    int mode_ = 0;
    bool takesWindowKeys_ = false;
    std::string lastError_;
    std::mutex lock_;
    std::deque<InputEvent> queue_;
};

}  // namespace zevik
