#pragma once
// "audio levels [--seconds S]": our own capture of the desktop's sound, as the music mode gets it:
// one line of the 25 band values (0..2000) per 20 ms record, or one JSON document
// {"records": [[25 values], ...]}. Nothing captured is kept.

#include <chrono>
#include <optional>
#include <ostream>
#include <string>

#include "audio_lighting/audio_source.h"

namespace zevik {

inline constexpr int kAudioLevelsMaxSeconds = 3600;

// S as whole seconds, 1..kAudioLevelsMaxSeconds; nothing, with the range, otherwise.
std::optional<int> ParseAudioLevelsSeconds(const std::string& text, std::string& error);

// Captures for that long; false with the reason (no sound server, the stream broke) when the
// capture ended early. The records printed until then stay printed.
bool RunAudioLevels(const AudioSourceFactory& source, std::chrono::milliseconds span, std::ostream& out, bool json,
                    std::string& error);

}  // namespace zevik
