// The sound server's monitor, read for real when a sound server runs in the session (PulseAudio or
// PipeWire's PulseAudio server; a null sink will do). Without one the test is skipped: our capture
// then ends at once with the reason, which the capture tests cover with a fake source.

#include "audio_lighting/pulse_monitor_source.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>

#include "audio_lighting/band_analysis.h"

namespace zevik {
namespace {

TEST(PulseMonitorSourceTest, ReadsTheDefaultOutputsMonitorWhenASoundServerRuns) {
    CPulseMonitorSource source;
    std::string error;
    if (CPulseMonitorSource::DefaultSinkName(error).empty()) {
        EXPECT_FALSE(source.Open(error));
        EXPECT_FALSE(error.empty());
        GTEST_SKIP() << "no sound server in this session (" << error << ")";
    }
    ASSERT_TRUE(source.Open(error)) << error;
    std::array<float, CBandAnalysis::kHop> samples{};
    for (int i = 0; i < 5; ++i) ASSERT_TRUE(source.Read(samples, error)) << error;
    for (const float s : samples) EXPECT_TRUE(std::isfinite(s));
}

}  // namespace
}  // namespace zevik
