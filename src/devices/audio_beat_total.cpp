#include "devices/audio_beat_total.h"

#include <atomic>

#include "devices/audio_heights.h"

namespace zevik::audio {

namespace {

std::atomic<std::int32_t> g_beatTotal{0};

}  // namespace

bool AddBeat(std::int32_t step) {
    std::int32_t total = g_beatTotal.load();
    std::int32_t next = 0;
    bool beat = false;
    do {
        next = Saturate(std::int64_t{total} + step);
        beat = next > kBeatThreshold;
        if (beat) next = 0;
    } while (!g_beatTotal.compare_exchange_weak(total, next));
    return beat;
}

std::int32_t BeatTotal() {
    return g_beatTotal.load();
}

void ResetBeatTotal() {
    g_beatTotal.store(0);
}

}  // namespace zevik::audio
