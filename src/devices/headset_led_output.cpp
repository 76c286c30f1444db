#include "devices/headset_led_output.h"

#include "devices/lighting_frame.h"
#include "devices/lighting_tables.h"

namespace zevik {

CHeadsetLedOutput::Levels CHeadsetLedOutput::LevelsOf(const CLightFrame& frame) {
    Levels levels{};
    for (int led = 0; led < headset_led::kLedCount && led < frame.Size(); ++led) {
        const std::uint32_t entry = frame.Get(led);
        const lighting::Rgb colour = lighting::EntryColour(entry);
        const int intensity = lighting::EntryIntensity(entry);
        const auto at = 3 * static_cast<std::size_t>(led);
        // The report limits each level to 247.
        levels[at] = lighting::Scale256(colour.r, intensity);
        levels[at + 1] = lighting::Scale256(colour.g, intensity);
        levels[at + 2] = lighting::Scale256(colour.b, intensity);
    }
    return levels;
}

void CHeadsetLedOutput::Stop() {
    m_stream.Stop();
    Forget();
}

void CHeadsetLedOutput::Offer(const CLightFrame& frame) {
    const Levels levels = LevelsOf(frame);
    {
        std::lock_guard lock(m_lastLock);
        if (m_last == levels) return;
        m_last = levels;
    }
    m_stream.Offer(levels);
}

void CHeadsetLedOutput::Forget() {
    std::lock_guard lock(m_lastLock);
    m_last.reset();
}

}  // namespace zevik
