#include "platform/trace.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>

namespace zevik {
namespace {

class StderrSink final : public ITraceSink {
public:
    void Write(std::string_view line) override {
        std::lock_guard lock(mutex_);
        std::fwrite(line.data(), 1, line.size(), stderr);
        std::fputc('\n', stderr);
    }

private:
    std::mutex mutex_;
};

bool EnvWantsTrace() {
    const char* value = std::getenv("ZEVIK_TRACE");
    return value != nullptr && std::strcmp(value, "1") == 0;
}

StderrSink& DefaultSink() {
    static StderrSink sink;
    return sink;
}

std::atomic<ITraceSink*>& CurrentSink() {
    static std::atomic<ITraceSink*> sink{EnvWantsTrace() ? &DefaultSink() : nullptr};
    return sink;
}

}  // namespace

bool TraceEnabled() { return CurrentSink().load(std::memory_order_acquire) != nullptr; }

void Trace(std::string_view line) {
    if (ITraceSink* sink = CurrentSink().load(std::memory_order_acquire)) sink->Write(line);
}

ITraceSink* SetTraceSink(ITraceSink* sink) {
    if (sink == nullptr && EnvWantsTrace()) sink = &DefaultSink();
    return CurrentSink().exchange(sink, std::memory_order_acq_rel);
}

}  // namespace zevik
