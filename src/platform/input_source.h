#pragma once
// IInputSource: where recordings and key captures take the desktop's key and button events from.
// Start hands every key or button event to the sink, in order, until Stop; a source opens what it
// reads only between the two. The sink may be called on the source's own thread: the caller brings
// the events to the UI loop. MakeInputSource is the one place that chooses the source.

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "platform/input_event.h"

namespace zevik {

class IInputSource {
public:
    virtual ~IInputSource() = default;
    // False, with a message for the user, when nothing can be read.
    virtual bool Start(InputEventSink sink, std::string& error) = 0;
    virtual void Stop() = 0;
    // Whether it reads the desktop's input devices (not a replay): when such a source can read none,
    // a key capture takes the keys of the program's own window instead.
    virtual bool ReadsInputDevices() const { return false; }
};

// The event files when there are any (replayed, merged by time), else the input devices.
std::unique_ptr<IInputSource> MakeInputSource(const std::vector<std::filesystem::path>& eventFiles);

}  // namespace zevik
