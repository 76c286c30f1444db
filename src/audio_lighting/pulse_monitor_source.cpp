#include "audio_lighting/pulse_monitor_source.h"

#include <pulse/context.h>
#include <pulse/error.h>
#include <pulse/introspect.h>
#include <pulse/mainloop.h>
#include <pulse/simple.h>

#include <chrono>

#include "audio_lighting/band_analysis.h"

namespace zevik {

namespace {

constexpr const char* kClientName = "ZEVIK-R300Prime";
constexpr const char* kStreamName = "music lighting";
constexpr auto kServerAnswerBudget = std::chrono::seconds(1);

struct SinkQuery {
    std::string name;
    bool done = false;
};

void OnServerInfo(pa_context*, const pa_server_info* info, void* user) {
    auto* query = static_cast<SinkQuery*>(user);
    if (info != nullptr && info->default_sink_name != nullptr) query->name = info->default_sink_name;
    query->done = true;
}

}  // namespace

std::string CPulseMonitorSource::DefaultSinkName(std::string& error) {
    pa_mainloop* loop = pa_mainloop_new();
    if (loop == nullptr) {
        error = "no sound server: cannot set up its client";
        return {};
    }
    pa_context* context = pa_context_new(pa_mainloop_get_api(loop), kClientName);
    SinkQuery query;
    pa_operation* asking = nullptr;
    bool failed = context == nullptr || pa_context_connect(context, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0;
    const auto deadline = std::chrono::steady_clock::now() + kServerAnswerBudget;
    while (!failed && !query.done && std::chrono::steady_clock::now() < deadline) {
        // Bounded steps: a server that never answers cannot hold the caller past the budget.
        if (pa_mainloop_prepare(loop, 50 * 1000) < 0 || pa_mainloop_poll(loop) < 0 ||
            pa_mainloop_dispatch(loop) < 0) {
            failed = true;
            break;
        }
        const pa_context_state_t state = pa_context_get_state(context);
        if (!PA_CONTEXT_IS_GOOD(state)) failed = true;
        if (state == PA_CONTEXT_READY && asking == nullptr) {
            asking = pa_context_get_server_info(context, OnServerInfo, &query);
            if (asking == nullptr) failed = true;
        }
    }
    if (failed || !query.done) {
        error = context != nullptr && failed
                    ? std::string("no sound server: ") + pa_strerror(pa_context_errno(context))
                    : std::string("no sound server: it did not answer");
    } else if (query.name.empty()) {
        error = "the sound server has no default output";
    }
    if (asking != nullptr) pa_operation_unref(asking);
    if (context != nullptr) {
        pa_context_disconnect(context);
        pa_context_unref(context);
    }
    pa_mainloop_free(loop);
    return error.empty() ? query.name : std::string();
}

CPulseMonitorSource::~CPulseMonitorSource() {
    if (stream_ != nullptr) pa_simple_free(stream_);
}

bool CPulseMonitorSource::Open(std::string& error) {
    const std::string sink = DefaultSinkName(error);
    if (sink.empty()) return false;
    const std::string monitor = sink + ".monitor";
    pa_sample_spec sampleFormat{};
    sampleFormat.format = PA_SAMPLE_FLOAT32LE;
    sampleFormat.rate = CBandAnalysis::kSampleRate;
    sampleFormat.channels = 1;  // the server mixes the output's channels down
    pa_buffer_attr buffer{};
    buffer.maxlength = static_cast<std::uint32_t>(-1);
    buffer.fragsize = static_cast<std::uint32_t>(CBandAnalysis::kHop * sizeof(float));
    int code = 0;
    stream_ = pa_simple_new(nullptr, kClientName, PA_STREAM_RECORD, monitor.c_str(), kStreamName, &sampleFormat,
                            nullptr, &buffer, &code);
    if (stream_ == nullptr) {
        error = "cannot record " + monitor + ": " + pa_strerror(code);
        return false;
    }
    return true;
}

bool CPulseMonitorSource::Read(std::span<float> samples, std::string& error) {
    int code = 0;
    if (stream_ == nullptr || pa_simple_read(stream_, samples.data(), samples.size_bytes(), &code) < 0) {
        error = std::string("the sound stream broke: ") + (stream_ != nullptr ? pa_strerror(code) : "not open");
        return false;
    }
    return true;
}

AudioSourceFactory PulseMonitorSourceFactory() {
    return [] { return std::make_unique<CPulseMonitorSource>(); };
}

}  // namespace zevik
