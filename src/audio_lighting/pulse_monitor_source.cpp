#include "audio_lighting/pulse_monitor_source.h"

#include <pulse/context.h>
#include <pulse/error.h>
#include <pulse/introspect.h>
#include <pulse/mainloop.h>
#include <pulse/stream.h>

#include <algorithm>
#include <cstring>

#include "audio_lighting/band_analysis.h"

namespace zevik {

namespace {

constexpr const char* kClientName = "ZEVIK-R300Prime";
constexpr const char* kStreamName = "music lighting";
constexpr auto kServerAnswerBudget = std::chrono::seconds(1);
// A loop turn never sleeps longer than this, so that a lost wake-up costs at most one turn.
constexpr int kLongestTurnMicroseconds = 100 * 1000;

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

CPulseMonitorSource::CPulseMonitorSource() : loop_(pa_mainloop_new()) {}

CPulseMonitorSource::~CPulseMonitorSource() {
    if (stream_ != nullptr) {
        pa_stream_disconnect(stream_);
        pa_stream_unref(stream_);
    }
    if (context_ != nullptr) {
        pa_context_disconnect(context_);
        pa_context_unref(context_);
    }
    if (loop_ != nullptr) pa_mainloop_free(loop_);
}

void CPulseMonitorSource::Interrupt() {
    interrupted_ = true;
    if (loop_ != nullptr) pa_mainloop_wakeup(loop_);
}

std::string CPulseMonitorSource::Broken(const std::string& what) const {
    const int code = context_ != nullptr ? pa_context_errno(context_) : PA_ERR_INTERNAL;
    return what + ": " + pa_strerror(code);
}

bool CPulseMonitorSource::TurnUntil(const std::function<bool()>& ready, std::chrono::milliseconds budget,
                                    std::string& error) {
    const auto deadline = std::chrono::steady_clock::now() + budget;
    while (!ready()) {
        if (interrupted_) {
            error = "interrupted";
            return false;
        }
        if (budget.count() > 0 && std::chrono::steady_clock::now() >= deadline) {
            error = "no sound server: it did not answer";
            return false;
        }
        if (stream_ != nullptr && !PA_STREAM_IS_GOOD(pa_stream_get_state(stream_))) {
            error = Broken("the sound stream broke");
            return false;
        }
        if (!PA_CONTEXT_IS_GOOD(pa_context_get_state(context_))) {
            error = Broken("no sound server");
            return false;
        }
        if (pa_mainloop_prepare(loop_, kLongestTurnMicroseconds) < 0 || pa_mainloop_poll(loop_) < 0 ||
            pa_mainloop_dispatch(loop_) < 0) {
            error = "the sound server's client loop failed";
            return false;
        }
    }
    return true;
}

bool CPulseMonitorSource::Connect(std::string& error) {
    if (loop_ == nullptr) {
        error = "no sound server: cannot set up its client";
        return false;
    }
    context_ = pa_context_new(pa_mainloop_get_api(loop_), kClientName);
    if (context_ == nullptr) {
        error = "no sound server: cannot set up its client";
        return false;
    }
    if (pa_context_connect(context_, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0) {
        error = Broken("no sound server");
        return false;
    }
    return TurnUntil([this] { return pa_context_get_state(context_) == PA_CONTEXT_READY; },
                     kServerAnswerBudget, error);
}

std::string CPulseMonitorSource::AskDefaultSink(std::string& error) {
    SinkQuery query;
    pa_operation* asking = pa_context_get_server_info(context_, OnServerInfo, &query);
    if (asking == nullptr) {
        error = Broken("no sound server");
        return {};
    }
    const bool answered = TurnUntil([&query] { return query.done; }, kServerAnswerBudget, error);
    // Cancelled before the query goes out of scope: a late answer must not reach it.
    pa_operation_cancel(asking);
    pa_operation_unref(asking);
    if (!answered) return {};
    if (query.name.empty()) error = "the sound server has no default output";
    return query.name;
}

bool CPulseMonitorSource::Record(const std::string& monitor, std::string& error) {
    pa_sample_spec sampleFormat{};
    sampleFormat.format = PA_SAMPLE_FLOAT32LE;
    sampleFormat.rate = CBandAnalysis::kSampleRate;
    sampleFormat.channels = 1;  // the server mixes the output's channels down
    stream_ = pa_stream_new(context_, kStreamName, &sampleFormat, nullptr);
    if (stream_ == nullptr) {
        error = Broken("cannot record " + monitor);
        return false;
    }
    // With ADJUST_LATENCY the fragment size is the source's whole latency, and the server sends about
    // every half of it: 40 ms asked brings 20 ms at a time, one record per wake-up. Asking for 20 ms
    // brought 4 to 5 ms pieces, four to five wake-ups per record.
    pa_buffer_attr buffer{};
    buffer.maxlength = static_cast<std::uint32_t>(-1);
    buffer.fragsize = static_cast<std::uint32_t>(2 * CBandAnalysis::kHop * sizeof(float));
    if (pa_stream_connect_record(stream_, monitor.c_str(), &buffer, PA_STREAM_ADJUST_LATENCY) < 0) {
        error = Broken("cannot record " + monitor);
        return false;
    }
    if (!TurnUntil([this] { return pa_stream_get_state(stream_) == PA_STREAM_READY; }, kServerAnswerBudget,
                   error)) {
        if (error != "interrupted") error = "cannot record " + monitor + ": " + error;
        return false;
    }
    return true;
}

bool CPulseMonitorSource::Open(std::string& error) {
    if (!Connect(error)) return false;
    const std::string sink = AskDefaultSink(error);
    if (sink.empty()) return false;
    return Record(sink + ".monitor", error);
}

void CPulseMonitorSource::TakeSent() {
    const void* data = nullptr;
    std::size_t bytes = 0;
    while (pa_stream_peek(stream_, &data, &bytes) == 0 && bytes > 0) {
        // A hole (data lost by the server) reads as silence of its length.
        if (data != nullptr) {
            const auto* from = static_cast<const std::uint8_t*>(data);
            pending_.insert(pending_.end(), from, from + bytes);
        } else {
            pending_.resize(pending_.size() + bytes, 0);
        }
        pa_stream_drop(stream_);
    }
}

bool CPulseMonitorSource::Read(std::span<float> samples, std::string& error) {
    if (stream_ == nullptr) {
        error = "the sound stream broke: not open";
        return false;
    }
    const std::size_t wanted = samples.size_bytes();
    if (!TurnUntil(
            [&] {
                TakeSent();
                return pending_.size() >= wanted;
            },
            std::chrono::milliseconds::zero(), error)) {
        return false;
    }
    std::memcpy(samples.data(), pending_.data(), wanted);
    pending_.erase(pending_.begin(), pending_.begin() + static_cast<std::ptrdiff_t>(wanted));
    return true;
}

std::string CPulseMonitorSource::DefaultSinkName(std::string& error) {
    CPulseMonitorSource asking;
    if (!asking.Connect(error)) return {};
    return asking.AskDefaultSink(error);
}

AudioSourceFactory PulseMonitorSourceFactory() {
    return [] { return std::make_unique<CPulseMonitorSource>(); };
}

}  // namespace zevik
