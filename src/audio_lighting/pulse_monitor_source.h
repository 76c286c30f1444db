#pragma once
// CPulseMonitorSource: the desktop's sound as the sound server plays it, taken from the monitor of
// the default output (its sink name + ".monitor"). PulseAudio and PipeWire's PulseAudio server both
// serve it; ALSA alone cannot hear what others play. Never starts a server.
//
// It runs libpulse's own main loop on the caller's thread (the capture thread) rather than
// libpulse-simple's blocking read: a monitor that sends nothing would hold pa_simple_read, and with
// it whoever stops the capture, without end. Here every wait is a turn of the loop that Interrupt
// wakes from any thread.

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "audio_lighting/audio_source.h"

struct pa_context;
struct pa_mainloop;
struct pa_stream;

namespace zevik {

class CPulseMonitorSource final : public IAudioSource {
public:
    CPulseMonitorSource();
    ~CPulseMonitorSource() override;
    CPulseMonitorSource(const CPulseMonitorSource&) = delete;
    CPulseMonitorSource& operator=(const CPulseMonitorSource&) = delete;

    bool Open(std::string& error) override;
    bool Read(std::span<float> samples, std::string& error) override;
    void Interrupt() override;

    // The default output's name, asked of the server within a second; empty with the reason when
    // there is no server.
    static std::string DefaultSinkName(std::string& error);

private:
    bool Connect(std::string& error);
    std::string AskDefaultSink(std::string& error);
    bool Record(const std::string& monitor, std::string& error);
    // Turns the loop until ready() holds; false with the reason when the budget runs out, the
    // connection fails or Interrupt is called. A zero budget waits as long as it takes.
    bool TurnUntil(const std::function<bool()>& ready, std::chrono::milliseconds budget, std::string& error);
    // Moves what the server has sent into pending_.
    void TakeSent();
    std::string Broken(const std::string& what) const;

    pa_mainloop* loop_ = nullptr;  // from construction on, so that Interrupt can always wake it
    pa_context* context_ = nullptr;
    pa_stream* stream_ = nullptr;
    std::atomic<bool> interrupted_{false};
    std::vector<std::uint8_t> pending_;  // sent bytes not handed out yet
};

// A factory of the sound server's source.
AudioSourceFactory PulseMonitorSourceFactory();

}  // namespace zevik
