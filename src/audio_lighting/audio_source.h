#pragma once
// IAudioSource: where our own capture hears the desktop's sound: 48 kHz mono, full scale +-1. The
// sound server's monitor in the program, a generated signal in the tests.

#include <functional>
#include <memory>
#include <span>
#include <string>

namespace zevik {

class IAudioSource {
public:
    virtual ~IAudioSource() = default;
    // Connects; false with the reason (no sound server, no output) when it cannot.
    virtual bool Open(std::string& error) = 0;
    // Fills samples, waiting for them as they are played; false with the reason when the stream broke
    // or the wait was interrupted.
    virtual bool Read(std::span<float> samples, std::string& error) = 0;
    // From any thread: an Open or Read waiting now or later returns false soon. A server that sends
    // nothing (a paused output, a stalled server) must not hold whoever stops the capture. Sources
    // whose waits end by themselves need not do anything.
    virtual void Interrupt() {}
};

using AudioSourceFactory = std::function<std::unique_ptr<IAudioSource>()>;

}  // namespace zevik
