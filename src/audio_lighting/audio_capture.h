#pragma once
// CAudioCapture: our own capture of the desktop's sound for the music modes. While it runs, a thread
// reads 20 ms of sound at a time from its source and hands one sample record (CBandAnalysis) to the
// record sink, on that thread. A source that cannot open or breaks ends the run, told once to the
// failure sink. No thread exists while it is stopped; nothing heard is kept beyond the analysis
// window.

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <span>
#include <string>
#include <thread>

#include "audio_lighting/audio_source.h"

namespace zevik {

class CAudioCapture {
public:
    using RecordSink = std::function<void(std::span<const std::uint8_t> record)>;
    using FailureSink = std::function<void(const std::string& reason)>;

    CAudioCapture(AudioSourceFactory source, RecordSink onRecord, FailureSink onFailure = {});
    ~CAudioCapture();
    CAudioCapture(const CAudioCapture&) = delete;
    CAudioCapture& operator=(const CAudioCapture&) = delete;

    // Starts the thread; nothing when it runs already. A run that ended by itself is restarted.
    void Start();
    // Ends the run and waits for the thread: the source is interrupted, so a read that waits for
    // sound that never comes ends too.
    void Stop();
    // A thread exists (it may have ended on a failure and wait for Stop or Start).
    bool HasThread() const { return thread_.joinable(); }
    // The run goes on: started, not stopped and not ended by a failure.
    bool IsCapturing() const { return HasThread() && !ended_; }

private:
    void Run();

    AudioSourceFactory makeSource_;
    std::unique_ptr<IAudioSource> source_;  // the run's source, made by Start, dropped by Stop
    RecordSink onRecord_;
    FailureSink onFailure_;
    std::thread thread_;
    std::atomic<bool> stop_{false};
    std::atomic<bool> ended_{false};
};

}  // namespace zevik
