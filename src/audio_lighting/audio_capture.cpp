#include "audio_lighting/audio_capture.h"

#include <array>
#include <memory>

#include "audio_lighting/band_analysis.h"
#include "platform/thread_name.h"

namespace zevik {

CAudioCapture::CAudioCapture(AudioSourceFactory source, RecordSink onRecord, FailureSink onFailure)
    : makeSource_(std::move(source)), onRecord_(std::move(onRecord)), onFailure_(std::move(onFailure)) {}

CAudioCapture::~CAudioCapture() { Stop(); }

void CAudioCapture::Start() {
    if (thread_.joinable()) {
        if (!ended_) return;
        thread_.join();
    }
    stop_ = false;
    ended_ = false;
    // Made here, on the caller's thread, so that Stop can interrupt it while the run waits in it.
    source_ = makeSource_ ? makeSource_() : nullptr;
    thread_ = std::thread([this] { Run(); });
}

void CAudioCapture::Stop() {
    stop_ = true;
    if (source_ != nullptr) source_->Interrupt();
    if (thread_.joinable()) thread_.join();
    source_.reset();
}

void CAudioCapture::Run() {
    SetCurrentThreadName("zevik-capture");
    std::string error;
    IAudioSource* source = source_.get();
    if (source == nullptr || !source->Open(error)) {
        ended_ = true;
        // An open cut short by Stop is no failure.
        if (onFailure_ && !stop_) onFailure_(source == nullptr ? "no sound source" : error);
        return;
    }
    CBandAnalysis analysis;
    std::array<float, CBandAnalysis::kHop> samples{};
    while (!stop_) {
        if (!source->Read(samples, error)) {
            if (stop_) break;
            ended_ = true;
            if (onFailure_) onFailure_(error);
            return;
        }
        if (stop_) break;
        analysis.Push(samples);
        const CBandAnalysis::RecordBytes record = CBandAnalysis::BytesOf(analysis.Analyse());
        if (onRecord_) onRecord_(record);
    }
    ended_ = true;
}

}  // namespace zevik
