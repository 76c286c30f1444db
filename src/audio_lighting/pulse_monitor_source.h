#pragma once
// CPulseMonitorSource: the desktop's sound as the sound server plays it, taken from the monitor of
// the default output (its sink name + ".monitor") with libpulse-simple. PulseAudio and PipeWire's
// PulseAudio server both serve it; ALSA alone cannot hear what others play. Never starts a server.

#include <memory>

#include "audio_lighting/audio_source.h"

struct pa_simple;

namespace zevik {

class CPulseMonitorSource final : public IAudioSource {
public:
    CPulseMonitorSource() = default;
    ~CPulseMonitorSource() override;
    CPulseMonitorSource(const CPulseMonitorSource&) = delete;
    CPulseMonitorSource& operator=(const CPulseMonitorSource&) = delete;

    bool Open(std::string& error) override;
    bool Read(std::span<float> samples, std::string& error) override;

    // The default output's name, asked of the server within a second; empty with the reason when
    // there is no server.
    static std::string DefaultSinkName(std::string& error);

private:
    pa_simple* stream_ = nullptr;
};

// A factory of the sound server's source.
AudioSourceFactory PulseMonitorSourceFactory();

}  // namespace zevik
